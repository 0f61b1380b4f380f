#pragma once

// PDFium's view of one source of a page operation, and of the output once
// qpdf wrote it: whether it opens without a password, its page count and
// whether it is encrypted, signed or carries a form.

#include "Pdfium.h"

#include <QString>

#include <optional>

namespace velk {

struct PageSourceFacts {
    int pageCount = 0;
    bool encrypted = false;
    // A signature count that cannot be read (-1) does not count here.
    bool signedDocument = false;
    bool hasForm = false;

    bool isProtected() const { return encrypted || signedDocument || hasForm; }
};

class PageSourceCheck {
public:
    // An existing regular file of at most 512 MiB, named without zeros.
    static bool isReadableSource(const QString& path);

    // No result when PDFium cannot open the file without a password.
    static std::optional<PageSourceFacts> read(const Pdfium& pdfium, const QString& path);
};

} // namespace velk
