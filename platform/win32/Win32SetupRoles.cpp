// Win32 implementations of the setup programs' roles.
#include <windows.h>
#include <setupapi.h>
#include <winspool.h>

#include "platform/win32/WinspoolNames.h"

#include "platform/win32/Win32SetupRoles.h"

#include <cstdio>
#include <vector>

#include "platform/Text.h"
#include "platform/win32/Win32Platform.h"

namespace mq::platform {

namespace {

// A wide string that stays alive for the call, and the pointer the W functions want (null for "").
struct WideArg {
  explicit WideArg(std::string_view utf8) : text(Wide(utf8)) {}
  LPWSTR OrNull() { return text.empty() ? nullptr : text.data(); }
  LPWSTR Ptr() { return text.data(); }
  std::wstring text;
};

std::string FromWide(const wchar_t* text) {
  return text == nullptr ? std::string() : Narrow(text);
}

uint32_t ErrorOf(BOOL ok) {
  return ok ? ERROR_SUCCESS : GetLastError();
}

// Calls an enumeration twice, first to learn the size. call(buffer, size, needed, returned) -> BOOL.
template <typename Call>
uint32_t Enumerate(Call call, std::vector<BYTE>* buffer, DWORD* count) {
  DWORD needed = 0;
  DWORD returned = 0;
  if (call(nullptr, 0, &needed, &returned)) {
    *count = returned;
    buffer->clear();
    return ERROR_SUCCESS;
  }
  DWORD error = GetLastError();
  if (error != ERROR_INSUFFICIENT_BUFFER) return error;
  buffer->assign(needed, 0);
  if (!call(buffer->data(), needed, &needed, &returned)) return GetLastError();
  *count = returned;
  return ERROR_SUCCESS;
}

PrinterInfo2 FromInfo2(const PRINTER_INFO_2W& p) {
  PrinterInfo2 out;
  out.printerName = FromWide(p.pPrinterName);
  out.shareName = FromWide(p.pShareName);
  out.portName = FromWide(p.pPortName);
  out.driverName = FromWide(p.pDriverName);
  out.comment = FromWide(p.pComment);
  out.location = FromWide(p.pLocation);
  out.printProcessor = FromWide(p.pPrintProcessor);
  out.dataType = FromWide(p.pDatatype);
  out.parameters = FromWide(p.pParameters);
  out.attributes = p.Attributes;
  out.priority = p.Priority;
  out.status = p.Status;
  out.jobs = p.cJobs;
  return out;
}

}  // namespace

std::string SystemErrorText(uint32_t error) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::string out;
  if (length > 0 && text != nullptr) {
    std::wstring wide(text, length);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' '))
      wide.pop_back();
    out = Narrow(wide);
  }
  if (text != nullptr) LocalFree(text);
  return out.empty() ? "Error " + std::to_string(error) + "." : out;
}

