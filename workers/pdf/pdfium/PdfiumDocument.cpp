#include "pdfium/PdfiumDocument.h"

#include "worker/contract/PdfiumCodes.h"
#include "worker/contract/SecureWipe.h"

#include <QFileInfo>

namespace velk {

OpenedDocument loadPdfiumDocument(const Pdfium& pdfium, const QString& path, QByteArray& passwordUtf8)
{
    OpenedDocument opened{wrapDocument(pdfium, nullptr), int(PdfOpenError::Unknown)};
    // PDFium reads both as zero-terminated strings: an embedded zero would
    // name another file or another password, so neither reaches it.
    const bool usablePath = !path.isEmpty() && !path.contains(QChar(0));
    QByteArray pathUtf8 = usablePath ? QFileInfo(path).absoluteFilePath().toUtf8() : QByteArray();
    if (!pdfium.isBound()) {
        opened.error = int(PdfOpenError::Unknown);
    } else if (pathUtf8.isEmpty()) {
        opened.error = int(PdfOpenError::File);
    } else if (passwordUtf8.contains('\0')) {
        opened.error = int(PdfOpenError::Password);
    } else {
        opened.document = wrapDocument(
            pdfium, pdfium.api().FPDF_LoadDocument(pathUtf8.constData(), passwordUtf8.constData()));
        opened.error = opened.document ? 0 : pdfium.lastOpenError();
    }
    secureWipe(passwordUtf8);
    secureWipe(pathUtf8);
    return opened;
}

} // namespace velk
