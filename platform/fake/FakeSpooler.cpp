// In-memory print spooler.
#include "platform/fake/FakeSpooler.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Text.h"
#include "platform/WinError.h"
#include "platform/fake/StateText.h"

namespace mq::platform {

namespace {

constexpr uint32_t kInvalidEnvironment = 1805;

std::string Join(const std::vector<std::string>& names, char separator) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += separator;
    out += names[i];
  }
  return out;
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    size_t at = text.find(separator, start);
    out.emplace_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return out;
}

// The port name at the start of a PORT_DATA_1 record or of a zero-ended UTF-16 text.
std::string LeadingUtf16Text(std::span<const uint8_t> bytes, size_t maxUnits) {
  std::u16string name;
  for (size_t i = 0; i + 1 < bytes.size() && name.size() < maxUnits; i += 2) {
    char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    name.push_back(unit);
  }
  return text::Utf16ToUtf8(name);
}

}  // namespace

FakeSpooler::FakeSpooler(CallJournal& journal, bool is64BitWindows)
    : FakeSpooler(journal, is64BitWindows ? "Windows x64" : "Windows NT x86", nullptr) {}

FakeSpooler::FakeSpooler(CallJournal& journal, std::string_view localEnvironment, FileSystem* driverFiles)
    : journal_(journal),
      is64_(localEnvironment == "Windows x64"),
      localEnvironment_(localEnvironment),
      driverFiles_(driverFiles) {
  monitors_ = {{"Local Port", localEnvironment_, "localspl.dll"},
               {"Standard TCP/IP Port", localEnvironment_, "tcpmon.dll"}};
  processors_ = {{localEnvironment_, "winprint", "winprint.dll"}};
  ports_ = {"LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:", "FILE:"};
}

std::string FakeSpooler::Environment(std::string_view environment) const {
  if (environment.empty()) return localEnvironment_;
  for (std::string_view known : {"Windows 4.0", "Windows NT x86", "Windows x64"}) {
    if (text::EqualsNoCase(environment, known)) return std::string(known);
  }
  return "";
}

static std::string_view FolderOf(std::string_view environment) {
  if (environment == "Windows 4.0") return "WIN40";
  if (environment == "Windows x64") return "x64";
  return "W32X86";
}

std::string FakeSpooler::DriverDirectory(std::string_view environment) const {
  return "C:\\Windows\\system32\\spool\\drivers\\" + std::string(FolderOf(Environment(environment)));
}

std::string FakeSpooler::ProcessorDirectory(std::string_view environment) const {
  return "C:\\Windows\\system32\\spool\\prtprocs\\" + std::string(FolderOf(Environment(environment)));
}

uint32_t FakeSpooler::GetPrinterDriverDirectory(std::string_view environment, std::string* folder) {
  if (uint32_t e = journal_.Enter("GetPrinterDriverDirectoryW", {{"environment", std::string(environment)}}))
    return e;
  if (Environment(environment).empty()) return kInvalidEnvironment;
  *folder = DriverDirectory(environment);
  return 0;
}

uint32_t FakeSpooler::GetPrintProcessorDirectory(std::string_view environment, std::string* folder) {
  if (uint32_t e = journal_.Enter("GetPrintProcessorDirectoryW", {{"environment", std::string(environment)}}))
    return e;
  if (Environment(environment).empty()) return kInvalidEnvironment;
  *folder = ProcessorDirectory(environment);
  return 0;
}

uint32_t FakeSpooler::AddMonitor(const MonitorInfo2& monitor) {
  if (uint32_t e = journal_.Enter(
          "AddMonitorW",
          {{"name", monitor.name}, {"environment", monitor.environment}, {"dll", monitor.dllName}})) {
    return e;
  }
  std::string environment = Environment(monitor.environment);
  if (environment.empty()) return kInvalidEnvironment;
  if (monitor.name.empty() || monitor.dllName.empty()) return err::kInvalidParameter;
  if (FindMonitor(monitor.name) != nullptr) return err::kPrintMonitorAlreadyInstalled;
  monitors_.push_back({monitor.name, environment, monitor.dllName});
  return 0;
}

