// What the static operation functions of this module's objects report.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/ErrorReporting.h"

namespace SODetails {

// Where an interface operation is declared.
struct OperationSite {
    const wchar_t* interfaceName;  // L"BLInputHandler"
    const wchar_t* operationName;  // L"Initialize"
    const char* file;              // the declaring header's source path
    uint32_t line;                 // the operation's declaration in it
};

// Reports the result of an operation and hands it back.
inline uint32_t Reported(uint32_t code, const OperationSite& site, const std::string& function) {
    ReportError(code, site.interfaceName, site.operationName, function.c_str(), site.file,
                site.line);
    return code;
}

// The signature text of an operation's static function:
//   "<templateName><" + implName + ",class SODetails::ServiceObjectTraits>::" + op + "Impl::staticF"
std::string OperationFunctionText(const char* templateName, const char* implName,
                                  const char* operationName);

} // namespace SODetails
