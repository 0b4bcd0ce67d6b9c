// The host logger's interface, as the modules call it.
#pragma once

#include <cstdint>

#include "journal.h"
#include "service-common/ServiceObjectCall.h"

namespace LoggerOps {
// Writes one record: message, severity (1 or 2), where it comes from.
using Write = SODetails::OperationSlot<48, uint32_t(const wchar_t* message, uint32_t severity,
                                                    const SourceLocation* location)>;
} // namespace LoggerOps
