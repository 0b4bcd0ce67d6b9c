// A node of the host's settings store, as the module sees it: typed values
// by name, child nodes by key, and the node itself. Failures of the store
// arrive as ServiceObjectException.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>

// An ordered list of names that an enumeration gave.
class INodesList {
public:
    virtual int64_t size() const = 0;
    // Throws ServiceObjectException (code 9, "out of range") for an index
    // that is not below size().
    virtual const std::wstring& name(uint64_t index) const = 0;
    virtual ~INodesList() = default;
};

namespace Settings {

class ISettingsNode {
public:
    // Typed values of this node.
    virtual void SetInt(const std::wstring& name, int32_t value) = 0;
    virtual int32_t GetInt(const std::wstring& name) = 0;
    virtual void SetType2Value(const std::wstring& name, uint32_t value) = 0;
    virtual uint32_t GetType2Value(const std::wstring& name) = 0;
    virtual void SetBool(const std::wstring& name, bool value) = 0;
    virtual bool GetBool(const std::wstring& name) = 0;
    virtual void SetString(const std::wstring& name, const std::wstring& value) = 0;
    virtual std::wstring GetString(const std::wstring& name) = 0;
    virtual void SetType4Value(const std::wstring& name, const void* data, uint32_t count) = 0;
    virtual void SetType4Value64(const std::wstring& name, const void* data, uint64_t size) = 0;

    // Values and child nodes.
    virtual bool IsValueExists(const std::wstring& name) = 0;
    virtual void DeleteValue(const std::wstring& name) = 0;
    virtual void DeleteChildNode(const std::wstring& name) = 0;
    // The child's path composed with this one; the store is not touched.
    virtual boost::shared_ptr<ISettingsNode> GetChildNode(const std::wstring& name) = 0;
    virtual boost::shared_ptr<INodesList> EnumerateChildNodes() = 0;
    virtual boost::shared_ptr<INodesList> EnumerateChildValues() = 0;

    // This node.
    virtual bool IsNodeExists() = 0;
    virtual void DeleteNode() = 0;
    virtual void CreateNode() = 0;
    virtual void ClearNode() = 0;

    virtual ~ISettingsNode() = default;
};

// A node with the store's well-known children.
class ISettingsRoot : public ISettingsNode {
public:
    virtual boost::shared_ptr<ISettingsNode> GetLinksNode() = 0;
    virtual boost::shared_ptr<ISettingsNode> GetPreviewersSettingsNode() = 0;
    virtual boost::shared_ptr<ISettingsNode> GetPreviousSettingsNode() = 0;
    virtual boost::shared_ptr<ISettingsNode> GetOptionsNode() = 0;
    virtual boost::shared_ptr<ISettingsNode> GetRecoveryPointApplicationNode() = 0;
};

} // namespace Settings
