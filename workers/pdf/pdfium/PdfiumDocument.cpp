#include "PdfiumDocument.h"

#include "WorkerContract.h"

#include <QFileInfo>

namespace velk {

OpenedDocument loadPdfiumDocument(const Pdfium& pdfium, const QString& path, QByteArray& passwordUtf8)
{
    OpenedDocument opened{wrapDocument(pdfium, nullptr), int(kPdfiumErrorUnknown)};
    // PDFium reads both as zero-terminated strings: an embedded zero would
    // name another file or another password, so neither reaches it.
    const bool usablePath = !path.isEmpty() && !path.contains(QChar(0));
    QByteArray pathUtf8 = usablePath ? QFileInfo(path).absoluteFilePath().toUtf8() : QByteArray();
    if (!pdfium.isBound()) {
        opened.error = int(kPdfiumErrorUnknown);
    } else if (pathUtf8.isEmpty()) {
        opened.error = int(kPdfiumErrorFile);
    } else if (passwordUtf8.contains('\0')) {
        opened.error = int(kPdfiumErrorPassword);
    } else {
        opened.document = wrapDocument(
            pdfium, pdfium.api().FPDF_LoadDocument(pathUtf8.constData(), passwordUtf8.constData()));
        opened.error = opened.document ? 0 : pdfium.lastOpenError();
    }
    WorkerContract::wipe(passwordUtf8);
    WorkerContract::wipe(pathUtf8);
    return opened;
}

} // namespace velk
