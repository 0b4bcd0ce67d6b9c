#include "service-common/OperationReport.h"

namespace SODetails {

std::string OperationFunctionText(const char* templateName, const char* implName,
                                  const char* operationName) {
    std::string text = templateName;
    text += "<";
    text += implName;
    text += ",class SODetails::ServiceObjectTraits>::";
    text += operationName;
    text += "Impl::staticF";
    return text;
}

} // namespace SODetails
