#include "support-proxy/SLUserSettingNode.h"

#include <boost/make_shared.hpp>

#include <utility>

#include "service-common/ServiceObjectException.h"
#include "support-proxy/OptionValueText.h"

namespace usropts {

SLUserSettingNode::SLUserSettingNode(boost::shared_ptr<Settings::ISettingsNode> node)
    : node(std::move(node)) {}

UserSettingNodePtr SLUserSettingNode::GetChildNode(const wchar_t* name, bool) {
    return boost::make_shared<SLUserSettingNode>(node->GetChildNode(name));
}

bool SLUserSettingNode::HasValue(const wchar_t* name) {
    try {
        return node->IsNodeExists() && node->IsValueExists(name);
    } catch (const ServiceObjectException&) {
        return false;
    }
}

void SLUserSettingNode::SetString(const wchar_t* name, const std::wstring& value) {
    node->SetString(name, value);
}

std::wstring SLUserSettingNode::GetString(const wchar_t* name) {
    return node->GetString(name);
}

void SLUserSettingNode::SetInt(const wchar_t* name, int value) {
    node->SetInt(name, value);
}

int SLUserSettingNode::GetInt(const wchar_t* name) {
    return node->GetInt(name);
}

void SLUserSettingNode::SetBool(const wchar_t* name, bool value) {
    node->SetBool(name, value);
}

bool SLUserSettingNode::GetBool(const wchar_t* name) {
    return node->GetBool(name);
}

void SLUserSettingNode::SetFloat(const wchar_t* name, float value) {
    node->SetString(name, FloatToText(value));
}

float SLUserSettingNode::GetFloat(const wchar_t* name) {
    return FloatFromText(node->GetString(name));
}

void SLUserSettingNode::SetTime(const wchar_t* name, int64_t value) {
    node->SetString(name, TimeToText(value));
}

int64_t SLUserSettingNode::GetTime(const wchar_t* name) {
    return TimeFromText(node->GetString(name));
}

} // namespace usropts
