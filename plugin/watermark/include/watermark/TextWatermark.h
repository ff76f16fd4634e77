// The text watermark's picture: the logical font from the record's face, size, style and angle, the origin
// that centres the rotated text in a 300 x 300 square, and the square's file (270054 bytes: the two headers
// and 300 rows of 900 bytes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Fonts.h"

namespace mq::watermark {

inline constexpr int kTextSquare = 300;
inline constexpr uint32_t kTextFileSize = 54 + 300 * 900;  // 270054

// Font styles as the record keeps them.
enum class FontStyle : uint8_t { kRegular = 0, kItalic = 1, kBold = 2, kBoldItalic = 3 };

// Height -(points * dpi / 72), weight 700 for the bold styles and 400 otherwise, italic for the italic ones,
// escapement and orientation angle * 10, clipping that follows the rotation.
platform::ui::LogicalFont WatermarkFont(std::string_view face, int points, int style, int angleDegrees,
                                        int verticalDpi);

struct Origin {
  int x = 0;
  int y = 0;
};

// Where the bottom edge of a w x h text cell starts so that, rotated by the angle, its middle lands on the square's
// centre: x = 150 - trunc(w/2 cos a - h/2 sin a), y = 150 + trunc(w/2 sin a + h/2 cos a), w/2 and h/2 in
// whole pixels.
Origin CentredOrigin(int width, int height, int angleDegrees);

struct TextWatermark {
  std::u16string text;
  std::string face;
  int points = 0;
  int style = 0;
  int angle = 0;
  int brightness = 0;
};

// The square with the text measured, drawn centred and brightened; nothing when the painter fails.
std::optional<platform::ui::Picture> RenderText(platform::ui::TextPainter& painter,
                                                const TextWatermark& mark);

}  // namespace mq::watermark
