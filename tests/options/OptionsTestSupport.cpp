#include "OptionsTestSupport.h"

#include <boost/make_shared.hpp>

#include <cstdlib>

#include "TestObjects.h"
#include "TestSupport.h"
#include "platform/Platform.h"
#include "service-common/ErrorReporting.h"
#include "service-common/ServiceObjectException.h"
#include "support-proxy/InAppTrackingInterface.h"
#include "support-proxy/SettingsInterface.h"
#include "svcbroker.h"

namespace optest {

namespace {

template <class Values>
auto Find(Values& values, const std::wstring& path, const std::wstring& name) {
    const auto node = values.find(path);
    if (node == values.end() || node->second.count(name) == 0)
        throw ServiceObjectException(2, L"no such value", "MemoryNode", "test", 0);
    return node->second.at(name);
}

} // namespace

MemoryNode::MemoryNode(std::shared_ptr<MemoryStore> store, std::wstring path)
    : SLSettingsNode(Settings::kUserSettingsRoot, std::move(path), nullptr,
                     boost::make_shared<Settings::SLSettingValue>(nullptr)),
      store_(std::move(store)) {}

void MemoryNode::Written() {
    if (store_->refuseWrites)
        throw ServiceObjectException(2, L"the store refuses writes", "MemoryNode", "test", 0);
    ++store_->writes;
}

void MemoryNode::SetInt(const std::wstring& name, int32_t value) {
    Written();
    store_->texts[Path()].erase(name);
    store_->ints[Path()][name] = value;
}

int32_t MemoryNode::GetInt(const std::wstring& name) {
    return Find(store_->ints, Path(), name);
}

void MemoryNode::SetString(const std::wstring& name, const std::wstring& value) {
    Written();
    store_->ints[Path()].erase(name);
    store_->texts[Path()][name] = value;
}

std::wstring MemoryNode::GetString(const std::wstring& name) {
    return Find(store_->texts, Path(), name);
}

bool MemoryNode::IsValueExists(const std::wstring& name) {
    return store_->ints[Path()].count(name) + store_->texts[Path()].count(name) > 0;
}

bool MemoryNode::IsNodeExists() {
    return store_->ints.count(Path()) + store_->texts.count(Path()) > 0;
}

boost::shared_ptr<Settings::ISettingsNode> MemoryNode::GetChildNode(const std::wstring& name) {
    return boost::make_shared<MemoryNode>(store_, Path() + L"\\" + name);
}

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
