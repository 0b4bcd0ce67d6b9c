// The markup tool's model of a text selection in one document: a cache of
// the pages' texts, the two ends of the selection, and character hit tests.
#pragma once

#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "pdmodel-proxy/CharRunIndex.h"
#include "pdmodel-proxy/PageText.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/EventSubscription.h"
#include "service-common/SLGeometry.h"

namespace BL {

// A caret position: a page and the index of the character it stands
// before. Positions order by page, then by index.
struct TextPosition {
    static constexpr uint64_t kNoPage = ~0ull;

    uint64_t page = kNoPage;
    uint64_t index = 0;

    bool HasPage() const { return page != kNoPage; }
};

inline bool operator==(const TextPosition& a, const TextPosition& b) {
    return a.page == b.page && a.index == b.index;
}
inline bool operator!=(const TextPosition& a, const TextPosition& b) {
    return !(a == b);
}
inline bool operator<(const TextPosition& a, const TextPosition& b) {
    return a.page < b.page || (a.page == b.page && a.index < b.index);
}
inline bool operator>(const TextPosition& a, const TextPosition& b) {
    return b < a;
}
inline bool operator<=(const TextPosition& a, const TextPosition& b) {
    return !(b < a);
}
inline bool operator>=(const TextPosition& a, const TextPosition& b) {
    return !(a < b);
}

// Whether q lies in the quad (outline p0 -> p1 -> p3 -> p2). Points on the
// outline, within 0.0001, are inside.
bool QuadContainsPoint(const SL::Quad& quad, const SL::PointF& q);

// The smallest distance from q to the quad's edges p0 -> p1, p1 -> p3,
// p3 -> p2 and p2 -> p0.
float DistanceToOutline(const SL::Quad& quad, const SL::PointF& q);

// The first character of `text`, in index order, whose quad contains q.
// Only the runs of `runs` (made from `text`) that may hold q are read.
std::optional<uint64_t> FindCharContaining(const PDModel::PageText& text,
                                           const PDModel::CharRunIndex& runs, const SL::PointF& q);

// Among the characters of `text` whose bounding box overlaps `rect`
// (minimum corner first) on both axes by a positive amount, the one whose
// outline is nearest to q; the lower index wins a tie. None when no
// distance comes below the largest finite float. Runs that cannot hold a
// candidate, or one nearer than the best so far, are not read.
std::optional<uint64_t> FindNearestCandidate(const PDModel::PageText& text,
                                             const PDModel::CharRunIndex& runs, const SL::PointF& q,
                                             const SL::RectF& rect);

class SelectCaret {
public:
    using SelectionStateSignal = boost::signals2::signal<void(unsigned int)>;

    // Keeps a reference to `document` and follows its page-content changes.
    explicit SelectCaret(ServiceObject* document);
    ~SelectCaret();
    SelectCaret(const SelectCaret&) = delete;
    SelectCaret& operator=(const SelectCaret&) = delete;

    ServiceObject* Document() const { return document_.get(); }

    // The page's text, from the cache or loaded through the document's page
    // object. The handle is null when the page has no loadable text.
    PDModel::PageText GetPageText(uint64_t page);

    // The character under the device point `point` of `view`. Writes it to
    // `out` (when given) and returns true; false when there is none. Throws
    // "Not initialized" when the page's text cannot be loaded.
    bool HitTestChar(ServiceObject* view, const SL::PointI& point, TextPosition* out);

    // The character of `page` whose outline is nearest to `point` among
    // those whose box overlaps `rect`; the lower index wins a tie. The
    // position written is after that character when the anchor lies before
    // it. Writes nothing when there is no anchor or no candidate.
    void FindNearestChar(uint64_t page, const SL::PointF& point, const SL::RectF& rect,
                         TextPosition* out);

    bool IsSelecting() const { return selecting_; }
    void SetSelecting(bool selecting) { selecting_ = selecting; }
    // The moving end of the selection.
    const TextPosition& Caret() const { return caret_; }
    void SetCaret(const TextPosition& caret) { caret_ = caret; }
    // The end fixed at the button press.
    const TextPosition& Anchor() const { return anchor_; }
    void SetAnchor(const TextPosition& anchor) { anchor_ = anchor; }
    // 1 when caret and anchor differ, as last computed by FireSelectionState.
    uint32_t HasSelection() const { return hasSelection_; }

    // Recomputes HasSelection() and fires the selection-state signal with it.
    void FireSelectionState();
    SelectionStateSignal& SelectionState() { return selectionState_; }

private:
    using RunIndexPtr = std::shared_ptr<const PDModel::CharRunIndex>;
    // A page's text and, once a search has needed it, the run index made
    // from it. Both go when the page's content changes.
    struct CachedPage {
        PDModel::PageText text;
        RunIndexPtr runs;
    };

    PDModel::PageText LoadPageText(uint64_t page);
    // The run index of `text`, the cached text of `page`: made on first use
    // (outside the lock, like a page text) and kept beside the text.
    RunIndexPtr RunIndexOf(uint64_t page, const PDModel::PageText& text);
    void OnPageContentChanged(uint64_t page, const SL::RectF* rects, uint64_t count);

    SODetails::BasicServiceObjectPtr<> document_;
    std::mutex mutex_; // guards pageTextCache_ only
    std::map<uint64_t, CachedPage> pageTextCache_;
    bool selecting_ = false;
    TextPosition caret_;
    TextPosition anchor_;
    uint32_t hasSelection_ = 0;
    SelectionStateSignal selectionState_;
    std::vector<boost::shared_ptr<SOEvent::SubscriptionBase>> subscriptions_;
};

} // namespace BL
