#include "Win32Text.h"

#include <climits>

#include "platform/Platform.h"

namespace Platform {

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX)
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring out(units > 0 ? static_cast<size_t>(units) : 0, L'\0');
    if (units > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &out[0], units);
    return out;
}

std::string Utf8FromWide(const wchar_t* text, size_t length) {
    if (length == 0 || length > INT_MAX)
        return std::string();
    const int units = static_cast<int>(length);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, units, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string ErrorReason(DWORD code) {
    const std::optional<std::wstring> text = SystemErrorText(code);
    if (!text)
        return "system error " + std::to_string(code);
    std::string reason = Utf8FromWide(text->data(), text->size());
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

} // namespace Platform
