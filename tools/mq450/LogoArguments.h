// The logo commands' setting arguments, read the same way by every logo command.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "imaging/LogoConverter.h"

namespace mq::tool {

// A whole decimal number in -100..100 (one leading sign allowed, "+-5" refused); 0 when the option was not
// given, nothing when the text is not such a number.
std::optional<int> ParseAdjustment(const std::optional<std::string>& text);

// none, m3, m4 or diffuse.
std::optional<imaging::Halftone> ParseHalftone(std::string_view name);

}  // namespace mq::tool
