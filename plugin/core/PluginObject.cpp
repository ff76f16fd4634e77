// The plug-in object, its class factory and the library-wide entry points.
#include "plugin/PluginObject.h"

#include <cstring>
#include <new>

#include "platform/WinError.h"
#include "plugin/PrivateSettings.h"

namespace mq::plugin {

PluginModule::PluginModule(platform::PlatformServices services, SheetAssembly* sheets)
    : services_(services), texts_(services), sheets_(sheets) {}

void PluginModule::OnLoad() {
  texts_.PrepareAtLoad();
}

com::HResult PluginModule::GetClassObject(const com::Guid& clsid, const com::Guid& iid, void** ppv) {
  if (!(clsid == host::kClsidOemUi)) return com::kClassNotAvailable;
  auto* factory = new (std::nothrow) ClassFactory(*this);
  if (factory == nullptr) return com::kOutOfMemory;
  com::HResult result = factory->QueryInterface(iid, ppv);
  factory->Release();
  return result;
}

// ---- class factory ----

com::HResult ClassFactory::QueryInterface(const com::Guid& riid, void** ppv) {
  if (ppv == nullptr) return com::kNoInterface;
  if (riid == com::kIidIUnknown || riid == com::kIidIClassFactory) {
    *ppv = static_cast<com::IClassFactory*>(this);
    AddRef();
    return com::kOk;
  }
  *ppv = nullptr;
  return com::kNoInterface;
}

uint32_t ClassFactory::AddRef() {
  return references_.fetch_add(1) + 1;
}

uint32_t ClassFactory::Release() {
  uint32_t left = references_.fetch_sub(1) - 1;
  if (left == 0) delete this;
  return left;
}

com::HResult ClassFactory::CreateInstance(com::IUnknown* outer, const com::Guid& riid, void** ppv) {
  if (outer != nullptr) return com::kNoAggregation;
  auto* object = new (std::nothrow) PluginObject(module_);
  if (object == nullptr) return com::kOutOfMemory;
  com::HResult result = object->QueryInterface(riid, ppv);
  object->Release();
  return result;
}

com::HResult ClassFactory::LockServer(int32_t lock) {
  if (lock != 0) {
    module_.Lock();
  } else {
    module_.Unlock();
  }
  return com::kOk;
}

// ---- plug-in object ----

PluginObject::PluginObject(PluginModule& module) : module_(module) {}

com::HResult PluginObject::QueryInterface(const com::Guid& riid, void** ppv) {
  if (ppv == nullptr) return com::kNoInterface;
  if (riid == com::kIidIUnknown || riid == host::kIidIPrintOemUI) {
    *ppv = static_cast<host::IPrintOemUI*>(this);
    AddRef();
    return com::kOk;
  }
  *ppv = nullptr;
  return com::kNoInterface;
}

uint32_t PluginObject::AddRef() {
  return references_.fetch_add(1) + 1;
}

uint32_t PluginObject::Release() {
  uint32_t left = references_.fetch_sub(1) - 1;
  if (left == 0) {
    if (driverUI_ != nullptr) driverUI_->Release();
    delete this;
  }
  return left;
}

com::HResult PluginObject::GetInfo(uint32_t dwMode, void* pBuffer, uint32_t cbSize, uint32_t* pcbNeeded) {
  platform::ThreadError& lastError = module_.Services().lastError;
  bool known = dwMode == host::kOemGiGetSignature || dwMode == host::kOemGiGetVersion ||
               dwMode == host::kOemGiGetPublisherInfo;
  if (pcbNeeded == nullptr || !known) {
    lastError.Set(err::kInvalidParameter);
    return com::kFail;
  }
  *pcbNeeded = sizeof(uint32_t);
  if (pBuffer == nullptr || cbSize < sizeof(uint32_t)) {
    lastError.Set(err::kInsufficientBuffer);
    return com::kFail;
  }
  uint32_t value = 0;
  switch (dwMode) {
    case host::kOemGiGetSignature:
      value = kPrivateSettingsSignature;
      break;
    case host::kOemGiGetVersion:
      value = kPrivateSettingsVersion;
      break;
    default:  // publisher information
      *pcbNeeded = 0;
      lastError.Set(err::kNotSupported);
      return com::kFail;
  }
  std::memcpy(pBuffer, &value, sizeof value);
  return com::kOk;
}

com::HResult PluginObject::DevMode(uint32_t dwMode, host::OemDmParam* pOemDMParam) {
  platform::PlatformServices& services = module_.Services();
  return plugin::DevMode(dwMode, pOemDMParam, services.system.SystemDirectory(), services.lastError);
}

com::HResult PluginObject::PublishDriverInterface(com::IUnknown* pIUnknown) {
  if (driverUI_ != nullptr) return com::kOk;
  void* helper = nullptr;
  if (pIUnknown == nullptr || pIUnknown->QueryInterface(host::kIidIPrintOemDriverUI, &helper) != com::kOk ||
      helper == nullptr) {
    driverUI_ = nullptr;
    return com::kFail;
  }
  driverUI_ = static_cast<host::IPrintOemDriverUI*>(helper);
  return com::kOk;
}

com::HResult PluginObject::CommonUIProp(uint32_t dwMode, host::OemCuipParam* pOemCUIPParam) {
  documentContext_.pOEMCUIPParam = pOemCUIPParam;
  deviceContext_.pOEMCUIPParam = pOemCUIPParam;
  switch (dwMode) {
    case host::kOemCuipDocProp:
      return com::kOk;
    case host::kOemCuipPrnProp:
      if (pOemCUIPParam != nullptr && pOemCUIPParam->pOEMOptItems == nullptr) pOemCUIPParam->cOEMOptItems = 0;
      return com::kOk;
    default:
      module_.Services().lastError.Set(err::kInvalidParameter);
      return com::kFail;
  }
}

namespace {

bool ValidSheetInfo(const host::PropSheetUiInfo* info) {
  return info != nullptr && info->Version == host::kPropSheetUiInfoVersion;
}

}  // namespace

com::HResult PluginObject::DocumentPropertySheets(host::PropSheetUiInfo* pPSUIInfo, host::LParam lParam) {
  documentContext_.driverUI = driverUI_;
  if (!ValidSheetInfo(pPSUIInfo)) {
    module_.Services().lastError.Set(err::kInvalidParameter);
    return com::kFail;
  }
  if (SheetAssembly* sheets = module_.Sheets())
    return sheets->DocumentSheet(pPSUIInfo, lParam, documentContext_);
  pPSUIInfo->Result = 0;
  return com::kOk;
}

com::HResult PluginObject::DevicePropertySheets(host::PropSheetUiInfo* pPSUIInfo, host::LParam lParam) {
  deviceContext_.driverUI = driverUI_;
  if (!ValidSheetInfo(pPSUIInfo)) {
    module_.Services().lastError.Set(err::kInvalidParameter);
    return com::kFail;
  }
  if (SheetAssembly* sheets = module_.Sheets()) return sheets->DeviceSheet(pPSUIInfo, lParam, deviceContext_);
  pPSUIInfo->Result = 0;
  return com::kOk;
}

com::HResult PluginObject::QueryColorProfile(host::Handle, void*, void*, void*, uint32_t ulQueryMode,
                                             void* pvProfileData, uint32_t* pcbProfileData,
                                             uint32_t* pflProfileData) {
  if (ulQueryMode != host::kQcpDeviceProfile) return com::kFail;
  if (pcbProfileData == nullptr) {
    module_.Services().lastError.Set(err::kInvalidParameter);
    return com::kFail;
  }
  if (pvProfileData != nullptr && *pcbProfileData >= kColorProfileBytes) {
    std::memset(pvProfileData, 0, kColorProfileBytes);
    std::memcpy(pvProfileData, kColorProfileName, sizeof kColorProfileName);
    *pcbProfileData = kColorProfileBytes;
    if (pflProfileData != nullptr) *pflProfileData = host::kQcpProfileDisk;
    return com::kOk;
  }
  *pcbProfileData = kColorProfileBytes;
  module_.Services().lastError.Set(err::kInsufficientBuffer);
  return com::kFail;
}

}  // namespace mq::plugin
