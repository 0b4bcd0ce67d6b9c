#include "MarkupDriver.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "ProgressLine.h"
#include "hostbl/HostBL.h"

namespace {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
namespace Input = BLInputEventTypes;

// Pointers are kept this far inside the viewport's edges.
constexpr int32_t kEdgeMargin = 8;

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

MarkupDriver::MarkupDriver(ServiceObject* document, DocumentText& text, ServiceObject* view,
                           const ViewGeometry& geometry)
    : document_(ObjectPtr::Share(document)), text_(text), view_(ObjectPtr::Share(view)),
      viewport_{geometry.width, geometry.height} {}

void MarkupDriver::Finish() {
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

namespace {

// The unit vector of a glyph's reading direction (left to right when the
// glyph has no width).
PDPointF ReadingDirection(const PDQuadF& quad) {
    const PDPointF leading = Mid(quad.p0, quad.p2), trailing = Mid(quad.p1, quad.p3);
    const float dx = trailing.x - leading.x, dy = trailing.y - leading.y;
    const float length = std::hypot(dx, dy);
    if (length > 0)
        return {dx / length, dy / length};
    return {1, 0};
}

} // namespace

SL::PointI MarkupDriver::JustInside(uint64_t page, const PDQuadF& quad, const PDQuadF* previous) {
    // Walk from the middle of the glyph's leading edge into the glyph to the
    // first pixel that the view maps into it and not into the glyph before
    // (kerned glyphs overlap). A press there is on the glyph for the markup
    // tool, and before it for a text tool that places a caret on the nearer
    // side of the glyph's middle (a press at the middle itself could round
    // either way).
    const PDPointF leading = Mid(quad.p0, quad.p2), centre = QuadCentre(quad);
    const PDPointF d = ReadingDirection(quad);
    const float halfWidth = std::hypot(centre.x - leading.x, centre.y - leading.y);
    const SL::PointI middle = Show(page, {centre.x, centre.y});
    for (float step = 0.25f; step < halfWidth; step += 0.25f) {
        const SL::PointI device = HostBL::PageToDevice(
            view_.get(), page, {leading.x + d.x * step, leading.y + d.y * step});
        const SL::PointF seen = HostBL::DeviceToPage(view_.get(), page, device);
        if (QuadContains(quad, {seen.x, seen.y}) &&
            !(previous && QuadContains(*previous, {seen.x, seen.y})))
            return InsideViewport(device);
    }
    return middle;
}

SL::PointI MarkupDriver::JustPast(uint64_t page, const PDQuadF& quad) {
    // Walk from the middle of the glyph's trailing edge along the reading
    // direction to the first pixel that the view no longer maps into the
    // glyph: the tool then puts the selection's end right after it.
    const PDPointF trailing = Mid(quad.p1, quad.p3);
    const PDPointF d = ReadingDirection(quad);
    const float dx = d.x, dy = d.y;
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
                               FileOut::OutputFile* snapshot,
                               const std::function<void()>& afterRelease) {
    return DragBetween(
        from.page, Show(from.page, from.point), to.page, [&] { return Show(to.page, to.point); },
        snapshot, afterRelease);
}

DragOutcome MarkupDriver::DragOver(const PhraseMatch& match, FileOut::OutputFile* snapshot,
                                   const std::function<void()>& afterRelease) {
    // Copies: the page texts are a cache, which the next page's may evict.
    const std::vector<PageChar>& firstPageChars = text_.Chars(match.first.page);
    const PDQuadF first = firstPageChars.at(match.first.index).quad;
    const std::optional<PDQuadF> previous =
        match.first.index > 0 ? std::optional(firstPageChars[match.first.index - 1].quad)
                              : std::nullopt;
    const PDQuadF last = text_.Chars(match.last.page).at(match.last.index).quad;
    return DragBetween(
        match.first.page, JustInside(match.first.page, first, previous ? &*previous : nullptr),
        match.last.page,
        [&] { return JustPast(match.last.page, last); }, snapshot, afterRelease);
}

DragOutcome MarkupDriver::DragBetween(uint64_t fromPage, SL::PointI fromDevice, uint64_t toPage,
                                      const std::function<SL::PointI()>& toDevice,
                                      FileOut::OutputFile* snapshot,
                                      const std::function<void()>& afterRelease) {
    const uint64_t firstPage = std::min(fromPage, toPage), lastPage = std::max(fromPage, toPage);
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
    const int direction = toPage >= fromPage ? 1 : -1;
    ProgressLine progress("dragging over page", lastPage - firstPage + 1);
    for (uint64_t page = fromPage; page != toPage; page += direction) {
        progress.Update(page > fromPage ? page - fromPage : fromPage - page);
        if (page == fromPage)
            continue;
        const PDRectF box = text_.Info(page).cropBox;
        const SL::PointI middle = Show(page, {(box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2});
        HostBL::DispatchInput(view, Input::kMouseMove, Input::kLeftButton, middle);
    }
    const SL::PointI end = toDevice();
    if (toPage == fromPage) {
        const SL::PointI halfway{(fromDevice.x + end.x) / 2, (fromDevice.y + end.y) / 2};
        HostBL::DispatchInput(view, Input::kMouseMove, Input::kLeftButton, halfway);
    }
    HostBL::DispatchInput(view, Input::kMouseMove, Input::kLeftButton, end);
    if (snapshot)
        WriteSnapshot(toPage, *snapshot);
    progress.Done();
    HostBL::DispatchInput(view, Input::kButtonUp, Input::kLeftButton, end);
    if (afterRelease)
        afterRelease();

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
