// The Version and Font pages: their texts, the fixed font tree, and their answers to the sheet.
#include <gtest/gtest.h>

#include "PackageVersion.h"
#include "TableTexts.h"
#include "pages/InfoPages.h"
#include "platform/fake/FakeDialogControls.h"

namespace mq::plugin {
namespace {

using platform::ui::FakeDialogControls;
using platform::ui::SheetEvent;
using platform::ui::TreeItem;

TEST(VersionPage, ShowsProductTextsAndRereadsThemOnPaint) {
  platform::CallJournal journal;
  FakeDialogControls dialog(journal);
  testing::TableTexts texts;
  VersionPage page(texts);
  dialog.Start(page);
  EXPECT_EQ(dialog.GetText(version_page::kTitle), "MQ-450 Printer Driver");
  const std::string version = MQ_PACKAGE_VERSION;
  EXPECT_EQ(dialog.GetText(version_page::kProduct),
            "Product: Setup_MQ-450\nInstall version: v" + version + "\nUI version: v" + version);
  EXPECT_EQ(dialog.GetText(version_page::kProductHeading), "Product information:");
  EXPECT_FALSE(dialog.GetText(version_page::kLegal).empty());

  // The package's version number stands in for each "{VERSION}"; a text stating its own number is shown as
  // is.
  texts.table[{"VERSION", "RC_STATIC_VER5_MQ450"}] =
      "产品: Setup_MQ-450\\n安装版本: v{VERSION}\\n界面版本: v1.0";
  texts.table[{"VERSION", "RC_STATIC_VER4"}] = "{VERSION}{VERSION} {version}";
  texts.table[{"VERSION", "RC_STATIC_VER1"}] = std::string(300, 'x');
  const int resolves = texts.resolves;
  dialog.Paint();
  EXPECT_GT(texts.resolves, resolves);
  EXPECT_EQ(dialog.GetText(version_page::kProduct),
            "产品: Setup_MQ-450\n安装版本: v" + version + "\n界面版本: v1.0");
  EXPECT_EQ(dialog.GetText(version_page::kProductHeading), version + version + " {version}");
  EXPECT_EQ(dialog.GetText(version_page::kTitle), std::string(255, 'x'));  // room for 256

  // Apply, and leaving or entering the page, change nothing and tell the host nothing.
  for (SheetEvent event : {SheetEvent::kApply, SheetEvent::kKillActive, SheetEvent::kSetActive})
    EXPECT_EQ(dialog.SendSheetEvent(event), 1);
  EXPECT_EQ(dialog.SendSheetEvent(SheetEvent::kOther), 0);
  EXPECT_TRUE(journal.Lines().empty());
}

TEST(FontPage, ShowsTheFixedFontTreeExpandedWithTheRootSelected) {
  platform::CallJournal journal;
  FakeDialogControls dialog(journal);
  testing::TableTexts texts;
  FontPage page(texts);
  dialog.Start(page);

  auto& tree = dialog.At(font_page::kTree);
  EXPECT_EQ(tree.treeImages, (std::vector<int>{125, 126, 127}));
  std::vector<std::string> lines;
  for (const auto& [item, node] : tree.tree) {
    int depth = 0;
    for (TreeItem p = node.parent; p != platform::ui::kTreeRoot; p = tree.tree[p].parent) ++depth;
    lines.push_back(std::string(depth * 2, ' ') + node.text + " #" + std::to_string(node.image) +
                    (node.expanded ? " +" : ""));
  }
  const std::vector<std::string> expected = {
      "Printer Fonts and Font Sizes #0 +",
      "  Font A #1 +",
      "    FontA11    9.5 #2",
      "    FontA12    19.0 #2",
      "    FontA21    9.5 #2",
      "    FontA22   19.0 #2",
      "    FontA24   38.5 #2",
      "    FontA42   19.0 #2",
      "    FontA44   38.5 #2",
      "  Font B #1 +",
      "    FontB11    7.0 #2",
      "    FontB12    13.5 #2",
      "    FontB21    7.0 #2",
      "    FontB22   13.5 #2",
      "    FontB24   27.0 #2",
      "    FontB42   13.5 #2",
      "    FontB44   27.0 #2",
      "  Control Font #1 +",
      "    Control    1.0 #2",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(tree.treeSelection, tree.tree.begin()->first);
  EXPECT_EQ(dialog.GetText(font_page::kNotice), "Select this font size in the application. ");

  texts.table[{"FONT", "RC_RONT_TREETITLE"}] = "打印机字体和字号";
  texts.table[{"FONT", "RC_STATIC_FONT_NOTICE"}] = "请在应用程序中选择此字号。";
  dialog.Paint();
  EXPECT_EQ(tree.tree.begin()->second.text, "打印机字体和字号");
  EXPECT_EQ(dialog.GetText(font_page::kNotice), "请在应用程序中选择此字号。");

  EXPECT_EQ(dialog.SendSheetEvent(SheetEvent::kApply), 1);
  EXPECT_EQ(journal.Lines(),
            (std::vector<std::string>{"pfnComPropSheet function=CPSFUNC_SET_RESULT result=1"}));
}

}  // namespace
}  // namespace mq::plugin
