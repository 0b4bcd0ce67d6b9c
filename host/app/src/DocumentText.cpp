#include "DocumentText.h"

#include <iterator>

namespace {

// Which side of the directed edge a -> b the point lies on.
float Side(PDPointF a, PDPointF b, PDPointF p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

} // namespace

DocumentText::DocumentText(ServiceObject* document)
    : document_(document), pageCount_(HostBL::PageCount(document)),
      repaired_(HostBL::WasRepaired(document)) {}

const std::vector<PageChar>& DocumentText::Chars(uint64_t page) {
    // A drag reads its first and last page and those in between; a search
    // the page it is on and the next.
    constexpr std::size_t kPagesKept = 4;
    for (auto kept = pages_.begin(); kept != pages_.end(); ++kept) {
        if (kept->first != page)
            continue;
        if (std::next(kept) != pages_.end()) {
            pages_.push_back(std::move(*kept));
            pages_.erase(kept);
        }
        return pages_.back().second;
    }
    std::vector<PageChar> chars = HostBL::PageChars(document_, page);
    if (pages_.size() == kPagesKept)
        pages_.pop_front();
    pages_.emplace_back(page, std::move(chars));
    return pages_.back().second;
}

PageInfo DocumentText::Info(uint64_t page) const {
    return HostBL::GetPageInfo(document_, page);
}

bool QuadContains(const PDQuadF& q, PDPointF p) {
    // The outline runs p0 -> p1 -> p3 -> p2; inside means on one side of all
    // four edges (either side, since a quad may be mirrored).
    const float s[4] = {Side(q.p0, q.p1, p), Side(q.p1, q.p3, p), Side(q.p3, q.p2, p),
                        Side(q.p2, q.p0, p)};
    bool anyPositive = false, anyNegative = false;
    for (const float side : s) {
        anyPositive |= side > 0;
        anyNegative |= side < 0;
    }
    return !(anyPositive && anyNegative);
}

PDPointF QuadCentre(const PDQuadF& q) {
    return {(q.p0.x + q.p1.x + q.p2.x + q.p3.x) / 4, (q.p0.y + q.p1.y + q.p2.y + q.p3.y) / 4};
}
