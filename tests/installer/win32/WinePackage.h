// The sample package laid out for the Windows test programs under Wine, as assemble-dist lays it out for the
// x64 programs: DRVCONFIG, language and licence files, the W64 driver files with the built port monitor and
// plug-in, and the test build of the USB helper libraries beside it. Also the universal driver's files in a
// driver store as Windows 7 keeps them, which a Wine prefix lacks.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "WineHostPath.h"

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

inline bool Exists(const std::wstring& path) {
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

struct PackageParts {
  const char* packageDir;      // the source tree's package folder (Unix path)
  const char* monitorDll;      // the built port monitor stand-in
  const char* pluginDll;       // the built plug-in, or null for a placeholder
  const char* usbLibraryDir;   // the folder of the test build of ZnUsbInt.dll and UsbPrnLink.dll
  std::string usbDevices;      // the test libraries' UsbDevices.ini
};

// Lays the package out in folder (created) and returns false when a part is missing.
inline bool LayOutPackage(const std::wstring& folder, const PackageParts& parts) {
  const std::wstring source = WineHostPathW(parts.packageDir);
  const std::wstring w64 = folder + L"\\W64";
  for (const wchar_t* sub : {L"\\DRVCONFIG", L"\\language", L"\\License", L"\\W64"})
    SHCreateDirectoryExW(nullptr, (folder + sub).c_str(), nullptr);
  bool ok = true;
  for (const wchar_t* sub : {L"\\DRVCONFIG", L"\\language", L"\\License"}) {
    for (const std::wstring& name : FilesIn(source + sub)) ok &= CopyInto(source + sub + L"\\" + name, folder + sub, name);
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
  if (!Exists(w64 + L"\\LANGUAGE_MQ450.ini")) PutText(w64 + L"\\LANGUAGE_MQ450.ini", "[Language]\r\n");
  const std::wstring usbLibraries = WineHostPathW(parts.usbLibraryDir);
  ok &= CopyInto(usbLibraries + L"\\ZnUsbInt.dll", folder, L"ZnUsbInt.dll");
  ok &= CopyInto(usbLibraries + L"\\UsbPrnLink.dll", folder, L"UsbPrnLink.dll");
  PutText(folder + L"\\UsbDevices.ini", parts.usbDevices);
  return ok;
}

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

}  // namespace mq::testing
