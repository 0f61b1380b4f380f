#pragma once

// Limits of one revision snapshot, each checked before the work it bounds.
// A snapshot reads every object reachable from the catalogue once, so the
// budgets grow with the document, not with the number of paths to an
// object.

#include <QtGlobal>

namespace velk {

struct SnapshotLimits {
    // Objects and items visited by the digests and the page walk together.
    qint64 maxVisits = 2000000;
    // Nesting of direct objects inside one object.
    int maxDirectDepth = 64;
    int maxKeys = 10000;
    // Widths of a font with 65,536 glyphs (pdfsig writes one such /W array
    // into every signature appearance) must fit; the visit budget bounds
    // the total.
    int maxArrayItems = 262144;
    // Raw data of one stream, and of all streams (each counted once).
    qint64 maxStreamBytes = qint64(32) * 1024 * 1024;
    qint64 maxTotalStreamBytes = qint64(128) * 1024 * 1024;
    // The field tree and the page tree.
    int maxTreeDepth = 32;
    int maxFieldsPerArray = 4096;
    int maxPageKids = 20000;
    int maxAnnotationsPerPage = 4096;
};

} // namespace velk
