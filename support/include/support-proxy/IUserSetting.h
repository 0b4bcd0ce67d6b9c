// A node of the user options tree: the root, a group or a value. The whole
// tree is one object (every node a sub-object of its group), shared by every
// module of the process, so the layout of these classes and the order of
// their virtual operations are fixed.
#pragma once

#include <boost/core/noncopyable.hpp>
#include <boost/thread/recursive_mutex.hpp>

#include <string>

#include "support-proxy/IUserSettingNode.h"

namespace usropts {

class IUserSettingGroup;

class IUserSetting : private boost::noncopyable {
public:
    // The keys from the root down, joined by "/": "Options/General/Last Color Highlight".
    virtual std::wstring GetPath() const;
    // The key under which the node is stored.
    virtual const wchar_t* GetName() const = 0;
    virtual bool IsDefault() const = 0;
    virtual void ResetToDefault() = 0;
    // With an empty node, the node's own store node is used.
    virtual void Load(const UserSettingNodePtr& node) = 0;
    virtual void Save(const UserSettingNodePtr& node) = 0;
    virtual bool EqualsStored(const UserSettingNodePtr& node) const = 0;
    virtual ~IUserSetting();

    IUserSettingGroup* Parent() const { return parent; }
    const UserSettingNodePtr& StoreNode() const { return storeNode; }

protected:
    IUserSetting() = default;

    IUserSettingGroup* parent = nullptr;     // not owning; null for the root
    boost::recursive_mutex* mutex = nullptr; // the tree's one mutex
    UserSettingNodePtr storeNode;            // where the user's values live
    UserSettingNodePtr defaultsNode;         // a store of defaults, if any
};

// The shared layout: the table pointer, parent, mutex and two shared node
// references (a pointer and a count block each).
static_assert(sizeof(IUserSetting) == 7 * sizeof(void*), "the common fields of every node");

// Holds the tree's mutex for one operation; nodes not yet bound to a tree
// have none to hold.
class TreeLock : private boost::noncopyable {
public:
    explicit TreeLock(boost::recursive_mutex* mutex) : mutex_(mutex) {
        if (mutex_)
            mutex_->lock();
    }
    ~TreeLock() {
        if (mutex_)
            mutex_->unlock();
    }

private:
    boost::recursive_mutex* mutex_;
};

// A leaf of the tree: stored as a named value in its group's store node.
class IUserSettingValue : public IUserSetting {
public:
    // Binds the value to its group: it shares the group's nodes.
    void InitSetting(IUserSettingGroup* parent, boost::recursive_mutex* mutex,
                     const UserSettingNodePtr& parentStoreNode,
                     const UserSettingNodePtr& parentDefaultsNode);
};

} // namespace usropts
