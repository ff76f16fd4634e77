// The modal operation editor (dialog template 104): shows one slot's actions, applies the enabling rules
// while the user works, and on OK writes the choices back into the working copy it was given. Cancel leaves
// the working copy as it was.
#pragma once

#include "pages/OperationSlotData.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kOperationEditorTemplate = 104;

// Control ids of the editor.
namespace editor {
inline constexpr int kSendCommand = 1015;
inline constexpr int kCommand = 1016;
inline constexpr int kDrawerList = 1017;
inline constexpr int kCutLabel = 1019;
inline constexpr int kCutList = 1020;
inline constexpr int kFeedEdit = 1021;
inline constexpr int kFeedUpDown = 1022;
inline constexpr int kFeedToCut = 1023;
inline constexpr int kVolumeEdit = 1024;
inline constexpr int kOpenDrawer = 1025;
inline constexpr int kHerald = 1026;
inline constexpr int kBuzzerList = 1027;
inline constexpr int kLogoList = 1028;
inline constexpr int kLeft = 1029;
inline constexpr int kCentered = 1030;
inline constexpr int kRight = 1031;
inline constexpr int kHeraldList = 1032;
inline constexpr int kBeforeCut = 1033;
inline constexpr int kAfterCut = 1034;
inline constexpr int kVolumeUpDown = 1035;
inline constexpr int kVolumeLabel = 1103;
inline constexpr int kBuzzerLabel = 1121;
inline constexpr int kFeedLabel = 1122;
inline constexpr int kLogoLabel = 1123;
inline constexpr int kAlignLabel = 1124;
inline constexpr int kPositionLabel = 1125;
inline constexpr int kPreview = 1207;
inline constexpr int kDefault = 3;
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
