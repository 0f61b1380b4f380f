#pragma once

// The start that "textObjects", "replaceText", "deleteText" and "annotate"
// share: the requested page, loaded, with its object count bounded, and for
// the writing operations the refusal of protected documents. Used on the
// worker's single thread; the caller keeps the page open until after
// saving.

#include "pdfium/PdfiumHandles.h"

#include <QJsonObject>

#include <optional>

namespace velk {

struct EditedPage {
    PageHandle page;
    // 0 to 50,000 top-level objects.
    int objectCount = 0;

    // Nothing when a step failed; reply then holds its sentence. A page
    // index outside the document (the contracts read an unusable one as -1)
    // is refused first.
    static std::optional<EditedPage> open(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                          qint64 pageIndex);
    // The same, then refusing a signed, encrypted or form document.
    static std::optional<EditedPage> openForWriting(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                                    qint64 pageIndex);
};

} // namespace velk
