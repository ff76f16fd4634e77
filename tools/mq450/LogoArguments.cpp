// The logo commands' setting arguments.
#include "LogoArguments.h"

#include "ToolSupport.h"
#include "imaging/LevelTransfer.h"

namespace mq::tool {

std::optional<int> ParseAdjustment(const std::optional<std::string>& text) {
  if (!text) return 0;
  return ParseWholeNumber(*text, imaging::kMinAdjustment, imaging::kMaxAdjustment);
}

std::optional<imaging::Halftone> ParseHalftone(std::string_view name) {
  if (name == "none") return imaging::Halftone::kNone;
  if (name == "m3") return imaging::Halftone::kDitherM3;
  if (name == "m4") return imaging::Halftone::kDitherM4;
  if (name == "diffuse") return imaging::Halftone::kErrorDiffuse;
  return std::nullopt;
}

}  // namespace mq::tool
