#pragma once

// Validates a successful "render" reply and turns its Base64 RGBA pixels
// into an image. Every number in the reply is bounded and checked against
// the bytes actually present before a single pixel is copied. Pure;
// called on the pool thread that ran the render.

#include "worker/runner/PdfRenderResult.h"

#include <QJsonObject>

namespace velk {

PdfRenderResult decodePagePixels(const QJsonObject& reply);

} // namespace velk
