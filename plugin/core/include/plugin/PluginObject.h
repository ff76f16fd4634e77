// The plug-in's IPrintOemUI object and its class factory.
#pragma once

#include <atomic>

#include "plugin/HostTypes.h"
#include "plugin/PageContext.h"
#include "plugin/PluginModule.h"

namespace mq::plugin {

class PluginObject final : public host::IPrintOemUI {
 public:
  explicit PluginObject(PluginModule& module);

  com::HResult MQ_COM_CALL QueryInterface(const com::Guid& riid, void** ppv) override;
  uint32_t MQ_COM_CALL AddRef() override;
  uint32_t MQ_COM_CALL Release() override;
  com::HResult MQ_COM_CALL GetInfo(uint32_t dwMode, void* pBuffer, uint32_t cbSize,
                                   uint32_t* pcbNeeded) override;
  com::HResult MQ_COM_CALL DevMode(uint32_t dwMode, host::OemDmParam* pOemDMParam) override;
  com::HResult MQ_COM_CALL PublishDriverInterface(com::IUnknown* pIUnknown) override;
  com::HResult MQ_COM_CALL CommonUIProp(uint32_t dwMode, host::OemCuipParam* pOemCUIPParam) override;
  com::HResult MQ_COM_CALL DocumentPropertySheets(host::PropSheetUiInfo* pPSUIInfo,
                                                  host::LParam lParam) override;
  com::HResult MQ_COM_CALL DevicePropertySheets(host::PropSheetUiInfo* pPSUIInfo,
                                                host::LParam lParam) override;
  com::HResult MQ_COM_CALL DevQueryPrintEx(void*, void*, void*, void*) override { return com::kNotImpl; }
  com::HResult MQ_COM_CALL DeviceCapabilities(void*, host::Handle, host::WChar*, uint16_t, void*, void*,
                                              void*, uint32_t, uint32_t*) override {
    return com::kNotImpl;
  }
  com::HResult MQ_COM_CALL UpgradePrinter(uint32_t, uint8_t*) override { return com::kNotImpl; }
  com::HResult MQ_COM_CALL PrinterEvent(host::WChar*, int32_t, uint32_t, host::LParam) override {
    return com::kNotImpl;
  }
  com::HResult MQ_COM_CALL DriverEvent(uint32_t, uint32_t, uint8_t*, host::LParam) override {
    return com::kNotImpl;
  }
  com::HResult MQ_COM_CALL QueryColorProfile(host::Handle hPrinter, void* poemuiobj, void* pPublicDM,
                                             void* pOEMDM, uint32_t ulQueryMode, void* pvProfileData,
                                             uint32_t* pcbProfileData, uint32_t* pflProfileData) override;
  com::HResult MQ_COM_CALL FontInstallerDlgProc(host::Handle, uint32_t, uintptr_t, host::LParam) override {
    return com::kNotImpl;
  }
  com::HResult MQ_COM_CALL UpdateExternalFonts(host::Handle, host::Handle, host::WChar*) override {
    return com::kNotImpl;
  }

  const DocumentPageContext& DocumentContext() const { return documentContext_; }
  const DevicePageContext& DeviceContext() const { return deviceContext_; }
  host::IPrintOemDriverUI* DriverUI() const { return driverUI_; }

 private:
  ~PluginObject() = default;  // destroyed by the last Release

  PluginModule& module_;
  std::atomic<uint32_t> references_{1};
  host::IPrintOemDriverUI* driverUI_ = nullptr;
  DocumentPageContext documentContext_;
  DevicePageContext deviceContext_;
};

class ClassFactory final : public com::IClassFactory {
 public:
  explicit ClassFactory(PluginModule& module) : module_(module) {}

  com::HResult MQ_COM_CALL QueryInterface(const com::Guid& riid, void** ppv) override;
  uint32_t MQ_COM_CALL AddRef() override;
  uint32_t MQ_COM_CALL Release() override;
  com::HResult MQ_COM_CALL CreateInstance(com::IUnknown* outer, const com::Guid& riid, void** ppv) override;
  com::HResult MQ_COM_CALL LockServer(int32_t lock) override;

 private:
  ~ClassFactory() = default;

  PluginModule& module_;
  std::atomic<uint32_t> references_{1};
};

// The colour profile the plug-in names, and the buffer size it needs (UTF-16 with terminator, rounded up).
inline constexpr char16_t kColorProfileName[] = u"OEMPROFILE.icm";
inline constexpr uint32_t kColorProfileBytes = 32;

}  // namespace mq::plugin
