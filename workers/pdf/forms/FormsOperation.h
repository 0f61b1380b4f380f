#pragma once

// "fields" lists every widget of a standard AcroForm; "fillFields" applies
// a list of changes through the form-fill layer, verifies each, and saves
// the result as a new file. The document's scripts never run.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class FormsOperation {
public:
    static void fields(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
    static void fillFields(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                           const QJsonObject& request);
};

} // namespace velk
