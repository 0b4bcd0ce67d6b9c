// "BLDocumentView": pages stacked in a scrolled viewport, the conversions
// between device pixels and page space, the current selection, the active
// tool, repainting and every event of the view.
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "Objects.h"
#include "bl/BLInputHandler.h"
#include "bl/BLService.h"
#include "service-common/ServiceProvider.h"
#include "strpool.h"

namespace HostBLImpl {

namespace {

void TerminateTool(ObjectPtr tool) {
    if (tool)
        SODetails::TryCall<BLInputHandlerOps::Terminate>(tool.get());
}

// The zoom type OnZoomChanged reports: this host knows no fitting modes,
// only zooms given in pixels per page unit.
constexpr BLZoomType kCustomZoom = 0;

// Page points far off the view map this far at most: well outside any
// viewport, and near enough to zero that adding two such values stays
// within an int32_t.
constexpr double kFarthestPixel = 1 << 30;

double Clamped(double v) {
    return std::clamp(v, -kFarthestPixel, kFarthestPixel);
}

// A device coordinate from a finite one, rounded down or to the nearest.
int32_t FloorPixel(double v) {
    return static_cast<int32_t>(std::floor(Clamped(v)));
}
int32_t NearestPixel(double v) {
    return static_cast<int32_t>(std::lround(Clamped(v)));
}

bool IsFinite(double x, double y) {
    return std::isfinite(x) && std::isfinite(y);
}

SL::RectF Normalised(double x0, double y0, double x1, double y1) {
    return {static_cast<float>(std::min(x0, x1)), static_cast<float>(std::min(y0, y1)),
            static_cast<float>(std::max(x0, x1)), static_cast<float>(std::max(y0, y1))};
}

struct ViewOperations {
    using Object = ViewInterface::Object;
    static constexpr const wchar_t* kWideName = ViewInterface::kWideName;

    static uint32_t GetDocument(ServiceObject* self, ServiceObject** out) {
        if (!out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetDocument");
        *out = ObjectPtr(Object::ImplOf(self).document).Detach();
        return kOk;
    }

    static uint32_t PageFromPoint(ServiceObject* self, const SL::PointI* point, uint64_t* out) {
        if (!point || !out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"PageFromPoint");
        ViewImpl& view = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(view.mutex);
        const std::vector<PageLayout>& pages = view.CurrentLayout();
        *out = kNoPage;
        for (std::size_t index = 0; index < pages.size(); ++index) {
            const PageLayout& page = pages[index];
            const int32_t top = page.top - view.scrollY;
            if (point->x >= page.left && point->x < page.left + page.width && point->y >= top &&
                point->y < top + page.height) {
                *out = index;
                break;
            }
        }
        return kOk;
    }

    // The page's transforms, or a reported failure for no such page.
    static bool Transform(ServiceObject* self, uint64_t page, Affine& pageToDevice) {
        return Object::ImplOf(self).PageToDevice(page, pageToDevice);
    }

    // Points stand for pixel centres: a device point maps to the centre of
    // its pixel, and a page point to the pixel that contains it.
    static uint32_t DeviceToPage(ServiceObject* self, uint64_t page, const SL::PointI* point,
                                 SL::PointF* out) {
        Affine transform;
        if (!point || !out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"DeviceToPage");
        if (!Transform(self, page, transform))
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"DeviceToPage");
        double x, y;
        transform.Inverse().Apply(point->x + 0.5, point->y + 0.5, x, y);
        *out = {static_cast<float>(x), static_cast<float>(y)};
        return kOk;
    }

    static uint32_t PageToDevice(ServiceObject* self, uint64_t page, const SL::PointF* point,
                                 SL::PointI* out) {
        Affine transform;
        if (!point || !out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"PageToDevice");
        if (!Transform(self, page, transform))
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"PageToDevice");
        double x, y;
        transform.Apply(point->x, point->y, x, y);
        if (!IsFinite(x, y))
            return HOSTBL_REPORT(kBadArgument, kWideName, L"PageToDevice");
        *out = {FloorPixel(x), FloorPixel(y)};
        return kOk;
    }

