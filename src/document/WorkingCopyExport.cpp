#include "document/DocumentOpen.h"

#include "document/DocumentLimits.h"
#include "operations/SameFile.h"
#include "document/AtomicFileWriter.h"

#include <QFile>

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

    for (;;) {
        const QByteArray chunk = in.read(DocumentLimits::kCopyChunkBytes);
        if (chunk.isEmpty()) {
            if (in.error() != QFileDevice::NoError) {
                out.discard();
                return failed(QStringLiteral("PDF kopyası yazılamadı."));
            }
            break;
        }
        if (!out.writeAll(chunk)) {
            out.discard();
            return failed(QStringLiteral("PDF kopyası yazılamadı."));
        }
    }
    if (!out.commit())
        return failed(out.destinationTaken() ? AtomicFileWriter::destinationTakenSentence()
                                             : QStringLiteral("PDF kopyası kaydedilemedi."));
    return {true, QString()};
}

} // namespace velk
