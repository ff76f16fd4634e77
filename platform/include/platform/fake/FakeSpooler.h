// In-memory print spooler for tests and simulated machines. Keeps monitors, print processors, drivers,
// printers, ports and the default printer, answers with the Windows error codes of the real spooler for
// duplicates and unknown names, and journals every call under its winspool function. The state can be saved
// as text and read back, so that a simulated machine keeps its installations between runs.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Spooler.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class FakeSpooler : public Spooler {
 public:
  // is64BitWindows picks the local environment ("Windows x64" or "Windows NT x86") and its folders.
  FakeSpooler(CallJournal& journal, bool is64BitWindows);
  // The spooler of a machine whose local environment is localEnvironment: "Windows NT x86", "Windows x64",
  // or "Windows 4.0" for Windows 98. With driverFiles, the spooler looks for the files it is given as Windows
  // does: AddPrinterDriver wants every file it names in the environment's driver directory, AddPrintProcessor
  // its DLL in the processor directory, and both fail with ERROR_FILE_NOT_FOUND otherwise.
  FakeSpooler(CallJournal& journal, std::string_view localEnvironment, FileSystem* driverFiles);

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

  // The local environment name and the folders the spooler reports.
  const std::string& localEnvironment() const { return localEnvironment_; }
  std::string DriverDirectory(std::string_view environment) const;
  std::string ProcessorDirectory(std::string_view environment) const;

  // Direct access for set-up and checks; not journaled.
  const MonitorInfo2* FindMonitor(std::string_view name) const;
  const DriverInfo3* FindDriver(std::string_view environment, std::string_view name) const;
  const PrinterInfo2* FindPrinter(std::string_view name) const;
  bool HasProcessor(std::string_view environment, std::string_view name) const;
  bool HasPort(std::string_view name) const;
  void AddPortName(std::string_view name) { ports_.emplace_back(name); }
  // Set-up, not journaled: the number of jobs queued on a printer (GetPrinter reports it); false when there
  // is no such printer.
  bool SetQueuedJobs(std::string_view printerName, uint32_t jobs);
  const std::string& defaultPrinter() const { return defaultPrinter_; }
  size_t OpenHandleCount() const { return handles_.size(); }

  // A raw document as the printer received it. Jobs are kept in the order they started.
  struct PrintedJob {
    uint32_t id = 0;
    std::string printer;
    std::string documentName;
    std::string dataType;
    std::vector<uint8_t> bytes;  // every block the spooler took, in order
    int pages = 0;               // StartPagePrinter calls that worked
    bool ended = false;          // EndDocPrinter worked: the job was ended, not left open
  };
  const std::vector<PrintedJob>& Jobs() const { return jobs_; }
  // The bytes of each job of that document name, oldest first.
  std::vector<std::vector<uint8_t>> JobBytes(std::string_view documentName) const;
  // Set-up for raw jobs, not journaled: a printer of that name on portName (added when missing, without the
  // driver checks of AddPrinter) and a new handle open on it.
  PrinterHandle OpenPrinterForJobs(std::string_view name, std::string_view portName = "LPT1:");
  // Makes each WritePrinter take at most limit bytes and report that count (a short write); 0 takes all.
  void LimitWrites(uint32_t limit) { writeLimit_ = limit; }

  // The forms database, starting with two built-in forms (Letter and A4); set-up and checks, not journaled.
  std::vector<FormInfo1>& Forms() { return forms_; }

  // The registrations as text, used to keep a simulated machine between runs: a first line marking the form,
  // then one record per line with tab-separated fields, control characters and '%' in every field (and '|'
  // in each dependent file name) written as %XX, so any name survives. Text without the first line is read
  // with fields as they stand, as earlier versions wrote it.
  std::string Serialize() const;
  // Replaces the registrations with the text's. A malformed text changes nothing and gives false, with
  // "line N: what is wrong" in *error.
  bool Deserialize(std::string_view text, std::string* error = nullptr);
  static constexpr std::string_view kEscapedFieldsMark = "; mq450 spooler: fields %-escaped";

 private:
  struct Processor {
    std::string environment;
    std::string name;
    std::string dll;
  };
  struct Handle {
    std::string printer;  // printer name, or "" for a transceiver
    std::string xcvMonitor;
    int job = -1;  // index into jobs_ while a document is open on the handle
    bool inPage = false;
  };
  // The open document of a printer handle, or null with *error set.
  PrintedJob* OpenJob(PrinterHandle handle, uint32_t* error);
  std::string Environment(std::string_view environment) const;
  PrinterInfo2* FindPrinterMutable(std::string_view name);
  Handle* FindHandle(PrinterHandle handle);
  // True when there are no driver files to look at, or the file is in folder.
  bool FilePresent(const std::string& folder, std::string_view name) const;

  CallJournal& journal_;
  bool is64_;
  std::string localEnvironment_;
  FileSystem* driverFiles_ = nullptr;
  std::vector<MonitorInfo2> monitors_;
  std::vector<Processor> processors_;
  std::vector<DriverInfo3> drivers_;
  std::vector<PrinterInfo2> printers_;
  std::vector<std::string> ports_;
  std::string defaultPrinter_;
  std::map<PrinterHandle, Handle> handles_;
  PrinterHandle nextHandle_ = 0x5000;
  std::vector<PrintedJob> jobs_;
  uint32_t writeLimit_ = 0;
  std::vector<FormInfo1> forms_ = {{kFormBuiltin, "Letter", 215900, 279400, 0, 0, 215900, 279400},
                                   {kFormBuiltin, "A4", 210000, 297000, 0, 0, 210000, 297000}};
};

}  // namespace mq::platform
