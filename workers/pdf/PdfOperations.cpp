#include "PdfOperations.h"

namespace velk {

namespace {

constexpr DocumentFreeOperation kDocumentFree[] = {
    {"createImages", nullptr},
    {"prepareSignature", nullptr},
    {"signaturePolicy", nullptr},
    {"appendDss", nullptr},
    {"pages", nullptr},
    {"overlay", nullptr},
};

constexpr PdfiumOperation kPdfium[] = {
    {"fields", nullptr},
    {"fillFields", nullptr},
    {"textObjects", nullptr},
    {"replaceText", nullptr},
    {"deleteText", nullptr},
    {"annotate", nullptr},
    {"signatures", nullptr},
    {"addText", nullptr},
    {"addNote", nullptr},
    {"ocr", nullptr},
    {"notes", nullptr},
    {"inspect", nullptr},
    {"search", nullptr},
    {"render", nullptr},
};

} // namespace

std::span<const DocumentFreeOperation> documentFreeOperations()
{
    return kDocumentFree;
}

std::span<const PdfiumOperation> pdfiumOperations()
{
    return kPdfium;
}

} // namespace velk
