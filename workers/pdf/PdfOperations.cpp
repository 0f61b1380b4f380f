#include "PdfOperations.h"

#include "AddNoteOperation.h"
#include "AddTextOperation.h"
#include "AnnotateOperation.h"
#include "FormsOperation.h"
#include "CreateImagesOperation.h"
#include "InspectOperation.h"
#include "NotesOperation.h"
#include "OcrOperation.h"
#include "PagesOperation.h"
#include "RenderOperation.h"
#include "SearchOperation.h"
#include "signatures/AppendDssOperation.h"
#include "signatures/PrepareSignatureOperation.h"
#include "signatures/SignaturePolicyOperation.h"
#include "signatures/SignaturesOperation.h"
#include "TextObjectEditOperation.h"
#include "TextObjectsOperation.h"

namespace velk {

namespace {

constexpr DocumentFreeOperation kDocumentFree[] = {
    {"createImages", &CreateImagesOperation::run},
    {"prepareSignature", &PrepareSignatureOperation::run},
    {"signaturePolicy", &SignaturePolicyOperation::run},
    {"appendDss", &AppendDssOperation::run},
    {"pages", &PagesOperation::pages},
    {"overlay", &PagesOperation::overlay},
};

constexpr PdfiumOperation kPdfium[] = {
    {"fields", &FormsOperation::fields},
    {"fillFields", &FormsOperation::fillFields},
    {"textObjects", &TextObjectsOperation::run},
    {"replaceText", &TextObjectEditOperation::replaceText},
    {"deleteText", &TextObjectEditOperation::deleteText},
    {"annotate", &AnnotateOperation::run},
    {"signatures", &SignaturesOperation::run},
    {"addText", &AddTextOperation::run},
    {"addNote", &AddNoteOperation::run},
    {"ocr", &OcrOperation::run},
    {"notes", &NotesOperation::run},
    {"inspect", &InspectOperation::run},
    {"search", &SearchOperation::run},
    {"render", &RenderOperation::run},
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
