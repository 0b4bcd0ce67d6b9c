// Any text as a stored float or time of the options store, and as a
// date-time typed on the command line. Nothing may crash; what the parsers
// accept must come back unchanged through the text it is stored as.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "FuzzFiles.h"
#include "support-proxy/OptionValueText.h"

namespace {

// A stored time read back is written as the same text and read as the same time.
void CheckTime(int64_t time) {
    if (time < 0)
        return;
    std::wstring text;
    try {
        text = usropts::TimeToText(time);
    } catch (const std::out_of_range&) {
        return; // beyond the calendar's years: refused, not stored
    }
    fuzz::Require(usropts::TimeFromText(text) == time, "a time survives its stored text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The bytes as UTF-32 code units (as the store's strings arrive), and
    // as narrow text.
    std::wstring wide(size / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data, wide.size() * sizeof(wchar_t));
    std::wstring narrowAsWide(data, data + size);
    const std::string narrow(reinterpret_cast<const char*>(data), size);

    for (const std::wstring& text : {wide, narrowAsWide}) {
        const float value = usropts::FloatFromText(text);
        if (std::isfinite(value)) {
            const std::wstring stored = usropts::FloatToText(value);
            fuzz::Require(usropts::FloatToText(usropts::FloatFromText(stored)) == stored,
                          "a float's stored text reads back as itself");
        }
        CheckTime(usropts::TimeFromText(text));
    }
    try {
        CheckTime(usropts::ParseDateTime(narrow));
    } catch (const std::runtime_error&) {
        // refused with a message: what a typed value that does not fit gets
    }
    return 0;
}
