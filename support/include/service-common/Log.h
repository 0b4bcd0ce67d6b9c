// Writing to the host's logger, when the host has loaded it.
#pragma once

#include <cstdint>
#include <string>

#include "service-common/FailureSites.h"

class ServiceObjectException;

namespace SODetails {
// Severity 1 also marks a lookup that found nothing, where the caller goes
// on without the object (kLogSeverityNotice).
enum LogSeverity : uint32_t {
    kLogSeverityRegistration = 1,
    kLogSeverityNotice = 1,
    kLogSeverityFailure = 2
};
}

// Writes one record through the logger of "journal.dll" if that module is
// already loaded; does nothing otherwise (the module never loads it).
// A failing logger call throws through CheckResult.
void Log(const std::wstring& message, uint32_t severity, const char* file, uint32_t line,
         const char* function);
inline void Log(const std::wstring& message, uint32_t severity, const FailureSites::Site& site) {
    Log(message, severity, site.file, site.line, site.function);
}

// Logs a caught exception with its own message, file, line and function.
// Anything thrown while logging is swallowed.
void LogCaught(const ServiceObjectException& e, uint32_t severity) noexcept;
