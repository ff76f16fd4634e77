// The control font's translation table through the in-memory file system and the portable profile reader: the
// file round trip, and the editor's rows, Edit through the one-character dialog, Delete, OK and Cancel.
#include <gtest/gtest.h>

#include "TableTexts.h"
#include "pages/ControlFontEditor.h"
#include "platform/IniProfile.h"
#include "platform/WinError.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeFileSystem.h"

namespace mq::plugin {
namespace {

using namespace control_font;
using platform::ui::FakeDialogControls;
using platform::ui::kIdCancel;
using platform::ui::kIdOk;

constexpr std::string_view kPath = "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\MQ450CONTROL.dat";

struct ControlFontFixture : ::testing::Test {
  platform::CallJournal journal;
  platform::FakeFileSystem files{journal};
  platform::IniProfile profile{files, "C:\\Windows"};
  testing::TableTexts texts;
  ControlFontEditor editor{texts, profile, files, std::string(kPath)};
  FakeDialogControls dialog{journal};

  void SetUp() override {
    files.Put(kPath, "[Character Translation Table]\r\n41=1B 70 00 19 FA \r\n7F=0A\r\n20=1D 56 42 00 \r\n");
  }
  std::string Stored(std::string_view key) {
    return profile.GetString(kPath, kControlFontSection, key, "<none>", kControlFontValueRoom);
  }
  // Edit on a row, with the one-character dialog played by script.
  void EditRow(int row, std::function<void(FakeDialogControls&)> script) {
    dialog.SetModalScript([script](FakeDialogControls& d, int templateId) {
      EXPECT_EQ(templateId, kControlFontTranslatorTemplate);
      script(d);
    });
    dialog.ChooseRow(kList, row);
    dialog.Click(kEdit);
  }
};

TEST_F(ControlFontFixture, PathKeysAndTheFileRoundTrip) {
  EXPECT_EQ(ControlFontPath("C:\\Windows"), kPath);
  EXPECT_EQ(ControlFontKey(0x20), "20");
  EXPECT_EQ(ControlFontKey(0x41), "41");
  EXPECT_EQ(ControlFontKey(0x7F), "7F");
  ControlFontTable table = ReadControlFontTable(profile, kPath);
  EXPECT_EQ(table[0x41 - 0x20], "1B 70 00 19 FA");
  EXPECT_EQ(table[0], "1D 56 42 00");
  EXPECT_EQ(table[1], "");
  table[0x41 - 0x20] = "";
  table[0x5A - 0x20] = "1B 40";
  ASSERT_EQ(WriteControlFontTable(profile, files, kPath, table), 0u);
  EXPECT_EQ(ReadControlFontTable(profile, kPath), table);
  EXPECT_EQ(profile.GetKeyNames(kPath, kControlFontSection), (std::vector<std::string>{"20", "5A", "7F"}))
      << "the file is written anew, one key per row with a command, in code order";
}

TEST_F(ControlFontFixture, EditorListsEveryCharacterWithItsStoredCommand) {
  dialog.Start(editor);
  EXPECT_EQ(dialog.Title(), "Control Font Character Translation Table");
  EXPECT_EQ(dialog.At(kDriver).text, "MQ450 Printer Driver");
  EXPECT_EQ(dialog.At(kList).columns, (std::vector<std::string>{"Char", "Hex", "Command"}));
  EXPECT_TRUE(dialog.At(kList).fullRowSelect);
  ASSERT_EQ(dialog.ListViewRowCount(kList), 96);
  EXPECT_EQ(dialog.ListViewCell(kList, 0x21, 0), "A");
  EXPECT_EQ(dialog.ListViewCell(kList, 0x21, 1), "41");
  EXPECT_EQ(dialog.ListViewCell(kList, 0x21, 2), "1B 70 00 19 FA");
  EXPECT_EQ(dialog.ListViewCell(kList, 95, 1), "7F");
}

TEST_F(ControlFontFixture, EditWritesTheTypedBytesBackAsByteTextAndOkSavesTheFile) {
  dialog.Start(editor);
  EditRow(0x22, [](FakeDialogControls& d) {
    EXPECT_EQ(d.Title(), "Control Font Character Translator");
    EXPECT_EQ(d.At(kChar).text, "B");
    EXPECT_EQ(d.At(kHex).text, "42");
    EXPECT_EQ(d.At(kCommand).text, "");
    EXPECT_FALSE(d.TypeChar(kCommand, u'G'));
    d.Type(kCommand, "1b40 0a");
    d.Click(kIdOk);
  });
  EXPECT_EQ(dialog.ListViewCell(kList, 0x22, 2), "1B 40 0A ");
  EXPECT_EQ(dialog.ListViewSelection(kList), 0x22);
  EXPECT_EQ(dialog.Focused(), kList);
  EXPECT_EQ(Stored("42"), "<none>") << "nothing is written before OK";
  dialog.Click(kIdOk);
  EXPECT_EQ(dialog.EndedWith(), kIdOk);
  EXPECT_EQ(Stored("42"), "1B 40 0A");
  EXPECT_EQ(Stored("41"), "1B 70 00 19 FA");
}

TEST_F(ControlFontFixture, ADoubleClickOnARowEditsItAndADoubleClickBesideTheRowsDoesNothing) {
  dialog.Start(editor);
  int opened = 0;
  dialog.SetModalScript([&opened](FakeDialogControls& d, int) {
    ++opened;
    EXPECT_EQ(d.At(kChar).text, "p");
    d.Type(kCommand, "0a");
    d.Click(kIdOk);
  });
  dialog.DoubleClickRow(kList, 0x50);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(dialog.ListViewCell(kList, 0x50, 2), "0A ");
  EXPECT_EQ(dialog.ListViewSelection(kList), 0x50);
  dialog.DoubleClickRow(kList, -1);
  EXPECT_EQ(opened, 1);
}

// The list is filled anew after every change; the changed row must end up in view with the row above it.
TEST_F(ControlFontFixture, AfterEditOrDeleteTheRowAndTheOneAboveItAreInView) {
  dialog.Start(editor);
  const int shown = dialog.At(kList).visibleRows;
  auto inView = [&](int row) {
    const int top = dialog.At(kList).topRow;
    return row >= top && row < top + shown;
  };
  for (int row : {0, 1, 2, 9, 10, 0x41 - 0x20, 94, 95}) {
    SCOPED_TRACE(row);
    dialog.Focus(kDriver);
    dialog.ChooseRow(kList, row);
    dialog.Click(kDelete);
    EXPECT_TRUE(inView(row));
    if (row >= 1) EXPECT_TRUE(inView(row - 1));
    EXPECT_EQ(dialog.ListViewSelection(kList), row);
    EXPECT_EQ(dialog.Focused(), kList);
  }
  dialog.SetModalScript([](FakeDialogControls& d, int) {
    d.Type(kCommand, "1B 40");
    d.Click(kIdOk);
  });
  dialog.DoubleClickRow(kList, 80);
  EXPECT_TRUE(inView(80) && inView(79));
}

TEST_F(ControlFontFixture, TheCharacterDialogRefusesMoreThan128BytesAndStaysOpen) {
  dialog.Start(editor);
  EditRow(0x21, [](FakeDialogControls& d) {
    EXPECT_EQ(d.At(kCommand).text, "1B 70 00 19 FA ");
    std::string text;
    for (int i = 0; i < 129; ++i) text += "AB ";
    d.Type(kCommand, text);
    d.Click(kIdOk);
    ASSERT_EQ(d.Messages().size(), 1u);
    EXPECT_EQ(d.Messages()[0].text, "Command length error!");
    EXPECT_FALSE(d.EndedWith().has_value());
    d.Click(kIdCancel);
  });
  EXPECT_EQ(dialog.ListViewCell(kList, 0x21, 2), "1B 70 00 19 FA");
}

TEST_F(ControlFontFixture, AStoredCommandOver128BytesCannotBeEdited) {
  std::string text;
  for (int i = 0; i < 129; ++i) text += "01 ";
  files.Put(kPath, "[Character Translation Table]\r\n43=" + text + "\r\n");
  dialog.Start(editor);
  EditRow(0x23, [](FakeDialogControls&) { ADD_FAILURE() << "the character dialog must not open"; });
  ASSERT_EQ(dialog.Messages().size(), 1u);
  EXPECT_EQ(dialog.Messages()[0].text, "Command length error");
  EXPECT_EQ(dialog.Messages()[0].caption, "Error");
}

TEST_F(ControlFontFixture, DeleteEmptiesTheRowAndCancelWritesNothing) {
  dialog.Start(editor);
  dialog.ChooseRow(kList, 0x21);
  dialog.Click(kDelete);
  EXPECT_EQ(dialog.ListViewCell(kList, 0x21, 2), "");
  dialog.Click(kIdCancel);
  EXPECT_EQ(dialog.EndedWith(), kIdCancel);
  EXPECT_EQ(Stored("41"), "1B 70 00 19 FA");
}

TEST_F(ControlFontFixture, AFailedWriteAsksForAdministratorRightsAndStaysOpen) {
  dialog.Start(editor);
  journal.FailCall("WriteFile", err::kAccessDenied);
  dialog.Click(kIdOk);
  ASSERT_EQ(dialog.Messages().size(), 1u);
  EXPECT_EQ(dialog.Messages()[0].text, "Please check if user has administrator privileges!");
  EXPECT_EQ(dialog.Messages()[0].icon, platform::ui::MessageIcon::kError);
  EXPECT_FALSE(dialog.EndedWith().has_value());
}

}  // namespace
}  // namespace mq::plugin
