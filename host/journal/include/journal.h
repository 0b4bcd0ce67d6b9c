// journal: the host's logger.
#pragma once

#include <stdint.h>

#include "service-common/ModuleExport.h"

#ifdef JOURNAL_BUILD
#define JOURNAL_API SO_EXPORT
#else
#define JOURNAL_API SO_IMPORT
#endif

struct ServiceObject;

// Where a log record comes from (flat layout handed to the logger).
struct SourceLocation {
    const char* file;
    uint32_t line;
    const char* function;
};
static_assert(sizeof(SourceLocation) == 24, "SourceLocation is 24 bytes");

extern "C" {

// The logger object (interface "Logger"). Its interface operation at byte
// position 48 writes one record:
//   uint32_t Write(ServiceObject* self, const wchar_t* message, uint32_t severity,
//                  const SourceLocation* location);
// The result carries a reference for the caller.
JOURNAL_API uint32_t GetLogger(ServiceObject** out);

// Host side: the sink. A null or empty path means standard error; otherwise
// records are appended to the file. Returns 0, or 13 when the file cannot be
// opened (the sink is then unchanged).
JOURNAL_API uint32_t JournalSetSinkFile(const char* path);

// Host side: records with a severity above this are dropped (default: all).
JOURNAL_API void JournalSetMaxSeverity(uint32_t severity);
}
