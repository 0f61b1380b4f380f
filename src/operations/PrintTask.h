#pragma once

// Printing an open document: every page is drawn by the sandboxed worker
// ("render", the same request and bounds as the page view) at the
// printer's resolution and the pixels are painted onto the printer, so the
// printer never receives the document's own bytes. The page range, order
// and copies come from the printer's settings (the print dialog). The
// cancellation flag is read before each sheet: a cancelled print stops
// after the page being drawn. Blocking; runs on a pool thread, where the
// printer is used by this task alone until it returns.

#include "document/core/PdfDocument.h"
#include "worker/runner/CancelFlag.h"

#include <QList>
#include <QSizeF>

#include <functional>

class QPrinter;

namespace velk {

// Told before each sheet: its position (from 1) and the number of sheets.
using PrintProgress = std::function<void(int position, int count)>;

struct PrintPlan {
    QList<int> sheets;  // page indices in printing order, copies included
};

class PrintTask {
public:
    // The sheets the printer's settings ask for: all pages or the chosen
    // range (bounded by the document), the current page, in the chosen
    // order, times the copies Qt leaves to the application.
    static PrintPlan plan(const QPrinter& printer, int pageCount, int currentPage);
    // Render width for a page of pageSize points at dpi, within the
    // worker's render bounds (width, height and pixel count).
    static int renderWidth(const QSizeF& pageSize, int dpi);
    static ExportResult print(PdfDocumentPtr document, QPrinter& printer, const PrintPlan& plan,
                              const CancelFlag& cancel, const PrintProgress& progress = {});

    static constexpr int kDefaultDpi = 300;
    static constexpr int kMinDpi = 72;
    static constexpr int kMaxDpi = 1200;
    // Beyond this many sheets a print run is refused, not started.
    static constexpr int kMaxSheets = 10000;
};

} // namespace velk
