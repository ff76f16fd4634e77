// The Operation page and its editor, played through the in-memory dialog: what the editor shows for a slot,
// its enabling rules, the Default button, the limits on OK and the write-back into the slot of the button
// used.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "TableTexts.h"
#include "pages/OperationEditor.h"
#include "pages/OperationPage.h"
#include "pages/OperationPreview.h"
#include "platform/fake/FakeDialogControls.h"

namespace mq::plugin {
namespace {

using platform::ui::FakeDialogControls;
using platform::ui::SheetEvent;
namespace ui = platform::ui;
using namespace editor;

class FakeSlots : public OperationSlotStore {
 public:
  OperationSlotData Load(OperationMoment moment) override { return slots[static_cast<int>(moment)]; }
  void Store(OperationMoment moment, const OperationSlotData& slot) override {
    slots[static_cast<int>(moment)] = slot;
    ++stores;
  }
  std::array<OperationSlotData, kOperationMoments> slots{};
  int stores = 0;
};

constexpr int kButtons[kOperationMoments] = {operation_page::kStartDoc, operation_page::kStartPage,
                                             operation_page::kEndPage, operation_page::kEndDoc};

class OperationEditorTest : public ::testing::Test {
 protected:
  OperationEditorTest() : page_(journal_) {
    page_.SetModalSetup([](FakeDialogControls& dialog, int) {
      dialog.DeclareCheckBox(kSendCommand);
      dialog.DeclareCheckBox(kFeedToCut);
      dialog.DeclareRadioGroup({kOpenDrawer, kHerald});
      dialog.DeclareRadioGroup({kLeft, kCentered, kRight});
      dialog.DeclareRadioGroup({kBeforeCut, kAfterCut});
      dialog.DeclareBuddy(kFeedUpDown, kFeedEdit);
      dialog.DeclareBuddy(kVolumeUpDown, kVolumeEdit);
    });
    page_.Start(logic_);
  }

  // Opens the editor from the page button of moment and lets script play the user; returns the editor's
  // result.
  int Edit(OperationMoment moment, const std::function<void(FakeDialogControls&)>& script) {
    int templateSeen = 0;
    page_.SetModalScript([&](FakeDialogControls& dialog, int templateId) {
      templateSeen = templateId;
      script(dialog);
      result_ = dialog.EndedWith().value_or(ui::kIdCancel);
    });
    page_.Click(kButtons[static_cast<int>(moment)]);
    EXPECT_EQ(templateSeen, kOperationEditorTemplate);
    return result_;
  }

  size_t ChangedCount() { return journal_.CallsTo("SendMessageW").size(); }

