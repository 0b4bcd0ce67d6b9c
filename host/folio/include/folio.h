// folio: the host's PDF document-model library.
//
// Page space is PDF user space: units of 1/72 inch, y growing upwards, the
// same coordinates that the page's /CropBox, /Rect and /QuadPoints use.
//
// Handles are reference counted; a handle returned through an out-pointer
// carries one reference for the caller. Every function returns a PDResult:
// 0 for success, a positive kPDErr* value for a failure. After a failure,
// FolioLastErrorMessage() describes it for the calling thread.
//
// Two backends stand behind the same handles: documents opened from PDF
// files (FolioDocumentOpen), and in-memory documents whose pages and
// characters a caller lays out by hand (FolioDocumentNewInMemory), for tests
// that need exact geometry.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "service-common/ModuleExport.h"

#ifdef FOLIO_BUILD
#define FOLIO_API SO_EXPORT
#else
#define FOLIO_API SO_IMPORT
#endif

typedef struct PDDocumentRec* PDDocument;
typedef struct PDPageRec* PDPage;
typedef struct PDPageTextRec* PDPageText;
typedef struct PDAnnotRec* PDAnnot;
typedef int32_t PDResult;

struct PDPointF {
    float x, y;
};
struct PDRectF {
    float x0, y0, x1, y1;
};
// A character's (or a run's) outline. For upright text: p0 upper-left,
// p1 upper-right, p2 lower-left, p3 lower-right. The outline runs
// p0 -> p1 -> p3 -> p2.
struct PDQuadF {
    PDPointF p0, p1, p2, p3;
};

// The record PDAnnotCreate reads (48 bytes).
struct PDTextMarkupAnnotParams {
    PDRectF rect;         // the annotation rectangle, minimum corner first
    const PDQuadF* quads; // count quads, in the order above
    uint64_t count;
    uint32_t color; // alpha in bits 24-31, then red, green, blue
    uint32_t reserved;
    const wchar_t* author; // zero-terminated; may be empty, never null
};
static_assert(sizeof(PDTextMarkupAnnotParams) == 48, "PDTextMarkupAnnotParams is 48 bytes");
static_assert(sizeof(PDQuadF) == 32, "a quad is 32 bytes");

enum : PDResult {
    kPDOk = 0,
    kPDErrGeneric = -1,
    kPDErrNotAvailable = 1, // no such object, or the backend cannot do it
    kPDErrBadArgument = 2,  // null pointer, bad atom, bad value
    kPDErrNotFound = 3,
    kPDErrOutOfRange = 4, // page or character index
    kPDErrUnsupported = 5,
    kPDErrNoMemory = 6,
    kPDErrCannotOpen = 11,  // file missing or unreadable
    kPDErrDamaged = 12,     // not a PDF, or damaged beyond repair
    kPDErrEncrypted = 13,   // needs a password
    kPDErrCannotWrite = 14, // the output cannot be written
    kPDErrNothingToUndo = 15,
    kPDErrNothingToRedo = 16,
    kPDErrEditOpen = 17, // an edit group is still open
    // Results of the document-model interface that this library never gives;
    // named so that a translation of results can list every one of them.
    kPDErrReserved7 = 7,
    kPDErrReserved8 = 8,
    kPDErrReserved18 = 18,
    kPDErrReserved19 = 19,
    kPDErrReserved32 = 32,
    kPDErrReserved33 = 33,
    kPDErrReserved34 = 34,
};

// Atoms of the subtype names that the markup code uses.
enum : uint32_t {
    kPDAtomHighlight = 236,
    kPDAtomStrikeOut = 481,
    kPDAtomUnderline = 535,
};

