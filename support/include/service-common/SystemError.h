#pragma once

#include <cstdint>
#include <string>

// The system's English text for an error code (keeping its trailing line
// break), or the code in decimal when the system has no text for it.
std::wstring FormatSystemError(uint32_t code);
