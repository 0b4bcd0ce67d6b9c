// Text helpers of the Win32 platform layer: the host's narrow text is UTF-8,
// Windows takes UTF-16.
#pragma once

#include <windows.h>

#include <string>

namespace Platform {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, size_t length);
// The system's English text for a Win32 error code, without the line break.
std::string ErrorReason(DWORD code);

} // namespace Platform