uint32_t FakeSpooler::DeleteMonitor(std::string_view environment, std::string_view name) {
  if (uint32_t e = journal_.Enter("DeleteMonitorW",
                                  {{"environment", std::string(environment)}, {"name", std::string(name)}})) {
    return e;
  }
  auto it = std::find_if(monitors_.begin(), monitors_.end(),
                         [&](const MonitorInfo2& m) { return text::EqualsNoCase(m.name, name); });
  if (it == monitors_.end()) return 3000;  // ERROR_UNKNOWN_PRINT_MONITOR
  monitors_.erase(it);
  return 0;
}

uint32_t FakeSpooler::EnumMonitors(std::vector<MonitorInfo2>* monitors) {
  if (uint32_t e = journal_.Enter("EnumMonitorsW", {})) return e;
  *monitors = monitors_;
  return 0;
}

uint32_t FakeSpooler::AddPrintProcessor(std::string_view environment, std::string_view dllName,
                                        std::string_view processorName) {
  if (uint32_t e = journal_.Enter("AddPrintProcessorW", {{"environment", std::string(environment)},
                                                         {"dll", std::string(dllName)},
                                                         {"name", std::string(processorName)}})) {
    return e;
  }
  std::string env = Environment(environment);
  if (env.empty()) return kInvalidEnvironment;
  if (processorName.empty() || dllName.empty()) return err::kInvalidParameter;
  if (HasProcessor(env, processorName)) return err::kPrintProcessorAlreadyInstalled;
  if (!FilePresent(ProcessorDirectory(env), dllName)) return err::kFileNotFound;
  processors_.push_back({env, std::string(processorName), std::string(dllName)});
  return 0;
}

uint32_t FakeSpooler::DeletePrintProcessor(std::string_view environment, std::string_view processorName) {
  if (uint32_t e = journal_.Enter("DeletePrintProcessorW", {{"environment", std::string(environment)},
                                                            {"name", std::string(processorName)}})) {
    return e;
  }
  std::string env = Environment(environment);
  auto it = std::find_if(processors_.begin(), processors_.end(), [&](const Processor& p) {
    return p.environment == env && text::EqualsNoCase(p.name, processorName);
  });
  if (it == processors_.end()) return err::kUnknownPrintProcessor;
  processors_.erase(it);
  return 0;
}

uint32_t FakeSpooler::EnumPrintProcessors(std::string_view environment, std::vector<std::string>* names) {
  if (uint32_t e = journal_.Enter("EnumPrintProcessorsW", {{"environment", std::string(environment)}}))
    return e;
  std::string env = Environment(environment);
  names->clear();
  for (const Processor& p : processors_) {
    if (p.environment == env) names->push_back(p.name);
  }
  return 0;
}

uint32_t FakeSpooler::AddPrinterDriver(const DriverInfo3& driver) {
  if (uint32_t e = journal_.Enter("AddPrinterDriverW", {{"version", std::to_string(driver.version)},
                                                        {"name", driver.name},
                                                        {"environment", driver.environment},
                                                        {"driverPath", driver.driverPath},
                                                        {"dataFile", driver.dataFile},
                                                        {"configFile", driver.configFile},
                                                        {"helpFile", driver.helpFile},
                                                        {"dependentFiles", Join(driver.dependentFiles, ',')},
                                                        {"monitorName", driver.monitorName}})) {
    return e;
  }
  std::string env = Environment(driver.environment);
  if (env.empty()) return kInvalidEnvironment;
  if (driver.name.empty() || driver.driverPath.empty() || driver.dataFile.empty() ||
      driver.configFile.empty()) {
    return err::kInvalidParameter;
  }
  if (!driver.monitorName.empty() && FindMonitor(driver.monitorName) == nullptr) return 3000;
  std::string folder = DriverDirectory(env);
  for (const std::string* file :
       {&driver.driverPath, &driver.dataFile, &driver.configFile, &driver.helpFile}) {
    if (!file->empty() && !FilePresent(folder, *file)) return err::kFileNotFound;
  }
  for (const std::string& file : driver.dependentFiles) {
    if (!FilePresent(folder, file)) return err::kFileNotFound;
  }
  DriverInfo3 stored = driver;
  stored.environment = env;
  auto it = std::find_if(drivers_.begin(), drivers_.end(), [&](const DriverInfo3& d) {
    return d.environment == env && text::EqualsNoCase(d.name, driver.name);
  });
  if (it != drivers_.end()) {
    *it = stored;
  } else {
    drivers_.push_back(stored);
  }
  return 0;
}

