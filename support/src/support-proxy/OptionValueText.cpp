#include "support-proxy/OptionValueText.h"

#include <boost/date_time/gregorian/gregorian_types.hpp>

#include <cctype>
#include <ctime>
#include <locale>
#include <sstream>
#include <stdexcept>

#include "platform/Platform.h"
#include "service-common/TextConversion.h"

namespace usropts {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kNoTime = -1;

// Reads exactly `count` digits at `at`, or fails with `problem`.
int Digits(const std::string& text, std::size_t& at, std::size_t count, const char* problem) {
    int number = 0;
    for (std::size_t end = at + count; at < end; ++at) {
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
            throw std::runtime_error(problem);
        number = number * 10 + (text[at] - '0');
    }
    return number;
}

void Expect(const std::string& text, std::size_t& at, char wanted, const char* problem) {
    if (at >= text.size() || text[at] != wanted)
        throw std::runtime_error(problem);
    ++at;
}

// The zone designator from `at` to the end, as minutes to add to the local
// time to reach UTC.
int64_t ZoneCorrectionMinutes(const std::string& text, std::size_t at) {
    static const char* const kTwoDigits =
        "Expected two digits for hours or minutes part in time zone of data-time.";
    if (at == text.size())
        return 0;
    const char first = text[at++];
    if (first != 'Z' && first != '+' && first != '-')
        throw std::runtime_error("First character after date-time is not a 'Z' or a sign.");
    int hours = 0, minutes = 0;
    if (first != 'Z') {
        hours = Digits(text, at, 2, kTwoDigits);
        Expect(text, at, ':',
               "Expected a colon between hours and minutes in time zone of date-time.");
        minutes = Digits(text, at, 2, kTwoDigits);
    }
    if (at != text.size())
        throw std::runtime_error("Unexpected text after the time zone.");
    if (hours > 23 || minutes > 59)
        throw std::runtime_error("The time zone's offset is out of range.");
    const int64_t offset = int64_t(hours) * 60 + minutes;
    return first == '+' ? -offset : offset;
}

} // namespace

std::wstring FloatToText(float value) {
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

float FloatFromText(const std::wstring& text) {
    std::wistringstream in(text);
    in.imbue(std::locale::classic());
    float value = 0;
    in >> value; // leaves 0 when no number can be read
    return value;
}

std::wstring TimeToText(int64_t secondsSinceEpoch) {
    if (secondsSinceEpoch < 0)
        return std::wstring();
    std::tm utc{};
    if (!Platform::GmTime(secondsSinceEpoch, &utc))
        throw std::out_of_range("the time " + std::to_string(secondsSinceEpoch) +
                                " lies beyond the calendar");
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    return SLText::ToWide(std::string(text, length));
}

int64_t ParseDateTime(const std::string& text) {
    static const char* const kShape = "A date-time reads YYYY-MM-DDTHH:MM:SS.";
    std::size_t at = 0;
    const int year = Digits(text, at, 4, kShape);
    Expect(text, at, '-', kShape);
    const int month = Digits(text, at, 2, kShape);
    Expect(text, at, '-', kShape);
    const int day = Digits(text, at, 2, kShape);
    Expect(text, at, 'T', kShape);
    const int hour = Digits(text, at, 2, kShape);
    Expect(text, at, ':', kShape);
    const int minute = Digits(text, at, 2, kShape);
    Expect(text, at, ':', kShape);
    const int second = Digits(text, at, 2, kShape);
    if (hour > 23 || minute > 59 || second > 59)
        throw std::runtime_error("The time of day is out of range.");
    bool fraction = false;
    if (at < text.size() && text[at] == '.') {
        const std::size_t digits = ++at;
        for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
            fraction = fraction || text[at] != '0';
        if (at == digits)
            throw std::runtime_error("Expected digits after the decimal point of the seconds.");
    }
    const int64_t correction = ZoneCorrectionMinutes(text, at);

    int64_t days = 0;
    try {
        using boost::gregorian::date;
        days = (date(year, month, day) - date(1970, 1, 1)).days();
    } catch (const std::out_of_range& e) {
        throw std::runtime_error(std::string("The date is not in the calendar: ") + e.what());
    }
    const int64_t seconds =
        days * kSecondsPerDay + hour * 3600 + minute * 60 + second + correction * 60;
    // The fraction moves a time before 1970 toward zero, one after it never.
    return seconds < 0 && fraction ? seconds + 1 : seconds;
}

int64_t TimeFromText(const std::wstring& text) {
    if (text.empty())
        return kNoTime;
    try {
        return ParseDateTime(SLText::ToNarrow(text));
    } catch (...) {
        return kNoTime;
    }
}

} // namespace usropts
