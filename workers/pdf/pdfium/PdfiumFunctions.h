#pragma once

// The PDFium C functions the worker calls, one typed pointer per function,
// all null until a binding resolved them. The order of the members follows
// the resolution order of the binding's table (PdfiumFunctionTable.cpp).

#include "pdfium/PdfiumTypes.h"

namespace velk {

struct PdfiumFunctions {
    // Library, documents and new content.
    void (*FPDF_InitLibrary)() = nullptr;
    FPDF_DOCUMENT (*FPDF_LoadDocument)(FPDF_STRING filePath, FPDF_BYTESTRING password) = nullptr;
    FPDF_DOCUMENT (*FPDF_CreateNewDocument)() = nullptr;
    FPDF_PAGE (*FPDFPage_New)(FPDF_DOCUMENT, int pageIndex, double width, double height) = nullptr;
    FPDF_PAGEOBJECT (*FPDFPageObj_NewImageObj)(FPDF_DOCUMENT) = nullptr;
    FPDF_BOOL (*FPDFImageObj_SetBitmap)(FPDF_PAGE* pages, int count, FPDF_PAGEOBJECT image, FPDF_BITMAP) = nullptr;
    void (*FPDF_CloseDocument)(FPDF_DOCUMENT) = nullptr;
    int (*FPDF_GetPageCount)(FPDF_DOCUMENT) = nullptr;
    int (*FPDF_GetPageSizeByIndex)(FPDF_DOCUMENT, int pageIndex, double* width, double* height) = nullptr;
    unsigned long (*FPDF_GetLastError)() = nullptr;
    unsigned long (*FPDF_GetDocPermissions)(FPDF_DOCUMENT) = nullptr;
    int (*FPDF_GetSecurityHandlerRevision)(FPDF_DOCUMENT) = nullptr;

    // Signatures.
    int (*FPDF_GetSignatureCount)(FPDF_DOCUMENT) = nullptr;
    FPDF_SIGNATURE (*FPDF_GetSignatureObject)(FPDF_DOCUMENT, int index) = nullptr;
    unsigned long (*FPDFSignatureObj_GetContents)(FPDF_SIGNATURE, void* buffer, unsigned long length) = nullptr;
    int (*FPDFSignatureObj_GetByteRange)(FPDF_SIGNATURE, int* buffer, unsigned long length) = nullptr;
    unsigned long (*FPDFSignatureObj_GetSubFilter)(FPDF_SIGNATURE, char* buffer, unsigned long length) = nullptr;
    unsigned long (*FPDFSignatureObj_GetTime)(FPDF_SIGNATURE, char* buffer, unsigned long length) = nullptr;
    int (*FPDF_GetFormType)(FPDF_DOCUMENT) = nullptr;

    // Page objects.
    int (*FPDFPage_CountObjects)(FPDF_PAGE) = nullptr;
    FPDF_PAGEOBJECT (*FPDFPage_GetObject)(FPDF_PAGE, int index) = nullptr;
    int (*FPDFPageObj_GetType)(FPDF_PAGEOBJECT) = nullptr;
    FPDF_BOOL (*FPDFPage_RemoveObject)(FPDF_PAGE, FPDF_PAGEOBJECT) = nullptr;
    unsigned long (*FPDFTextObj_GetText)(FPDF_PAGEOBJECT, FPDF_TEXTPAGE, FPDF_WCHAR* buffer,
                                         unsigned long length) = nullptr;
    FPDF_BOOL (*FPDFTextObj_GetFontSize)(FPDF_PAGEOBJECT, float* size) = nullptr;
    FPDF_BOOL (*FPDFPageObj_GetMatrix)(FPDF_PAGEOBJECT, FS_MATRIX* matrix) = nullptr;
    FPDF_BOOL (*FPDFPageObj_GetFillColor)(FPDF_PAGEOBJECT, unsigned int* r, unsigned int* g, unsigned int* b,
                                          unsigned int* a) = nullptr;
    FPDF_BOOL (*FPDFPageObj_SetFillColor)(FPDF_PAGEOBJECT, unsigned int r, unsigned int g, unsigned int b,
                                          unsigned int a) = nullptr;
    FPDF_BOOL (*FPDFAnnot_AppendAttachmentPoints)(FPDF_ANNOTATION, const FS_QUADPOINTSF* points) = nullptr;
    FPDF_BOOL (*FPDFAnnot_SetBorder)(FPDF_ANNOTATION, float horizontalRadius, float verticalRadius,
                                     float borderWidth) = nullptr;
    int (*FPDFTextObj_GetTextRenderMode)(FPDF_PAGEOBJECT) = nullptr;
    FPDF_BOOL (*FPDFTextObj_SetTextRenderMode)(FPDF_PAGEOBJECT, int renderMode) = nullptr;

