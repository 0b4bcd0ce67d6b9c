#include "service-common/OperationReport.h"

#include <cstring>
#include <string>

#include "service-common/FailureSites.h"

namespace SODetails {

namespace {

const FailureSites::OperationDeclaration* FindDeclaration(const char* interfaceName,
                                                          const char* operation) {
    for (const FailureSites::OperationDeclaration& d : FailureSites::kOperationDeclarations)
        if (std::strcmp(d.interfaceName, interfaceName) == 0 &&
            std::strcmp(d.operation, operation) == 0)
            return &d;
    return nullptr;
}

// Interface and operation names are plain ASCII.
std::wstring Widened(const char* name) {
    return std::wstring(name, name + std::strlen(name));
}

} // namespace

uint32_t ReportOperation(uint32_t code, const char* interfaceName, const char* operation,
                         const char* templateName, const char* implName) {
    if (!IsFailure(code))
        return code;
    const FailureSites::OperationDeclaration* site = FindDeclaration(interfaceName, operation);
    const std::string function = std::string(templateName) + "<" + implName +
                                 ",class SODetails::ServiceObjectTraits>::" + operation +
                                 "Impl::staticF";
    ReportError(code, Widened(interfaceName).c_str(), Widened(operation).c_str(), function.c_str(),
                site ? site->file : "", site ? site->line : 0);
    return code;
}

} // namespace SODetails
