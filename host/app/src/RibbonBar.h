// The host's ribbon bar: records which handler is placed into which panel.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "service-common/BasicServiceObjectPtr.h"

namespace RibbonBar {

SODetails::BasicServiceObjectPtr<> Create();

// Panels and the handlers placed into them, in placement order.
std::vector<std::pair<std::wstring, SODetails::BasicServiceObjectPtr<>>>
Placements(ServiceObject* ribbonBar);

} // namespace RibbonBar
