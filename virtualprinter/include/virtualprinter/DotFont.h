// The printer's two resident fonts drawn from a scalable font file with FreeType: Font A in cells of 12 x 24
// dots, Font B in cells of 9 x 17 (48 and 64 characters across the 576-dot line). Glyphs are rendered as
// dots, without anti-aliasing, as a thermal head prints them. Bytes 80..FF are drawn as Latin-1.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "virtualprinter/Paper.h"

namespace mq::vprinter {

enum class FontId { kA, kB };

struct CellSize {
  int width;
  int height;
};

CellSize CellOf(FontId font);

class DotFont {
 public:
  // nullptr (with a reason in *error) when the font file cannot be loaded.
  static std::unique_ptr<DotFont> Open(const std::string& path, std::string* error);
  virtual ~DotFont() = default;

  // Draws one character with its cell's top-left corner at (x, y), scaled by whole factors.
  virtual void Draw(Paper& paper, int x, int y, uint8_t character, FontId font, int scale = 1) = 0;
};

}  // namespace mq::vprinter
