#pragma once

// Reads the worker's "inspect" reply into a document description, through
// the reply's contract: every value is checked before it is used, the
// first violation decides.

#include "document/core/PdfDocument.h"

#include <QJsonObject>

namespace velk {

class InspectionReply {
public:
    // Empty on success (the document's pages and flags are filled in),
    // else the sentence for the user.
    static QString apply(const QJsonObject& reply, PdfDocument& document);
};

} // namespace velk
