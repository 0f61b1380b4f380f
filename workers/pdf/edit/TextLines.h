#pragma once

// The rules shared by inserted and replacing text: what counts as usable
// text, and how it becomes lines. Pure functions.

#include <QString>
#include <QStringList>

namespace velk::TextLines {

// Not empty after trimming white space, at most 10,000 UTF-16 code units
// and free of U+0000 (which would end the text early inside PDFium).
bool isUsable(const QString& text);

// The parts between line feeds, empty parts kept: "a\n\nb" is three lines
// and a trailing line feed adds an empty last one.
QStringList split(const QString& text);

// Vertical distance of line index below the first line, in text space:
// index × size in single precision, then × 1.3 in double precision.
double offset(int index, float size);

} // namespace velk::TextLines
