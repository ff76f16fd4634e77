// The modal operation editor (dialog template 104): shows one slot's actions, applies the enabling rules
// while the user works, and on OK writes the choices back into the working copy it was given. Cancel leaves
// the working copy as it was.
#pragma once

#include "pages/OperationSlotData.h"
#include "MQ450UIResources.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kOperationEditorTemplate = IDD_OPERATION_EDITOR;

// Control ids of the editor.
namespace editor {
inline constexpr int kSendCommand = IDC_EDITOR_SEND_COMMAND;
inline constexpr int kCommand = IDC_EDITOR_COMMAND;
inline constexpr int kDrawerList = IDC_EDITOR_DRAWER_LIST;
inline constexpr int kCutLabel = IDC_EDITOR_CUT_LABEL;
inline constexpr int kCutList = IDC_EDITOR_CUT_LIST;
inline constexpr int kFeedEdit = IDC_EDITOR_FEED_EDIT;
inline constexpr int kFeedUpDown = IDC_EDITOR_FEED_UPDOWN;
inline constexpr int kFeedToCut = IDC_EDITOR_FEED_TO_CUT;
inline constexpr int kVolumeEdit = IDC_EDITOR_VOLUME_EDIT;
inline constexpr int kOpenDrawer = IDC_EDITOR_OPEN_DRAWER;
inline constexpr int kHerald = IDC_EDITOR_HERALD;
inline constexpr int kBuzzerList = IDC_EDITOR_BUZZER_LIST;
inline constexpr int kLogoList = IDC_EDITOR_LOGO_LIST;
inline constexpr int kLeft = IDC_EDITOR_LEFT;
inline constexpr int kCentered = IDC_EDITOR_CENTERED;
inline constexpr int kRight = IDC_EDITOR_RIGHT;
inline constexpr int kHeraldList = IDC_EDITOR_HERALD_LIST;
inline constexpr int kBeforeCut = IDC_EDITOR_BEFORE_CUT;
inline constexpr int kAfterCut = IDC_EDITOR_AFTER_CUT;
inline constexpr int kVolumeUpDown = IDC_EDITOR_VOLUME_UPDOWN;
inline constexpr int kVolumeLabel = IDC_EDITOR_VOLUME_LABEL;
inline constexpr int kBuzzerLabel = IDC_EDITOR_BUZZER_LABEL;
inline constexpr int kFeedLabel = IDC_EDITOR_FEED_LABEL;
inline constexpr int kLogoLabel = IDC_EDITOR_LOGO_LABEL;
inline constexpr int kAlignLabel = IDC_EDITOR_ALIGN_LABEL;
inline constexpr int kPositionLabel = IDC_EDITOR_POSITION_LABEL;
inline constexpr int kPreview = IDC_EDITOR_PREVIEW;
inline constexpr int kDefault = IDC_EDITOR_DEFAULT;
}  // namespace editor

class OperationEditor : public platform::ui::DialogLogic {
 public:
  // slot is the working copy: read at start, written only when the editor ends with OK.
  OperationEditor(OperationMoment moment, OperationSlotData& slot, PageTexts& texts)
      : moment_(moment), slot_(slot), texts_(texts) {}

  void OnInit(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  std::vector<int> FilteredEdits() const override { return {editor::kCommand}; }
  bool AcceptChar(int id, char16_t ch, bool controlHeld) override;

 private:
  void SetTexts(platform::ui::DialogControls& controls);
  void ShowSlot(platform::ui::DialogControls& controls);
  void ShowDefaults(platform::ui::DialogControls& controls);
  void UpdatePreview(platform::ui::DialogControls& controls);
  void EnableDrawerOrHerald(platform::ui::DialogControls& controls, bool herald);
  void EnableVolume(platform::ui::DialogControls& controls, bool enabled);
  void EnableLogoPlacement(platform::ui::DialogControls& controls, bool enabled);
  // Reads the controls into the working copy; false (nothing written) when the command is too long.
  bool Store(platform::ui::DialogControls& controls);

  OperationMoment moment_;
  OperationSlotData& slot_;
  PageTexts& texts_;
};

}  // namespace mq::plugin
