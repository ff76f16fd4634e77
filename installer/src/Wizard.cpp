// The setup wizard's logic: the wizard window, its pages, About and the progress dialog.
#include "installer/Wizard.h"

#include <algorithm>

#include "InstallerResources.h"
#include "installer/CommandLine.h"
#include "installer/InstallerMessages.h"
#include "installer/StartChecks.h"

namespace mq::installer {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;

namespace {

constexpr std::array<int, Wizard::kPageCount> kPageTemplates = {
    IDD_LICENSE_PAGE, IDD_MODULE_PAGE, IDD_MODE_PAGE, IDD_OS_PAGE, IDD_PORT_PAGE};
constexpr std::array<int, Wizard::kPageCount> kPageControls = {
    IDC_WIZARD_PAGE_LICENSE, IDC_WIZARD_PAGE_MODULE, IDC_WIZARD_PAGE_MODE, IDC_WIZARD_PAGE_OS,
    IDC_WIZARD_PAGE_PORT};

// The module page's radio buttons and model lists, by printer type.
constexpr std::array<int, 4> kTypeButtons = {IDC_MODULE_RECEIPT, IDC_MODULE_TICKET, IDC_MODULE_LABEL,
                                             IDC_MODULE_EMBEDDED};
constexpr std::array<int, 4> kTypeLists = {IDC_MODULE_RECEIPT_LIST, IDC_MODULE_TICKET_LIST,
                                           IDC_MODULE_LABEL_LIST, IDC_MODULE_EMBEDDED_LIST};
constexpr std::array<const char*, 4> kTypeKeys = {"Receipt", "Ticket", "Label", "Embedded"};

// The OS page's radio buttons by generation code 0..7; the Windows 8 button stands for every later system.
constexpr std::array<int, 8> kOsButtons = {IDC_OS_98,    IDC_OS_NT,    IDC_OS_2000, IDC_OS_XP,
                                           IDC_OS_2003,  IDC_OS_VISTA, IDC_OS_2008, IDC_OS_WIN7};

constexpr std::array<const char*, 8> kSpeeds = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
constexpr std::array<const char*, 4> kByteSizes = {"5", "6", "7", "8"};
constexpr std::array<const char*, 3> kStopBits = {"1", "1.5", "2"};
constexpr std::array<const char*, 5> kParityKeys = {"Parity.Even", "Parity.Mark", "Parity.None", "Parity.Odd",
                                                    "Parity.Space"};
constexpr std::array<const char*, 3> kProtocolKeys = {"Protocol.None", "Protocol.Xonoff", "Protocol.Hardware"};
constexpr std::array<int, 5> kSerialLists = {IDC_PORT_SPEED, IDC_PORT_PARITY, IDC_PORT_BYTE_SIZE,
                                             IDC_PORT_STOP_BITS, IDC_PORT_PROTOCOL};

std::string SelectedText(DialogControls& c, int id) {
  const int index = c.Selection(id);
  return index < 0 ? std::string() : c.ItemText(id, index);
}

}  // namespace

// --- Progress and About ---

void ProgressLoop::Run(DialogControls& dialog) {
  int n = 0;
  while (true) {
    const int state = state_();
    if (os_ == OsGeneration::kWin98 && n >= 90) {
      dialog.EndDialog(platform::ui::kIdOk);
      return;
    }
    // The bar runs on from where it stands (n is not shown above 90).
    const int shown = std::min(n, 90);
    if (state == kStateFailed) {
      for (int i = shown; i >= 0; --i) {
        dialog.SetPosition(IDC_PROGRESS_BAR, i);
        clock_.Sleep(10);
      }
      clock_.Sleep(100);
      dialog.EndDialog(platform::ui::kIdOk);
      return;
    }
    if (state == kStateSucceeded) {
      for (int i = shown; i <= 100; ++i) {
        dialog.SetPosition(IDC_PROGRESS_BAR, i);
        clock_.Sleep(10);
      }
      clock_.Sleep(100);
      dialog.EndDialog(platform::ui::kIdOk);
      return;
    }
    dialog.SetPosition(IDC_PROGRESS_BAR, shown);
    clock_.Sleep(80);
    ++n;
  }
}

void ProgressDialog::OnInit(DialogControls& dialog) {
  host_.PrepareDialog(dialog);
  dialog.SetTitle(WizardText(texts_, "Setup", "Caption"));
  dialog.SetRange(IDC_PROGRESS_BAR, 0, 100);
  dialog.SetPosition(IDC_PROGRESS_BAR, 0);
}

std::string ProgressDialog::WaitText() const {
  return WizardText(texts_, "Progress", "Wait");
}

void AboutDialog::OnInit(DialogControls& dialog) {
  host_.PrepareDialog(dialog);
  dialog.SetTitle(WizardText(texts_, "About", "Caption"));
  dialog.SetText(IDC_ABOUT_VERSION, texts_.Text("About", "Version"));
  dialog.SetText(IDC_ABOUT_COPYRIGHT, texts_.Text("About", "Copyright"));
  dialog.SetText(platform::ui::kIdOk, WizardText(texts_, "About", "OK"));
}

bool AboutDialog::OnCommand(DialogControls& dialog, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked || (id != platform::ui::kIdOk && id != platform::ui::kIdCancel))
    return false;
  dialog.EndDialog(id);
  return true;
}

