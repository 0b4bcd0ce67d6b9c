// The UI action interface ("UIAction", 3 operations): what the host's
// scripts call on an action object that a module announced to "UIService".
// The host pushes named parameters (where the action comes from) and
// properties (what it should do), then executes it.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace UIActionOps {
using SODetails::OperationSlot;

// A parameter by name: kDeclined for a name the action does not know.
using PushParam = OperationSlot<0, uint32_t(const wchar_t* name, uint64_t value)>;
// A property by name, its value as text.
using PushProperty = OperationSlot<8, uint32_t(const wchar_t* name, const wchar_t* value)>;
using Execute = OperationSlot<16, uint32_t()>;
constexpr std::size_t kOperationCount = 3;
// The table the host relies on: 24 bytes.
static_assert(Execute::kPosition + 8 == 8 * kOperationCount, "three operations, 24 bytes");
} // namespace UIActionOps
