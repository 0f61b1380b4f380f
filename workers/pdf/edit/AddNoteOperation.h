#pragma once

// "addNote": attaches a sticky note (text annotation) holding the request's
// text at the clicked point, pushed back inside the page box near its
// right and top edges, and saves the whole document to a new file. Called
// by the dispatcher on the worker's single thread.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class AddNoteOperation {
public:
    // Reply {"ok": true} or {"ok": false, "error": sentence}.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
