#include "bl/internal/SelectCaret.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "PageAccess.h"
#include "bl/BLDocument.h"
#include "bl/BLDocumentView.h"
#include "pdmodel-proxy/Page.h"
#include "service-common/BoundingRect.h"
#include "service-common/SegmentDistance.h"
#include "service-common/ServiceObjectException.h"

namespace BL {

namespace {

using SODetails::CallChecked;

constexpr float kOnOutline = 0.0001f;

// A distance that DistanceToOutline cannot come below for any quad inside
// `box` (finite, within the run index's trusted range). Its nearest point
// on an edge can lie a few units in the last place outside the box, and
// every step of its float arithmetic rounds, so the box is widened and the
// result shrunk by far more than those errors. NaN gives 0: no bound.
double OutlineDistanceFloor(const SL::RectF& box, const SL::PointF& q) {
    const double slack = 1e-6 * std::max(std::max(std::fabs(box.x0), std::fabs(box.x1)),
                                         std::max(std::fabs(box.y0), std::fabs(box.y1)));
    const double dx = std::max(std::max(box.x0 - slack - q.x, q.x - (box.x1 + slack)), 0.0);
    const double dy = std::max(std::max(box.y0 - slack - q.y, q.y - (box.y1 + slack)), 0.0);
    const double d = std::sqrt(dx * dx + dy * dy) * (1.0 - 1e-5) - 1e-38;
    return d > 0.0 ? d : 0.0;
}

// A run waiting to be read by the nearest-character search, with the
// distance none of its characters can come below.
struct PendingRun {
    double floor;
    std::size_t run;
};

// Orders a heap of pending runs so that the smallest floor, then the lowest
// run, comes out first.
bool ComesLater(const PendingRun& a, const PendingRun& b) {
    return a.floor > b.floor || (a.floor == b.floor && a.run > b.run);
}

} // namespace

float DistanceToOutline(const SL::Quad& quad, const SL::PointF& q) {
    float d = SL::DistanceToSegment(q, quad.p0, quad.p1);
    d = std::min(d, SL::DistanceToSegment(q, quad.p1, quad.p3));
    d = std::min(d, SL::DistanceToSegment(q, quad.p3, quad.p2));
    d = std::min(d, SL::DistanceToSegment(q, quad.p2, quad.p0));
    return d;
}

std::optional<uint64_t> FindCharContaining(const PDModel::PageText& text,
                                           const PDModel::CharRunIndex& runs, const SL::PointF& q) {
    for (const PDModel::CharRunIndex::Run& run : runs.Runs()) {
        if (!run.MayHold(q))
            continue;
        for (uint64_t index = run.first; index < run.end; ++index) {
            if (QuadContainsPoint(text.GetCharQuad(index), q))
                return index;
        }
    }
    return std::nullopt;
}

// The runs are read nearest first, so the search can stop at the first run
// that cannot beat the best distance found. Ties between runs read out of
// order go to the lower index, which is what a walk in index order that
// only takes a strictly smaller distance keeps.
std::optional<uint64_t> FindNearestCandidate(const PDModel::PageText& text,
                                             const PDModel::CharRunIndex& runs, const SL::PointF& q,
                                             const SL::RectF& rect) {
    const std::vector<PDModel::CharRunIndex::Run>& all = runs.Runs();
    std::vector<PendingRun> pending;
    pending.reserve(all.size());
    for (std::size_t k = 0; k < all.size(); ++k) {
        if (all[k].MayOverlap(rect))
            pending.push_back({all[k].bounded ? OutlineDistanceFloor(all[k].box, q) : 0.0, k});
    }
    std::make_heap(pending.begin(), pending.end(), ComesLater);

    float best = FLT_MAX;
    std::optional<uint64_t> nearest;
    while (!pending.empty()) {
        std::pop_heap(pending.begin(), pending.end(), ComesLater);
        const PendingRun next = pending.back();
        pending.pop_back();
        if (next.floor > best)
            break; // nor can any run after it
        const PDModel::CharRunIndex::Run& run = all[next.run];
        for (uint64_t index = run.first; index < run.end; ++index) {
            const SL::Quad quad = text.GetCharQuad(index);
            const SL::RectF box = SL::BoundingRect(quad);
            if (!SL::OverlapsStrictly(rect, box))
                continue;
            if (run.bounded && OutlineDistanceFloor(box, q) > best)
                continue;
            const float d = DistanceToOutline(quad, q);
            if (d < best || (d == best && nearest && index < *nearest)) {
                best = d;
                nearest = index;
            }
        }
    }
    return nearest;
}

bool QuadContainsPoint(const SL::Quad& quad, const SL::PointF& q) {
    if (!SL::HoldsPoint(SL::BoundingRect(quad), q))
        return false;
    const SL::PointF* vertices[4] = {&quad.p0, &quad.p1, &quad.p2, &quad.p3};
    for (const SL::PointF* v : vertices) {
        if (v->x == q.x && v->y == q.y)
            return true;
    }
    // The outline, in order.
    const SL::PointF* edges[4][2] = {
        {&quad.p0, &quad.p1}, {&quad.p1, &quad.p3}, {&quad.p3, &quad.p2}, {&quad.p2, &quad.p0}};
    for (const auto& edge : edges) {
        if (std::fabs(SL::DistanceToSegment(q, *edge[0], *edge[1])) <= kOnOutline)
            return true;
    }
    // Even-odd rule with a ray towards +x.
    bool inside = false;
    for (const auto& edge : edges) {
        const SL::PointF& a = *edge[0];
        const SL::PointF& b = *edge[1];
        if ((a.y > q.y) != (b.y > q.y) && (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x > q.x)
            inside = !inside;
    }
    return inside;
}

SelectCaret::SelectCaret(ServiceObject* document)
    : document_(SODetails::BasicServiceObjectPtr<>::Share(document)) {
    FireSelectionState();
    auto subscription = SOEvent::Subscribe<BLDocumentEvents::OnPageContentChanged>(
        document_.get(), [this](uint64_t page, const SL::RectF* rects, uint64_t count) {
            OnPageContentChanged(page, rects, count);
        });
    if (subscription)
        subscriptions_.push_back(subscription);
}

SelectCaret::~SelectCaret() {
    // End the subscription before the cache it erases from goes away.
    subscriptions_.clear();
}

void SelectCaret::FireSelectionState() {
    hasSelection_ = caret_ != anchor_ ? 1 : 0;
    selectionState_(hasSelection_);
}

void SelectCaret::OnPageContentChanged(uint64_t page, const SL::RectF*, uint64_t) {
    std::lock_guard<std::mutex> lock(mutex_);
    pageTextCache_.erase(page);
}

PDModel::PageText SelectCaret::GetPageText(uint64_t page) {
    PDModel::PageText text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = pageTextCache_.find(page);
        if (found != pageTextCache_.end())
            text = found->second.text;
    }
    if (text)
        return text;

    // Loaded without the lock: racing callers may both load, and the later
    // load replaces the earlier entry.
    text = LoadPageText(page);

    std::lock_guard<std::mutex> lock(mutex_);
    auto found = pageTextCache_.find(page);
    if (found != pageTextCache_.end())
        found->second = CachedPage{text, nullptr};
    else
        pageTextCache_.emplace(page, CachedPage{text, nullptr});
    return text;
}

SelectCaret::RunIndexPtr SelectCaret::RunIndexOf(uint64_t page, const PDModel::PageText& text) {
    // An entry belongs to `text` when it holds the same handle: `text` keeps
    // that handle alive, so no other text can have taken its address.
    const auto holdsText = [&](std::map<uint64_t, CachedPage>::iterator found) {
        return found != pageTextCache_.end() && found->second.text.get() == text.get();
    };
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = pageTextCache_.find(page);
        if (holdsText(found) && found->second.runs)
            return found->second.runs;
    }
    auto runs = std::make_shared<const PDModel::CharRunIndex>(text);
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = pageTextCache_.find(page);
    if (holdsText(found) && !found->second.runs)
        found->second.runs = runs;
    return runs;
}