    // Rectangles are read by their pixel edges.
    static uint32_t DeviceRectToPage(ServiceObject* self, uint64_t page, const SL::RectI* rect,
                                     SL::RectF* out) {
        Affine transform;
        if (!rect || !out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"DeviceRectToPage");
        if (!Transform(self, page, transform))
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"DeviceRectToPage");
        const Affine inverse = transform.Inverse();
        double x0, y0, x1, y1;
        inverse.Apply(rect->x0, rect->y0, x0, y0);
        inverse.Apply(rect->x1, rect->y1, x1, y1);
        *out = Normalised(x0, y0, x1, y1);
        return kOk;
    }

    static uint32_t PageRectToDevice(ServiceObject* self, uint64_t page, const SL::RectF* rect,
                                     SL::RectI* out) {
        Affine transform;
        if (!rect || !out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"PageRectToDevice");
        if (!Transform(self, page, transform))
            return HOSTBL_REPORT(kNotAvailable, kWideName, L"PageRectToDevice");
        double x0, y0, x1, y1;
        transform.Apply(rect->x0, rect->y0, x0, y0);
        transform.Apply(rect->x1, rect->y1, x1, y1);
        if (!IsFinite(x0, y0) || !IsFinite(x1, y1))
            return HOSTBL_REPORT(kBadArgument, kWideName, L"PageRectToDevice");
        // Pages turn by right angles, so two opposite corners stay opposite.
        const SL::RectF device = Normalised(Clamped(x0), Clamped(y0), Clamped(x1), Clamped(y1));
        *out = {NearestPixel(device.x0), NearestPixel(device.y0), NearestPixel(device.x1),
                NearestPixel(device.y1)};
        return kOk;
    }

    static uint32_t EndActiveTool(ServiceObject* self, bool) {
        ViewImpl& view = Object::ImplOf(self);
        ObjectPtr tool;
        {
            std::lock_guard<std::mutex> lock(view.mutex);
            tool = std::move(view.tool);
            view.tool = nullptr;
            view.toolId = 0;
        }
        if (tool) {
            TerminateTool(std::move(tool));
            view.onActiveToolChanged.Raise(0);
        }
        return kOk;
    }

    static uint32_t GetSelection(ServiceObject* self, ServiceObject** out) {
        if (!out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetSelection");
        ViewImpl& view = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(view.mutex);
        *out = ObjectPtr(view.selection).Detach();
        return kOk;
    }

    static uint32_t GetActiveTool(ServiceObject* self, SLAtom* out) {
        if (!out)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetActiveTool");
        ViewImpl& view = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(view.mutex);
        *out = view.toolId;
        return kOk;
    }

    static uint32_t Invalidate(ServiceObject* self) {
        ViewImpl& view = Object::ImplOf(self);
        std::lock_guard<std::mutex> lock(view.mutex);
        ++view.invalidations;
        view.dirty = true;
        return kOk;
    }

    static uint32_t GetViewState(ServiceObject* self, uint32_t* state) {
        if (!state)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"GetViewState");
        *state = HostBL::ViewState(self);
        return kOk;
    }

    // Adding annotations is the one change to a document this host knows;
    // every other operation is refused.
    static uint32_t IsOperationAllowed(ServiceObject* self, uint32_t subject, uint32_t action,
                                       bool, bool, bool* allowed) {
        if (!allowed)
            return HOSTBL_REPORT(kBadArgument, kWideName, L"IsOperationAllowed");
        *allowed = subject == BLViewOperation::kAnnotations && action == BLViewOperation::kAdd &&
                   HostBL::AnnotationsBlocked(self) == HostBL::AnnotationBlock::kNone;
        return kOk;
    }

    // The previous tool, if any, is terminated and let go.
    static uint32_t SetActiveTool(ServiceObject* self, SLAtom toolId, ServiceObject* handler) {
        ViewImpl& view = Object::ImplOf(self);
        ObjectPtr previous;
        {
            std::lock_guard<std::mutex> lock(view.mutex);
            previous = std::move(view.tool);
            view.tool = ObjectPtr::Share(handler);
            view.toolId = handler ? toolId : 0;
        }
        if (previous.get() != handler)
            TerminateTool(std::move(previous));
        view.onActiveToolChanged.Raise(handler ? toolId : 0);
        return kOk;
    }
};