uint32_t Win32Spooler::GetPrinterDriverDirectory(std::string_view environment, std::string* folder) {
  WideArg env(environment);
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, env.OrNull(), 1, reinterpret_cast<LPBYTE>(buffer), sizeof buffer,
                                  &needed)) {
    return GetLastError();
  }
  *folder = Narrow(buffer);
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::GetPrintProcessorDirectory(std::string_view environment, std::string* folder) {
  WideArg env(environment);
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD needed = 0;
  if (!GetPrintProcessorDirectoryW(nullptr, env.OrNull(), 1, reinterpret_cast<LPBYTE>(buffer), sizeof buffer,
                                   &needed)) {
    return GetLastError();
  }
  *folder = Narrow(buffer);
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::AddMonitor(const MonitorInfo2& monitor) {
  WideArg name(monitor.name), env(monitor.environment), dll(monitor.dllName);
  MONITOR_INFO_2W info = {name.Ptr(), env.OrNull(), dll.Ptr()};
  return ErrorOf(AddMonitorW(nullptr, 2, reinterpret_cast<LPBYTE>(&info)));
}

uint32_t Win32Spooler::DeleteMonitor(std::string_view environment, std::string_view name) {
  WideArg env(environment), n(name);
  return ErrorOf(DeleteMonitorW(nullptr, env.OrNull(), n.Ptr()));
}

uint32_t Win32Spooler::EnumMonitors(std::vector<MonitorInfo2>* monitors) {
  std::vector<BYTE> buffer;
  DWORD count = 0;
  uint32_t e =
      Enumerate([](BYTE* b, DWORD s, DWORD* n, DWORD* r) { return EnumMonitorsW(nullptr, 2, b, s, n, r); },
                &buffer, &count);
  if (e != 0) return e;
  monitors->clear();
  const auto* infos = reinterpret_cast<const MONITOR_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    monitors->push_back(
        {FromWide(infos[i].pName), FromWide(infos[i].pEnvironment), FromWide(infos[i].pDLLName)});
  }
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::AddPrintProcessor(std::string_view environment, std::string_view dllName,
                                         std::string_view processorName) {
  WideArg env(environment), dll(dllName), name(processorName);
  return ErrorOf(AddPrintProcessorW(nullptr, env.OrNull(), dll.Ptr(), name.Ptr()));
}

uint32_t Win32Spooler::DeletePrintProcessor(std::string_view environment, std::string_view processorName) {
  WideArg env(environment), name(processorName);
  return ErrorOf(DeletePrintProcessorW(nullptr, env.OrNull(), name.Ptr()));
}

uint32_t Win32Spooler::EnumPrintProcessors(std::string_view environment, std::vector<std::string>* names) {
  WideArg env(environment);
  std::vector<BYTE> buffer;
  DWORD count = 0;
  uint32_t e = Enumerate([&](BYTE* b, DWORD s, DWORD* n,
                             DWORD* r) { return EnumPrintProcessorsW(nullptr, env.OrNull(), 1, b, s, n, r); },
                         &buffer, &count);
  if (e != 0) return e;
  names->clear();
  const auto* infos = reinterpret_cast<const PRINTPROCESSOR_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) names->push_back(FromWide(infos[i].pName));
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::AddPrinterDriver(const DriverInfo3& driver) {
  WideArg name(driver.name), env(driver.environment), path(driver.driverPath), data(driver.dataFile),
      config(driver.configFile), help(driver.helpFile), monitor(driver.monitorName),
      dataType(driver.defaultDataType);
  // The dependent files as one zero-separated list ended by an extra zero, as long as the names need.
  std::wstring dependent;
  for (const std::string& file : driver.dependentFiles) {
    dependent += Wide(file);
    dependent.push_back(L'\0');
  }
  dependent.push_back(L'\0');
  DRIVER_INFO_3W info = {};
  info.cVersion = driver.version;
  info.pName = name.Ptr();
  info.pEnvironment = env.OrNull();
  info.pDriverPath = path.Ptr();
  info.pDataFile = data.Ptr();
  info.pConfigFile = config.Ptr();
  info.pHelpFile = help.Ptr();
  info.pDependentFiles = driver.dependentFiles.empty() ? nullptr : dependent.data();
  info.pMonitorName = monitor.OrNull();
  info.pDefaultDataType = dataType.OrNull();
  return ErrorOf(AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info)));
}

uint32_t Win32Spooler::DeletePrinterDriver(std::string_view environment, std::string_view name) {
  WideArg env(environment), n(name);
  return ErrorOf(DeletePrinterDriverW(nullptr, env.OrNull(), n.Ptr()));
}

uint32_t Win32Spooler::DeletePrinterDriverEx(std::string_view environment, std::string_view name,
                                             uint32_t deleteFlags, uint32_t versionFlag) {
  // Looked up by name: systems before Windows 2000 lack it.
  using DeleteEx = BOOL(WINAPI*)(LPWSTR, LPWSTR, LPWSTR, DWORD, DWORD);
  HMODULE winspool = GetModuleHandleW(L"winspool.drv");
  if (winspool == nullptr) winspool = LoadLibraryW(L"winspool.drv");
  auto function = winspool != nullptr ? reinterpret_cast<DeleteEx>(reinterpret_cast<void*>(
                                            GetProcAddress(winspool, "DeletePrinterDriverExW")))
                                      : nullptr;
  if (function == nullptr) return ERROR_PROC_NOT_FOUND;
  WideArg env(environment), n(name);
  return ErrorOf(function(nullptr, env.OrNull(), n.Ptr(), deleteFlags, versionFlag));
}