// --- Pages ---

void WizardPage::OnInit(DialogControls& page) {
  controls_ = &page;
  wizard_.host().PrepareDialog(page);
  Start(page);
}

void LicencePage::Start(DialogControls& page) {
  page.SetText(IDC_LICENSE_FRAME, wizard_.Text("Legal", "Agreement"));
  page.SetText(IDC_LICENSE_ACCEPT, wizard_.Text("Legal", "Accept"));
  page.SetText(IDC_LICENSE_REJECT, wizard_.Text("Legal", "Reject"));
  page.SetChecked(IDC_LICENSE_ACCEPT, false);
  page.SetChecked(IDC_LICENSE_REJECT, true);
  if (wizard_.switches().loadLicense == 0) return;
  const WizardEnvironment& env = wizard_.environment();
  std::vector<uint8_t> bytes;
  if (env.files.ReadAll(env.config.LicenceFile(env.langId), &bytes) != 0) return;
  std::string raw(bytes.begin(), bytes.end());
  page.SetText(IDC_LICENSE_TEXT, env.decodeLicence ? env.decodeLicence(raw) : raw);
  loaded_ = true;
}

bool LicencePage::OnCommand(DialogControls&, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked || (id != IDC_LICENSE_ACCEPT && id != IDC_LICENSE_REJECT)) return false;
  if (DialogControls* frame = wizard_.frame()) frame->Enable(IDC_WIZARD_NEXT, id == IDC_LICENSE_ACCEPT);
  return true;
}

void ModulePage::Start(DialogControls& page) {
  page.SetText(IDC_MODULE_FRAME, wizard_.Text("Series", "Select"));
  page.SetText(IDC_MODULE_DEFAULT, wizard_.Text("Series", "Default"));
  for (size_t t = 0; t < 4; ++t) {
    page.SetText(kTypeButtons[t], wizard_.Text("Series", kTypeKeys[t]));
    page.SetChecked(kTypeButtons[t], false);
    page.ClearItems(kTypeLists[t]);
  }
  DeviceList list = wizard_.environment().config.ReadDeviceList();
  for (const ModelEntry& m : list.models) page.AddItem(kTypeLists[static_cast<int>(m.type)], m.name);
  hasModels_ = !list.models.empty();
  for (size_t t = 0; t < 4; ++t) {
    const bool any = page.ItemCount(kTypeLists[t]) > 0;
    if (any) page.SetSelection(kTypeLists[t], 0);
    page.Enable(kTypeButtons[t], any);
    page.Enable(kTypeLists[t], false);
  }
  std::optional<ModelEntry> preset = list.DefaultModel();
  if (!preset) return;
  const int t = static_cast<int>(preset->type);
  const int listId = kTypeLists[t];
  page.SetChecked(kTypeButtons[t], true);
  for (int i = 0; i < page.ItemCount(listId); ++i) {
    if (page.ItemText(listId, i).starts_with(preset->name)) {
      page.SetSelection(listId, i);
      break;
    }
  }
  page.Enable(listId, true);
  type_ = preset->type;
  model_ = SelectedText(page, listId);
}

void ModulePage::ChooseType(int index) {
  DialogControls& page = *controls_;
  for (int listId : kTypeLists) page.Enable(listId, false);
  model_ = SelectedText(page, kTypeLists[index]);
  page.Enable(kTypeLists[index], true);
  type_ = static_cast<PrinterType>(index);
}

