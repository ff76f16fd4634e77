// The system's fonts as the Water Mark page uses them: the TrueType families installed, and a string drawn
// with a logical font into an off-screen 24-bit bitmap. The Win32 adapter uses GDI (EnumFontFamiliesExW,
// CreateFontIndirectW, a DIB section, TextOutW); the fake measures and draws by a fixed rule and journals
// each call under the GDI function it stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Picture.h"

namespace mq::platform::ui {

// The LOGFONTW fields the page sets; all others are 0 (default character set, quality and pitch).
struct LogicalFont {
  std::string face;          // lfFaceName, at most 31 characters
  int height = 0;            // lfHeight: negative for a character height in pixels
  int weight = 400;          // lfWeight: 400 normal, 700 bold
  bool italic = false;       // lfItalic
  int escapement = 0;        // lfEscapement and lfOrientation, tenths of a degree counter-clockwise
  bool clipRotated = false;  // lfClipPrecision CLIP_LH_ANGLES: rotation follows the coordinate system
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

class FontCatalog {
 public:
  virtual ~FontCatalog() = default;
  // The names of the installed font families flagged TrueType, each once, in the order the system lists them;
  // the vertical-writing faces ("@SimSun") are left out, their families being listed by their own names.
  virtual std::vector<std::string> TrueTypeFamilies() = 0;
};

class TextPainter {
 public:
  virtual ~TextPainter() = default;
  // The screen's vertical dots per inch (GetDeviceCaps LOGPIXELSY).
  virtual int VerticalDpi() = 0;
  // The text's extent with the font selected (GetTextExtentPoint32W), or nothing when GDI fails.
  virtual std::optional<TextExtent> Measure(const LogicalFont& font, std::u16string_view text) = 0;
  // A side x side picture filled white with the text drawn once in black with the font, its baseline's
  // start at (x, y) (TA_BASELINE, opaque white background); nothing when GDI fails.
  virtual std::optional<Picture> Draw(const LogicalFont& font, std::u16string_view text, int x, int y,
                                      int side) = 0;
};

}  // namespace mq::platform::ui
