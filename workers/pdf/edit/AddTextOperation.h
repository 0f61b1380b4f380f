#pragma once

// "addText": stamps the request's lines of text onto a page, the first
// baseline at the clicked point, upright as the page is displayed, in the
// embedded Roboto Bold, and saves the whole document to a new file. Called
// by the dispatcher on the worker's single thread; nothing is written
// unless every line fits inside the page box.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class AddTextOperation {
public:
    // Reply {"ok": true} or {"ok": false, "error": sentence}.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