PDModel::PageText SelectCaret::LoadPageText(uint64_t page) {
    SODetails::BasicServiceObjectPtr<> pageObject;
    CallChecked<BLDocumentOps::GetPage>(document_.get(), page, pageObject.Receive());
    PageAccess access(pageObject.get());
    PDModel::PageText text;
    {
        PDFL::Page pdPage;
        CallChecked<BLPageOps::GetPDPage>(pageObject.get(), pdPage.Receive());
        // A failed load leaves the handle null; that is the answer.
        PDPageLoadPageText(pdPage.get(), text.Receive());
    }
    access.End();
    return text;
}

bool SelectCaret::HitTestChar(ServiceObject* view, const SL::PointI& point, TextPosition* out) {
    uint64_t page = TextPosition::kNoPage;
    CallChecked<BLDocumentViewOps::PageFromPoint>(view, &point, &page);
    if (page == TextPosition::kNoPage)
        return false;
    SL::PointF q{0.0f, 0.0f};
    CallChecked<BLDocumentViewOps::DeviceToPage>(view, page, &point, &q);

    const PDModel::PageText text = GetPageText(page);
    if (!text)
        throw ServiceObjectException(SODetails::kNotAvailable, L"Not initialized",
                                     FailureSites::kHitTestChar);
    const std::optional<uint64_t> hit = FindCharContaining(text, *RunIndexOf(page, text), q);
    if (!hit)
        return false;
    if (out)
        *out = TextPosition{page, *hit};
    return true;
}

void SelectCaret::FindNearestChar(uint64_t page, const SL::PointF& point, const SL::RectF& rect,
                                  TextPosition* out) {
    if (!anchor_.HasPage())
        return;
    // A drag that has not moved along an axis still sweeps a sliver.
    SL::RectF r = rect;
    if (r.x1 - r.x0 == 0.0f) {
        r.x0 -= 0.005f;
        r.x1 += 0.005f;
    }
    if (r.y1 - r.y0 == 0.0f) {
        r.y0 += 0.005f;
        r.y1 -= 0.005f;
    }
    r = SL::Ordered(r);

    const PDModel::PageText text = GetPageText(page);
    const std::optional<uint64_t> nearest =
        FindNearestCandidate(text, *RunIndexOf(page, text), point, r);
    if (!nearest)
        return;
    TextPosition result{page, *nearest};
    if (anchor_.page < page || (anchor_.page == page && anchor_.index < *nearest))
        result.index = *nearest + 1;
    if (out)
        *out = result;
}

} // namespace BL
