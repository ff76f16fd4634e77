// The platform roles the installer's engine works through, and the seams the wizard and the USB support fill:
// the message boxes of the preparation and the USB decision.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "installer/SetupTypes.h"
#include "platform/Cabinet.h"
#include "platform/FsRedirection.h"
#include "platform/PlatformServices.h"
#include "platform/ServiceControl.h"
#include "platform/Spooler.h"
#include "platform/UsbDevices.h"

namespace mq::installer {

struct InstallerServices {
  platform::PlatformServices platform;
  platform::Spooler& spooler;
  platform::ServiceControl& serviceControl;
  platform::Cabinet& cabinet;
  platform::FsRedirection& redirection;
  platform::UsbDevices& usb;
  // The system's text for an error code (FormatMessage on Windows); ErrorTextFallback when not set.
  std::function<std::string(uint32_t)> errorText;
};

// English texts for the error codes the engine meets most, "error N" for the rest: the text used where the
// system's own is not available.
std::string ErrorTextFallback(uint32_t error);

// Message boxes of the preparation on the wizard's thread.
class InstallUi {
 public:
  virtual ~InstallUi() = default;
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
  virtual bool AskYesNo(std::string_view text) = 0;
  // Restarts Windows (the Windows 98 question); false when the system refuses.
  virtual bool RestartWindows() = 0;
};

// What happens on Install for a USB port: the decision between the vendor USB driver and a USB printer-class
// installation, and the printer ID check. The USB support provides the real one.
class UsbInstallStep {
 public:
  enum class Outcome { kContinue, kStop, kHandedOver };
  virtual ~UsbInstallStep() = default;
  // Runs before anything is read for the model. kContinue means: install through the vendor USB driver and
  // the package's USB port monitor (the job's port kind is then USB). kStop and kHandedOver put the text to
  // show (if any) into *message.
  virtual Outcome Decide(InstallJob& job, std::string* message) = 0;
  // The printer ID check of a vendor-driver USB port; may change the job's port name.
  virtual Outcome CheckPrinterId(InstallJob& job, std::string* message) = 0;
};

// The USB step of a build without USB support: every USB installation stops with a clear message.
class UsbNotAvailable : public UsbInstallStep {
 public:
  static constexpr std::string_view kMessage =
      "Installing on a USB port is not available in this version of the installer. Choose a serial, parallel "
      "or "
      "network port.";
  Outcome Decide(InstallJob&, std::string* message) override {
    *message = std::string(kMessage);
    return Outcome::kStop;
  }
  Outcome CheckPrinterId(InstallJob&, std::string* message) override {
    *message = std::string(kMessage);
    return Outcome::kStop;
  }
};

}  // namespace mq::installer