bool ModulePage::OnCommand(DialogControls& page, int id, ControlEvent event) {
  for (int t = 0; t < 4; ++t) {
    if (id == kTypeButtons[t] && event == ControlEvent::kClicked) {
      ChooseType(t);
      return true;
    }
    if (id == kTypeLists[t] && event == ControlEvent::kSelectionChanged) {
      model_ = SelectedText(page, id);
      return true;
    }
  }
  return false;
}

bool ModulePage::setDefault() const {
  return controls_ != nullptr && controls_->IsChecked(IDC_MODULE_DEFAULT);
}

void ModePage::Start(DialogControls& page) {
  page.SetText(IDC_MODE_FRAME, wizard_.Text("Mode", "Type"));
  page.SetText(IDC_MODE_TYPICAL, wizard_.Text("Mode", "Typical"));
  page.SetText(IDC_MODE_ADVANCED, wizard_.Text("Mode", "Advanced"));
  page.SetText(IDC_MODE_REMARKS, wizard_.Text("Mode", "Remarks"));
  page.SetChecked(IDC_MODE_TYPICAL, true);
  page.SetChecked(IDC_MODE_ADVANCED, false);
  Choose(true);
}

void ModePage::Choose(bool typical) {
  DialogControls& page = *controls_;
  typical_ = typical;
  page.SetText(IDC_MODE_NOTE1, wizard_.Text("Mode", typical ? "Note1" : "Note2"));
  if (!typical) page.SetText(IDC_MODE_NOTE2, wizard_.Text("Mode", "Note3"));
  page.Show(IDC_MODE_NOTE2, !typical);
  page.Show(IDC_MODE_NOTE3, false);
}

void ModePage::AllowAdvanced(bool allowed) {
  DialogControls& page = *controls_;
  page.Enable(IDC_MODE_ADVANCED, allowed);
  if (allowed) {
    // A model that allows both gets the note of the mode that stays chosen (the previous model's may have
    // replaced it).
    Choose(typical_);
    return;
  }
  page.SetChecked(IDC_MODE_TYPICAL, true);
  page.SetChecked(IDC_MODE_ADVANCED, false);
  typical_ = true;
  page.SetText(IDC_MODE_NOTE1, wizard_.Message("IDS_TYPICAL_NOTES"));
  page.Show(IDC_MODE_NOTE2, false);
  page.Show(IDC_MODE_NOTE3, false);
}

bool ModePage::OnCommand(DialogControls&, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked || (id != IDC_MODE_TYPICAL && id != IDC_MODE_ADVANCED)) return false;
  Choose(id == IDC_MODE_TYPICAL);
  return true;
}

void OsPage::Start(DialogControls& page) {
  page.SetText(IDC_OS_FRAME, wizard_.Text("System", "Select"));
  const WizardEnvironment& env = wizard_.environment();
  int detected = -1;
  if (env.os.windows8OrLater)
    detected = IDC_OS_WIN8;
  else if (env.os.recognised)
    detected = kOsButtons[static_cast<size_t>(env.os.generation)];
  for (int id : kOsButtons) {
    page.SetChecked(id, id == detected);
    page.Enable(id, id == detected);
  }
  page.SetChecked(IDC_OS_WIN8, detected == IDC_OS_WIN8);
  page.Enable(IDC_OS_WIN8, detected == IDC_OS_WIN8);
  if (env.config.is64BitWindows()) page.Show(IDC_OS_2000, false);
  generation_ = env.os.recognised ? env.os.generation : OsGeneration::kWin98;
  if (env.os.unknownPlatform) wizard_.ShowMessage(wizard_.Message("IDS_ERR_SYSTEM"), "");
}

