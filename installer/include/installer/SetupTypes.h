// The values the installer's pieces pass between them: printer type, port kind, driver file set, the records
// read from the model files and the install job that the wizard fills and the engine works on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/OsGeneration.h"

namespace mq::installer {

using common::OsGeneration;

enum class PrinterType : int { kReceipt = 0, kTicket = 1, kLabel = 2, kEmbedded = 3 };
enum class PortKind : int { kSerial = 0, kParallel = 1, kUsb = 2, kNetwork = 3, kUnknown = -1 };
enum class FileSet { kGdi, kStd };

// Install file record: bare file names from the model file; "0" or "" means none.
struct InstallFiles {
  std::string driverDll;
  std::string dataFile;
  std::string configDll;
  std::string helpFile;
  std::string languageMonitorDll;
  std::string processorDll;
  std::string dataResourceDll;
  std::string uiPluginDll;
  std::string renderPluginDll;
  std::string pluginIni;
  std::string controlFontFile;
  std::string usbInternalId;
  std::array<std::string, 9> languageResources;
  std::string driverlogViewer;
  std::string driverlogIni;
};

// What AddPrinterDriver level 3 receives.
struct DriverRecord {
  uint32_t version = 3;
  std::string name;
  std::string environment;  // "" = the local environment
  std::string driverPath;
  std::string dataFile;
  std::string configFile;
  std::string helpFile;
  std::vector<std::string> dependentFiles;
  std::string monitorName;
};

// The fields of the printer record that are not zero.
struct PrinterRecord {
  std::string printerName;
  std::string portName;
  std::string driverName;
  std::string printProcessor;
  uint32_t attributes = 0;
};

// One model's driver for one system, file set and port kind.
struct ModelDriver {
  InstallFiles files;
  DriverRecord driver;
  PrinterRecord printer;
  bool universalDriver = false;     // the set's 2KDDKDEV switch is exactly "1"
  FileSet fileSet = FileSet::kGdi;  // the set whose keys were read
};

struct SerialSettings {
  int speed = 9600;
  int byteSize = 8;
  char parity = 'n';      // e, m, n, o, s
  double stopBits = 1.0;  // 1, 1.5 or 2
  char protocol = 'p';    // p hardware, x Xon/Xoff, ' ' none
};

// Result states of an installation run.
inline constexpr int kStateRunning = 0;
inline constexpr int kStateFailed = 1;
inline constexpr int kStateSucceeded = 2;

// Update flags: installed components older than the package's.
inline constexpr uint32_t kUpdateSerialMonitor = 1;
inline constexpr uint32_t kUpdateUsbMonitor = 2;
inline constexpr uint32_t kUpdateProcessor = 8;

// One installation run: the wizard's choices, then what preparation derives, then the results.
struct InstallJob {
  OsGeneration os = OsGeneration::kWin7;
  PrinterType type = PrinterType::kReceipt;
  std::string model;
  std::string portName;
  PortKind portKind = PortKind::kUnknown;
  bool raster = false;
  bool setDefault = false;
  bool typical = true;
  SerialSettings serial;
  std::array<uint8_t, 4> ipAddress{};  // the four fields of the IP address control
  int printerId = -1;

  // Filled by the preparation.
  ModelDriver driver;
  std::string utilityIniPath;

  // Results.
  std::string resultText;
  int resultState = kStateRunning;
  uint32_t updateFlags = 0;
};

}  // namespace mq::installer
