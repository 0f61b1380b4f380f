#include "forms/appearance/UnicodeFontObjects.h"

#include "forms/appearance/TrueTypeFont.h"
#include "forms/appearance/UnicodeFontParts.h"

namespace velk {

namespace {

qpdf_oh fontFile(Qpdf& qpdf, const TrueTypeFont& font)
{
    // /Length1: the file's own length, which readers need once qpdf has
    // compressed the stream.
    return qpdf.newStream(qpdf.parse("<< /Length1 " + QByteArray::number(font.data().size()) + " >>"), font.data());
}

qpdf_oh descendant(Qpdf& qpdf, const TrueTypeFont& font, const GlyphUse& used)
{
    const qpdf_oh descriptor = qpdf.parse(UnicodeFontParts::fontDescriptor(font));
    qpdf.setKey(descriptor, "/FontFile2", fontFile(qpdf, font));
    const qpdf_oh cidFont = qpdf.parse("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + font.postScriptName()
                                       + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                         " /CIDToGIDMap /Identity /W "
                                       + UnicodeFontParts::widths(font, used) + " >>");
    qpdf.setKey(cidFont, "/FontDescriptor", qpdf.makeIndirect(descriptor));
    return qpdf.makeIndirect(cidFont);
}

} // namespace

qpdf_oh createUnicodeFont(Qpdf& qpdf, const TrueTypeFont& font, const GlyphUse& used)
{
    const qpdf_oh descendants = qpdf.parse("[]");
    qpdf.appendItem(descendants, descendant(qpdf, font, used));
    const qpdf_oh type0 =
        qpdf.parse("<< /Type /Font /Subtype /Type0 /BaseFont /" + font.postScriptName() + " /Encoding /Identity-H >>");
    qpdf.setKey(type0, "/DescendantFonts", descendants);
    qpdf.setKey(type0, "/ToUnicode", qpdf.newStream(qpdf.parse("<< >>"), UnicodeFontParts::toUnicodeCMap(used)));
    return qpdf.makeIndirect(type0);
}

} // namespace velk
