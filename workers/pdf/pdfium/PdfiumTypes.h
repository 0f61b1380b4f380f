#pragma once

// Our own declarations of the PDFium C types the worker uses. The library is
// loaded at run time and ships no header, so every size and offset that
// PDFium reads from our memory is pinned by a static_assert.

#include <cstddef>
#include <cstdint>

namespace velk {

// Opaque handles: PDFium owns what they point to.
struct PdfiumDocumentTag;
struct PdfiumPageTag;
struct PdfiumTextPageTag;
struct PdfiumBitmapTag;
struct PdfiumPageObjectTag;
struct PdfiumAnnotationTag;
struct PdfiumFontTag;
struct PdfiumFormTag;
struct PdfiumSignatureTag;
struct PdfiumLinkTag;
struct PdfiumDestTag;
struct PdfiumActionTag;
struct PdfiumBookmarkTag;

using FPDF_DOCUMENT = PdfiumDocumentTag*;
using FPDF_PAGE = PdfiumPageTag*;
using FPDF_TEXTPAGE = PdfiumTextPageTag*;
using FPDF_BITMAP = PdfiumBitmapTag*;
using FPDF_PAGEOBJECT = PdfiumPageObjectTag*;
using FPDF_ANNOTATION = PdfiumAnnotationTag*;
using FPDF_FONT = PdfiumFontTag*;
using FPDF_FORMHANDLE = PdfiumFormTag*;
using FPDF_SIGNATURE = PdfiumSignatureTag*;
// Links, destinations, actions and bookmarks belong to their document and
// are never released by the caller.
using FPDF_LINK = PdfiumLinkTag*;
using FPDF_DEST = PdfiumDestTag*;
using FPDF_ACTION = PdfiumActionTag*;
using FPDF_BOOKMARK = PdfiumBookmarkTag*;

using FPDF_BOOL = int;
// Eight bytes on LP64, not four: the flags of FPDF_SaveAsCopy use it.
using FPDF_DWORD = unsigned long;
using FPDF_WCHAR = unsigned short;
// UTF-16LE, zero-terminated.
using FPDF_WIDESTRING = const unsigned short*;
using FPDF_STRING = const char*;
using FPDF_BYTESTRING = const char*;

static_assert(sizeof(FPDF_DWORD) == 8, "PDFium's DWORD is unsigned long on LP64");
static_assert(sizeof(FPDF_WCHAR) == 2);

struct FS_RECTF {
    float left;
    float top;
    float right;
    float bottom;
};

struct FS_MATRIX {
    float a, b, c, d, e, f;
};

struct FS_QUADPOINTSF {
    float x1, y1, x2, y2, x3, y3, x4, y4;
};

struct FPDF_SYSTEMTIME {
    unsigned short wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

static_assert(sizeof(FS_RECTF) == 16);
static_assert(sizeof(FS_MATRIX) == 24);
static_assert(sizeof(FS_QUADPOINTSF) == 32);
static_assert(sizeof(FPDF_SYSTEMTIME) == 16);

// Save flags of FPDF_SaveAsCopy.
inline constexpr FPDF_DWORD kFpdfNoIncremental = 2;

// Bitmap format and render flag used with caller-owned pixel memory.
inline constexpr int kFpdfBitmapBgra = 4;
inline constexpr int kFpdfRenderAnnotations = 1;

// Action types of FPDFAction_GetType.
inline constexpr unsigned long kFpdfActionGoTo = 1;
inline constexpr unsigned long kFpdfActionUri = 3;

// Font type of FPDFText_LoadFont.
inline constexpr int kFpdfFontTrueType = 2;

struct FPDF_FILEWRITE {
    int version;
    // Non-zero on success. PDFium hands back the pointer it was given, so a
    // structure that starts with these members may carry more after them.
    int (*WriteBlock)(FPDF_FILEWRITE* self, const void* data, unsigned long size);
};

static_assert(sizeof(FPDF_FILEWRITE) == 16);
static_assert(offsetof(FPDF_FILEWRITE, WriteBlock) == 8);

struct FPDF_FORMFILLINFO {
    int version;
    void (*Release)(FPDF_FORMFILLINFO* self);
    void (*FFI_Invalidate)(FPDF_FORMFILLINFO* self, FPDF_PAGE page, double left, double top, double right,
                           double bottom);
    void (*FFI_OutputSelectedRect)(FPDF_FORMFILLINFO* self, FPDF_PAGE page, double left, double top,
                                   double right, double bottom);
    void (*FFI_SetCursor)(FPDF_FORMFILLINFO* self, int cursorType);
    int (*FFI_SetTimer)(FPDF_FORMFILLINFO* self, int elapse, void (*timerFunction)(int));
    void (*FFI_KillTimer)(FPDF_FORMFILLINFO* self, int timerId);
    FPDF_SYSTEMTIME (*FFI_GetLocalTime)(FPDF_FORMFILLINFO* self);
    void (*FFI_OnChange)(FPDF_FORMFILLINFO* self);
    FPDF_PAGE (*FFI_GetPage)(FPDF_FORMFILLINFO* self, FPDF_DOCUMENT document, int pageIndex);
    FPDF_PAGE (*FFI_GetCurrentPage)(FPDF_FORMFILLINFO* self, FPDF_DOCUMENT document);
    int (*FFI_GetRotation)(FPDF_FORMFILLINFO* self, FPDF_PAGE page);
    void (*FFI_ExecuteNamedAction)(FPDF_FORMFILLINFO* self, FPDF_BYTESTRING namedAction);
    void (*FFI_SetTextFieldFocus)(FPDF_FORMFILLINFO* self, FPDF_WIDESTRING value, FPDF_DWORD valueLength,
                                  FPDF_BOOL isFocus);
    void (*FFI_DoURIAction)(FPDF_FORMFILLINFO* self, FPDF_BYTESTRING uri);
    void (*FFI_DoGoToAction)(FPDF_FORMFILLINFO* self, int pageIndex, int zoomMode, float* position,
                             int positionCount);
    void* m_pJsPlatform;
    FPDF_BOOL xfa_disabled;
    // Slots of the XFA interface; present even in a build without XFA and
    // always null here.
    void (*xfaCallbacks[15])();
    void (*FFI_OnFocusChange)(FPDF_FORMFILLINFO* self, FPDF_ANNOTATION annotation, int pageIndex);
    void (*FFI_DoURIActionWithKeyboardModifier)(FPDF_FORMFILLINFO* self, FPDF_BYTESTRING uri, int modifiers);
};

// A record smaller than version 2's would let PDFium read past its end.
static_assert(sizeof(FPDF_FORMFILLINFO) == 280);
static_assert(offsetof(FPDF_FORMFILLINFO, Release) == 8);
static_assert(offsetof(FPDF_FORMFILLINFO, FFI_Invalidate) == 16);
static_assert(offsetof(FPDF_FORMFILLINFO, FFI_GetLocalTime) == 56);
static_assert(offsetof(FPDF_FORMFILLINFO, FFI_GetPage) == 72);
static_assert(offsetof(FPDF_FORMFILLINFO, FFI_GetCurrentPage) == 80);
static_assert(offsetof(FPDF_FORMFILLINFO, FFI_DoGoToAction) == 120);
static_assert(offsetof(FPDF_FORMFILLINFO, m_pJsPlatform) == 128);
static_assert(offsetof(FPDF_FORMFILLINFO, xfa_disabled) == 136);
static_assert(offsetof(FPDF_FORMFILLINFO, xfaCallbacks) == 144);
static_assert(offsetof(FPDF_FORMFILLINFO, FFI_OnFocusChange) == 264);
static_assert(offsetof(FPDF_FORMFILLINFO, FFI_DoURIActionWithKeyboardModifier) == 272);

} // namespace velk
