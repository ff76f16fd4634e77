// The Utility page through the in-memory dialog and spooler: the base form, the list rules, the size limits,
// saving, resizing and deleting forms (including what the spooler refuses) and the self-test job's bytes.
#include <gtest/gtest.h>

#include "pages/RecordBindings.h"
#include "pages/UtilityPage.h"
#include "platform/WinError.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeSpooler.h"
#include "TableTexts.h"

namespace mq::plugin {
namespace {

using namespace utility_page;
using platform::FormInfo1;
using platform::ui::MessageIcon;

struct UtilityPageFixture : ::testing::Test {
  platform::CallJournal journal;
  platform::FakeSpooler spooler{journal, true};
  platform::PrinterHandle printer = spooler.OpenPrinterForJobs("MQ-450");
  testing::TableTexts texts;
  int controlFontOpened = 0;
  UtilityPage page{texts, {spooler, printer, [this](platform::ui::DialogControls&) { ++controlFontOpened; }}};
  platform::ui::FakeDialogControls dialog{journal};

  void AddUserForm(const std::string& name, int32_t width, int32_t height) {
    spooler.Forms().push_back({platform::kFormUser, name, width, height, 0, 0, width, height});
  }
  const FormInfo1* Form(std::string_view name) {
    for (const FormInfo1& f : spooler.Forms())
      if (f.name == name) return &f;
    return nullptr;
  }
  std::vector<std::string> ListItems() {
    std::vector<std::string> items;
    for (int i = 0; i < dialog.ItemCount(kFormList); ++i) items.push_back(dialog.ItemText(kFormList, i));
    return items;
  }
  void SaveAs(const std::string& name, const std::string& width, const std::string& height) {
    dialog.Type(kName, name);
    dialog.Type(kWidth, width);
    dialog.Type(kHeight, height);
    dialog.Click(kSave);
  }
};

TEST_F(UtilityPageFixture, StartAddsTheBaseFormOnceAndListsItFirst) {
  AddUserForm("Custom Paper-Ticket", 58000, 100000);
  AddUserForm("Roll 80", 80000, 200000);
  dialog.Start(page);
  const FormInfo1* base = Form("Custom Paper-MQ450");
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(base->width, 72000);
  EXPECT_EQ(base->height, 297000);
  EXPECT_EQ(base->right, 72000);
  EXPECT_EQ(base->bottom, 297000);
  EXPECT_EQ(base->flags, platform::kFormUser);
  EXPECT_EQ(ListItems(), (std::vector<std::string>{"Custom Paper-MQ450", "Custom Paper-Ticket"}));
  EXPECT_EQ(dialog.Selection(kFormList), 0);
  EXPECT_EQ(dialog.At(kName).text, "MQ450");
  EXPECT_EQ(dialog.At(kWidth).text, "720");
  EXPECT_EQ(dialog.At(kHeight).text, "2970");
  EXPECT_FALSE(dialog.IsEnabled(kDelete)) << "the base form cannot be deleted";
  EXPECT_EQ(dialog.At(kName).textLimit, 18);
  EXPECT_EQ(dialog.At(kWidthUpDown).minimum, 410);
  EXPECT_EQ(dialog.At(kHeightUpDown).maximum, 32760);
  EXPECT_TRUE(dialog.IsVisible(kControlFont));
  // Each enumeration probes the size first, then asks with exactly that size.
  const auto calls = journal.CallsTo("EnumFormsW");
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_NE(calls[0].find("bufferSize=0"), std::string::npos);
  EXPECT_EQ(calls[1].find("bufferSize=0"), std::string::npos);

  platform::ui::FakeDialogControls again{journal};
  UtilityPage second{texts, {spooler, printer, nullptr}};
  journal.Clear();
  again.Start(second);
  EXPECT_EQ(journal.CountOf("AddFormW"), 0u) << "a printer that has the base form gets no second one";
  EXPECT_EQ(second.Listed().size(), 2u);
}

TEST_F(UtilityPageFixture, WithoutTheBaseFormThePageHasNoListOrLimits) {
  journal.FailCall("AddFormW", err::kAccessDenied);
  dialog.Start(page);
  EXPECT_EQ(dialog.ItemCount(kFormList), 0);
  EXPECT_EQ(dialog.At(kName).textLimit, 0);
}

TEST_F(UtilityPageFixture, SizesAreClampedWrittenBackAndStoredInThousandthsOfAMillimetre) {
  struct Case {
    const char *width, *height;
    int32_t storedWidth, storedHeight;
    const char *shownWidth, *shownHeight;
  };
  const Case cases[] = {{"400", "40000", 41000, 3276000, "410", "32760"},
                        {"999", "100", 72000, 25400, "720", "254"},
                        {"580", "1500", 58000, 150000, "580", "1500"},
                        {"", "", 41000, 25400, "410", "254"}};
  dialog.Start(page);
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const std::string name = "T" + std::to_string(n++);
    SaveAs(name, c.width, c.height);
    const FormInfo1* f = Form("Custom Paper-" + name);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->width, c.storedWidth);
    EXPECT_EQ(f->height, c.storedHeight);
    EXPECT_EQ(f->left, 0);
    EXPECT_EQ(f->top, 0);
    EXPECT_EQ(f->right, c.storedWidth);
    EXPECT_EQ(f->bottom, c.storedHeight);
    EXPECT_EQ(dialog.At(kWidth).text, c.shownWidth);
    EXPECT_EQ(dialog.At(kHeight).text, c.shownHeight);
  }
}

