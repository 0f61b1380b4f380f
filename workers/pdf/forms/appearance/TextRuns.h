#pragma once

// Text as the appearance builder lays it out: code points taken from the
// value (bounded), each with its glyph and advance in the embedded font,
// split into paragraphs and wrapped into lines of a given width.

#include "forms/appearance/GlyphMetrics.h"

#include <QList>
#include <QString>

namespace velk {

struct ShapedChar {
    char32_t codePoint = 0;
    quint16 glyph = 0;
    // Thousandths of an em.
    double advance = 0;
};

using TextRun = QList<ShapedChar>;

namespace TextRuns {

// The code points of the first kMaxDrawnUnits code units; surrogate pairs
// combined, a lone surrogate read as U+FFFD.
QList<char32_t> codePoints(const QString& text);

// Line breaks (CR LF, CR, LF) and tabs read as single spaces.
QList<char32_t> asOneLine(const QList<char32_t>& text);
// The paragraphs between line breaks (CR LF, CR or LF); an empty text is
// one empty paragraph.
QList<QList<char32_t>> paragraphs(const QList<char32_t>& text);

TextRun shape(const QList<char32_t>& text, const GlyphMetrics& font);
// Sum of the advances, in thousandths of an em.
double width(const TextRun& run);
double widestAdvance(const TextRun& run);

// Each paragraph broken into lines no wider than maxWidth (thousandths of
// an em) at spaces, a word wider than a line between its characters; at
// most maxLines lines in all.
QList<TextRun> wrap(const QList<TextRun>& paragraphs, double maxWidth, int maxLines);

} // namespace TextRuns
} // namespace velk