// One row of the viewport's opaque grey background.
std::vector<uint8_t> GreyRow(int32_t width) {
    std::vector<uint8_t> grey(static_cast<std::size_t>(width) * 4);
    for (std::size_t x = 0; x < grey.size(); x += 4) {
        grey[x] = grey[x + 1] = grey[x + 2] = HostBL::kBackgroundGrey;
        grey[x + 3] = 0xFF;
    }
    return grey;
}

// The background over the part of `rect` inside the image.
void PaintGrey(HostBL::Image& image, const std::vector<uint8_t>& grey, const SL::RectI& rect) {
    const int32_t x0 = std::max(0, rect.x0), x1 = std::min(image.width, rect.x1);
    for (int32_t y = std::max(0, rect.y0); y < std::min(image.height, rect.y1) && x0 < x1; ++y)
        std::copy_n(grey.begin(), static_cast<std::size_t>(x1 - x0) * 4,
                    image.rgba.begin() + (static_cast<std::size_t>(y) * image.width + x0) * 4);
}

} // namespace

void ViewInterface::FillOperations(SODetails::Operation* ops) {
    using namespace BLDocumentViewOps;
    using SODetails::SetOperation;
    using O = ViewOperations;
    SetOperation<GetDocument>(ops, &O::GetDocument);
    SetOperation<PageFromPoint>(ops, &O::PageFromPoint);
    SetOperation<BLDocumentViewOps::DeviceToPage>(ops, &O::DeviceToPage);
    SetOperation<BLDocumentViewOps::PageToDevice>(ops, &O::PageToDevice);
    SetOperation<DeviceRectToPage>(ops, &O::DeviceRectToPage);
    SetOperation<PageRectToDevice>(ops, &O::PageRectToDevice);
    SetOperation<EndActiveTool>(ops, &O::EndActiveTool);
    SetOperation<GetSelection>(ops, &O::GetSelection);
    SetOperation<GetActiveTool>(ops, &O::GetActiveTool);
    SetOperation<Invalidate>(ops, &O::Invalidate);
    SetOperation<GetViewState>(ops, &O::GetViewState);
    SetOperation<IsOperationAllowed>(ops, &O::IsOperationAllowed);
    SetOperation<SetActiveTool>(ops, &O::SetActiveTool);

    namespace E = BLDocumentViewEvents;
    using I = ViewInterface;
    EventEntries<I, E::OnLayoutChanged, &ViewImpl::onLayoutChanged>::Fill(ops);
    EventEntries<I, E::OnFocusPageChanged, &ViewImpl::onFocusPageChanged>::Fill(ops);
    EventEntries<I, E::OnVisibleRangeChanged, &ViewImpl::onVisibleRangeChanged>::Fill(ops);
    EventEntries<I, E::OnPagesChanged, &ViewImpl::onPagesChanged>::Fill(ops);
    EventEntries<I, E::OnZoomChanged, &ViewImpl::onZoomChanged>::Fill(ops);
    EventEntries<I, E::OnSelectionChanged, &ViewImpl::onSelectionChanged>::Fill(ops);
    EventEntries<I, E::OnAvailableOperationsChanged, &ViewImpl::onAvailableOperationsChanged>::Fill(
        ops);
    EventEntries<I, E::OnActiveToolChanged, &ViewImpl::onActiveToolChanged>::Fill(ops);
    EventEntries<I, E::OnDrawPageView, &ViewImpl::onDrawPageView>::Fill(ops);
    EventEntries<I, E::OnScrollChanged, &ViewImpl::onScrollChanged>::Fill(ops);
    EventEntries<I, E::OnViewRulerStateChanged, &ViewImpl::onViewRulerStateChanged>::Fill(ops);
    EventEntries<I, E::OnViewGridStateChanged, &ViewImpl::onViewGridStateChanged>::Fill(ops);
    EventEntries<I, E::OnLockedStateChanged, &ViewImpl::onLockedStateChanged>::Fill(ops);
    EventEntries<I, E::OnViewStateChanged, &ViewImpl::onViewStateChanged>::Fill(ops);
}

Affine Affine::Inverse() const {
    const double det = a * d - b * c;
    Affine inverse;
    if (det == 0)
        return inverse;
    inverse.a = d / det;
    inverse.b = -b / det;
    inverse.c = -c / det;
    inverse.d = a / det;
    inverse.e = (c * f - d * e) / det;
    inverse.f = (b * e - a * f) / det;
    return inverse;
}

