// Geometry records shared by the tool, the host and the annotation record.
// Page space: PDF user units as 32-bit floats, y growing upwards. Device
// space: the view's pixels, y growing downwards.
#pragma once

#include <cstdint>

namespace SL {

struct PointI {
    int32_t x, y;
};

struct PointF {
    float x, y;
};

// Two opposite corners; a rectangle built from points holds the minimum in
// the first corner. Operations order each axis first.
struct RectF {
    float x0, y0, x1, y1;
};

// A device rectangle: first corner top-left.
struct RectI {
    int32_t x0, y0, x1, y1;
};

// For upright text: p0 upper-left, p1 upper-right, p2 lower-left, p3
// lower-right. The outline runs p0 -> p1 -> p3 -> p2 -> p0.
struct Quad {
    PointF p0, p1, p2, p3;
};

static_assert(sizeof(PointI) == 8 && sizeof(PointF) == 8, "points are 8 bytes");
static_assert(sizeof(RectF) == 16 && sizeof(RectI) == 16, "rectangles are 16 bytes");
static_assert(sizeof(Quad) == 32, "quads are 32 bytes");

} // namespace SL
