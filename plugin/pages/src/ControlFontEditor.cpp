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

// The dialogs' texts are the product's own and are not translated.
constexpr const char* kTableTitle = "Control Font Character Translation Table";
constexpr const char* kTranslatorTitle = "Control Font Character Translator";
constexpr const char* kDriverName = "MQ450 Printer Driver";

std::string CharOf(int code) {
  return std::string(1, static_cast<char>(code));
}

}  // namespace

void ControlFontTranslator::OnInit(DialogControls& controls) {
  controls.SetTitle(kTranslatorTitle);
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
  controls.SetTitle(kTableTitle);
  controls.SetText(kDriver, kDriverName);
  controls.ListViewAddColumn(kList, "Char", 50);
  controls.ListViewAddColumn(kList, "Hex", 50);
  controls.ListViewAddColumn(kList, "Command", 450);
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

// After a change the row is selected again and the list takes the focus.
void ControlFontEditor::ShowRow(DialogControls& controls, int row) {
  FillList(controls);
  controls.ListViewSelect(kList, row);
  controls.Focus(kList);
}

void ControlFontEditor::ShowError(DialogControls& controls, std::string_view text, MessageIcon icon) {
  texts_.ResolveCurrentLanguage();
  controls.ShowMessage(text, texts_.Read("MessageBox", "MB_ERROR", "Error", kRoomHelp), icon,
                       MessageButtons::kOk);
}

void ControlFontEditor::EditRow(DialogControls& controls, int row) {
  const std::vector<uint8_t> bytes = ParseCommandText(table_[static_cast<size_t>(row)]);
  if (bytes.size() > kMaxCommandBytes) return ShowError(controls, "Command length error", MessageIcon::kNone);
  ControlFontTranslator translator(texts_, kControlFontFirstCode + row,
                                   FormatCommandText(bytes.data(), bytes.size()));
  if (controls.RunModal(kControlFontTranslatorTemplate, translator) != platform::ui::kIdOk) return;
  table_[static_cast<size_t>(row)] = translator.Command();
  ShowRow(controls, row);
}

bool ControlFontEditor::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked) return false;
  const int row = controls.ListViewSelection(kList);
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
        ShowError(controls, "Please check if user has administrator privileges!", MessageIcon::kError);
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
