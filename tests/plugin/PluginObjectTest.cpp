// The class factory and the plug-in object as the host sees them through their COM interfaces.
#include "plugin/PluginObject.h"

#include <gtest/gtest.h>

#include <cstring>

#include "RecordingDriverUI.h"
#include "platform/WinError.h"
#include "platform/fake/FakePlatform.h"
#include "plugin/PrivateSettings.h"

namespace mq::plugin {
namespace {

using FakeDriverUI = mq::testing::RecordingDriverUI;

class RecordingSheets final : public SheetAssembly {
 public:
  com::HResult DocumentSheet(host::PropSheetUiInfo* info, host::LParam,
                             DocumentPageContext& context) override {
    documentHelper = context.driverUI;
    info->Result = 77;
    return com::kOk;
  }
  com::HResult DeviceSheet(host::PropSheetUiInfo* info, host::LParam, DevicePageContext& context) override {
    deviceHelper = context.driverUI;
    info->Result = 78;
    return com::kOk;
  }
  host::IPrintOemDriverUI* documentHelper = reinterpret_cast<host::IPrintOemDriverUI*>(1);
  host::IPrintOemDriverUI* deviceHelper = reinterpret_cast<host::IPrintOemDriverUI*>(1);
};

struct PluginObjectFixture : ::testing::Test {
  platform::FakePlatform platform;
  RecordingSheets sheets;
  PluginModule module{platform.Services(), &sheets};
  host::IPrintOemUI* object = nullptr;

