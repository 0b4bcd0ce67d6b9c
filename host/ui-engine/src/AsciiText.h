// The ASCII rules that HTML and CSS share for white space and case.
#pragma once

#include <string>

namespace UIEngine::Detail {

inline bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

inline std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

} // namespace UIEngine::Detail