uint32_t Win32Spooler::EnumPrinterDrivers(std::string_view environment, std::vector<DriverInfo3>* drivers) {
  WideArg env(environment);
  std::vector<BYTE> buffer;
  DWORD count = 0;
  uint32_t e = Enumerate([&](BYTE* b, DWORD s, DWORD* n,
                             DWORD* r) { return EnumPrinterDriversW(nullptr, env.OrNull(), 3, b, s, n, r); },
                         &buffer, &count);
  if (e != 0) return e;
  drivers->clear();
  const auto* infos = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    DriverInfo3 d;
    d.version = infos[i].cVersion;
    d.name = FromWide(infos[i].pName);
    d.environment = FromWide(infos[i].pEnvironment);
    d.driverPath = FromWide(infos[i].pDriverPath);
    d.dataFile = FromWide(infos[i].pDataFile);
    d.configFile = FromWide(infos[i].pConfigFile);
    d.helpFile = FromWide(infos[i].pHelpFile);
    for (const wchar_t* f = infos[i].pDependentFiles; f != nullptr && *f != 0; f += wcslen(f) + 1) {
      d.dependentFiles.push_back(Narrow(f));
    }
    d.monitorName = FromWide(infos[i].pMonitorName);
    d.defaultDataType = FromWide(infos[i].pDefaultDataType);
    drivers->push_back(d);
  }
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::AddPrinter(const PrinterInfo2& printer) {
  WideArg name(printer.printerName), share(printer.shareName), port(printer.portName),
      driver(printer.driverName), comment(printer.comment), location(printer.location),
      processor(printer.printProcessor), dataType(printer.dataType), parameters(printer.parameters);
  PRINTER_INFO_2W info = {};
  info.pPrinterName = name.Ptr();
  info.pShareName = share.OrNull();
  info.pPortName = port.Ptr();
  info.pDriverName = driver.Ptr();
  info.pComment = comment.OrNull();
  info.pLocation = location.OrNull();
  info.pPrintProcessor = processor.Ptr();
  // No data type means the spooler's default, "RAW"; it is sent by name because Wine's spooler stores nothing
  // for a null one and then cannot open the printer.
  static wchar_t raw[] = L"RAW";
  info.pDatatype = printer.dataType.empty() ? raw : dataType.Ptr();
  info.pParameters = parameters.OrNull();
  info.Attributes = printer.attributes;
  info.Priority = printer.priority;
  HANDLE handle = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (handle == nullptr) return GetLastError();
  ::ClosePrinter(handle);
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::EnumPrinters(std::vector<PrinterInfo2>* printers) {
  std::vector<BYTE> buffer;
  DWORD count = 0;
  uint32_t e = Enumerate([](BYTE* b, DWORD s, DWORD* n,
                            DWORD* r) { return EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, b, s, n, r); },
                         &buffer, &count);
  if (e != 0) return e;
  printers->clear();
  const auto* infos = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) printers->push_back(FromInfo2(infos[i]));
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::OpenPrinter(std::string_view name, uint32_t access, PrinterHandle* handle) {
  WideArg n(name);
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
  HANDLE opened = nullptr;
  if (!OpenPrinterW(n.Ptr(), &opened, &defaults)) return GetLastError();
  *handle = reinterpret_cast<PrinterHandle>(opened);
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::ClosePrinter(PrinterHandle handle) {
  return ErrorOf(::ClosePrinter(reinterpret_cast<HANDLE>(handle)));
}

uint32_t Win32Spooler::GetPrinter(PrinterHandle handle, PrinterInfo2* printer) {
  HANDLE h = reinterpret_cast<HANDLE>(handle);
  std::vector<BYTE> buffer;
  DWORD count = 0;
  uint32_t e = Enumerate(
      [&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
        *r = 1;
        return GetPrinterW(h, 2, b, s, n);
      },
      &buffer, &count);
  if (e != 0) return e;
  if (buffer.empty()) return ERROR_INVALID_DATA;
  *printer = FromInfo2(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data()));
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::SetPrinter(PrinterHandle handle, const PrinterInfo2& printer) {
  // The record is read first so that what this role does not carry (device mode, security, separator page)
  // goes back unchanged.
  HANDLE h = reinterpret_cast<HANDLE>(handle);
  DWORD needed = 0;
  GetPrinterW(h, 2, nullptr, 0, &needed);
  if (needed == 0) return GetLastError();
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterW(h, 2, buffer.data(), needed, &needed)) return GetLastError();
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
  WideArg share(printer.shareName), port(printer.portName), driver(printer.driverName),
      comment(printer.comment), location(printer.location), processor(printer.printProcessor),
      dataType(printer.dataType), parameters(printer.parameters);
  info->pShareName = share.OrNull();
  info->pPortName = port.Ptr();
  info->pDriverName = driver.Ptr();
  info->pComment = comment.OrNull();
  info->pLocation = location.OrNull();
  info->pPrintProcessor = processor.Ptr();
  info->pDatatype = dataType.OrNull();
  info->pParameters = parameters.OrNull();
  info->Attributes = printer.attributes;
  info->Priority = printer.priority;
  return ErrorOf(SetPrinterW(h, 2, buffer.data(), 0));
}

