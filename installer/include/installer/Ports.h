// Ports of the installer: the port kind of a name, the port lists of the port page with their preselection
// and enabling rules, the network port created through the standard TCP/IP port monitor, the serial line
// settings stored for the system, and the registry records of USB ports.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/LanguageTexts.h"
#include "installer/SetupConfig.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "platform/UsbDevices.h"

namespace mq::installer {

// Tested in this order: "USB" 2, "COM" 0, "LPT" 1, "NET" 3, else kUnknown (case-sensitive, as listed names
// are).
PortKind PortKindOf(std::string_view portName);

// "9600,n,8,1,p"; stop bits 1.5 keep one decimal ("19200,e,7,1.5,x").
std::string SerialSettingsText(const SerialSettings& settings);
// The settings name: the port name from "COM" on ("ZNTCOM3:" gives "COM3:"); "" when there is no "COM".
std::string SerialSettingsName(std::string_view portName);

// The serial settings as the port page's lists show them: the numbers of the speed, byte size and stop-bit
// entries, the first letter of the parity text (lower-cased) and the protocol text compared exactly with
// "Xon/Xoff", "Hardware" and "None". A protocol text that is none of them keeps previous.protocol; entries
// that hold no number keep their previous value too.
SerialSettings SerialSettingsFromPage(std::string_view speed, std::string_view byteSize,
                                      std::string_view stopBits, std::string_view parity,
                                      std::string_view protocol, const SerialSettings& previous);

// The 28-byte DCB record of Windows 98 for the settings.
std::array<uint8_t, 28> BuildDcb(const SerialSettings& settings);

// Stores the serial settings: REG_SZ under HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion\Ports" on NT
// systems; on Windows 98 win.ini [Ports], the settings-change broadcast, the flush of win.ini and the DCB of
// ports 1 and 2. Write
// failures are not reported (the port still works with the driver's defaults).
void WriteSerialSettings(platform::Registry& registry, platform::Profile& profile, platform::Spooler& spooler,
                         OsGeneration os, std::string_view portName, const SerialSettings& settings);

// "ZNTIP_" + dotted address.
std::string NetworkPortName(const std::array<uint8_t, 4>& address);
std::string DottedAddress(const std::array<uint8_t, 4>& address);

// The 964-byte PORT_DATA_1 record of the standard TCP/IP port monitor for a raw port 9100. Names longer than
// the record's fields are cut so that each keeps its terminating zero.
std::vector<uint8_t> BuildPortData1(std::string_view portName, std::string_view hostAddress);

// Opens ",XcvMonitor Standard TCP/IP Port" and sends "AddPort". 0 on success, also when the monitor answers
// that the port exists and the spooler lists a port of exactly that name; else the Windows error of the open,
// of the call, or the monitor's own status.
uint32_t CreateNetworkPort(platform::Spooler& spooler, std::string_view portName,
                           std::string_view hostAddress);

// The PORTNAME record of a USB port ([SUPPORTED-USB-DEVICE] value) and the PRINTERPORT key. Failures are not
// reported.
void RecordUsbPort(platform::Registry& registry, const SetupConfig& config, std::string_view portName);

// The port page as logic: its list, selection and the enabled or visible state of the controls that depend on
// the selected port.
struct PortPage {
  std::vector<std::string> ports;
  int selected = -1;
  bool serialListsEnabled = true;
  bool ipFieldEnabled = false;
  bool rasterVisible = false;
  bool rasterEnabled = true;
  bool rasterChecked = false;
  // The note on serial support (IDS_ERR_UNSUPPORTCOM) and the note on the vendor USB driver
  // (IDS_ERR_UPDATEUSB).
  bool comNoteVisible = false;
  bool usbNoteVisible = false;
  std::string comNote;
  std::string usbNote;
  int printerId = -1;   // 1..8 when a vendor-driver printer answered
  int speedIndex = -1;  // entry of the speed list preselected from BaudRate, -1 none
};

struct PortListInput {
  PortCaps caps;
  OsGeneration os = OsGeneration::kWin7;
  bool is64BitWindows = false;
  bool typical = true;
  std::string windowsDirectory;
};

// Builds the list for typical or advanced setup and adjusts the page to the preselected entry.
PortPage BuildPortList(const PortListInput& input, platform::UsbDevices& usb,
                       const common::LanguageTexts& texts);
// Adjusts the page after the user selected another entry.
void SelectPort(PortPage& page, int index, const PortListInput& input, platform::UsbDevices& usb,
                const common::LanguageTexts& texts);

// The serial settings the port page starts with: the model's BaudRate when the speed list has it (else 9600),
// 8 data bits, no parity, 1 stop bit, hardware protocol.
SerialSettings PageSerialSettings(const PortCaps& caps);

// The speed list entry of a BaudRate value (1200 .. 115200 give 0 .. 7), -1 for any other value.
int SpeedIndexOf(int baudRate);

}  // namespace mq::installer
