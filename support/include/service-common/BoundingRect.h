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
