// Conversions between the ANSI code page and wide text, through the host's
// code-page library so that every module converts the same way.
#pragma once

#include <string>

namespace SLText {

// Malformed input converts as far as it can be; never throws for bad text.
std::wstring ToWide(const std::string& text);
std::string ToNarrow(const std::wstring& text);

} // namespace SLText
