#pragma once

// The object numbers of every annotation some page lists in its /Annots,
// found by walking the catalog's page tree through qpdf. Bounded and
// cycle-safe: a node met twice is not walked again; a tree larger than the
// limits throws QpdfFailure ("page tree limit").

#include "qpdf/Qpdf.h"

#include <QSet>

namespace velk {

QSet<int> annotationsOnPages(Qpdf& qpdf);

} // namespace velk
