#pragma once

// "createImages": a new PDF with one A4 portrait page per image, the image
// scaled to fit inside 16 mm margins and centred. Images are decoded here,
// inside the isolated worker, by Qt's image reader; PDFium builds the
// document. Document-free: the handler opens every file itself.

#include <QJsonObject>

namespace velk {

class CreateImagesOperation {
public:
    // {"ok": true} once the new file is saved, or {"ok": false, "error"}.
    // The first failing image stops the operation; nothing is written then.
    static void run(QJsonObject& reply, const QJsonObject& request);
};

} // namespace velk
