// The resident fonts, drawn with FreeType in monochrome.
#include "virtualprinter/DotFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>

namespace mq::vprinter {
namespace {

// Pixel sizes of the em square that make a monospaced face's advance fill the cell (about 0.6 em), and the
// baseline within the cell.
struct FontMetrics {
  int emPixels;
  int baseline;
};

constexpr FontMetrics kMetricsA = {20, 19};
constexpr FontMetrics kMetricsB = {15, 13};

class FreeTypeFont : public DotFont {
 public:
  FreeTypeFont(FT_Library library, FT_Face face) : library_(library), face_(face) {}
  ~FreeTypeFont() override {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }

  void Draw(Paper& paper, int x, int y, uint8_t character, FontId font, int scale) override {
    const FontMetrics& metrics = font == FontId::kA ? kMetricsA : kMetricsB;
    if (FT_Set_Pixel_Sizes(face_, 0, metrics.emPixels) != 0) return;
    if (FT_Load_Char(face_, character, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
      return;
    const FT_GlyphSlot glyph = face_->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int left = glyph->bitmap_left, top = metrics.baseline - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const unsigned char* bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
      for (unsigned col = 0; col < bitmap.width; ++col) {
        if (!(bits[col >> 3] & (0x80 >> (col & 7)))) continue;
        const int px = x + (left + static_cast<int>(col)) * scale,
                  py = y + (top + static_cast<int>(row)) * scale;
        paper.FillRect(px, py, scale, scale, 0);
      }
    }
  }

 private:
  FT_Library library_;
  FT_Face face_;
};

}  // namespace

CellSize CellOf(FontId font) {
  return font == FontId::kA ? CellSize{12, 24} : CellSize{9, 17};
}

std::unique_ptr<DotFont> DotFont::Open(const std::string& path, std::string* error) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    *error = "cannot start FreeType";
    return nullptr;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    FT_Done_FreeType(library);
    *error = "cannot load the font " + path;
    return nullptr;
  }
  return std::make_unique<FreeTypeFont>(library, face);
}

}  // namespace mq::vprinter
