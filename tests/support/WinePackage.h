// The sample package laid out in a folder of the Wine prefix as assemble-dist lays it out for 64-bit Windows
// (optionally with the test build of the USB helper libraries beside it), and an installation of the MQ-450 into the prefix's spooler through the x64 installation engine, for the
// Windows test programs that need a printer of the package in place. Wine-specific preparation lives here:
// the driver store that Windows 7 has and a Wine prefix lacks gets the universal driver's file names.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "WineHostPath.h"
#include "common/LanguageTexts.h"
#include "common/OsGeneration.h"
#include "installer/InstallEngine.h"
#include "installer/UsbInstallation.h"
#include "installer/UsbPrinters.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SetupRoles.h"
#include "platform/win32/Win32UsbRoles.h"

namespace mq::testing {

inline bool CopyInto(const std::wstring& source, const std::wstring& folder, const std::wstring& name) {
  return CopyFileW(source.c_str(), (folder + L"\\" + name).c_str(), FALSE) != 0;
}

inline void PutText(const std::wstring& path, const std::string& text) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

inline bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

// What goes into the package folder besides the source tree's package files.
struct PackageParts {
  const char* packageDir;     // the source tree's package folder (Unix path)
  const char* monitorDll;     // the built port monitor stand-in, under both monitor names
  const char* pluginDll;      // the built plug-in, or null for a placeholder
  const char* usbLibraryDir;  // the test build of ZnUsbInt.dll and UsbPrnLink.dll, or null for none
  std::string usbDevices;     // the test libraries' UsbDevices.ini
};

// Windows 7 keeps the universal driver's files in its driver store; the prefix gets stand-ins there.
inline void MakeDriverStore() {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring store =
      std::wstring(windows) + L"\\System32\\DriverStore\\FileRepository\\ntprint.inf_amd64_mqtest\\amd64";
  SHCreateDirectoryExW(nullptr, store.c_str(), nullptr);
  for (const wchar_t* name :
       {L"UNIDRV.DLL", L"UNIDRVUI.DLL", L"UNIDRV.HLP", L"UNIRES.DLL", L"STDNAMES.GPD", L"TTFSUB.GPD"}) {
    PutText(store + L"\\" + name, "universal driver file of the test system\r\n");
  }
}

// The package folder (created): DRVCONFIG, language and licence files, the W64 driver files with the port
// monitor and the plug-in, and the USB helper libraries beside it. False when a part could not be copied.
inline bool LayOutPackage(const std::wstring& package, const PackageParts& parts) {
  const std::wstring source = WineHostPathW(parts.packageDir);
  const std::wstring w64 = package + L"\\W64";
  for (const wchar_t* sub : {L"\\DRVCONFIG", L"\\language", L"\\License", L"\\W64"})
    SHCreateDirectoryExW(nullptr, (package + sub).c_str(), nullptr);
  bool ok = true;
  for (const wchar_t* sub : {L"\\DRVCONFIG", L"\\language", L"\\License"}) {
    for (const std::wstring& name : FilesIn(source + sub))
      ok &= CopyInto(source + sub + L"\\" + name, package + sub, name);
  }
  for (const wchar_t* sub : {L"\\Driver\\common", L"\\Driver\\UI"}) {
    for (const std::wstring& name : FilesIn(source + sub)) ok &= CopyInto(source + sub + L"\\" + name, w64, name);
  }
  ok &= CopyInto(WineHostPathW(parts.monitorDll), w64, L"ZNTUSBMON.DLL");
  ok &= CopyInto(WineHostPathW(parts.monitorDll), w64, L"ZNTCOMMON.DLL");
  if (parts.pluginDll != nullptr)
    ok &= CopyInto(WineHostPathW(parts.pluginDll), w64, L"MQ450UI.dll");
  else
    PutText(w64 + L"\\MQ450UI.dll", "plug-in placeholder\r\n");
  if (!FileExists(w64 + L"\\LANGUAGE_MQ450.ini")) PutText(w64 + L"\\LANGUAGE_MQ450.ini", "[Language]\r\n");
  if (parts.usbLibraryDir != nullptr) {
    const std::wstring usbLibraries = WineHostPathW(parts.usbLibraryDir);
    ok &= CopyInto(usbLibraries + L"\\ZnUsbInt.dll", package, L"ZnUsbInt.dll");
    ok &= CopyInto(usbLibraries + L"\\UsbPrnLink.dll", package, L"UsbPrnLink.dll");
    PutText(package + L"\\UsbDevices.ini", parts.usbDevices);
  }
  return ok;
}

// The package without USB helper libraries, and the driver store.
inline void LayOutPackage(const std::wstring& package, const char* sourceUnix, const char* monitorDllUnix,
                          const char* pluginDllUnix) {
  LayOutPackage(package, {sourceUnix, monitorDllUnix, pluginDllUnix, nullptr, ""});
  MakeDriverStore();
}

// The answers of an installation that nobody watches: messages collected, every question answered No.
class CollectingInstallUi : public installer::InstallUi {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override {
    shown += std::string(caption) + "|" + std::string(text) + "\n";
  }
  bool AskYesNo(std::string_view) override { return false; }
  bool RestartWindows() override { return false; }
  std::string shown;
};

// Installs the MQ-450 on Windows 7 from package on port; returns the job with its result.
inline installer::InstallJob InstallMq450(const std::wstring& package, const char* port) {
  platform::Win32Platform platform;
  platform::Win32SetupRoles roles;
  platform::Win32UsbRoles usbRoles;
  CollectingInstallUi ui;
  bool is64 = common::Is64BitWindows(platform.system);
  installer::SetupConfig config(platform.profile, platform::Narrow(package), is64);
  common::LanguageTexts texts(platform.profile, config.packageFolder() + "\\language", "setup", 0x0409);
  installer::UsbPrinters printers(usbRoles.devices, usbRoles.libraries, usbRoles.versions,
                                  config.packageFolder(), texts, ui);
  installer::InstallerServices services{
      platform.Services(), roles.spooler, roles.services,           roles.cabinet,
      roles.redirection,   printers,      platform::SystemErrorText};
  installer::UsbInstallation usb(services, config, texts, ui, printers);
  installer::InstallEngine engine(services, config, texts, ui, usb);
  installer::InstallJob job;
  job.model = "MQ-450";
  job.type = installer::PrinterType::kReceipt;
  job.os = common::OsGeneration::kWin7;
  job.portName = port;
  job.raster = true;
  installer::PrepareResult prepared = engine.Prepare(job);
  if (prepared.outcome != installer::PrepareResult::Outcome::kReady) {
    job.resultText = prepared.message;
    return job;
  }
  engine.RunWorker(job);
  return job;
}

}  // namespace mq::testing
