#include "inspection/OutlineOperation.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/OutlineContract.h"

#include <QList>
#include <QSet>

namespace velk {

namespace {

// Titles are read whole or not at all (PDFium fills no partial buffer);
// one beyond this many bytes reads as an empty title.
constexpr unsigned long kMaxTitleBytes = 65536;

QString titleOf(const Pdfium& pdfium, FPDF_BOOKMARK bookmark)
{
    const PdfiumFunctions& api = pdfium.api();
    const unsigned long bytes = api.FPDFBookmark_GetTitle(bookmark, nullptr, 0);
    if (bytes < 2 || bytes > kMaxTitleBytes || bytes % 2 != 0)
        return {};
    QList<unsigned short> buffer(qsizetype(bytes / 2), 0);
    if (api.FPDFBookmark_GetTitle(bookmark, buffer.data(), bytes) != bytes)
        return {};
    const QString title = QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), buffer.size() - 1);
    return title.left(SharedLimits::kMaxOutlineTitleUnits);
}

int pageOf(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark)
{
    const PdfiumFunctions& api = pdfium.api();
    FPDF_DEST destination = api.FPDFBookmark_GetDest(document, bookmark);
    if (!destination) {
        const FPDF_ACTION action = api.FPDFBookmark_GetAction(bookmark);
        if (action && api.FPDFAction_GetType(action) == kFpdfActionGoTo)
            destination = api.FPDFAction_GetDest(document, action);
    }
    if (!destination)
        return -1;
    const int page = api.FPDFDest_GetDestPageIndex(document, destination);
    return page >= 0 && page < api.FPDF_GetPageCount(document) ? page : -1;
}

struct Level {
    FPDF_BOOKMARK next = nullptr;
    int depth = 0;
};

} // namespace

void OutlineOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject&)
{
    const PdfiumFunctions& api = pdfium.api();
    OutlineReply outline;
    QSet<FPDF_BOOKMARK> seen;
    QList<Level> stack{Level{api.FPDFBookmark_GetFirstChild(document, nullptr), 0}};
    while (!stack.isEmpty()) {
        const FPDF_BOOKMARK bookmark = stack.last().next;
        const int depth = stack.last().depth;
        if (!bookmark) {
            stack.removeLast();
            continue;
        }
        if (seen.contains(bookmark) || outline.entries.size() >= SharedLimits::kMaxOutlineEntries) {
            outline.truncated = true;
            stack.removeLast();
            continue;
        }
        seen.insert(bookmark);
        stack.last().next = api.FPDFBookmark_GetNextSibling(document, bookmark);
        outline.entries.append(OutlineEntry{titleOf(pdfium, bookmark), pageOf(pdfium, document, bookmark), depth});
        if (const FPDF_BOOKMARK child = api.FPDFBookmark_GetFirstChild(document, bookmark)) {
            if (depth + 1 < SharedLimits::kMaxOutlineDepth)
                stack.append(Level{child, depth + 1});
            else
                outline.truncated = true;
        }
    }
    reply = outline.toJson();
}

} // namespace velk
