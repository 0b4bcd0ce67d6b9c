// The union of two page-space rectangles.
#pragma once

#include <algorithm>

#include "service-common/SLGeometry.h"

namespace SL {

// Per axis, the smallest of the four values goes into the corner that holds
// the smaller value in `a`, the largest into the other: `a`'s orientation
// is kept.
inline RectF Union(const RectF& a, const RectF& b) {
    const float xLow = std::min(std::min(a.x0, a.x1), std::min(b.x0, b.x1));
    const float xHigh = std::max(std::max(a.x0, a.x1), std::max(b.x0, b.x1));
    const float yLow = std::min(std::min(a.y0, a.y1), std::min(b.y0, b.y1));
    const float yHigh = std::max(std::max(a.y0, a.y1), std::max(b.y0, b.y1));
    RectF r;
    if (a.x0 <= a.x1) {
        r.x0 = xLow;
        r.x1 = xHigh;
    } else {
        r.x0 = xHigh;
        r.x1 = xLow;
    }
    if (a.y0 <= a.y1) {
        r.y0 = yLow;
        r.y1 = yHigh;
    } else {
        r.y0 = yHigh;
        r.y1 = yLow;
    }
    return r;
}

} // namespace SL
