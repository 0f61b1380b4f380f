#pragma once

// "ocr": renders one page, recognises Turkish and English text in it with
// Tesseract and writes a one-page PDF that holds only the recognised text
// as an invisible layer, where the words appear on the page. The caller
// lays such pages over the source with "overlay". A partial output left
// by the engine after a failure is the caller's to discard: it works in a
// private workspace.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class OcrOperation {
public:
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
