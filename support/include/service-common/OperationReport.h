// What the static operation functions of this module's objects report.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/ErrorReporting.h"
#include "service-common/FailureSites.h"

namespace SODetails {

// What a failure of an interface operation is recorded with. `file` and
// `line` come from FailureSites: the path of the host's header that declares
// the interface and the line on which it declares the operation. They are
// fixed identifiers of the contract, not a place in this tree.
struct OperationSite {
    const wchar_t* interfaceName; // L"BLInputHandler"
    const wchar_t* operationName; // L"Initialize"
    const char* file;
    uint32_t line;
};

// Reports the result of an operation and hands it back.
inline uint32_t Reported(uint32_t code, const OperationSite& site, const std::string& function) {
    ReportError(code, site.interfaceName, site.operationName, function.c_str(), site.file,
                site.line);
    return code;
}

// The signature text of an operation's static function:
//   "<templateName><" + implName + ",class SODetails::ServiceObjectTraits>::" + op +
//   "Impl::staticF"
std::string OperationFunctionText(const char* templateName, const char* implName,
                                  const char* operationName);

} // namespace SODetails
