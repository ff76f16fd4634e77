// Plays the print host against the real MQ450UI.dll: loads it, reaches the plug-in object through the
// exported class factory and checks what a host relies on; checks the language preparation done at load.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "WineHostPath.h"
#include "RecordingDriverUI.h"
#include "plugin/HostTypes.h"
#include "plugin/UiTexts.h"

namespace {

using namespace mq;

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

class LoadedPlugin {
 public:
  LoadedPlugin() {
    module_ = LoadLibraryW(mq::testing::WineHostPathW(MQ_PLUGIN_DLL).c_str());
    if (module_ != nullptr) {
      getClassObject = reinterpret_cast<GetClassObjectFn>(
          reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
      canUnloadNow = reinterpret_cast<CanUnloadNowFn>(
          reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    }
  }
  ~LoadedPlugin() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  bool Loaded() const { return module_ != nullptr && getClassObject != nullptr && canUnloadNow != nullptr; }

  com::IClassFactory* Factory() {
    void* factory = nullptr;
    HRESULT hr = getClassObject(reinterpret_cast<REFCLSID>(host::kClsidOemUi),
                                reinterpret_cast<REFIID>(com::kIidIClassFactory), &factory);
    return hr == S_OK ? static_cast<com::IClassFactory*>(factory) : nullptr;
  }

  GetClassObjectFn getClassObject = nullptr;
  CanUnloadNowFn canUnloadNow = nullptr;

 private:
  HMODULE module_ = nullptr;
};

using HostHelper = mq::testing::RecordingDriverUI;

struct PluginHost : ::testing::Test {
  LoadedPlugin plugin;
  host::IPrintOemUI* object = nullptr;

  void SetUp() override {
    ASSERT_TRUE(plugin.Loaded()) << "cannot load " << MQ_PLUGIN_DLL;
    com::IClassFactory* factory = plugin.Factory();
    ASSERT_NE(factory, nullptr);
    void* made = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, host::kIidIPrintOemUI, &made), com::kOk);
    factory->Release();
    object = static_cast<host::IPrintOemUI*>(made);
  }
  void TearDown() override {
    if (object != nullptr) object->Release();
  }
};

TEST_F(PluginHost, AnswersGetInfoAndColorProfile) {
  DWORD signature = 0;
  uint32_t needed = 0;
  SetLastError(0);
  EXPECT_EQ(object->GetInfo(1, &signature, 3, &needed), com::kFail);
  EXPECT_EQ(needed, 4u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(object->GetInfo(1, &signature, 4, &needed), com::kOk);
  EXPECT_EQ(signature, 0x005A4E54u);
  DWORD version = 0;
  EXPECT_EQ(object->GetInfo(3, &version, 4, &needed), com::kOk);
  EXPECT_EQ(version, 1u);
  SetLastError(0);
  EXPECT_EQ(object->GetInfo(2, &version, 4, &needed), com::kFail);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  wchar_t profile[16] = {};
  uint32_t size = 31;
  uint32_t flags = 0;
  EXPECT_EQ(object->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, profile, &size, &flags),
            com::kFail);
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(object->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, profile, &size, &flags),
            com::kOk);
  EXPECT_STREQ(profile, L"OEMPROFILE.icm");
  EXPECT_EQ(flags, 2u);
}

