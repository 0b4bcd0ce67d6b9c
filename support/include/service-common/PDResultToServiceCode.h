// The document-model library's results as service-object result codes.
#pragma once

#include <cstdint>

#include "folio.h"
#include "service-common/ResultCodes.h"

// 0 stays 0; every result without a code of its own gives
// SODetails::kUnknownLibraryResult.
uint32_t PDResultToServiceCode(PDResult result);
