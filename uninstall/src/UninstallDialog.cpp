// The uninstaller's main, restart and About dialogs.
#include "uninstall/UninstallDialog.h"

#include <memory>

#include "UninstallResources.h"
#include "common/LanguageTexts.h"
#include "uninstall/StartChecks.h"

namespace mq::uninstall {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::kIdCancel;
using platform::ui::kIdOk;

namespace {

// LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT.
constexpr uint32_t kComponentListStyles = 0x2D;
// A system command's low four bits are the system's own.
constexpr int kSystemCommandMask = 0xFFF0;

}  // namespace

platform::ui::DialogFont ChineseDialogFont() {
  platform::ui::DialogFont font;
  font.height = 13;
  font.width = 0;
  font.weight = 400;
  font.charset = 134;       // GB2312_CHARSET
  font.pitchFamily = 0x20;  // FF_MODERN
  font.face = "宋体";
  return font;
}

void LanguageTextDialog::OnInit(DialogControls& controls) {
  if (common::UsesChineseFont(langId_)) controls.SetDialogFont(ChineseDialogFont());
  for (const Text& text : controls_) controls.SetText(text.id, texts_.Text(section_, text.key));
  controls.SetTitle(texts_.Text(section_, "Title"));
}

bool LanguageTextDialog::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked || (id != kIdOk && id != kIdCancel)) return false;
  controls.EndDialog(id);
  return true;
}

LanguageTextDialog RestartDialog(const UninstallTexts& texts, uint16_t langId) {
  return LanguageTextDialog(texts, langId, "Reboot",
                            {{IDC_RESTART_NOTE1, "Note1"},
                             {IDC_RESTART_NOTE2, "Note2"},
                             {IDC_RESTART_NOTE3, "Note3"},
                             {kIdOk, "Yes"},
                             {kIdCancel, "No"}});
}

LanguageTextDialog AboutDialog(const UninstallTexts& texts, uint16_t langId) {
  return LanguageTextDialog(
      texts, langId, "About",
      {{IDC_ABOUT_VERSION, "Version"}, {IDC_ABOUT_COPYRIGHT, "Copyright"}, {kIdOk, "OK"}});
}

UninstallDialog::UninstallDialog(DialogServices services, WorkerStarter& worker, StartFacts facts)
    : s_(services),
      worker_(worker),
      facts_(std::move(facts)),
      texts_(services.removal.profile, facts_.programFolder, facts_.langId) {}

void UninstallDialog::OnInit(DialogControls& controls) {
  controls_ = &controls;
  if (!Initialise()) controls.EndDialog(kIdCancel);
}

void UninstallDialog::ShowMessage(std::string_view text) {
  controls_->ShowMessage(text, texts_.Text("Uninstall", "Title"), platform::ui::MessageIcon::kNone,
                         platform::ui::MessageButtons::kOk);
}

RemovalSettings UninstallDialog::Settings() const {
  RemovalSettings settings;
  settings.os = os_;
  settings.is64BitWindows = is64BitWindows_;
  settings.programFolder = facts_.programFolder;
  settings.hasDeletePrinterDriverEx = facts_.hasDeletePrinterDriverEx;
  return settings;
}

bool UninstallDialog::Initialise() {
  DialogControls& c = *controls_;
  platform::SystemInfo& system = s_.removal.system;
  if (common::UsesChineseFont(facts_.langId)) c.SetDialogFont(ChineseDialogFont());
  c.AddSystemMenuItem(IDM_UNINSTALL_ABOUT, texts_.Message("IDS_ABOUTBOX"));
  c.SetIcon(IDI_UNINSTALL);
  is64BitWindows_ = common::Is64BitWindows(system);
  c.ListViewAddExtendedStyles(IDC_UNINSTALL_COMPONENTS, kComponentListStyles);
  os_ = UninstallOsGeneration(system.Version(), system.NativeProcessorArchitecture());

  if (facts_.programFolder.empty()) {
    ShowMessage(texts_.Message("IDS_ERR_GETSYSDIR"));
    return false;
  }
  ConfigLocation location = LocateUninstallIni(s_.removal.files, facts_.programFolder);
  if (location.outcome != ConfigLocation::Outcome::kFound) {
    ShowMessage(texts_.Message(
        location.outcome == ConfigLocation::Outcome::kFolderInvalid ? "IDS_ERR_INVALID" : "IDS_ERR_NOINI"));
    return false;
  }
  config_.emplace(s_.removal.profile, location.path);
  for (const std::string& name : BuildComponentList(s_.removal.spooler, *config_, Settings()))
    c.ListViewAddRow(IDC_UNINSTALL_COMPONENTS, {name});
  if (c.ListViewRowCount(IDC_UNINSTALL_COMPONENTS) == 0) c.Enable(IDC_UNINSTALL_SELECT, false);

  Log(texts_.Message("IDS_SELECTPRN1"));
  c.SetText(IDC_UNINSTALL_NOTE, texts_.Text("Uninstall", "Note"));
  c.SetText(IDC_UNINSTALL_START, texts_.Text("Uninstall", "Uninstall"));
  c.SetText(IDC_UNINSTALL_SELECT, texts_.Text("Uninstall", "Select"));
  c.SetText(kIdCancel, texts_.Text("Uninstall", "Exit"));
  c.SetText(IDC_UNINSTALL_USB_DRIVER, texts_.Text("Uninstall", "USBuninstall"));
  c.SetTitle(texts_.Text("Uninstall", "Title"));

  // The dialog stays open without the spooler's library; only the USB-driver box is left as it is.
  if (!facts_.winspoolLoaded) {
    ShowMessage("no Winspool lib  ");
    return true;
  }
  UsbDriverServices usb{system, s_.removal.files, s_.removal.redirection, s_.usb};
  usbBoxAvailable_ = UsbDriverRemovable(usb, is64BitWindows_, facts_.programFolder,
                                        [this](std::string_view text) { ShowMessage(text); });
  if (!usbBoxAvailable_) c.Enable(IDC_UNINSTALL_USB_DRIVER, false);
  return true;
}

