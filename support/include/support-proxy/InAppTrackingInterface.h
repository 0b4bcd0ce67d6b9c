// The host's "InAppTracking" service: it hears of every option a user changes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace InAppTrackingOps {
// The option's path ("Options/General/Last Color Highlight") and its value
// before and after, as text.
using TrackOptionChange =
    SODetails::OperationSlot<80, uint32_t(const wchar_t* path, const wchar_t* oldText,
                                          const wchar_t* newText)>;

constexpr std::size_t kOperationCount = 88 / 8;
} // namespace InAppTrackingOps
