// The flat element API table (ui-engine/UIElementApi.h) that a window hands
// to its UI handlers.
#pragma once

#include "ui-engine/UIElementApi.h"
#include "uiengine/Export.h"

namespace UIEngine {

// The engine's one table; it lives as long as the engine's module.
UIENGINE_API const UIElementApi* ElementApi();

} // namespace UIEngine
