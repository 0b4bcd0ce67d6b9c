#include "RequestValues.h"

#include <httplib.h>

#include <cmath>
#include <cstdlib>

#include "EditorRefusal.h"

namespace RequestValues {

namespace {

[[noreturn]] void Refuse(const char* name, const char* wanted) {
    throw EditorRefusal(HttpStatus::kBadRequest,
                        std::string("the parameter \"") + name + "\" must be " + wanted);
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.size() <= 18 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

std::string Text(const httplib::Request& req, const char* name) {
    if (req.get_param_value_count(name) != 1)
        Refuse(name, "given once");
    return req.get_param_value(name);
}

uint64_t Unsigned(const httplib::Request& req, const char* name, uint64_t max) {
    const std::string text = Text(req, name);
    if (!AllDigits(text) || std::strtoull(text.c_str(), nullptr, 10) > max)
        Refuse(name, ("a whole number up to " + std::to_string(max)).c_str());
    return std::strtoull(text.c_str(), nullptr, 10);
}

int32_t Signed(const httplib::Request& req, const char* name, int32_t max) {
    const std::string text = Text(req, name);
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (!AllDigits(digits) || std::strtoll(digits.c_str(), nullptr, 10) > max)
        Refuse(name, ("a whole number within " + std::to_string(max)).c_str());
    const int32_t value = static_cast<int32_t>(std::strtoll(digits.c_str(), nullptr, 10));
    return negative ? -value : value;
}

float Number(const httplib::Request& req, const char* name) {
    const std::string text = Text(req, name);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || text.size() > 24 || end != text.c_str() + text.size() ||
        text.find_first_not_of("0123456789.-") != std::string::npos || !std::isfinite(value))
        Refuse(name, "a decimal number");
    return static_cast<float>(value);
}

uint32_t Color(const httplib::Request& req, const char* name) {
    const std::string text = Text(req, name);
    if (text.size() != 8 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        Refuse(name, "eight hexadecimal digits AARRGGBB");
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
}

std::size_t Choice(const httplib::Request& req, const char* name, const char* const* choices) {
    const std::string text = Text(req, name);
    std::string all;
    for (std::size_t i = 0; choices[i]; ++i) {
        if (text == choices[i])
            return i;
        all += std::string(all.empty() ? "" : ", ") + choices[i];
    }
    Refuse(name, ("one of " + all).c_str());
}

} // namespace RequestValues
