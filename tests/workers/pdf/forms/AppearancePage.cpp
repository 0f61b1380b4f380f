#include "AppearancePage.h"

#include "forms/appearance/ContentWriter.h"
#include "support/PdfFixtures.h"
#include "forms/appearance/TrueTypeFont.h"
#include "forms/appearance/UnicodeFontParts.h"

namespace velk::test {

namespace {

// Object numbers of the fixed part; the forms follow from kFirstForm.
constexpr int kFontObject = 5;
constexpr int kFirstForm = 10;

QByteArray num(double value)
{
    return ContentWriter::number(value);
}

QByteArray reference(int object)
{
    return QByteArray::number(object) + " 0 R";
}

QByteArray stream(const QByteArray& dictionaryEntries, const QByteArray& data)
{
    return "<< " + dictionaryEntries + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data
        + "\nendstream";
}

QByteArray formXObject(const AppearanceForm& form)
{
    QByteArray matrix;
    for (const double value : form.matrix)
        matrix += num(value) + ' ';
    return stream("/Type /XObject /Subtype /Form /BBox [0 0 " + num(form.bboxWidth) + ' ' + num(form.bboxHeight)
                      + "] /Matrix [" + matrix + "] /Resources << /Font << /" + QByteArray(kAppearanceFontResource)
                      + ' ' + reference(kFontObject) + " >> >>",
                  form.content);
}

// The page's content and its XObject names: each form drawn at its origin.
std::pair<QByteArray, QByteArray> pageDrawing(const QList<PlacedAppearance>& placed)
{
    QByteArray content;
    QByteArray names;
    for (qsizetype i = 0; i < placed.size(); ++i) {
        const QByteArray name = "/Fm" + QByteArray::number(i);
        content += "q 1 0 0 1 " + num(placed[i].origin.x()) + ' ' + num(placed[i].origin.y()) + " cm " + name
            + " Do Q\n";
        names += name + ' ' + reference(kFirstForm + int(i)) + ' ';
    }
    return {content, names};
}

} // namespace

QByteArray appearancePdf(const QSizeF& pageSize, const QList<PlacedAppearance>& placed, const GlyphUse& used,
                         const TrueTypeFont& font)
{
    const auto [content, names] = pageDrawing(placed);
    QByteArray descriptor = UnicodeFontParts::fontDescriptor(font);
    descriptor.insert(descriptor.lastIndexOf(">>"), "/FontFile2 8 0 R ");
    const QByteArray fontName = font.postScriptName();
    QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + num(pageSize.width()) + ' ' + num(pageSize.height())
            + "] /Contents 4 0 R /Resources << /XObject << " + names + ">> >> >>",
        stream({}, content),
        "<< /Type /Font /Subtype /Type0 /BaseFont /" + fontName
            + " /Encoding /Identity-H /DescendantFonts [6 0 R] /ToUnicode 9 0 R >>",
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + fontName
            + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor 7 0 R"
              " /CIDToGIDMap /Identity /W "
            + UnicodeFontParts::widths(font, used) + " >>",
        descriptor,
        stream("/Length1 " + QByteArray::number(font.data().size()), font.data()),
        stream({}, UnicodeFontParts::toUnicodeCMap(used)),
    };
    for (const PlacedAppearance& appearance : placed)
        objects.append(formXObject(appearance.form));
    return pdfFromObjects(objects);
}

} // namespace velk::test
