#include "InAppTracking.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "JsonWriter.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "support-proxy/InAppTrackingInterface.h"
#include "svcbroker.h"

namespace {

struct InAppTracking {
    std::mutex mutex; // one line at a time
};

struct InAppTrackingInterface {
    using Object = SODetails::ServiceObjectCppTheConcrete<InAppTrackingInterface, InAppTracking>;
    static constexpr const char* kName = "InAppTracking";
    static constexpr std::size_t kOperationCount = InAppTrackingOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<InAppTrackingOps::TrackOptionChange>(ops, &TrackOptionChange);
    }

    static uint32_t TrackOptionChange(ServiceObject* self, const wchar_t* path,
                                      const wchar_t* oldText, const wchar_t* newText) {
        const char* file = std::getenv("VELLUM_TRACKING");
        if (!file || !*file)
            return SODetails::kOk;
        JsonWriter json;
        json.BeginObject();
        json.Key("path").String(SLText::ToNarrow(path ? path : L""));
        json.Key("old").String(SLText::ToNarrow(oldText ? oldText : L""));
        json.Key("new").String(SLText::ToNarrow(newText ? newText : L""));
        json.EndObject();
        const std::string line = json.Text();
        std::lock_guard<std::mutex> lock(Object::ImplOf(self).mutex);
        // Appending: every process that reports adds its lines to the end.
        FILE* out = std::fopen(file, "a");
        if (!out)
            return Failed(file, errno);
        const bool written = std::fputs(line.c_str(), out) >= 0;
        const int problem = errno;
        if (std::fclose(out) != 0)
            return Failed(file, errno);
        return written ? SODetails::kOk : Failed(file, problem);
    }

    static uint32_t Failed(const char* file, int problem) {
        ReportFailure(ServiceObjectException(
            SODetails::kNotAvailable,
            SLText::ToWide(std::string("cannot append to the tracking file ") + file + ": " +
                           std::strerror(problem)),
            "InAppTracking::TrackOptionChange", "host\\app\\src\\InAppTracking.cpp", __LINE__));
        return SODetails::kNotAvailable;
    }
};

uint32_t MakeInAppTracking(void*, ServiceObject** out) {
    *out = InAppTrackingInterface::Object::New();
    return SODetails::kOk;
}

} // namespace

void RegisterInAppTracking() {
    ServiceProviderRegHostService("InAppTracking", &MakeInAppTracking, nullptr, "single");
}
