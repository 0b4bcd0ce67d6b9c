// What the static operation functions of this module's objects report.
#pragma once

#include <cstdint>

#include "service-common/ErrorReporting.h"

namespace SODetails {

// Reports the result of `operation` of `interfaceName` and hands it back.
// A failure is recorded (ReportError) with the operation's fixed declaration
// site (FailureSites::kOperationDeclarations) and the signature text of its
// static function:
//   templateName + "<" + implName + ",class SODetails::ServiceObjectTraits>::"
//       + operation + "Impl::staticF"
// A result that is not a failure is handed back without anything being built.
uint32_t ReportOperation(uint32_t code, const char* interfaceName, const char* operation,
                         const char* templateName, const char* implName);

} // namespace SODetails
