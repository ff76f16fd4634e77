// The two read-only pages: Version (template 105, last page of both sheets) with fixed product texts, and
// Font (template 119, device sheet) with the tree of the printer's resident fonts and their point sizes.
#pragma once

#include "MQ450UIResources.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kVersionPageTemplate = IDD_VERSION_PAGE;
inline constexpr int kFontPageTemplate = IDD_FONT_PAGE;

namespace version_page {
inline constexpr int kTitle = IDC_VERSION_TITLE;
inline constexpr int kRights = IDC_VERSION_RIGHTS;
inline constexpr int kLine3 = IDC_VERSION_LINE3;  // read and assigned, but not in the template
inline constexpr int kProductHeading = IDC_VERSION_PRODUCT_HEADING;
inline constexpr int kProduct = IDC_VERSION_PRODUCT;
inline constexpr int kAdditionalHeading = IDC_VERSION_ADDITIONAL_HEADING;  // not in the template
inline constexpr int kLine7 = IDC_VERSION_LINE7;                           // not in the template
inline constexpr int kSeparator = IDC_VERSION_SEPARATOR;
inline constexpr int kLegal = IDC_VERSION_LEGAL;
}  // namespace version_page

namespace font_page {
inline constexpr int kTree = IDC_FONT_TREE;
inline constexpr int kNotice = IDC_FONT_NOTICE;
// Icons of the tree's image list: root, font, size.
inline constexpr int kRootIcon = IDI_FONT_ROOT;
inline constexpr int kFontIcon = IDI_FONT_FACE;
inline constexpr int kSizeIcon = IDI_FONT_SIZE;
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