  platform::CallJournal journal_;
  FakeDialogControls page_;
  testing::TableTexts texts_;
  FakeSlots slots_;
  OperationPage logic_{slots_, texts_};
  int result_ = 0;
};

OperationSlotData CommandSlot() {
  OperationSlotData slot;
  slot.sendCommand = 1;
  slot.command[0] = 0x1D;
  slot.command[1] = 0x56;
  slot.command[2] = 0x42;
  slot.command[3] = 0x00;
  slot.commandLength = 4;
  slot.drawerPulse = 7;
  slot.cutType = 2;
  slot.feedMm = 30;
  slot.heraldState = 1;
  slot.drawerOrHerald = 1;
  slot.buzzerVolume = 200;
  slot.buzzerBeeps = 3;
  slot.logoNumber = 4;
  slot.logoAlign = 1;
  slot.logoPosition = 1;
  return slot;
}

TEST_F(OperationEditorTest, ShowsTheSlotAndStoresItBackUnchangedOnOk) {
  slots_.slots[1] = CommandSlot();
  Edit(OperationMoment::kStartPage, [](FakeDialogControls& d) {
    EXPECT_EQ(d.Title(), "Start Page Operation");
    EXPECT_EQ(d.GetText(kCommand), "1D 56 42 00 ");
    EXPECT_TRUE(d.IsChecked(kSendCommand));
    EXPECT_TRUE(d.IsEnabled(kCommand));
    EXPECT_EQ(d.Selection(kDrawerList), 7);
    EXPECT_EQ(d.Selection(kHeraldList), 1);
    EXPECT_EQ(d.Selection(kCutList), 2);
    EXPECT_EQ(d.Selection(kBuzzerList), 3);
    EXPECT_EQ(d.Selection(kLogoList), 4);
    EXPECT_EQ(d.Position(kFeedUpDown), 30);
    EXPECT_EQ(d.GetText(kFeedEdit), "30");
    EXPECT_EQ(d.Position(kVolumeUpDown), 200);
    EXPECT_TRUE(d.IsChecked(kHerald));
    EXPECT_FALSE(d.IsChecked(kOpenDrawer));
    EXPECT_FALSE(d.IsEnabled(kDrawerList));
    EXPECT_TRUE(d.IsEnabled(kHeraldList));
    EXPECT_TRUE(d.IsEnabled(kVolumeEdit));
    EXPECT_TRUE(d.IsChecked(kCentered));
    EXPECT_TRUE(d.IsChecked(kAfterCut));
    EXPECT_TRUE(d.IsEnabled(kLeft));
    EXPECT_EQ(d.ItemCount(kDrawerList), 13);
    EXPECT_EQ(d.ItemText(kDrawerList, 12), "Cash Drawer #1+#2 Waiting 60ms");
    EXPECT_EQ(d.ItemCount(kLogoList), 10);
    EXPECT_EQ(d.ItemText(kLogoList, 9), "Print Logo9");
    EXPECT_EQ(d.At(kFeedToCut).toolTip.substr(0, 33), "Feed paper to the cut position be");
    d.Click(ui::kIdOk);
  });
  EXPECT_EQ(result_, ui::kIdOk);
  EXPECT_EQ(slots_.slots[1], CommandSlot());
  EXPECT_EQ(ChangedCount(), 1u);
  EXPECT_EQ(journal_.CallsTo("SendMessageW")[0], "SendMessageW message=PSM_CHANGED");
}

TEST_F(OperationEditorTest, EachMomentOpensTheEditorUnderItsOwnTitle) {
  struct Case {
    OperationMoment moment;
    const char* key;
    const char* englishTitle;
  };
  const Case cases[] = {{OperationMoment::kStartDoc, "RC_DOCUMENT_STARTDOC", "Start Document Operation"},
                        {OperationMoment::kStartPage, "RC_DOCUMENT_STARTPAGE", "Start Page Operation"},
                        {OperationMoment::kEndPage, "RC_DOCUMENT_ENDPAGE", "End Page Operation"},
                        {OperationMoment::kEndDoc, "RC_DOCUMENT_ENDDOC", "End Document Operation"}};
  for (const Case& c : cases) {
    for (bool translated : {false, true}) {
      texts_.table.clear();
      if (translated) texts_.table[{"DOCUMENT", c.key}] = std::string("title of ") + c.key;
      Edit(c.moment, [&](FakeDialogControls& d) {
        EXPECT_EQ(d.Title(), translated ? std::string("title of ") + c.key : std::string(c.englishTitle));
        d.Click(ui::kIdCancel);
      });
    }
  }
}

TEST_F(OperationEditorTest, ListsHoldEveryEntryInOrder) {
  struct Case {
    int list;
    std::vector<std::string> english;
    const char* keyPrefix;  // keys are the prefix and 1, 2, ... in entry order
  };
  const Case cases[] = {
      {kDrawerList,
       {"No Cash Drawer", "Cash Drawer #1 Waiting 10ms", "Cash Drawer #1 Waiting 20ms",
        "Cash Drawer #1 Waiting 40ms", "Cash Drawer #1 Waiting 60ms", "Cash Drawer #2 Waiting 10ms",
        "Cash Drawer #2 Waiting 20ms", "Cash Drawer #2 Waiting 40ms", "Cash Drawer #2 Waiting 60ms",
        "Cash Drawer #1+#2 Waiting 10ms", "Cash Drawer #1+#2 Waiting 20ms", "Cash Drawer #1+#2 Waiting 40ms",
        "Cash Drawer #1+#2 Waiting 60ms"},
       "RC_OPENDRAWER"},
      {kHeraldList, {"Enable", "Disable"}, "RC_ORDERMESSENGER"},
      {kBuzzerList,
       {"Beep off", "Beep one", "Beep three", "Beep five", "Beep ten", "Beep twenty"},
       "RC_OPERATION_BUZZER"},
      {kCutList, {"No Cut", "Partial Cut", "Full Cut"}, "RC_PAPER_CUT"},
      {kLogoList,
       {"Not Print Logo", "Print Logo1", "Print Logo2", "Print Logo3", "Print Logo4", "Print Logo5",
        "Print Logo6", "Print Logo7", "Print Logo8", "Print Logo9"},
       "RC_PRINT_LOGO"},
  };
  Edit(OperationMoment::kStartDoc, [&](FakeDialogControls& d) {
    for (const Case& c : cases) EXPECT_EQ(d.At(c.list).items, c.english) << c.keyPrefix;
    d.Click(ui::kIdCancel);
  });
  // Each entry is read under its own key.
  for (const Case& c : cases)
    for (size_t i = 0; i < c.english.size(); ++i)
      texts_.table[{"DOCUMENT", c.keyPrefix + std::to_string(i + 1)}] = c.keyPrefix + std::to_string(i + 1);
  Edit(OperationMoment::kStartDoc, [&](FakeDialogControls& d) {
    for (const Case& c : cases) {
      std::vector<std::string> keys;
      for (size_t i = 0; i < c.english.size(); ++i) keys.push_back(c.keyPrefix + std::to_string(i + 1));
      EXPECT_EQ(d.At(c.list).items, keys);
    }
    d.Click(ui::kIdCancel);
  });
}

TEST_F(OperationEditorTest, EveryControlCarriesTheHelpTipOfItsOwnKey) {
  // By the ids the dialog template uses.
  const std::map<int, std::string> keys = {
      {IDC_EDITOR_SEND_COMMAND, "CTEXT_SEND_COMMAND"},
      {IDC_EDITOR_COMMAND, "CTEXT_EDIT"},
      {IDC_EDITOR_OPEN_DRAWER, "CTEXT_OPEN_DRAWER"},
      {IDC_EDITOR_DRAWER_LIST, "CTEXT_OPENDRAWER"},
      {IDC_EDITOR_HERALD, "CTEXT_ORDER_MESSENGER"},
      {IDC_EDITOR_HERALD_LIST, "CTEXT_ORDERMESSENGER"},
      {IDC_EDITOR_BUZZER_LIST, "CTEXT_BUZZER"},
      {IDC_EDITOR_VOLUME_EDIT, "CTEXT_BUZZERVOLUME"},
      {IDC_EDITOR_FEED_EDIT, "CTEXT_PAPER_FEED"},
      {IDC_EDITOR_FEED_TO_CUT, "CTEXT_FEEDTOPOSITION"},
      {IDC_EDITOR_CUT_LIST, "CTEXT_PAPER_CUT"},
      {IDC_EDITOR_LOGO_LIST, "CTEXT_PRINT_LOGO"},
      {IDC_EDITOR_LEFT, "CTEXT_LEFT"},
      {IDC_EDITOR_CENTERED, "CTEXT_CENTERED"},
      {IDC_EDITOR_RIGHT, "CTEXT_RIGHT"},
      {IDC_EDITOR_BEFORE_CUT, "CTEXT_BEFORE_CUT"},
      {IDC_EDITOR_AFTER_CUT, "CTEXT_AFTER_CUT"},
      {IDC_EDITOR_DEFAULT, "CTEXT_IDDEFAULT"},
      {ui::kIdOk, "CTEXT_IDOK"},
      {ui::kIdCancel, "CTEXT_IDCANCEL"},
  };
  std::map<int, std::string> expected;
  for (const auto& [id, key] : keys) expected[id] = texts_.table[{"DOCUMENT", key}] = "tip " + key;
  Edit(OperationMoment::kEndPage, [&](FakeDialogControls& d) {
    std::map<int, std::string> tips;  // every control of the template has an id below 2000
    for (int id = 0; id < 2000; ++id)
      if (d.Has(id) && !d.At(id).toolTip.empty()) tips[id] = d.At(id).toolTip;
    EXPECT_EQ(tips, expected);
    d.Click(ui::kIdCancel);
  });
}

TEST_F(OperationEditorTest, WritesBackIntoTheSlotOfTheButtonUsed) {
  for (int moment = 0; moment < kOperationMoments; ++moment) {
    slots_.slots = {};
    Edit(static_cast<OperationMoment>(moment), [](FakeDialogControls& d) {
      d.Click(kSendCommand);
      d.Type(kCommand, "1b 40");
      d.Choose(kBuzzerList, 2);
      d.Click(ui::kIdOk);
    });
    for (int other = 0; other < kOperationMoments; ++other) {
      EXPECT_EQ(slots_.slots[other].commandLength, other == moment ? 2 : 0) << moment << " " << other;
      EXPECT_EQ(slots_.slots[other].buzzerBeeps, other == moment ? 2 : 0);
    }
    EXPECT_EQ(slots_.slots[moment].command[0], 0x1B);
    EXPECT_EQ(slots_.slots[moment].command[1], 0x40);
    EXPECT_EQ(slots_.slots[moment].sendCommand, 1);
  }
}

TEST_F(OperationEditorTest, CommandOf128BytesIsStoredAnd129IsRefusedWithTheSlotUnchanged) {
  std::string text128;
  for (int i = 0; i < 128; ++i) text128 += "A5 ";
  Edit(OperationMoment::kEndDoc, [&](FakeDialogControls& d) {
    d.Click(kSendCommand);
    d.Type(kCommand, text128);
    d.Click(ui::kIdOk);
  });
  EXPECT_EQ(slots_.slots[3].commandLength, 128);
  EXPECT_EQ(slots_.slots[3].command[127], 0xA5);

  const OperationSlotData before = slots_.slots[3];
  const size_t changedBefore = ChangedCount();
  texts_.table[{"MessageBox", "MB_OPERATION_ERROR1"}] = "命令长度错误！";
  Edit(OperationMoment::kEndDoc, [&](FakeDialogControls& d) {
    d.Type(kCommand, text128 + "01");
    d.Choose(kCutList, 2);
    d.Click(ui::kIdOk);
    EXPECT_FALSE(d.EndedWith().has_value()) << "the editor stays open";
    ASSERT_EQ(d.Messages().size(), 1u);
    EXPECT_EQ(d.Messages()[0].text, "命令长度错误！");
    EXPECT_EQ(d.Messages()[0].caption, "Error");
    EXPECT_EQ(d.Messages()[0].buttons, ui::MessageButtons::kOk);
    d.Click(ui::kIdCancel);
  });
  EXPECT_EQ(result_, ui::kIdCancel);
  EXPECT_EQ(slots_.slots[3], before);
  EXPECT_EQ(ChangedCount(), changedBefore);
}

TEST_F(OperationEditorTest, EmptyCommandStoresLengthZeroAndClearsOldBytes) {
  slots_.slots[0] = CommandSlot();
  for (bool sendTicked : {true, false}) {
    Edit(OperationMoment::kStartDoc, [&](FakeDialogControls& d) {
      if (d.IsChecked(kSendCommand) != sendTicked) d.Click(kSendCommand);
      d.Type(kCommand, "");
      d.Click(ui::kIdOk);
    });
    EXPECT_EQ(slots_.slots[0].commandLength, 0);
    EXPECT_EQ(slots_.slots[0].command, (std::array<uint8_t, kMaxCommandBytes>{}));
    EXPECT_EQ(slots_.slots[0].sendCommand, sendTicked ? 1 : 0);
  }
  // A shorter command leaves no bytes of the longer one behind.
  slots_.slots[0] = CommandSlot();
  Edit(OperationMoment::kStartDoc, [](FakeDialogControls& d) {
    d.Type(kCommand, "0A");
    d.Click(ui::kIdOk);
  });
  EXPECT_EQ(slots_.slots[0].commandLength, 1);
  EXPECT_EQ(slots_.slots[0].command[0], 0x0A);
  EXPECT_EQ(slots_.slots[0].command[1], 0x00);
}

TEST_F(OperationEditorTest, FeedAndVolumeAreClampedToTheirRanges) {
  struct Case {
    const char* feed;
    const char* volume;
    int feedStored;
    int volumeStored;
  };
  const Case cases[] = {{"150", "300", 100, 255},
                        {"", "", 0, 0},
                        {"100", "255", 100, 255},
                        {"7", "42", 7, 42},
                        {"999", "999", 100, 255}};
  for (const Case& c : cases) {
    Edit(OperationMoment::kStartDoc, [&](FakeDialogControls& d) {
      d.Choose(kBuzzerList, 1);
      d.Type(kFeedEdit, c.feed);
      d.Type(kVolumeEdit, c.volume);
      // The up-downs follow the typing, held to their ranges.
      EXPECT_EQ(d.Position(kFeedUpDown), c.feedStored) << c.feed;
      EXPECT_EQ(d.Position(kVolumeUpDown), c.volumeStored) << c.volume;
      // The up-down writes the held value back into its edit; OK must clamp a typed text on its own too.
      d.At(kFeedEdit).text = c.feed;
      d.At(kVolumeEdit).text = c.volume;
      d.Click(ui::kIdOk);
    });
    EXPECT_EQ(slots_.slots[0].feedMm, c.feedStored) << c.feed;
    EXPECT_EQ(slots_.slots[0].buzzerVolume, c.volumeStored) << c.volume;
  }
}

TEST_F(OperationEditorTest, DefaultShowsTheRecordDefaultsOfTheMomentAndStoresNothingUntilOk) {
  for (int moment = 0; moment < kOperationMoments; ++moment) {
    const OperationSlotData edited = CommandSlot();
    slots_.slots[moment] = edited;
    Edit(static_cast<OperationMoment>(moment), [&](FakeDialogControls& d) {
      d.Click(kDefault);
      const bool endDoc = moment == 3;
      EXPECT_FALSE(d.IsChecked(kSendCommand));
      EXPECT_EQ(d.GetText(kCommand), "");
      EXPECT_FALSE(d.IsEnabled(kCommand));
      EXPECT_EQ(d.IsChecked(kFeedToCut), endDoc) << moment;
      EXPECT_EQ(d.Selection(kCutList), endDoc ? 1 : 0) << moment;
      for (int list : {kDrawerList, kHeraldList, kBuzzerList, kLogoList}) EXPECT_EQ(d.Selection(list), 0);
      EXPECT_TRUE(d.IsChecked(kOpenDrawer));
      EXPECT_FALSE(d.IsChecked(kHerald));
      EXPECT_TRUE(d.IsEnabled(kDrawerList));
      EXPECT_FALSE(d.IsEnabled(kHeraldList));
      EXPECT_EQ(d.Position(kFeedUpDown), 0);
      EXPECT_EQ(d.Position(kVolumeUpDown), 0);
      EXPECT_FALSE(d.IsEnabled(kVolumeEdit));
      EXPECT_FALSE(d.IsEnabled(kVolumeUpDown));
      for (int radio : {kLeft, kCentered, kRight, kBeforeCut, kAfterCut}) EXPECT_FALSE(d.IsEnabled(radio));
      EXPECT_TRUE(d.IsChecked(kLeft));
      EXPECT_FALSE(d.IsChecked(kCentered));
      EXPECT_TRUE(d.IsChecked(kBeforeCut));
      EXPECT_FALSE(d.IsChecked(kAfterCut));
      d.Click(ui::kIdCancel);
    });
    EXPECT_EQ(slots_.slots[moment], edited) << "Default then Cancel stores nothing";

    Edit(static_cast<OperationMoment>(moment), [&](FakeDialogControls& d) {
      d.Click(kDefault);
      d.Click(ui::kIdOk);
    });
    OperationSlotData expected;
    if (moment == 3) {
      expected.feedToCut = 1;
      expected.cutType = 1;
    }
    EXPECT_EQ(slots_.slots[moment], expected) << moment;
  }
}

TEST_F(OperationEditorTest, EnablingRulesFollowTheUsersChoices) {
  Edit(OperationMoment::kStartDoc, [](FakeDialogControls& d) {
    // A zeroed slot: drawer chosen, buzzer off, no logo, no command.
    EXPECT_TRUE(d.IsEnabled(kDrawerList));
    EXPECT_FALSE(d.IsEnabled(kHeraldList));
    EXPECT_FALSE(d.IsEnabled(kVolumeEdit));
    EXPECT_FALSE(d.IsEnabled(kCommand));
    EXPECT_FALSE(d.IsEnabled(kBeforeCut));

    d.Click(kHerald);
    EXPECT_FALSE(d.IsEnabled(kDrawerList));
    EXPECT_TRUE(d.IsEnabled(kHeraldList));
    d.Click(kOpenDrawer);
    EXPECT_TRUE(d.IsEnabled(kDrawerList));
    EXPECT_FALSE(d.IsEnabled(kHeraldList));

    d.Choose(kBuzzerList, 5);
    EXPECT_TRUE(d.IsEnabled(kVolumeEdit));
    EXPECT_TRUE(d.IsEnabled(kVolumeUpDown));
    d.Choose(kBuzzerList, 0);
    EXPECT_FALSE(d.IsEnabled(kVolumeEdit));
    EXPECT_FALSE(d.IsEnabled(kVolumeUpDown));

    d.Choose(kLogoList, 9);
    for (int radio : {kLeft, kCentered, kRight, kBeforeCut, kAfterCut}) EXPECT_TRUE(d.IsEnabled(radio));
    d.Choose(kLogoList, 0);
    for (int radio : {kLeft, kCentered, kRight, kBeforeCut, kAfterCut}) EXPECT_FALSE(d.IsEnabled(radio));

    d.Click(kSendCommand);
    EXPECT_TRUE(d.IsEnabled(kCommand));
    d.Click(kSendCommand);
    EXPECT_FALSE(d.IsEnabled(kCommand));
    d.Click(ui::kIdCancel);
  });
}

TEST_F(OperationEditorTest, HeraldChoiceStillStoresTheDrawerListEntry) {
  Edit(OperationMoment::kEndPage, [](FakeDialogControls& d) {
    d.Choose(kDrawerList, 10);
    d.Click(kHerald);
    d.Choose(kHeraldList, 1);
    d.Choose(kLogoList, 2);
    d.Click(kRight);
    d.Click(kAfterCut);
    d.Click(ui::kIdOk);
  });
  const OperationSlotData& slot = slots_.slots[2];
  EXPECT_EQ(slot.drawerOrHerald, 1u);
  EXPECT_EQ(slot.drawerPulse, 10);
  EXPECT_EQ(slot.heraldState, 1);
  EXPECT_EQ(slot.logoNumber, 2);
  EXPECT_EQ(slot.logoAlign, 2);
  EXPECT_EQ(slot.logoPosition, 1);
}

TEST_F(OperationEditorTest, StoredValuesOutsideTheRadiosShowNoAlignmentAndAfterCut) {
  OperationSlotData odd;
  odd.logoNumber = 1;
  odd.logoAlign = 7;
  odd.logoPosition = 3;
  slots_.slots[0] = odd;
  Edit(OperationMoment::kStartDoc, [](FakeDialogControls& d) {
    EXPECT_FALSE(d.IsChecked(kLeft) || d.IsChecked(kCentered) || d.IsChecked(kRight));
    EXPECT_TRUE(d.IsChecked(kAfterCut));
    d.Click(ui::kIdOk);
  });
  EXPECT_EQ(slots_.slots[0].logoAlign, 2);  // nothing ticked reads as Right
  EXPECT_EQ(slots_.slots[0].logoPosition, 1);
}

TEST_F(OperationEditorTest, CancelOrClosingLeavesTheSlotAndSheetUntouched) {
  slots_.slots[2] = CommandSlot();
  const auto edits = [](FakeDialogControls& d) {
    d.Click(kDefault);
    d.Type(kCommand, "00 11 22");
    d.Choose(kCutList, 0);
  };
  EXPECT_EQ(Edit(OperationMoment::kEndPage,
                 [&](FakeDialogControls& d) {
                   edits(d);
                   d.Click(ui::kIdCancel);
                 }),
            ui::kIdCancel);
  EXPECT_EQ(Edit(OperationMoment::kEndPage, edits), ui::kIdCancel);  // closed without a button
  EXPECT_EQ(slots_.slots[2], CommandSlot());
  EXPECT_EQ(slots_.stores, 0);
  EXPECT_EQ(ChangedCount(), 0u);
}

TEST_F(OperationEditorTest, CommandEditFiltersTypedCharacters) {
  Edit(OperationMoment::kStartDoc, [](FakeDialogControls& d) {
    d.Click(kSendCommand);
    for (char16_t ch : std::u16string(u"1dZ 5x6")) d.TypeChar(kCommand, ch);
    EXPECT_EQ(d.GetText(kCommand), "1d 56");
    EXPECT_TRUE(d.TypeChar(kCommand, u'\x16', true));  // Ctrl+V reaches the edit
    d.Click(ui::kIdOk);
  });
  EXPECT_EQ(slots_.slots[0].commandLength, 2);
  EXPECT_EQ(slots_.slots[0].command[1], 0x56);
}

TEST_F(OperationEditorTest, PreviewFollowsMomentCutAndFeed) {
  for (int moment = 0; moment < kOperationMoments; ++moment) {
    Edit(static_cast<OperationMoment>(moment), [&](FakeDialogControls& d) {
      const auto m = static_cast<OperationMoment>(moment);
      EXPECT_EQ(*d.At(kPreview).picture, DrawPreviewPicture(PreviewPictureId(m, false, false)));
      d.Choose(kCutList, 2);
      EXPECT_EQ(*d.At(kPreview).picture, DrawPreviewPicture(PreviewPictureId(m, true, false)));
      d.Click(kFeedToCut);
      EXPECT_EQ(*d.At(kPreview).picture, DrawPreviewPicture(PreviewPictureId(m, true, true)));
      d.Click(ui::kIdCancel);
    });
  }
}

TEST(OperationPreview, FourteenPicturesChosenByMomentCutAndFeed) {
  const int expected[4][4] = {
      {143, 145, 144, 149}, {146, 148, 147, 149}, {140, 142, 141, 139}, {136, 138, 137, 139}};
  for (int moment = 0; moment < 4; ++moment) {
    const auto m = static_cast<OperationMoment>(moment);
    EXPECT_EQ(PreviewPictureId(m, true, true), expected[moment][0]);
    EXPECT_EQ(PreviewPictureId(m, true, false), expected[moment][1]);
    EXPECT_EQ(PreviewPictureId(m, false, true), expected[moment][2]);
    EXPECT_EQ(PreviewPictureId(m, false, false), expected[moment][3]);
  }
}

TEST(OperationPreview, PicturesShowCutsAndFeedGapsWhereChosen) {
  const auto countColour = [](const ui::Picture& p, ui::Rgb colour) {
    int n = 0;
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) n += p.At(x, y) == colour;
    return n;
  };
  const auto cutColumns = [](const ui::Picture& p) {
    int n = 0;
    for (int x = 0; x < p.Width(); ++x) n += p.At(x, 9) == 0xD01010;
    return n;
  };
  struct Case {
    int id;
    int cuts;
    bool feed;
  };
  // Cuts: before every job 2, before or after every page 4, after every job 2.
  const Case cases[] = {{143, 2, true},  {145, 2, false}, {144, 0, true},  {149, 0, false}, {146, 4, true},
                        {148, 4, false}, {147, 0, true},  {140, 4, true},  {142, 4, false}, {141, 0, true},
                        {139, 0, false}, {136, 2, true},  {138, 2, false}, {137, 0, true}};
  for (const Case& c : cases) {
    const ui::Picture p = DrawPreviewPicture(c.id);
    ASSERT_EQ(p.Width(), kPreviewWidth) << c.id;
    ASSERT_EQ(p.Height(), kPreviewHeight);
    EXPECT_EQ(cutColumns(p), c.cuts) << c.id;
    EXPECT_EQ(countColour(p, 0x2080D0) > 0, c.feed) << c.id;
    EXPECT_GT(countColour(p, 0x000000), 100) << "page texts are drawn";
  }
  EXPECT_TRUE(DrawPreviewPicture(135).Empty());
  EXPECT_TRUE(DrawPreviewPicture(150).Empty());
}

TEST_F(OperationEditorTest, PageTextsComeFromTheLanguageFileAtCreationAndEveryPaint) {
  EXPECT_EQ(page_.GetText(operation_page::kStartDoc), "Start of Document");
  EXPECT_EQ(page_.GetText(operation_page::kEndDocLabel), "Operation when document ends");
  texts_.table[{"OPERATION", "RC_STARTDOC"}] = "文档开始";
  texts_.table[{"OPERATION", "RC_ENDDOC"}] = "A button text longer than twenty characters";
  const int resolvesBefore = texts_.resolves;
  page_.Paint();
  EXPECT_GT(texts_.resolves, resolvesBefore);
  EXPECT_EQ(page_.GetText(operation_page::kStartDoc), "文档开始");
  EXPECT_EQ(page_.GetText(operation_page::kEndDoc),
            "A button text longe");  // room for 20: 19 characters shown
}

TEST_F(OperationEditorTest, ApplyReportsOkToTheHostAndMarksTheSheetUnchanged) {
  EXPECT_EQ(page_.SendSheetEvent(SheetEvent::kApply), 1);
  EXPECT_EQ(journal_.Lines(),
            (std::vector<std::string>{"pfnComPropSheet function=CPSFUNC_SET_RESULT result=1",
                                      "SendMessageW message=PSM_UNCHANGED"}));
  EXPECT_EQ(page_.SendSheetEvent(SheetEvent::kKillActive), 0);
  EXPECT_EQ(page_.SendSheetEvent(SheetEvent::kSetActive), 0);
  EXPECT_EQ(journal_.Lines().size(), 2u);
}

}  // namespace
}  // namespace mq::plugin
