#include "OptionCatalogue.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>
#include <stdexcept>
#include <type_traits>

#include "CommandLine.h"
#include "service-common/TextConversion.h"
#include "support-proxy/OptionValueText.h"
#include "support-proxy/UserOptions.h"

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& takes,
                         const std::string& text) {
    throw UsageError(path + " takes " + takes + ", not '" + text + "'");
}

std::string Hex8(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

uint32_t ParseColour(std::string text, const std::string& path) {
    const std::string given = text;
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)
        text.erase(0, 2);
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    if (text.size() != 8 || std::from_chars(text.data(), end, value, 16).ptr != end)
        Refuse(path, "a colour as 8 hexadecimal digits AARRGGBB (for example FFFFEA3B)", given);
    return value;
}

int64_t ParseInteger(const std::string& text, int64_t min, int64_t max, const std::string& path) {
    const std::size_t start = !text.empty() && text[0] == '+' ? 1 : 0;
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data() + start, end, value);
    if (text.size() == start || parsed.ptr != end || parsed.ec != std::errc() || value < min ||
        value > max)
        Refuse(path, "a whole number from " + std::to_string(min) + " to " + std::to_string(max),
               text);
    return value;
}

bool ParseBool(const std::string& text, const std::string& path) {
    std::string word;
    for (const char c : text)
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "true" || word == "1")
        return true;
    if (word == "false" || word == "0")
        return false;
    Refuse(path, "true or false", text);
}

float ParseFloat(const std::string& text, const std::string& path) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    if (text.empty() || in.fail() || !in.eof() || !std::isfinite(value) ||
        std::fabs(value) > FLT_MAX)
        Refuse(path, "a number such as 1.5 or 1e+07", text);
    return static_cast<float>(value);
}

int64_t ParseTime(const std::string& text, const std::string& path) {
    if (text.empty())
        return -1; // no time
    int64_t seconds = 0;
    try {
        seconds = usropts::ParseDateTime(text);
    } catch (const std::runtime_error& e) {
        Refuse(path, std::string("a UTC date-time such as 2024-05-01T12:00:00Z (") + e.what() + ")",
               text);
    }
    if (seconds < 0)
        Refuse(path, "a date-time from 1970 on", text);
    return seconds;
}

std::wstring ParseText(const std::string& text, const std::string& path) {
    const std::wstring wide = SLText::ToWide(text);
    if (!text.empty() && wide.empty())
        Refuse(path, "UTF-8 text", text);
    return wide;
}

template <class T> std::string Show(const T& value, bool colour) {
    if constexpr (std::is_same_v<T, bool>)
        return value ? "true" : "false";
    else if constexpr (std::is_same_v<T, int> || std::is_same_v<T, unsigned>)
        return colour ? Hex8(static_cast<uint32_t>(value)) : std::to_string(value);
    else if constexpr (std::is_same_v<T, float>)
        return SLText::ToNarrow(usropts::FloatToText(value));
    else if constexpr (std::is_same_v<T, std::int64_t>)
        return SLText::ToNarrow(usropts::TimeToText(value));
    else if constexpr (std::is_same_v<T, std::wstring>)
        return SLText::ToNarrow(value);
    else
        return std::to_string(usropts::ToStored(value)); // enumerations
}

template <class T> T Parse(const std::string& text, bool colour, const std::string& path) {
    constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();
    if constexpr (std::is_same_v<T, bool>)
        return ParseBool(text, path);
    else if constexpr (std::is_same_v<T, int>)
        return colour ? static_cast<int>(ParseColour(text, path))
                      : static_cast<int>(ParseInteger(text, kIntMin, kIntMax, path));
    else if constexpr (std::is_same_v<T, unsigned>)
        return colour ? ParseColour(text, path)
                      : static_cast<unsigned>(
                            ParseInteger(text, 0, std::numeric_limits<uint32_t>::max(), path));
    else if constexpr (std::is_same_v<T, float>)
        return ParseFloat(text, path);
    else if constexpr (std::is_same_v<T, std::int64_t>)
        return ParseTime(text, path);
    else if constexpr (std::is_same_v<T, std::wstring>)
        return ParseText(text, path);
    else
        return usropts::FromStored<T>(static_cast<int>(ParseInteger(text, kIntMin, kIntMax, path)));
}

template <class Value> OptionEntry EntryOf(Value& option) {
    using T = typename Value::ValueType;
    OptionEntry entry;
    entry.path = SLText::ToNarrow(option.GetPath());
    entry.type = usropts::OptionType<T>::kKind;
    const bool colour = entry.path.find("Color") != std::string::npos;
    entry.value = [&option, colour] { return Show<T>(option.Get(), colour); };
    entry.defaultValue = [colour] { return Show<T>(T(Value::defaultValue), colour); };
    entry.set = [&option, colour, path = entry.path](const std::string& text) {
        option.Set(Parse<T>(text, colour, path));
    };
    entry.reset = [&option] { option.Set(T(Value::defaultValue)); };
    return entry;
}

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// How far a path is from what was asked: by the whole path, the path
// without "Options/", or its last key, whichever is closest.
std::size_t Distance(const std::string& wanted, const std::string& path) {
    const std::string lower = Lower(path);
    const std::size_t slash = lower.rfind('/');
    return std::min({EditDistance(wanted, lower), EditDistance(wanted, lower.substr(8)),
                     EditDistance(wanted, lower.substr(slash + 1))});
}

} // namespace

std::vector<OptionEntry> OptionCatalogue(UsrOpt_Options& options) {
    std::vector<OptionEntry> catalogue;
    options.ForEachValue([&](auto& option) { catalogue.push_back(EntryOf(option)); });
    return catalogue;
}

std::vector<std::string> ClosestPaths(const std::vector<OptionEntry>& catalogue,
                                      const std::string& wanted, std::size_t count) {
    const std::string lower = Lower(wanted);
    std::vector<std::pair<std::size_t, const std::string*>> ranked;
    for (const OptionEntry& entry : catalogue)
        ranked.emplace_back(Distance(lower, entry.path), &entry.path);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> closest;
    for (std::size_t i = 0; i < ranked.size() && i < count; ++i)
        closest.push_back(*ranked[i].second);
    return closest;
}
