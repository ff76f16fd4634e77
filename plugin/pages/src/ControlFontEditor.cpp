// The control-font translation table editor and its one-character dialog.
#include "pages/ControlFontEditor.h"

#include "pages/CommandText.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using namespace control_font;

namespace {

// The dialogs' texts live in the Utility page's section of the language file, beside the button that opens
// them. The driver's name is the product's own and stays as it is.
constexpr const char* kSection = "UTILITY";
constexpr size_t kRoomTitle = 100;
constexpr TextKey kTableTitle = {"RC_CONTROLFONT_TITLE", "Control Font Character Translation Table"};
constexpr TextKey kTranslatorTitle = {"RC_CONTROLFONT_TRANSLATOR", "Control Font Character Translator"};
constexpr TextKey kCharText = {"RC_CONTROLFONT_CHAR", "Char"};
constexpr TextKey kHexText = {"RC_CONTROLFONT_HEX", "Hex"};
constexpr TextKey kCommandText = {"RC_CONTROLFONT_COMMAND", "Command"};
constexpr TextKey kOkText = {"RC_CONTROLFONT_OK", "OK"};
constexpr TextKey kCancelText = {"RC_CONTROLFONT_CANCEL", "Cancel"};
constexpr const char* kDriverName = "MQ450 Printer Driver";
// The table's messages (section MessageBox): a stored command too long to edit, and a file not written.
constexpr TextKey kStoredTooLong = {"MB_CONTROLFONT_ERROR1", "Command length error"};
constexpr TextKey kNotWritten = {"MB_CONTROLFONT_ERROR2",
                                 "Please check if user has administrator privileges!"};

constexpr ControlText kTableTexts[] = {
    {kDriverLabel, {"RC_CONTROLFONT_DRIVER", "Driver Name:"}, kRoomShort},
    {kEdit, {"RC_CONTROLFONT_EDIT", "Edit"}, kRoomShort},
    {kDelete, {"RC_CONTROLFONT_DELETE", "Delete"}, kRoomShort},
    {platform::ui::kIdOk, kOkText, kRoomShort},
    {platform::ui::kIdCancel, kCancelText, kRoomShort},
};
constexpr ControlText kTranslatorTexts[] = {
    {kCharLabel, kCharText, kRoomShort},
    {kHexLabel, kHexText, kRoomShort},
    {kCommandLabel, kCommandText, kRoomShort},
    {platform::ui::kIdOk, kOkText, kRoomShort},
    {platform::ui::kIdCancel, kCancelText, kRoomShort},
};

std::string Read(PageTexts& texts, const TextKey& text, size_t room) {
  return texts.Read(kSection, text.key, text.fallback, room);
}

template <size_t N>
void SetTexts(PageTexts& texts, DialogControls& controls, const TextKey& title,
              const ControlText (&table)[N]) {
  texts.ResolveCurrentLanguage();
  controls.SetTitle(Read(texts, title, kRoomTitle));
  for (const ControlText& t : table) controls.SetText(t.id, Read(texts, t.text, t.room));
}

std::string CharOf(int code) {
  return std::string(1, static_cast<char>(code));
}

}  // namespace

void ControlFontTranslator::OnInit(DialogControls& controls) {
  SetTexts(texts_, controls, kTranslatorTitle, kTranslatorTexts);
  controls.SetText(kChar, CharOf(code_));
  controls.SetText(kHex, ControlFontKey(code_));
  controls.SetText(kCommand, command_);
  controls.Focus(kCommand);
}

bool ControlFontTranslator::AcceptChar(int id, char16_t ch, bool controlHeld) {
  return id != kCommand || IsCommandTextChar(ch, controlHeld);
}

