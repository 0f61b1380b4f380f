#include "edit/TextObjectsOperation.h"

#include "edit/EditLimits.h"
#include "edit/EditedPage.h"
#include "ErrorReply.h"

#include "worker/contract/operations/TextObjectsContract.h"

#include <QList>

#include <cmath>
#include <optional>

namespace velk {

namespace {

using namespace EditLimits;

// The object's text without its terminator; nothing when its size is out of
// bounds or odd, or changed between the two reads.
std::optional<QString> objectText(const Pdfium& pdfium, FPDF_PAGEOBJECT object, FPDF_TEXTPAGE textPage)
{
    const PdfiumFunctions& api = pdfium.api();
    const unsigned long bytes = api.FPDFTextObj_GetText(object, textPage, nullptr, 0);
    if (bytes < kMinTextObjectBytes || bytes > kMaxTextObjectBytes || bytes % 2 != 0)
        return std::nullopt;
    QList<FPDF_WCHAR> buffer(qsizetype(bytes / 2), 0);
    if (api.FPDFTextObj_GetText(object, textPage, buffer.data(), bytes) != bytes)
        return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), buffer.size() - 1);
}

// The listing entry of a readable text object, else nothing.
std::optional<ListedTextObject> entry(const Pdfium& pdfium, FPDF_PAGEOBJECT object, FPDF_TEXTPAGE textPage, int index)
{
    const std::optional<QString> text = objectText(pdfium, object, textPage);
    float size = 0;
    // A size JSON cannot carry counts as unreadable.
    if (!text || !pdfium.api().FPDFTextObj_GetFontSize(object, &size) || !std::isfinite(size))
        return std::nullopt;
    return ListedTextObject{index, *text, double(size)};
}

} // namespace

void TextObjectsOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                               const QJsonObject& request)
{
    const std::optional<EditedPage> edited =
        EditedPage::open(reply, pdfium, document, TextObjectsRequest::fromJson(request).page);
    if (!edited)
        return;
    const PdfiumFunctions& api = pdfium.api();
    const TextPageHandle textPage = wrapTextPage(pdfium, api.FPDFText_LoadPage(edited->page.get()));
    if (!textPage) {
        reply = errorReply(QStringLiteral("Sayfa metinleri açılamadı."));
        return;
    }
    TextObjectsReply listing;
    QList<ListedTextObject>& objects = listing.objects;
    qint64& nestedForms = listing.nestedForms;
    for (int index = 0; index < edited->objectCount && objects.size() < kMaxListedTextObjects; ++index) {
        FPDF_PAGEOBJECT object = api.FPDFPage_GetObject(edited->page.get(), index);
        const int type = object ? api.FPDFPageObj_GetType(object) : 0;
        if (type == kPageObjectForm)
            ++nestedForms;
        if (type != kPageObjectText)
            continue;
        if (std::optional<ListedTextObject> listed = entry(pdfium, object, textPage.get(), index))
            objects.append(*listed);
    }
    reply = listing.toJson();
}

} // namespace velk
