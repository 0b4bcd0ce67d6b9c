// The error path shared by every service object: failures are recorded per
// thread, and a failure that another object reports becomes an exception.
#pragma once

#include <cstdint>

#include "service-common/ResultCodes.h"
#include "service-common/ServiceObject.h"

class ServiceObjectException;

// Records a failure of interface::operation for the calling thread. Does
// nothing for codes that are not failures or without names, or when the
// singleton storage is gone.
void ReportError(uint32_t code, const wchar_t* interfaceName, const wchar_t* operationName,
                 const char* function, const char* file, uint32_t line);

// Records a failure with a message of its own for the calling thread, for
// an operation whose caller needs to know more than that it failed. Does
// nothing for codes that are not failures, or when the singleton storage is
// gone.
void ReportFailure(const ServiceObjectException& failure);

namespace SODetails {
// ReportError, then the code: for an operation that reports its own result.
inline uint32_t Reported(uint32_t code, const wchar_t* interfaceName, const wchar_t* operationName,
                         const char* function, const char* file, uint32_t line) {
    ReportError(code, interfaceName, operationName, function, file, line);
    return code;
}
} // namespace SODetails

// After every call of another module's object: returns for 0, 1 and 10;
// otherwise throws ServiceObjectException built from the object's own error
// information. An object that gives none lets the failure pass silently.
void CheckResult(ServiceObject* object, uint32_t code);

namespace SODetails {
// GetErrorInfo, shared by every object of this module: the calling thread's
// last failure, whatever object caused it.
uint32_t GetErrorInfo(ServiceObject* self, ErrorInfo* info, void** record);
} // namespace SODetails
