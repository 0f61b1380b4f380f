#include "edit/TextObjectEditOperation.h"

#include "edit/EditLimits.h"
#include "edit/EditedPage.h"
#include "edit/EmbeddedFont.h"
#include "ErrorReply.h"
#include "pdfium/SaveNewPdf.h"
#include "edit/TextLineObject.h"
#include "edit/TextLines.h"

#include "worker/contract/operations/TextObjectsContract.h"

#include <cmath>
#include <optional>

namespace velk {

namespace {

using namespace EditLimits;

// What the new lines keep of the picked object.
struct PickedText {
    FPDF_PAGEOBJECT object = nullptr;
    int renderMode = 0;
    float size = 0;
    FS_MATRIX matrix{};
    unsigned int red = 0;
    unsigned int green = 0;
    unsigned int blue = 0;
    unsigned int alpha = 255;
};

std::nullopt_t fail(QJsonObject& reply, const QString& message)
{
    reply = errorReply(message);
    return std::nullopt;
}

bool isBoundedMatrix(const FS_MATRIX& m)
{
    for (const float value : {m.a, m.b, m.c, m.d, m.e, m.f}) {
        if (!std::isfinite(value) || std::fabs(double(value)) > kMaxMatrixValue)
            return false;
    }
    return true;
}

// The new text split into lines; nothing when it breaks a rule.
std::optional<QStringList> replacementLines(const TextObjectEditRequest& request)
{
    const QString& text = request.text;
    if (!TextLines::isUsable(text))
        return std::nullopt;
    QStringList lines = TextLines::split(text);
    if (lines.size() > kMaxTextLines)
        return std::nullopt;
    return lines;
}

// The object's look and place, read after its render mode passed.
std::optional<PickedText> readLook(QJsonObject& reply, const Pdfium& pdfium, PickedText picked)
{
    const PdfiumFunctions& api = pdfium.api();
    if (!api.FPDFPageObj_GetMatrix(picked.object, &picked.matrix)
        || !api.FPDFTextObj_GetFontSize(picked.object, &picked.size) || !std::isfinite(picked.size)
        || picked.size < kMinReplaceFontSize || picked.size > kMaxReplaceFontSize)
        return fail(reply, QStringLiteral("Metnin konumu veya yazı boyutu desteklenmiyor."));
    if (!isBoundedMatrix(picked.matrix))
        return fail(reply, QStringLiteral("Metin dönüşümü geçersiz."));
    // An unreadable colour leaves opaque black.
    PickedText read = picked;
    if (!api.FPDFPageObj_GetFillColor(picked.object, &read.red, &read.green, &read.blue, &read.alpha))
        read = picked;
    return read;
}

// Steps up to reading the old object's look; lines is filled for a
// replacement and null for a deletion.
std::optional<PickedText> pick(QJsonObject& reply, const Pdfium& pdfium, const EditedPage& edited,
                               const TextObjectEditRequest& request, QStringList* lines)
{
    const PdfiumFunctions& api = pdfium.api();
    const qint64 index = request.objectIndex();
    if (index < 0 || index >= edited.objectCount)
        return fail(reply, QStringLiteral("Metin nesnesi geçersiz."));
    PickedText picked;
    picked.object = api.FPDFPage_GetObject(edited.page.get(), int(index));
    if (!picked.object || api.FPDFPageObj_GetType(picked.object) != kPageObjectText)
        return fail(reply, QStringLiteral("Seçilen nesne doğrudan metin nesnesi değil."));
    if (lines) {
        std::optional<QStringList> newLines = replacementLines(request);
        if (!newLines)
            return fail(reply,
                        QStringLiteral("Yeni metin geçersiz; en fazla 100 satır ve 10000 karakter kullanılabilir."));
        *lines = std::move(*newLines);
    }
    picked.renderMode = api.FPDFTextObj_GetTextRenderMode(picked.object);
    if (picked.renderMode != kRenderModeFill && picked.renderMode != kRenderModeInvisible)
        return fail(reply,
                    QStringLiteral("Bu metin özel çizim/kırpma kipinde; "
                                   "güvenli biçimde değiştirilemiyor."));
    return readLook(reply, pdfium, picked);
}

// Writes each non-empty line where the old object stood, the first exactly
// there and each further one 1.3 × size along its downward direction.
bool writeLines(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_PAGE page, FPDF_FONT font, const PickedText& old,
                const QStringList& lines)
{
    const PdfiumFunctions& api = pdfium.api();
    const FS_MATRIX& m = old.matrix;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (lines.at(k).isEmpty())
            continue; // an empty line keeps its place only
        const double offset = TextLines::offset(int(k), old.size);
        const TextLineObject::Placement placement{m.a, m.b, m.c, m.d, m.e - m.c * offset, m.f - m.d * offset};
        PageObjectHandle object = TextLineObject::create(pdfium, document, font, old.size, lines.at(k), placement);
        if (!object || !api.FPDFPageObj_SetFillColor(object.get(), old.red, old.green, old.blue, old.alpha)
            || !api.FPDFTextObj_SetTextRenderMode(object.get(), old.renderMode))
            return false;
        api.FPDFPage_InsertObject(page, object.release());
    }
    return true;
}

// Removes the old object and writes the new lines (lines null: none) and
// the page content. Empty when the page is ready to save, else the
// sentence of the failed step.
QString applyEdit(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_PAGE page, const PickedText& old,
                  const QStringList* lines)
{
    const PdfiumFunctions& api = pdfium.api();
    FontHandle font = wrapFont(pdfium, nullptr);
    if (lines) {
        const QByteArray fontData = EmbeddedFont::read();
        if (fontData.isEmpty())
            return QStringLiteral("Gömülü yazı tipi açılamadı.");
        font = EmbeddedFont::load(pdfium, document, fontData);
        if (!font)
            return QStringLiteral("PDF yazı tipi oluşturulamadı.");
    }
    if (!api.FPDFPage_RemoveObject(page, old.object))
        return QStringLiteral("Eski metin nesnesi kaldırılamadı.");
    // Removing handed the object over to us.
    api.FPDFPageObj_Destroy(old.object);
    if (lines && !writeLines(pdfium, document, page, font.get(), old, *lines))
        return QStringLiteral("Yeni metin oluşturulamadı.");
    font.reset();
    if (!api.FPDFPage_GenerateContent(page))
        return QStringLiteral("Düzenlenen sayfa oluşturulamadı.");
    return {};
}

// The handler, not the request's own name, decides whether it replaces.
void edit(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& json, bool replacing)
{
    const TextObjectEditRequest request = TextObjectEditRequest::fromJson(json);
    const std::optional<EditedPage> edited = EditedPage::openForWriting(reply, pdfium, document, request.page);
    if (!edited)
        return;
    QStringList lines;
    const std::optional<PickedText> picked = pick(reply, pdfium, *edited, request, replacing ? &lines : nullptr);
    if (!picked)
        return;
    const QString error = applyEdit(pdfium, document, edited->page.get(), *picked, replacing ? &lines : nullptr);
    if (!error.isEmpty()) {
        reply = errorReply(error);
        return;
    }
    saveNewPdf(reply, pdfium, document, request.output);
}

} // namespace

void TextObjectEditOperation::replaceText(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                          const QJsonObject& request)
{
    edit(reply, pdfium, document, request, true);
}

void TextObjectEditOperation::deleteText(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                         const QJsonObject& request)
{
    edit(reply, pdfium, document, request, false);
}

} // namespace velk
