// The error path shared by every service object: failures are recorded per
// thread, and a failure that another object reports becomes an exception.
#pragma once

#include <cstdint>

#include "service-common/ServiceObject.h"

namespace SODetails {

// Result codes with a framework-wide meaning.
enum : uint32_t {
    kOk = 0,
    kDeclined = 1,
    kNotAvailable = 2,
    kBadArgument = 3,
    kVersionMismatch = 5,
    kBadRecordSize = 6,
    kNoErrorRecorded = 8,
    kOutOfRange = 9,
    kIgnored = 10,
    kNotSubscribed = 25,
    // The UI engine's element API.
    kStaleElement = 0x20001,  // not a live element handle of the engine
    kBadSelector = 0x20002,   // a selector text the engine does not understand
    // The settings store's typed reads and writes found no service.
    kSettingsReadsNotLoaded = 0x2000D,
    kSettingsWritesNotLoaded = 0x2000E,
};

// Codes that are not failures: success, declined and ignored.
inline bool IsFailure(uint32_t code) {
    return code != kOk && code != kDeclined && code != kIgnored;
}

} // namespace SODetails

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

// After every call of another module's object: returns for 0, 1 and 10;
// otherwise throws ServiceObjectException built from the object's own error
// information. An object that gives none lets the failure pass silently.
void CheckResult(ServiceObject* object, uint32_t code);

namespace SODetails {
// GetErrorInfo, shared by every object of this module: the calling thread's
// last failure, whatever object caused it.
uint32_t GetErrorInfo(ServiceObject* self, ErrorInfo* info, void** record);
} // namespace SODetails
