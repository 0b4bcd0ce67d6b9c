#pragma once

#include <string>
#include <string_view>

namespace samplegen {

// Decodes UTF-8; throws std::invalid_argument on malformed input.
std::u32string decodeUtf8(std::string_view text);

std::string encodeUtf8(std::u32string_view text);

} // namespace samplegen
