// The values of the editor's requests, read strictly: anything that does not
// fit throws EditorRefusal (400) naming the parameter.
#pragma once

#include <cstdint>
#include <string>

namespace httplib {
struct Request;
}

namespace RequestValues {

// The parameter's text; a missing one is refused.
std::string Text(const httplib::Request& req, const char* name);
// Decimal digits, at most `max`.
uint64_t Unsigned(const httplib::Request& req, const char* name, uint64_t max);
// An optional minus and decimal digits, within +-max.
int32_t Signed(const httplib::Request& req, const char* name, int32_t max);
// A finite decimal number.
float Number(const httplib::Request& req, const char* name);
// Eight hexadecimal digits AARRGGBB.
uint32_t Color(const httplib::Request& req, const char* name);
// One of `choices` (a null-terminated list); its index.
std::size_t Choice(const httplib::Request& req, const char* name, const char* const* choices);

} // namespace RequestValues
