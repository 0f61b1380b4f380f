#pragma once

// "replaceText" and "deleteText": remove one text object lying directly on
// a page and, for a replacement, write new lines in its place with its
// size, fill colour, render mode and orientation, in the embedded Roboto
// Bold; then save the whole document to a new file. Only plainly filled or
// invisible text is touched: stroked or clipping text would change what
// the page shows. Called by the dispatcher on the worker's single thread.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class TextObjectEditOperation {
public:
    // Reply {"ok": true} or {"ok": false, "error": sentence}.
    static void replaceText(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                            const QJsonObject& request);
    // The same, without reading "text" at all.
    static void deleteText(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                           const QJsonObject& request);
};

} // namespace velk
