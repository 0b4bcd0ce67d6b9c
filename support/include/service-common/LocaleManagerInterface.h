// The host's "LocaleManager" service, as the modules call it.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace LocaleManagerOps {
// Redirects *text to the translation of `source`, or leaves it.
using Translate =
    SODetails::OperationSlot<64, uint32_t(const wchar_t** text, const wchar_t* source)>;
constexpr std::size_t kOperationCount = 72 / 8;
} // namespace LocaleManagerOps