    // Form fields.
    int (*FPDFAnnot_GetFormFieldType)(FPDF_FORMHANDLE, FPDF_ANNOTATION) = nullptr;
    int (*FPDFAnnot_GetFormFieldFlags)(FPDF_FORMHANDLE, FPDF_ANNOTATION) = nullptr;
    unsigned long (*FPDFAnnot_GetFormFieldName)(FPDF_FORMHANDLE, FPDF_ANNOTATION, FPDF_WCHAR* buffer,
                                                unsigned long length) = nullptr;
    unsigned long (*FPDFAnnot_GetFormFieldValue)(FPDF_FORMHANDLE, FPDF_ANNOTATION, FPDF_WCHAR* buffer,
                                                 unsigned long length) = nullptr;
    unsigned long (*FPDFAnnot_GetFormFieldExportValue)(FPDF_FORMHANDLE, FPDF_ANNOTATION, FPDF_WCHAR* buffer,
                                                       unsigned long length) = nullptr;
    FPDF_BOOL (*FPDFAnnot_IsChecked)(FPDF_FORMHANDLE, FPDF_ANNOTATION) = nullptr;
    int (*FPDFAnnot_GetOptionCount)(FPDF_FORMHANDLE, FPDF_ANNOTATION) = nullptr;
    unsigned long (*FPDFAnnot_GetOptionLabel)(FPDF_FORMHANDLE, FPDF_ANNOTATION, int index, FPDF_WCHAR* buffer,
                                              unsigned long length) = nullptr;
    FPDF_BOOL (*FPDFAnnot_IsOptionSelected)(FPDF_FORMHANDLE, FPDF_ANNOTATION, int index) = nullptr;
    FPDF_BOOL (*FORM_SetIndexSelected)(FPDF_FORMHANDLE, FPDF_PAGE, int index, FPDF_BOOL selected) = nullptr;
    FPDF_BOOL (*FORM_SetFocusedAnnot)(FPDF_FORMHANDLE, FPDF_ANNOTATION) = nullptr;
    FPDF_BOOL (*FORM_SelectAllText)(FPDF_FORMHANDLE, FPDF_PAGE) = nullptr;
    void (*FORM_ReplaceSelection)(FPDF_FORMHANDLE, FPDF_PAGE, FPDF_WIDESTRING text) = nullptr;
    FPDF_BOOL (*FORM_ForceToKillFocus)(FPDF_FORMHANDLE) = nullptr;
    FPDF_BOOL (*FORM_OnLButtonDown)(FPDF_FORMHANDLE, FPDF_PAGE, int modifier, double pageX, double pageY) = nullptr;
    FPDF_BOOL (*FORM_OnLButtonUp)(FPDF_FORMHANDLE, FPDF_PAGE, int modifier, double pageX, double pageY) = nullptr;
    FPDF_BOOL (*FORM_OnChar)(FPDF_FORMHANDLE, FPDF_PAGE, int character, int modifier) = nullptr;
    FPDF_BOOL (*FPDFAnnot_GetRect)(FPDF_ANNOTATION, FS_RECTF* rect) = nullptr;

