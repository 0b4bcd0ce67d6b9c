// Builds a tree's elements from HTML with a real HTML5 parser.
#pragma once

#include <memory>
#include <string>

#include "Element.h"

namespace UIEngine::Detail {

constexpr uint32_t kMaxDepth = 256;

// Every element in document order, linked to its parent and children, with
// no handles yet. The parser recovers from any input as a browser does; only
// elements nested more than kMaxDepth deep are refused (std::runtime_error).
std::unique_ptr<TreeState> ParseHtml(const std::string& html);

} // namespace UIEngine::Detail
