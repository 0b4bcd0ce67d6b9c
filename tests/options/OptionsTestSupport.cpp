#include "OptionsTestSupport.h"

#include "TestObjects.h"
#include "TestSupport.h"
#include "platform/Platform.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ServiceObjectException.h"
#include "support-proxy/InAppTrackingInterface.h"
#include "svcbroker.h"

namespace optest {

namespace {

struct Tracking {
    static inline std::vector<TrackedChange> changes;
    static inline uint32_t result = 0;
    static inline fwtest::FlatObject<InAppTrackingOps::kOperationCount> object;

    static uint32_t Track(ServiceObject*, const wchar_t* path, const wchar_t* oldText,
                          const wchar_t* newText) {
        changes.push_back({path, oldText, newText});
        if (SODetails::IsFailure(result))
            ReportFailure(ServiceObjectException(result, L"tracking is down", "Track", "test", 0));
        return result;
    }
    static uint32_t Make(void*, ServiceObject** out) {
        object.object.header.common.GetErrorInfo = &SODetails::GetErrorInfo;
        object.Set<InAppTrackingOps::TrackOptionChange>(&Track);
        *out = object.get();
        return 0;
    }
};

} // namespace

std::vector<TrackedChange>& TrackChanges(uint32_t result) {
    Tracking::result = result;
    ServiceProviderRegHostService("InAppTracking", &Tracking::Make, nullptr, "single");
    return Tracking::changes;
}

std::string UseAsSettingsStore(const testsupport::TempFolder& folder, const std::string& name) {
    const std::string file = folder.Path(name);
    Platform::SetEnvironmentValue("VELLUM_SETTINGS", file.c_str());
    return file;
}

} // namespace optest
