// The two read-only pages: Version (template 105, last page of both sheets) with fixed product texts, and
// Font (template 119, device sheet) with the tree of the printer's resident fonts and their point sizes.
#pragma once

#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kVersionPageTemplate = 105;
inline constexpr int kFontPageTemplate = 119;

namespace version_page {
inline constexpr int kTitle = 1109;
inline constexpr int kRights = 1110;
inline constexpr int kLine3 = 1111;  // read and assigned, but not in the template
inline constexpr int kProductHeading = 1112;
inline constexpr int kProduct = 1113;
inline constexpr int kAdditionalHeading = 1114;  // not in the template
inline constexpr int kLine7 = 1115;              // not in the template
inline constexpr int kSeparator = 1116;
inline constexpr int kLegal = 1117;
}  // namespace version_page

namespace font_page {
inline constexpr int kTree = 1069;
inline constexpr int kNotice = 1150;
// Icons of the tree's image list: root, font, size.
inline constexpr int kRootIcon = 125;
inline constexpr int kFontIcon = 126;
inline constexpr int kSizeIcon = 127;
}  // namespace font_page

class VersionPage : public platform::ui::DialogLogic {
 public:
  explicit VersionPage(PageTexts& texts) : texts_(texts) {}
  void OnInit(platform::ui::DialogControls& controls) override { SetTexts(controls); }
  void OnPaint(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls&, int, platform::ui::ControlEvent) override { return true; }
  // Apply, kill-active and set-active change nothing and are answered TRUE; other notifications 0.
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

 private:
  void SetTexts(platform::ui::DialogControls& controls);
  PageTexts& texts_;
};

class FontPage : public platform::ui::DialogLogic {
 public:
  explicit FontPage(PageTexts& texts) : texts_(texts) {}
  void OnInit(platform::ui::DialogControls& controls) override;
  void OnPaint(platform::ui::DialogControls& controls) override;
  // Apply reports success to the host; the page stores nothing.
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

 private:
  PageTexts& texts_;
  platform::ui::TreeItem root_ = platform::ui::kTreeRoot;
};

// A language text may carry "\n" as two characters for a line break (language files are one line per key).
std::string WithLineBreaks(std::string text);

}  // namespace mq::plugin