ViewImpl::ViewImpl(ObjectPtr doc, int32_t viewportWidth, int32_t viewportHeight, float viewZoom)
    : document(std::move(doc)), documentImpl(&DocumentOf(document.get())), width(viewportWidth),
      height(viewportHeight), zoom(viewZoom) {}

ViewImpl::~ViewImpl() {
    // A tool must not outlive the view it works in.
    TerminateTool(std::move(tool));
}

const std::vector<PageLayout>& ViewImpl::CurrentLayout() {
    const uint64_t count = documentImpl->PageCount();
    if (layout.size() == count)
        return layout;
    layout.clear();
    int32_t top = HostBL::kPageGap;
    for (uint64_t index = 0; index < count; ++index) {
        PageLayout page;
        PageHandle handle;
        float m[6] = {1, 0, 0, 1, 0, 0};
        if (FolioDocumentLoadPage(documentImpl->document, index, handle.Receive()) == kPDOk &&
            FolioPageDisplaySize(handle.get(), zoom, &page.width, &page.height) == kPDOk)
            FolioPageDisplayMatrix(handle.get(), zoom, m);
        page.pageToShown = {m[0], m[1], m[2], m[3], m[4], m[5]};
        page.left = page.width < width ? (width - page.width) / 2 : HostBL::kPageGap;
        page.top = top;
        top += page.height + HostBL::kPageGap;
        layout.push_back(page);
    }
    ClampScroll();
    return layout;
}

void ViewImpl::ClampScroll() {
    int32_t content = HostBL::kPageGap;
    if (!layout.empty())
        content = layout.back().top + layout.back().height + HostBL::kPageGap;
    scrollY = std::max(0, std::min(scrollY, content - height));
}

bool ViewImpl::PageToDevice(uint64_t page, Affine& out) {
    std::lock_guard<std::mutex> lock(mutex);
    const std::vector<PageLayout>& pages = CurrentLayout();
    if (page >= pages.size())
        return false;
    out = pages[page].pageToShown;
    out.e += pages[page].left;
    out.f += pages[page].top - scrollY;
    return true;
}

void ViewImpl::SetSelection(ObjectPtr next) {
    ObjectPtr previous;
    {
        std::lock_guard<std::mutex> lock(mutex);
        previous = std::move(selection);
        selection = next;
    }
    onSelectionChanged.Raise(next.get());
}

ViewImpl& ViewOf(ServiceObject* view) {
    ViewImpl* impl = ImplOrNull<ViewInterface>(view);
    if (!impl)
        throw std::invalid_argument("not a document view object of this host");
    return *impl;
}

} // namespace HostBLImpl

namespace HostBL {

using namespace HostBLImpl;

ObjectPtr CreateView(ServiceObject* document, int32_t viewportWidth, int32_t viewportHeight,
                     float zoom) {
    DocumentOf(document);
    if (viewportWidth <= 0 || viewportHeight <= 0 || !(zoom > 0))
        throw std::invalid_argument("CreateView: the viewport and the zoom must be positive");
    return ObjectPtr::Adopt(ViewInterface::Object::New(ObjectPtr::Share(document), viewportWidth,
                                                       viewportHeight, zoom));
}

void SetZoom(ServiceObject* view, float zoom) {
    ViewImpl& impl = ViewOf(view);
    if (!(zoom > 0) || !std::isfinite(zoom))
        throw std::invalid_argument("SetZoom: the zoom must be positive");
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        // Scaling the scroll position keeps the same part of the document
        // at the top: the gaps between pages are few pixels.
        const double scale = double(zoom) / impl.zoom;
        impl.zoom = zoom;
        impl.layout.clear();
        impl.scrollY = static_cast<int32_t>(std::clamp<double>(impl.scrollY * scale, 0, INT32_MAX));
        impl.CurrentLayout();
        impl.dirty = true;
    }
    impl.onZoomChanged.Raise(kCustomZoom, zoom);
}

float Zoom(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.zoom;
}

void ScrollTo(ServiceObject* view, int32_t y) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    impl.CurrentLayout();
    impl.scrollY = y;
    impl.ClampScroll();
    impl.dirty = true;
}

void ScrollToPage(ServiceObject* view, uint64_t page) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    const std::vector<PageLayout>& pages = impl.CurrentLayout();
    if (page >= pages.size())
        throw std::out_of_range("ScrollToPage: no such page");
    impl.scrollY = pages[page].top - kPageGap;
    impl.ClampScroll();
    impl.dirty = true;
}

