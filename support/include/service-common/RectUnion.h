// The union of two page-space rectangles.
#pragma once

#include <algorithm>

#include "service-common/SLGeometry.h"

namespace SL {

namespace Detail {
// One axis of a union: the smallest of the four values goes where `a0` and
// `a1` hold their smaller value, the largest where they hold the larger.
inline void UniteAxis(float a0, float a1, float b0, float b1, float& out0, float& out1) {
    const float low = std::min(std::min(a0, a1), std::min(b0, b1));
    const float high = std::max(std::max(a0, a1), std::max(b0, b1));
    out0 = a0 <= a1 ? low : high;
    out1 = a0 <= a1 ? high : low;
}
} // namespace Detail

// Per axis, the smallest of the four values goes into the corner that holds
// the smaller value in `a`, the largest into the other: `a`'s orientation
// is kept.
inline RectF Union(const RectF& a, const RectF& b) {
    RectF r;
    Detail::UniteAxis(a.x0, a.x1, b.x0, b.x1, r.x0, r.x1);
    Detail::UniteAxis(a.y0, a.y1, b.y0, b.y1, r.y0, r.y1);
    return r;
}

} // namespace SL
