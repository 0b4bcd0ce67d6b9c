// The plug-in's share of the user options: the last colour of each markup
// kind and the ink's opacity, read from and written to the options tree
// that every module of the process shares.
#pragma once

#include <cstdint>

#include "support-proxy/BaseUserSettingValue.h"

namespace MarkupOptions {

using LastColor = usropts::BaseUserSettingValue<unsigned>;

// The option that keeps the last colour of a markup kind (the document
// model's atom of "Highlight", "Underline" or "StrikeOut"); null for any
// other kind. Throws what GetOptions throws.
LastColor* LastColorOf(uint32_t kind);

// The ink's opacity in percent.
unsigned InkOpacity();

} // namespace MarkupOptions
