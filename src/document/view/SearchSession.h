#pragma once

// Where the next search of a document tab begins and what its outcome says.
// Remembers the last hit (page and ordinal on the page) until the query is
// edited, so F3 goes on after it and Shift+F3 goes back before it. Pure
// state for the GUI thread; owned by NativeDocumentTab.

#include "document/view/DocumentSearch.h"

#include <QString>

namespace velk {

class SearchSession {
public:
    // The query changed: the next search begins at the current page again.
    void reset();
    bool hasHit() const { return m_page >= 0; }
    int page() const { return m_page; }
    int hit() const { return m_hit; }

    SearchStart next(int currentPage) const;
    SearchStart previous(int currentPage) const;
    // Takes a hit as the last one; a result without a page leaves the last
    // hit as it was.
    void found(const PdfSearchResult& result);

    // "Sayfa %1 / %2: %3. sonuç" (the hit's page of pageCount, its ordinal
    // on the page), with a note when the search wrapped round.
    static QString statusText(const PdfSearchResult& result, int pageCount, bool backward);

private:
    int m_page = -1;
    int m_hit = 0;
};

} // namespace velk