  void SetUp() override {
    void* factory = nullptr;
    ASSERT_EQ(module.GetClassObject(host::kClsidOemUi, com::kIidIClassFactory, &factory), com::kOk);
    auto* cf = static_cast<com::IClassFactory*>(factory);
    void* made = nullptr;
    ASSERT_EQ(cf->CreateInstance(nullptr, host::kIidIPrintOemUI, &made), com::kOk);
    EXPECT_EQ(cf->Release(), 0u);
    object = static_cast<host::IPrintOemUI*>(made);
  }
  void TearDown() override {
    if (object != nullptr) {
      EXPECT_EQ(object->Release(), 0u);
    }
  }
};

TEST(PluginEntry, ServesOnlyThePluginClass) {
  platform::FakePlatform platform;
  PluginModule module(platform.Services(), nullptr);
  void* sentinel = reinterpret_cast<void*>(0x1234);
  void* ppv = sentinel;
  com::Guid other = host::kClsidOemUi;
  other.data4[7] ^= 1;
  EXPECT_EQ(module.GetClassObject(other, com::kIidIClassFactory, &ppv), com::kClassNotAvailable);
  EXPECT_EQ(ppv, sentinel);
  EXPECT_EQ(module.GetClassObject(host::kClsidOemUi, host::kIidIPrintOemUI, &ppv), com::kNoInterface);
  EXPECT_EQ(ppv, nullptr);
}

TEST(PluginEntry, LockServerHoldsTheLibrary) {
  platform::FakePlatform platform;
  PluginModule module(platform.Services(), nullptr);
  void* factory = nullptr;
  ASSERT_EQ(module.GetClassObject(host::kClsidOemUi, com::kIidIUnknown, &factory), com::kOk);
  auto* cf = static_cast<com::IClassFactory*>(factory);
  EXPECT_EQ(module.CanUnloadNow(), com::kOk);
  cf->LockServer(1);
  cf->LockServer(1);
  EXPECT_EQ(module.CanUnloadNow(), com::kFalse);
  cf->LockServer(0);
  EXPECT_EQ(module.CanUnloadNow(), com::kFalse);
  cf->LockServer(0);
  EXPECT_EQ(module.CanUnloadNow(), com::kOk);
  void* made = nullptr;
  EXPECT_EQ(cf->CreateInstance(reinterpret_cast<com::IUnknown*>(cf), host::kIidIPrintOemUI, &made),
            com::kNoAggregation);
  EXPECT_EQ(cf->Release(), 0u);
}

TEST_F(PluginObjectFixture, QueryInterfaceAndReferenceCounts) {
  void* ppv = nullptr;
  EXPECT_EQ(object->QueryInterface(com::kIidIUnknown, &ppv), com::kOk);
  EXPECT_EQ(ppv, object);
  EXPECT_EQ(object->AddRef(), 3u);
  EXPECT_EQ(object->Release(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  ppv = reinterpret_cast<void*>(1);
  EXPECT_EQ(object->QueryInterface(com::kIidIClassFactory, &ppv), com::kNoInterface);
  EXPECT_EQ(ppv, nullptr);
}

TEST_F(PluginObjectFixture, GetInfo) {
  struct Case {
    uint32_t mode;
    uint32_t size;
    com::HResult result;
    uint32_t needed;
    uint32_t error;
    uint32_t value;
  };
  constexpr uint32_t kUntouched = 0xCCCCCCCC;
  const Case cases[] = {
      {1, 4, com::kOk, 4, kUntouched, kPrivateSettingsSignature},
      {1, 3, com::kFail, 4, err::kInsufficientBuffer, kUntouched},
      {3, 4, com::kOk, 4, kUntouched, 1},
      {3, 0, com::kFail, 4, err::kInsufficientBuffer, kUntouched},
      {4, 4, com::kFail, 0, err::kNotSupported, kUntouched},
      {2, 4, com::kFail, kUntouched, err::kInvalidParameter, kUntouched},
      {0, 4, com::kFail, kUntouched, err::kInvalidParameter, kUntouched},
  };
  for (const Case& c : cases) {
    uint32_t buffer = kUntouched;
    uint32_t needed = kUntouched;
    platform.lastError.value = kUntouched;
    EXPECT_EQ(object->GetInfo(c.mode, &buffer, c.size, &needed), c.result) << c.mode << "/" << c.size;
    EXPECT_EQ(needed, c.needed) << c.mode;
    EXPECT_EQ(platform.lastError.value, c.error) << c.mode;
    EXPECT_EQ(buffer, c.value) << c.mode;
  }
  platform.lastError.value = 0;
  uint32_t buffer = 0;
  EXPECT_EQ(object->GetInfo(1, &buffer, 4, nullptr), com::kFail);
  EXPECT_EQ(platform.lastError.value, err::kInvalidParameter);
  uint32_t needed = 0;
  EXPECT_EQ(object->GetInfo(1, nullptr, 4, &needed), com::kFail);
  EXPECT_EQ(needed, 4u);
}

TEST_F(PluginObjectFixture, DevModeUsesTheSystemDriveForTheLogFolder) {
  platform.system.systemDirectory = "E:\\WINDOWS\\system32";
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  host::OemDmParam param{};
  param.pOEMDMOut = record.data();
  ASSERT_EQ(object->DevMode(host::kOemDmDefault, &param), com::kOk);
  EXPECT_EQ(settings::kLogFolder.Get(record.data()), u"E:\\ZNTDriverlog\\MQ-450\\");
}

TEST_F(PluginObjectFixture, QueryColorProfileProbesItsBuffer) {
  uint8_t buffer[40];
  std::memset(buffer, 0xCC, sizeof buffer);
  uint32_t size = 31;
  uint32_t flags = 0;
  EXPECT_EQ(object->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, buffer, &size, &flags),
            com::kFail);
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(platform.lastError.value, err::kInsufficientBuffer);
  EXPECT_EQ(buffer[0], 0xCC);
  EXPECT_EQ(object->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, nullptr, &size, &flags),
            com::kFail);
  size = 32;
  ASSERT_EQ(object->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, buffer, &size, &flags),
            com::kOk);
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(flags, host::kQcpProfileDisk);
  EXPECT_EQ(0, std::memcmp(buffer, u"OEMPROFILE.icm", 30));
  EXPECT_EQ(buffer[32], 0xCC) << "nothing past the 32 bytes";
  EXPECT_EQ(object->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 1, buffer, &size, &flags),
            com::kFail);
}

