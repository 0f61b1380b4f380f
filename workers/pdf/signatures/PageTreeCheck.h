#pragma once

// Refuses a page tree that lists one object twice. qpdf repairs such a tree
// only in memory when a page is first asked for, and the page it then hands
// out is a copy that no /Kids array references: a widget placed there would
// never show. Bounded like the snapshot's page walk; failures are
// QpdfFailure ("page tree").

#include "qpdf/Qpdf.h"

namespace velk {

class PageTreeCheck {
public:
    static void requireDistinctPages(Qpdf& qpdf, qpdf_oh catalog);
};

} // namespace velk