uint32_t FakeSpooler::DeletePrinterDriver(std::string_view environment, std::string_view name) {
  if (uint32_t e = journal_.Enter("DeletePrinterDriverW",
                                  {{"environment", std::string(environment)}, {"name", std::string(name)}})) {
    return e;
  }
  std::string env = Environment(environment);
  auto it = std::find_if(drivers_.begin(), drivers_.end(), [&](const DriverInfo3& d) {
    return d.environment == env && text::EqualsNoCase(d.name, name);
  });
  if (it == drivers_.end()) return err::kUnknownPrinterDriver;
  for (const PrinterInfo2& p : printers_) {
    if (text::EqualsNoCase(p.driverName, name)) return err::kPrinterDriverInUse;
  }
  drivers_.erase(it);
  return 0;
}

uint32_t FakeSpooler::DeletePrinterDriverEx(std::string_view environment, std::string_view name,
                                            uint32_t deleteFlags, uint32_t versionFlag) {
  if (uint32_t e = journal_.Enter("DeletePrinterDriverExW", {{"environment", std::string(environment)},
                                                             {"name", std::string(name)},
                                                             {"deleteFlags", std::to_string(deleteFlags)},
                                                             {"versionFlag", std::to_string(versionFlag)}})) {
    return e;
  }
  CallJournal::Quiet quiet(&journal_);
  return DeletePrinterDriver(environment, name);
}

uint32_t FakeSpooler::EnumPrinterDrivers(std::string_view environment, std::vector<DriverInfo3>* drivers) {
  if (uint32_t e = journal_.Enter("EnumPrinterDriversW", {{"environment", std::string(environment)}}))
    return e;
  std::string env = Environment(environment);
  drivers->clear();
  for (const DriverInfo3& d : drivers_) {
    if (d.environment == env) drivers->push_back(d);
  }
  return 0;
}

uint32_t FakeSpooler::AddPrinter(const PrinterInfo2& printer) {
  if (uint32_t e = journal_.Enter("AddPrinterW", {{"name", printer.printerName},
                                                  {"port", printer.portName},
                                                  {"driver", printer.driverName},
                                                  {"processor", printer.printProcessor},
                                                  {"attributes", std::to_string(printer.attributes)}})) {
    return e;
  }
  if (printer.printerName.empty() || printer.portName.empty()) return err::kInvalidParameter;
  if (FindPrinter(printer.printerName) != nullptr) return err::kPrinterAlreadyExists;
  if (FindDriver("", printer.driverName) == nullptr) return err::kUnknownPrinterDriver;
  if (!HasProcessor("", printer.printProcessor)) return err::kUnknownPrintProcessor;
  printers_.push_back(printer);
  return 0;
}

uint32_t FakeSpooler::EnumPrinters(std::vector<PrinterInfo2>* printers) {
  if (uint32_t e = journal_.Enter("EnumPrintersW", {{"level", "2"}})) return e;
  *printers = printers_;
  return 0;
}

uint32_t FakeSpooler::OpenPrinter(std::string_view name, uint32_t access, PrinterHandle* handle) {
  if (uint32_t e = journal_.Enter("OpenPrinterW",
                                  {{"name", std::string(name)}, {"access", CallJournal::Hex(access)}})) {
    return e;
  }
  Handle h;
  constexpr std::string_view kXcvMonitor = ",XcvMonitor ";
  if (name.substr(0, kXcvMonitor.size()) == kXcvMonitor) {
    std::string_view monitor = name.substr(kXcvMonitor.size());
    if (FindMonitor(monitor) == nullptr) return err::kInvalidPrinterName;
    h.xcvMonitor = std::string(monitor);
  } else {
    const PrinterInfo2* printer = FindPrinter(name);
    if (printer == nullptr) return err::kInvalidPrinterName;
    h.printer = printer->printerName;
  }
  PrinterHandle opened = nextHandle_++;
  handles_[opened] = h;
  *handle = opened;
  return 0;
}

