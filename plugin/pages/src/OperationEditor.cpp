// The operation editor: texts, lists, enabling rules, the Default button and the write-back on OK.
#include "pages/OperationEditor.h"

#include <algorithm>
#include <string>

#include "pages/OperationPreview.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
namespace ui = platform::ui;
using namespace editor;

namespace {

constexpr const char* kSection = "DOCUMENT";

constexpr TextKey kTitles[kOperationMoments] = {
    {"RC_DOCUMENT_STARTDOC", "Start Document Operation"},
    {"RC_DOCUMENT_STARTPAGE", "Start Page Operation"},
    {"RC_DOCUMENT_ENDPAGE", "End Page Operation"},
    {"RC_DOCUMENT_ENDDOC", "End Document Operation"},
};

constexpr ControlText kControlTexts[] = {
    {kSendCommand, {"RC_SEND_COMMAND", "Send Command      [Example:1D 56 42 00]"}, kRoomLabel},
    {kOpenDrawer, {"RC_OPEN_DRAWER", "Open Drawer"}, kRoomLabel},
    {kHerald, {"RC_ORDER_MESSENGER", "Herald"}, kRoomLabel},
    {kBuzzerLabel, {"RC_STATIC_OPERATION_BUZZER", "Buzzer:"}, kRoomLabel},
    {kVolumeLabel, {"RC_STATIC_BUZZER_VOLUME", "Buzzer Volume:"}, kRoomLabel},
    {kFeedLabel, {"RC_STATIC_OPERATION_FEED", "Paper Feed:"}, kRoomLabel},
    {kFeedToCut, {"RC_FEEDTOPOSITION", "Feed to cut position before cut"}, kRoomLabel},
    {kCutLabel, {"RC_PAPERCUT", "Paper Cut:"}, kRoomLabel},
    {kLogoLabel, {"RC_STATIC_OPERATION_LOGO", "Print Logo:"}, kRoomLabel},
    {kAlignLabel, {"RC_STATIC_OPERATION_ALIGN", "Align:"}, kRoomShort},
    {kLeft, {"RC_LEFT", "Left"}, kRoomShort},
    {kCentered, {"RC_CENTERED", "Centered"}, kRoomShort},
    {kRight, {"RC_RIGHT", "Right"}, kRoomShort},
    {kPositionLabel, {"RC_STATIC_OPERATION_POSITION", "Position:"}, kRoomShort},
    {kBeforeCut, {"RC_BEFORE_CUT", "Before Cut"}, kRoomShort},
    {kAfterCut, {"RC_AFTER_CUT", "After Cut"}, kRoomShort},
    {kDefault, {"RC_OPERATION_DEFAULT", "Default"}, kRoomShort},
    {ui::kIdOk, {"RC_OPERATION_OK", "OK"}, kRoomShort},
    {ui::kIdCancel, {"RC_OPERATION_CANCEL", "Cancel"}, kRoomShort},
};

constexpr TextKey kDrawerEntries[] = {
    {"RC_OPENDRAWER1", "No Cash Drawer"},
    {"RC_OPENDRAWER2", "Cash Drawer #1 Waiting 10ms"},
    {"RC_OPENDRAWER3", "Cash Drawer #1 Waiting 20ms"},
    {"RC_OPENDRAWER4", "Cash Drawer #1 Waiting 40ms"},
    {"RC_OPENDRAWER5", "Cash Drawer #1 Waiting 60ms"},
    {"RC_OPENDRAWER6", "Cash Drawer #2 Waiting 10ms"},
    {"RC_OPENDRAWER7", "Cash Drawer #2 Waiting 20ms"},
    {"RC_OPENDRAWER8", "Cash Drawer #2 Waiting 40ms"},
    {"RC_OPENDRAWER9", "Cash Drawer #2 Waiting 60ms"},
    {"RC_OPENDRAWER10", "Cash Drawer #1+#2 Waiting 10ms"},
    {"RC_OPENDRAWER11", "Cash Drawer #1+#2 Waiting 20ms"},
    {"RC_OPENDRAWER12", "Cash Drawer #1+#2 Waiting 40ms"},
    {"RC_OPENDRAWER13", "Cash Drawer #1+#2 Waiting 60ms"},
};
constexpr TextKey kHeraldEntries[] = {{"RC_ORDERMESSENGER1", "Enable"}, {"RC_ORDERMESSENGER2", "Disable"}};
constexpr TextKey kBuzzerEntries[] = {
    {"RC_OPERATION_BUZZER1", "Beep off"},   {"RC_OPERATION_BUZZER2", "Beep one"},
    {"RC_OPERATION_BUZZER3", "Beep three"}, {"RC_OPERATION_BUZZER4", "Beep five"},
    {"RC_OPERATION_BUZZER5", "Beep ten"},   {"RC_OPERATION_BUZZER6", "Beep twenty"},
};
constexpr TextKey kCutEntries[] = {
    {"RC_PAPER_CUT1", "No Cut"}, {"RC_PAPER_CUT2", "Partial Cut"}, {"RC_PAPER_CUT3", "Full Cut"}};
constexpr TextKey kLogoEntries[] = {
    {"RC_PRINT_LOGO1", "Not Print Logo"}, {"RC_PRINT_LOGO2", "Print Logo1"},
    {"RC_PRINT_LOGO3", "Print Logo2"},    {"RC_PRINT_LOGO4", "Print Logo3"},
    {"RC_PRINT_LOGO5", "Print Logo4"},    {"RC_PRINT_LOGO6", "Print Logo5"},
    {"RC_PRINT_LOGO7", "Print Logo6"},    {"RC_PRINT_LOGO8", "Print Logo7"},
    {"RC_PRINT_LOGO9", "Print Logo8"},    {"RC_PRINT_LOGO10", "Print Logo9"},
};

constexpr HelpText kHelpTexts[] = {
    {kSendCommand,
     {"CTEXT_SEND_COMMAND",
      "The command input column is enabled if this item is selected. Edit command which needs to be sent in "
      "the "
      "input column, this command will be sent at the document corresponding position."}},
    {kCommand, {"CTEXT_EDIT", "Edit the command which needs to be sent in the input column."}},
    {kOpenDrawer,
     {"CTEXT_OPEN_DRAWER",
      "Parameter of cash drawer can be set after selecting this item, and printer will control the cash "
      "drawer "
      "at document corresponding position."}},
    {kDrawerList, {"CTEXT_OPENDRAWER", "Select the cash drawer number and pulse time for opening."}},
    {kHerald,
     {"CTEXT_ORDER_MESSENGER",
      "The print messenger can be set after selecting this item. The print messenger will give the prompts "
      "you "
      "needed at the document corresponding position."}},
    {kHeraldList, {"CTEXT_ORDERMESSENGER", "Set the print messenger status (on/off)."}},
    {kBuzzerList, {"CTEXT_BUZZER", "Whether to enable the buzzer, and set the buzzer beep time."}},
    {kVolumeEdit,
     {"CTEXT_BUZZERVOLUME", "Set the volume of buzzer. This item is only enabled when the buzzer is on."}},
    {kFeedEdit,
     {"CTEXT_PAPER_FEED",
      "Set paper feed distance. Print blank for the distance needed at the document corresponding "
      "position."}},
    {kFeedToCut,
     {"CTEXT_FEEDTOPOSITION",
      "Feed paper to the cut position before cutting. After selecting this item, the print content will be "
      "sent "
      "out completely to avoid being cut off."}},
    {kCutList, {"CTEXT_PAPER_CUT", "Set the paper cut type(full cut / partial cut / no cut)."}},
    {kLogoList,
     {"CTEXT_PRINT_LOGO",
      "Set the serial number of Logo to be printed. These Logos are bitmaps stored in the Flash of printer, "
      "please confirm the needed Logo are stored in the printer before using these Logos."}},
    {kLeft, {"CTEXT_LEFT", "Select the Logo alignment mode to be left justification."}},
    {kCentered, {"CTEXT_CENTERED", "Select the Logo alignment mode to be center justification."}},
    {kRight, {"CTEXT_RIGHT", "Select the Logo alignment mode to be right justification."}},
    {kBeforeCut, {"CTEXT_BEFORE_CUT", "Select the Logo to be print before paper cut."}},
    {kAfterCut, {"CTEXT_AFTER_CUT", "Select the Logo to be print after paper cut."}},
    {kDefault, {"CTEXT_IDDEFAULT", "Recovery the optional items in this interface to be default."}},
    {ui::kIdOk, {"CTEXT_IDOK", "Confirm your settings."}},
    {ui::kIdCancel, {"CTEXT_IDCANCEL", "Cancel your settings."}},
};

constexpr int kMaxFeedMm = 100;
constexpr int kMaxVolume = 255;

// The number an edit holds: its leading digits (the edits take digits only); no digits count as 0. Large
// values saturate instead of overflowing.
int EditNumber(const std::string& text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + (c - '0'), 1000000);
  }
  return value;
}

