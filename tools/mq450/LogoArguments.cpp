// The logo commands' setting arguments.
#include "LogoArguments.h"

#include <charconv>

#include "imaging/LevelTransfer.h"

namespace mq::tool {

std::optional<int> ParseAdjustment(const std::optional<std::string>& text) {
  if (!text) return 0;
  int value = 0;
  const char* begin = text->data();
  const char* end = begin + text->size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (begin == end || ec != std::errc() || ptr != end || !imaging::IsValidAdjustment(value))
    return std::nullopt;
  return value;
}

std::optional<imaging::Halftone> ParseHalftone(std::string_view name) {
  if (name == "none") return imaging::Halftone::kNone;
  if (name == "m3") return imaging::Halftone::kDitherM3;
  if (name == "m4") return imaging::Halftone::kDitherM4;
  if (name == "diffuse") return imaging::Halftone::kErrorDiffuse;
  return std::nullopt;
}

}  // namespace mq::tool