TEST_F(PluginObjectFixture, PublishDriverInterfaceKeepsTheFirstHelper) {
  FakeDriverUI refusing(false);
  EXPECT_EQ(object->PublishDriverInterface(&refusing), com::kFail);
  FakeDriverUI first, second;
  EXPECT_EQ(object->PublishDriverInterface(&first), com::kOk);
  EXPECT_EQ(object->PublishDriverInterface(&second), com::kOk);
  EXPECT_EQ(first.references, 2u);
  EXPECT_EQ(second.references, 1u);

  host::PropSheetUiInfo info{};
  info.Version = host::kPropSheetUiInfoVersion;
  EXPECT_EQ(object->DocumentPropertySheets(&info, 0), com::kOk);
  EXPECT_EQ(info.Result, 77u);
  EXPECT_EQ(object->DevicePropertySheets(&info, 0), com::kOk);
  EXPECT_EQ(info.Result, 78u);
  EXPECT_EQ(sheets.documentHelper, &first);
  EXPECT_EQ(sheets.deviceHelper, &first);

  EXPECT_EQ(object->Release(), 0u);
  object = nullptr;
  EXPECT_EQ(first.references, 1u) << "the last release gives the helper back";
}

TEST_F(PluginObjectFixture, SheetsRejectABadInfoRecord) {
  host::PropSheetUiInfo info{};
  info.Version = 0x0101;
  info.Result = 5;
  platform.lastError.value = 0;
  EXPECT_EQ(object->DocumentPropertySheets(&info, 0), com::kFail);
  EXPECT_EQ(platform.lastError.value, err::kInvalidParameter);
  EXPECT_EQ(object->DevicePropertySheets(nullptr, 0), com::kFail);
  EXPECT_EQ(info.Result, 5u);
  EXPECT_EQ(sheets.documentHelper, reinterpret_cast<host::IPrintOemDriverUI*>(1)) << "no sheet was built";
}

TEST_F(PluginObjectFixture, CommonUIPropStoresTheParameterForBothSheets) {
  host::OemCuipParam param{};
  param.cOEMOptItems = 9;
  EXPECT_EQ(object->CommonUIProp(host::kOemCuipDocProp, &param), com::kOk);
  EXPECT_EQ(param.cOEMOptItems, 9u);
  EXPECT_EQ(object->CommonUIProp(host::kOemCuipPrnProp, &param), com::kOk);
  EXPECT_EQ(param.cOEMOptItems, 0u);
  platform.lastError.value = 0;
  EXPECT_EQ(object->CommonUIProp(3, &param), com::kFail);
  EXPECT_EQ(platform.lastError.value, err::kInvalidParameter);
  auto* plugin = static_cast<PluginObject*>(object);
  EXPECT_EQ(plugin->DocumentContext().pOEMCUIPParam, &param);
  EXPECT_EQ(plugin->DeviceContext().pOEMCUIPParam, &param);
  EXPECT_EQ(plugin->DocumentContext().hComPropSheet, kNoHandle);
  EXPECT_EQ(plugin->DeviceContext().pageHandle, kNoHandle);
}

TEST_F(PluginObjectFixture, UnusedMethodsAreNotImplemented) {
  EXPECT_EQ(object->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr), com::kNotImpl);
  EXPECT_EQ(object->DeviceCapabilities(nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr),
            com::kNotImpl);
  EXPECT_EQ(object->UpgradePrinter(0, nullptr), com::kNotImpl);
  EXPECT_EQ(object->PrinterEvent(nullptr, 0, 0, 0), com::kNotImpl);
  EXPECT_EQ(object->DriverEvent(0, 0, nullptr, 0), com::kNotImpl);
  EXPECT_EQ(object->FontInstallerDlgProc(nullptr, 0, 0, 0), com::kNotImpl);
  EXPECT_EQ(object->UpdateExternalFonts(nullptr, nullptr, nullptr), com::kNotImpl);
}

}  // namespace
}  // namespace mq::plugin
