#include "SaveNewPdf.h"

#include "PdfFileWriter.h"
#include "WorkerContract.h"

#include <QFileInfo>
#include <QSaveFile>

namespace velk {

namespace {

bool fail(QJsonObject& reply, const char* message)
{
    reply = WorkerContract::errorReply(QString::fromUtf8(message));
    return false;
}

} // namespace

bool isFreshAbsolutePath(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const QFileInfo info(path);
    if (info.isRelative())
        return false;
    // A dangling symbolic link counts as taken: writing through it would
    // create a file somewhere else.
    return !info.exists() && !info.isSymLink();
}

bool saveNewPdf(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QString& outputPath)
{
    if (!isFreshAbsolutePath(outputPath))
        return fail(reply, "Yeni bir çıktı dosyası gerekli.");
    if (!pdfium.isBound() || !document)
        return fail(reply, "PDF kaydedilemedi.");

    QSaveFile file(outputPath);
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a block reported written has reached the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(reply, "PDF çıktısı açılamadı.");

    PdfFileWriter writer(file);
    const bool saved = pdfium.api().FPDF_SaveAsCopy(document, &writer.base, kFpdfNoIncremental) != 0;
    if (!saved || writer.failed) {
        file.cancelWriting(); // the temporary file is removed, nothing is renamed
        return fail(reply, "PDF kaydedilemedi.");
    }
    if (!file.commit())
        return fail(reply, "PDF kaydedilemedi.");
    reply = QJsonObject{{QStringLiteral("ok"), true}};
    return true;
}

} // namespace velk
