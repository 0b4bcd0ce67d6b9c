#include "support-proxy/SLSettingsNode.h"

#include <boost/make_shared.hpp>

#include <utility>

#include "service-common/Atom.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "support-proxy/NodesList.h"
#include "support-proxy/SettingsInterface.h"

namespace Settings {

namespace {

using FailureSites::SettingsNode;

SODetails::BasicServiceObjectPtr<> SettingsService() {
    static const SODetails::AtomStatic kSLSettings("SLSettings");
    return SP::GetServiceObject(kSLSettings, kSLSettings.name());
}

// The names in the list object an enumeration handed out, which is then let go.
template <class Slot>
boost::shared_ptr<INodesList> Enumerate(ServiceObject* service, uint32_t root,
                                        const std::wstring& path) {
    SODetails::BasicServiceObjectPtr<> list;
    SODetails::CallChecked<Slot>(service, root, path.c_str(), list.Receive());
    return boost::make_shared<NodesList>(list.get());
}

} // namespace

boost::shared_ptr<ISettingsNode> SLSettingsRoot::GetLinksNode() {
    return GetChildNode(L"Links");
}

boost::shared_ptr<ISettingsNode> SLSettingsRoot::GetPreviewersSettingsNode() {
    return GetChildNode(L"Previewers Settings");
}

boost::shared_ptr<ISettingsNode> SLSettingsRoot::GetPreviousSettingsNode() {
    return GetChildNode(L"Previous settings");
}

boost::shared_ptr<ISettingsNode> SLSettingsRoot::GetOptionsNode() {
    return GetChildNode(L"Options");
}

boost::shared_ptr<ISettingsNode> SLSettingsRoot::GetRecoveryPointApplicationNode() {
    return GetChildNode(L"Recovery Point Application");
}

template <class Root>
SLSettingsNode<Root>::SLSettingsNode(uint32_t rootId, std::wstring path)
    : SLSettingsNode(rootId, std::move(path), SettingsService(),
                     boost::make_shared<SLSettingValue>()) {}

template <class Root>
SLSettingsNode<Root>::SLSettingsNode(uint32_t rootId, std::wstring path,
                                     SODetails::BasicServiceObjectPtr<> service,
                                     boost::shared_ptr<SLSettingValue> valueAccess)
    : service(std::move(service)), valueAccess(std::move(valueAccess)), path(std::move(path)),
      rootId(rootId) {}

template <class Root> ServiceObject* SLSettingsNode<Root>::Service(const char* operation) const {
    if (!service)
        throw ServiceObjectException(SODetails::kNotAvailable, L"SLSettings service not loaded",
                                     std::string(SettingsNode::kFunctionPrefix) + operation,
                                     SettingsNode::kFile, SettingsNode::kNotLoadedLine);
    return service.get();
}

template <class Root> void SLSettingsNode<Root>::SetInt(const std::wstring& name, int32_t value) {
    valueAccess->SetInt(rootId, path, name, value);
}

template <class Root> int32_t SLSettingsNode<Root>::GetInt(const std::wstring& name) {
    return valueAccess->GetInt(rootId, path, name);
}

template <class Root>
void SLSettingsNode<Root>::SetType2Value(const std::wstring& name, uint32_t value) {
    valueAccess->SetType2Value(rootId, path, name, value);
}

template <class Root> uint32_t SLSettingsNode<Root>::GetType2Value(const std::wstring& name) {
    return valueAccess->GetType2Value(rootId, path, name);
}

template <class Root> void SLSettingsNode<Root>::SetBool(const std::wstring& name, bool value) {
    valueAccess->SetBool(rootId, path, name, value);
}

template <class Root> bool SLSettingsNode<Root>::GetBool(const std::wstring& name) {
    return valueAccess->GetBool(rootId, path, name);
}

template <class Root>
void SLSettingsNode<Root>::SetString(const std::wstring& name, const std::wstring& value) {
    valueAccess->SetString(rootId, path, name, value);
}

template <class Root> std::wstring SLSettingsNode<Root>::GetString(const std::wstring& name) {
    return valueAccess->GetString(rootId, path, name);
}

template <class Root>
void SLSettingsNode<Root>::SetType4Value(const std::wstring& name, const void* data,
                                         uint32_t count) {
    valueAccess->SetType4Value(rootId, path, name, data, count);
}

template <class Root>
void SLSettingsNode<Root>::SetType4Value64(const std::wstring& name, const void* data,
                                           uint64_t size) {
    valueAccess->SetType4Value64(rootId, path, name, data, size);
}

template <class Root> bool SLSettingsNode<Root>::IsValueExists(const std::wstring& name) {
    uint32_t exists = 0;
    SODetails::CallChecked<SettingsOps::IsValueExists>(Service("IsValueExists"), rootId,
                                                       path.c_str(), name.c_str(), &exists);
    return exists != 0;
}

template <class Root> void SLSettingsNode<Root>::DeleteValue(const std::wstring& name) {
    SODetails::CallChecked<SettingsOps::DeleteValue>(Service("DeleteValue"), rootId, path.c_str(),
                                                     name.c_str());
}

template <class Root> void SLSettingsNode<Root>::DeleteChildNode(const std::wstring& name) {
    ServiceObject* object = Service("DeleteChildNode");
    if (name.empty())
        return;
    if (name.find(L'\\') != std::wstring::npos)
        throw ServiceObjectException(SODetails::kBadArgument, L"Bad param",
                                     std::string(SettingsNode::kFunctionPrefix) + "DeleteChildNode",
                                     SettingsNode::kFile, SettingsNode::kBadChildNameLine);
    const std::wstring childPath = path + L"\\" + name;
    SODetails::CallChecked<SettingsOps::DeleteNode>(object, rootId, childPath.c_str());
}

template <class Root>
boost::shared_ptr<ISettingsNode> SLSettingsNode<Root>::GetChildNode(const std::wstring& name) {
    return boost::make_shared<SLSettingsNode<Root>>(rootId, path + L"\\" + name);
}

template <class Root> boost::shared_ptr<INodesList> SLSettingsNode<Root>::EnumerateChildNodes() {
    return Enumerate<SettingsOps::EnumerateChildNodes>(Service("EnumerateChildNodes"), rootId,
                                                       path);
}

template <class Root> boost::shared_ptr<INodesList> SLSettingsNode<Root>::EnumerateChildValues() {
    return Enumerate<SettingsOps::EnumerateChildValues>(Service("EnumerateChildValues"), rootId,
                                                        path);
}

template <class Root> bool SLSettingsNode<Root>::IsNodeExists() {
    uint32_t exists = 0;
    SODetails::CallChecked<SettingsOps::IsNodeExists>(Service("IsNodeExists"), rootId, path.c_str(),
                                                      &exists);
    return exists != 0;
}

template <class Root> void SLSettingsNode<Root>::DeleteNode() {
    SODetails::CallChecked<SettingsOps::DeleteNode>(Service("DeleteNode"), rootId, path.c_str());
}

template <class Root> void SLSettingsNode<Root>::CreateNode() {
    ServiceObject* object = Service("CreateNode");
    if (!IsNodeExists())
        SODetails::CallChecked<SettingsOps::CreateNode>(object, rootId, path.c_str());
}

template <class Root> void SLSettingsNode<Root>::ClearNode() {
    SODetails::CallChecked<SettingsOps::ClearNode>(Service("ClearNode"), rootId, path.c_str());
}

template class SLSettingsNode<SLSettingsRoot>;

} // namespace Settings
