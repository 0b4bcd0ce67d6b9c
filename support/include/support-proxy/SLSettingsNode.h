// The proxy node of the host's settings store: a store root id and a node
// path, with every operation forwarded to the "SLSettings" service.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>

#include "service-common/BasicServiceObjectPtr.h"
#include "support-proxy/ISettingsNode.h"
#include "support-proxy/SLSettingValue.h"

namespace Settings {

// The well-known children, on top of GetChildNode.
class SLSettingsRoot : public ISettingsRoot {
public:
    boost::shared_ptr<ISettingsNode> GetLinksNode() override;
    boost::shared_ptr<ISettingsNode> GetPreviewersSettingsNode() override;
    boost::shared_ptr<ISettingsNode> GetPreviousSettingsNode() override;
    boost::shared_ptr<ISettingsNode> GetOptionsNode() override;
    boost::shared_ptr<ISettingsNode> GetRecoveryPointApplicationNode() override;
};

template <class Root> class SLSettingsNode : public Root {
public:
    // Fetches both service references (ServiceObjectException when the
    // provider cannot give them).
    SLSettingsNode(uint32_t rootId, std::wstring path);
    // Over references the caller holds; either may be empty.
    SLSettingsNode(uint32_t rootId, std::wstring path, SODetails::BasicServiceObjectPtr<> service,
                   boost::shared_ptr<SLSettingValue> valueAccess);

    void SetInt(const std::wstring& name, int32_t value) override;
    int32_t GetInt(const std::wstring& name) override;
    void SetType2Value(const std::wstring& name, uint32_t value) override;
    uint32_t GetType2Value(const std::wstring& name) override;
    void SetBool(const std::wstring& name, bool value) override;
    bool GetBool(const std::wstring& name) override;
    void SetString(const std::wstring& name, const std::wstring& value) override;
    std::wstring GetString(const std::wstring& name) override;
    void SetType4Value(const std::wstring& name, const void* data, uint32_t count) override;
    void SetType4Value64(const std::wstring& name, const void* data, uint64_t size) override;

    bool IsValueExists(const std::wstring& name) override;
    void DeleteValue(const std::wstring& name) override;
    // Refuses a name with a backslash: it would reach past the child.
    void DeleteChildNode(const std::wstring& name) override;
    boost::shared_ptr<ISettingsNode> GetChildNode(const std::wstring& name) override;
    boost::shared_ptr<INodesList> EnumerateChildNodes() override;
    boost::shared_ptr<INodesList> EnumerateChildValues() override;

    bool IsNodeExists() override;
    void DeleteNode() override;
    // Creates the node only when it does not exist yet.
    void CreateNode() override;
    void ClearNode() override;

    uint32_t RootId() const { return rootId; }
    const std::wstring& Path() const { return path; }

private:
    // The node service, or ServiceObjectException naming `operation`.
    ServiceObject* Service(const char* operation) const;

    SODetails::BasicServiceObjectPtr<> service;
    boost::shared_ptr<SLSettingValue> valueAccess;
    std::wstring path;
    uint32_t rootId;
};

extern template class SLSettingsNode<SLSettingsRoot>;

} // namespace Settings
