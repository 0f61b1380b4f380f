#pragma once

// Poppler's pdftotext as an independent judge of where text sits on a page
// and what text an area holds. Coordinates are PDF points from the top-left
// corner of the page as displayed (rotation applied), as pdftotext gives
// them at 72 dpi.

#include <QList>
#include <QRectF>
#include <QString>

namespace velk::test {

// The text of one page (0-based), UTF-8, without page breaks or
// surrounding white space; a null string when pdftotext failed.
QString popplerText(const QString& pdfPath, int page);

// One word and its box, y growing downwards.
struct PopplerWord {
    QString text;
    QRectF box;
};

// The words of one page (0-based) with their boxes; empty when pdftotext fails.
QList<PopplerWord> popplerWords(const QString& pdfPath, int page);

// The text pdftotext extracts from an area of one page (0-based): its
// "-x -y -W -H" crop at 72 dpi, without the final form feed.
QString popplerAreaText(const QString& pdfPath, int page, const QRect& area);

} // namespace velk::test
