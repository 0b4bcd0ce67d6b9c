// The stand-in host's business logic: documents over the document-model
// library, document views that lay pages out and draw them, the text
// selections of the host's own text tools, and the services "BLService",
// "GraphicsFactory" and "BLAuthor".
//
// The objects are service objects of the host's flat interfaces (the bl/
// interface headers); this API is what the host application and its tests
// use to make them and to drive them from the host's side. Functions that
// take a `ServiceObject*` expect an object made by this library and throw
// std::invalid_argument for anything else; failures of the document-model
// library throw std::runtime_error with its message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bl/BLInputHandler.h"
#include "fileout/OutputFile.h"
#include "folio.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/ModuleExport.h"
#include "service-common/SLGeometry.h"

#ifdef HOSTBL_BUILD
#define HOSTBL_API SO_EXPORT
#else
#define HOSTBL_API SO_IMPORT
#endif

namespace HostBL {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;

// ---------------------------------------------------------------------------
// Documents ("BLDocument")

// Opens a PDF file; throws std::runtime_error naming the file and the reason.
HOSTBL_API ObjectPtr OpenDocument(const std::string& path);
// A document object over a document-model handle (for in-memory documents);
// the object takes a reference of its own.
HOSTBL_API ObjectPtr WrapDocument(PDDocument document);

// The document-model handle behind a document object (no new reference).
HOSTBL_API PDDocument DocumentHandle(ServiceObject* document);
HOSTBL_API uint64_t PageCount(ServiceObject* document);
// How many edit groups are open (BeginEditGroup without its EndEditGroup).
HOSTBL_API uint32_t EditGroupDepth(ServiceObject* document);

// Undo and redo one step; false when there is nothing to undo or redo. Every
// page is announced as changed through OnPageContentChanged.
HOSTBL_API bool Undo(ServiceObject* document);
HOSTBL_API bool Redo(ServiceObject* document);

// How many undo and redo steps the document holds.
HOSTBL_API uint32_t UndoSteps(ServiceObject* document);
HOSTBL_API uint32_t RedoSteps(ServiceObject* document);

// What the document permits its reader (the kFolioPermit flags of folio.h).
HOSTBL_API uint32_t Permissions(ServiceObject* document);

// Writes the document as a PDF file into `out` (which the caller commits),
// or saves it at `path` through the host's one commit routine. Incremental:
// the original bytes with the changes appended.
HOSTBL_API void WriteDocument(ServiceObject* document, FileOut::OutputFile& out, bool incremental);
HOSTBL_API void Save(ServiceObject* document, const std::string& path, bool incremental);

struct AnnotRecord {
    uint64_t page;
    FolioAnnotInfo info;
    std::vector<PDQuadF> quads;
};
// Every annotation of every page, in page order.
HOSTBL_API std::vector<AnnotRecord> ListAnnots(ServiceObject* document);
// The annotations of one page, oldest first, from the one numbered `first`
// on (so that a caller who knows how many there were reads only the new).
HOSTBL_API std::vector<AnnotRecord> PageAnnots(ServiceObject* document, uint64_t page,
                                               uint64_t first = 0);
// How many annotations the page holds.
HOSTBL_API uint64_t PageAnnotCount(ServiceObject* document, uint64_t page);

// ---------------------------------------------------------------------------
// Page content, as the plug-in reads it from the document-model library

// Whether the file was damaged and rebuilt on opening: what it shows may then
// be incomplete.
HOSTBL_API bool WasRepaired(ServiceObject* document);

struct PageInfo {
    PDRectF cropBox;
    int32_t rotate;
};
// Throws std::runtime_error when the page cannot be read.
HOSTBL_API PageInfo GetPageInfo(ServiceObject* document, uint64_t page);

// A character of a page's text in reading order: its text (one or more wide
// units; generated line feeds included) and its quad in page space.
struct PageChar {
    std::wstring text;
    PDQuadF quad;
};
// Throws std::runtime_error when the page's text cannot be read.
HOSTBL_API std::vector<PageChar> PageChars(ServiceObject* document, uint64_t page);

// ---------------------------------------------------------------------------
// Document views ("BLDocumentView")

// Pages are stacked top to bottom, kPageGap pixels apart and below the top
// edge, each shown with its rotation at `zoom` pixels per page unit, centred
// horizontally (or kPageGap from the left edge when wider than the
// viewport). Device coordinates are pixels from the viewport's top-left.
constexpr int32_t kPageGap = 16;
HOSTBL_API ObjectPtr CreateView(ServiceObject* document, int32_t viewportWidth,
                                int32_t viewportHeight, float zoom);

// A new zoom lays the pages out anew; the page at the top of the viewport
// stays there, as far as scrolling allows. OnZoomChanged is raised with the
// new zoom. std::invalid_argument for a zoom that is not positive.
HOSTBL_API void SetZoom(ServiceObject* view, float zoom);
HOSTBL_API float Zoom(ServiceObject* view);

// Scrolling is clamped to the laid-out pages.
HOSTBL_API void ScrollTo(ServiceObject* view, int32_t y);
HOSTBL_API void ScrollToPage(ServiceObject* view, uint64_t page);
HOSTBL_API int32_t ScrollPosition(ServiceObject* view);

// Where a page is shown in device pixels (first corner top-left, second
// corner exclusive).
HOSTBL_API SL::RectI PageDeviceRect(ServiceObject* view, uint64_t page);
// The pages that overlap the viewport, in order.
HOSTBL_API std::vector<uint64_t> VisiblePages(ServiceObject* view);

// The device point that shows a page point, and the page point that a device
// point shows (the centre of its pixel). Throw std::out_of_range for no such
// page.
HOSTBL_API SL::PointI PageToDevice(ServiceObject* view, uint64_t page, SL::PointF point);
HOSTBL_API SL::PointF DeviceToPage(ServiceObject* view, uint64_t page, SL::PointI point);

// Invalidate calls so far, and whether one came since the last Draw.
HOSTBL_API uint64_t InvalidateCount(ServiceObject* view);
HOSTBL_API bool IsDirty(ServiceObject* view);

// The tool object made active with SetActiveTool (a new reference), or null.
HOSTBL_API ObjectPtr ActiveTool(ServiceObject* view);
// The name of the active tool, or empty.
HOSTBL_API std::string ActiveToolName(ServiceObject* view);

// A read-only view shows its document without letting anything be added to
// it: GetViewState has BLViewState::kReadOnly, and IsOperationAllowed
// refuses annotations. A change raises OnViewStateChanged with the new
// state.
HOSTBL_API void SetReadOnly(ServiceObject* view, bool readOnly);
HOSTBL_API uint32_t ViewState(ServiceObject* view);

// Why annotations cannot be added in the view, as IsOperationAllowed
// answers for (BLViewOperation::kAnnotations, kAdd).
enum class AnnotationBlock { kNone, kReadOnlyView, kForbiddenByDocument };
HOSTBL_API AnnotationBlock AnnotationsBlocked(ServiceObject* view);

// Makes a new tool through the input-handler registry of the provider's
// "BLService" by the tool's name, initialises it with the view and `params`,
// and makes it the view's active tool, as the host's ribbon does. False when
// no module offers a tool of that name; a failing tool throws
// ServiceObjectException.
HOSTBL_API bool ActivateTool(ServiceObject* view, const std::string& toolName,
                             const MarkupToolParams& params);

// Hands a mouse event (a BLInputEvent: type, button, device point) to the
// view's active tool, as the view does with the user's input, and returns the
// tool's "handled". A tool that says it is finished afterwards is ended, as
// EndActiveTool ends it. False when no tool is active. A failure of the tool
// is thrown as the tool reported it (ServiceObjectException).
HOSTBL_API bool DispatchInput(ServiceObject* view, uint32_t type, uint32_t button,
                              SL::PointI point);

// An RGBA image, rows top to bottom, 4 bytes a pixel.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
    // The pixel as 0xRRGGBBAA.
    uint32_t Pixel(int32_t x, int32_t y) const {
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    }
};
// The colour of the viewport where no page is shown.
constexpr uint8_t kBackgroundGrey = 0x80;

