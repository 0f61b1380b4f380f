#include "edit/AddTextOperation.h"

#include "edit/EditLimits.h"
#include "edit/EmbeddedFont.h"
#include "ErrorReply.h"
#include "edit/InsertionTarget.h"
#include "pdfium/SaveNewPdf.h"
#include "edit/TextLineObject.h"
#include "edit/TextLines.h"

#include <array>

namespace velk {

namespace {

// Text direction (a, b) and up direction (c, d) for each page rotation, so
// that the text reads upright on the displayed page.
constexpr std::array<double, 4> kA = {1, 0, -1, 0};
constexpr std::array<double, 4> kB = {0, 1, 0, -1};
constexpr std::array<double, 4> kC = {0, -1, 0, 1};
constexpr std::array<double, 4> kD = {1, 0, -1, 0};

bool liesInside(const Pdfium& pdfium, FPDF_PAGEOBJECT object, const PageBox& box)
{
    float left = 0;
    float bottom = 0;
    float right = 0;
    float top = 0;
    if (!pdfium.api().FPDFPageObj_GetBounds(object, &left, &bottom, &right, &top))
        return false;
    return box.left <= left && box.bottom <= bottom && right <= box.right && top <= box.top;
}

// Places every non-empty line and inserts it into the page; false at the
// first line that cannot be created or does not fit (lines inserted before
// it stay in memory only, since nothing is saved then).
bool placeLines(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_FONT font, const InsertionTarget& target,
                const QStringList& lines, int rotation)
{
    const auto r = std::size_t(rotation);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).isEmpty())
            continue; // an empty line keeps its place only
        const double offset = TextLines::offset(int(i), target.size);
        const TextLineObject::Placement placement{kA.at(r),
                                                  kB.at(r),
                                                  kC.at(r),
                                                  kD.at(r),
                                                  target.point.x - kC.at(r) * offset,
                                                  target.point.y - kD.at(r) * offset};
        PageObjectHandle object = TextLineObject::create(pdfium, document, font, target.size, lines.at(i), placement);
        if (!object || !liesInside(pdfium, object.get(), target.box))
            return false;
        // The page owns the object from here on.
        pdfium.api().FPDFPage_InsertObject(target.page.get(), object.release());
    }
    return true;
}

} // namespace

void AddTextOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request)
{
    const std::optional<InsertionTarget> target = InsertionTarget::prepare(reply, pdfium, document, request);
    if (!target)
        return;
    const QStringList lines = TextLines::split(target->text);
    if (lines.size() > EditLimits::kMaxTextLines) {
        reply = errorReply(QStringLiteral("En fazla 100 satır metin eklenebilir."));
        return;
    }
    const QByteArray fontData = EmbeddedFont::read();
    if (fontData.isEmpty()) {
        reply = errorReply(QStringLiteral("Gömülü yazı tipi yüklenemedi."));
        return;
    }
    FontHandle font = EmbeddedFont::load(pdfium, document, fontData);
    if (!font) {
        reply = errorReply(QStringLiteral("PDF yazı tipi oluşturulamadı."));
        return;
    }
    const int rotation = pdfium.api().FPDFPage_GetRotation(target->page.get());
    if (rotation < 0 || rotation > 3) {
        reply = errorReply(QStringLiteral("Sayfa yönü geçersiz."));
        return;
    }
    const bool placed = placeLines(pdfium, document, font.get(), *target, lines, rotation);
    const bool generated = placed && pdfium.api().FPDFPage_GenerateContent(target->page.get());
    font.reset();
    if (!generated) {
        reply = errorReply(QStringLiteral("Metin sayfaya sığmadı veya yazılamadı. "
                                          "Farklı konum ya da küçük punto seçin."));
        return;
    }
    saveNewPdf(reply, pdfium, document, target->output);
}

} // namespace velk
