#include "inspection/LinksOperation.h"

#include "ErrorReply.h"
#include "inspection/PageDisplay.h"
#include "inspection/PageSize.h"
#include "pdfium/PdfiumHandles.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/LinksContract.h"

#include <QByteArray>

#include <optional>

namespace velk {

namespace {

// The page a destination names, or -1 when it names none of the document's.
int destinationPage(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_DEST destination)
{
    if (!destination)
        return -1;
    const int page = pdfium.api().FPDFDest_GetDestPageIndex(document, destination);
    return page >= 0 && page < pdfium.api().FPDF_GetPageCount(document) ? page : -1;
}

// The URI of an action, read in PDFium's two calls; nothing when it is
// longer than the limit, changed between the reads or not offered.
std::optional<QString> actionUri(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_ACTION action)
{
    const PdfiumFunctions& api = pdfium.api();
    const unsigned long bytes = api.FPDFAction_GetURIPath(document, action, nullptr, 0);
    if (bytes < 2 || bytes > (unsigned long)(SharedLimits::kMaxUriBytes) + 1)
        return std::nullopt;
    QByteArray buffer(qsizetype(bytes), '\0');
    if (api.FPDFAction_GetURIPath(document, action, buffer.data(), bytes) != bytes)
        return std::nullopt;
    const QString uri = QString::fromLatin1(buffer.constData(), qsizetype(bytes) - 1);
    if (!LinksReply::isOfferedUri(uri))
        return std::nullopt;
    return uri;
}

// Where the link goes: a page, or a URI; nothing for any other target.
std::optional<PageLinkEntry> target(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_LINK link)
{
    const PdfiumFunctions& api = pdfium.api();
    PageLinkEntry entry;
    entry.page = destinationPage(pdfium, document, api.FPDFLink_GetDest(document, link));
    if (entry.page >= 0)
        return entry;
    const FPDF_ACTION action = api.FPDFLink_GetAction(link);
    if (!action)
        return std::nullopt;
    const unsigned long type = api.FPDFAction_GetType(action);
    if (type == kFpdfActionGoTo) {
        entry.page = destinationPage(pdfium, document, api.FPDFAction_GetDest(document, action));
        return entry.page >= 0 ? std::optional(entry) : std::nullopt;
    }
    if (type == kFpdfActionUri) {
        const std::optional<QString> uri = actionUri(pdfium, document, action);
        if (!uri)
            return std::nullopt;
        entry.uri = *uri;
        return entry;
    }
    return std::nullopt;
}

} // namespace

void LinksOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& json)
{
    const PdfiumFunctions& api = pdfium.api();
    const std::optional<LinksRequest> request = LinksRequest::fromJson(json);
    if (!request || request->page >= api.FPDF_GetPageCount(document)) {
        reply = errorReply(QStringLiteral("Sayfa numarası geçersiz."), 0);
        return;
    }
    LinksReply links;
    const std::optional<PageSize> size = PageSize::read(pdfium, document, request->page);
    const PageHandle page = wrapPage(pdfium, api.FPDF_LoadPage(document, request->page));
    if (!size || !page) {
        reply = links.toJson();
        return;
    }
    const PageDisplay display(pdfium, page.get(), *size);
    int position = 0;
    FPDF_LINK link = nullptr;
    while (links.links.size() < SharedLimits::kMaxPageLinks && api.FPDFLink_Enumerate(page.get(), &position, &link)) {
        FS_RECTF rect{};
        if (!link || !api.FPDFLink_GetAnnotRect(link, &rect))
            continue;
        const std::optional<QRectF> placed = display.map(rect.left, rect.bottom, rect.right, rect.top);
        std::optional<PageLinkEntry> entry = target(pdfium, document, link);
        if (!placed || !entry)
            continue;
        entry->rect = *placed;
        links.links.append(*entry);
    }
    reply = links.toJson();
}

} // namespace velk
