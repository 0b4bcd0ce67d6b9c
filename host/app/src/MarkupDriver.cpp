#include "MarkupDriver.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

#include "ProgressLine.h"
#include "hostbl/HostBL.h"

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
namespace Input = BLInputEventTypes;

// Pixels per page unit: fine enough to put the pointer between two narrow
// glyphs, small enough that a whole page fits into the viewport image.
constexpr float kPreferredZoom = 2.0f;
constexpr float kLargestViewport = 3000.0f;
// Pointers are kept this far inside the viewport's edges.
constexpr int32_t kEdgeMargin = 8;

// The zoom at which the largest page fits into the largest viewport. A page
// that cannot be read is shown empty; only a drag over it fails.
float ViewZoom(DocumentText& text, int32_t& width, int32_t& height) {
    float largest = 1;
    for (uint64_t page = 0; page < text.PageCount(); ++page) {
        PDRectF box{};
        try {
            box = text.Info(page).cropBox;
        } catch (const std::runtime_error&) {
            continue;
        }
        largest = std::max({largest, box.x1 - box.x0, box.y1 - box.y0});
    }
    const float zoom = std::min(kPreferredZoom, kLargestViewport / largest);
    width = height = static_cast<int32_t>(std::ceil(largest * zoom)) + 2 * HostBL::kPageGap;
    return zoom;
}

PDPointF Mid(PDPointF a, PDPointF b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

} // namespace

std::wstring DragOutcome::CoveredText() const {
    std::wstring all;
    for (const CreatedAnnot& annot : annots)
        all += annot.text + L" ";
    return NormalisedText(all);
}

MarkupDriver::MarkupDriver(ServiceObject* document, DocumentText& text, uint32_t subtype,
                           uint32_t color)
    : document_(ObjectPtr::Share(document)), text_(text) {
    const float zoom = ViewZoom(text, viewport_.x, viewport_.y);
    view_ = HostBL::CreateView(document, viewport_.x, viewport_.y, zoom);
    if (!HostBL::ActivateTool(view_.get(), kToolName, MarkupToolParams{subtype, color}))
        throw std::runtime_error(std::string("no plug-in offers the markup tool \"") + kToolName +
                                 "\"; 'vellum info' shows which plug-ins started");
}

MarkupDriver::~MarkupDriver() {
    try {
        Finish();
    } catch (...) {
        // The view ends its tool when it goes; nothing is lost here.
    }
}

void MarkupDriver::Finish() {
    if (finished_)
        return;
    finished_ = true;
    HostBL::DispatchInput(view_.get(), Input::kButtonUp, Input::kFinishButton,
                          {viewport_.x / 2, viewport_.y / 2});
}

SL::PointI MarkupDriver::Show(uint64_t page, SL::PointF point) {
    SL::PointI device = HostBL::PageToDevice(view_.get(), page, point);
    if (device.y < kEdgeMargin || device.y >= viewport_.y - kEdgeMargin) {
        // Text far off its page lies far off the view in pixels too: the sum
        // is taken in 64 bits, and the view clamps the position to its pages.
        const int64_t wanted =
            int64_t{HostBL::ScrollPosition(view_.get())} + device.y - viewport_.y / 2;
        HostBL::ScrollTo(view_.get(),
                         static_cast<int32_t>(std::clamp<int64_t>(wanted, INT32_MIN, INT32_MAX)));
        device = HostBL::PageToDevice(view_.get(), page, point);
    }
    return InsideViewport(device);
}

// A pointer cannot leave the view: text shown beyond it (off its page) is
// pointed at from the nearest edge, where the drag then misses it.
SL::PointI MarkupDriver::InsideViewport(SL::PointI device) const {
    return {std::clamp(device.x, 0, viewport_.x - 1), std::clamp(device.y, 0, viewport_.y - 1)};
}

SL::PointI MarkupDriver::JustPast(uint64_t page, const PDQuadF& quad) {
    // Walk from the middle of the glyph's trailing edge along the reading
    // direction to the first pixel that the view no longer maps into the
    // glyph: the tool then puts the selection's end right after it.
    const PDPointF leading = Mid(quad.p0, quad.p2);
    const PDPointF trailing = Mid(quad.p1, quad.p3);
    float dx = trailing.x - leading.x, dy = trailing.y - leading.y;
    const float length = std::hypot(dx, dy);
    if (length > 0) {
        dx /= length;
        dy /= length;
    } else {
        dx = 1;
        dy = 0;
    }
    SL::PointI device = Show(page, {trailing.x, trailing.y});
    for (float step = 0.25f; step <= 4.0f; step += 0.25f) {
        device = HostBL::PageToDevice(view_.get(), page,
                                      {trailing.x + dx * step, trailing.y + dy * step});
        const SL::PointF seen = HostBL::DeviceToPage(view_.get(), page, device);
        if (!QuadContains(quad, {seen.x, seen.y}))
            break;
    }
    return InsideViewport(device);
}

