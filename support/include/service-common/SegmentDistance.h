// The distance from a point to a segment, in page space.
#pragma once

#include <cmath>

#include "service-common/SLGeometry.h"

namespace SL {

inline float Distance(const PointF& a, const PointF& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// The distance from q to the nearest point of the segment a -> b. A
// segment shorter than 0.01 (squared length within 0.0001) counts as the
// point a.
inline float DistanceToSegment(const PointF& q, const PointF& a, const PointF& b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    if (std::fabs(lengthSquared) <= 0.0001f)
        return Distance(q, a);
    const float t = ((q.x - a.x) * dx + (q.y - a.y) * dy) / lengthSquared;
    if (t < 0.0f)
        return Distance(q, a);
    if (t > 1.0f)
        return Distance(q, b);
    return Distance(q, PointF{a.x + t * dx, a.y + t * dy});
}

} // namespace SL
