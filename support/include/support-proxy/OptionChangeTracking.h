// Reports a changed option to the host's "InAppTracking" service, with its
// old and new values as text. Tracking never fails the change: whatever
// goes wrong is logged and dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "support-proxy/UserOptionTypes.h"

namespace usropts {

class IUserSetting;

// The old and the new value as text; `colour` when the option's path
// contains "Color".
using ChangeTexts = std::function<std::pair<std::wstring, std::wstring>(bool colour)>;

// `typeName` and `storedTypeName` name the value's instantiation in the
// failure record.
void TrackOptionChange(const IUserSetting& setting, const ChangeTexts& texts, const char* typeName,
                       const char* storedTypeName) noexcept;

// A value as the tracking service reads it: colours in upper-case
// hexadecimal without prefix or padding, other numbers in decimal.
std::wstring TrackingText(int value, bool colour);
std::wstring TrackingText(unsigned value, bool colour);
std::wstring TrackingText(bool value, bool colour);
std::wstring TrackingText(float value, bool colour);
std::wstring TrackingText(std::int64_t time, bool colour);
std::wstring TrackingText(const std::wstring& value, bool colour);
std::wstring TrackingText(const UsersPreferences::RecentView& value, bool colour);

} // namespace usropts
