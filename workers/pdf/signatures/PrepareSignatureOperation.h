#pragma once

// "prepareSignature": a copy of a PDF ending in one incremental update that
// adds a signature field with a reserved /Contents and placeholder
// /ByteRange (or a document time stamp), for the signing side to fill.
// PDFium checks the document and the page; qpdf writes the update.

#include <QJsonObject>

namespace velk {

class PrepareSignatureOperation {
public:
    static void run(QJsonObject& reply, const QJsonObject& request);
};

} // namespace velk