    // Pages, boxes and rendering.
    int (*FPDFPage_GetRotation)(FPDF_PAGE) = nullptr;
    FPDF_BOOL (*FPDFPage_GetCropBox)(FPDF_PAGE, float* left, float* bottom, float* right, float* top) = nullptr;
    FPDF_BOOL (*FPDFPage_GetMediaBox)(FPDF_PAGE, float* left, float* bottom, float* right, float* top) = nullptr;
    FPDF_BOOL (*FPDFPageObj_GetBounds)(FPDF_PAGEOBJECT, float* left, float* bottom, float* right,
                                       float* top) = nullptr;
    FPDF_PAGE (*FPDF_LoadPage)(FPDF_DOCUMENT, int pageIndex) = nullptr;
    void (*FPDF_ClosePage)(FPDF_PAGE) = nullptr;
    FPDF_BITMAP (*FPDFBitmap_CreateEx)(int width, int height, int format, void* firstScan, int stride) = nullptr;
    void (*FPDFBitmap_Destroy)(FPDF_BITMAP) = nullptr;
    void (*FPDF_RenderPageBitmap)(FPDF_BITMAP, FPDF_PAGE, int startX, int startY, int sizeX, int sizeY,
                                  int rotate, int flags) = nullptr;

    // Form-fill environment.
    FPDF_FORMHANDLE (*FPDFDOC_InitFormFillEnvironment)(FPDF_DOCUMENT, FPDF_FORMFILLINFO* info) = nullptr;
    void (*FPDFDOC_ExitFormFillEnvironment)(FPDF_FORMHANDLE) = nullptr;
    void (*FORM_OnAfterLoadPage)(FPDF_PAGE, FPDF_FORMHANDLE) = nullptr;
    void (*FORM_OnBeforeClosePage)(FPDF_PAGE, FPDF_FORMHANDLE) = nullptr;
    void (*FPDF_FFLDraw)(FPDF_FORMHANDLE, FPDF_BITMAP, FPDF_PAGE, int startX, int startY, int sizeX, int sizeY,
                         int rotate, int flags) = nullptr;

    // Text.
    FPDF_TEXTPAGE (*FPDFText_LoadPage)(FPDF_PAGE) = nullptr;
    void (*FPDFText_ClosePage)(FPDF_TEXTPAGE) = nullptr;
    int (*FPDFText_CountChars)(FPDF_TEXTPAGE) = nullptr;
    int (*FPDFText_GetText)(FPDF_TEXTPAGE, int startIndex, int count, unsigned short* result) = nullptr;
    FPDF_BOOL (*FPDF_DeviceToPage)(FPDF_PAGE, int startX, int startY, int sizeX, int sizeY, int rotate,
                                   int deviceX, int deviceY, double* pageX, double* pageY) = nullptr;
    FPDF_FONT (*FPDFText_LoadFont)(FPDF_DOCUMENT, const std::uint8_t* data, std::uint32_t size, int fontType,
                                   FPDF_BOOL cid) = nullptr;
    void (*FPDFFont_Close)(FPDF_FONT) = nullptr;
    FPDF_PAGEOBJECT (*FPDFPageObj_CreateTextObj)(FPDF_DOCUMENT, FPDF_FONT, float fontSize) = nullptr;
    FPDF_BOOL (*FPDFText_SetText)(FPDF_PAGEOBJECT, FPDF_WIDESTRING text) = nullptr;
    void (*FPDFPageObj_Transform)(FPDF_PAGEOBJECT, double a, double b, double c, double d, double e,
                                  double f) = nullptr;
    void (*FPDFPage_InsertObject)(FPDF_PAGE, FPDF_PAGEOBJECT) = nullptr;
    void (*FPDFPageObj_Destroy)(FPDF_PAGEOBJECT) = nullptr;
    FPDF_BOOL (*FPDFPage_GenerateContent)(FPDF_PAGE) = nullptr;
    FPDF_BOOL (*FPDF_SaveAsCopy)(FPDF_DOCUMENT, FPDF_FILEWRITE* writer, FPDF_DWORD flags) = nullptr;