uint32_t FakeSpooler::ClosePrinter(PrinterHandle handle) {
  if (uint32_t e = journal_.Enter("ClosePrinter", {{"handle", CallJournal::Hex(handle)}})) return e;
  return handles_.erase(handle) == 1 ? 0 : err::kInvalidHandle;
}

uint32_t FakeSpooler::GetPrinter(PrinterHandle handle, PrinterInfo2* printer) {
  if (uint32_t e = journal_.Enter("GetPrinterW", {{"handle", CallJournal::Hex(handle)}, {"level", "2"}}))
    return e;
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  *printer = *FindPrinter(h->printer);
  return 0;
}

uint32_t FakeSpooler::SetPrinter(PrinterHandle handle, const PrinterInfo2& printer) {
  if (uint32_t e = journal_.Enter("SetPrinterW", {{"handle", CallJournal::Hex(handle)},
                                                  {"level", "2"},
                                                  {"attributes", std::to_string(printer.attributes)}})) {
    return e;
  }
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  PrinterInfo2* stored = FindPrinterMutable(h->printer);
  std::string name = stored->printerName;
  *stored = printer;
  stored->printerName = name;
  if ((printer.attributes & kPrinterAttributeDefault) != 0) defaultPrinter_ = name;
  return 0;
}

uint32_t FakeSpooler::DeletePrinter(PrinterHandle handle) {
  if (uint32_t e = journal_.Enter("DeletePrinter", {{"handle", CallJournal::Hex(handle)}})) return e;
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  std::string name = h->printer;
  printers_.erase(
      std::remove_if(printers_.begin(), printers_.end(),
                     [&](const PrinterInfo2& p) { return text::EqualsNoCase(p.printerName, name); }),
      printers_.end());
  if (text::EqualsNoCase(defaultPrinter_, name)) defaultPrinter_.clear();
  return 0;
}

uint32_t FakeSpooler::SetDefaultPrinter(std::string_view printerName) {
  if (uint32_t e = journal_.Enter("SetDefaultPrinterW", {{"name", std::string(printerName)}})) return e;
  const PrinterInfo2* printer = FindPrinter(printerName);
  if (printer == nullptr) return err::kInvalidPrinterName;
  defaultPrinter_ = printer->printerName;
  return 0;
}

uint32_t FakeSpooler::EnumPorts(uint32_t bufferSize, uint32_t* needed, std::vector<std::string>* ports) {
  if (uint32_t e = journal_.Enter("EnumPortsW", {{"level", "1"}, {"bufferSize", std::to_string(bufferSize)}}))
    return e;
  // PORT_INFO_1 is one pointer; the names follow as UTF-16 with their zeros.
  uint32_t size = 0;
  for (const std::string& port : ports_) {
    size += (is64_ ? 8 : 4) + 2 * static_cast<uint32_t>(text::Utf16Length(port) + 1);
  }
  *needed = size;
  if (bufferSize < size) return err::kInsufficientBuffer;
  *ports = ports_;
  return 0;
}

uint32_t FakeSpooler::DeletePort(std::string_view name) {
  if (uint32_t e = journal_.Enter("DeletePortW", {{"name", std::string(name)}})) return e;
  auto it = std::find_if(ports_.begin(), ports_.end(),
                         [&](const std::string& p) { return text::EqualsNoCase(p, name); });
  if (it == ports_.end()) return err::kUnknownPort;
  ports_.erase(it);
  return 0;
}

bool FakeSpooler::SetQueuedJobs(std::string_view printerName, uint32_t jobs) {
  PrinterInfo2* printer = FindPrinterMutable(printerName);
  if (printer == nullptr) return false;
  printer->jobs = jobs;
  return true;
}

