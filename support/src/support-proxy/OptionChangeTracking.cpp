#include "support-proxy/OptionChangeTracking.h"

#include <cwchar>
#include <exception>

#include "service-common/Atom.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/Log.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "support-proxy/IUserSetting.h"
#include "support-proxy/InAppTrackingInterface.h"
#include "support-proxy/OptionValueText.h"
#include "svcbroker.h"

namespace usropts {

namespace {

const char* const kTrackingSource = "optionsmacrosinclude";
constexpr uint32_t kTrackingLine = 112;

std::string TrackingSignature(const char* typeName, const char* storedTypeName) {
    return std::string("void __cdecl usropts::BaseUserSettingValue<") + typeName + "," +
           storedTypeName + ">::_TrackOptionChange(const " + typeName + " &)";
}

void Track(const IUserSetting& setting, const ChangeTexts& texts) {
    static const SODetails::AtomStatic kInAppTracking("InAppTracking");
    // The service may well be absent: no failure text, no exception.
    SODetails::BasicServiceObjectPtr<> tracking;
    uint32_t systemError = 0;
    ServiceProviderGetServiceObject(kInAppTracking, tracking.Receive(), &systemError);
    if (!tracking)
        return;
    const std::wstring path = setting.GetPath();
    const auto [oldText, newText] = texts(path.find(L"Color") != std::wstring::npos);
    SODetails::CallChecked<InAppTrackingOps::TrackOptionChange>(tracking.get(), path.c_str(),
                                                                oldText.c_str(), newText.c_str());
}

} // namespace

void TrackOptionChange(const IUserSetting& setting, const ChangeTexts& texts, const char* typeName,
                       const char* storedTypeName) noexcept {
    try {
        Track(setting, texts);
    } catch (const ServiceObjectException& e) {
        LogCaught(e, SODetails::kLogSeverityFailure);
    } catch (const std::exception& e) {
        try {
            Log(SLText::ToWide(e.what()), SODetails::kLogSeverityFailure, kTrackingSource,
                kTrackingLine, TrackingSignature(typeName, storedTypeName).c_str());
        } catch (...) {
        }
    } catch (...) {
    }
}

std::wstring TrackingText(int value, bool colour) {
    if (colour)
        return TrackingText(static_cast<unsigned>(value), colour);
    return std::to_wstring(value);
}

std::wstring TrackingText(unsigned value, bool colour) {
    if (!colour)
        return std::to_wstring(value);
    wchar_t hex[16];
    std::swprintf(hex, sizeof hex / sizeof hex[0], L"%X", value);
    return hex;
}

std::wstring TrackingText(bool value, bool) {
    return value ? L"true" : L"false";
}

std::wstring TrackingText(float value, bool) {
    return FloatToText(value);
}

std::wstring TrackingText(std::int64_t time, bool) {
    return TimeToText(time);
}

std::wstring TrackingText(const std::wstring& value, bool) {
    return value;
}

std::wstring TrackingText(const UsersPreferences::RecentView& value, bool colour) {
    return TrackingText(value.word, colour);
}

} // namespace usropts