bool UninstallDialog::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked) return false;
  switch (id) {
    case IDC_UNINSTALL_START:
      if (!running_ && config_) StartRemoval();
      return true;
    case IDC_UNINSTALL_SELECT:
      for (int row = 0; row < controls.ListViewRowCount(IDC_UNINSTALL_COMPONENTS); ++row)
        controls.ListViewSetChecked(IDC_UNINSTALL_COMPONENTS, row, true);
      return true;
    case kIdCancel:
      // The close box and Escape stay without effect while the worker still uses the dialog.
      if (!running_) controls.EndDialog(kIdCancel);
      return true;
    default:
      return false;
  }
}

void UninstallDialog::StartRemoval() {
  DialogControls& c = *controls_;
  RemovalEngine check(s_.removal, *config_, texts_, *this, Settings());
  if (!check.JobCheck()) return;
  auto items = std::make_shared<std::vector<ComponentItem>>();
  for (int row = 0; row < c.ListViewRowCount(IDC_UNINSTALL_COMPONENTS); ++row) {
    items->push_back({c.ListViewCell(IDC_UNINSTALL_COMPONENTS, row, 0),
                      c.ListViewIsChecked(IDC_UNINSTALL_COMPONENTS, row)});
  }
  const bool usbDriver = c.IsChecked(IDC_UNINSTALL_USB_DRIVER);
  running_ = true;
  bool started = worker_.Start([this, items, usbDriver] {
    RemovalEngine engine(s_.removal, *config_, texts_, *this, Settings());
    engine.RunWorker(*items, usbDriver);
    controls_->FitHorizontalExtent(IDC_UNINSTALL_LOG);
    running_ = false;
  });
  if (!started) running_ = false;
}

void UninstallDialog::Log(const std::string& line) {
  int index = controls_->AddItem(IDC_UNINSTALL_LOG, line);
  if (index >= 0) controls_->SetSelection(IDC_UNINSTALL_LOG, index);
}

void UninstallDialog::RemoveItem(size_t index) {
  controls_->ListViewDeleteRow(IDC_UNINSTALL_COMPONENTS, static_cast<int>(index));
}

void UninstallDialog::SetControls(ControlState state) {
  DialogControls& c = *controls_;
  const bool running = state == ControlState::kRunning;
  const bool itemsLeft = state == ControlState::kItemsLeft;
  c.Enable(IDC_UNINSTALL_START, itemsLeft);
  c.Enable(IDC_UNINSTALL_COMPONENTS, itemsLeft);
  c.Enable(IDC_UNINSTALL_SELECT, itemsLeft);
  c.Enable(kIdCancel, !running);
  // The box comes back only where the start offered it: from Windows 2000 on, with the driver installed.
  c.Enable(IDC_UNINSTALL_USB_DRIVER, itemsLeft && usbBoxAvailable_ && common::IsWindows2000OrLater(os_));
}

bool UninstallDialog::AskRestart() {
  LanguageTextDialog restart = RestartDialog(texts_, facts_.langId);
  return controls_->RunModal(IDD_UNINSTALL_RESTART, restart) == kIdOk;
}

bool UninstallDialog::OnHelp(DialogControls&) {
  if (s_.windows.BringToFront("Uninstall")) return true;
  platform::Shell& shell = s_.removal.shell;
  if (shell.Execute("open", ".\\Uninstall_EN.CHM", "", "", platform::kShowNormal) <= 32)
    shell.Execute("open", ".\\Uninstall_CN.CHM", "", "", platform::kShowNormal);
  return true;
}

bool UninstallDialog::OnSystemCommand(DialogControls& controls, int command) {
  if ((command & kSystemCommandMask) != IDM_UNINSTALL_ABOUT) return false;
  LanguageTextDialog about = AboutDialog(texts_, facts_.langId);
  controls.RunModal(IDD_UNINSTALL_ABOUT, about);
  return true;
}

}  // namespace mq::uninstall
