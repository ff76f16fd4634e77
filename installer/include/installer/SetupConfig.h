// Reading the package's configuration: the device list "DRVCONFIG\setup.ini", the model files of each printer
// type and word size, and the writing of DriverUtility.ini for the utility programs. Every read follows the
// profile rules of common::IniReader: missing keys read "0", numbers are leading digits, names have limits.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/IniReader.h"
#include "installer/SetupTypes.h"
#include "platform/FileSystem.h"

namespace mq::installer {

struct ModelEntry {
  std::string name;
  PrinterType type = PrinterType::kReceipt;
  int index = 0;  // the N of its DEVICENAMEn key
};

// The most entries a device list is read for: the model page lists at most this many models, and each entry is
// one profile read.
inline constexpr int kMaxDeviceEntries = 100;

struct DeviceList {
  std::vector<ModelEntry> models;  // in index order, entries without a type suffix left out
  int defaultIndex = 0;            // DEFAULTNAME
  // The name of the last entry read, DEVICENUMBER or kMaxDeviceEntries (suffix removed), used by the start-up
  // check.
  std::string lastEntryName;
  int claimedEntries = 0;  // DEVICENUMBER as the file gives it; more than kMaxDeviceEntries are not read
  bool Truncated() const { return claimedEntries > kMaxDeviceEntries; }
  std::optional<ModelEntry> DefaultModel() const;
};

struct PackageSwitches {
  int supported32Or64 = 0;
  int loadLicense = 0;
  int gdiStdSign = 0;
  int supportedUsbMode = 0;
  std::string shellExeName;  // "0" when missing
  std::string infFileName;
  int processorVersion = 0;  // [ProcessorVersion] DriverVersion
};

struct MonitorConfig {
  std::string name;
  std::string dll;  // "" = no monitor (the key present with an empty value); a missing key reads "0"
  std::string uiDll;
  int version = 0;
};

struct LanguageMonitorConfig {
  std::string name;
  std::string dll;
  int version = 0;
  // All three read one character long (the "0" defaults among them): no language monitor.
  bool used = false;
};

struct MonitorSet {
  MonitorConfig serial;
  MonitorConfig usb;
  LanguageMonitorConfig language;
};

struct PortCaps {
  int usb = 0, lpt = 0, com = 0, net = 0, classSupported = 0;
  int lptDefault = 0;
  int rasterVisible = 0;
  int advancedSetup = 0;
  int baudRate = 0;
  int ntSupported = 0, server2003Supported = 0, vistaSupported = 0, server2008Supported = 0,
      win7Supported = 0;
};

// GDI unless the check box is clear; GDISTDSign forces GDI for serial and STD for USB ports.
FileSet ChooseFileSet(bool raster, int gdiStdSign, PortKind portKind);

// The section name suffix of the printer type's model file ("receipt", ...).
std::string_view PrinterTypeName(PrinterType type);

class SetupConfig {
 public:
  SetupConfig(platform::Profile& profile, std::string packageFolder, bool is64BitWindows);

  const std::string& packageFolder() const { return packageFolder_; }
  bool is64BitWindows() const { return is64_; }
  std::string DeviceListFile() const;
  // "<package>\DRVCONFIG\setup_<type>.ini", with "_64" on 64-bit Windows.
  std::string ModelFile(PrinterType type) const;
  static std::string PortSection(std::string_view model) { return std::string(model) + ".PORT"; }
  static std::string OsSection(std::string_view model, OsGeneration os);
  // The key of the driver name: GDIDriverName on Windows 98 and NT 4.0, else DriverNameS, DriverNameP,
  // DriverNameU or DriverNameN by port kind ("" for a port of no known kind).
  static std::string DriverNameKey(OsGeneration os, PortKind portKind);

  DeviceList ReadDeviceList() const;
  PackageSwitches ReadSwitches() const;
  MonitorSet ReadMonitors(OsGeneration os) const;
  PortCaps ReadPortCaps(PrinterType type, std::string_view model) const;
  // [SUPPORTED-USB-DEVICE] value of a USB port name (profile integer, default 0).
  int SupportedUsbDeviceValue(std::string_view portName) const;
  // [USBCLASSPRINTER] hardware ID of the model on USB port n ("(U)1".."(U)4"; other numbers use port 1);
  // "ERR" when the package has no entry.
  std::string UsbClassHardwareId(std::string_view model, int port) const;

  // The files, driver record and printer record of (model, system, file set, port kind). The printer name is
  // the bare model name; the port suffix is the preparation's.
  ModelDriver ReadModelDriver(PrinterType type, std::string_view model, OsGeneration os, FileSet set,
                              PortKind portKind) const;

  // The licence text "<package>\License\License_<EN|CN|TCN>.txt" and the help file ".\Guide\Guide_<...>.chm"
  // (relative to the current folder) of a system default language.
  std::string LicenceFile(uint16_t langId) const;
  static std::string HelpFile(uint16_t langId);

  // The start-up check of the package: true when the last listed model supports USB, parallel or serial ports
  // in any of the four model files of this word size.
  bool PackageUsable() const;

  const common::IniReader& reader() const { return reader_; }

 private:
  common::IniReader reader_;
  std::string packageFolder_;
  bool is64_;
};

// The utility folder's configuration file: the port of the printer just installed. Only the chosen port
// kind's section is written. Returns the first profile write error, 0 when all went well.
struct UtilityPortSettings {
  PortKind kind = PortKind::kParallel;
  std::string portName;  // the name as shown in the port list
  SerialSettings serial;
  std::string ipAddress;  // dotted text
};
uint32_t WriteDriverUtilityIni(platform::Profile& profile, std::string_view iniPath, bool is64BitWindows,
                               const UtilityPortSettings& settings);

}  // namespace mq::installer