void PortPageLogic::Start(DialogControls& page) {
  page.SetText(IDC_PORT_FRAME, wizard_.Text("Confirm", "Set"));
  page.SetText(IDC_PORT_LIST_LABEL, wizard_.Text("Confirm", "Ports"));
  page.SetText(IDC_PORT_SERIAL_FRAME, wizard_.Text("Confirm", "Com"));
  page.SetText(IDC_PORT_SPEED_LABEL, wizard_.Text("Confirm", "BaudRate"));
  page.SetText(IDC_PORT_PARITY_LABEL, wizard_.Text("Confirm", "Parity"));
  page.SetText(IDC_PORT_BYTE_SIZE_LABEL, wizard_.Text("Confirm", "ByteSize"));
  page.SetText(IDC_PORT_STOP_BITS_LABEL, wizard_.Text("Confirm", "StopBits"));
  page.SetText(IDC_PORT_PROTOCOL_LABEL, wizard_.Text("Confirm", "Protocol"));
  page.SetText(IDC_PORT_RASTER, wizard_.Text("Confirm", "Raster"));
  page.SetToolTip(IDC_PORT_RASTER, wizard_.host().ResourceText(IDS_RASTER_TIP));
  auto fill = [&](int id, auto& entries, int selected, bool fromTexts) {
    page.ClearItems(id);
    for (const char* entry : entries) page.AddItem(id, fromTexts ? wizard_.Text("Confirm", entry) : entry);
    page.SetSelection(id, selected);
  };
  fill(IDC_PORT_SPEED, kSpeeds, -1, false);
  fill(IDC_PORT_BYTE_SIZE, kByteSizes, 3, false);
  fill(IDC_PORT_STOP_BITS, kStopBits, 0, false);
  fill(IDC_PORT_PARITY, kParityKeys, 2, true);
  fill(IDC_PORT_PROTOCOL, kProtocolKeys, 2, true);
  page.SetChecked(IDC_PORT_RASTER, false);
  page.Show(IDC_PORT_NOTE, false);
  page.Show(IDC_PORT_NOTE2, false);
  page_ = PortPage();
  builtTypical_ = -1;
  builtModel_.clear();
}

void PortPageLogic::PreselectSpeed(int baudRate) {
  controls_->SetSelection(IDC_PORT_SPEED, SpeedIndexOf(baudRate));
}

void PortPageLogic::Build(const PortListInput& input, std::string_view model) {
  if (builtTypical_ == (input.typical ? 1 : 0) && builtModel_ == model) return;
  input_ = input;
  builtModel_ = std::string(model);
  builtTypical_ = input.typical ? 1 : 0;
  page_ = BuildPortList(input_, wizard_.environment().usb, wizard_.environment().texts);
  DialogControls& page = *controls_;
  page.ClearItems(IDC_PORT_LIST);
  for (const std::string& port : page_.ports) page.AddItem(IDC_PORT_LIST, port);
  Apply();
}

void PortPageLogic::Apply() {
  DialogControls& page = *controls_;
  page.SetSelection(IDC_PORT_LIST, page_.selected);
  for (int id : kSerialLists) page.Enable(id, page_.serialListsEnabled);
  page.Enable(IDC_PORT_IP, page_.ipFieldEnabled);
  page.Show(IDC_PORT_RASTER, page_.rasterVisible);
  page.Enable(IDC_PORT_RASTER, page_.rasterEnabled);
  page.SetChecked(IDC_PORT_RASTER, page_.rasterChecked);
  if (page_.usbNoteVisible || page_.comNoteVisible) {
    page.SetText(IDC_PORT_NOTE, page_.usbNoteVisible ? page_.usbNote : page_.comNote);
    page.Show(IDC_PORT_NOTE, true);
  } else {
    page.Show(IDC_PORT_NOTE, false);
  }
}

bool PortPageLogic::OnCommand(DialogControls& page, int id, ControlEvent event) {
  if (id != IDC_PORT_LIST || event != ControlEvent::kSelectionChanged) return false;
  SelectPort(page_, page.Selection(IDC_PORT_LIST), input_, wizard_.environment().usb,
             wizard_.environment().texts);
  Apply();
  return true;
}

void PortPageLogic::FillJob(InstallJob& job) {
  DialogControls& page = *controls_;
  job.portName = SelectedText(page, IDC_PORT_LIST);
  job.raster = page.IsChecked(IDC_PORT_RASTER);
  serial_ = SerialSettingsFromPage(SelectedText(page, IDC_PORT_SPEED), SelectedText(page, IDC_PORT_BYTE_SIZE),
                                   SelectedText(page, IDC_PORT_STOP_BITS), SelectedText(page, IDC_PORT_PARITY),
                                   SelectedText(page, IDC_PORT_PROTOCOL), serial_);
  job.serial = serial_;
  std::array<uint8_t, 4> address{};
  if (!ParseAddressText(page.GetText(IDC_PORT_IP), &address)) address = {};
  job.ipAddress = address;
  job.printerId = page_.printerId;
}

