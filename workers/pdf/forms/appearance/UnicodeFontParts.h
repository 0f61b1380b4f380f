#pragma once

// The pieces of a Type0 (Identity-H) font dictionary set that embeds a
// whole TrueType font for the glyphs a set of appearances draws: the
// descendant's /W array, the ToUnicode CMap and the font descriptor's
// entries. Text in the form qpdf's parser takes; the caller makes the
// objects and links them.

#include "forms/appearance/GlyphMetrics.h"

#include <QByteArray>

namespace velk {

class TrueTypeFont;

namespace UnicodeFontParts {

// "[ g [ w ] … ]" for every used glyph, widths rounded to whole units.
QByteArray widths(const TrueTypeFont& font, const GlyphUse& used);

// A ToUnicode CMap stream body mapping each used glyph (two-byte code) to
// its code point (UTF-16BE, surrogate pairs above U+FFFF).
QByteArray toUnicodeCMap(const GlyphUse& used);

// "<< /Type /FontDescriptor /FontName … /Flags … /FontBBox […] /ItalicAngle
// … /Ascent … /Descent … /CapHeight … /StemV … >>" without /FontFile2,
// which the caller adds once the font stream exists.
QByteArray fontDescriptor(const TrueTypeFont& font);

} // namespace UnicodeFontParts
} // namespace velk
