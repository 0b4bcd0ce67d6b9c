// The host's logger: one process-wide logger object that writes records to
// standard error or to a file.
#include "journal.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "service-common/LoggerInterface.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/TextConversion.h"

namespace {

class Sink {
public:
    ~Sink() { Close(); }

    uint32_t OpenFile(const char* path) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!path || !*path) {
            Close();
            return SODetails::kOk;
        }
        FILE* file = std::fopen(path, "a");
        if (!file)
            return SODetails::kCannotOpenFile;
        Close();
        file_ = file;
        return SODetails::kOk;
    }

    void SetMaxSeverity(uint32_t severity) { maxSeverity_ = severity; }

    void Write(const wchar_t* message, uint32_t severity, const SourceLocation* location) {
        if (severity > maxSeverity_)
            return;
        std::string line = "[vellum] severity " + std::to_string(severity) + ": " +
                           SLText::ToNarrow(message ? message : L"");
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (location && (location->file || location->function)) {
            line += " (";
            line += location->file ? location->file : "?";
            line += ":" + std::to_string(location->line);
            if (location->function) {
                line += ", ";
                line += location->function;
            }
            line += ")";
        }
        line += "\n";
        std::lock_guard<std::mutex> lock(mutex_);
        FILE* out = file_ ? file_ : stderr;
        std::fputs(line.c_str(), out);
        std::fflush(out);
    }

private:
    void Close() {
        if (file_)
            std::fclose(file_);
        file_ = nullptr;
    }

    std::mutex mutex_;
    FILE* file_ = nullptr;
    uint32_t maxSeverity_ = ~0u;
};

Sink& TheSink() {
    static Sink sink;
    return sink;
}

struct Logger {};

struct LoggerInterface {
    static constexpr const char* kName = "Logger";
    static constexpr std::size_t kOperationCount = 7;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<LoggerOps::Write>(ops, &Write);
    }
    static uint32_t Write(ServiceObject*, const wchar_t* message, uint32_t severity,
                          const SourceLocation* location) {
        TheSink().Write(message, severity, location);
        return SODetails::kOk;
    }
};

using LoggerObject = SODetails::ServiceObjectCppTheConcrete<LoggerInterface, Logger>;

} // namespace

extern "C" {

JOURNAL_API uint32_t GetLogger(ServiceObject** out) {
    if (!out)
        return SODetails::kBadArgument;
    static ServiceObject* const logger = LoggerObject::New();  // lives for the process
    logger->common.AddRef(logger);
    *out = logger;
    return SODetails::kOk;
}

JOURNAL_API uint32_t JournalSetSinkFile(const char* path) {
    return TheSink().OpenFile(path);
}

JOURNAL_API void JournalSetMaxSeverity(uint32_t severity) {
    TheSink().SetMaxSeverity(severity);
}
}
