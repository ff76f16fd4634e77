// The Windows print spooler (winspool) as the installer, the uninstaller and the plug-in's raw jobs use it:
// driver and processor folders, port monitors, print processors, printer drivers, printers, ports, the port
// monitors' transceiver (XcvData), the default printer, and the document calls that send bytes to a printer.
// Names are UTF-8. Every operation returns a Windows error code, 0 on success, with outputs untouched on
// failure. An empty environment means the local one ("Windows NT x86" or "Windows x64").
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mq::platform {

using PrinterHandle = std::uintptr_t;

// PRINTER_ATTRIBUTE_DEFAULT.
inline constexpr uint32_t kPrinterAttributeDefault = 0x4;
// PRINTER_ACCESS_ADMINISTER / SERVER_ACCESS_ADMINISTER (desired access 1 on a transceiver).
inline constexpr uint32_t kServerAccessAdminister = 0x1;
inline constexpr uint32_t kPrinterAllAccess = 0xF000C;
// DPD_DELETE_UNUSED_FILES of DeletePrinterDriverEx.
inline constexpr uint32_t kDeleteUnusedFiles = 0x1;

// DRIVER_INFO_3.
struct DriverInfo3 {
  uint32_t version = 3;
  std::string name;
  std::string environment;
  std::string driverPath;
  std::string dataFile;
  std::string configFile;
  std::string helpFile;
  std::vector<std::string> dependentFiles;  // sent as a zero-separated list ended by an extra zero
  std::string monitorName;
  std::string defaultDataType;
};

// PRINTER_INFO_2, the fields the package reads or writes (the device mode and security descriptor stay null).
struct PrinterInfo2 {
  std::string printerName;
  std::string shareName;
  std::string portName;
  std::string driverName;
  std::string comment;
  std::string location;
  std::string printProcessor;
  std::string dataType;
  std::string parameters;
  uint32_t attributes = 0;
  uint32_t priority = 0;
  uint32_t status = 0;
  uint32_t jobs = 0;
};

// MONITOR_INFO_2.
struct MonitorInfo2 {
  std::string name;
  std::string environment;
  std::string dllName;
};

// FORM_INFO_1W: a named paper size of the local forms database, sizes and the printable area in thousandths
// of a millimetre.
inline constexpr uint32_t kFormUser = 0;                 // FORM_USER
inline constexpr uint32_t kFormBuiltin = 1;              // FORM_BUILTIN
inline constexpr uint32_t kErrorInvalidFormName = 1902;  // ERROR_INVALID_FORM_NAME
struct FormInfo1 {
  uint32_t flags = kFormUser;
  std::string name;
  int32_t width = 0;
  int32_t height = 0;
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

class Spooler {
 public:
  virtual ~Spooler() = default;

  // GetPrinterDriverDirectoryW / GetPrintProcessorDirectoryW on the local server, level 1; no trailing
  // backslash.
  virtual uint32_t GetPrinterDriverDirectory(std::string_view environment, std::string* folder) = 0;
  virtual uint32_t GetPrintProcessorDirectory(std::string_view environment, std::string* folder) = 0;

  // AddMonitorW level 2 (the spooler loads the DLL from the system folder);
  // ERROR_PRINT_MONITOR_ALREADY_INSTALLED for a name in use. DeleteMonitorW; EnumMonitorsW level 2.
  virtual uint32_t AddMonitor(const MonitorInfo2& monitor) = 0;
  virtual uint32_t DeleteMonitor(std::string_view environment, std::string_view name) = 0;
  virtual uint32_t EnumMonitors(std::vector<MonitorInfo2>* monitors) = 0;

  // AddPrintProcessorW(environment, DLL file name in the processor folder, processor name);
  // ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED for a name in use. DeletePrintProcessorW; EnumPrintProcessorsW
  // level 1 (names).
  virtual uint32_t AddPrintProcessor(std::string_view environment, std::string_view dllName,
                                     std::string_view processorName) = 0;
  virtual uint32_t DeletePrintProcessor(std::string_view environment, std::string_view processorName) = 0;
  virtual uint32_t EnumPrintProcessors(std::string_view environment, std::vector<std::string>* names) = 0;

  // AddPrinterDriverW level 3 (replaces a driver of the same name and environment); DeletePrinterDriverW;
  // EnumPrinterDriversW level 3.
  virtual uint32_t AddPrinterDriver(const DriverInfo3& driver) = 0;
  virtual uint32_t DeletePrinterDriver(std::string_view environment, std::string_view name) = 0;
  virtual uint32_t EnumPrinterDrivers(std::string_view environment, std::vector<DriverInfo3>* drivers) = 0;
  // DeletePrinterDriverExW on the local server, looked up by name (systems before Windows 2000 lack it:
  // ERROR_PROC_NOT_FOUND). deleteFlags kDeleteUnusedFiles also removes the driver's files that no other
  // driver uses. ERROR_PRINTER_DRIVER_IN_USE while a printer still uses the driver.
  virtual uint32_t DeletePrinterDriverEx(std::string_view environment, std::string_view name,
                                         uint32_t deleteFlags, uint32_t versionFlag) = 0;

  // AddPrinterW level 2: ERROR_PRINTER_ALREADY_EXISTS for a name in use, ERROR_UNKNOWN_PRINTER_DRIVER,
  // ERROR_UNKNOWN_PRINTPROCESSOR. The handle it returns is closed here; open the printer again to use it.
  virtual uint32_t AddPrinter(const PrinterInfo2& printer) = 0;
  // EnumPrintersW(PRINTER_ENUM_LOCAL, level 2).
  virtual uint32_t EnumPrinters(std::vector<PrinterInfo2>* printers) = 0;

  // OpenPrinterW with the desired access (no data type, no device mode). A name of the form ",XcvMonitor <m>"
  // or ",XcvPort <p>" opens a port monitor's transceiver. ERROR_INVALID_PRINTER_NAME when nothing has the
  // name.
  virtual uint32_t OpenPrinter(std::string_view name, uint32_t access, PrinterHandle* handle) = 0;
  virtual uint32_t ClosePrinter(PrinterHandle handle) = 0;
  // GetPrinterW / SetPrinterW level 2 (command 0), DeletePrinter on an open printer.
  virtual uint32_t GetPrinter(PrinterHandle handle, PrinterInfo2* printer) = 0;
  virtual uint32_t SetPrinter(PrinterHandle handle, const PrinterInfo2& printer) = 0;
  virtual uint32_t DeletePrinter(PrinterHandle handle) = 0;

  // SetDefaultPrinterW.
  virtual uint32_t SetDefaultPrinter(std::string_view printerName) = 0;

  // EnumPortsW level 1 into a buffer of bufferSize bytes: ERROR_INSUFFICIENT_BUFFER with *needed set when it
  // is too small (ports untouched), else the port names and *needed.
  virtual uint32_t EnumPorts(uint32_t bufferSize, uint32_t* needed, std::vector<std::string>* ports) = 0;
  // DeletePortW on the local server with no window; ERROR_UNKNOWN_PORT for a name no monitor has.
  virtual uint32_t DeletePort(std::string_view name) = 0;

  // XcvDataW on a transceiver handle: the command ("AddPort", "DeletePort", ...), its input bytes and an
  // output buffer of outputSize bytes. Returns the call's error; *status receives the monitor's own status,
  // which must also be 0 for the command to have worked.
  virtual uint32_t XcvData(PrinterHandle handle, std::string_view command, std::span<const uint8_t> input,
                           uint32_t outputSize, std::vector<uint8_t>* output, uint32_t* status) = 0;

  // A raw document on an open printer, in the order the spooler wants them: StartDocPrinterW level 1
  // (DOC_INFO_1W with the document name, no output file and the data type; *jobId receives the job number),
  // StartPagePrinter, WritePrinter once per block (*written receives the bytes the spooler took, which may be
  // fewer than given), EndPagePrinter and EndDocPrinter.
  virtual uint32_t StartDocPrinter(PrinterHandle handle, std::string_view documentName,
                                   std::string_view dataType, uint32_t* jobId) = 0;
  virtual uint32_t StartPagePrinter(PrinterHandle handle) = 0;
  virtual uint32_t WritePrinter(PrinterHandle handle, std::span<const uint8_t> bytes, uint32_t* written) = 0;
  virtual uint32_t EndPagePrinter(PrinterHandle handle) = 0;
  virtual uint32_t EndDocPrinter(PrinterHandle handle) = 0;

  // The forms of a printer's server, level 1. EnumFormsW into a buffer of bufferSize bytes:
  // ERROR_INSUFFICIENT_BUFFER with *needed set when it is too small (forms untouched), else the forms in the
  // spooler's order and *needed. AddFormW: ERROR_FILE_EXISTS for a name in use. SetFormW replaces the size
  // and area of the form of that name; it and DeleteFormW give ERROR_INVALID_FORM_NAME for an unknown name,
  // and built-in forms cannot be changed or deleted.
  virtual uint32_t EnumForms(PrinterHandle handle, uint32_t bufferSize, uint32_t* needed,
                             std::vector<FormInfo1>* forms) = 0;
  virtual uint32_t AddForm(PrinterHandle handle, const FormInfo1& form) = 0;
  virtual uint32_t SetForm(PrinterHandle handle, std::string_view name, const FormInfo1& form) = 0;
  virtual uint32_t DeleteForm(PrinterHandle handle, std::string_view name) = 0;

  // SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, area, SMTO_NORMAL, timeout): tells every program
  // that the printer or port settings of area ("windows", "Ports") changed. Never fails.
  virtual void BroadcastSettingChange(std::string_view area, uint32_t timeoutMs) = 0;
};

}  // namespace mq::platform
