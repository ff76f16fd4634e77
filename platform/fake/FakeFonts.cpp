// The fonts fake.
#include "platform/fake/FakeFonts.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/Text.h"

namespace mq::platform::ui {

std::vector<std::string> FakeFonts::TrueTypeFamilies() {
  if (journal_.Enter("EnumFontFamiliesExW", {{"charset", "DEFAULT_CHARSET"}}) != 0) return {};
  return families;
}

bool FakeFonts::CreateFont(const LogicalFont& font) {
  return journal_.Enter("CreateFontIndirectW", {{"face", font.face},
                                                {"height", std::to_string(font.height)},
                                                {"weight", std::to_string(font.weight)},
                                                {"italic", font.italic ? "1" : "0"},
                                                {"escapement", std::to_string(font.escapement)},
                                                {"clip", font.clipRotated ? "angles" : "default"}}) == 0;
}

std::optional<TextExtent> FakeFonts::Measure(const LogicalFont& font, std::u16string_view text) {
  if (!CreateFont(font)) return std::nullopt;
  if (journal_.Enter("GetTextExtentPoint32W", {{"text", text::Utf16ToUtf8(text)}}) != 0) return std::nullopt;
  const int height = std::abs(font.height);
  return TextExtent{static_cast<int>(text.size()) * height * 6 / 10, height};
}

std::optional<Picture> FakeFonts::Draw(const LogicalFont& font, std::u16string_view text, int x, int y,
                                       int side) {
  if (!CreateFont(font)) return std::nullopt;
  if (journal_.Enter("TextOutW", {{"x", std::to_string(x)},
                                  {"y", std::to_string(y)},
                                  {"text", text::Utf16ToUtf8(text)},
                                  {"side", std::to_string(side)}}) != 0)
    return std::nullopt;
  Picture square(side, side);
  const int height = std::abs(font.height);
  const int width = static_cast<int>(text.size()) * height * 6 / 10;
  const double a = font.escapement / 10.0 * std::numbers::pi / 180.0;
  // u runs along the baseline, v up from it; the screen's y grows downwards. Half steps leave no holes.
  for (int u2 = 0; u2 < 2 * width; ++u2) {
    for (int v2 = 0; v2 < 2 * height; ++v2) {
      const double u = u2 / 2.0, v = v2 / 2.0;
      square.Set(static_cast<int>(std::floor(x + u * std::cos(a) - v * std::sin(a))),
                 static_cast<int>(std::floor(y - u * std::sin(a) - v * std::cos(a))), 0x000000);
    }
  }
  return square;
}

}  // namespace mq::platform::ui
