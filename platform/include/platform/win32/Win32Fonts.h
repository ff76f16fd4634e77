// The fonts role over GDI: family enumeration on the screen's device context, and text drawn into a DIB
// section selected into a memory device context. Windows builds only.
#pragma once

#include "platform/ui/Fonts.h"

namespace mq::platform::ui {

class Win32Fonts : public FontCatalog, public TextPainter {
 public:
  std::vector<std::string> TrueTypeFamilies() override;
  int VerticalDpi() override;
  std::optional<TextExtent> Measure(const LogicalFont& font, std::u16string_view text) override;
  std::optional<Picture> Draw(const LogicalFont& font, std::u16string_view text, int x, int y,
                              int side) override;
};

}  // namespace mq::platform::ui
