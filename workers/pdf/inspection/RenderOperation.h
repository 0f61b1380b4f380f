#pragma once

// "render": one page to RGBA pixels for the page view, with annotations and,
// for a document with a form, the form layer (fields and signature
// appearances) drawn over it. Called by the dispatcher on the worker's
// single thread; every page, bitmap and form handle it opens is released on
// every path, before it returns.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class RenderOperation {
public:
    // Request: "page" (default -1), "width" (default 1200). Reply: "format"
    // "RGBA8888", "width", "height", "stride", "pixels" (Base64 of the rows,
    // top first, bytes R, G, B, A, not premultiplied).
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
