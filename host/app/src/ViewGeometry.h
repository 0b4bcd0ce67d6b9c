// How large the application makes a document's view: big enough to show the
// document's largest page whole, at a zoom fine enough to point between two
// narrow glyphs.
#pragma once

#include <cstdint>

#include "service-common/ServiceObject.h"

struct ViewGeometry {
    int32_t width = 0;  // viewport, device pixels
    int32_t height = 0;
    float zoom = 1;     // pixels per page unit
};

// A page that cannot be read counts as no page here; only work on it fails.
ViewGeometry FitLargestPage(ServiceObject* document);
