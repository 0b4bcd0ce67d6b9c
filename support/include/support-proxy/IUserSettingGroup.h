// A group of the user options tree: an ordered list of member settings,
// stored in a node of its own below its parent's.
#pragma once

#include <cstddef>

#include "support-proxy/IUserSetting.h"

namespace usropts {

// Reaches one member sub-object of a group.
using ChildAccessor = IUserSetting& (*)(IUserSettingGroup& group);

template <class Group, class Member, Member Group::*member>
IUserSetting& AccessChild(IUserSettingGroup& group) {
    return static_cast<Group&>(group).*member;
}

// A group's members in declaration order. The members are sub-objects of
// the group, reached through a table of accessors that each group class has
// once, so the list needs no memory of its own.
class ChildList {
public:
    void Attach(const ChildAccessor* accessors, IUserSettingGroup* owner);
    // The next member in declaration order joins the list.
    void Append(IUserSetting& child);

    std::size_t Size() const { return size_; }
    IUserSetting* At(std::size_t index) const;

private:
    const ChildAccessor* accessors_ = nullptr;
    std::size_t size_ = 0;
    IUserSettingGroup* owner_ = nullptr;
};

class IUserSettingGroup : public IUserSetting {
public:
    // Every member's, in order, until the first that answers false.
    bool IsDefault() const override;
    void ResetToDefault() override;
    // The members get the child of `node` named by this group's key, or,
    // without a node, the group's own store node.
    void Load(const UserSettingNodePtr& node) override;
    void Save(const UserSettingNodePtr& node) override;
    // False without a node.
    bool EqualsStored(const UserSettingNodePtr& node) const override;

    // Binds the group to its parent: its nodes are the parent's extended by
    // its key.
    void InitSetting(IUserSettingGroup* parent, boost::recursive_mutex* mutex,
                     const UserSettingNodePtr& parentStoreNode,
                     const UserSettingNodePtr& parentDefaultsNode);

    const ChildList& Children() const { return children; }

protected:
    // For the generated BuildChildren of each group: binds a member to this
    // group and appends it to the children.
    void AttachChildren(const ChildAccessor* accessors) { children.Attach(accessors, this); }
    void BindValue(IUserSettingValue& value);
    template <class Group> void BindGroup(Group& group) {
        group.InitSetting(this, mutex, storeNode, defaultsNode);
        children.Append(group);
        group.BuildChildren();
    }

    ChildList children;

private:
    // The child node that members of this group use under `node`.
    UserSettingNodePtr NodeForMembers(const UserSettingNodePtr& node, bool create) const;
};

static_assert(sizeof(IUserSettingGroup) == sizeof(IUserSetting) + 3 * sizeof(void*),
              "a group adds its list of children");

} // namespace usropts
