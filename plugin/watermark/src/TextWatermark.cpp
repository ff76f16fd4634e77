// The text watermark's font, origin and picture.
#include "watermark/TextWatermark.h"

#include <cmath>
#include <numbers>

#include "watermark/WatermarkPicture.h"

namespace mq::watermark {

using platform::ui::LogicalFont;
using platform::ui::Picture;

LogicalFont WatermarkFont(std::string_view face, int points, int style, int angleDegrees, int verticalDpi) {
  LogicalFont font;
  font.face = std::string(face);
  font.height = -(points * verticalDpi / 72);
  const auto s = static_cast<FontStyle>(style);
  font.weight = s == FontStyle::kBold || s == FontStyle::kBoldItalic ? 700 : 400;
  font.italic = s == FontStyle::kItalic || s == FontStyle::kBoldItalic;
  font.escapement = angleDegrees * 10;
  font.clipRotated = true;
  return font;
}

Origin CentredOrigin(int width, int height, int angleDegrees) {
  const double a = angleDegrees * std::numbers::pi / 180.0;
  const int halfW = width / 2, halfH = height / 2;
  const double across = halfW * std::cos(a) - halfH * std::sin(a);
  const double down = std::sin(a) * halfW + halfH * std::cos(a);
  return {kTextSquare / 2 - static_cast<int>(std::trunc(across)),
          kTextSquare / 2 + static_cast<int>(std::trunc(down))};
}

std::optional<Picture> RenderText(platform::ui::TextPainter& painter, const TextWatermark& mark) {
  const LogicalFont font =
      WatermarkFont(mark.face, mark.points, mark.style, mark.angle, painter.VerticalDpi());
  const std::optional<platform::ui::TextExtent> extent = painter.Measure(font, mark.text);
  if (!extent) return std::nullopt;
  const Origin at = CentredOrigin(extent->width, extent->height, mark.angle);
  std::optional<Picture> square = painter.Draw(font, mark.text, at.x, at.y, kTextSquare);
  if (!square || square->Width() != kTextSquare || square->Height() != kTextSquare) return std::nullopt;
  Brighten(*square, mark.brightness);
  return square;
}

}  // namespace mq::watermark
