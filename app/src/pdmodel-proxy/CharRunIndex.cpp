#include "pdmodel-proxy/CharRunIndex.h"

#include <algorithm>
#include <cmath>

#include "service-common/PdfException.h"

namespace PDModel {

namespace {

// Long enough that a dense page has a few hundred runs, short enough that
// the run under a point costs little to walk.
constexpr uint64_t kMaxRunLength = 32;

// Coordinates beyond this make a search's own arithmetic overflow or lose
// the precision its bounds rely on; such characters get runs of their own
// that every search walks.
constexpr float kLargestTrusted = 1e15f;

bool Trusted(float v) {
    return std::fabs(v) <= kLargestTrusted; // false for NaN too
}

bool Trusted(const SL::Quad& q) {
    return Trusted(q.p0.x) && Trusted(q.p0.y) && Trusted(q.p1.x) && Trusted(q.p1.y) &&
           Trusted(q.p2.x) && Trusted(q.p2.y) && Trusted(q.p3.x) && Trusted(q.p3.y);
}

} // namespace

CharRunIndex::CharRunIndex(const PageText& text) : count_(text.end().Index()) {
    runs_.reserve(count_ / (kMaxRunLength / 2) + 1);
    for (uint64_t index = 0; index < count_; ++index) {
        SL::Quad quad;
        try {
            quad = text.GetCharQuad(index);
        } catch (const PDF::Exception&) {
            // Searches read these characters themselves, and fail where a
            // walk over all of them would.
            Run rest;
            rest.first = index;
            rest.end = count_;
            runs_.push_back(rest);
            return;
        }
        Add(index, quad);
    }
}

// A character joins the open run while the run is short, both are trusted,
// the character's middle height lies within the run's box (the same line)
// and it does not start again to the left of the run (a new line or
// column). Which run a character joins only decides how much a search can
// pass over, never what it finds.
void CharRunIndex::Add(uint64_t index, const SL::Quad& quad) {
    const bool trusted = Trusted(quad);
    const SL::RectF box = SL::BoundingRect(quad);
    if (!runs_.empty()) {
        Run& run = runs_.back();
        const float middle = box.y0 + (box.y1 - box.y0) / 2;
        const bool joins =
            run.end - run.first < kMaxRunLength && run.bounded == trusted &&
            (!trusted || (middle >= run.box.y0 && middle <= run.box.y1 && box.x1 >= run.box.x0));
        if (joins) {
            run.end = index + 1;
            if (trusted) { // finite: plain comparisons will do
                run.box.x0 = std::min(run.box.x0, box.x0);
                run.box.y0 = std::min(run.box.y0, box.y0);
                run.box.x1 = std::max(run.box.x1, box.x1);
                run.box.y1 = std::max(run.box.y1, box.y1);
            }
            return;
        }
    }
    Run run;
    run.first = index;
    run.end = index + 1;
    run.box = box;
    run.bounded = trusted;
    runs_.push_back(run);
}

} // namespace PDModel