extern "C" {

// --- The calls the plug-in makes ------------------------------------------

// The page's text: its characters in reading order. Between two text lines
// the library puts one generated line feed (character 10) whose quad is a
// zero-width quad at the end of the line it ends.
FOLIO_API PDResult PDPageLoadPageText(PDPage page, PDPageText* out);
FOLIO_API PDResult PDPageTextAcquire(PDPageText text);
FOLIO_API PDResult PDPageTextRelease(PDPageText text);
FOLIO_API PDResult PDPageTextGetNumChars(PDPageText text, uint64_t* count);
// With a null buffer: *length receives the number of wide units of the
// character's text. With a buffer of `size` units: the text is copied (no
// terminator) and *length receives the number copied.
FOLIO_API PDResult PDPageTextGetCharUnicode(PDPageText text, uint64_t index, wchar_t* buffer,
                                            uint64_t size, uint64_t* length);
FOLIO_API PDResult PDPageTextGetCharQuad(PDPageText text, uint64_t index, PDQuadF* quad);

FOLIO_API PDResult PDPageGetCropBox(PDPage page, PDRectF* box);
FOLIO_API PDResult PDPageGetRotate(PDPage page, int32_t* rotate); // 0, 90, 180 or 270
FOLIO_API PDResult PDPageAcquire(PDPage page);
FOLIO_API PDResult PDPageRelease(PDPage page);

// A new annotation that is not yet on a page (FolioPageInsertAnnot puts it
// there). The subtype is the atom of "Highlight", "Underline" or "StrikeOut".
FOLIO_API PDResult PDAnnotCreate(PDDocument document, uint32_t subtype,
                                 const PDTextMarkupAnnotParams* params, PDAnnot* out);
FOLIO_API PDResult PDAnnotSetFillOpacity(PDAnnot annot, float opacity);
FOLIO_API PDResult PDAnnotRelease(PDAnnot annot);

// The library's atom of a name: fixed values for the three markup subtypes,
// stable values for every other name.
FOLIO_API PDResult PDAtomPutString(const char* name, uint32_t* atom);
FOLIO_API PDResult PDAtomGetString(uint32_t atom, const char** name);

// --- The host's side ----------------------------------------------------

FOLIO_API const char* FolioLastErrorMessage(void);

// Opens a PDF file. kPDErrCannotOpen when it is missing or unreadable,
// kPDErrDamaged when it is not a PDF or cannot be repaired, kPDErrEncrypted
// when it needs a password.
FOLIO_API PDResult FolioDocumentOpen(const char* path, PDDocument* out);
// An empty in-memory document.
FOLIO_API PDResult FolioDocumentNewInMemory(PDDocument* out);
FOLIO_API PDResult FolioDocumentAcquire(PDDocument document);
FOLIO_API PDResult FolioDocumentRelease(PDDocument document);
FOLIO_API PDResult FolioDocumentGetPageCount(PDDocument document, uint64_t* count);
// 1 when the file was damaged and its structure had to be rebuilt on
// opening (what it shows may then be incomplete), else 0.
FOLIO_API PDResult FolioDocumentWasRepaired(PDDocument document, uint32_t* repaired);
// What the document's author permits a reader (the user's permissions of an
// encrypted file, which the library honours without the owner's password):
// a combination of the kFolioPermit flags. Files without such restrictions,
// and in-memory documents, permit everything.
enum {
    kFolioPermitPrint = 1,
    kFolioPermitCopy = 2,
    kFolioPermitEdit = 4,
    kFolioPermitAnnotate = 8,
    kFolioPermitAll = 15
};
FOLIO_API PDResult FolioDocumentGetPermissions(PDDocument document, uint32_t* permissions);
FOLIO_API PDResult FolioDocumentLoadPage(PDDocument document, uint64_t index, PDPage* out);
FOLIO_API PDResult FolioPageGetIndex(PDPage page, uint64_t* index);

// Where a document's file goes as it is written: `write` receives the bytes
// in order and returns kPDOk when it took all of them; any other answer
// stops the writing (FolioDocumentWrite then returns kPDErrCannotWrite, and
// the writer knows why). Where the bytes end up (a file, memory) and how a
// file is put in place are the caller's business.
struct FolioWriter {
    void* context;
    PDResult (*write)(void* context, const void* data, size_t size);
};

// Writes the document as a PDF file. An incremental write is the bytes the
// document was read from with the changes appended to them; a document that
// was repaired on opening is always written whole. Files only: an in-memory
// document answers kPDErrNotAvailable.
enum : uint32_t { kFolioSaveFull = 0, kFolioSaveIncremental = 1 };
FOLIO_API PDResult FolioDocumentWrite(PDDocument document, const FolioWriter* writer,
                                      uint32_t flags);

// Edit groups: every change between the outermost Begin and its End is one
// undo step. Groups nest; only the outermost counts.
FOLIO_API PDResult FolioDocumentBeginEdit(PDDocument document, const char* label);
FOLIO_API PDResult FolioDocumentEndEdit(PDDocument document);
FOLIO_API PDResult FolioDocumentUndo(PDDocument document);
FOLIO_API PDResult FolioDocumentRedo(PDDocument document);
FOLIO_API PDResult FolioDocumentCanUndo(PDDocument document, uint32_t* steps);
FOLIO_API PDResult FolioDocumentCanRedo(PDDocument document, uint32_t* steps);

// Puts a created annotation onto a page: a real PDF annotation with
// /Subtype, /Rect, /QuadPoints (zero-area quads dropped), /C, /CA, /T,
// /CreationDate, /M and an appearance stream. An annotation goes onto one
// page once. Outside an edit group the insertion is an undo step of its own.
FOLIO_API PDResult FolioPageInsertAnnot(PDPage page, PDAnnot annot);

// What is on a page, for reports and checks.
struct FolioAnnotInfo {
    uint32_t subtype; // atom of the /Subtype name
    PDRectF rect;
    uint32_t color; // opaque alpha, then the /C colour
    float opacity;  // /CA, 1 when absent
    uint64_t quadCount;
};
FOLIO_API PDResult FolioPageCountAnnots(PDPage page, uint64_t* count);
// quads may be null; otherwise it receives min(size, quadCount) quads.
FOLIO_API PDResult FolioPageGetAnnot(PDPage page, uint64_t index, FolioAnnotInfo* info,
                                     PDQuadF* quads, uint64_t size);

// The page as it is shown: the crop box turned clockwise by the page's
// rotation, scaled by `zoom` (1 = one pixel per unit), y growing downwards,
// origin at the top-left of the shown page. The matrix maps page space onto
// that image: x' = a x + c y + e, y' = b x + d y + f (m = {a, b, c, d, e, f}).
FOLIO_API PDResult FolioPageDisplayMatrix(PDPage page, float zoom, float m[6]);
FOLIO_API PDResult FolioPageDisplaySize(PDPage page, float zoom, int32_t* width, int32_t* height);
// Renders the shown page (annotations included) into a new RGBA buffer of
// FolioPageDisplaySize; free it with FolioFreeBuffer. The in-memory backend
// draws white pages with each character's quad outlined in grey.
FOLIO_API PDResult FolioPageRender(PDPage page, float zoom, uint8_t** rgba, int32_t* width,
                                   int32_t* height);
// The same rendering straight into the caller's RGBA image of width x
// height pixels (rows of width * 4 bytes), with the page's top-left corner
// at (left, top): the page's pixels that fall inside the image are written,
// nothing else.
FOLIO_API PDResult FolioPageRenderInto(PDPage page, float zoom, uint8_t* rgba, int32_t width,
                                       int32_t height, int32_t left, int32_t top);
FOLIO_API void FolioFreeBuffer(void* buffer);

// In-memory backend: lay out pages and characters by hand.
FOLIO_API PDResult FolioMemoryAddPage(PDDocument document, const PDRectF* cropBox, int32_t rotate,
                                      uint64_t* index);
FOLIO_API PDResult FolioMemoryAddChar(PDDocument document, uint64_t pageIndex, const wchar_t* text,
                                      const PDQuadF* quad);
// From now on the page's text cannot be read: PDPageLoadPageText fails with
// kPDErrDamaged, as it does for a damaged page of a file.
FOLIO_API PDResult FolioMemoryDamagePageText(PDDocument document, uint64_t pageIndex);
}
