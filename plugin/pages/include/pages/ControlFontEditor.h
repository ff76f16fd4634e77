// The control font's translation table editor (template 115), opened from the Utility page: one list row per
// character 0x20..0x7F with its command, Edit (through the one-character dialog, template 116) and Delete,
// and OK writing the file anew.
#pragma once

#include <string>

#include "MQ450UIResources.h"
#include "pages/ControlFontTable.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kControlFontTableTemplate = IDD_CONTROL_FONT_TABLE;
inline constexpr int kControlFontTranslatorTemplate = IDD_CONTROL_FONT_TRANSLATOR;

namespace control_font {
inline constexpr int kDriverLabel = IDC_CONTROL_FONT_DRIVER_LABEL;
inline constexpr int kDriver = IDC_CONTROL_FONT_DRIVER;
inline constexpr int kList = IDC_CONTROL_FONT_LIST;
inline constexpr int kEdit = IDC_CONTROL_FONT_EDIT;
inline constexpr int kDelete = IDC_CONTROL_FONT_DELETE;
inline constexpr int kCharLabel = IDC_TRANSLATOR_CHAR_LABEL;
inline constexpr int kChar = IDC_TRANSLATOR_CHAR;
inline constexpr int kHexLabel = IDC_TRANSLATOR_HEX_LABEL;
inline constexpr int kHex = IDC_TRANSLATOR_HEX;
inline constexpr int kCommandLabel = IDC_TRANSLATOR_COMMAND_LABEL;
inline constexpr int kCommand = IDC_TRANSLATOR_COMMAND;
}  // namespace control_font

// The one-character dialog: read-only Char and Hex, and the command typed as byte text.
class ControlFontTranslator : public platform::ui::DialogLogic {
 public:
  ControlFontTranslator(PageTexts& texts, int code, std::string commandText)
      : texts_(texts), code_(code), command_(std::move(commandText)) {}

  void OnInit(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  std::vector<int> FilteredEdits() const override { return {control_font::kCommand}; }
  bool AcceptChar(int id, char16_t ch, bool controlHeld) override;

  // The command as byte text after OK.
  const std::string& Command() const { return command_; }

 private:
  PageTexts& texts_;
  int code_;
  std::string command_;
};

class ControlFontEditor : public platform::ui::DialogLogic {
 public:
  ControlFontEditor(PageTexts& texts, platform::Profile& profile, platform::FileSystem& files,
                    std::string path)
      : texts_(texts), profile_(profile), files_(files), path_(std::move(path)) {}

  void OnInit(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;

  const ControlFontTable& Table() const { return table_; }

 private:
  void FillList(platform::ui::DialogControls& controls);
  void EditRow(platform::ui::DialogControls& controls, int row);
  void ShowRow(platform::ui::DialogControls& controls, int row);
  // A message box with the MessageBox section's text and the error caption.
  void ShowError(platform::ui::DialogControls& controls, const TextKey& text, platform::ui::MessageIcon icon);

  PageTexts& texts_;
  platform::Profile& profile_;
  platform::FileSystem& files_;
  std::string path_;
  ControlFontTable table_;
};

}  // namespace mq::plugin