uint32_t FakeSpooler::XcvData(PrinterHandle handle, std::string_view command, std::span<const uint8_t> input,
                              uint32_t outputSize, std::vector<uint8_t>* output, uint32_t* status) {
  if (uint32_t e = journal_.Enter("XcvDataW", {{"handle", CallJournal::Hex(handle)},
                                               {"command", std::string(command)},
                                               {"inputBytes", std::to_string(input.size())},
                                               {"outputBytes", std::to_string(outputSize)}})) {
    return e;
  }
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->xcvMonitor.empty()) return err::kInvalidHandle;
  output->assign(outputSize, 0);
  const bool add = command == "AddPort";
  if (!add && command != "DeletePort") {
    *status = err::kInvalidFunction;
    return 0;
  }
  // The TCP/IP monitor takes a PORT_DATA_1 record to add a port; both monitors take a record or text that
  // starts with the port name to delete one.
  bool tcp = text::EqualsNoCase(h->xcvMonitor, "Standard TCP/IP Port");
  if (add && tcp && input.size() != 964) {
    *status = err::kInvalidParameter;
    return 0;
  }
  std::string port = LeadingUtf16Text(input, tcp ? 63 : input.size() / 2);
  if (port.empty()) {
    *status = err::kInvalidParameter;
  } else if (!add) {
    auto at = std::find_if(ports_.begin(), ports_.end(),
                           [&](const std::string& p) { return text::EqualsNoCase(p, port); });
    const bool found = at != ports_.end();
    if (found) ports_.erase(at);
    *status = found ? 0 : err::kFileNotFound;
  } else if (HasPort(port)) {
    *status = err::kAlreadyExists;
  } else {
    ports_.push_back(port);
    *status = 0;
  }
  return 0;
}

namespace {
constexpr uint32_t kNoStartDoc = 3003;           // ERROR_SPL_NO_STARTDOC
constexpr uint32_t kPrinterStateInvalid = 1906;  // ERROR_INVALID_PRINTER_STATE
}  // namespace

FakeSpooler::PrintedJob* FakeSpooler::OpenJob(PrinterHandle handle, uint32_t* error) {
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) {
    *error = err::kInvalidHandle;
    return nullptr;
  }
  if (h->job < 0) {
    *error = kNoStartDoc;
    return nullptr;
  }
  return &jobs_[static_cast<size_t>(h->job)];
}

uint32_t FakeSpooler::StartDocPrinter(PrinterHandle handle, std::string_view documentName,
                                      std::string_view dataType, uint32_t* jobId) {
  if (uint32_t e = journal_.Enter("StartDocPrinterW", {{"handle", CallJournal::Hex(handle)},
                                                       {"level", "1"},
                                                       {"document", std::string(documentName)},
                                                       {"dataType", std::string(dataType)}})) {
    return e;
  }
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  if (h->job >= 0) return kPrinterStateInvalid;
  PrintedJob job;
  job.id = static_cast<uint32_t>(jobs_.size() + 1);
  job.printer = h->printer;
  job.documentName = std::string(documentName);
  job.dataType = std::string(dataType);
  jobs_.push_back(std::move(job));
  h->job = static_cast<int>(jobs_.size() - 1);
  *jobId = jobs_.back().id;
  return 0;
}

uint32_t FakeSpooler::StartPagePrinter(PrinterHandle handle) {
  if (uint32_t e = journal_.Enter("StartPagePrinter", {{"handle", CallJournal::Hex(handle)}})) return e;
  uint32_t error = 0;
  PrintedJob* job = OpenJob(handle, &error);
  if (job == nullptr) return error;
  ++job->pages;
  FindHandle(handle)->inPage = true;
  return 0;
}

