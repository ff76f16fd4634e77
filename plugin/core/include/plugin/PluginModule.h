// Library-wide state of the plug-in: the platform it runs on, the class factory's server lock count, the
// language state and the sheet assembly. The library's entry points own exactly one; tests make their own.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/PlatformServices.h"
#include "plugin/ComTypes.h"
#include "plugin/PageContext.h"
#include "plugin/UiTexts.h"

namespace mq::plugin {

class PluginModule {
 public:
  // sheets may be null: the sheets then get no pages.
  PluginModule(platform::PlatformServices services, SheetAssembly* sheets);

  // Process attach: the language preparation.
  void OnLoad();

  // DllGetClassObject: serves only the UI plug-in class.
  com::HResult GetClassObject(const com::Guid& clsid, const com::Guid& iid, void** ppv);
  // DllCanUnloadNow: S_FALSE while the server is locked.
  com::HResult CanUnloadNow() const { return lockCount_.load() != 0 ? com::kFalse : com::kOk; }

  void Lock() { lockCount_.fetch_add(1); }
  void Unlock() { lockCount_.fetch_sub(1); }
  int32_t LockCount() const { return lockCount_.load(); }

  platform::PlatformServices& Services() { return services_; }
  UiTexts& Texts() { return texts_; }
  SheetAssembly* Sheets() { return sheets_; }
  void SetSheets(SheetAssembly* sheets) { sheets_ = sheets; }

 private:
  platform::PlatformServices services_;
  UiTexts texts_;
  SheetAssembly* sheets_;
  std::atomic<int32_t> lockCount_{0};
};

}  // namespace mq::plugin
