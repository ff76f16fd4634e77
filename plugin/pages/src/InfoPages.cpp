// The Version and Font pages.
#include "pages/InfoPages.h"

#include "PackageVersion.h"

namespace mq::plugin {

using platform::ui::DialogControls;
using platform::ui::SheetEvent;
using platform::ui::TreeItem;

namespace {

struct VersionText {
  int id;
  TextKey text;
};

constexpr VersionText kVersionTexts[] = {
    {version_page::kTitle, {"RC_STATIC_VER1", "MQ-450 Printer Driver"}},
    {version_page::kRights, {"RC_STATIC_VER2", "Copyright (C) ZNT Co., Ltd."}},
    {version_page::kLine3, {"RC_STATIC_VER3", ""}},
    {version_page::kProductHeading, {"RC_STATIC_VER4", "Product information:"}},
    {version_page::kProduct,
     {"RC_STATIC_VER5_MQ450", "Product: Setup_MQ-450\nInstall version: v{VERSION}\nUI version: v{VERSION}"}},
    {version_page::kAdditionalHeading, {"RC_STATIC_VER6", "Additional information:"}},
    {version_page::kLine7, {"RC_STATIC_VER7", ""}},
    {version_page::kLegal,
     {"RC_STATIC_VER9",
      "Warning: this program is protected by copyright law and international treaties. Unauthorized "
      "reproduction or distribution of this program, or any portion of it, may result in severe civil and "
      "criminal penalties."}},
};

struct FontGroup {
  const char* name;
  const char* sizes[7];
};

constexpr FontGroup kFonts[] = {
    {"Font A",
     {"FontA11    9.5", "FontA12    19.0", "FontA21    9.5", "FontA22   19.0", "FontA24   38.5",
      "FontA42   19.0", "FontA44   38.5"}},
    {"Font B",
     {"FontB11    7.0", "FontB12    13.5", "FontB21    7.0", "FontB22   13.5", "FontB24   27.0",
      "FontB42   13.5", "FontB44   27.0"}},
    {"Control Font", {"Control    1.0"}},
};

// Version texts name the package's version as "{VERSION}", so that a language file never states an old one.
constexpr std::string_view kVersionToken = "{VERSION}";
constexpr std::string_view kVersion = MQ_PACKAGE_VERSION;

std::string WithVersion(std::string text) {
  for (size_t at = text.find(kVersionToken); at != std::string::npos; at = text.find(kVersionToken, at)) {
    text.replace(at, kVersionToken.size(), kVersion);
    at += kVersion.size();
  }
  return text;
}

constexpr TextKey kTreeTitle = {"RC_RONT_TREETITLE", "Printer Fonts and Font Sizes"};
constexpr TextKey kNotice = {"RC_STATIC_FONT_NOTICE", "Select this font size in the application. "};

}  // namespace

std::string WithLineBreaks(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void VersionPage::SetTexts(DialogControls& controls) {
  for (const VersionText& t : kVersionTexts)
    controls.SetText(
        t.id, WithVersion(WithLineBreaks(texts_.Read("VERSION", t.text.key, t.text.fallback, kRoomLine))));
}

void VersionPage::OnPaint(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  texts_.Read("VERSION", "RC_VERSIONFORM", "Version", kRoomShort);
  SetTexts(controls);
}

intptr_t VersionPage::OnSheetEvent(DialogControls&, SheetEvent event) {
  return event == SheetEvent::kApply || event == SheetEvent::kKillActive || event == SheetEvent::kSetActive
             ? 1
             : 0;
}

void FontPage::OnInit(DialogControls& controls) {
  using namespace font_page;
  controls.TreeSetImages(kTree, {kRootIcon, kFontIcon, kSizeIcon});
  root_ = controls.TreeAdd(kTree, platform::ui::kTreeRoot, kTreeTitle.fallback, 0);
  for (const FontGroup& font : kFonts) {
    const TreeItem item = controls.TreeAdd(kTree, root_, font.name, 1);
    for (const char* size : font.sizes)
      if (size != nullptr) controls.TreeAdd(kTree, item, size, 2);
    controls.TreeExpand(kTree, item);
  }
  controls.TreeExpand(kTree, root_);
  controls.TreeSelect(kTree, root_);
  OnPaint(controls);
}

void FontPage::OnPaint(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  controls.TreeSetText(font_page::kTree, root_,
                       texts_.Read("FONT", kTreeTitle.key, kTreeTitle.fallback, kRoomLine));
  controls.SetText(font_page::kNotice, texts_.Read("FONT", kNotice.key, kNotice.fallback, kRoomLine));
}

intptr_t FontPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  if (event != SheetEvent::kApply) return 0;
  controls.SheetSetResult(1);  // CPSUI_OK
  return 1;
}

}  // namespace mq::plugin
