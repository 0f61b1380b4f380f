#include "pdfium/SaveNewPdf.h"

#include "pdfium/PdfFileWriter.h"
#include "worker/contract/WorkerContract.h"

#include <QBuffer>
#include <QFileInfo>
#include <QSaveFile>

#include <functional>

namespace velk {

namespace {

const char kNeedsNewOutput[] = "Yeni bir çıktı dosyası gerekli.";
const char kSaveFailed[] = "PDF kaydedilemedi.";

bool fail(QJsonObject& reply, const char* message)
{
    reply = WorkerContract::errorReply(QString::fromUtf8(message));
    return false;
}

// The one way an output file comes into being: a temporary file beside it,
// filled by write, renamed into place only when everything was written.
bool commitNewPdf(QJsonObject& reply, const QString& outputPath, const std::function<bool(QIODevice&)>& write)
{
    if (!acceptsNewOutput(reply, outputPath))
        return false;
    QSaveFile file(outputPath);
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a block reported written has reached the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(reply, "PDF çıktısı açılamadı.");
    if (!write(file)) {
        file.cancelWriting(); // the temporary file is removed, nothing is renamed
        return fail(reply, kSaveFailed);
    }
    if (!file.commit())
        return fail(reply, kSaveFailed);
    reply = QJsonObject{{QStringLiteral("ok"), true}};
    return true;
}

bool writePdfium(const Pdfium& pdfium, FPDF_DOCUMENT document, QIODevice& device)
{
    PdfFileWriter writer(device);
    const bool saved = pdfium.api().FPDF_SaveAsCopy(document, &writer.base, kFpdfNoIncremental) != 0;
    return saved && !writer.failed;
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
    if (!acceptsNewOutput(reply, outputPath))
        return false;
    if (!pdfium.isBound() || !document)
        return fail(reply, kSaveFailed);
    return commitNewPdf(reply, outputPath,
                        [&](QIODevice& device) { return writePdfium(pdfium, document, device); });
}

bool acceptsNewOutput(QJsonObject& reply, const QString& outputPath)
{
    return isFreshAbsolutePath(outputPath) || fail(reply, kNeedsNewOutput);
}

std::optional<QByteArray> savePdfToMemory(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!pdfium.isBound() || !document || !buffer.open(QIODevice::WriteOnly)
        || !writePdfium(pdfium, document, buffer)) {
        fail(reply, kSaveFailed);
        return std::nullopt;
    }
    buffer.close();
    return bytes;
}

bool writeNewPdf(QJsonObject& reply, const QByteArray& bytes, const QString& outputPath)
{
    return commitNewPdf(reply, outputPath, [&](QIODevice& device) {
        qint64 done = 0;
        // A device may take fewer bytes than offered; keep going until all
        // are written or it refuses.
        while (done < bytes.size()) {
            const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
            if (written <= 0)
                return false;
            done += written;
        }
        return true;
    });
}

} // namespace velk
