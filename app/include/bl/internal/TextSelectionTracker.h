// The markup tool's live text selection: the caret that holds its two ends,
// the press handling that anchors it, the run quads of each page for the
// annotations, and the painting of the selection while the button is held.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <vector>

#include "bl/BLDocumentView.h"
#include "bl/internal/SelectCaret.h"
#include "pdmodel-proxy/PageText.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/EventSubscription.h"
#include "service-common/SLGeometry.h"

namespace BL {

// Whether quad `b` continues the run `a` on the same line: both bottom
// edges longer than 0.1, b's top and bottom edges on the lines of a's
// (within 0.1), and b reaching beyond a's end.
bool CanJoinQuads(const SL::Quad& a, const SL::Quad& b);

// Joins consecutive character quads into runs. A run keeps its first quad's
// p0 and p2 and takes p1 and p3 of the last quad it joined.
std::vector<SL::Quad> JoinQuads(const std::vector<SL::Quad>& quads);

// Whether the quad's corners are right angles (within 0.0001 radians).
bool IsRightAngled(const SL::Quad& quad);

// A path of the graphics factory that covers `quads`: right-angled quads as
// rectangles, those of one line merged while they advance to the right;
// other quads as closed figures p0 -> p1 -> p3 -> p2. Empty when the
// factory gives no path.
SODetails::BasicServiceObjectPtr<> BuildSelectionGeometry(ServiceObject* factory,
                                                          const std::vector<SL::Quad>& quads);

class TextSelectionTracker {
public:
    // Makes the caret for the view's document, the brush of `color`, and
    // subscribes to the view's page drawing. Failing host calls throw.
    TextSelectionTracker(ServiceObject* view, uint32_t color);
    ~TextSelectionTracker();
    TextSelectionTracker(const TextSelectionTracker&) = delete;
    TextSelectionTracker& operator=(const TextSelectionTracker&) = delete;

    SelectCaret& Caret() { return *caret_; }

    // A left press at the device point: anchors (or, during a drag, moves)
    // the selection at the character under it. False when there is none.
    bool OnLButtonDown(const SL::PointI& point);

    // The character under the device point; see SelectCaret::HitTestChar.
    bool HitTestChar(const SL::PointI& point, TextPosition* out);

    // The page under the device point and the point in its page space.
    // False when the point is on no page (or the view cannot tell).
    bool PagePoint(const SL::PointI& point, uint64_t* page, SL::PointF* pagePoint);

    // The page-space rectangle swept by a drag to `q` on `page`: from the
    // press point on the anchor's page; on a later page from its top edge,
    // on an earlier one from its bottom edge, across the page's width.
    SL::RectF SweepRect(uint64_t page, const SL::PointF& q);

    // The character positions of `page` inside the selection, smaller first.
    // Empty (both zero) when the page lies outside it.
    struct IndexRange {
        uint64_t from = 0;
        uint64_t to = 0;
    };
    IndexRange GetPageRange(uint64_t page, PDModel::PageText* text);

    // The quads of the page's selected characters, one per character.
    std::vector<SL::Quad> GetCharQuads(uint64_t page);
    // The same joined into runs: what an annotation of the page covers.
    std::vector<SL::Quad> GetSelectionQuads(uint64_t page);

    // Paints the selection on a page layer while a drag is in progress. The
    // render target comes with a reference that this releases.
    void Draw(BLDrawPageLayerType layer, uint64_t page, ServiceObject* renderTarget);

private:
    ServiceObject* view_;
    std::vector<boost::shared_ptr<SOEvent::SubscriptionBase>> subscriptions_;
    boost::shared_ptr<SelectCaret> caret_;
    SODetails::BasicServiceObjectPtr<> brush_;
    SODetails::BasicServiceObjectPtr<> graphicsFactory_;
    SL::PointF pressPoint_{0.0f, 0.0f};
};

} // namespace BL