TEST_F(UtilityPageFixture, SavingANewNameAppendsAndSelectsItSavingAnExistingOneResizesIt) {
  dialog.Start(page);
  SaveAs("Ticket", "580", "1000");
  EXPECT_EQ(ListItems(), (std::vector<std::string>{"Custom Paper-MQ450", "Custom Paper-Ticket"}));
  EXPECT_EQ(dialog.Selection(kFormList), 1);
  EXPECT_TRUE(dialog.IsEnabled(kDelete));

  SaveAs("Ticket", "600", "1200");
  EXPECT_EQ(ListItems().size(), 2u) << "a resize adds no entry";
  EXPECT_EQ(Form("Custom Paper-Ticket")->width, 60000);
  EXPECT_EQ(Form("Custom Paper-Ticket")->height, 120000);

  SaveAs("MQ450", "500", "3000");
  EXPECT_EQ(ListItems().size(), 2u) << "the base form is resized, not added twice";
  EXPECT_EQ(Form("Custom Paper-MQ450")->width, 50000);
  EXPECT_EQ(dialog.Messages().size(), 0u);

  dialog.ChooseRow(kFormList, 0);
  dialog.Choose(kFormList, 0);
  EXPECT_EQ(dialog.At(kWidth).text, "500") << "the list shows the new size";
}

TEST_F(UtilityPageFixture, SpoolerRefusalsAreReported) {
  dialog.Start(page);
  for (const char* call : {"AddFormW", "SetFormW"}) {
    SCOPED_TRACE(call);
    journal.ClearFailures();
    journal.FailCall(call, err::kAccessDenied);
    const size_t before = dialog.Messages().size();
    SaveAs("MQ450", "600", "1000");
    SaveAs("New", "600", "1000");
    ASSERT_EQ(dialog.Messages().size(), before + 1);
    EXPECT_EQ(dialog.Messages().back().text, "Set custom paper size failed!");
    EXPECT_EQ(dialog.Messages().back().caption, "Error");
    EXPECT_EQ(dialog.Messages().back().icon, MessageIcon::kError);
  }
  EXPECT_EQ(ListItems().size(), 2u) << "only the addition that worked is listed";
}

TEST_F(UtilityPageFixture, DeletingSelectsTheSameRowOrTheNewLastOne) {
  AddUserForm("Custom Paper-A", 50000, 100000);
  AddUserForm("Custom Paper-B", 51000, 110000);
  AddUserForm("Custom Paper-C", 52000, 120000);
  dialog.Start(page);
  dialog.Choose(kFormList, 1);
  dialog.Click(kDelete);
  EXPECT_EQ(Form("Custom Paper-A"), nullptr);
  EXPECT_EQ(ListItems(),
            (std::vector<std::string>{"Custom Paper-MQ450", "Custom Paper-B", "Custom Paper-C"}));
  EXPECT_EQ(dialog.Selection(kFormList), 1);
  EXPECT_EQ(dialog.At(kName).text, "B");
  EXPECT_EQ(dialog.At(kWidth).text, "510");

  dialog.Choose(kFormList, 2);
  dialog.Click(kDelete);
  EXPECT_EQ(dialog.Selection(kFormList), 1) << "the last entry went: the new last one is selected";
  EXPECT_EQ(dialog.At(kName).text, "B");
  dialog.Click(kDelete);
  EXPECT_EQ(dialog.Selection(kFormList), 0);
  EXPECT_EQ(dialog.At(kName).text, "MQ450");
  EXPECT_FALSE(dialog.IsEnabled(kDelete));
  journal.Clear();
  dialog.Click(kDelete);
  EXPECT_EQ(journal.CountOf("DeleteFormW"), 0u) << "the base form is never deleted";
  EXPECT_NE(Form("Custom Paper-MQ450"), nullptr);
}

TEST_F(UtilityPageFixture, ADeletionTheSpoolerRefusesKeepsTheEntryAndTellsTheUser) {
  AddUserForm("Custom Paper-A", 50000, 100000);
  dialog.Start(page);
  dialog.Choose(kFormList, 1);
  journal.FailCall("DeleteFormW", err::kAccessDenied);
  dialog.Click(kDelete);
  EXPECT_EQ(ListItems(), (std::vector<std::string>{"Custom Paper-MQ450", "Custom Paper-A"}));
  EXPECT_EQ(dialog.Selection(kFormList), 1);
  ASSERT_EQ(dialog.Messages().size(), 1u);
  EXPECT_EQ(dialog.Messages()[0].text, "Set custom paper size failed!");
}

TEST_F(UtilityPageFixture, SelfTestSendsTheTestPrintCommandBetweenTheBrackets) {
  dialog.Start(page);
  dialog.Click(kSelfTest);
  ASSERT_EQ(spooler.Jobs().size(), 1u);
  EXPECT_EQ(spooler.Jobs()[0].documentName, "SELFTEST");
  EXPECT_EQ(spooler.Jobs()[0].dataType, "RAW");
  EXPECT_TRUE(spooler.Jobs()[0].ended);
  EXPECT_EQ(spooler.Jobs()[0].bytes, (std::vector<uint8_t>{0x1B, 0x63, 0x3B, 0x01, 0x1D, 0x28, 0x41, 0x02,
                                                           0x00, 0x00, 0x02, 0x1B, 0x63, 0x3B, 0x00}));
  EXPECT_EQ(journal.CountOf("WritePrinter"), 3u);
  dialog.Click(kControlFont);
  EXPECT_EQ(controlFontOpened, 1);
  EXPECT_EQ(dialog.SendSheetEvent(platform::ui::SheetEvent::kApply), 1);
}

}  // namespace
}  // namespace mq::plugin
