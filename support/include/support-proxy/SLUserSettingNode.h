// The options tree's storage node over a node of the host's settings store:
// integers and bools as the store's integers, text as its strings, floats
// and times as text.
#pragma once

#include <boost/shared_ptr.hpp>

#include "support-proxy/ISettingsNode.h"
#include "support-proxy/IUserSettingNode.h"

namespace usropts {

class SLUserSettingNode : public IUserSettingNode {
public:
    explicit SLUserSettingNode(boost::shared_ptr<Settings::ISettingsNode> node);

    // A node over the child's path; nothing is created in the store, whatever
    // `create` says.
    UserSettingNodePtr GetChildNode(const wchar_t* name, bool create) override;
    bool HasValue(const wchar_t* name) override;
    void SetString(const wchar_t* name, const std::wstring& value) override;
    std::wstring GetString(const wchar_t* name) override;
    void SetInt(const wchar_t* name, int value) override;
    int GetInt(const wchar_t* name) override;
    void SetBool(const wchar_t* name, bool value) override;
    bool GetBool(const wchar_t* name) override;
    // Floats are stored in the classic locale's default text form.
    void SetFloat(const wchar_t* name, float value) override;
    float GetFloat(const wchar_t* name) override;
    // Times are stored as UTC date-time text ("1970-01-01T00:00:00"); -1 as
    // the empty text.
    void SetTime(const wchar_t* name, int64_t value) override;
    int64_t GetTime(const wchar_t* name) override;

    const boost::shared_ptr<Settings::ISettingsNode>& SettingsNode() const { return node; }

private:
    boost::shared_ptr<Settings::ISettingsNode> node;
};

} // namespace usropts
