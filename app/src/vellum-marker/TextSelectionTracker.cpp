#include "bl/internal/TextSelectionTracker.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

#include "PageAccess.h"
#include "bl/BLDocument.h"
#include "bl/GraphicsFactory.h"
#include "pdmodel-proxy/Page.h"
#include "service-common/BoundingRect.h"
#include "service-common/RectUnion.h"
#include "service-common/ServiceProvider.h"

namespace BL {

namespace {

using SODetails::BasicServiceObjectPtr;
using SODetails::CallChecked;

constexpr float kJoinTolerance = 0.1f;
constexpr double kRightAngleLow = 1.5706964;
constexpr double kRightAngleHigh = 1.5708964;
constexpr float kSameLineDelta = 2.0f;
constexpr uint16_t kLineFeed = 10;

float Length(const SL::PointF& a, const SL::PointF& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// Whether p lies on the line through a and b, within the join tolerance of
// the cross product.
bool OnLine(const SL::PointF& a, const SL::PointF& b, const SL::PointF& p) {
    const float lhs = (a.y - p.y) * (a.x - b.x);
    const float rhs = (a.x - p.x) * (a.y - b.y);
    return std::fabs(lhs - rhs) <= kJoinTolerance;
}

// CanJoinQuads with the bottom edges' lengths of `a` and `b` given; on a
// join, `joinedBottom` is that of the run `a` becomes (a.p2 to b.p3).
bool CanJoin(const SL::Quad& a, float aBottom, const SL::Quad& b, float bBottom,
             float* joinedBottom) {
    if (aBottom <= kJoinTolerance || bBottom <= kJoinTolerance)
        return false;
    if (!OnLine(a.p2, a.p3, b.p2) || !OnLine(a.p2, a.p3, b.p3))
        return false;
    if (!OnLine(a.p0, a.p1, b.p0) || !OnLine(a.p0, a.p1, b.p1))
        return false;
    *joinedBottom = Length(a.p2, b.p3);
    return *joinedBottom > aBottom;
}

double Angle(const SL::PointF& from, const SL::PointF& to) {
    return std::atan2(static_cast<double>(to.y) - from.y, static_cast<double>(to.x) - from.x);
}

// The turn from the direction vertex -> b to the direction vertex -> a,
// counter-clockwise in [0, 2 pi): a quarter for the corners of a quad
// whose outline runs clockwise in page space, as upright text does.
bool IsQuarterTurn(const SL::PointF& vertex, const SL::PointF& a, const SL::PointF& b) {
    constexpr double kFullTurn = 6.283185307179586;
    double turn = Angle(vertex, a) - Angle(vertex, b);
    if (turn < 0.0)
        turn += kFullTurn;
    return turn >= kRightAngleLow && turn <= kRightAngleHigh;
}

// Upright text gives quads whose edges run along the axes, p1 right of p0
// and p2 below it. For those the three angles come out of atan2 exactly as
// 0, +-pi/2 and pi (the differences of equal coordinates are +0), and
// every turn is pi/2 to the last bit: no need to ask atan2.
bool IsUprightRectangle(const SL::Quad& q) {
    return std::isfinite(q.p0.x) && std::isfinite(q.p0.y) && std::isfinite(q.p3.x) &&
           std::isfinite(q.p3.y) && q.p0.y == q.p1.y && q.p2.y == q.p3.y && q.p0.x == q.p2.x &&
           q.p1.x == q.p3.x && q.p1.x > q.p0.x && q.p0.y > q.p2.y;
}

void AddRectangle(ServiceObject* path, const SL::RectF& rect) {
    CallChecked<GRPathOps::AddRectangle>(path, &rect);
}

void AddFigure(ServiceObject* path, const SL::Quad& quad) {
    CallChecked<GRPathOps::BeginFigure>(path, &quad.p0);
    CallChecked<GRPathOps::AddLine>(path, &quad.p1);
    CallChecked<GRPathOps::AddLine>(path, &quad.p3);
    CallChecked<GRPathOps::AddLine>(path, &quad.p2);
    CallChecked<GRPathOps::EndFigure>(path, 1u);
}

// The selection's two ends, the smaller first.
std::pair<TextPosition, TextPosition> OrderedEnds(const SelectCaret& caret) {
    const TextPosition& a = caret.Anchor();
    const TextPosition& b = caret.Caret();
    return b < a ? std::make_pair(b, a) : std::make_pair(a, b);
}

// The crop box of a page of the document, through its page object.
SL::RectF CropBoxOf(ServiceObject* document, uint64_t page) {
    BasicServiceObjectPtr<> pageObject;
    CallChecked<BLDocumentOps::GetPage>(document, page, pageObject.Receive());
    PageAccess access(pageObject.get());
    PDFL::Page pdPage;
    CallChecked<BLPageOps::GetPDPage>(pageObject.get(), pdPage.Receive());
    const SL::RectF box = pdPage.GetCropBox();
    access.End();
    return box;
}

} // namespace

bool CanJoinQuads(const SL::Quad& a, const SL::Quad& b) {
    float joinedBottom = 0.0f;
    return CanJoin(a, Length(a.p2, a.p3), b, Length(b.p2, b.p3), &joinedBottom);
}

// Each bottom length is computed once: a quad's own when it is tested, and
// the joined run's, which the test computes anyway, when it joins.
std::vector<SL::Quad> JoinQuads(const std::vector<SL::Quad>& quads) {
    std::vector<SL::Quad> runs;
    if (quads.empty())
        return runs;
    SL::Quad run = quads.front();
    float runBottom = Length(run.p2, run.p3);
    for (std::size_t i = 1; i < quads.size(); ++i) {
        const SL::Quad& next = quads[i];
        const float nextBottom = Length(next.p2, next.p3);
        float joinedBottom = 0.0f;
        if (CanJoin(run, runBottom, next, nextBottom, &joinedBottom)) {
            run.p1 = next.p1;
            run.p3 = next.p3;
            runBottom = joinedBottom;
        } else {
            runs.push_back(run);
            run = next;
            runBottom = nextBottom;
        }
    }
    runs.push_back(run);
    return runs;
}

bool IsRightAngled(const SL::Quad& q) {
    if (IsUprightRectangle(q))
        return true;
    return IsQuarterTurn(q.p0, q.p1, q.p2) && IsQuarterTurn(q.p1, q.p3, q.p0) &&
           IsQuarterTurn(q.p3, q.p2, q.p1);
}

BasicServiceObjectPtr<> BuildSelectionGeometry(ServiceObject* factory,
                                               const std::vector<SL::Quad>& quads) {
    BasicServiceObjectPtr<> path;
    CallChecked<GRFactoryOps::CreatePath>(factory, path.Receive());
    if (!path)
        return path;
    SL::RectF pending{};
    std::size_t merged = 0;
    for (const SL::Quad& quad : quads) {
        if (!IsRightAngled(quad)) {
            if (merged > 0)
                AddRectangle(path.get(), pending);
            merged = 0;
            AddFigure(path.get(), quad);
            continue;
        }
        const SL::RectF box = SL::BoundingRect(quad);
        if (merged == 0) {
            pending = box;
        } else if (std::fabs(pending.y0 - box.y0) >= kSameLineDelta ||
                   std::fabs(pending.y1 - box.y1) >= kSameLineDelta || box.x0 <= pending.x0 ||
                   box.x1 <= pending.x1) {
            AddRectangle(path.get(), pending);
            pending = box;
        } else {
            pending = SL::Union(pending, box);
        }
        ++merged;
    }
    if (merged > 0)
        AddRectangle(path.get(), pending);
    return path;
}

TextSelectionTracker::TextSelectionTracker(ServiceObject* view, uint32_t color) : view_(view) {
    BasicServiceObjectPtr<> document;
    CallChecked<BLDocumentViewOps::GetDocument>(view_, document.Receive());
    caret_ = boost::make_shared<SelectCaret>(document.get());
    graphicsFactory_ = SP::GetServiceObject(GRFactoryOps::kFixedAtom, nullptr);
    CallChecked<GRFactoryOps::CreateSolidBrush>(graphicsFactory_.get(), color, brush_.Receive());
    auto subscription = SOEvent::Subscribe<BLDocumentViewEvents::OnDrawPageView>(
        view_, [this](BLDrawPageLayerType layer, uint64_t page, ServiceObject* target) {
            Draw(layer, page, target);
        });
    if (subscription)
        subscriptions_.push_back(std::move(subscription));
}

// Members go in reverse order: the graphics factory, the brush and the caret
// first, then the subscription, which unsubscribes.
TextSelectionTracker::~TextSelectionTracker() = default;

bool TextSelectionTracker::HitTestChar(const SL::PointI& point, TextPosition* out) {
    return caret_->HitTestChar(view_, point, out);
}

bool TextSelectionTracker::PagePoint(const SL::PointI& point, uint64_t* page,
                                     SL::PointF* pagePoint) {
    *page = BLDocumentViewOps::kNoPage;
    CallChecked<BLDocumentViewOps::PageFromPoint>(view_, &point, page);
    if (*page == BLDocumentViewOps::kNoPage)
        return false;
    CallChecked<BLDocumentViewOps::DeviceToPage>(view_, *page, &point, pagePoint);
    return true;
}

bool TextSelectionTracker::OnLButtonDown(const SL::PointI& point) {
    TextPosition hit;
    if (!HitTestChar(point, &hit))
        return false;

    // Where the hit character's line ends: the next line feed, or the
    // page's last character.
    const PDModel::PageText text = caret_->GetPageText(hit.page);
    const uint64_t count = text.GetNumChars();
    uint64_t lineEnd = hit.index;
    while (lineEnd + 1 < count) {
        const std::wstring unit = text.GetCharUnicode(lineEnd);
        if (!unit.empty() && static_cast<uint16_t>(unit[0]) == kLineFeed)
            break;
        ++lineEnd;
    }

    if (lineEnd == hit.index + 1) {
        // The last character of its line: let the nearest outline decide
        // whether the press lands before or after it.
        uint64_t page = 0;
        SL::PointF q{0.0f, 0.0f};
        if (!PagePoint(point, &page, &q))
            return false;
        caret_->SetCaret(hit);
        if (!caret_->IsSelecting())
            caret_->SetAnchor(hit);
        caret_->FindNearestChar(page, q, SweepRect(page, q), &hit);
        if (hit.index != 0 && hit.index < lineEnd)
            ++hit.index;
    }

    uint64_t pressPage = 0;
    SL::PointF pressPoint{0.0f, 0.0f};
    if (PagePoint(point, &pressPage, &pressPoint))
        pressPoint_ = pressPoint;

    caret_->SetCaret(hit);
    if (!caret_->IsSelecting())
        caret_->SetAnchor(hit);
    caret_->SetSelecting(true);
    caret_->FireSelectionState();
    return true;
}

SL::RectF TextSelectionTracker::SweepRect(uint64_t page, const SL::PointF& q) {
    const uint64_t anchorPage = caret_->Anchor().page;
    if (page == anchorPage) {
        const SL::PointF corners[2] = {q, pressPoint_};
        return SL::BoundingRect(corners, 2);
    }
    const SL::RectF crop = CropBoxOf(caret_->Document(), page);
    SL::RectI device{};
    CallChecked<BLDocumentViewOps::PageRectToDevice>(view_, page, &crop, &device);
    SL::PointI p{0, 0};
    CallChecked<BLDocumentViewOps::PageToDevice>(view_, page, &q, &p);
    // A later page is entered from its top edge, an earlier one from its bottom.
    const int32_t edgeY = page > anchorPage ? device.y0 : device.y1;
    const SL::RectI swept{std::min({p.x, device.x0, device.x1}), std::min(p.y, edgeY),
                          std::max({p.x, device.x0, device.x1}), std::max(p.y, edgeY)};
    SL::RectF rect{};
    CallChecked<BLDocumentViewOps::DeviceRectToPage>(view_, page, &swept, &rect);
    return rect;
}

TextSelectionTracker::IndexRange TextSelectionTracker::GetPageRange(uint64_t page,
                                                                    PDModel::PageText* text) {
    const auto ends = OrderedEnds(*caret_);
    if (page < ends.first.page || page > ends.second.page)
        return {};
    *text = caret_->GetPageText(page);
    const uint64_t from = page == ends.first.page ? ends.first.index : 0;
    const uint64_t to = page == ends.second.page ? ends.second.index : text->GetNumChars();
    // Checks the positions against the page's text, and orders them.
    const PDModel::PageText::Range range = text->GetRange(from, to);
    return {range.begin().Index(), range.end().Index()};
}

std::vector<SL::Quad> TextSelectionTracker::GetCharQuads(uint64_t page) {
    std::vector<SL::Quad> quads;
    PDModel::PageText text;
    const IndexRange range = GetPageRange(page, &text);
    if (range.from == range.to)
        return quads;
    // The range is checked; `text` holds the page text for the whole read,
    // so the quads are read without a reference per character.
    quads.reserve(range.to - range.from);
    for (uint64_t index = range.from; index < range.to; ++index)
        quads.push_back(text.GetCharQuad(index));
    return quads;
}

std::vector<SL::Quad> TextSelectionTracker::GetSelectionQuads(uint64_t page) {
    return JoinQuads(GetCharQuads(page));
}

void TextSelectionTracker::Draw(BLDrawPageLayerType layer, uint64_t page,
                                ServiceObject* renderTarget) {
    const BasicServiceObjectPtr<> target = BasicServiceObjectPtr<>::Adopt(renderTarget);
    if (!caret_->IsSelecting() || layer != 0)
        return;
    const auto ends = OrderedEnds(*caret_);
    if (page < ends.first.page || page > ends.second.page)
        return;
    // A page that cannot be painted now is painted with the next move; the
    // host's drawing goes on either way.
    try {
        const std::vector<SL::Quad> quads = GetCharQuads(page);
        if (quads.empty())
            return;
        const BasicServiceObjectPtr<> geometry =
            BuildSelectionGeometry(graphicsFactory_.get(), quads);
        if (geometry)
            CallChecked<GRRenderTargetOps::FillGeometry>(target.get(), geometry.get(),
                                                         brush_.get());
    } catch (...) {
    }
}

} // namespace BL
