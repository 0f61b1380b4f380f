#pragma once

// Finding the next page that contains a text, through the sandboxed worker.
// The worker looks at every page once, from the start page on, wrapping
// round. Runs on a pool thread (started by NativeDocumentTab); takes copies
// only and touches no QObject.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"

#include <QJsonObject>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

namespace velk {

struct PdfSearchResult {
    // -1 when no page holds the text (or on failure).
    int page = -1;
    QString snippet;
    QString error;
    // Which hit of its page, from 0; whether the search wrapped round to
    // reach it; where its characters are, in points from the top left of
    // the page as displayed.
    int hit = 0;
    bool wrapped = false;
    QList<QRectF> rects;
};

// Where a search begins: a page, and on it the ordinal of the hit to begin
// at (forwards the first at or after it, backwards the last at or before
// it; -1 backwards passes over the page until the search comes back round).
struct SearchStart {
    int page = 0;
    std::optional<int> hit;
    bool backward = false;
};

PdfSearchResult searchDocument(PdfDocumentPtr document, QString query, int startPage, CancelFlag cancel);
PdfSearchResult searchFrom(PdfDocumentPtr document, QString query, SearchStart start, CancelFlag cancel);

// Reads a successful "search" reply for a document of pageCount pages: the
// page must be -1 or one of the document's pages, and the snippet is kept to
// the length the worker sends. Pure.
PdfSearchResult searchResultFromReply(const QJsonObject& reply, int pageCount);

} // namespace velk