template <size_t N>
void FillList(DialogControls& controls, PageTexts& texts, int id, const TextKey (&entries)[N]) {
  controls.ClearItems(id);
  for (const TextKey& entry : entries)
    controls.AddItem(id, texts.Read(kSection, entry.key, entry.fallback, kRoomLabel));
}

// Moves an up-down to the number typed into its edit, held to its maximum. An up-down writes its position
// back into the edit, which reports another change: the position is set only when it differs, so that this
// ends.
void FollowTyping(DialogControls& controls, int edit, int upDown, int maximum) {
  const int value = std::min(EditNumber(controls.GetText(edit)), maximum);
  if (controls.Position(upDown) != value) controls.SetPosition(upDown, value);
}

uint8_t SelectionOf(DialogControls& controls, int id) {
  return static_cast<uint8_t>(std::max(0, controls.Selection(id)));
}

}  // namespace

void OperationEditor::SetTexts(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  const TextKey& title = kTitles[static_cast<int>(moment_)];
  controls.SetTitle(texts_.Read(kSection, title.key, title.fallback, kRoomLabel));
  for (const ControlText& c : kControlTexts)
    controls.SetText(c.id, texts_.Read(kSection, c.text.key, c.text.fallback, c.room));
  FillList(controls, texts_, kDrawerList, kDrawerEntries);
  FillList(controls, texts_, kHeraldList, kHeraldEntries);
  FillList(controls, texts_, kBuzzerList, kBuzzerEntries);
  FillList(controls, texts_, kCutList, kCutEntries);
  FillList(controls, texts_, kLogoList, kLogoEntries);
  for (const HelpText& help : kHelpTexts)
    controls.SetToolTip(help.id, texts_.Read(kSection, help.text.key, help.text.fallback, kRoomHelp));
}

