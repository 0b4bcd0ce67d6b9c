#include "MarkupColorText.h"

#include <sstream>

std::wstring MarkupColorText(MarkupColor color) {
    std::wostringstream text;
    text << std::hex << color;
    return text.str();
}

MarkupColor ParseMarkupColorText(const std::wstring& text) {
    std::wistringstream stream(text);
    MarkupColor color = 0;
    stream >> std::hex >> color;
    return stream.fail() ? 0 : color;
}
