// The "UIDispatcher" service object over a UI thread
// (ui-engine/UIDispatcher.h describes its table and its rules).
#pragma once

#include <memory>

#include "service-common/BasicServiceObjectPtr.h"
#include "uiengine/Export.h"
#include "uiengine/UIThread.h"

namespace UIEngine {

// A new dispatcher (one reference, the caller's) that posts to `thread`.
// Blocks it has handed out but that were never posted are destroyed with it.
UIENGINE_API SODetails::BasicServiceObjectPtr<> CreateDispatcher(std::shared_ptr<UIThread> thread);

} // namespace UIEngine
