#pragma once

// The immutable description of an open document's private working copy.
// Built once by openPdfDocument on a pool thread, then shared read-only by
// the tab, its page view and every task working on the document. The
// workspace (and so the working copy) lives as long as any holder does.

#include "worker/contract/SecretBytes.h"
#include "worker/contract/operations/DocumentProtection.h"

#include <QList>
#include <QSizeF>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace velk {

struct PdfDocument {
    QString sourcePath;
    QString workingPath;
    // Sent with every later request on this document; never null, empty
    // when none. Wiped when the last holder lets it go.
    SecretBytesPtr password = std::make_shared<SecretBytes>();
    std::shared_ptr<QTemporaryDir> workspace;
    // Width and height in PDF points, one entry per page.
    QList<QSizeF> pageSizes;
    // Signature fields "inspect" listed (-1: unreadable), for the user.
    int signatureCount = 0;
    // Signed, encrypted, has a form: as "inspect" decided, never re-derived.
    DocumentProtection protection;

    int pageCount() const { return int(pageSizes.size()); }
};

using PdfDocumentPtr = std::shared_ptr<const PdfDocument>;

struct PdfOpenResult {
    PdfDocumentPtr document;
    QString error;
    // The worker's "code" on a worker failure (PdfOpenError::Password: a
    // password is needed).
    int code = 0;
};

// Outcome of every task that writes a file; the caller knows the path.
struct ExportResult {
    bool ok = false;
    QString message;
};

} // namespace velk
