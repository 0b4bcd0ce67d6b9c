// The host's "Brand" service, as the modules call it.
#pragma once

#include <cstdint>

#include "service-common/ServiceObjectCall.h"

namespace BrandOps {
using GetLegalCopyright = SODetails::OperationSlot<8, uint32_t(const wchar_t** text)>;
using GetSettingsRelativePath = SODetails::OperationSlot<40, uint32_t(const wchar_t** text)>;
constexpr std::size_t kOperationCount = 48 / 8;
} // namespace BrandOps
