#pragma once

// The links of one page and the outline of a document, through the
// sandboxed worker, read back with every value bounded. Both run on a pool
// thread (started by NativeDocumentTab), take copies only and touch no
// QObject.

#include "worker/runner/CancelFlag.h"
#include "document/PdfDocument.h"
#include "worker/contract/operations/LinksContract.h"
#include "worker/contract/operations/OutlineContract.h"

#include <QList>
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

PageLinksResult listPageLinks(PdfDocumentPtr document, int page, CancelFlag cancel);
OutlineResult readOutline(PdfDocumentPtr document, CancelFlag cancel);

} // namespace velk
