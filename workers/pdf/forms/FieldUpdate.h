#pragma once

// Applies one "fillFields" update to one widget the way a user would (focus,
// select all and type; press space; pick list entries) and reads the result
// back. Answers an error sentence, or "" when the change is applied and
// verified.

#include "pdfium/Pdfium.h"

#include "worker/contract/operations/FormsContract.h"

#include <QString>

namespace velk {

struct FieldTarget {
    FPDF_FORMHANDLE form;
    FPDF_PAGE page;
    FPDF_ANNOTATION widget;
};

QString applyFieldUpdate(const Pdfium& pdfium, const FieldTarget& target, const FieldChange& update);

} // namespace velk
