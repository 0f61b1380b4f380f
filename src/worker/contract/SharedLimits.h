#pragma once

// Bounds that both sides of the PDF-worker boundary apply: the client before
// it asks, the worker before it works, and the client again when it reads
// the reply. Each is stated here once; the per-side limit headers refer to
// these names.

#include <QtGlobal>

namespace velk::SharedLimits {

// The largest PDF a document, a merge, a layer or a published result may
// be: 512 MiB, exactly 512 MiB accepted.
inline constexpr qint64 kMaxPdfBytes = qint64(512) * 1024 * 1024;
inline constexpr int kMinPageCount = 1;
inline constexpr int kMaxPageCount = 10000;
inline constexpr int kMaxPageIndex = kMaxPageCount - 1;
// A page side in PDF points is valid when finite, above 0 and at most this.
inline constexpr double kMaxPageSide = 20000.0;

// "render": requested width, the image's sides and its pixel count. Chosen
// with the runner's reply limit: the largest image, Base64-encoded, still
// fits a reply (32,000,000 bytes of RGBA, 42,666,668 characters).
inline constexpr int kDefaultRenderWidth = 1200;
inline constexpr int kMinRenderWidth = 160;
inline constexpr int kMaxRenderWidth = 4096;
inline constexpr int kMaxRenderHeight = 4096;
inline constexpr qint64 kMaxRenderPixels = 8000000;
inline constexpr int kBytesPerPixel = 4;

// "search": query length and snippet length in UTF-16 code units.
inline constexpr int kMaxQueryUnits = 512;
inline constexpr int kMaxSnippetUnits = 160;

// "search": a hit's rectangles (one per line it spans, more are dropped)
// and the hits of one page that are told apart by their ordinal.
inline constexpr int kMaxHitRects = 64;
inline constexpr int kMaxHitsPerPage = 10000;

// "links": links of one page (more are left out) and the bytes of a URI
// that is offered at all.
inline constexpr int kMaxPageLinks = 1000;
inline constexpr int kMaxUriBytes = 2048;

// "outline": entries of the whole outline, nesting depth (the top level is
// depth 0) and a title's length in UTF-16 code units; more entries or
// deeper ones are left out, a longer title is cut.
inline constexpr int kMaxOutlineEntries = 4000;
inline constexpr int kMaxOutlineDepth = 16;
inline constexpr int kMaxOutlineTitleUnits = 512;

// "text": the text of a selected area, in UTF-16 code units; an area holding
// more reads as holding none, like a page too long to search.
inline constexpr int kMaxSelectionUnits = 200000;

// "notes": entries and one note's text in UTF-16 code units.
inline constexpr int kMaxNotes = 1000;
inline constexpr int kMaxNoteUnits = 10000;

// "createImages": images per document and bytes of one image file.
inline constexpr int kMaxImages = 100;
inline constexpr qint64 kMaxImageFileBytes = qint64(128) * 1024 * 1024;

// "pages" and "overlay": source files of one run and pages of its output.
inline constexpr int kMaxPageSources = 100;
inline constexpr int kMaxOutputPages = kMaxPageCount;

// "ocr": pages recognised in one run.
inline constexpr int kMaxOcrPages = 100;

} // namespace velk::SharedLimits
