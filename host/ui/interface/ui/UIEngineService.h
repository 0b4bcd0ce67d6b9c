// The host's "UIEngine" service: the window ("UIWnd") of a window handle.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace UIEngineServiceOps {
using SODetails::OperationSlot;
// The "UIWnd" of `handle`, one reference; kNotAvailable when the handle is
// no window of the host.
using GetWindow = OperationSlot<0, uint32_t(uint64_t handle, ServiceObject** window)>;
constexpr std::size_t kOperationCount = 1;
} // namespace UIEngineServiceOps
