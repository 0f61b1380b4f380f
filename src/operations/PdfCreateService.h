#pragma once

// Making new PDFs without an open document: blank A4 pages painted by the
// GUI program's PDF writer, a PDF from images built by the isolated worker,
// and office conversion, which this installation refuses. Blocking; run as
// background tasks on pool threads.

#include "document/core/PdfDocument.h"

#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QPdfWriter;

namespace velk {

// Draws page `index` (from 0); a result with ok false stops the document.
using PageDrawer = std::function<ExportResult(QPainter& painter, QPdfWriter& writer, int index)>;

// 1 to 100 A4 pages, creator "Velk PDF", titled with the destination's
// base name, written through an atomic save file: on failure the
// destination is left as it was.
ExportResult renderPdfPages(const QString& destination, int pageCount, const PageDrawer& drawPage);

class PdfCreateService {
public:
    // Empty A4 pages.
    static ExportResult blank(const QString& destination, int pageCount);
};

// One page per image, in the given order, converted by the worker from
// private copies of the images.
ExportResult createFromImages(const QString& destination, const QStringList& images);

// No isolated office converter ships with this installation.
ExportResult convertOfficeDocument(const QString& source, const QString& destination);

} // namespace velk