// --- The wizard window ---

Wizard::Wizard(WizardEnvironment environment, WizardHost& host) : env_(std::move(environment)), host_(host) {}

std::string Wizard::Text(std::string_view section, std::string_view key) const {
  return WizardText(env_.texts, section, key);
}

std::string Wizard::Message(std::string_view key) const {
  return InstallerMessage(env_.texts, key);
}

WizardPage& Wizard::Page(int index) {
  switch (index) {
    case 0:
      return licence_;
    case 1:
      return module_;
    case 2:
      return mode_;
    case 3:
      return os_;
    default:
      return port_;
  }
}

void Wizard::OnInit(DialogControls& frame) {
  frame_ = &frame;
  host_.PrepareDialog(frame);
  host_.AddAboutItem(Message("IDS_ABOUTBOX"));
  frame.SetTitle(Text("Setup", "Caption"));
  frame.SetText(IDC_WIZARD_HELP_LINE, Text("Setup", "Help"));
  frame.SetText(IDC_WIZARD_BACK, Text("Setup", "Back"));
  frame.SetText(IDC_WIZARD_NEXT, Text("Setup", "Next"));
  frame.SetText(IDC_WIZARD_CANCEL, Text("Setup", "Cancel"));
  switches_ = env_.config.ReadSwitches();
  firstPage_ = switches_.loadLicense != 0 ? 0 : 1;
  for (int i = 0; i < kPageCount; ++i) {
    if (!host_.CreatePage(kPageTemplates[i], kPageControls[i], Page(i))) {
      Close(-1);
      return;
    }
  }
  if (switches_.loadLicense != 0 && !licence_.loaded()) {
    ShowMessage(Message("IDS_ERR_NOLICENSE"), "");
    Close(-1);
    return;
  }
  current_ = firstPage_;
  frame.Show(kPageControls[current_], true);
  // With the licence page the user must accept first (Reject is chosen at start).
  frame.Enable(IDC_WIZARD_NEXT, firstPage_ == 1);
  frame.Enable(IDC_WIZARD_BACK, false);
  if (!host_.LoadSidePicture(env_.config.packageFolder() + "\\DRVCONFIG\\Left.bmp")) {
    ShowMessage(Message("IDS_ERR_NOLEFT"), "");
    Close(-1);
    return;
  }
  std::string admin = AdministratorMessage(env_.os, env_.administrator, env_.texts);
  if (!admin.empty()) {
    ShowMessage(admin, "");
    Close(-1);
  }
}

bool Wizard::OnCommand(DialogControls&, int id, ControlEvent event) {
  if (event != ControlEvent::kClicked) return false;
  switch (id) {
    case IDC_WIZARD_NEXT:
      Next();
      return true;
    case IDC_WIZARD_BACK:
      Back();
      return true;
    case IDC_WIZARD_CANCEL:
      Close(platform::ui::kIdCancel);
      return true;
    default:
      return false;
  }
}

bool Wizard::LeaveModulePage() {
  caps_ = env_.config.ReadPortCaps(module_.type(), module_.model());
  mode_.AllowAdvanced(caps_.advancedSetup != 0);
  return true;
}

bool Wizard::OsSupported() {
  int supported = 1;
  const char* key = nullptr;
  switch (os_.generation()) {
    case OsGeneration::kNt4:
      supported = caps_.ntSupported, key = "IDS_NOTSUPPORTNT";
      break;
    case OsGeneration::kServer2003:
      supported = caps_.server2003Supported, key = "IDS_NOTSUPPORT2003";
      break;
    case OsGeneration::kVista:
      supported = caps_.vistaSupported, key = "IDS_NOTSUPPORTVISTA";
      break;
    case OsGeneration::kServer2008:
      supported = caps_.server2008Supported, key = "IDS_NOTSUPPORT2008";
      break;
    case OsGeneration::kWin7:
      supported = caps_.win7Supported, key = "IDS_NOTSUPPORTWin7";
      break;
    default:
      break;
  }
  if (supported != 0) return true;
  ShowMessage(Message(key), "");
  return false;
}

