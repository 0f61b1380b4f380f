#include "RequestDispatcher.h"

#include "ErrorReply.h"
#include "PdfOperations.h"
#include "PdfWorkerLimits.h"
#include "pdfium/PdfiumDocument.h"

#include <QFileInfo>

namespace velk {

namespace {

QJsonObject unrecognisedOperation()
{
    return errorReply(QStringLiteral("PDF işlemi tanınmadı."), 0);
}

template <typename Operation>
const Operation* findOperation(std::span<const Operation> table, const QString& name)
{
    // Exact and case-sensitive: "Inspect" is not "inspect".
    for (const Operation& operation : table) {
        if (name == QLatin1String(operation.name))
            return &operation;
    }
    return nullptr;
}

bool isAcceptablePdfFile(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const QFileInfo info(path);
    return info.isFile() && info.size() <= PdfWorkerLimits::kMaxPdfFileBytes;
}

QJsonObject runOnDocument(const QJsonObject& request, const QString& operationName)
{
    if (!isAcceptablePdfFile(request.value(QStringLiteral("path")).toString()))
        return errorReply(QStringLiteral("PDF dosyası okunamıyor veya 512 MiB sınırını aşıyor."), 0);

    Pdfium pdfium;
    if (!pdfium.bindPdfium())
        return errorReply(pdfium.errorMessage(), 0);

    QByteArray password = request.value(QStringLiteral("password")).toString().toUtf8();
    const OpenedDocument opened =
        loadPdfiumDocument(pdfium, request.value(QStringLiteral("path")).toString(), password);
    if (!opened.document)
        return errorReply(QStringLiteral("PDF açılamadı. Belge parolasını veya dosya biçimini kontrol edin."),
                          opened.error);

    const int pageCount = pdfium.api().FPDF_GetPageCount(opened.document.get());
    if (pageCount < PdfWorkerLimits::kMinPageCount || pageCount > PdfWorkerLimits::kMaxPageCount)
        return errorReply(QStringLiteral("Desteklenen sayfa sayısı 1–10000."), 0);

    const PdfiumOperation* operation = findOperation(pdfiumOperations(), operationName);
    if (!operation || !operation->handler)
        return unrecognisedOperation();
    QJsonObject reply;
    operation->handler(reply, pdfium, opened.document.get(), request);
    return reply;
}

} // namespace

QJsonObject dispatchRequest(const QJsonObject& request)
{
    const QString operationName = request.value(QStringLiteral("operation")).toString();
    if (const DocumentFreeOperation* operation = findOperation(documentFreeOperations(), operationName)) {
        if (!operation->handler)
            return unrecognisedOperation();
        QJsonObject reply;
        operation->handler(reply, request);
        return reply;
    }
    return runOnDocument(request, operationName);
}

} // namespace velk
