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

} // namespace SL
