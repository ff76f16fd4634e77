// The setup wizard as logic over dialog controls: the wizard window (Back, Next / Install, Cancel, the help
// line, the About item, F1), its five pages (licence, printer model, setup mode, Windows version, port and
// serial settings), the About box and the progress dialog that runs while the installation worker works. The
// Win32 side only creates the windows and forwards their messages; tests drive the same logic through the
// in-memory controls.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/LanguageTexts.h"
#include "installer/InstallEngine.h"
#include "installer/OsDetection.h"
#include "installer/Ports.h"
#include "installer/SetupConfig.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/SystemShutdown.h"
#include "platform/UsbDevices.h"
#include "platform/ui/DialogControls.h"
#include "platform/ui/DialogLogic.h"

namespace mq::installer {

class ProgressLoop;

// What the wizard needs of its window beyond the controls of its dialogs.
class WizardHost {
 public:
  virtual ~WizardHost() = default;
  // Creates the page of templateId as a hidden child of the wizard on the page area's rectangle, addressed
  // afterwards as the wizard's control controlId, and starts logic on it (its OnInit has run on return).
  // False when the page cannot be created.
  virtual bool CreatePage(int templateId, int controlId, platform::ui::DialogLogic& logic) = 0;
  // Gives a dialog the program's dialog font (the Chinese one for the Chinese languages); each page and
  // dialog calls it when it starts.
  virtual void PrepareDialog(platform::ui::DialogControls& dialog) = 0;
  // A separator and the About item (IDM_ABOUT) in the wizard's system menu.
  virtual void AddAboutItem(std::string_view text) = 0;
  // Loads the side picture for the picture frame, which shows it stretched; false when it cannot be loaded.
  virtual bool LoadSidePicture(std::string_view path) = 0;
  virtual void Minimise() = 0;
  // Runs the progress dialog modally; its first timer tick (100 ms after it opens) hands control to loop.
  virtual void RunProgress(ProgressLoop& loop) = 0;
  // Runs body on the installation worker thread; false when the thread cannot be started.
  virtual bool StartWorker(std::function<void()> body) = 0;
  // Waits until the worker thread has ended.
  virtual void JoinWorker() = 0;
  // A string resource of the program.
  virtual std::string ResourceText(int id) = 0;
  // A top-level window with this title: brought to the top and restored when minimised. False when there is
  // none.
  virtual bool BringToFront(std::string_view title) = 0;
};

// What the wizard is given at start.
struct WizardEnvironment {
  const SetupConfig& config;
  const common::LanguageTexts& texts;
  uint16_t langId = 0x0409;
  DetectedOs os;
  bool administrator = true;
  std::string windowsDirectory;
  platform::FileSystem& files;
  platform::Shell& shell;
  platform::Clock& clock;
  platform::UsbDevices& usb;
  platform::SystemShutdown* shutdown = nullptr;  // null: restarting Windows is refused
  // The licence file's bytes (in the system's ANSI code page) as UTF-8.
  std::function<std::string(std::string_view)> decodeLicence;
};

// The progress dialog: a loop that keeps control from the dialog's first timer tick to its end. Position n
// starts at 0; each pass: on Windows 98 (generation 0) the dialog ends once n reaches 90; a failed worker runs
// the bar back from where it stands to 0 in 10 ms steps, a successful one up to 100 in 10 ms steps, and the
// dialog ends 100 ms later; otherwise the bar shows n (at most 90), 80 ms pass and n grows by one.
class ProgressLoop {
 public:
  ProgressLoop(platform::Clock& clock, std::function<int()> workerState, OsGeneration os)
      : clock_(clock), state_(std::move(workerState)), os_(os) {}
  void Run(platform::ui::DialogControls& dialog);

 private:
  platform::Clock& clock_;
  std::function<int()> state_;
  OsGeneration os_;
};

// The text painted on the progress dialog and on About: the dialog logic of the two small dialogs.
class ProgressDialog : public platform::ui::DialogLogic {
 public:
  ProgressDialog(WizardHost& host, const common::LanguageTexts& texts) : host_(host), texts_(texts) {}
  void OnInit(platform::ui::DialogControls& dialog) override;
  // [Progress] Wait, painted by the Win32 side centred in the upper two thirds.
  std::string WaitText() const;

 private:
  WizardHost& host_;
  const common::LanguageTexts& texts_;
};

class AboutDialog : public platform::ui::DialogLogic {
 public:
  AboutDialog(WizardHost& host, const common::LanguageTexts& texts) : host_(host), texts_(texts) {}
  void OnInit(platform::ui::DialogControls& dialog) override;
  bool OnCommand(platform::ui::DialogControls& dialog, int id, platform::ui::ControlEvent event) override;

 private:
  WizardHost& host_;
  const common::LanguageTexts& texts_;
};

class Wizard;

// One page: its logic reaches the wizard for what crosses pages.
class WizardPage : public platform::ui::DialogLogic {
 public:
  explicit WizardPage(Wizard& wizard) : wizard_(wizard) {}
  void OnInit(platform::ui::DialogControls& page) override;
  platform::ui::DialogControls* controls() const { return controls_; }

