#include "PdfOperations.h"

#include "edit/AddNoteOperation.h"
#include "edit/AddTextOperation.h"
#include "edit/AnnotateOperation.h"
#include "edit/TextObjectEditOperation.h"
#include "edit/TextObjectsOperation.h"
#include "forms/FormsOperation.h"
#include "images/CreateImagesOperation.h"
#include "inspection/InspectOperation.h"
#include "inspection/LinksOperation.h"
#include "inspection/OutlineOperation.h"
#include "inspection/NotesOperation.h"
#include "inspection/RenderOperation.h"
#include "inspection/SearchOperation.h"
#include "inspection/TextOperation.h"
#include "ocr/OcrOperation.h"
#include "pages/PagesOperation.h"
#include "signatures/AppendDssOperation.h"
#include "signatures/PrepareSignatureOperation.h"
#include "signatures/SignaturePolicyOperation.h"
#include "signatures/SignaturesOperation.h"

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
    {"links", &LinksOperation::run},
    {"outline", &OutlineOperation::run},
    {"text", &TextOperation::run},
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
