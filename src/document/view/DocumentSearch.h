#pragma once

// Finding the next page that contains a text, through the sandboxed worker.
// The worker looks at every page once, from the start page on, wrapping
// round. Runs on a pool thread (started by NativeDocumentTab); takes copies
// only and touches no QObject.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"

#include <QJsonObject>
#include <QString>

namespace velk {

struct PdfSearchResult {
    // -1 when no page holds the text (or on failure).
    int page = -1;
    QString snippet;
    QString error;
};

PdfSearchResult searchDocument(PdfDocumentPtr document, QString query, int startPage, CancelFlag cancel);

// Reads a successful "search" reply for a document of pageCount pages: the
// page must be -1 or one of the document's pages, and the snippet is kept to
// the length the worker sends. Pure.
PdfSearchResult searchResultFromReply(const QJsonObject& reply, int pageCount);

} // namespace velk
