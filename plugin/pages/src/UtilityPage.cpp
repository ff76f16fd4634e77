// The Utility page's logic.
#include "pages/UtilityPage.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Text.h"
#include "platform/WinError.h"
#include "printer/RawJob.h"

namespace mq::plugin {

using platform::FormInfo1;
using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using platform::ui::SheetEvent;
using namespace utility_page;

namespace {

constexpr const char* kSection = "UTILITY";
constexpr int32_t kThousandthsPerTenth = 100;
// How often the enumeration is asked again when the forms grew between the size probe and the call.
constexpr int kEnumerationTries = 4;

struct PageText {
  int id;
  TextKey text;
  size_t room;
};

constexpr PageText kTexts[] = {
    {kSelfTest, {"RC_SELFTEST", "SelfTest"}, kRoomShort},
    {kSelfTestLabel, {"RC_STATIC_SELFTEST", "Print a self-test page"}, kRoomLabel},
    {kCheckCommLabel, {"RC_STATIC_CHECKCOMM", "Check that communication settings is correct first"}, 100},
    {kFormsGroup, {"RC_STATIC_CUSTOMSIZE", "User Defined Paper Size"}, kRoomLabel},
    {kDelete, {"RC_BUTTON_DELETE", "Delete Paper Size"}, kRoomShort},
    {kNameLabel, {"RC_STATIC_FORMNAME", "Form Name:"}, kRoomShort},
    {kSave, {"RC_BUTTON_SAVE", "Save Paper Size"}, kRoomLabel},
    {kWidthLabel, {"RC_STATIC_FORMWIDTH", "Width:"}, kRoomLabel},
    {kHeightLabel, {"RC_STATIC_FORMHEIGHT", "Height:"}, kRoomShort},
    {kControlFont, {"RC_BUTTON_CONTROLFONT", "Control Font"}, kRoomShort},
    {kControlFontLabel, {"RC_STATIC_CONTROLFONT", "Control Font Setting"}, kRoomLabel},
    {kControlFontInfo, {"RC_STATIC_CONTROLFONT_INFO", "Edit control font character translation table"}, 100},
};

constexpr PageText kHelp[] = {
    {kSelfTest, {"CTEXT_SELFTEST", "Print Self-test page."}, kRoomHelp},
    {kFormList,
     {"CTEXT_LIST_PAPERSIZE",
      "List shows the user defined paper size. You can select one paper size from the list and edit its "
      "name, "
      "width and height, and you can also define a new paper size."},
     kRoomHelp},
    {kDelete, {"CTEXT_BUTTON_DELETE", "Delete the selected user defined paper size in the list."}, kRoomHelp},
    {kSave,
     {"CTEXT_BUTTON_SAVE",
      "Save user defined paper size. The user defined paper size will be saved if this button is clicked. If "
      "the paper size you edited is already in the list, then the width and height of the paper size will be "
      "rewritten."},
     kRoomHelp},
    {kName,
     {"CTEXT_EDIT_FORMNAME",
      "Specify the name of paper size you want to save. The maximum length of the name is 18 characters."},
     kRoomHelp},
    {kWidth, {"CTEXT_EDIT_WIDTH", "Specify the paper width."}, kRoomHelp},
    {kHeight, {"CTEXT_EDIT_HEIGHT", "Specify the paper height."}, kRoomHelp},
};

FormInfo1 WholeSheetForm(std::string name, int32_t width, int32_t height) {
  return {platform::kFormUser, std::move(name), width, height, 0, 0, width, height};
}

const FormInfo1* FindForm(const std::vector<FormInfo1>& forms, std::string_view name) {
  for (const FormInfo1& f : forms)
    if (text::EqualsNoCase(f.name, name)) return &f;
  return nullptr;
}

}  // namespace

bool EnumerateForms(platform::Spooler& spooler, platform::PrinterHandle printer,
                    std::vector<FormInfo1>* forms) {
  uint32_t needed = 0;
  uint32_t error = spooler.EnumForms(printer, 0, &needed, forms);
  for (int i = 0; i < kEnumerationTries && error == err::kInsufficientBuffer; ++i)
    error = spooler.EnumForms(printer, needed, &needed, forms);
  return error == 0;
}

void UtilityPage::SetTexts(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  for (const PageText& t : kTexts)
    controls.SetText(t.id, texts_.Read(kSection, t.text.key, t.text.fallback, t.room));
}

void UtilityPage::OnInit(DialogControls& controls) {
  SetTexts(controls);
  for (const PageText& t : kHelp)
    controls.SetToolTip(t.id, texts_.Read(kSection, t.text.key, t.text.fallback, t.room));
  // The control-font table is offered: its button and labels are shown.
  for (int id : {kControlFont, kControlFontLabel, kControlFontInfo}) controls.Show(id, true);

  std::vector<FormInfo1> forms;
  EnumerateForms(services_.spooler, services_.printer, &forms);
  const bool hasBase =
      std::any_of(forms.begin(), forms.end(), [](const FormInfo1& f) { return f.name == kBaseFormName; });
  if (!hasBase && services_.spooler.AddForm(
                      services_.printer,
                      WholeSheetForm(std::string(kBaseFormName), kBaseFormWidth, kBaseFormHeight)) != 0) {
    controls.Enable(kDelete, false);
    return;
  }

  controls.SetTextLimit(kName, kFormNameChars);
  controls.SetTextLimit(kWidth, 3);
  controls.SetTextLimit(kHeight, 5);
  controls.SetRange(kWidthUpDown, kFormWidthMin, kFormWidthMax);
  controls.SetRange(kHeightUpDown, kFormHeightMin, kFormHeightMax);
  controls.SetText(kWidthRange, "[ 410 - 720 (0.1mm) ]");
  controls.SetText(kHeightRange, "[ 254 - 32760 (0.1mm) ]");

  forms.clear();
  EnumerateForms(services_.spooler, services_.printer, &forms);
  listed_.clear();
  if (const FormInfo1* base = FindForm(forms, kBaseFormName))
    listed_.push_back(*base);
  else
    listed_.push_back(WholeSheetForm(std::string(kBaseFormName), kBaseFormWidth, kBaseFormHeight));
  for (const FormInfo1& f : forms)
    if (f.name != listed_[0].name && f.name.find(kUserFormPrefix) != std::string::npos) listed_.push_back(f);
  controls.ClearItems(kFormList);
  for (const FormInfo1& f : listed_) controls.AddItem(kFormList, f.name);
  ShowEntry(controls, 0);
}

// Selects an entry and shows its name (without the prefix), size and whether it may be deleted.
void UtilityPage::ShowEntry(DialogControls& controls, int index) {
  if (index < 0 || index >= static_cast<int>(listed_.size())) {
    controls.SetSelection(kFormList, -1);
    controls.Enable(kDelete, false);
    return;
  }
  const FormInfo1& f = listed_[static_cast<size_t>(index)];
  controls.SetSelection(kFormList, index);
  controls.SetText(kName,
                   f.name.size() > kUserFormPrefix.size() ? f.name.substr(kUserFormPrefix.size()) : "");
  controls.Enable(kDelete, f.name != kBaseFormName);
  controls.SetPosition(kWidthUpDown, f.width / kThousandthsPerTenth);
  controls.SetText(kWidth, std::to_string(f.width / kThousandthsPerTenth));
  controls.SetPosition(kHeightUpDown, f.height / kThousandthsPerTenth);
  controls.SetText(kHeight, std::to_string(f.height / kThousandthsPerTenth));
}

int UtilityPage::ReadClamped(DialogControls& controls, int id, int minimum, int maximum) {
  const long typed = std::strtol(controls.GetText(id).c_str(), nullptr, 10);
  const int value = static_cast<int>(std::clamp<long>(typed, minimum, maximum));
  if (value != typed || controls.GetText(id) != std::to_string(value))
    controls.SetText(id, std::to_string(value));
  return value;
}

void UtilityPage::ShowFailure(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  controls.ShowMessage(
      texts_.Read("MessageBox", "MB_UTILITY_ERROR1", "Set custom paper size failed!", kRoomHelp),
      texts_.Read("MessageBox", "MB_ERROR", "Error", kRoomHelp), MessageIcon::kError, MessageButtons::kOk);
}

void UtilityPage::Save(DialogControls& controls) {
  const int width = ReadClamped(controls, kWidth, kFormWidthMin, kFormWidthMax);
  const int height = ReadClamped(controls, kHeight, kFormHeightMin, kFormHeightMax);
  const FormInfo1 form = WholeSheetForm(std::string(kUserFormPrefix) + controls.GetText(kName),
                                        width * kThousandthsPerTenth, height * kThousandthsPerTenth);
  std::vector<FormInfo1> forms;
  EnumerateForms(services_.spooler, services_.printer, &forms);
  if (const FormInfo1* existing = FindForm(forms, form.name)) {
    if (services_.spooler.SetForm(services_.printer, existing->name, form) != 0) return ShowFailure(controls);
    for (FormInfo1& f : listed_)
      if (text::EqualsNoCase(f.name, form.name)) f = WholeSheetForm(f.name, form.width, form.height);
    return;
  }
  if (services_.spooler.AddForm(services_.printer, form) != 0) return ShowFailure(controls);
  listed_.push_back(form);
  controls.AddItem(kFormList, form.name);
  controls.SetSelection(kFormList, static_cast<int>(listed_.size()) - 1);
  controls.Enable(kDelete, true);
}

void UtilityPage::Delete(DialogControls& controls) {
  const int index = controls.Selection(kFormList);
  if (index < 0 || index >= static_cast<int>(listed_.size()) ||
      listed_[static_cast<size_t>(index)].name == kBaseFormName)
    return;
  // A deletion the spooler refuses leaves the form in place, so it stays listed and the user is told.
  if (services_.spooler.DeleteForm(services_.printer, listed_[static_cast<size_t>(index)].name) != 0)
    return ShowFailure(controls);
  listed_.erase(listed_.begin() + index);
  controls.ClearItems(kFormList);
  for (const FormInfo1& f : listed_) controls.AddItem(kFormList, f.name);
  ShowEntry(controls, std::min(index, static_cast<int>(listed_.size()) - 1));
}

void UtilityPage::SelfTest() {
  const std::vector<std::vector<uint8_t>> blocks = {Block(kBracketOpen), Block(kSelfTestCommand),
                                                    Block(kBracketClose)};
  SendRawJob(services_.spooler, services_.printer, job_name::kSelfTest, blocks);
}

bool UtilityPage::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (id == kFormList && event == ControlEvent::kSelectionChanged) {
    ShowEntry(controls, controls.Selection(kFormList));
    return true;
  }
  if (event != ControlEvent::kClicked) return false;
  switch (id) {
    case kSelfTest:
      SelfTest();
      return true;
    case kSave:
      Save(controls);
      return true;
    case kDelete:
      Delete(controls);
      return true;
    case kControlFont:
      if (services_.openControlFont) services_.openControlFont(controls);
      return true;
    default:
      return false;
  }
}

intptr_t UtilityPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  if (event != SheetEvent::kApply) return 0;
  controls.SheetSetResult(1);  // CPSUI_OK: the form changes are already in effect
  return 1;
}

}  // namespace mq::plugin
