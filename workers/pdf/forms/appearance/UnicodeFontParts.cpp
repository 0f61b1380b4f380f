#include "forms/appearance/UnicodeFontParts.h"

#include "forms/appearance/ContentWriter.h"
#include "forms/appearance/TrueTypeFont.h"

#include <cmath>

namespace velk::UnicodeFontParts {

namespace {

// A CMap may hold at most this many mappings between beginbfchar and endbfchar.
constexpr int kMaxBfcharBlock = 100;
constexpr char32_t kLastCodePoint = 0x10FFFF;
// Nonsymbolic: the font's own cmap and the standard Latin set apply.
constexpr int kDescriptorFlags = 32;
// Readers guess stems when the font does not say; a bold weight's usual value.
constexpr int kStemV = 80;

const char kCMapStart[] = "/CIDInit /ProcSet findresource begin\n"
                          "12 dict begin\n"
                          "begincmap\n"
                          "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                          "/CMapName /Adobe-Identity-UCS def\n"
                          "/CMapType 2 def\n"
                          "1 begincodespacerange\n"
                          "<0000> <FFFF>\n"
                          "endcodespacerange\n";
const char kCMapEnd[] = "endcmap\n"
                        "CMapName currentdict /CMap defineresource pop\n"
                        "end\n"
                        "end\n";

QByteArray hex16(quint16 value)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}

// UTF-16BE hex of the code point; empty for one UTF-16 cannot carry.
QByteArray utf16Hex(char32_t codePoint)
{
    if (codePoint > kLastCodePoint || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {};
    if (codePoint <= 0xFFFF)
        return hex16(quint16(codePoint));
    const char32_t offset = codePoint - 0x10000;
    return hex16(quint16(0xD800 + (offset >> 10))) + hex16(quint16(0xDC00 + (offset & 0x3FF)));
}

QByteArray bfcharBlock(const QList<QByteArray>& lines)
{
    return QByteArray::number(lines.size()) + " beginbfchar\n" + lines.join() + "endbfchar\n";
}

} // namespace

QByteArray widths(const TrueTypeFont& font, const GlyphUse& used)
{
    // Runs of consecutive glyphs share one bracket: "g [w1 w2 w3]".
    QByteArray text = "[";
    int previous = -2;
    for (const auto& [glyph, codePoint] : used) {
        Q_UNUSED(codePoint)
        const QByteArray width = QByteArray::number(std::llround(font.advance(glyph)));
        if (glyph == previous + 1)
            text += ' ' + width;
        else
            text += (previous < 0 ? "" : "] ") + QByteArray::number(glyph) + " [" + width;
        previous = glyph;
    }
    return text + (used.empty() ? "]" : "]]");
}

QByteArray toUnicodeCMap(const GlyphUse& used)
{
    QByteArray text = kCMapStart;
    QList<QByteArray> lines;
    for (const auto& [glyph, codePoint] : used) {
        const QByteArray destination = utf16Hex(codePoint);
        if (destination.isEmpty())
            continue;
        lines << '<' + hex16(glyph) + "> <" + destination + ">\n";
        if (lines.size() == kMaxBfcharBlock) {
            text += bfcharBlock(lines);
            lines.clear();
        }
    }
    if (!lines.isEmpty())
        text += bfcharBlock(lines);
    return text + kCMapEnd;
}

QByteArray fontDescriptor(const TrueTypeFont& font)
{
    QByteArrayList box;
    for (const double edge : font.boundingBox())
        box << ContentWriter::number(edge);
    return "<< /Type /FontDescriptor /FontName /" + font.postScriptName() + " /Flags "
           + QByteArray::number(kDescriptorFlags) + " /FontBBox [" + box.join(' ') + "] /ItalicAngle "
           + ContentWriter::number(font.italicAngle()) + " /Ascent " + ContentWriter::number(font.ascent())
           + " /Descent " + ContentWriter::number(font.descent()) + " /CapHeight "
           + ContentWriter::number(font.capHeight()) + " /StemV " + QByteArray::number(kStemV) + " >>";
}

} // namespace velk::UnicodeFontParts