uint32_t Win32Spooler::DeletePrinter(PrinterHandle handle) {
  return ErrorOf(::DeletePrinter(reinterpret_cast<HANDLE>(handle)));
}

uint32_t Win32Spooler::SetDefaultPrinter(std::string_view printerName) {
  // Looked up by name: systems before Windows 2000 lack it.
  using SetDefault = BOOL(WINAPI*)(LPCWSTR);
  HMODULE winspool = GetModuleHandleW(L"winspool.drv");
  if (winspool == nullptr) winspool = LoadLibraryW(L"winspool.drv");
  auto function = winspool != nullptr ? reinterpret_cast<SetDefault>(reinterpret_cast<void*>(
                                            GetProcAddress(winspool, "SetDefaultPrinterW")))
                                      : nullptr;
  if (function == nullptr) return ERROR_PROC_NOT_FOUND;
  WideArg name(printerName);
  return ErrorOf(function(name.Ptr()));
}

uint32_t Win32Spooler::DeletePort(std::string_view name) {
  WideArg n(name);
  return ErrorOf(DeletePortW(nullptr, nullptr, n.Ptr()));
}

uint32_t Win32Spooler::EnumPorts(uint32_t bufferSize, uint32_t* needed, std::vector<std::string>* ports) {
  std::vector<BYTE> buffer(bufferSize == 0 ? 1 : bufferSize);
  DWORD need = 0;
  DWORD returned = 0;
  if (!EnumPortsW(nullptr, 1, bufferSize == 0 ? nullptr : buffer.data(), bufferSize, &need, &returned)) {
    *needed = need;
    return GetLastError();
  }
  *needed = need;
  ports->clear();
  const auto* infos = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) ports->push_back(FromWide(infos[i].pName));
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::XcvData(PrinterHandle handle, std::string_view command, std::span<const uint8_t> input,
                               uint32_t outputSize, std::vector<uint8_t>* output, uint32_t* status) {
  WideArg c(command);
  std::vector<BYTE> in(input.begin(), input.end());
  std::vector<BYTE> out(outputSize);
  DWORD needed = 0;
  DWORD monitorStatus = 0;
  if (!::XcvDataW(reinterpret_cast<HANDLE>(handle), c.Ptr(), in.empty() ? nullptr : in.data(),
                  static_cast<DWORD>(in.size()), out.empty() ? nullptr : out.data(), outputSize, &needed,
                  &monitorStatus)) {
    return GetLastError();
  }
  *output = std::move(out);
  *status = monitorStatus;
  return ERROR_SUCCESS;
}

