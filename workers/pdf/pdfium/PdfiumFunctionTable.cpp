#include "pdfium/PdfiumFunctionTable.h"

#include <iterator>

namespace velk {

namespace {

#define VELK_PDFIUM_ENTRY(function) VELK_ENGINE_FUNCTION(PdfiumFunctions, function)

constexpr PdfiumFunctionEntry kTable[] = {
    VELK_PDFIUM_ENTRY(FPDF_InitLibrary),
    VELK_PDFIUM_ENTRY(FPDF_LoadDocument),
    VELK_PDFIUM_ENTRY(FPDF_CreateNewDocument),
    VELK_PDFIUM_ENTRY(FPDFPage_New),
    VELK_PDFIUM_ENTRY(FPDFPageObj_NewImageObj),
    VELK_PDFIUM_ENTRY(FPDFImageObj_SetBitmap),
    VELK_PDFIUM_ENTRY(FPDF_CloseDocument),
    VELK_PDFIUM_ENTRY(FPDF_GetPageCount),
    VELK_PDFIUM_ENTRY(FPDF_GetPageSizeByIndex),
    VELK_PDFIUM_ENTRY(FPDF_GetLastError),
    VELK_PDFIUM_ENTRY(FPDF_GetDocPermissions),
    VELK_PDFIUM_ENTRY(FPDF_GetSecurityHandlerRevision),
    VELK_PDFIUM_ENTRY(FPDF_GetSignatureCount),
    VELK_PDFIUM_ENTRY(FPDF_GetSignatureObject),
    VELK_PDFIUM_ENTRY(FPDFSignatureObj_GetContents),
    VELK_PDFIUM_ENTRY(FPDFSignatureObj_GetByteRange),
    VELK_PDFIUM_ENTRY(FPDFSignatureObj_GetSubFilter),
    VELK_PDFIUM_ENTRY(FPDFSignatureObj_GetTime),
    VELK_PDFIUM_ENTRY(FPDF_GetFormType),
    VELK_PDFIUM_ENTRY(FPDFPage_CountObjects),
    VELK_PDFIUM_ENTRY(FPDFPage_GetObject),
    VELK_PDFIUM_ENTRY(FPDFPageObj_GetType),
    VELK_PDFIUM_ENTRY(FPDFPage_RemoveObject),
    VELK_PDFIUM_ENTRY(FPDFTextObj_GetText),
    VELK_PDFIUM_ENTRY(FPDFTextObj_GetFontSize),
    VELK_PDFIUM_ENTRY(FPDFPageObj_GetMatrix),
    VELK_PDFIUM_ENTRY(FPDFPageObj_GetFillColor),
    VELK_PDFIUM_ENTRY(FPDFPageObj_SetFillColor),
    VELK_PDFIUM_ENTRY(FPDFAnnot_AppendAttachmentPoints),
    VELK_PDFIUM_ENTRY(FPDFAnnot_SetBorder),
    VELK_PDFIUM_ENTRY(FPDFTextObj_GetTextRenderMode),
    VELK_PDFIUM_ENTRY(FPDFTextObj_SetTextRenderMode),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetFormFieldType),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetFormFieldFlags),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetFormFieldName),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetFormFieldValue),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetFormFieldExportValue),
    VELK_PDFIUM_ENTRY(FPDFAnnot_IsChecked),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetOptionCount),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetOptionLabel),
    VELK_PDFIUM_ENTRY(FPDFAnnot_IsOptionSelected),
    VELK_PDFIUM_ENTRY(FORM_SetIndexSelected),
    VELK_PDFIUM_ENTRY(FORM_SetFocusedAnnot),
    VELK_PDFIUM_ENTRY(FORM_SelectAllText),
    VELK_PDFIUM_ENTRY(FORM_ReplaceSelection),
    VELK_PDFIUM_ENTRY(FORM_ForceToKillFocus),
    VELK_PDFIUM_ENTRY(FORM_OnLButtonDown),
    VELK_PDFIUM_ENTRY(FORM_OnLButtonUp),
    VELK_PDFIUM_ENTRY(FORM_OnChar),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetRect),
    VELK_PDFIUM_ENTRY(FPDFPage_GetRotation),
    VELK_PDFIUM_ENTRY(FPDFPage_GetCropBox),
    VELK_PDFIUM_ENTRY(FPDFPage_GetMediaBox),
    VELK_PDFIUM_ENTRY(FPDFPageObj_GetBounds),
    VELK_PDFIUM_ENTRY(FPDF_LoadPage),
    VELK_PDFIUM_ENTRY(FPDF_ClosePage),
    VELK_PDFIUM_ENTRY(FPDFBitmap_CreateEx),
    VELK_PDFIUM_ENTRY(FPDFBitmap_Destroy),
    VELK_PDFIUM_ENTRY(FPDF_RenderPageBitmap),
    VELK_PDFIUM_ENTRY(FPDFDOC_InitFormFillEnvironment),
    VELK_PDFIUM_ENTRY(FPDFDOC_ExitFormFillEnvironment),
    VELK_PDFIUM_ENTRY(FORM_OnAfterLoadPage),
    VELK_PDFIUM_ENTRY(FORM_OnBeforeClosePage),
    VELK_PDFIUM_ENTRY(FPDF_FFLDraw),
    VELK_PDFIUM_ENTRY(FPDFText_LoadPage),
    VELK_PDFIUM_ENTRY(FPDFText_ClosePage),
    VELK_PDFIUM_ENTRY(FPDFText_CountChars),
    VELK_PDFIUM_ENTRY(FPDFText_GetText),
    VELK_PDFIUM_ENTRY(FPDF_DeviceToPage),
    VELK_PDFIUM_ENTRY(FPDFText_LoadFont),
    VELK_PDFIUM_ENTRY(FPDFFont_Close),
    VELK_PDFIUM_ENTRY(FPDFPageObj_CreateTextObj),
    VELK_PDFIUM_ENTRY(FPDFText_SetText),
    VELK_PDFIUM_ENTRY(FPDFPageObj_Transform),
    VELK_PDFIUM_ENTRY(FPDFPage_InsertObject),
    VELK_PDFIUM_ENTRY(FPDFPageObj_Destroy),
    VELK_PDFIUM_ENTRY(FPDFPage_GenerateContent),
    VELK_PDFIUM_ENTRY(FPDF_SaveAsCopy),
    VELK_PDFIUM_ENTRY(FPDFText_CountRects),
    VELK_PDFIUM_ENTRY(FPDFText_GetCharIndexFromTextIndex),
    VELK_PDFIUM_ENTRY(FPDFText_GetRect),
    VELK_PDFIUM_ENTRY(FPDF_PageToDevice),
    VELK_PDFIUM_ENTRY(FPDFLink_Enumerate),
    VELK_PDFIUM_ENTRY(FPDFLink_GetAnnotRect),
    VELK_PDFIUM_ENTRY(FPDFLink_GetDest),
    VELK_PDFIUM_ENTRY(FPDFLink_GetAction),
    VELK_PDFIUM_ENTRY(FPDFAction_GetType),
    VELK_PDFIUM_ENTRY(FPDFAction_GetDest),
    VELK_PDFIUM_ENTRY(FPDFAction_GetURIPath),
    VELK_PDFIUM_ENTRY(FPDFDest_GetDestPageIndex),
    VELK_PDFIUM_ENTRY(FPDFBookmark_GetFirstChild),
    VELK_PDFIUM_ENTRY(FPDFBookmark_GetNextSibling),
    VELK_PDFIUM_ENTRY(FPDFBookmark_GetTitle),
    VELK_PDFIUM_ENTRY(FPDFBookmark_GetDest),
    VELK_PDFIUM_ENTRY(FPDFBookmark_GetAction),
    VELK_PDFIUM_ENTRY(FPDFText_GetBoundedText),
    VELK_PDFIUM_ENTRY(FPDFPage_CreateAnnot),
    VELK_PDFIUM_ENTRY(FPDFAnnot_SetRect),
    VELK_PDFIUM_ENTRY(FPDFAnnot_SetStringValue),
    VELK_PDFIUM_ENTRY(FPDFAnnot_SetColor),
    VELK_PDFIUM_ENTRY(FPDFAnnot_SetFlags),
    VELK_PDFIUM_ENTRY(FPDFPage_CloseAnnot),
    VELK_PDFIUM_ENTRY(FPDFPage_GetAnnotCount),
    VELK_PDFIUM_ENTRY(FPDFPage_GetAnnot),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetSubtype),
    VELK_PDFIUM_ENTRY(FPDFAnnot_GetStringValue),
};

#undef VELK_PDFIUM_ENTRY

static_assert(std::size(kTable) == kPdfiumFunctionCount);
// Every member of PdfiumFunctions has its row.
static_assert(sizeof(PdfiumFunctions) == kPdfiumFunctionCount * sizeof(void (*)()));

} // namespace

std::span<const PdfiumFunctionEntry> pdfiumFunctionTable()
{
    return kTable;
}

} // namespace velk