uint32_t FakeSpooler::WritePrinter(PrinterHandle handle, std::span<const uint8_t> bytes, uint32_t* written) {
  if (uint32_t e = journal_.Enter(
          "WritePrinter", {{"handle", CallJournal::Hex(handle)}, {"bytes", std::to_string(bytes.size())}}))
    return e;
  uint32_t error = 0;
  PrintedJob* job = OpenJob(handle, &error);
  if (job == nullptr) return error;
  const size_t taken = writeLimit_ == 0 ? bytes.size() : std::min<size_t>(bytes.size(), writeLimit_);
  job->bytes.insert(job->bytes.end(), bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(taken));
  *written = static_cast<uint32_t>(taken);
  return 0;
}

uint32_t FakeSpooler::EndPagePrinter(PrinterHandle handle) {
  if (uint32_t e = journal_.Enter("EndPagePrinter", {{"handle", CallJournal::Hex(handle)}})) return e;
  uint32_t error = 0;
  if (OpenJob(handle, &error) == nullptr) return error;
  FindHandle(handle)->inPage = false;
  return 0;
}

uint32_t FakeSpooler::EndDocPrinter(PrinterHandle handle) {
  if (uint32_t e = journal_.Enter("EndDocPrinter", {{"handle", CallJournal::Hex(handle)}})) return e;
  uint32_t error = 0;
  PrintedJob* job = OpenJob(handle, &error);
  if (job == nullptr) return error;
  job->ended = true;
  Handle* h = FindHandle(handle);
  h->job = -1;
  h->inPage = false;
  return 0;
}

PrinterHandle FakeSpooler::OpenPrinterForJobs(std::string_view name, std::string_view portName) {
  if (FindPrinter(name) == nullptr) {
    PrinterInfo2 printer;
    printer.printerName = std::string(name);
    printer.portName = std::string(portName);
    printer.printProcessor = "winprint";
    printer.dataType = "RAW";
    printers_.push_back(printer);
  }
  Handle h;
  h.printer = FindPrinter(name)->printerName;
  const PrinterHandle opened = nextHandle_++;
  handles_[opened] = h;
  return opened;
}

std::vector<std::vector<uint8_t>> FakeSpooler::JobBytes(std::string_view documentName) const {
  std::vector<std::vector<uint8_t>> out;
  for (const PrintedJob& job : jobs_)
    if (job.documentName == documentName) out.push_back(job.bytes);
  return out;
}

void FakeSpooler::BroadcastSettingChange(std::string_view area, uint32_t timeoutMs) {
  journal_.Enter(
      "SendMessageTimeoutW",
      {{"message", "WM_SETTINGCHANGE"}, {"area", std::string(area)}, {"timeout", std::to_string(timeoutMs)}});
}

const MonitorInfo2* FakeSpooler::FindMonitor(std::string_view name) const {
  for (const MonitorInfo2& m : monitors_) {
    if (text::EqualsNoCase(m.name, name)) return &m;
  }
  return nullptr;
}

const DriverInfo3* FakeSpooler::FindDriver(std::string_view environment, std::string_view name) const {
  std::string env = Environment(environment);
  for (const DriverInfo3& d : drivers_) {
    if (d.environment == env && text::EqualsNoCase(d.name, name)) return &d;
  }
  return nullptr;
}

const PrinterInfo2* FakeSpooler::FindPrinter(std::string_view name) const {
  for (const PrinterInfo2& p : printers_) {
    if (text::EqualsNoCase(p.printerName, name)) return &p;
  }
  return nullptr;
}

PrinterInfo2* FakeSpooler::FindPrinterMutable(std::string_view name) {
  return const_cast<PrinterInfo2*>(FindPrinter(name));
}

bool FakeSpooler::HasProcessor(std::string_view environment, std::string_view name) const {
  std::string env = Environment(environment);
  for (const Processor& p : processors_) {
    if (p.environment == env && text::EqualsNoCase(p.name, name)) return true;
  }
  return false;
}

bool FakeSpooler::HasPort(std::string_view name) const {
  for (const std::string& p : ports_) {
    if (text::EqualsNoCase(p, name)) return true;
  }
  return false;
}

