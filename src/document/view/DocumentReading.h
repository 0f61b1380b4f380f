#pragma once

// The links of one page and the outline of a document, through the
// sandboxed worker, read back with every value bounded. Both run on a pool
// thread (started by NativeDocumentTab), take copies only and touch no
// QObject.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"
#include "worker/contract/operations/LinksContract.h"
#include "worker/contract/operations/OutlineContract.h"
#include "worker/contract/operations/TextContract.h"

#include <QList>
#include <QRectF>
#include <QString>

namespace velk {

struct PageLinksResult {
    int page = -1;
    QList<PageLinkEntry> links;
    // Empty on success, else the sentence for the user.
    QString error;
};

struct OutlineResult {
    QList<OutlineEntry> entries;
    bool truncated = false;
    QString error;
};

struct SelectionTextResult {
    QString text;
    QString error;
};

PageLinksResult listPageLinks(PdfDocumentPtr document, int page, CancelFlag cancel);
OutlineResult readOutline(PdfDocumentPtr document, CancelFlag cancel);
// The text inside an area of a page (points from its top left as displayed).
SelectionTextResult selectionText(PdfDocumentPtr document, int page, QRectF area, CancelFlag cancel);

} // namespace velk
