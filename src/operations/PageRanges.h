#pragma once

// Page ranges as users type them ("1,3,5-7", "5-1"), turned into 0-based
// page lists. Shared by page organisation and OCR. Pure; any thread.

#include <QList>
#include <QString>

namespace velk {

// Exactly one member is meaningful: pages when error is empty.
struct PageRangeResult {
    QList<int> pages;
    QString error;
};

// Parts are separated by ','; each is "n" or "from-to" (descending allowed,
// white space around '-' allowed). Pages repeat as often as they are named.
// Page count and text length are bounded before anything is split.
PageRangeResult parsePageRanges(const QString& text, int pageCount);

} // namespace velk
