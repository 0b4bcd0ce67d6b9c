// A document frame of the host ("UIDocumentFrame"): the window area that
// shows documents, with its documents collection.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace UIDocumentFrameOps {
using SODetails::OperationSlot;
// A service object of the frame by interface id ("UIDocumentsCollection"),
// one reference; kNotAvailable when the frame has none.
using QueryServiceObject = OperationSlot<0, uint32_t(uint32_t id, ServiceObject** out)>;
// The frame's window ("UIWnd").
using GetWindow = OperationSlot<8, uint32_t(ServiceObject** window)>;
constexpr std::size_t kOperationCount = 2;
} // namespace UIDocumentFrameOps
