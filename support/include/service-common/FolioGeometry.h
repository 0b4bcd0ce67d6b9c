// The document-model library's geometry records and ours share one layout.
#pragma once

#include "folio.h"
#include "service-common/SLGeometry.h"

namespace SL {

static_assert(sizeof(PDQuadF) == sizeof(Quad) && sizeof(PDRectF) == sizeof(RectF),
              "library and plug-in geometry have the same layout");

inline Quad FromFolio(const PDQuadF& q) {
    return Quad{{q.p0.x, q.p0.y}, {q.p1.x, q.p1.y}, {q.p2.x, q.p2.y}, {q.p3.x, q.p3.y}};
}

inline PDQuadF ToFolio(const Quad& q) {
    return PDQuadF{{q.p0.x, q.p0.y}, {q.p1.x, q.p1.y}, {q.p2.x, q.p2.y}, {q.p3.x, q.p3.y}};
}

inline RectF FromFolio(const PDRectF& r) {
    return RectF{r.x0, r.y0, r.x1, r.y1};
}

inline PDRectF ToFolio(const RectF& r) {
    return PDRectF{r.x0, r.y0, r.x1, r.y1};
}

// Which side of the directed edge a -> b the point lies on.
inline float SideOf(PDPointF a, PDPointF b, PDPointF p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// Whether a point lies inside a quad (edges included), whatever the quad's
// orientation.
inline bool QuadContains(const PDQuadF& q, PDPointF p) {
    // The outline runs p0 -> p1 -> p3 -> p2; inside means on one side of all
    // four edges (either side, since a quad may be mirrored).
    const float sides[4] = {SideOf(q.p0, q.p1, p), SideOf(q.p1, q.p3, p), SideOf(q.p3, q.p2, p),
                            SideOf(q.p2, q.p0, p)};
    bool anyPositive = false, anyNegative = false;
    for (const float side : sides) {
        anyPositive |= side > 0;
        anyNegative |= side < 0;
    }
    return !(anyPositive && anyNegative);
}

inline PDPointF QuadCentre(const PDQuadF& q) {
    return {(q.p0.x + q.p1.x + q.p2.x + q.p3.x) / 4, (q.p0.y + q.p1.y + q.p2.y + q.p3.y) / 4};
}

} // namespace SL
