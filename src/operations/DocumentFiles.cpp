#include "operations/DocumentFiles.h"

#include "operations/SameFile.h"

namespace velk {

bool namesDocumentFile(const PdfDocument& document, const QString& destination)
{
    return isSameFile(document.sourcePath, destination) || isSameFile(document.workingPath, destination);
}

} // namespace velk