bool FakeSpooler::FilePresent(const std::string& folder, std::string_view name) const {
  if (driverFiles_ == nullptr) return true;
  CallJournal::Quiet quiet(&journal_);  // the spooler's own look, not a call of the program
  uint32_t attributes = 0;
  return driverFiles_->GetAttributes(text::JoinPath(folder, name), &attributes) == 0 &&
         (attributes & kFileAttributeDirectory) == 0;
}

FakeSpooler::Handle* FakeSpooler::FindHandle(PrinterHandle handle) {
  auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : &it->second;
}

// One record per line, fields separated by tabs; dependent files separated by '|'.
std::string FakeSpooler::Serialize() const {
  std::string out = std::string(kEscapedFieldsMark) + '\n';
  auto line = [&](std::initializer_list<std::string> fields) {
    bool first = true;
    for (const std::string& f : fields) {
      if (!first) out += '\t';
      out += f;
      first = false;
    }
    out += '\n';
  };
  auto e = [](std::string_view field) { return state::Escape(field); };
  for (const MonitorInfo2& m : monitors_) line({"monitor", e(m.name), e(m.environment), e(m.dllName)});
  for (const Processor& p : processors_) line({"processor", e(p.environment), e(p.name), e(p.dll)});
  for (const DriverInfo3& d : drivers_) {
    std::vector<std::string> dependent;
    for (const std::string& name : d.dependentFiles) dependent.push_back(state::Escape(name, "|"));
    line({"driver", std::to_string(d.version), e(d.name), e(d.environment), e(d.driverPath), e(d.dataFile),
          e(d.configFile), e(d.helpFile), Join(dependent, '|'), e(d.monitorName)});
  }
  for (const PrinterInfo2& p : printers_) {
    line({"printer", e(p.printerName), e(p.portName), e(p.driverName), e(p.printProcessor),
          std::to_string(p.attributes)});
  }
  for (const std::string& port : ports_) line({"port", e(port)});
  if (!defaultPrinter_.empty()) line({"default", e(defaultPrinter_)});
  return out;
}

bool FakeSpooler::Deserialize(std::string_view text, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  std::vector<MonitorInfo2> monitors;
  std::vector<Processor> processors;
  std::vector<DriverInfo3> drivers;
  std::vector<PrinterInfo2> printers;
  std::vector<std::string> ports;
  std::string defaultPrinter;
  bool escaped = false;
  std::vector<std::string> rows = Split(text, '\n');
  for (size_t number = 1; number <= rows.size(); ++number) {
    const std::string& row = rows[number - 1];
    if (number == 1 && row == kEscapedFieldsMark) {
      escaped = true;
      continue;
    }
    if (row.empty()) continue;
    auto fail = [&](std::string_view what) {
      *error = state::LineError(number, what);
      return false;
    };
    std::vector<std::string> f = Split(row, '\t');
    std::vector<std::string> dependent;
    if (f[0] == "driver" && f.size() == 10 && !f[8].empty()) dependent = Split(f[8], '|');
    if (escaped) {
      for (std::string& field : f) {
        if (!state::Unescape(field, &field)) return fail("a bad %-escape");
      }
      for (std::string& name : dependent) {
        if (!state::Unescape(name, &name)) return fail("a bad %-escape");
      }
    }
    uint32_t number32 = 0;
    if (f[0] == "monitor" && f.size() == 4) {
      monitors.push_back({f[1], f[2], f[3]});
    } else if (f[0] == "processor" && f.size() == 4) {
      processors.push_back({f[1], f[2], f[3]});
    } else if (f[0] == "driver" && f.size() == 10) {
      if (!state::ParseUint32(f[1], &number32)) return fail("the driver version is not a decimal number");
      DriverInfo3 d;
      d.version = number32;
      d.name = f[2];
      d.environment = f[3];
      d.driverPath = f[4];
      d.dataFile = f[5];
      d.configFile = f[6];
      d.helpFile = f[7];
      d.dependentFiles = std::move(dependent);
      d.monitorName = f[9];
      drivers.push_back(d);
    } else if (f[0] == "printer" && f.size() == 6) {
      if (!state::ParseUint32(f[5], &number32)) return fail("the printer attributes are not a decimal number");
      PrinterInfo2 p;
      p.printerName = f[1];
      p.portName = f[2];
      p.driverName = f[3];
      p.printProcessor = f[4];
      p.attributes = number32;
      printers.push_back(p);
    } else if (f[0] == "port" && f.size() == 2) {
      ports.push_back(f[1]);
    } else if (f[0] == "default" && f.size() == 2) {
      defaultPrinter = f[1];
    } else {
      return fail("not a monitor, processor, driver, printer, port or default line with its fields");
    }
  }
  monitors_ = std::move(monitors);
  processors_ = std::move(processors);
  drivers_ = std::move(drivers);
  printers_ = std::move(printers);
  ports_ = std::move(ports);
  defaultPrinter_ = std::move(defaultPrinter);
  return true;
}

