#pragma once

// The two files of an open document no operation may ever write.

#include "document/core/PdfDocument.h"

#include <QString>

namespace velk {

// True when the destination is the document's source file or its working
// copy, however it is spelled (links, "..", redundant separators).
bool namesDocumentFile(const PdfDocument& document, const QString& destination);

} // namespace velk
