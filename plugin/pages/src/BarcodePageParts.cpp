// The barcode pages' shared control handling and test print.
#include "pages/BarcodePageParts.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/Text.h"

namespace mq::plugin {

using platform::ui::DialogControls;

namespace {

// The data field gives the printer at most this many characters.
constexpr size_t kDataCharacters = 399;

}  // namespace

void PrepareSpinEdit(DialogControls& controls, const SpinEdit& spin) {
  controls.SetTextLimit(spin.edit, spin.characters);
  controls.SetRange(spin.upDown, spin.minimum, spin.maximum);
}

void ShowSpinValue(DialogControls& controls, const SpinEdit& spin, int value) {
  controls.SetPosition(spin.upDown, value);
  const std::string text = std::to_string(value);
  if (controls.GetText(spin.edit) != text) controls.SetText(spin.edit, text);
}

int ReadSpinEdit(DialogControls& controls, const SpinEdit& spin) {
  const std::string text = controls.GetText(spin.edit);
  errno = 0;
  const long typed = std::strtol(text.c_str(), nullptr, 10);
  int value = 0;
  if (typed < 0)
    value = spin.negativeIsTooLarge ? spin.maximum : spin.minimum;
  else if (errno == ERANGE || typed > spin.maximum)
    value = spin.maximum;
  else
    value = std::max(static_cast<int>(typed), spin.minimum);
  ShowSpinValue(controls, spin, value);
  return value;
}

void MoveControls(DialogControls& controls, std::span<const ControlPlace> places) {
  for (const ControlPlace& place : places) controls.Move(place.id, place.x, place.y);
}

void ShowControls(DialogControls& controls, std::span<const int> ids, bool visible) {
  for (int id : ids) controls.Show(id, visible);
}

void EnableControls(DialogControls& controls, std::span<const int> ids, bool enabled) {
  for (int id : ids) controls.Enable(id, enabled);
}

void FillList(DialogControls& controls, int id, const std::vector<std::string>& texts) {
  bool same = controls.ItemCount(id) == static_cast<int>(texts.size());
  for (size_t i = 0; same && i < texts.size(); ++i)
    same = controls.ItemText(id, static_cast<int>(i)) == texts[i];
  if (same) return;
  const int selected = controls.Selection(id);
  controls.ClearItems(id);
  for (const std::string& t : texts) controls.AddItem(id, t);
  controls.SetSelection(id, selected);
}

void DataFieldChanged(DialogControls& controls, int dataField, int printButton) {
  controls.Enable(printButton, !controls.GetText(dataField).empty());
}

intptr_t ReportApplied(DialogControls& controls) {
  controls.SheetSetResult(1);  // CPSUI_OK
  controls.SheetUnchanged();
  return 1;
}

std::vector<std::string> ReadTexts(PageTexts& texts, std::string_view section, std::span<const TextKey> keys,
                                   size_t room) {
  std::vector<std::string> out;
  for (const TextKey& k : keys) out.push_back(texts.Read(section, k.key, k.fallback, room));
  return out;
}

std::vector<uint8_t> TestPrintData(DialogControls& controls, int dataField, platform::SystemInfo& system) {
  const std::string ansi =
      system.ToAnsiCodePage(text::TruncateUtf16(controls.GetText(dataField), kDataCharacters));
  return std::vector<uint8_t>(ansi.begin(), ansi.end());
}

void SendOrRefuse(DialogControls& controls, PageTexts& texts, const BarcodePageServices& services,
                  const TestPrint& print, const TextKey& dataError) {
  if (print.Ready()) {
    // A spooler failure ends the job without a word, as every raw job of the pages does.
    SendTestPrint(services.spooler, services.printer, print);
    return;
  }
  texts.ResolveCurrentLanguage();
  controls.ShowMessage(texts.Read("MessageBox", dataError.key, dataError.fallback, kRoomHelp),
                       texts.Read("MessageBox", "MB_ERROR", "Error", kRoomHelp),
                       platform::ui::MessageIcon::kError, platform::ui::MessageButtons::kOk);
}

}  // namespace mq::plugin
