// The system's fonts for tests: a settable family list, and a painter that measures a text as 6/10 of the
// font's height per character by the height, and draws it as a solid black block of that extent rotated by
// the escapement about the baseline's start, so that the text's placement can be checked in the pixels.
// Each call is journaled under its GDI function and can be failed.
#pragma once

#include <string>
#include <vector>

#include "platform/fake/CallJournal.h"
#include "platform/ui/Fonts.h"

namespace mq::platform::ui {

class FakeFonts : public FontCatalog, public TextPainter {
 public:
  explicit FakeFonts(CallJournal& journal) : journal_(journal) {}

  std::vector<std::string> families = {"Arial", "Courier New", "Times New Roman"};
  int dpi = 96;

  std::vector<std::string> TrueTypeFamilies() override;
  int VerticalDpi() override { return dpi; }
  std::optional<TextExtent> Measure(const LogicalFont& font, std::u16string_view text) override;
  std::optional<Picture> Draw(const LogicalFont& font, std::u16string_view text, int x, int y,
                              int side) override;

 private:
  bool CreateFont(const LogicalFont& font);
  CallJournal& journal_;
};

}  // namespace mq::platform::ui
