// The Win32 implementations of the roles the setup programs add: the print spooler (winspool), the service
// control manager, the Setup API's cabinet iterator and WOW64 file-system redirection (the USB roles are in
// Win32UsbRoles.h). Compiled only by the Windows builds.
#pragma once

#include "platform/Cabinet.h"
#include "platform/FsRedirection.h"
#include "platform/ServiceControl.h"
#include "platform/Spooler.h"

namespace mq::platform {

class Win32Spooler : public Spooler {
 public:
  uint32_t GetPrinterDriverDirectory(std::string_view environment, std::string* folder) override;
  uint32_t GetPrintProcessorDirectory(std::string_view environment, std::string* folder) override;
  uint32_t AddMonitor(const MonitorInfo2& monitor) override;
  uint32_t DeleteMonitor(std::string_view environment, std::string_view name) override;
  uint32_t EnumMonitors(std::vector<MonitorInfo2>* monitors) override;
  uint32_t AddPrintProcessor(std::string_view environment, std::string_view dllName,
                             std::string_view processorName) override;
  uint32_t DeletePrintProcessor(std::string_view environment, std::string_view processorName) override;
  uint32_t EnumPrintProcessors(std::string_view environment, std::vector<std::string>* names) override;
  uint32_t AddPrinterDriver(const DriverInfo3& driver) override;
  uint32_t DeletePrinterDriver(std::string_view environment, std::string_view name) override;
  uint32_t EnumPrinterDrivers(std::string_view environment, std::vector<DriverInfo3>* drivers) override;
  uint32_t DeletePrinterDriverEx(std::string_view environment, std::string_view name, uint32_t deleteFlags,
                                 uint32_t versionFlag) override;
  uint32_t AddPrinter(const PrinterInfo2& printer) override;
  uint32_t EnumPrinters(std::vector<PrinterInfo2>* printers) override;
  uint32_t OpenPrinter(std::string_view name, uint32_t access, PrinterHandle* handle) override;
  uint32_t ClosePrinter(PrinterHandle handle) override;
  uint32_t GetPrinter(PrinterHandle handle, PrinterInfo2* printer) override;
  uint32_t SetPrinter(PrinterHandle handle, const PrinterInfo2& printer) override;
  uint32_t DeletePrinter(PrinterHandle handle) override;
  uint32_t SetDefaultPrinter(std::string_view printerName) override;
  uint32_t EnumPorts(uint32_t bufferSize, uint32_t* needed, std::vector<std::string>* ports) override;
  uint32_t DeletePort(std::string_view name) override;
  uint32_t XcvData(PrinterHandle handle, std::string_view command, std::span<const uint8_t> input,
                   uint32_t outputSize, std::vector<uint8_t>* output, uint32_t* status) override;
  uint32_t StartDocPrinter(PrinterHandle handle, std::string_view documentName, std::string_view dataType,
                           uint32_t* jobId) override;
  uint32_t StartPagePrinter(PrinterHandle handle) override;
  uint32_t WritePrinter(PrinterHandle handle, std::span<const uint8_t> bytes, uint32_t* written) override;
  uint32_t EndPagePrinter(PrinterHandle handle) override;
  uint32_t EndDocPrinter(PrinterHandle handle) override;
  uint32_t EnumForms(PrinterHandle handle, uint32_t bufferSize, uint32_t* needed,
                     std::vector<FormInfo1>* forms) override;
  uint32_t AddForm(PrinterHandle handle, const FormInfo1& form) override;
  uint32_t SetForm(PrinterHandle handle, std::string_view name, const FormInfo1& form) override;
  uint32_t DeleteForm(PrinterHandle handle, std::string_view name) override;
  void BroadcastSettingChange(std::string_view area, uint32_t timeoutMs) override;
};

class Win32ServiceControl : public ServiceControl {
 public:
  uint32_t Stop(std::string_view service) override;
  uint32_t Start(std::string_view service) override;
  uint32_t QueryState(std::string_view service, uint32_t* state) override;
};

class Win32Cabinet : public Cabinet {
 public:
  uint32_t Extract(std::string_view cabinet, std::string_view folder,
                   const std::function<bool(std::string_view name)>& wanted) override;
};

class Win32FsRedirection : public FsRedirection {
 public:
  uint32_t Disable(uintptr_t* cookie) override;
  uint32_t Revert(uintptr_t cookie) override;
};

struct Win32SetupRoles {
  Win32Spooler spooler;
  Win32ServiceControl services;
  Win32Cabinet cabinet;
  Win32FsRedirection redirection;
};

// FormatMessageW's text for a system error code, without the trailing line break; "Error N." when the system
// has none.
std::string SystemErrorText(uint32_t error);

}  // namespace mq::platform