namespace {
// A document call that failed must never read as success, even when the spooler left no last error.
uint32_t DocumentCallError(BOOL ok, DWORD fallback = ERROR_INVALID_FUNCTION) {
  if (ok) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : fallback;
}
}  // namespace

uint32_t Win32Spooler::StartDocPrinter(PrinterHandle handle, std::string_view documentName,
                                       std::string_view dataType, uint32_t* jobId) {
  WideArg name(documentName), type(dataType);
  DOC_INFO_1W info = {};
  info.pDocName = name.Ptr();
  info.pOutputFile = nullptr;
  info.pDatatype = type.OrNull();
  const DWORD job = StartDocPrinterW(reinterpret_cast<HANDLE>(handle), 1, reinterpret_cast<LPBYTE>(&info));
  if (job == 0) return DocumentCallError(FALSE);
  *jobId = job;
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::StartPagePrinter(PrinterHandle handle) {
  return DocumentCallError(::StartPagePrinter(reinterpret_cast<HANDLE>(handle)));
}

uint32_t Win32Spooler::WritePrinter(PrinterHandle handle, std::span<const uint8_t> bytes, uint32_t* written) {
  // The call takes a DWORD count and a non-const buffer it does not change.
  if (bytes.size() > 0xFFFFFFFFu) return ERROR_INVALID_PARAMETER;
  DWORD took = 0;
  const BOOL ok = ::WritePrinter(reinterpret_cast<HANDLE>(handle), const_cast<uint8_t*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size()), &took);
  if (!ok) return DocumentCallError(ok, ERROR_WRITE_FAULT);
  *written = took;
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::EndPagePrinter(PrinterHandle handle) {
  return DocumentCallError(::EndPagePrinter(reinterpret_cast<HANDLE>(handle)));
}

uint32_t Win32Spooler::EndDocPrinter(PrinterHandle handle) {
  return DocumentCallError(::EndDocPrinter(reinterpret_cast<HANDLE>(handle)));
}

void Win32Spooler::BroadcastSettingChange(std::string_view area, uint32_t timeoutMs) {
  WideArg a(area);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(a.Ptr()), SMTO_NORMAL,
                      timeoutMs, &result);
}

namespace {

// Opens the service with the rights asked for; closes both handles on the way out.
template <typename Use>
uint32_t WithService(std::string_view service, DWORD access, Use use) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return GetLastError();
  WideArg name(service);
  SC_HANDLE handle = OpenServiceW(manager, name.Ptr(), access);
  uint32_t e = handle == nullptr ? GetLastError() : use(handle);
  if (handle != nullptr) CloseServiceHandle(handle);
  CloseServiceHandle(manager);
  return e;
}

}  // namespace

uint32_t Win32ServiceControl::Stop(std::string_view service) {
  return WithService(service, SERVICE_STOP, [](SC_HANDLE h) {
    SERVICE_STATUS status = {};
    return ErrorOf(ControlService(h, SERVICE_CONTROL_STOP, &status));
  });
}

uint32_t Win32ServiceControl::Start(std::string_view service) {
  return WithService(service, SERVICE_START,
                     [](SC_HANDLE h) { return ErrorOf(StartServiceW(h, 0, nullptr)); });
}

uint32_t Win32ServiceControl::QueryState(std::string_view service, uint32_t* state) {
  return WithService(service, SERVICE_QUERY_STATUS, [state](SC_HANDLE h) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(h, &status)) return static_cast<uint32_t>(GetLastError());
    *state = status.dwCurrentState;
    return static_cast<uint32_t>(ERROR_SUCCESS);
  });
}

namespace {

struct CabinetContext {
  std::wstring folder;
  const std::function<bool(std::string_view)>* wanted;
};

UINT CALLBACK CabinetCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR) {
  auto* c = static_cast<CabinetContext*>(context);
  if (notification == SPFILENOTIFY_FILEINCABINET) {
    auto* info = reinterpret_cast<FILE_IN_CABINET_INFO_W*>(param1);
    std::string name = Narrow(info->NameInCabinet);
    if (!(*c->wanted)(name)) return FILEOP_SKIP;
    std::wstring target = c->folder;
    if (!target.empty() && target.back() != L'\\') target += L'\\';
    target += info->NameInCabinet;
    if (target.size() >= MAX_PATH) return FILEOP_SKIP;
    wcscpy(info->FullTargetName, target.c_str());
    return FILEOP_DOIT;
  }
  return NO_ERROR;
}

}  // namespace

