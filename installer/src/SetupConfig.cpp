// Reading the device list and model files of a package, and writing DriverUtility.ini.
#include "installer/SetupConfig.h"

#include <algorithm>
#include <cstdio>

#include "common/LanguageTexts.h"
#include "platform/Text.h"

namespace mq::installer {

using common::kNameLimit;
using common::kSwitchLimit;
using common::kTextLimit;
using common::kVersionLimit;
using common::LeadingNumber;

namespace {

struct Suffix {
  std::string_view text;
  PrinterType type;
};
constexpr Suffix kTypeSuffixes[] = {{"-ReceiptPrinter", PrinterType::kReceipt},
                                    {"-TicketPrinter", PrinterType::kTicket},
                                    {"-LabelPrinter", PrinterType::kLabel},
                                    {"-EmbeddedPrinter", PrinterType::kEmbedded}};

// Splits "XY-100-ReceiptPrinter" into its name and type; false when no type suffix ends the value.
bool SplitEntry(std::string_view value, std::string* name, PrinterType* type) {
  for (const Suffix& suffix : kTypeSuffixes) {
    if (value.size() >= suffix.text.size() &&
        text::EqualsNoCase(value.substr(value.size() - suffix.text.size()), suffix.text)) {
      *name = std::string(value.substr(0, value.size() - suffix.text.size()));
      *type = suffix.type;
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<ModelEntry> DeviceList::DefaultModel() const {
  for (const ModelEntry& entry : models) {
    if (entry.index == defaultIndex) return entry;
  }
  return std::nullopt;
}

FileSet ChooseFileSet(bool raster, int gdiStdSign, PortKind portKind) {
  FileSet set = raster ? FileSet::kGdi : FileSet::kStd;
  if (gdiStdSign != 0) {
    if (portKind == PortKind::kSerial) set = FileSet::kGdi;
    if (portKind == PortKind::kUsb) set = FileSet::kStd;
  }
  return set;
}

std::string_view PrinterTypeName(PrinterType type) {
  switch (type) {
    case PrinterType::kReceipt:
      return "receipt";
    case PrinterType::kTicket:
      return "ticket";
    case PrinterType::kLabel:
      return "label";
    case PrinterType::kEmbedded:
      return "embedded";
  }
  return "receipt";
}

SetupConfig::SetupConfig(platform::Profile& profile, std::string packageFolder, bool is64BitWindows)
    : reader_(profile), packageFolder_(std::move(packageFolder)), is64_(is64BitWindows) {}

std::string SetupConfig::DeviceListFile() const {
  return text::JoinPath(packageFolder_, "DRVCONFIG\\setup.ini");
}

std::string SetupConfig::ModelFile(PrinterType type) const {
  std::string name = "DRVCONFIG\\setup_" + std::string(PrinterTypeName(type)) + (is64_ ? "_64.ini" : ".ini");
  return text::JoinPath(packageFolder_, name);
}

std::string SetupConfig::OsSection(std::string_view model, OsGeneration os) {
  return std::string(model) + std::string(common::OsSectionSuffix(os));
}

DeviceList SetupConfig::ReadDeviceList() const {
  DeviceList list;
  std::string file = DeviceListFile();
  int count = reader_.Integer(file, "DEVICENAME", "DEVICENUMBER");
  list.claimedEntries = count;
  // One read per entry: a count beyond what the model page can list is not followed.
  count = std::min(count, kMaxDeviceEntries);
  for (int i = 1; i <= count; ++i) {
    std::string value = reader_.Text(file, "DEVICENAME", "DEVICENAME" + std::to_string(i));
    ModelEntry entry;
    entry.index = i;
    if (SplitEntry(value, &entry.name, &entry.type)) {
      list.models.push_back(entry);
      list.lastEntryName = entry.name;
    } else {
      list.lastEntryName = value;
    }
  }
  list.defaultIndex = reader_.Integer(file, "DEVICENAME", "DEFAULTNAME");
  return list;
}

PackageSwitches SetupConfig::ReadSwitches() const {
  PackageSwitches s;
  std::string file = DeviceListFile();
  s.supported32Or64 = reader_.Integer(file, "DEVICENAME", "Supported32OR64");
  s.loadLicense = reader_.Integer(file, "DEVICENAME", "LOADLICENSE");
  s.gdiStdSign = reader_.Integer(file, "DEVICENAME", "GDISTDSign");
  s.supportedUsbMode = reader_.Integer(file, "DEVICENAME", "SupportedUSBMODE");
  s.shellExeName = reader_.Text(file, "DEVICENAME", "SHELLEXENAME");
  s.infFileName = reader_.profile().GetString(file, "DEVICENAME", "Inffilename", "err", kTextLimit + 1);
  s.processorVersion = LeadingNumber(reader_.Text(file, "ProcessorVersion", "DriverVersion", kVersionLimit));
  return s;
}

MonitorSet SetupConfig::ReadMonitors(OsGeneration os) const {
  MonitorSet m;
  std::string file = DeviceListFile();
  std::string section = "COMMON-MONITOR" + std::string(common::OsSectionSuffix(os));
  auto read = [&](std::string_view prefix, MonitorConfig* config) {
    std::string p(prefix);
    config->name = reader_.Text(file, section, p + "PName", kNameLimit);
    config->dll = reader_.Text(file, section, p + "PDLLName", kTextLimit);
    config->uiDll = reader_.Text(file, section, p + "PUIDLLName", kNameLimit);
    config->version = LeadingNumber(reader_.Text(file, section, p + "Version", kVersionLimit));
  };
  read("COMMONitor", &m.serial);
  read("USBMONitor", &m.usb);
  m.language.name = reader_.Text(file, section, "USBLMONitorName", kNameLimit);
  m.language.dll = reader_.Text(file, section, "USBLMONitorDLLName", kTextLimit);
  std::string version = reader_.Text(file, section, "USBLMONitorVersion", kVersionLimit);
  m.language.version = LeadingNumber(version);
  m.language.used = !(m.language.name.size() == 1 && m.language.dll.size() == 1 && version.size() == 1);
  return m;
}

PortCaps SetupConfig::ReadPortCaps(PrinterType type, std::string_view model) const {
  PortCaps c;
  std::string file = ModelFile(type);
  std::string section = PortSection(model);
  auto get = [&](std::string_view key) { return reader_.Integer(file, section, key); };
  c.usb = get("USBSUPPORTED");
  c.lpt = get("LPTSUPPORTED");
  c.com = get("COMSUPPORTED");
  c.net = get("NETSUPPORTED");
  c.classSupported = get("CLASSSUPPORTED");
  c.lptDefault = get("LPTDEFAULT");
  c.rasterVisible = get("RASTERVISIABLE");
  c.advancedSetup = get("AdvancedSetup");
  c.baudRate = get("BaudRate");
  c.ntSupported = get("SystemNTSupported");
  c.server2003Supported = get("System2003Supported");
  c.vistaSupported = get("SystemVistaSupported");
  c.server2008Supported = get("System2008Supported");
  c.win7Supported = get("SystemWin7Supported");
  return c;
}

int SetupConfig::SupportedUsbDeviceValue(std::string_view portName) const {
  return reader_.Integer(DeviceListFile(), "SUPPORTED-USB-DEVICE", portName);
}

std::string SetupConfig::UsbClassHardwareId(std::string_view model, int port) const {
  if (port < 2 || port > 4) port = 1;
  return reader_.profile().GetString(DeviceListFile(), "USBCLASSPRINTER",
                                     std::string(model) + "(U)" + std::to_string(port), "ERR",
                                     kTextLimit + 1);
}

std::string SetupConfig::DriverNameKey(OsGeneration os, PortKind portKind) {
  if (!common::IsWindows2000OrLater(os)) return "GDIDriverName";
  static constexpr std::string_view kByKind[] = {"DriverNameS", "DriverNameP", "DriverNameU", "DriverNameN"};
  int kind = static_cast<int>(portKind);
  return kind >= 0 && kind < 4 ? std::string(kByKind[kind]) : std::string();
}

ModelDriver SetupConfig::ReadModelDriver(PrinterType type, std::string_view model, OsGeneration os,
                                         FileSet set, PortKind portKind) const {
  ModelDriver d;
  std::string file = ModelFile(type);
  std::string section = OsSection(model, os);
  std::string prefix = set == FileSet::kGdi ? "GDI" : "STD";
  auto text = [&](std::string_view key, uint32_t limit = kTextLimit) {
    return reader_.Text(file, section, key, limit);
  };
  auto bySet = [&](std::string_view key, uint32_t limit = kTextLimit) {
    return text(prefix + std::string(key), limit);
  };

  std::string nameKey = DriverNameKey(os, portKind);
  std::string driverName = nameKey.empty() ? "0" : text(nameKey, kNameLimit);

  InstallFiles& f = d.files;
  f.driverDll = bySet("DriverPath");
  f.dataFile = bySet("DataFile");
  f.configDll = bySet("ConfigFile");
  f.helpFile = bySet("HelpFile");
  f.dataResourceDll = bySet("DataFileDLLName");
  f.uiPluginDll = bySet("DataOemuiDLL");
  f.renderPluginDll = bySet("DataOemuniDLL");
  f.pluginIni = bySet("DataOemuniini");
  f.processorDll = bySet("ProcessorDLLName");
  f.controlFontFile = text("ControlFontFile");
  f.usbInternalId = text("USBInternalID");
  for (size_t i = 0; i < f.languageResources.size(); ++i) {
    f.languageResources[i] = text("LanguageResourceFile" + std::to_string(i + 1));
  }
  f.driverlogViewer = text("DriverlogViewer");
  f.driverlogIni = text("DriverlogINI");
  f.languageMonitorDll.clear();

  d.universalDriver = bySet("2KDDKDEV", kSwitchLimit) == "1";
  d.fileSet = set;

  DriverRecord& r = d.driver;
  r.version = common::IsWindows9x(os) ? 0 : os == OsGeneration::kNt4 ? 2 : 3;
  r.name = driverName;
  r.environment = common::IsWindows9x(os) ? "Windows 4.0" : "";
  r.driverPath = f.driverDll;
  r.dataFile = f.dataFile;
  r.configFile = f.configDll;
  r.helpFile = f.helpFile;
  if (common::IsWindows2000OrLater(os) && LeadingNumber(text("GDI2KDDKDEV", kSwitchLimit)) != 0) {
    // Built as a list of names, so a long list is never cut or overrun; empty names are left out because an
    // empty entry would end the zero-separated list early.
    r.dependentFiles = {f.dataFile, "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD"};
    for (const std::string* extra : {&f.dataResourceDll, &f.uiPluginDll, &f.renderPluginDll, &f.pluginIni}) {
      if (!extra->empty() && !common::NamesNoFile(*extra)) r.dependentFiles.push_back(*extra);
    }
  }

  PrinterRecord& p = d.printer;
  p.printerName = std::string(model);
  p.driverName = driverName;
  p.printProcessor = bySet("PrintProcessor", kNameLimit);
  p.attributes = static_cast<uint32_t>(LeadingNumber(text("ATTRIBUTES", kNameLimit)));
  return d;
}

std::string SetupConfig::LicenceFile(uint16_t langId) const {
  std::string tag(common::LanguageTag(common::ChooseLanguage(langId)));
  return text::JoinPath(packageFolder_, "License\\License_" + tag + ".txt");
}

std::string SetupConfig::HelpFile(uint16_t langId) {
  return ".\\Guide\\Guide_" + std::string(common::LanguageTag(common::ChooseLanguage(langId))) + ".chm";
}

bool SetupConfig::PackageUsable() const {
  DeviceList list = ReadDeviceList();
  for (PrinterType type :
       {PrinterType::kReceipt, PrinterType::kTicket, PrinterType::kLabel, PrinterType::kEmbedded}) {
    PortCaps caps = ReadPortCaps(type, list.lastEntryName);
    if (caps.usb != 0 || caps.lpt != 0 || caps.com != 0) return true;
  }
  return false;
}

uint32_t WriteDriverUtilityIni(platform::Profile& profile, std::string_view iniPath, bool is64BitWindows,
                               const UtilityPortSettings& settings) {
  uint32_t first = 0;
  auto write = [&](std::string_view section, std::string_view key, std::string_view value) {
    uint32_t e = profile.WriteString(iniPath, section, key, value);
    if (first == 0) first = e;
  };
  switch (settings.kind) {
    case PortKind::kSerial: {
      std::string name = settings.portName;
      if (!is64BitWindows) name = name.size() > 3 ? name.substr(3) : std::string();
      char stop[32];
      std::snprintf(stop, sizeof stop, "%1.1f", settings.serial.stopBits);
      write("PortSetting.COM", "PortName", name);
      write("PortSetting.COM", "BitsPerSecond", std::to_string(settings.serial.speed));
      write("PortSetting.COM", "DataBits", std::to_string(settings.serial.byteSize));
      write("PortSetting.COM", "StopBits", stop);
      write("PortSetting.COM", "FlowControl", std::string(1, settings.serial.protocol));
      break;
    }
    case PortKind::kParallel:
      write("PortSetting.LPT", "PortName", settings.portName);
      break;
    case PortKind::kNetwork:
      write("PortSetting.NET", "IPAddr", settings.ipAddress);
      break;
    default:
      break;
  }
  return first;
}

}  // namespace mq::installer
