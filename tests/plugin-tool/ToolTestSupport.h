// Shared ground of the markup tool's tests: in-memory documents shown in the
// host's views, the host's services, and the tool object driven as the host
// drives it.
#pragma once

#include <cstdint>

#include "TestSupport.h"
#include "bl/BLInputHandler.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/SLGeometry.h"

namespace tooltest {

using ObjectPtr = SODetails::BasicServiceObjectPtr<>;
using testsupport::Box;

// Registers the host's "BLService", "GraphicsFactory" and "BLAuthor" with
// the service provider: once, or again after a test replaced one.
void UseHostServices(bool again = false);

// Pages of 200 x 200, each with two lines of 10 x 10 characters:
//   index  H0 e1 l2 l3 o4 | w5 o6 r7 l8 d9 LF10   at y 170..180, x from 20;
//          "world" from x 90, nothing in the gap 70..90, LF zero-width at 140
//   index  A11 g12 a13 i14 n15                    at y 150..160, x from 20
testsupport::Document NewTextDocument(int pages);
SL::PointF CharCentre(uint64_t index);

// A view showing every page at zoom 1, and its device point of a page point.
ObjectPtr NewView(ServiceObject* document);
SL::PointI Device(ServiceObject* view, uint64_t page, SL::PointF point);

// A tool object from the module's factory, initialised unless view is null.
ObjectPtr NewTool(ServiceObject* view, uint32_t subtype = kPDAtomHighlight,
                  uint32_t color = 0xFFFF0000u);
// HandleEvent (expects result 0); returns "handled".
bool Send(ServiceObject* tool, uint32_t type, uint32_t button, SL::PointI point);

} // namespace tooltest