void OperationEditor::OnInit(DialogControls& controls) {
  SetTexts(controls);
  controls.SetTextLimit(kFeedEdit, 3);
  controls.SetTextLimit(kVolumeEdit, 3);
  controls.SetRange(kFeedUpDown, 0, kMaxFeedMm);
  controls.SetRange(kVolumeUpDown, 0, kMaxVolume);
  ShowSlot(controls);
}

void OperationEditor::ShowSlot(DialogControls& controls) {
  const size_t length = std::min<size_t>(slot_.commandLength, kMaxCommandBytes);
  controls.SetText(kCommand, FormatCommandText(slot_.command.data(), length));
  controls.SetChecked(kSendCommand, slot_.sendCommand == 1);
  controls.Enable(kCommand, slot_.sendCommand == 1);

  controls.SetChecked(kFeedToCut, slot_.feedToCut == 1);
  controls.SetSelection(kDrawerList, slot_.drawerPulse);
  controls.SetSelection(kHeraldList, slot_.heraldState);
  controls.SetSelection(kCutList, slot_.cutType);
  controls.SetSelection(kBuzzerList, slot_.buzzerBeeps);
  controls.SetSelection(kLogoList, slot_.logoNumber);
  controls.SetPosition(kFeedUpDown, slot_.feedMm);
  controls.SetText(kFeedEdit, std::to_string(std::min<int>(slot_.feedMm, kMaxFeedMm)));
  controls.SetPosition(kVolumeUpDown, slot_.buzzerVolume);
  controls.SetText(kVolumeEdit, std::to_string(slot_.buzzerVolume));

  const bool herald = slot_.drawerOrHerald != 0;
  controls.SetChecked(kOpenDrawer, !herald);
  controls.SetChecked(kHerald, herald);
  EnableDrawerOrHerald(controls, herald);
  EnableVolume(controls, slot_.buzzerBeeps != 0);

  controls.SetChecked(kLeft, slot_.logoAlign == 0);
  controls.SetChecked(kCentered, slot_.logoAlign == 1);
  controls.SetChecked(kRight, slot_.logoAlign == 2);
  controls.SetChecked(kBeforeCut, slot_.logoPosition == 0);
  controls.SetChecked(kAfterCut, slot_.logoPosition != 0);
  EnableLogoPlacement(controls, slot_.logoNumber != 0);
  UpdatePreview(controls);
}

void OperationEditor::ShowDefaults(DialogControls& controls) {
  controls.SetChecked(kSendCommand, false);
  controls.SetText(kCommand, "");
  controls.Enable(kCommand, false);
  controls.SetChecked(kFeedToCut, false);
  for (int list : {kDrawerList, kHeraldList, kCutList, kBuzzerList, kLogoList})
    controls.SetSelection(list, 0);
  controls.SetChecked(kOpenDrawer, true);
  controls.SetChecked(kHerald, false);
  EnableDrawerOrHerald(controls, false);
  controls.SetPosition(kFeedUpDown, 0);
  controls.SetText(kFeedEdit, "0");
  controls.SetPosition(kVolumeUpDown, 0);
  controls.SetText(kVolumeEdit, "0");
  EnableVolume(controls, false);
  EnableLogoPlacement(controls, false);
  controls.SetChecked(kLeft, true);
  controls.SetChecked(kCentered, false);
  controls.SetChecked(kRight, false);
  controls.SetChecked(kBeforeCut, true);
  controls.SetChecked(kAfterCut, false);
  if (moment_ == OperationMoment::kEndDoc) {
    // The record's defaults for the end of the document: feed to the cutter and a partial cut.
    controls.SetChecked(kFeedToCut, true);
    controls.SetSelection(kCutList, 1);
  }
  UpdatePreview(controls);
}