TEST_F(PluginHost, DevModeSizeDefaultConvertMerge) {
  host::OemDmParam param{};
  param.cbSize = sizeof param;
  ASSERT_EQ(object->DevMode(1, &param), com::kOk);
  ASSERT_EQ(param.cbBufSize, 1976u);

  std::vector<uint8_t> defaults(1976, 0), stored(1976, 0), target(1976, 0);
  param.pOEMDMOut = defaults.data();
  ASSERT_EQ(object->DevMode(2, &param), com::kOk);
  const uint8_t header[12] = {0xB8, 0x07, 0, 0, 'T', 'N', 'Z', 0, 1, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(defaults.data(), header, 12));
  wchar_t systemDir[MAX_PATH];
  GetSystemDirectoryW(systemDir, MAX_PATH);
  std::wstring logFolder = std::wstring(systemDir, 3) + L"ZNTDriverlog\\MQ-450\\";
  EXPECT_EQ(0, std::memcmp(defaults.data() + 1464, logFolder.c_str(), logFolder.size() * 2));

  // A stored copy of an earlier, shorter layout keeps its values; the reserved value is bounded on merge.
  stored = defaults;
  stored[0] = 0xB8;
  stored[1] = 0x05;  // 1464 bytes
  stored[12] = 101;  // reservedValue
  stored[999] = 1;   // printAsGraphics
  target = defaults;
  param.pOEMDMIn = stored.data();
  param.pOEMDMOut = target.data();
  ASSERT_EQ(object->DevMode(3, &param), com::kOk);
  EXPECT_EQ(target[999], 1);
  EXPECT_EQ(target[12], 101);
  EXPECT_EQ(target[1], 0x07);
  target = defaults;
  ASSERT_EQ(object->DevMode(4, &param), com::kOk);
  EXPECT_EQ(target[12], 0);
  EXPECT_EQ(target[999], 1);

  SetLastError(0);
  EXPECT_EQ(object->DevMode(7, &param), com::kFail);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PluginHost, CommonUIPropAndHelper) {
  host::OemCuipParam param{};
  param.cbSize = sizeof param;
  param.cOEMOptItems = 4;
  EXPECT_EQ(object->CommonUIProp(2, &param), com::kOk);
  EXPECT_EQ(param.cOEMOptItems, 0u);
  EXPECT_EQ(object->CommonUIProp(1, &param), com::kOk);
  EXPECT_EQ(object->CommonUIProp(9, &param), com::kFail);

  HostHelper helper;
  EXPECT_EQ(object->PublishDriverInterface(&helper), com::kOk);
  EXPECT_EQ(helper.references, 2u);
  HostHelper second;
  EXPECT_EQ(object->PublishDriverInterface(&second), com::kOk);
  EXPECT_EQ(second.references, 1u);
  object->Release();
  object = nullptr;
  EXPECT_EQ(helper.references, 1u);
}

TEST_F(PluginHost, LockServerKeepsTheLibraryLoaded) {
  com::IClassFactory* factory = plugin.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(plugin.canUnloadNow(), S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(plugin.canUnloadNow(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(plugin.canUnloadNow(), S_OK);
  factory->Release();

  void* ppv = reinterpret_cast<void*>(1);
  GUID other{};
  EXPECT_EQ(plugin.getClassObject(other, reinterpret_cast<REFIID>(com::kIidIClassFactory), &ppv),
            CLASS_E_CLASSNOTAVAILABLE);
}

std::wstring Wide(std::string_view s) {
  std::wstring out;
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  out.resize(n);
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::wstring ReadLanguageValue(const wchar_t* name) {
  wchar_t buffer[64] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\ZNT\\LANGUAGE", name, RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS) {
    return L"<missing>";
  }
  return buffer;
}

// A new user: no registry key and no per-user copies; the installed files in the driver directory.
TEST(LanguageAtLoad, FirstLoadWritesTheRegistryAndCopiesTheFiles) {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\ZNT\\LANGUAGE");
  wchar_t appData[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, TRUE));
  std::wstring userFolder = std::wstring(appData) + L"\\ZNT\\";
  wchar_t windowsDir[MAX_PATH];
  GetWindowsDirectoryW(windowsDir, MAX_PATH);
  std::wstring driverDir = std::wstring(windowsDir) + L"\\system32\\spool\\drivers\\x64\\3\\";
  SHCreateDirectoryExW(nullptr, driverDir.c_str(), nullptr);
  const wchar_t* files[] = {L"LANGUAGE_MQ450.ini", L"ENG_MQ450.res", L"CHN_MQ450.res", L"CHF_MQ450.res"};
  std::wstring package = mq::testing::WineHostPathW(MQ_PACKAGE_DIR) + L"\\Driver\\UI\\";
  for (const wchar_t* f : files) {
    DeleteFileW((userFolder + f).c_str());
    ASSERT_TRUE(CopyFileW((package + f).c_str(), (driverDir + f).c_str(), FALSE)) << GetLastError();
  }

  std::string_view expected = plugin::SystemLanguageFor(GetSystemDefaultLangID()).fileName;
  if (const char* want = std::getenv("MQ_EXPECT_LANG")) {
    EXPECT_EQ(expected.substr(0, 3), want) << "system language id " << std::hex << GetSystemDefaultLangID();
  }
  {
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.Loaded());
  }
  EXPECT_EQ(ReadLanguageValue(L"IsFirstRun_MQ450"), L"TRUE");
  EXPECT_EQ(ReadLanguageValue(L"LANGUAGE_MQ450"), Wide(expected));
  EXPECT_NE(GetFileAttributesW((userFolder + L"LANGUAGE_MQ450.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((userFolder + Wide(expected)).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