uint32_t Win32Cabinet::Extract(std::string_view cabinet, std::string_view folder,
                               const std::function<bool(std::string_view name)>& wanted) {
  CabinetContext context{Wide(folder), &wanted};
  WideArg path(cabinet);
  return ErrorOf(SetupIterateCabinetW(path.Ptr(), 0, CabinetCallback, &context));
}

uint32_t Win32FsRedirection::Disable(uintptr_t* cookie) {
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
  auto function = kernel != nullptr ? reinterpret_cast<DisableFn>(reinterpret_cast<void*>(
                                          GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")))
                                    : nullptr;
  if (function == nullptr) return ERROR_INVALID_FUNCTION;
  PVOID old = nullptr;
  if (!function(&old)) return GetLastError();
  *cookie = reinterpret_cast<uintptr_t>(old);
  return ERROR_SUCCESS;
}

uint32_t Win32FsRedirection::Revert(uintptr_t cookie) {
  using RevertFn = BOOL(WINAPI*)(PVOID);
  HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
  auto function = kernel != nullptr ? reinterpret_cast<RevertFn>(reinterpret_cast<void*>(
                                          GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")))
                                    : nullptr;
  if (function == nullptr) return ERROR_INVALID_FUNCTION;
  return ErrorOf(function(reinterpret_cast<PVOID>(cookie)));
}

namespace {

FORM_INFO_1W ToFormInfo(const FormInfo1& form, wchar_t* name) {
  FORM_INFO_1W info{};
  info.Flags = form.flags;
  info.pName = name;
  info.Size = {form.width, form.height};
  info.ImageableArea = {form.left, form.top, form.right, form.bottom};
  return info;
}

}  // namespace

uint32_t Win32Spooler::EnumForms(PrinterHandle handle, uint32_t bufferSize, uint32_t* needed,
                                 std::vector<FormInfo1>* forms) {
  std::vector<BYTE> buffer(bufferSize == 0 ? 1 : bufferSize);
  DWORD need = 0;
  DWORD returned = 0;
  if (!EnumFormsW(reinterpret_cast<HANDLE>(handle), 1, bufferSize == 0 ? nullptr : buffer.data(), bufferSize,
                  &need, &returned)) {
    *needed = need;
    return GetLastError();
  }
  *needed = need;
  forms->clear();
  const auto* infos = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) {
    const FORM_INFO_1W& f = infos[i];
    forms->push_back({f.Flags, FromWide(f.pName), f.Size.cx, f.Size.cy, f.ImageableArea.left,
                      f.ImageableArea.top, f.ImageableArea.right, f.ImageableArea.bottom});
  }
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::AddForm(PrinterHandle handle, const FormInfo1& form) {
  std::wstring name = Wide(form.name);
  FORM_INFO_1W info = ToFormInfo(form, name.data());
  if (!AddFormW(reinterpret_cast<HANDLE>(handle), 1, reinterpret_cast<BYTE*>(&info))) return GetLastError();
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::SetForm(PrinterHandle handle, std::string_view name, const FormInfo1& form) {
  std::wstring formName = Wide(name);
  FORM_INFO_1W info = ToFormInfo(form, formName.data());
  if (!SetFormW(reinterpret_cast<HANDLE>(handle), formName.data(), 1, reinterpret_cast<BYTE*>(&info)))
    return GetLastError();
  return ERROR_SUCCESS;
}

uint32_t Win32Spooler::DeleteForm(PrinterHandle handle, std::string_view name) {
  std::wstring formName = Wide(name);
  if (!DeleteFormW(reinterpret_cast<HANDLE>(handle), formName.data())) return GetLastError();
  return ERROR_SUCCESS;
}

}  // namespace mq::platform