void OperationEditor::EnableDrawerOrHerald(DialogControls& controls, bool herald) {
  controls.Enable(kDrawerList, !herald);
  controls.Enable(kHeraldList, herald);
}

void OperationEditor::EnableVolume(DialogControls& controls, bool enabled) {
  controls.Enable(kVolumeEdit, enabled);
  controls.Enable(kVolumeUpDown, enabled);
}

void OperationEditor::EnableLogoPlacement(DialogControls& controls, bool enabled) {
  for (int radio : {kLeft, kCentered, kRight, kBeforeCut, kAfterCut}) controls.Enable(radio, enabled);
}

void OperationEditor::UpdatePreview(DialogControls& controls) {
  const bool cut = controls.Selection(kCutList) > 0;
  controls.SetPicture(kPreview,
                      DrawPreviewPicture(PreviewPictureId(moment_, cut, controls.IsChecked(kFeedToCut))));
}

bool OperationEditor::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  switch (id) {
    case kSendCommand:
      if (event != ControlEvent::kClicked) return false;
      controls.Enable(kCommand, controls.IsChecked(kSendCommand));
      return true;
    case kOpenDrawer:
    case kHerald:
      if (event != ControlEvent::kClicked) return false;
      EnableDrawerOrHerald(controls, id == kHerald);
      return true;
    case kBuzzerList:
      if (event != ControlEvent::kSelectionChanged) return false;
      EnableVolume(controls, controls.Selection(kBuzzerList) != 0);
      return true;
    case kLogoList:
      if (event != ControlEvent::kSelectionChanged) return false;
      EnableLogoPlacement(controls, controls.Selection(kLogoList) != 0);
      return true;
    case kFeedEdit:
      if (event != ControlEvent::kTextChanged) return false;
      FollowTyping(controls, kFeedEdit, kFeedUpDown, kMaxFeedMm);
      return true;
    case kVolumeEdit:
      if (event != ControlEvent::kTextChanged) return false;
      FollowTyping(controls, kVolumeEdit, kVolumeUpDown, kMaxVolume);
      return true;
    case kFeedToCut:
    case kCutList:
      UpdatePreview(controls);
      return true;
    case kDefault:
      ShowDefaults(controls);
      return true;
    case ui::kIdOk:
      if (Store(controls)) controls.EndDialog(ui::kIdOk);
      return true;
    case ui::kIdCancel:
      controls.EndDialog(ui::kIdCancel);
      return true;
    default:
      return false;
  }
}

bool OperationEditor::AcceptChar(int id, char16_t ch, bool controlHeld) {
  return id != kCommand || IsCommandTextChar(ch, controlHeld);
}

bool OperationEditor::Store(DialogControls& controls) {
  const std::vector<uint8_t> command = ParseCommandText(controls.GetText(kCommand));
  if (command.size() > kMaxCommandBytes) {
    texts_.ResolveCurrentLanguage();
    controls.ShowMessage(texts_.Read("MessageBox", "MB_OPERATION_ERROR1", "Command length error!", kRoomHelp),
                         texts_.Read("MessageBox", "MB_ERROR", "Error", kRoomHelp), MessageIcon::kNone,
                         MessageButtons::kOk);
    return false;
  }
  OperationSlotData out = slot_;
  out.commandLength = static_cast<uint8_t>(command.size());
  out.command.fill(0);
  std::copy(command.begin(), command.end(), out.command.begin());
  out.sendCommand = controls.IsChecked(kSendCommand) ? 1 : 0;
  out.feedToCut = controls.IsChecked(kFeedToCut) ? 1 : 0;
  out.drawerPulse = SelectionOf(controls, kDrawerList);
  out.cutType = SelectionOf(controls, kCutList);
  out.feedMm = static_cast<uint8_t>(std::min(EditNumber(controls.GetText(kFeedEdit)), kMaxFeedMm));
  out.buzzerVolume = static_cast<uint8_t>(std::min(EditNumber(controls.GetText(kVolumeEdit)), kMaxVolume));
  out.drawerOrHerald = controls.IsChecked(kOpenDrawer) ? 0 : 1;
  out.heraldState = SelectionOf(controls, kHeraldList);
  out.buzzerBeeps = SelectionOf(controls, kBuzzerList);
  out.logoNumber = SelectionOf(controls, kLogoList);
  out.logoAlign = controls.IsChecked(kLeft) ? 0 : (controls.IsChecked(kCentered) ? 1 : 2);
  out.logoPosition = controls.IsChecked(kBeforeCut) ? 0 : 1;
  slot_ = out;
  return true;
}

}  // namespace mq::plugin