    // Reading: where text sits on the page as displayed.
    int (*FPDFText_CountRects)(FPDF_TEXTPAGE, int startIndex, int count) = nullptr;
    int (*FPDFText_GetCharIndexFromTextIndex)(FPDF_TEXTPAGE, int textIndex) = nullptr;
    FPDF_BOOL (*FPDFText_GetRect)(FPDF_TEXTPAGE, int rectIndex, double* left, double* top, double* right,
                                  double* bottom) = nullptr;
    FPDF_BOOL (*FPDF_PageToDevice)(FPDF_PAGE, int startX, int startY, int sizeX, int sizeY, int rotate,
                                   double pageX, double pageY, int* deviceX, int* deviceY) = nullptr;

    // Reading: links and the outline.
    FPDF_BOOL (*FPDFLink_Enumerate)(FPDF_PAGE, int* startPosition, FPDF_LINK* link) = nullptr;
    FPDF_BOOL (*FPDFLink_GetAnnotRect)(FPDF_LINK, FS_RECTF* rect) = nullptr;
    FPDF_DEST (*FPDFLink_GetDest)(FPDF_DOCUMENT, FPDF_LINK) = nullptr;
    FPDF_ACTION (*FPDFLink_GetAction)(FPDF_LINK) = nullptr;
    unsigned long (*FPDFAction_GetType)(FPDF_ACTION) = nullptr;
    FPDF_DEST (*FPDFAction_GetDest)(FPDF_DOCUMENT, FPDF_ACTION) = nullptr;
    unsigned long (*FPDFAction_GetURIPath)(FPDF_DOCUMENT, FPDF_ACTION, void* buffer, unsigned long length) = nullptr;
    int (*FPDFDest_GetDestPageIndex)(FPDF_DOCUMENT, FPDF_DEST) = nullptr;
    FPDF_BOOKMARK (*FPDFBookmark_GetFirstChild)(FPDF_DOCUMENT, FPDF_BOOKMARK) = nullptr;
    FPDF_BOOKMARK (*FPDFBookmark_GetNextSibling)(FPDF_DOCUMENT, FPDF_BOOKMARK) = nullptr;
    unsigned long (*FPDFBookmark_GetTitle)(FPDF_BOOKMARK, void* buffer, unsigned long length) = nullptr;
    FPDF_DEST (*FPDFBookmark_GetDest)(FPDF_DOCUMENT, FPDF_BOOKMARK) = nullptr;
    FPDF_ACTION (*FPDFBookmark_GetAction)(FPDF_BOOKMARK) = nullptr;
    int (*FPDFText_GetBoundedText)(FPDF_TEXTPAGE, double left, double top, double right, double bottom,
                                   unsigned short* buffer, int length) = nullptr;

    // Annotations.
    FPDF_ANNOTATION (*FPDFPage_CreateAnnot)(FPDF_PAGE, int subtype) = nullptr;
    FPDF_BOOL (*FPDFAnnot_SetRect)(FPDF_ANNOTATION, const FS_RECTF* rect) = nullptr;
    FPDF_BOOL (*FPDFAnnot_SetStringValue)(FPDF_ANNOTATION, FPDF_BYTESTRING key, FPDF_WIDESTRING value) = nullptr;
    FPDF_BOOL (*FPDFAnnot_SetColor)(FPDF_ANNOTATION, int colorType, unsigned int r, unsigned int g,
                                    unsigned int b, unsigned int a) = nullptr;
    FPDF_BOOL (*FPDFAnnot_SetFlags)(FPDF_ANNOTATION, int flags) = nullptr;
    void (*FPDFPage_CloseAnnot)(FPDF_ANNOTATION) = nullptr;
    int (*FPDFPage_GetAnnotCount)(FPDF_PAGE) = nullptr;
    FPDF_ANNOTATION (*FPDFPage_GetAnnot)(FPDF_PAGE, int index) = nullptr;
    int (*FPDFAnnot_GetSubtype)(FPDF_ANNOTATION) = nullptr;
    unsigned long (*FPDFAnnot_GetStringValue)(FPDF_ANNOTATION, FPDF_BYTESTRING key, FPDF_WCHAR* buffer,
                                              unsigned long length) = nullptr;
};

} // namespace velk