std::vector<uint64_t> MarkupDriver::AnnotCounts(uint64_t firstPage, uint64_t lastPage) {
    std::vector<uint64_t> counts;
    for (uint64_t page = firstPage; page <= lastPage; ++page)
        counts.push_back(HostBL::PageAnnotCount(document_.get(), page));
    return counts;
}

void MarkupDriver::UndoLastDrag() {
    if (!HostBL::Undo(document_.get()))
        throw std::runtime_error("nothing to undo");
}

void MarkupDriver::WriteSnapshot(uint64_t page, FileOut::OutputFile& out) {
    const HostBL::Image view = HostBL::Draw(view_.get());
    const SL::RectI shown = HostBL::PageDeviceRect(view_.get(), page);
    const int32_t x0 = std::max(0, shown.x0), y0 = std::max(0, shown.y0);
    const int32_t x1 = std::min(view.width, shown.x1), y1 = std::min(view.height, shown.y1);
    HostBL::Image cropped;
    cropped.width = std::max(0, x1 - x0);
    cropped.height = std::max(0, y1 - y0);
    for (int32_t y = y0; y < y1; ++y) {
        const auto row = view.rgba.begin() + (static_cast<std::size_t>(y) * view.width + x0) * 4;
        cropped.rgba.insert(cropped.rgba.end(), row, row + cropped.width * 4);
    }
    HostBL::WritePNG(cropped, out);
}

DragOutcome MarkupDriver::Drag(const PagePoint& from, const PagePoint& to,
                               FileOut::OutputFile* snapshot) {
    return DragBetween(
        from, Show(from.page, from.point), to.page, [&] { return Show(to.page, to.point); },
        snapshot);
}

DragOutcome MarkupDriver::DragOver(const PhraseMatch& match, FileOut::OutputFile* snapshot) {
    const PDQuadF first = text_.Chars(match.first.page).at(match.first.index).quad;
    const PDQuadF last = text_.Chars(match.last.page).at(match.last.index).quad;
    const PDPointF centre = QuadCentre(first);
    const PagePoint from{match.first.page, {centre.x, centre.y}};
    return DragBetween(
        from, Show(from.page, from.point), match.last.page,
        [&] { return JustPast(match.last.page, last); }, snapshot);
}

DragOutcome MarkupDriver::DragBetween(const PagePoint& from, SL::PointI fromDevice, uint64_t toPage,
                                      const std::function<SL::PointI()>& toDevice,
                                      FileOut::OutputFile* snapshot) {
    const uint64_t firstPage = std::min(from.page, toPage), lastPage = std::max(from.page, toPage);
    const std::vector<uint64_t> before = AnnotCounts(firstPage, lastPage);
    const uint32_t stepsBefore = HostBL::UndoSteps(document_.get());
    ServiceObject* view = view_.get();

    DragOutcome outcome;
    outcome.pressedOnText =
        HostBL::DispatchInput(view, Input::kButtonDown, Input::kLeftButton, fromDevice);
    if (!outcome.pressedOnText) {
        HostBL::DispatchInput(view, Input::kButtonUp, Input::kLeftButton, fromDevice);
        return outcome;
    }
    // On the way to the end, the pointer crosses every page in between, as
    // the view scrolls under it.
    const int direction = toPage >= from.page ? 1 : -1;
    ProgressLine progress("dragging over page", lastPage - firstPage + 1);
    for (uint64_t page = from.page; page != toPage; page += direction) {
        progress.Update(page > from.page ? page - from.page : from.page - page);
        if (page == from.page)
            continue;
        const PDRectF box = text_.Info(page).cropBox;
        const SL::PointI middle = Show(page, {(box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2});
        HostBL::DispatchInput(view, Input::kMouseMove, Input::kLeftButton, middle);
    }
    const SL::PointI end = toDevice();
    if (toPage == from.page) {
        const SL::PointI halfway{(fromDevice.x + end.x) / 2, (fromDevice.y + end.y) / 2};
        HostBL::DispatchInput(view, Input::kMouseMove, Input::kLeftButton, halfway);
    }
    HostBL::DispatchInput(view, Input::kMouseMove, Input::kLeftButton, end);
    if (snapshot)
        WriteSnapshot(toPage, *snapshot);
    progress.Done();
    HostBL::DispatchInput(view, Input::kButtonUp, Input::kLeftButton, end);

    outcome.undoSteps = HostBL::UndoSteps(document_.get()) - stepsBefore;
    for (uint64_t page = firstPage; page <= lastPage; ++page) {
        const std::vector<PageChar>& chars = text_.Chars(page);
        for (HostBL::AnnotRecord& record :
             HostBL::PageAnnots(document_.get(), page, before[page - firstPage])) {
            CreatedAnnot annot{page, record.info, std::move(record.quads), {}};
            for (const PageChar& c : chars) {
                const PDPointF centre = QuadCentre(c.quad);
                if (std::any_of(annot.quads.begin(), annot.quads.end(),
                                [&](const PDQuadF& q) { return QuadContains(q, centre); }))
                    annot.text += c.text;
            }
            outcome.annots.push_back(std::move(annot));
        }
    }
    return outcome;
}
