// The installation without any window, for deployment tools: the choices of the command line are checked
// against the package and the system as the wizard's pages would check them, then the same preparation,
// worker and finish run, and every message goes to the log in the language file's words.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/LanguageTexts.h"
#include "installer/CommandLine.h"
#include "installer/InstallEngine.h"
#include "installer/OsDetection.h"
#include "installer/SetupConfig.h"
#include "platform/UsbDevices.h"

namespace mq::installer {

struct QuietEnvironment {
  const SetupConfig& config;
  const common::LanguageTexts& texts;
  DetectedOs os;
  bool administrator = true;
  std::string windowsDirectory;
  platform::UsbDevices& usb;
  // One message (it may hold line breaks).
  std::function<void(std::string_view)> log;
};

// The engine's message boxes go to the log; a question takes the /yes or /no of the command line, and without
// one the installation stops at it.
class QuietInstall : public InstallUi {
 public:
  QuietInstall(QuietOptions options, QuietEnvironment environment);
  void UseEngine(InstallEngine& engine) { engine_ = &engine; }

  // The whole run; returns the exit code: kExitSucceeded, kExitFailed (stopped, failed, or the system does not
  // suit), kExitBadArguments (a model the package does not list, a port, mode or check box the wizard would not
  // offer for it).
  int Run();

  void ShowMessage(std::string_view text, std::string_view caption) override;
  bool AskYesNo(std::string_view text) override;
  bool RestartWindows() override;

 private:
  int Refuse(int code, std::string_view text);
  // The job as the wizard's pages would fill it; kExitSucceeded when the choices are offered.
  int FillJob(InstallJob& job);

  QuietOptions options_;
  QuietEnvironment env_;
  InstallEngine* engine_ = nullptr;
};

}  // namespace mq::installer