bool Wizard::GoToPage(int index) {
  if (index < firstPage_ || index >= kPageCount || frame_ == nullptr) return false;
  const int from = current_;
  if (from == 2 && index < 2) modelChanged_ = true;
  if (from == 1 && index > 1 && !LeaveModulePage()) return false;
  if (from == 3 && index > 3) {
    if (modelChanged_) {
      port_.PreselectSpeed(caps_.baudRate);
      modelChanged_ = false;
    }
    if (!OsSupported()) return false;
  }
  frame_->Show(kPageControls[from], false);
  if (from == 0 && index == 1) frame_->Enable(IDC_WIZARD_NEXT, module_.hasModels());
  current_ = index;
  frame_->Show(kPageControls[index], true);
  return true;
}

void Wizard::Next() {
  if (current_ == kLastPage) {
    Install();
    return;
  }
  if (!GoToPage(current_ + 1)) return;
  if (current_ == kLastPage) {
    PortListInput input;
    input.caps = caps_;
    input.os = os_.generation();
    input.is64BitWindows = env_.config.is64BitWindows();
    input.typical = mode_.typical();
    input.windowsDirectory = env_.windowsDirectory;
    port_.Build(input, module_.model());
    frame_->SetText(IDC_WIZARD_NEXT, Text("Setup", "Install"));
  }
  frame_->Enable(IDC_WIZARD_BACK, true);
  frame_->Focus(IDC_WIZARD_NEXT);
}

void Wizard::Back() {
  frame_->SetText(IDC_WIZARD_NEXT, Text("Setup", "Next"));
  GoToPage(current_ - 1);
  if (current_ == firstPage_) frame_->Enable(IDC_WIZARD_BACK, false);
  frame_->Enable(IDC_WIZARD_NEXT, true);
}

void Wizard::Install() {
  if (engine_ == nullptr) return;
  InstallJob job;
  job.os = os_.generation();
  job.type = module_.type();
  job.model = module_.model();
  job.setDefault = module_.setDefault();
  job.typical = mode_.typical();
  port_.FillJob(job);
  PrepareResult prepared = engine_->Prepare(job);
  if (prepared.outcome == PrepareResult::Outcome::kStopped) return;
  if (prepared.outcome == PrepareResult::Outcome::kHandedOver) {
    Close(platform::ui::kIdOk);
    return;
  }
  host_.Minimise();
  // The worker publishes its final state here once it has ended; the progress dialog polls it.
  std::atomic<int> published{kStateRunning};
  if (host_.StartWorker([&] {
        engine_->RunWorker(job);
        published.store(job.resultState);
      })) {
    ProgressLoop loop(env_.clock, [&] { return published.load(); }, job.os);
    host_.RunProgress(loop);
    // The progress dialog may end before the worker (on Windows 98 at 90 %): the results are read only once
    // the worker is done.
    host_.JoinWorker();
  } else {
    job.resultText = "The installation could not be started: no worker thread.";
    job.resultState = kStateFailed;
  }
  engine_->Finish(job);
  Close(platform::ui::kIdOk);
}

void Wizard::Close(int result) {
  closed_ = true;
  if (frame_ != nullptr) frame_->EndDialog(result);
}

void Wizard::ShowAbout() {
  if (frame_ == nullptr) return;
  AboutDialog about(host_, env_.texts);
  frame_->RunModal(IDD_ABOUT, about);
}

void Wizard::ShowHelp() {
  const std::string caption = Text("Help Guide", "Caption");
  if (!caption.empty() && host_.BringToFront(caption)) return;
  env_.shell.Execute("open", SetupConfig::HelpFile(env_.langId), "", "", platform::kShowNormal);
}

void Wizard::ShowMessage(std::string_view text, std::string_view caption) {
  if (frame_ == nullptr) return;
  frame_->ShowMessage(text, caption.empty() ? Text("Setup", "Caption") : std::string(caption),
                      platform::ui::MessageIcon::kInformation, platform::ui::MessageButtons::kOk);
}

bool Wizard::AskYesNo(std::string_view text) {
  if (frame_ == nullptr) return false;
  return frame_->ShowMessage(text, Text("Setup", "Caption"), platform::ui::MessageIcon::kQuestion,
                             platform::ui::MessageButtons::kYesNo) == platform::ui::kIdYes;
}

bool Wizard::RestartWindows() {
  if (env_.shutdown == nullptr) return false;
  if (env_.shutdown->EnableShutdownPrivilege() != 0) return false;
  return env_.shutdown->Reboot() == 0;
}

}  // namespace mq::installer
