// Port lists, port kinds, network ports, serial settings and USB port records.
#include "installer/Ports.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "installer/InstallerMessages.h"
#include "platform/RegistryText.h"
#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::installer {

namespace {

constexpr std::string_view kPortsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

void PutU32(std::vector<uint8_t>& record, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Writes text as UTF-16LE into a field of maxUnits units, keeping room for the terminating zero.
void PutWide(std::vector<uint8_t>& record, size_t offset, std::string_view text, size_t maxUnits) {
  std::u16string wide = text::Utf8ToUtf16(text::TruncateUtf16(text, maxUnits - 1));
  for (size_t i = 0; i < wide.size(); ++i) {
    record[offset + 2 * i] = static_cast<uint8_t>(wide[i] & 0xFF);
    record[offset + 2 * i + 1] = static_cast<uint8_t>(wide[i] >> 8);
  }
}

// True when the spooler lists a port of exactly this name (port names are case-blind).
bool PortListed(platform::Spooler& spooler, std::string_view portName) {
  uint32_t needed = 0;
  std::vector<std::string> ports;
  uint32_t e = spooler.EnumPorts(0, &needed, &ports);
  if (e == err::kInsufficientBuffer) e = spooler.EnumPorts(needed, &needed, &ports);
  if (e != 0) return false;
  return std::any_of(ports.begin(), ports.end(),
                     [&](const std::string& port) { return text::EqualsNoCase(port, portName); });
}

int FirstContaining(const std::vector<std::string>& ports, std::string_view a, char digit = 0) {
  for (size_t i = 0; i < ports.size(); ++i) {
    if (ports[i].find(a) == std::string::npos) continue;
    if (digit != 0 && ports[i].find(digit) == std::string::npos) continue;
    return static_cast<int>(i);
  }
  return -1;
}

void Adjust(PortPage& page, const PortListInput& input, platform::UsbDevices& usb,
            const common::LanguageTexts& texts, bool atBuild) {
  if (page.selected < 0 || page.selected >= static_cast<int>(page.ports.size())) return;
  PortKind kind = PortKindOf(page.ports[page.selected]);
  switch (kind) {
    case PortKind::kSerial:
      page.serialListsEnabled = true;
      page.rasterEnabled = false;
      page.rasterChecked = false;
      page.usbNoteVisible = false;
      page.ipFieldEnabled = false;
      break;
    case PortKind::kParallel:
    case PortKind::kNetwork:
      page.serialListsEnabled = false;
      page.rasterEnabled = true;
      page.rasterChecked = true;
      page.usbNoteVisible = false;
      page.ipFieldEnabled = kind == PortKind::kNetwork;
      break;
    case PortKind::kUsb: {
      page.serialListsEnabled = false;
      page.rasterEnabled = true;
      page.rasterChecked = true;
      if (!common::IsWindows2000OrLater(input.os)) break;
      std::string version = usb.FileVersion(input.windowsDirectory + "\\system32\\drivers\\ZNUSB.sys");
      bool absent = version == "0.0.0.0";
      page.usbNote = InstallerMessage(texts, "IDS_ERR_UPDATEUSB");
      if (atBuild) {
        page.usbNoteVisible = !input.typical && absent;
      } else if (absent) {
        page.usbNoteVisible = false;
        page.ipFieldEnabled = false;
      } else {
        page.usbNoteVisible = !input.typical;
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace

PortKind PortKindOf(std::string_view portName) {
  if (portName.find("USB") != std::string_view::npos) return PortKind::kUsb;
  if (portName.find("COM") != std::string_view::npos) return PortKind::kSerial;
  if (portName.find("LPT") != std::string_view::npos) return PortKind::kParallel;
  if (portName.find("NET") != std::string_view::npos) return PortKind::kNetwork;
  return PortKind::kUnknown;
}

std::string SerialSettingsText(const SerialSettings& s) {
  char buffer[64];
  const char* format = s.stopBits == 1.5 ? "%d,%c,%d,%.1f,%c" : "%d,%c,%d,%.0f,%c";
  std::snprintf(buffer, sizeof buffer, format, s.speed, s.parity, s.byteSize, s.stopBits, s.protocol);
  return buffer;
}

SerialSettings SerialSettingsFromPage(std::string_view speed, std::string_view byteSize,
                                      std::string_view stopBits, std::string_view parity,
                                      std::string_view protocol, const SerialSettings& previous) {
  SerialSettings s = previous;
  if (int value = common::LeadingNumber(speed); value > 0) s.speed = value;
  if (int value = common::LeadingNumber(byteSize); value > 0) s.byteSize = value;
  if (stopBits == "1") s.stopBits = 1.0;
  if (stopBits == "1.5") s.stopBits = 1.5;
  if (stopBits == "2") s.stopBits = 2.0;
  if (!parity.empty()) s.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(parity.front())));
  if (protocol == "Xon/Xoff") s.protocol = 'x';
  if (protocol == "Hardware") s.protocol = 'p';
  if (protocol == "None") s.protocol = ' ';
  return s;
}

std::string SerialSettingsName(std::string_view portName) {
  size_t at = portName.find("COM");
  return at == std::string_view::npos ? std::string() : std::string(portName.substr(at));
}

std::array<uint8_t, 28> BuildDcb(const SerialSettings& s) {
  std::array<uint8_t, 28> dcb{};
  auto put32 = [&](size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) dcb[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  // Bit fields of the third DWORD: fBinary 0, fParity 1, fOutxCtsFlow 2, fOutX 8, fInX 9, fErrorChar 10,
  // fRtsControl 12-13.
  uint32_t flags = 1u;
  uint8_t parity = 0;
  switch (s.parity) {
    case 'e':
      parity = 2;
      break;
    case 'm':
      parity = 3;
      break;
    case 'o':
      parity = 1;
      break;
    case 's':
      parity = 4;
      break;
    default:
      parity = 0;
      break;
  }
  if (parity != 0) flags |= (1u << 1) | (1u << 10);
  if (s.protocol == 'p') flags |= (1u << 2) | (1u << 12);  // CTS output flow, RTS_CONTROL_ENABLE
  if (s.protocol == 'x') flags |= (1u << 8) | (1u << 9);
  put32(0, 28);
  put32(4, static_cast<uint32_t>(s.speed));
  put32(8, flags);
  dcb[18] = static_cast<uint8_t>(s.byteSize);
  dcb[19] = parity;
  dcb[20] = s.stopBits == 1.5 ? 1 : s.stopBits == 2.0 ? 2 : 0;
  if (s.protocol == 'x') {
    dcb[21] = 17;  // XON
    dcb[22] = 19;  // XOFF
  }
  return dcb;
}

void WriteSerialSettings(platform::Registry& registry, platform::Profile& profile, platform::Spooler& spooler,
                         OsGeneration os, std::string_view portName, const SerialSettings& settings) {
  std::string name = SerialSettingsName(portName);
  if (name.empty()) return;
  std::string value = SerialSettingsText(settings);
  if (os != OsGeneration::kWin98) {
    platform::RegKey key = 0;
    if (registry.CreateKey(platform::kHkeyLocalMachine, kPortsKey, platform::kKeyWrite, &key, nullptr) == 0) {
      platform::WriteRegString(registry, key, name, value);
      registry.CloseKey(key);
    }
    return;
  }
  profile.WriteString("win.ini", "Ports", name, value);
  spooler.BroadcastSettingChange("Ports", 1000);
  profile.Flush("win.ini");
  // The DCB goes to ports 1 and 2 only, chosen by the first digit after "COM" (COM12 counts as port 1).
  char digit = name.size() > 3 ? name[3] : 0;
  if (digit != '1' && digit != '2') return;
  int wanted = digit - '0';
  int found = 0;
  for (int i = 0; i < 4; ++i) {
    std::string path = "System\\CurrentControlSet\\Services\\Class\\Ports\\000" + std::to_string(i);
    platform::RegKey key = 0;
    if (registry.OpenKey(platform::kHkeyLocalMachine, path, platform::kKeyAllAccess, &key) != 0) continue;
    uint8_t subClass[16] = {};
    uint32_t size = sizeof subClass;
    uint32_t type = 0;
    uint32_t e = registry.QueryValue(key, "PortSubClass", &type, subClass, &size);
    if (e == 0 && size >= 1 && subClass[0] == 1 && ++found == wanted) {
      std::array<uint8_t, 28> dcb = BuildDcb(settings);
      registry.SetValue(key, "DCB", platform::kRegNone, dcb.data(), static_cast<uint32_t>(dcb.size()));
      registry.CloseKey(key);
      return;
    }
    registry.CloseKey(key);
  }
}

std::string DottedAddress(const std::array<uint8_t, 4>& a) {
  return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
         std::to_string(a[3]);
}

std::string NetworkPortName(const std::array<uint8_t, 4>& address) {
  return "ZNTIP_" + DottedAddress(address);
}

std::vector<uint8_t> BuildPortData1(std::string_view portName, std::string_view hostAddress) {
  // Offsets of the published PORT_DATA_1 layout (little-endian, UTF-16 names with their zero inside the
  // field).
  std::vector<uint8_t> record(964, 0);
  PutWide(record, 0, portName, 64);       // sztPortName
  PutU32(record, 128, 1);                 // dwVersion
  PutU32(record, 132, 1);                 // dwProtocol: PROTOCOL_RAWTCP_TYPE
  PutU32(record, 136, 964);               // cbSize
  PutWide(record, 144, hostAddress, 49);  // sztHostAddress
  PutWide(record, 242, "public", 33);     // sztSNMPCommunity
  PutU32(record, 308, 1);                 // dwDoubleSpool
  PutU32(record, 952, 9100);              // dwPortNumber
  PutU32(record, 956, 0);                 // dwSNMPEnabled
  PutU32(record, 960, 1);                 // dwSNMPDevIndex
  return record;
}

uint32_t CreateNetworkPort(platform::Spooler& spooler, std::string_view portName,
                           std::string_view hostAddress) {
  platform::PrinterHandle handle = 0;
  if (uint32_t e = spooler.OpenPrinter(",XcvMonitor Standard TCP/IP Port", platform::kServerAccessAdminister,
                                       &handle)) {
    return e;
  }
  std::vector<uint8_t> record = BuildPortData1(portName, hostAddress);
  std::vector<uint8_t> output;
  uint32_t status = 0;
  uint32_t e = spooler.XcvData(handle, "AddPort", record, 260, &output, &status);
  spooler.ClosePrinter(handle);
  uint32_t result = e != 0 ? e : status;
  // The port of an earlier run at this address (one that failed later, say) is the port wanted: it is used,
  // so that a retry is not blocked by what the failed run left.
  if (result == err::kAlreadyExists && PortListed(spooler, portName)) return 0;
  return result;
}

void RecordUsbPort(platform::Registry& registry, const SetupConfig& config, std::string_view portName) {
  int value = config.SupportedUsbDeviceValue(portName);
  platform::RegKey key = 0;
  if (registry.CreateKey(platform::kHkeyLocalMachine, "SOFTWARE\\ZNT\\PORTNAME", platform::kKeyAllAccess,
                         &key, nullptr) == 0) {
    uint32_t data = static_cast<uint32_t>(value);
    uint8_t bytes[4] = {static_cast<uint8_t>(data), static_cast<uint8_t>(data >> 8),
                        static_cast<uint8_t>(data >> 16), static_cast<uint8_t>(data >> 24)};
    registry.SetValue(key, portName, platform::kRegDword, bytes, 4);
    registry.CloseKey(key);
  }
  if (registry.CreateKey(platform::kHkeyLocalMachine, "SOFTWARE\\ZNT\\PRINTERPORT", platform::kKeyAllAccess,
                         &key, nullptr) == 0) {
    registry.CloseKey(key);
  }
}

SerialSettings PageSerialSettings(const PortCaps& caps) {
  SerialSettings settings;  // 8 data bits, no parity, 1 stop bit, hardware protocol
  if (SpeedIndexOf(caps.baudRate) >= 0) settings.speed = caps.baudRate;
  return settings;
}

int SpeedIndexOf(int baudRate) {
  static constexpr int kSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
  for (int i = 0; i < 8; ++i) {
    if (kSpeeds[i] == baudRate) return i;
  }
  return -1;
}

PortPage BuildPortList(const PortListInput& input, platform::UsbDevices& usb,
                       const common::LanguageTexts& texts) {
  PortPage page;
  const PortCaps& caps = input.caps;
  page.speedIndex = SpeedIndexOf(caps.baudRate);

  if (!common::IsWindows9x(input.os)) {
    if (caps.lpt != 0) {
      for (int i = 1; i <= 3; ++i) page.ports.push_back("LPT" + std::to_string(i) + ":");
    }
    if (caps.com != 0) {
      for (int i = 1; i <= 20; ++i) {
        page.ports.push_back((input.is64BitWindows ? "COM" : "ZNTCOM") + std::to_string(i) + ":");
      }
    }
  } else {
    // Windows 98 / Me: the standard ports of the system, each offered when the model supports its kind.
    if (caps.lpt != 0) page.ports.push_back("LPT1:");
    if (caps.com != 0) {
      page.ports.push_back("COM1:");
      page.ports.push_back("COM2:");
    }
  }
  if (caps.net != 0) {
    page.ports.push_back("NET:");
    page.ipFieldEnabled = true;
  }
  if (caps.com == 0 && common::IsNtFamily(input.os)) {
    page.comNote = InstallerMessage(texts, "IDS_ERR_UNSUPPORTCOM");
    page.comNoteVisible = true;
  }

  int classification = usb.ClassifyUsbDevices();
  int descriptor = usb.ReadPrinterId();
  bool answered = descriptor >= 0;
  if (answered) page.printerId = descriptor % 8 + 1;

  bool usbOffered = caps.usb != 0 && input.os != OsGeneration::kNt4;
  bool skipDefaultRule = false;
  if (usbOffered) {
    page.ports.push_back("ZNTUSB1");
    if (!input.typical && classification != platform::kUsbClassPrinters) {
      for (int i = 2; i <= 4; ++i) page.ports.push_back("ZNTUSB" + std::to_string(i));
    }
    if (classification != platform::kUsbClassPrinters) {
      page.serialListsEnabled = false;
      page.ipFieldEnabled = false;
    }
    if (answered) {
      if (input.typical) {
        page.selected = FirstContaining(page.ports, "USB");
      } else if (page.printerId > 4) {
        page.selected = 0;
      } else {
        page.selected = FirstContaining(page.ports, "USB", static_cast<char>('0' + page.printerId));
      }
      page.serialListsEnabled = false;
      page.ipFieldEnabled = false;
      skipDefaultRule = true;
    }
  }
  if (!skipDefaultRule) {
    if (!input.typical && caps.lpt == 0) page.selected = 0;
    if (caps.lptDefault == 1) {
      page.selected = caps.lpt != 0 ? FirstContaining(page.ports, "LPT") : 0;
    } else if (caps.lptDefault == 2 && caps.usb != 0) {
      page.selected = FirstContaining(page.ports, "USB");
    } else {
      page.selected = 0;
    }
  }
  if (classification != platform::kUsbNoDevice) {
    int usbEntry = FirstContaining(page.ports, "USB");
    if (usbEntry >= 0) page.selected = usbEntry;
    page.serialListsEnabled = false;
    page.ipFieldEnabled = false;
  }
  if (page.selected < 0 && !page.ports.empty()) page.selected = 0;
  if (page.ports.empty()) page.selected = -1;
  page.rasterVisible = !input.typical && caps.rasterVisible != 0;
  Adjust(page, input, usb, texts, true);
  return page;
}

void SelectPort(PortPage& page, int index, const PortListInput& input, platform::UsbDevices& usb,
                const common::LanguageTexts& texts) {
  if (index < 0 || index >= static_cast<int>(page.ports.size())) return;
  page.selected = index;
  Adjust(page, input, usb, texts, false);
}

}  // namespace mq::installer
