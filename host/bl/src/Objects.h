// The objects of this library and what they tell each other.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Common.h"
#include "bl/BLDocument.h"
#include "bl/BLDocumentView.h"
#include "bl/BLSelection.h"
#include "hostbl/HostBL.h"
#include "platform/Files.h"
#include "service-common/SLGeometry.h"

namespace HostBLImpl {

// ---------------------------------------------------------------------------
// "BLDocument" and its page objects

struct DocumentImpl : SODetails::ServiceObjectSelf {
    explicit DocumentImpl(PDDocument handle);
    ~DocumentImpl();
    DocumentImpl(const DocumentImpl&) = delete;
    DocumentImpl& operator=(const DocumentImpl&) = delete;

    uint64_t PageCount() const;
    // Raises OnPageContentChanged for the page with one rectangle.
    void AnnouncePage(uint64_t page, const SL::RectF& rect) const;
    // Raises OnPageContentChanged for every page, with its crop box.
    void AnnounceAllPages() const;

    PDDocument document;
    // The file the document was read from, and its state just before, for
    // a save over that file; none for a document opened elsewhere.
    std::string source;
    std::optional<Platform::FileState> sourceAsRead;
    std::mutex mutex; // guards editDepth
    uint32_t editDepth = 0;
    EventSourceFor<BLDocumentEvents::OnPageContentChanged> onPageContentChanged;
};

struct DocumentInterface
    : SODetails::InterfaceOf<DocumentInterface, DocumentImpl, BLDocumentOps::kOperationCount> {
    static constexpr const char* kName = "BLDocument";
    static constexpr const wchar_t* kWideName = L"BLDocument";
    static void FillOperations(SODetails::Operation* ops);
};

// ---------------------------------------------------------------------------
// "BLSelection"

struct SelectionImpl {
    SLAtom type = 0;
    uint64_t firstPage = kNoPage;
    uint64_t lastPage = kNoPage;
    std::map<uint64_t, std::vector<SL::Quad>> quads; // per page, in reading order
};

struct SelectionInterface
    : SODetails::InterfaceOf<SelectionInterface, SelectionImpl, BLSelectionOps::kOperationCount> {
    static constexpr const char* kName = "BLSelection";
    static constexpr const wchar_t* kWideName = L"BLSelection";
    static void FillOperations(SODetails::Operation* ops);
};

// ---------------------------------------------------------------------------
// Drawing

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    void Apply(double x, double y, double& outX, double& outY) const {
        outX = a * x + c * y + e;
        outY = b * x + d * y + f;
    }
    Affine Inverse() const;
};

// A viewport image shared by a view's drawing and the render targets it
// hands to draw handlers (which may keep them past the drawing).
using SharedImage = std::shared_ptr<HostBL::Image>;

// A "GRRenderTarget" that paints into `image` in the page space described
// by `pageToDevice`, clipped to `clip` (device pixels, second corner
// exclusive). One reference, for the caller.
ServiceObject* NewRenderTarget(SharedImage image, const Affine& pageToDevice,
                               const SL::RectI& clip);

// A "GRRenderTarget" that records what is filled through it, in the pixels
// that `pageToShown` maps page space to, instead of painting it.
using Recording = std::shared_ptr<std::vector<HostBL::PaintedFill>>;
ServiceObject* NewRecordingTarget(Recording recording, const Affine& pageToShown);

// ---------------------------------------------------------------------------
// "BLDocumentView"

struct PageLayout {
    int32_t width = 0, height = 0; // shown size in pixels
    int32_t left = 0, top = 0;     // position in the unscrolled layout
    Affine pageToShown;            // page space -> shown page pixels
};

struct ViewImpl : SODetails::ServiceObjectSelf {
    ViewImpl(ObjectPtr document, int32_t width, int32_t height, float zoom);
    ~ViewImpl();
    ViewImpl(const ViewImpl&) = delete;
    ViewImpl& operator=(const ViewImpl&) = delete;

    // The layout, laid anew when the document's page count changed. With
    // the mutex held, as for ClampScroll.
    const std::vector<PageLayout>& CurrentLayout();
    // Keeps the scroll position within the laid-out pages.
    void ClampScroll();
    // Page space -> device pixels (scroll applied); false for no such page.
    bool PageToDevice(uint64_t page, Affine& out);

    void SetSelection(ObjectPtr selection);

    ObjectPtr document;
    DocumentImpl* documentImpl;
    const int32_t width, height;

    std::mutex mutex; // guards everything below
    float zoom;
    std::vector<PageLayout> layout;
    int32_t scrollY = 0;
    uint64_t invalidations = 0;
    bool dirty = true;
    ObjectPtr selection;
    SLAtom toolId = 0;
    ObjectPtr tool;
    bool readOnly = false;

    // Every event of the view's interface.
    EventSourceFor<BLDocumentViewEvents::OnLayoutChanged> onLayoutChanged;
    EventSourceFor<BLDocumentViewEvents::OnFocusPageChanged> onFocusPageChanged;
    EventSourceFor<BLDocumentViewEvents::OnVisibleRangeChanged> onVisibleRangeChanged;
    EventSourceFor<BLDocumentViewEvents::OnPagesChanged> onPagesChanged;
    EventSourceFor<BLDocumentViewEvents::OnZoomChanged> onZoomChanged;
    EventSourceFor<BLDocumentViewEvents::OnSelectionChanged> onSelectionChanged;
    EventSourceFor<BLDocumentViewEvents::OnAvailableOperationsChanged> onAvailableOperationsChanged;
    EventSourceFor<BLDocumentViewEvents::OnActiveToolChanged> onActiveToolChanged;
    EventSourceFor<BLDocumentViewEvents::OnDrawPageView> onDrawPageView;
    EventSourceFor<BLDocumentViewEvents::OnScrollChanged> onScrollChanged;
    EventSourceFor<BLDocumentViewEvents::OnViewRulerStateChanged> onViewRulerStateChanged;
    EventSourceFor<BLDocumentViewEvents::OnViewGridStateChanged> onViewGridStateChanged;
    EventSourceFor<BLDocumentViewEvents::OnLockedStateChanged> onLockedStateChanged;
    EventSourceFor<BLDocumentViewEvents::OnViewStateChanged> onViewStateChanged;
};

struct ViewInterface
    : SODetails::InterfaceOf<ViewInterface, ViewImpl, BLDocumentViewOps::kOperationCount> {
    static constexpr const char* kName = "BLDocumentView";
    static constexpr const wchar_t* kWideName = L"BLDocumentView";
    static void FillOperations(SODetails::Operation* ops);
};

// The characters of a page; throws std::runtime_error when the page's text
// cannot be read.
std::vector<HostBL::PageChar> ReadPageChars(PDDocument document, uint64_t page);

// The implementations behind HostBL's arguments; throw std::invalid_argument
// for objects of another kind.
DocumentImpl& DocumentOf(ServiceObject* document);
ViewImpl& ViewOf(ServiceObject* view);

} // namespace HostBLImpl
