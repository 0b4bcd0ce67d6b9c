// What the options tests share: a settings store in memory, a stand-in for
// the host's "InAppTracking" service, and a settings store file of a test's
// own.
#pragma once

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"
#include "support-proxy/SLSettingsNode.h"
#include "support-proxy/SettingsInterface.h"

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
    MemoryNode(std::shared_ptr<MemoryStore> store, std::wstring path)
        : SLSettingsNode(Settings::kUserSettingsRoot, std::move(path), nullptr,
                         boost::make_shared<Settings::SLSettingValue>(nullptr)),
          store_(std::move(store)) {}

    void SetInt(const std::wstring& name, int32_t value) override {
        Put(store_->ints, store_->texts, name, value);
    }
    int32_t GetInt(const std::wstring& name) override { return Find(store_->ints, name); }
    void SetBool(const std::wstring& name, bool value) override { SetInt(name, value); }
    bool GetBool(const std::wstring& name) override { return GetInt(name) != 0; }
    void SetString(const std::wstring& name, const std::wstring& value) override {
        Put(store_->texts, store_->ints, name, value);
    }
    std::wstring GetString(const std::wstring& name) override { return Find(store_->texts, name); }
    bool IsValueExists(const std::wstring& name) override {
        return store_->ints[Path()].count(name) + store_->texts[Path()].count(name) > 0;
    }
    bool IsNodeExists() override {
        return store_->ints.count(Path()) + store_->texts.count(Path()) > 0;
    }
    boost::shared_ptr<ISettingsNode> GetChildNode(const std::wstring& name) override {
        return boost::make_shared<MemoryNode>(store_, Path() + L"\\" + name);
    }

private:
    // Keeps `value` under `name`, in place of a value of the other type.
    template <class Values, class Others, class Value>
    void Put(Values& values, Others& others, const std::wstring& name, const Value& value) {
        if (store_->refuseWrites)
            throw ServiceObjectException(SODetails::kNotAvailable, L"the store refuses writes",
                                         "MemoryNode", "test", 0);
        ++store_->writes;
        others[Path()].erase(name);
        values[Path()][name] = value;
    }
    template <class Values>
    typename Values::mapped_type::mapped_type Find(Values& values, const std::wstring& name) {
        const auto node = values.find(Path());
        if (node == values.end() || node->second.count(name) == 0)
            throw ServiceObjectException(SODetails::kNotAvailable, L"no such value", "MemoryNode",
                                         "test", 0);
        return node->second.at(name);
    }

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
