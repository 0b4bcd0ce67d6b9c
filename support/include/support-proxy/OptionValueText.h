// The text forms in which option values of type float and time are stored,
// and in which they are shown.
#pragma once

#include <cstdint>
#include <string>

namespace usropts {

// The classic locale's default form: six significant digits, the shorter of
// fixed and scientific notation (100, 0.5, 1e+07).
std::wstring FloatToText(float value);
// The number at the start of `text` in the classic locale; 0 when there is none.
float FloatFromText(const std::wstring& text);

// ISO 8601 extended UTC date-time without a zone ("1970-01-01T00:00:00");
// the empty text for a negative time. Throws std::out_of_range for a time
// the calendar cannot show.
std::wstring TimeToText(int64_t secondsSinceEpoch);
// The seconds since 1970-01-01T00:00:00 UTC of the date-time in `text`
// (truncated toward zero); -1 for the empty text or anything unparsable.
int64_t TimeFromText(const std::wstring& text);

// Parses "YYYY-MM-DDTHH:MM:SS", optional fractional seconds, then an
// optional zone designator: Z, or a sign with HH:MM, subtracted for plus and
// added for minus; none means UTC. Throws std::runtime_error saying what is
// wrong.
int64_t ParseDateTime(const std::string& text);

} // namespace usropts
