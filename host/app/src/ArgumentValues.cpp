#include "ArgumentValues.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "MarkupDriver.h"
#include "service-common/TextConversion.h"

namespace {

// Bytes of an argument that a message shows.
constexpr std::size_t kShownBytes = 60;
// The longest file name any supported system takes.
constexpr std::size_t kLongestFileName = 4096;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string Shortened(const std::string& argument) {
    std::size_t end = argument.size();
    if (end > kShownBytes) {
        end = kShownBytes;
        while (end > 0 && IsContinuationByte(argument[end]))
            --end;
    }
    std::string shown = argument.substr(0, end);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return end < argument.size() ? shown + "..." : shown;
}

std::string Quoted(const std::string& argument) {
    return "'" + Shortened(argument) + "'";
}

bool ParsePageNumber(const std::string& text, uint64_t* page) {
    uint64_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end || number == 0)
        return false;
    *page = number - 1;
    return true;
}

bool ParseCoordinate(const std::string& text, float* value) {
    double number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(number) ||
        std::fabs(number) > std::numeric_limits<float>::max())
        return false;
    *value = static_cast<float>(number);
    return true;
}

std::string ParseFileName(const std::string& text, const std::string& what) {
    if (text.empty())
        throw UsageError(what + " is an empty file name");
    if (text.size() > kLongestFileName)
        throw UsageError(what + " " + Quoted(text) + " is too long for a file name");
    return text;
}

std::wstring ParseText(const std::string& text, const std::string& what) {
    // The conversion is strict both ways: only valid UTF-8 comes back whole.
    std::wstring wide = SLText::ToWide(text);
    if (SLText::ToNarrow(wide) != text)
        throw UsageError(what + " is not valid UTF-8 text");
    return wide;
}

void CheckPageInRange(uint64_t page, uint64_t pageCount) {
    if (page >= pageCount)
        throw std::out_of_range("page " + std::to_string(page + 1) +
                                " is out of range: the document has " + std::to_string(pageCount) +
                                " page" + (pageCount == 1 ? "" : "s"));
}

PagePoint ParsePagePoint(const std::string& text, const std::string& option) {
    const std::size_t colon = text.find(':'), comma = text.find(',', colon + 1);
    PagePoint point{};
    if (colon == std::string::npos || comma == std::string::npos ||
        !ParsePageNumber(text.substr(0, colon), &point.page) ||
        !ParseCoordinate(text.substr(colon + 1, comma - colon - 1), &point.point.x) ||
        !ParseCoordinate(text.substr(comma + 1), &point.point.y))
        throw UsageError(option + " takes PAGE:X,Y, a page counted from 1 and two finite " +
                         "numbers (for example 1:72,700), not " + Quoted(text));
    return point;
}

std::string ParseInputFile(const CommandLine& line) {
    if (line.Positional().size() != 1)
        throw UsageError(line.Positional().empty() ? "no input file" : "one input file only");
    return ParseFileName(line.Positional().front(), "the input");
}

std::optional<std::string> ParseOutputFile(const CommandLine& line) {
    const auto shortOutput = line.Value("-o"), longOutput = line.Value("--output");
    if (shortOutput && longOutput)
        throw UsageError("option -o is given more than once");
    if (!shortOutput && !longOutput)
        return std::nullopt;
    return ParseFileName(shortOutput ? *shortOutput : *longOutput, "the output");
}
