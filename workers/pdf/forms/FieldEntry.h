#pragma once

// The "fields" entry of one widget: type, flags, name, value, export value
// and options as PDFium's form-fill layer reports them.

#include "pdfium/Pdfium.h"

#include "worker/contract/operations/FormsContract.h"

#include <QString>

namespace velk {

struct FieldEntry {
    FormFieldEntry entry;
    // Non-empty when the widget's options could not be listed.
    QString error;
};

FieldEntry fieldEntry(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION widget, int pageIndex,
                      int annotationIndex);

} // namespace velk
