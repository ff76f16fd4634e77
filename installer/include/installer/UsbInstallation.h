// What Install does for a USB port: the choice between the vendor USB driver and a USB printer-class
// installation by the package's SupportedUSBMODE and the connected devices, the installation of the vendor
// USB driver when the package carries a newer one, the hand-over of a printer-class printer to the USB driver
// package installer, and the printer ID check that makes the connected printer answer to the chosen port.
#pragma once

#include <string>
#include <string_view>

#include "common/LanguageTexts.h"
#include "installer/InstallServices.h"
#include "installer/SetupConfig.h"
#include "installer/UsbPrinters.h"

namespace mq::installer {

// True when the installed vendor USB driver's version text calls for installing the package's: the driver is
// absent ("0.0.0.0" or no readable version) or older. Equal texts never do. Versions are compared part by
// part as numbers ("1.0.0.10" is newer than "1.0.0.9"); the parts may be separated by dots or commas.
bool VendorDriverNeedsInstall(std::string_view installed, std::string_view package);

// The argument text for the USB driver package installer of a printer-class printer on USB port n:
// ` 3 "<inf>" <hardware id> 0 <model>(U)<n>` when the printer is to be the default one, else
// ` 3 "<inf>" <hardware id> 0`.
std::string ClassInstallArguments(std::string_view infPath, std::string_view hardwareId,
                                  std::string_view model, int port, bool setDefault);

// The port number of a USB port name: "USB4" gives 4, else "USB3" 3, "USB2" 2, "USB1" 1, else 0.
int UsbPortNumber(std::string_view portName);

class UsbInstallation : public UsbInstallStep {
 public:
  UsbInstallation(const InstallerServices& services, const SetupConfig& config,
                  const common::LanguageTexts& texts, InstallUi& ui, UsbPrinters& printers);

  Outcome Decide(InstallJob& job, std::string* message) override;
  Outcome CheckPrinterId(InstallJob& job, std::string* message) override;

  // The package's and the installed ZNUSB.sys, and the USB driver package installer (x64 folder on 64-bit
  // Windows).
  std::string PackageDriverPath() const;
  std::string InstalledDriverPath() const;
  std::string DriverInstallerPath() const;
  // The INF handed over for a printer-class printer (Inffilename, or Setup.inf).
  std::string ClassInf() const;

  // On Windows 2000 and later (as the system reports it), when the installed driver is absent or older:
  // starts the driver package installer with "2" and gives it 3.5 s. Its outcome is not examined.
  void InstallVendorDriverIfNeeded();

 private:
  Outcome InstallClassPrinter(const InstallJob& job, std::string* message);
  Outcome Stop(std::string* message, std::string text) {
    *message = std::move(text);
    return Outcome::kStop;
  }

  InstallerServices s_;
  const SetupConfig& config_;
  const common::LanguageTexts& texts_;
  InstallUi& ui_;
  UsbPrinters& printers_;
};

}  // namespace mq::installer
