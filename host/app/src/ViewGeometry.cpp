#include "ViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "hostbl/HostBL.h"

namespace {

// Pixels per page unit: fine enough to put the pointer between two narrow
// glyphs, small enough that a whole page fits into the viewport image.
constexpr float kPreferredZoom = 2.0f;
constexpr float kLargestViewport = 3000.0f;

} // namespace

ViewGeometry FitLargestPage(ServiceObject* document) {
    float largest = 1;
    for (uint64_t page = 0; page < HostBL::PageCount(document); ++page) {
        PDRectF box{};
        try {
            box = HostBL::GetPageInfo(document, page).cropBox;
        } catch (const std::runtime_error&) {
            continue;
        }
        largest = std::max({largest, box.x1 - box.x0, box.y1 - box.y0});
    }
    ViewGeometry geometry;
    geometry.zoom = std::min(kPreferredZoom, kLargestViewport / largest);
    geometry.width = geometry.height =
        static_cast<int32_t>(std::ceil(largest * geometry.zoom)) + 2 * HostBL::kPageGap;
    return geometry;
}