int32_t ScrollPosition(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    impl.CurrentLayout();
    return impl.scrollY;
}

SL::RectI PageDeviceRect(ServiceObject* view, uint64_t page) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    const std::vector<PageLayout>& pages = impl.CurrentLayout();
    if (page >= pages.size())
        throw std::out_of_range("PageDeviceRect: no such page");
    const PageLayout& p = pages[page];
    const int32_t top = p.top - impl.scrollY;
    return {p.left, top, p.left + p.width, top + p.height};
}

std::vector<uint64_t> VisiblePages(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    const std::vector<PageLayout>& pages = impl.CurrentLayout();
    std::vector<uint64_t> visible;
    for (uint64_t index = 0; index < pages.size(); ++index) {
        const PageLayout& p = pages[index];
        const int32_t top = p.top - impl.scrollY;
        if (top < impl.height && top + p.height > 0 && p.left < impl.width && p.left + p.width > 0)
            visible.push_back(index);
    }
    return visible;
}

uint64_t InvalidateCount(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.invalidations;
}

bool IsDirty(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.dirty;
}

SL::PointI PageToDevice(ServiceObject* view, uint64_t page, SL::PointF point) {
    ViewOf(view);
    SL::PointI device{};
    if (ViewOperations::PageToDevice(view, page, &point, &device) != kOk)
        throw std::out_of_range("PageToDevice: no such page");
    return device;
}

SL::PointF DeviceToPage(ServiceObject* view, uint64_t page, SL::PointI point) {
    ViewOf(view);
    SL::PointF pagePoint{};
    if (ViewOperations::DeviceToPage(view, page, &point, &pagePoint) != kOk)
        throw std::out_of_range("DeviceToPage: no such page");
    return pagePoint;
}

ObjectPtr ActiveTool(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.tool;
}

std::string ActiveToolName(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    SLAtom tool = 0;
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        tool = impl.toolId;
    }
    const char* name = nullptr;
    if (tool == 0 || SLGetStringFromAtom(tool, &name) != kOk || !name)
        return {};
    return name;
}

void SetReadOnly(ServiceObject* view, bool readOnly) {
    ViewImpl& impl = ViewOf(view);
    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        if (impl.readOnly == readOnly)
            return;
        impl.readOnly = readOnly;
    }
    impl.onViewStateChanged.Raise(ViewState(view));
}

uint32_t ViewState(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    std::lock_guard<std::mutex> lock(impl.mutex);
    return impl.readOnly ? BLViewState::kReadOnly : 0;
}

AnnotationBlock AnnotationsBlocked(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);
    if (ViewState(view) & BLViewState::kReadOnly)
        return AnnotationBlock::kReadOnlyView;
    if (!(Permissions(impl.document.get()) & kFolioPermitAnnotate))
        return AnnotationBlock::kForbiddenByDocument;
    return AnnotationBlock::kNone;
}

bool ActivateTool(ServiceObject* view, const std::string& toolName,
                  const MarkupToolParams& params) {
    ViewOf(view);
    const SLAtom tool = AtomOf(toolName.c_str());
    ObjectPtr service = SP::GetServiceObject(AtomOf("BLService"), "BLService");
    ObjectPtr registry, handler;
    SODetails::CallChecked<BLServiceOps::GetInputHandlerRegistry>(service.get(),
                                                                  registry.Receive());
    const auto made = SODetails::TryCall<BLInputHandlerRegistryOps::CreateToolHandler>(
        registry.get(), tool, handler.Receive());
    if (!made || *made != kOk || !handler)
        return false;
    SODetails::CallChecked<BLInputHandlerOps::Initialize>(handler.get(), view, &params);
    SODetails::CallChecked<BLDocumentViewOps::SetActiveTool>(view, tool, handler.get());
    return true;
}

bool DispatchInput(ServiceObject* view, uint32_t type, uint32_t button, SL::PointI point) {
    const ObjectPtr tool = ActiveTool(view);
    if (!tool)
        return false;
    const BLInputEvent event{type, button, point};
    bool handled = false;
    SODetails::CallChecked<BLInputHandlerOps::HandleEvent>(tool.get(), &event, &handled);
    bool finished = false;
    SODetails::CallChecked<BLInputHandlerOps::IsFinished>(tool.get(), &finished);
    if (finished)
        SODetails::CallChecked<BLDocumentViewOps::EndActiveTool>(view, false);
    return handled;
}