 protected:
  virtual void Start(platform::ui::DialogControls& page) = 0;
  Wizard& wizard_;
  platform::ui::DialogControls* controls_ = nullptr;
};

class LicencePage : public WizardPage {
 public:
  using WizardPage::WizardPage;
  bool OnCommand(platform::ui::DialogControls& page, int id, platform::ui::ControlEvent event) override;
  bool loaded() const { return loaded_; }

 protected:
  void Start(platform::ui::DialogControls& page) override;

 private:
  bool loaded_ = false;
};

class ModulePage : public WizardPage {
 public:
  using WizardPage::WizardPage;
  bool OnCommand(platform::ui::DialogControls& page, int id, platform::ui::ControlEvent event) override;
  PrinterType type() const { return type_; }
  const std::string& model() const { return model_; }
  bool setDefault() const;
  bool hasModels() const { return hasModels_; }

 protected:
  void Start(platform::ui::DialogControls& page) override;

 private:
  void ChooseType(int index);
  PrinterType type_ = PrinterType::kReceipt;
  std::string model_;
  bool hasModels_ = false;
};

class ModePage : public WizardPage {
 public:
  using WizardPage::WizardPage;
  bool OnCommand(platform::ui::DialogControls& page, int id, platform::ui::ControlEvent event) override;
  bool typical() const { return typical_; }
  // The model's AdvancedSetup: zero allows typical setup only.
  void AllowAdvanced(bool allowed);

 protected:
  void Start(platform::ui::DialogControls& page) override;

 private:
  void Choose(bool typical);
  bool typical_ = true;
};

class OsPage : public WizardPage {
 public:
  using WizardPage::WizardPage;
  OsGeneration generation() const { return generation_; }

 protected:
  void Start(platform::ui::DialogControls& page) override;

 private:
  OsGeneration generation_ = OsGeneration::kWin98;
};

class PortPageLogic : public WizardPage {
 public:
  using WizardPage::WizardPage;
  bool OnCommand(platform::ui::DialogControls& page, int id, platform::ui::ControlEvent event) override;
  // Builds the list for the model and mode unless it was built for both already.
  void Build(const PortListInput& input, std::string_view model);
  // Selects the speed entry of a BaudRate value (none for a value the list lacks).
  void PreselectSpeed(int baudRate);
  // The page's choices in the job: port name, raster flag, serial settings, IP address, printer ID.
  void FillJob(InstallJob& job);

 protected:
  void Start(platform::ui::DialogControls& page) override;

 private:
  void Apply();
  PortListInput input_;
  PortPage page_;
  std::string builtModel_;
  int builtTypical_ = -1;  // the mode the list was last built for; -1 none yet
  SerialSettings serial_;
};

// The wizard window's logic, and the message boxes of the installation (the engine's InstallUi).
class Wizard : public platform::ui::DialogLogic, public InstallUi {
 public:
  static constexpr int kPageCount = 5;
  static constexpr int kLastPage = 4;

  Wizard(WizardEnvironment environment, WizardHost& host);
  // The engine that Install runs; set before the wizard starts.
  void UseEngine(InstallEngine& engine) { engine_ = &engine; }

  // DialogLogic of the wizard window.
  void OnInit(platform::ui::DialogControls& frame) override;
  bool OnCommand(platform::ui::DialogControls& frame, int id, platform::ui::ControlEvent event) override;

  // The About item of the system menu, and F1.
  void ShowAbout();
  void ShowHelp();

  // Leaves the current page for page index; false when it stays.
  bool GoToPage(int index);
  int currentPage() const { return current_; }

  // InstallUi: message boxes owned by the wizard.
  void ShowMessage(std::string_view text, std::string_view caption) override;
  bool AskYesNo(std::string_view text) override;
  bool RestartWindows() override;

  // For the pages.
  const WizardEnvironment& environment() const { return env_; }
  WizardHost& host() { return host_; }
  platform::ui::DialogControls* frame() { return frame_; }
  std::string Text(std::string_view section, std::string_view key) const;
  std::string Message(std::string_view key) const;
  const PackageSwitches& switches() const { return switches_; }
  ModulePage& modulePage() { return module_; }
  PortPageLogic& portPage() { return port_; }
  // Closes the wizard (a failure at start, Cancel, the end of an installation).
  void Close(int result);
  bool closed() const { return closed_; }

 private:
  void Next();
  void Back();
  void Install();
  bool LeaveModulePage();
  bool OsSupported();
  WizardPage& Page(int index);

  WizardEnvironment env_;
  WizardHost& host_;
  InstallEngine* engine_ = nullptr;
  platform::ui::DialogControls* frame_ = nullptr;
  PackageSwitches switches_;
  LicencePage licence_{*this};
  ModulePage module_{*this};
  ModePage mode_{*this};
  OsPage os_{*this};
  PortPageLogic port_{*this};
  int current_ = 1;
  int firstPage_ = 1;
  bool modelChanged_ = true;
  PortCaps caps_;
  bool closed_ = false;
};

}  // namespace mq::installer
