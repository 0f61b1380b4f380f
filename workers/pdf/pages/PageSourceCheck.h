#pragma once

// PDFium's view of one source of a page operation, and of the output once
// qpdf wrote it: whether it opens without a password, its page count and
// whether it is encrypted, signed or carries a form.

#include "pdfium/Pdfium.h"

#include "worker/contract/operations/DocumentProtection.h"

#include <QString>

#include <optional>

namespace velk {

struct PageSourceFacts {
    int pageCount = 0;
    // Read by the worker's one protection rule: an unreadable signature
    // counts as signed here too.
    DocumentProtection protection;

    bool isProtected() const { return !protection.allowsContentEdits(); }
};

class PageSourceCheck {
public:
    // An existing regular file of at most 512 MiB, named without zeros.
    static bool isReadableSource(const QString& path);

    // No result when PDFium cannot open the file without a password.
    static std::optional<PageSourceFacts> read(const Pdfium& pdfium, const QString& path);
};

} // namespace velk