// The page's layout entry, or std::out_of_range.
PageLayout LayoutOf(ViewImpl& impl, uint64_t page, const char* caller) {
    std::lock_guard<std::mutex> lock(impl.mutex);
    const std::vector<PageLayout>& pages = impl.CurrentLayout();
    if (page >= pages.size())
        throw std::out_of_range(std::string(caller) + ": no such page");
    return pages[page];
}

Image RenderPage(ServiceObject* view, uint64_t page) {
    ViewImpl& impl = ViewOf(view);
    const PageLayout shown = LayoutOf(impl, page, "RenderPage");
    Image image;
    image.width = shown.width;
    image.height = shown.height;
    image.rgba.assign(static_cast<std::size_t>(shown.width) * shown.height * 4, 0xFF);
    PageHandle handle;
    if (FolioDocumentLoadPage(impl.documentImpl->document, page, handle.Receive()) != kPDOk ||
        FolioPageRenderInto(handle.get(), Zoom(view), image.rgba.data(), image.width,
                            image.height, 0, 0) != kPDOk)
        throw std::runtime_error("page " + std::to_string(page + 1) + " cannot be rendered: " +
                                 FolioLastErrorMessage());
    return image;
}

std::vector<PaintedFill> RecordPageDrawing(ServiceObject* view, uint64_t page) {
    ViewImpl& impl = ViewOf(view);
    const PageLayout shown = LayoutOf(impl, page, "RecordPageDrawing");
    auto recording = std::make_shared<std::vector<PaintedFill>>();
    ObjectPtr target = ObjectPtr::Adopt(NewRecordingTarget(recording, shown.pageToShown));
    for (const auto& entry : impl.onDrawPageView.Subscribers())
        entry->invoke(0, page, ObjectPtr(target).Detach(), entry->context);
    return std::move(*recording);
}

Image Draw(ServiceObject* view) {
    ViewImpl& impl = ViewOf(view);

    struct Shown {
        uint64_t index;
        Affine pageToDevice;
        SL::RectI rect;
    };
    std::vector<Shown> shown;
    for (uint64_t index : VisiblePages(view)) {
        Shown page{index, {}, PageDeviceRect(view, index)};
        if (impl.PageToDevice(index, page.pageToDevice))
            shown.push_back(page);
    }

    // The image is written once, grey row by grey row; the pages are drawn
    // straight into it. One that cannot be rendered shows the background.
    auto image = std::make_shared<Image>();
    image->width = impl.width;
    image->height = impl.height;
    const std::vector<uint8_t> grey = GreyRow(impl.width);
    image->rgba.reserve(grey.size() * impl.height);
    for (int32_t y = 0; y < impl.height; ++y)
        image->rgba.insert(image->rgba.end(), grey.begin(), grey.end());
    for (const Shown& page : shown) {
        PageHandle handle;
        if (FolioDocumentLoadPage(impl.documentImpl->document, page.index, handle.Receive()) != kPDOk ||
            FolioPageRenderInto(handle.get(), Zoom(view), image->rgba.data(), image->width,
                                image->height, page.rect.x0, page.rect.y0) != kPDOk)
            PaintGrey(*image, grey, page.rect);
    }

    // Layer 0 of each page: every handler gets a render target reference
    // of its own, which it releases.
    for (const Shown& page : shown) {
        const SL::RectI clip{std::max(0, page.rect.x0), std::max(0, page.rect.y0),
                             std::min(image->width, page.rect.x1),
                             std::min(image->height, page.rect.y1)};
        ObjectPtr target = ObjectPtr::Adopt(NewRenderTarget(image, page.pageToDevice, clip));
        for (const auto& entry : impl.onDrawPageView.Subscribers())
            entry->invoke(0, page.index, ObjectPtr(target).Detach(), entry->context);
    }

    {
        std::lock_guard<std::mutex> lock(impl.mutex);
        impl.dirty = false;
    }
    // A handler that kept its render target still shares the image.
    if (image.use_count() == 1)
        return std::move(*image);
    return *image;
}

} // namespace HostBL
