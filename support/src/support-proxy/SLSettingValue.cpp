#include "support-proxy/SLSettingValue.h"

#include <utility>

#include "service-common/ServiceObjectException.h"
#include "service-common/ServiceProvider.h"
#include "support-proxy/SettingsInterface.h"

namespace Settings {

namespace {

const wchar_t* const kNotLoaded = L"SLSettings service not loaded";

} // namespace

SLSettingValue::SLSettingValue() : service(SP::GetServiceObject(kTypedSettingsAtom, nullptr)) {}

SLSettingValue::SLSettingValue(SODetails::BasicServiceObjectPtr<> service)
    : service(std::move(service)) {}

ServiceObject* SLSettingValue::_Value(uint32_t missingCode) const {
    if (!service)
        throw ServiceObjectException(missingCode, kNotLoaded, FailureSites::kSettingValueNotLoaded);
    return service.get();
}

void SLSettingValue::CheckValueType(uint32_t root, const std::wstring& path,
                                    const std::wstring& name, uint32_t expected) {
    if (!service)
        throw ServiceObjectException(SODetails::kNotAvailable, kNotLoaded,
                                     FailureSites::kCheckValueTypeNotLoaded);
    try {
        uint32_t exists = 0;
        SODetails::CallChecked<SettingsOps::IsValueExists>(service.get(), root, path.c_str(),
                                                           name.c_str(), &exists);
        if (!exists)
            return;
        uint32_t type = 0;
        SODetails::CallChecked<SettingsOps::GetValueType>(service.get(), root, path.c_str(),
                                                          name.c_str(), &type);
        if (type != expected)
            throw ServiceObjectException(SODetails::kBadArgument, L"Type mismatch",
                                         FailureSites::kCheckValueTypeMismatch);
    } catch (const ServiceObjectException&) {
        // Neither a failed query nor a mismatch stops the typed operation:
        // the store's answer to it decides, and a write replaces the value.
    }
}

ServiceObject* SLSettingValue::Checked(uint32_t missingCode, uint32_t root,
                                       const std::wstring& path, const std::wstring& name,
                                       uint32_t expected) {
    ServiceObject* object = _Value(missingCode);
    CheckValueType(root, path, name, expected);
    return object;
}

int32_t SLSettingValue::GetInt(uint32_t root, const std::wstring& path, const std::wstring& name) {
    ServiceObject* object =
        Checked(SODetails::kSettingsReadsNotLoaded, root, path, name, kValueInt);
    uint32_t value = 0;
    SODetails::CallChecked<SettingsOps::GetInt>(object, root, path.c_str(), name.c_str(), &value);
    return static_cast<int32_t>(value);
}

void SLSettingValue::SetInt(uint32_t root, const std::wstring& path, const std::wstring& name,
                            int32_t value) {
    ServiceObject* object =
        Checked(SODetails::kSettingsWritesNotLoaded, root, path, name, kValueInt);
    SODetails::CallChecked<SettingsOps::SetInt>(object, root, path.c_str(), name.c_str(),
                                                static_cast<uint32_t>(value));
}

uint32_t SLSettingValue::GetType2Value(uint32_t root, const std::wstring& path,
                                       const std::wstring& name) {
    ServiceObject* object =
        Checked(SODetails::kSettingsReadsNotLoaded, root, path, name, kValueType2);
    uint32_t value = 0;
    SODetails::CallChecked<SettingsOps::GetType2Value>(object, root, path.c_str(), name.c_str(),
                                                       &value);
    return value;
}

void SLSettingValue::SetType2Value(uint32_t root, const std::wstring& path,
                                   const std::wstring& name, uint32_t value) {
    ServiceObject* object =
        Checked(SODetails::kSettingsWritesNotLoaded, root, path, name, kValueType2);
    SODetails::CallChecked<SettingsOps::SetType2Value>(object, root, path.c_str(), name.c_str(),
                                                       value);
}

bool SLSettingValue::GetBool(uint32_t root, const std::wstring& path, const std::wstring& name) {
    ServiceObject* object =
        Checked(SODetails::kSettingsReadsNotLoaded, root, path, name, kValueInt);
    uint32_t value = 0;
    SODetails::CallChecked<SettingsOps::GetInt>(object, root, path.c_str(), name.c_str(), &value);
    return value != 0;
}

void SLSettingValue::SetBool(uint32_t root, const std::wstring& path, const std::wstring& name,
                             bool value) {
    ServiceObject* object =
        Checked(SODetails::kSettingsWritesNotLoaded, root, path, name, kValueInt);
    SODetails::CallChecked<SettingsOps::SetInt>(object, root, path.c_str(), name.c_str(),
                                                value ? 1u : 0u);
}

std::wstring SLSettingValue::GetString(uint32_t root, const std::wstring& path,
                                       const std::wstring& name) {
    ServiceObject* object =
        Checked(SODetails::kSettingsReadsNotLoaded, root, path, name, kValueString);
    uint32_t length = 0;
    if (!SODetails::CallChecked<SettingsOps::GetString>(object, root, path.c_str(), name.c_str(),
                                                        nullptr, &length))
        return std::wstring();
    std::wstring text(length, L'\0');
    SODetails::CallChecked<SettingsOps::GetString>(object, root, path.c_str(), name.c_str(),
                                                   &text[0], &length);
    return text;
}

void SLSettingValue::SetString(uint32_t root, const std::wstring& path, const std::wstring& name,
                               const std::wstring& value) {
    ServiceObject* object =
        Checked(SODetails::kSettingsWritesNotLoaded, root, path, name, kValueString);
    SODetails::CallChecked<SettingsOps::SetString>(object, root, path.c_str(), name.c_str(),
                                                   value.c_str(),
                                                   static_cast<uint32_t>(value.size()));
}

void SLSettingValue::SetType4Value(uint32_t root, const std::wstring& path,
                                   const std::wstring& name, const void* data, uint32_t count) {
    ServiceObject* object =
        Checked(SODetails::kSettingsWritesNotLoaded, root, path, name, kValueType4);
    SODetails::CallChecked<SettingsOps::SetType4Value>(object, root, path.c_str(), name.c_str(),
                                                       data, count);
}

void SLSettingValue::SetType4Value64(uint32_t root, const std::wstring& path,
                                     const std::wstring& name, const void* data, uint64_t size) {
    ServiceObject* object =
        Checked(SODetails::kSettingsWritesNotLoaded, root, path, name, kValueType4);
    SODetails::CallChecked<SettingsOps::SetType4Value64>(object, root, path.c_str(), name.c_str(),
                                                         data, size);
}

} // namespace Settings
