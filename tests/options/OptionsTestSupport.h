// What the options tests share: a settings store in memory, a stand-in for
// the host's "InAppTracking" service, and a settings store file of a test's
// own.
#pragma once

#include <boost/shared_ptr.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "support-proxy/SLSettingsNode.h"

namespace optest {

// Values by node path and name: integers and texts, as the host keeps them.
struct MemoryStore {
    std::map<std::wstring, std::map<std::wstring, int32_t>> ints;
    std::map<std::wstring, std::map<std::wstring, std::wstring>> texts;
    bool refuseWrites = false;
    int writes = 0;
};

// A node of a MemoryStore. The operations the options tree does not use
// fail as they do where there is no settings service.
class MemoryNode : public Settings::SLSettingsNode<Settings::SLSettingsRoot> {
public:
    MemoryNode(std::shared_ptr<MemoryStore> store, std::wstring path);

    void SetInt(const std::wstring& name, int32_t value) override;
    int32_t GetInt(const std::wstring& name) override;
    void SetBool(const std::wstring& name, bool value) override { SetInt(name, value); }
    bool GetBool(const std::wstring& name) override { return GetInt(name) != 0; }
    void SetString(const std::wstring& name, const std::wstring& value) override;
    std::wstring GetString(const std::wstring& name) override;
    bool IsValueExists(const std::wstring& name) override;
    bool IsNodeExists() override;
    boost::shared_ptr<ISettingsNode> GetChildNode(const std::wstring& name) override;

private:
    void Written();

    std::shared_ptr<MemoryStore> store_;
};

// One report to the tracking service.
struct TrackedChange {
    std::wstring path, oldText, newText;
};

// Registers a tracking service for this process that keeps its reports
// here, answering `result` to each.
std::vector<TrackedChange>& TrackChanges(uint32_t result = 0);

// Makes `name` in the folder the settings store of this process.
std::string UseAsSettingsStore(const testsupport::TempFolder& folder,
                               const std::string& name = "settings.sqlite3");

} // namespace optest
