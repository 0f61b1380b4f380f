#pragma once

// What laying out text in one font needs: the glyph drawn for a code point
// and how far it advances, in thousandths of an em (PDF glyph space), plus
// the font's vertical extent. Implemented by the embedded font's reader;
// the appearance builder only measures through it.

#include <QtGlobal>

#include <map>

namespace velk {

class GlyphMetrics {
public:
    virtual ~GlyphMetrics() = default;

    // The glyph for the code point; 0 (the font's missing-glyph box) when
    // the font has none.
    virtual quint16 glyphFor(char32_t codePoint) const = 0;
    // Advance width of the glyph; 0 for a glyph outside the font.
    virtual double advance(quint16 glyph) const = 0;
    // Above and below the baseline; the descent is negative.
    virtual double ascent() const = 0;
    virtual double descent() const = 0;
};

// Every glyph an appearance draws, with the code point it stands for (the
// first one met): the embedded font's widths and its ToUnicode map are
// built from it.
using GlyphUse = std::map<quint16, char32_t>;

} // namespace velk
