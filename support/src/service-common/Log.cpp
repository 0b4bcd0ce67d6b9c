#include "service-common/Log.h"

#include <atomic>

#include "platform/Platform.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/LoggerInterface.h"
#include "service-common/ServiceObjectException.h"

namespace {

enum class LoggerLookup { NotLookedUp, Found, NotFound };

std::atomic<LoggerLookup> gLookup{LoggerLookup::NotLookedUp};
std::atomic<void*> gGetLogger{nullptr};

using GetLoggerFn = uint32_t (*)(ServiceObject** out);

GetLoggerFn FindGetLogger() {
    Platform::ModuleHandle journal = Platform::FindLoadedModule(L"journal.dll");
    if (!journal)
        return nullptr;
    if (gLookup.load() == LoggerLookup::NotLookedUp) {
        void* symbol = Platform::FindSymbol(journal, "GetLogger");
        gGetLogger.store(symbol);
        gLookup.store(symbol ? LoggerLookup::Found : LoggerLookup::NotFound);
    }
    if (gLookup.load() != LoggerLookup::Found)
        return nullptr;
    return reinterpret_cast<GetLoggerFn>(gGetLogger.load());
}

} // namespace

void Log(const std::wstring& message, uint32_t severity, const char* file, uint32_t line,
         const char* function) {
    GetLoggerFn getLogger = FindGetLogger();
    if (!getLogger)
        return;
    SODetails::BasicServiceObjectPtr<> logger;
    getLogger(logger.Receive());
    SourceLocation location{file, line, function};
    SODetails::CallChecked<LoggerOps::Write>(logger.get(), message.c_str(), severity, &location);
}

void LogCaught(const ServiceObjectException& e, uint32_t severity) noexcept {
    try {
        Log(e.Message(), severity, e.File().c_str(), e.Line(), e.Function().c_str());
    } catch (...) {
    }
}
