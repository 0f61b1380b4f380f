#include "document/core/DocumentOpen.h"

#include "operations/SameFile.h"
#include "document/files/AtomicFileWriter.h"
#include "document/core/FileCopier.h"

#include <QFile>

#include <limits>

namespace velk {

namespace {

ExportResult failed(const QString& message)
{
    return {false, message};
}

} // namespace

ExportResult copyWorkingCopy(PdfDocumentPtr document, const QString& output)
{
    if (!document || output.isEmpty())
        return failed(QStringLiteral("Açık belge ve çıktı dosyası gerekli."));
    if (isSameFile(output, document->sourcePath) || isSameFile(output, document->workingPath))
        return failed(QStringLiteral("Kaynak korunur. Farklı bir çıktı adı seçin."));

    QFile in(document->workingPath);
    AtomicFileWriter out(output);
    if (!in.open(QIODevice::ReadOnly) || !out.open())
        return failed(QStringLiteral("PDF kopyası açılamadı."));

    // The working copy was bounded when it was made; no second bound here.
    qint64 copied = 0;
    if (FileCopier::copy(in, out, std::numeric_limits<qint64>::max(), nullptr, copied)
        != FileCopier::Outcome::Copied) {
        out.discard();
        return failed(QStringLiteral("PDF kopyası yazılamadı."));
    }
    if (!out.commit())
        return failed(out.destinationTaken() ? AtomicFileWriter::destinationTakenSentence()
                                             : QStringLiteral("PDF kopyası kaydedilemedi."));
    return {true, QString()};
}

} // namespace velk
