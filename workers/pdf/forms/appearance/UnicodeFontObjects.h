#pragma once

// Creates, in a document read by qpdf, the one embedded Unicode font the
// new widget appearances draw with: a Type0 font (Identity-H) whose
// descendant CIDFontType2 (identity CID-to-glyph map) embeds the whole
// TrueType file, with the widths and the ToUnicode map of the glyphs used.
// Answers the reference to the Type0 font; qpdf failures throw.

#include "forms/appearance/GlyphMetrics.h"
#include "qpdf/Qpdf.h"

namespace velk {

class TrueTypeFont;

qpdf_oh createUnicodeFont(Qpdf& qpdf, const TrueTypeFont& font, const GlyphUse& used);

} // namespace velk
