// The host's business-logic service ("BLService", also the fixed atom 1),
// its input-handler registry and its cursor, and the "BLAuthor" service.
#pragma once

#include <cstdint>

#include "service-common/Atom.h"
#include "service-common/ServiceObjectCall.h"

namespace BLServiceOps {
using SODetails::OperationSlot;
constexpr SLAtom kFixedAtom = 1;
using GetInputHandlerRegistry = OperationSlot<40, uint32_t(ServiceObject** registry)>;
using GetCursor = OperationSlot<80, uint32_t(ServiceObject** cursor)>;
constexpr std::size_t kOperationCount = 88 / 8;
} // namespace BLServiceOps

namespace BLInputHandlerRegistryOps {
using SODetails::OperationSlot;
// The registry keeps its own reference to the factory.
using Register = OperationSlot<0, uint32_t(SLAtom tool, ServiceObject* factory)>;
// A new tool object made by the factory registered under the tool's atom.
using CreateToolHandler = OperationSlot<8, uint32_t(SLAtom tool, ServiceObject** handler)>;
constexpr std::size_t kOperationCount = 2;
} // namespace BLInputHandlerRegistryOps

namespace BLCursorOps {
constexpr uint32_t kCursorOverText = 4;
constexpr uint32_t kCursorElsewhere = 5;
using SetCursor = SODetails::OperationSlot<0, uint32_t(uint32_t cursor)>;
} // namespace BLCursorOps

namespace BLAuthorOps {
// The current author's name (owned by the service), or null.
using GetAuthor = SODetails::OperationSlot<0, uint32_t(const wchar_t** name)>;
} // namespace BLAuthorOps
