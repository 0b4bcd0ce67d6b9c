// Bounding boxes over runs of consecutive characters of one page text.
//
// A search for the characters at or near a point can pass over every run
// whose box rules them all out, and still meet the remaining characters in
// index order: the box of a run is the union of its characters' bounding
// boxes, so a comparison that fails against the run's box fails against
// each of theirs, and the search gives what a walk over every character
// would give.
#pragma once

#include <cstdint>
#include <vector>

#include "service-common/BoundingRect.h"
#include "pdmodel-proxy/PageText.h"
#include "service-common/SLGeometry.h"

namespace PDModel {

class CharRunIndex {
public:
    struct Run {
        uint64_t first = 0; // index of the run's first character
        uint64_t end = 0;   // one past its last
        // The union of the characters' bounding boxes, minimum corner
        // first. Only meaningful when `bounded`.
        SL::RectF box{};
        // False when the box rules nothing out: a quad of the run has a
        // coordinate that is not finite or too large for the box to be
        // trusted, or the quads could not be read. Such a run is always
        // walked character by character.
        bool bounded = false;

        // False only when no character's bounding box can hold q (its
        // edges included).
        bool MayHold(const SL::PointF& q) const { return !bounded || SL::HoldsPoint(box, q); }
        // False only when no character's bounding box can overlap the
        // rectangle (minimum corner first) by a positive amount on both axes.
        bool MayOverlap(const SL::RectF& r) const {
            return !bounded || SL::OverlapsStrictly(r, box);
        }
    };

    // Reads every quad of `text` once, with the checks of a walk from its
    // begin to its end (a null text throws "Invalid parent"). A quad that
    // cannot be read ends the index with one run, not bounded, from that
    // character to the last, so that a search meets the same failure at
    // the same character as a walk over every character would.
    explicit CharRunIndex(const PageText& text);

    uint64_t CharCount() const { return count_; }
    // In index order; together they cover every character once.
    const std::vector<Run>& Runs() const { return runs_; }

private:
    void Add(uint64_t index, const SL::Quad& quad);

    uint64_t count_ = 0;
    std::vector<Run> runs_;
};

} // namespace PDModel
