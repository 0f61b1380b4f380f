#pragma once

// The steps "addText" and "addNote" share before they change anything:
// refuse a protected document, read and bound every request field, load
// the page, find the clicked point on it and read its box. Used by the two
// handlers on the worker's single thread; the target owns the loaded page,
// which the handler keeps open until after saving.

#include "edit/PagePlacement.h"
#include "pdfium/PdfiumHandles.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace velk {

struct InsertionTarget {
    QString text;
    float size = 0;
    QString output;
    PageHandle page;
    // The clicked point in page space.
    PagePoint point;
    PageBox box;

    // Nothing when a step failed; reply then holds its sentence.
    static std::optional<InsertionTarget> prepare(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                                  const QJsonObject& request);
};

} // namespace velk
