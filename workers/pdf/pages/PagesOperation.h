#pragma once

// "pages" and "overlay": new PDFs built from the pages of existing ones.
// PDFium vets every source and verifies the output; qpdf's job interface
// does the page work. Document-free handlers: they open every file
// themselves. They never delete a file: whatever qpdf wrote after a failed
// job stays at the output path for the caller, who works in a private
// workspace, to discard.

#include <QJsonObject>

namespace velk {

class PagesOperation {
public:
    // {"ok": true, "pages": n} with the verified output page count, or
    // {"ok": false, "error": sentence}.
    static void pages(QJsonObject& reply, const QJsonObject& request);
    static void overlay(QJsonObject& reply, const QJsonObject& request);
};

} // namespace velk
