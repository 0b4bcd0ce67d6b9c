// Bounding rectangles in page space: minimum corner first.
#pragma once

#include <cstddef>

#include "service-common/SLGeometry.h"

namespace SL {

// The bounding rectangle of `count` >= 1 points.
inline RectF BoundingRect(const PointF* points, std::size_t count) {
    RectF r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (std::size_t i = 1; i < count; ++i) {
        if (points[i].x < r.x0)
            r.x0 = points[i].x;
        if (points[i].y < r.y0)
            r.y0 = points[i].y;
        if (points[i].x > r.x1)
            r.x1 = points[i].x;
        if (points[i].y > r.y1)
            r.y1 = points[i].y;
    }
    return r;
}

inline RectF BoundingRect(const Quad& quad) {
    const PointF points[4] = {quad.p0, quad.p1, quad.p2, quad.p3};
    return BoundingRect(points, 4);
}

// Whether q lies in the rectangle (minimum corner first), edges included.
inline bool HoldsPoint(const RectF& r, const PointF& q) {
    return !(q.x < r.x0 || q.x > r.x1 || q.y < r.y0 || q.y > r.y1);
}

// Whether two rectangles (minimum corners first) share an area: they overlap
// by a positive amount on both axes.
inline bool OverlapsStrictly(const RectF& a, const RectF& b) {
    return a.x0 < b.x1 && a.y0 < b.y1 && b.x0 < a.x1 && b.y0 < a.y1;
}

// The rectangle with each axis ordered: minimum corner first.
inline RectF Ordered(const RectF& r) {
    RectF o = r;
    if (o.x0 > o.x1) {
        o.x0 = r.x1;
        o.x1 = r.x0;
    }
    if (o.y0 > o.y1) {
        o.y0 = r.y1;
        o.y1 = r.y0;
    }
    return o;
}

} // namespace SL