namespace {

std::string FormArgs(const FormInfo1& f) {
  return std::to_string(f.width) + "x" + std::to_string(f.height) + " area " + std::to_string(f.left) + "," +
         std::to_string(f.top) + "," + std::to_string(f.right) + "," + std::to_string(f.bottom);
}

}  // namespace

uint32_t FakeSpooler::EnumForms(PrinterHandle handle, uint32_t bufferSize, uint32_t* needed,
                                std::vector<FormInfo1>* forms) {
  if (uint32_t e = journal_.Enter("EnumFormsW", {{"handle", CallJournal::Hex(handle)},
                                                 {"level", "1"},
                                                 {"bufferSize", std::to_string(bufferSize)}})) {
    return e;
  }
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  // FORM_INFO_1W: flags, a name pointer, SIZEL and RECTL; the names follow as UTF-16 with their zeros.
  uint32_t size = 0;
  for (const FormInfo1& form : forms_)
    size += (is64_ ? 40 : 32) + 2 * static_cast<uint32_t>(text::Utf16Length(form.name) + 1);
  *needed = size;
  if (bufferSize < size) return err::kInsufficientBuffer;
  *forms = forms_;
  return 0;
}

uint32_t FakeSpooler::AddForm(PrinterHandle handle, const FormInfo1& form) {
  if (uint32_t e = journal_.Enter("AddFormW", {{"handle", CallJournal::Hex(handle)},
                                               {"level", "1"},
                                               {"name", form.name},
                                               {"form", FormArgs(form)}})) {
    return e;
  }
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  if (form.name.empty()) return err::kInvalidParameter;
  for (const FormInfo1& f : forms_)
    if (text::EqualsNoCase(f.name, form.name)) return err::kFileExists;
  forms_.push_back(form);
  forms_.back().flags = kFormUser;
  return 0;
}

uint32_t FakeSpooler::SetForm(PrinterHandle handle, std::string_view name, const FormInfo1& form) {
  if (uint32_t e = journal_.Enter("SetFormW", {{"handle", CallJournal::Hex(handle)},
                                               {"name", std::string(name)},
                                               {"level", "1"},
                                               {"form", FormArgs(form)}})) {
    return e;
  }
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  for (FormInfo1& f : forms_) {
    if (!text::EqualsNoCase(f.name, name)) continue;
    if (f.flags == kFormBuiltin) return err::kInvalidParameter;
    const std::string kept = f.name;
    f = form;
    f.name = kept;
    f.flags = kFormUser;
    return 0;
  }
  return kErrorInvalidFormName;
}

uint32_t FakeSpooler::DeleteForm(PrinterHandle handle, std::string_view name) {
  if (uint32_t e = journal_.Enter("DeleteFormW",
                                  {{"handle", CallJournal::Hex(handle)}, {"name", std::string(name)}})) {
    return e;
  }
  Handle* h = FindHandle(handle);
  if (h == nullptr || h->printer.empty()) return err::kInvalidHandle;
  for (auto it = forms_.begin(); it != forms_.end(); ++it) {
    if (!text::EqualsNoCase(it->name, name)) continue;
    if (it->flags == kFormBuiltin) return err::kInvalidParameter;
    forms_.erase(it);
    return 0;
  }
  return kErrorInvalidFormName;
}

}  // namespace mq::platform
