// The operations that every group, the root and every value share.
#include <cassert>

#include "support-proxy/BaseUserSettingRoot.h"
#include "support-proxy/IUserSetting.h"
#include "support-proxy/IUserSettingGroup.h"

namespace usropts {

std::wstring IUserSetting::GetPath() const {
    if (!parent)
        return GetName();
    return parent->GetPath() + L"/" + GetName();
}

IUserSetting::~IUserSetting() = default;

void IUserSettingValue::InitSetting(IUserSettingGroup* parent, boost::recursive_mutex* mutex,
                                    const UserSettingNodePtr& parentStoreNode,
                                    const UserSettingNodePtr& parentDefaultsNode) {
    this->parent = parent;
    this->mutex = mutex;
    storeNode = parentStoreNode;
    defaultsNode = parentDefaultsNode;
}

void ChildList::Attach(const ChildAccessor* accessors, IUserSettingGroup* owner) {
    accessors_ = accessors;
    size_ = 0;
    owner_ = owner;
}

void ChildList::Append(IUserSetting& child) {
    assert(&accessors_[size_](*owner_) == &child && "members join in declaration order");
    (void)child;
    ++size_;
}

IUserSetting* ChildList::At(std::size_t index) const {
    if (index >= size_ || !accessors_[index])
        return nullptr;
    return &accessors_[index](*owner_);
}

void IUserSettingGroup::InitSetting(IUserSettingGroup* parent, boost::recursive_mutex* mutex,
                                    const UserSettingNodePtr& parentStoreNode,
                                    const UserSettingNodePtr& parentDefaultsNode) {
    this->parent = parent;
    this->mutex = mutex;
    storeNode =
        parentStoreNode ? parentStoreNode->GetChildNode(GetName(), true) : UserSettingNodePtr();
    defaultsNode = parentDefaultsNode ? parentDefaultsNode->GetChildNode(GetName(), true)
                                      : UserSettingNodePtr();
}

void IUserSettingGroup::BindValue(IUserSettingValue& value) {
    value.InitSetting(this, mutex, storeNode, defaultsNode);
    children.Append(value);
}

UserSettingNodePtr IUserSettingGroup::NodeForMembers(const UserSettingNodePtr& node,
                                                     bool create) const {
    return node ? node->GetChildNode(GetName(), create) : storeNode;
}

bool IUserSettingGroup::IsDefault() const {
    TreeLock lock(mutex);
    for (std::size_t i = 0; i < children.Size(); ++i)
        if (const IUserSetting* child = children.At(i))
            if (!child->IsDefault())
                return false;
    return true;
}

void IUserSettingGroup::ResetToDefault() {
    TreeLock lock(mutex);
    for (std::size_t i = 0; i < children.Size(); ++i)
        if (IUserSetting* child = children.At(i))
            child->ResetToDefault();
}

// A child node is only a path: one serves every member.
void IUserSettingGroup::Load(const UserSettingNodePtr& node) {
    TreeLock lock(mutex);
    const UserSettingNodePtr members = NodeForMembers(node, false);
    for (std::size_t i = 0; i < children.Size(); ++i)
        if (IUserSetting* child = children.At(i))
            child->Load(members);
}

void IUserSettingGroup::Save(const UserSettingNodePtr& node) {
    TreeLock lock(mutex);
    const UserSettingNodePtr members = NodeForMembers(node, true);
    for (std::size_t i = 0; i < children.Size(); ++i)
        if (IUserSetting* child = children.At(i))
            child->Save(members);
}

bool IUserSettingGroup::EqualsStored(const UserSettingNodePtr& node) const {
    if (!node)
        return false;
    TreeLock lock(mutex);
    const UserSettingNodePtr members = NodeForMembers(node, false);
    for (std::size_t i = 0; i < children.Size(); ++i)
        if (const IUserSetting* child = children.At(i))
            if (!child->EqualsStored(members))
                return false;
    return true;
}

BaseUserSettingRoot::~BaseUserSettingRoot() {
    defaultsNode.reset();
    storeNode.reset();
}

} // namespace usropts