// Renders the visible pages into a viewport image on a grey background, then
// lets the OnDrawPageView subscribers paint layer 0 of each visible page.
HOSTBL_API Image Draw(ServiceObject* view);
// The image as the bytes of a PNG file; as a PNG file written into `out`,
// or saved at `path` like Save.
HOSTBL_API std::string EncodePNG(const Image& image);
HOSTBL_API void WritePNG(const Image& image, FileOut::OutputFile& out);
HOSTBL_API void SavePNG(const Image& image, const std::string& path);

// A front end that shows the pages itself (a browser) takes them one at a
// time and draws what the draw handlers paint over them.
//
// The page as the view shows it at its zoom, with its annotations, without
// layer 0. Throws std::out_of_range for no such page and std::runtime_error
// when the page cannot be rendered.
HOSTBL_API Image RenderPage(ServiceObject* view, uint64_t page);
// What a draw handler filled: polygons in pixels of the page as shown (its
// top-left corner at 0,0), filled by the non-zero rule with `argb`.
struct PaintedFill {
    std::vector<std::vector<SL::PointF>> polygons;
    uint32_t argb;
};
// Lets the OnDrawPageView subscribers paint layer 0 of one page, recording
// their fills in order instead of painting them. Throws std::out_of_range
// for no such page.
HOSTBL_API std::vector<PaintedFill> RecordPageDrawing(ServiceObject* view, uint64_t page);

// ---------------------------------------------------------------------------
// Text selections ("BLSelection")

// Selects the characters from (firstPage, firstChar) up to, not including,
// (lastPage, lastChar) with the text tool `toolName` ("TextCopy" or
// "TextEdit"); the ends may come in either order and lastChar may be the
// page's character count. The selection becomes the view's current one and
// OnSelectionChanged is raised. Returns the selection.
HOSTBL_API ObjectPtr SelectText(ServiceObject* view, const std::string& toolName,
                                uint64_t firstPage, uint64_t firstChar, uint64_t lastPage,
                                uint64_t lastChar);
// Drops the view's current selection and raises OnSelectionChanged (null).
HOSTBL_API void ClearSelection(ServiceObject* view);
// Whether the view's current selection holds text.
HOSTBL_API bool HasTextSelection(ServiceObject* view);

// The name of the host's own text tool, which selects text by a drag: a
// left press on a character starts the selection, moves extend it, and the
// release makes it the view's selection (of type "TextCopy"; a release
// where the press was selects nothing and drops the selection). A release
// of the finishing button ends the tool. Its factory is in the input-handler
// registry of every "BLService".
constexpr const char* kTextCopyTool = "TextCopy";

// ---------------------------------------------------------------------------
// Services

// A new service object by name ("BLService", "GraphicsFactory", "BLAuthor"),
// as the service provider gets it; null for other names.
HOSTBL_API ObjectPtr NewService(const std::string& name);
// Registers those services with the service provider as the running
// process's own ("single"), for programs that link this library rather than
// having the provider load it through its manifest: tests, benchmarks and
// fuzzers. Registering again replaces them. Throws std::runtime_error
// naming a service the provider refuses.
HOSTBL_API void RegisterServicesInProcess();
// The last cursor id set through any "BLService" cursor object; 0 before any.
HOSTBL_API uint32_t LastCursor();

} // namespace HostBL
