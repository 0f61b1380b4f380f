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

// "addText", "addNote" and "replaceText": the text in UTF-16 code units
// and lines; inserted text's font size in points, compared in single
// precision.
inline constexpr int kMaxEditTextUnits = 10000;
inline constexpr int kMaxEditTextLines = 100;
inline constexpr float kMinInsertFontSize = 6.0f;
inline constexpr float kMaxInsertFontSize = 120.0f;
inline constexpr double kDefaultInsertFontSize = 14.0;

// "textObjects": page objects a page may hold before it is refused, and
// entries of one listing.
inline constexpr int kMaxPageObjects = 50000;
inline constexpr int kMaxListedTextObjects = 2000;

// "annotate": the smallest width and height of a dragged shape, normalised.
inline constexpr double kMinShapeExtent = 0.002;

// "fields" and "fillFields": widgets listed, options of one choice field,
// updates of one request and a field's text in UTF-16 code units.
inline constexpr int kMaxListedFields = 1000;
inline constexpr int kMaxFieldOptions = 256;
inline constexpr int kMaxFieldUpdates = 512;
inline constexpr int kMaxFieldTextUnits = 10000;
// Annotations a page may hold before its form is refused.
inline constexpr int kMaxAnnotationsPerPage = 10000;

// "createImages": images per document and bytes of one image file.
inline constexpr int kMaxImages = 100;
inline constexpr qint64 kMaxImageFileBytes = qint64(128) * 1024 * 1024;

// "pages" and "overlay": source files of one run and pages of its output.
inline constexpr int kMaxPageSources = 100;
inline constexpr int kMaxOutputPages = kMaxPageCount;

// "ocr": pages recognised in one run.
inline constexpr int kMaxOcrPages = 100;

// "signatures": signed signatures listed and the bytes of one /Contents.
inline constexpr int kMaxListedSignatures = 64;
inline constexpr qint64 kMaxSignatureContentsBytes = 65536;

// "prepareSignature" and "appendDss": paths and texts are read up to these
// lengths (a long reason or signer still gets its own sentence from the
// worker), evidence files of one request and the length of a VRI key.
inline constexpr qsizetype kMaxSignatureRequestPathLength = 32767;
inline constexpr qsizetype kMaxSignatureRequestTextLength = 1 << 20;
inline constexpr qsizetype kMaxEvidenceSources = 1024;
inline constexpr qsizetype kVriKeyLength = 40;

} // namespace velk::SharedLimits