bool ControlFontTranslator::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked) return false;
  if (id == platform::ui::kIdCancel) {
    controls.EndDialog(platform::ui::kIdCancel);
    return true;
  }
  if (id != platform::ui::kIdOk) return false;
  const std::vector<uint8_t> bytes = ParseCommandText(controls.GetText(kCommand));
  if (bytes.size() > kMaxCommandBytes) {
    texts_.ResolveCurrentLanguage();
    controls.ShowMessage(texts_.Read("MessageBox", "MB_OPERATION_ERROR1", "Command length error!", kRoomHelp),
                         texts_.Read("MessageBox", "MB_ERROR", "Error", kRoomHelp), MessageIcon::kNone,
                         MessageButtons::kOk);
    return true;
  }
  command_ = FormatCommandText(bytes.data(), bytes.size());
  controls.EndDialog(platform::ui::kIdOk);
  return true;
}

void ControlFontEditor::OnInit(DialogControls& controls) {
  SetTexts(texts_, controls, kTableTitle, kTableTexts);
  controls.SetText(kDriver, kDriverName);
  controls.ListViewSelectFullRows(kList);
  controls.ListViewAddColumn(kList, Read(texts_, kCharText, kRoomShort), 50);
  controls.ListViewAddColumn(kList, Read(texts_, kHexText, kRoomShort), 50);
  controls.ListViewAddColumn(kList, Read(texts_, kCommandText, kRoomShort), 450);
  table_ = ReadControlFontTable(profile_, path_);
  FillList(controls);
}

void ControlFontEditor::FillList(DialogControls& controls) {
  controls.ListViewClear(kList);
  for (int row = 0; row < kControlFontRows; ++row) {
    const int code = kControlFontFirstCode + row;
    controls.ListViewAddRow(kList, {CharOf(code), ControlFontKey(code), table_[static_cast<size_t>(row)]});
  }
}

// After a change the list, filled anew and so back at its top, selects the row again and scrolls to it with
// the row above it in view from the third row on, and takes the focus. The row itself is scrolled to last:
// scrolling to the row above alone would leave a row below the view just out of it.
void ControlFontEditor::ShowRow(DialogControls& controls, int row) {
  FillList(controls);
  controls.ListViewSelect(kList, row);
  if (row >= 2) controls.ListViewEnsureVisible(kList, row - 1);
  controls.ListViewEnsureVisible(kList, row);
  controls.Focus(kList);
}

void ControlFontEditor::ShowError(DialogControls& controls, const TextKey& text, MessageIcon icon) {
  texts_.ResolveCurrentLanguage();
  controls.ShowMessage(texts_.Read("MessageBox", text.key, text.fallback, kRoomHelp),
                       texts_.Read("MessageBox", "MB_ERROR", "Error", kRoomHelp), icon, MessageButtons::kOk);
}

void ControlFontEditor::EditRow(DialogControls& controls, int row) {
  const std::vector<uint8_t> bytes = ParseCommandText(table_[static_cast<size_t>(row)]);
  if (bytes.size() > kMaxCommandBytes) return ShowError(controls, kStoredTooLong, MessageIcon::kNone);
  ControlFontTranslator translator(texts_, kControlFontFirstCode + row,
                                   FormatCommandText(bytes.data(), bytes.size()));
  if (controls.RunModal(kControlFontTranslatorTemplate, translator) != platform::ui::kIdOk) return;
  table_[static_cast<size_t>(row)] = translator.Command();
  ShowRow(controls, row);
}

bool ControlFontEditor::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  const int row = controls.ListViewSelection(kList);
  if (id == kList && event == ControlEvent::kDoubleClicked) {
    if (row >= 0 && row < kControlFontRows) EditRow(controls, row);
    return true;
  }
  if (event != ControlEvent::kClicked) return false;
  switch (id) {
    case kEdit:
      if (row >= 0 && row < kControlFontRows) EditRow(controls, row);
      return true;
    case kDelete:
      if (row >= 0 && row < kControlFontRows) {
        table_[static_cast<size_t>(row)].clear();
        ShowRow(controls, row);
      }
      return true;
    case platform::ui::kIdOk:
      if (WriteControlFontTable(profile_, files_, path_, table_) != 0) {
        ShowError(controls, kNotWritten, MessageIcon::kError);
        return true;
      }
      controls.EndDialog(platform::ui::kIdOk);
      return true;
    case platform::ui::kIdCancel:
      controls.EndDialog(platform::ui::kIdCancel);
      return true;
    default:
      return false;
  }
}

}  // namespace mq::plugin
