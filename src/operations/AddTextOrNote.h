#pragma once

// The task behind a placed text or sticky note: the worker writes the
// edited document into a private workspace, the result is inspected and
// must keep the document's page count, and only then is it published to
// the destination. Runs on a pool thread; blocking; not cancellable.

#include "document/core/PdfDocument.h"

#include <QPointF>
#include <QString>

namespace velk {

// page is 0-based; position is normalised to the displayed page (0 to 1,
// y downwards); size is in points. The document's files are never written.
ExportResult addTextOrNote(PdfDocumentPtr document, int page, QPointF position, const QString& text, bool note,
                           double size, const QString& destination);

} // namespace velk
