// A node of a store that holds user options: named values of the options'
// types, and child nodes by key. Failures of the store arrive as
// ServiceObjectException.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>

namespace usropts {

class IUserSettingNode {
public:
    // `create` says whether the caller is about to write below the child.
    virtual boost::shared_ptr<IUserSettingNode> GetChildNode(const wchar_t* name, bool create) = 0;
    // The node exists and holds a value `name`; never throws.
    virtual bool HasValue(const wchar_t* name) = 0;
    virtual void SetString(const wchar_t* name, const std::wstring& value) = 0;
    virtual std::wstring GetString(const wchar_t* name) = 0;
    virtual void SetInt(const wchar_t* name, int value) = 0;
    virtual int GetInt(const wchar_t* name) = 0;
    virtual void SetBool(const wchar_t* name, bool value) = 0;
    virtual bool GetBool(const wchar_t* name) = 0;
    virtual void SetFloat(const wchar_t* name, float value) = 0;
    virtual float GetFloat(const wchar_t* name) = 0;
    // Seconds since 1970-01-01 00:00:00 UTC; -1 for none.
    virtual void SetTime(const wchar_t* name, int64_t value) = 0;
    virtual int64_t GetTime(const wchar_t* name) = 0;

    virtual ~IUserSettingNode() = default;
};

using UserSettingNodePtr = boost::shared_ptr<IUserSettingNode>;

} // namespace usropts
