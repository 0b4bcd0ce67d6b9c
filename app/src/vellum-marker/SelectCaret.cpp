#include "bl/internal/SelectCaret.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

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

// The smallest distance from q to the quad's four edges.
float DistanceToOutline(const SL::Quad& quad, const SL::PointF& q) {
    float d = SL::DistanceToSegment(q, quad.p0, quad.p1);
    d = std::min(d, SL::DistanceToSegment(q, quad.p1, quad.p3));
    d = std::min(d, SL::DistanceToSegment(q, quad.p3, quad.p2));
    d = std::min(d, SL::DistanceToSegment(q, quad.p2, quad.p0));
    return d;
}

} // namespace

bool QuadContainsPoint(const SL::Quad& quad, const SL::PointF& q) {
    const SL::RectF box = SL::BoundingRect(quad);
    if (q.x < box.x0 || q.x > box.x1 || q.y < box.y0 || q.y > box.y1)
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
            text = found->second;
    }
    if (text)
        return text;

    // Loaded without the lock: racing callers may both load, and the later
    // load replaces the earlier entry.
    text = LoadPageText(page);

    std::lock_guard<std::mutex> lock(mutex_);
    auto found = pageTextCache_.find(page);
    if (found != pageTextCache_.end())
        found->second = text;
    else
        pageTextCache_.emplace(page, text);
    return text;
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
    const PDModel::PageText::Iterator end = text.end();
    for (PDModel::PageText::Iterator it = text.begin(); it != end; ++it) {
        if (QuadContainsPoint(*it, q)) {
            if (out)
                *out = TextPosition{page, it.Index()};
            return true;
        }
    }
    return false;
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
    float best = FLT_MAX;
    bool found = false;
    uint64_t nearest = 0;
    const PDModel::PageText::Iterator end = text.end();
    for (PDModel::PageText::Iterator it = text.begin(); it != end; ++it) {
        const SL::Quad quad = *it;
        const SL::RectF box = SL::BoundingRect(quad);
        if (!(r.x0 < box.x1 && r.y0 < box.y1 && box.x0 < r.x1 && box.y0 < r.y1))
            continue;
        const float d = DistanceToOutline(quad, point);
        if (d < best) {
            best = d;
            nearest = it.Index();
            found = true;
        }
    }
    if (!found)
        return;
    TextPosition result{page, nearest};
    if (anchor_.page < page || (anchor_.page == page && anchor_.index < nearest))
        result.index = nearest + 1;
    if (out)
        *out = result;
}

} // namespace BL
