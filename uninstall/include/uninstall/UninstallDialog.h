// The uninstaller's dialogs as portable logic over the dialog controls: the main dialog (component list,
// USB-driver check box, progress log, Uninstall / Select / Exit, F1 help and the About item of the system
// menu), the restart dialog the removal asks its question with, and the About dialog. The main dialog is the
// removal's RemovalUi: the removal runs on a worker that the Windows shell starts, and acts on the controls
// from there, as the Win32 dialog serves its controls' messages from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/UsbLibraries.h"
#include "platform/WindowLookup.h"
#include "platform/ui/DialogControls.h"
#include "platform/ui/DialogLogic.h"
#include "uninstall/RemovalEngine.h"
#include "uninstall/UninstallConfig.h"

namespace mq::uninstall {

// Runs the removal away from the dialog's thread (a Win32 thread in the program, at once in tests). false
// when no worker could be started.
class WorkerStarter {
 public:
  virtual ~WorkerStarter() = default;
  virtual bool Start(std::function<void()> work) = 0;
};

struct DialogServices {
  UninstallServices removal;
  platform::WindowLookup& windows;
  platform::UsbLibraries& usb;
};

// Facts the Windows shell settles before the dialog opens.
struct StartFacts {
  uint16_t langId = 0x0409;
  std::string programFolder;  // the current directory without a trailing backslash; empty when unreadable
  bool winspoolLoaded = true;
  bool hasDeletePrinterDriverEx = true;
};

// The dialogs switch to the font "宋体" (13 pixels high, GB2312) on the four Chinese language ids.
platform::ui::DialogFont ChineseDialogFont();

// A dialog whose texts come from one section of the language file: the caption from Title and each control
// from its key; the Chinese font when the language asks for it.
class LanguageTextDialog : public platform::ui::DialogLogic {
 public:
  struct Text {
    int id;
    const char* key;
  };
  LanguageTextDialog(const UninstallTexts& texts, uint16_t langId, std::string section,
                     std::vector<Text> controls)
      : texts_(texts), langId_(langId), section_(std::move(section)), controls_(std::move(controls)) {}
  void OnInit(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;

 private:
  const UninstallTexts& texts_;
  uint16_t langId_;
  std::string section_;
  std::vector<Text> controls_;
};

// The restart question: Yes ends the dialog with kIdOk.
LanguageTextDialog RestartDialog(const UninstallTexts& texts, uint16_t langId);
LanguageTextDialog AboutDialog(const UninstallTexts& texts, uint16_t langId);

class UninstallDialog : public platform::ui::DialogLogic, private RemovalUi {
 public:
  UninstallDialog(DialogServices services, WorkerStarter& worker, StartFacts facts);

  void OnInit(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  bool OnHelp(platform::ui::DialogControls& controls) override;
  bool OnSystemCommand(platform::ui::DialogControls& controls, int command) override;

  // Where the removal's diagnostic lines go (standard output in the program); dropped when unset.
  void SetDiagnosticSink(std::function<void(const std::string&)> sink) { diagnostics_ = std::move(sink); }
  bool Running() const { return running_; }
  const UninstallTexts& texts() const { return texts_; }

 private:
  // RemovalUi, called from the worker.
  void Log(const std::string& line) override;
  void RemoveItem(size_t index) override;
  void SetControls(ControlState state) override;
  bool WindowExists(std::string_view title) override { return s_.windows.Exists(title); }
  bool AskRestart() override;
  void Diagnostic(const std::string& line) override {
    if (diagnostics_) diagnostics_(line);
  }

  bool Initialise();
  void StartRemoval();
  void ShowMessage(std::string_view text);
  RemovalSettings Settings() const;

  DialogServices s_;
  WorkerStarter& worker_;
  StartFacts facts_;
  UninstallTexts texts_;
  platform::ui::DialogControls* controls_ = nullptr;
  std::optional<UninstallConfig> config_;
  common::OsGeneration os_ = common::OsGeneration::kWin7;
  bool is64BitWindows_ = false;
  bool usbBoxAvailable_ = true;  // what the start left the USB-driver check box as
  std::atomic<bool> running_{false};
  std::function<void(const std::string&)> diagnostics_;
};

}  // namespace mq::uninstall
