// A stand-in for the print host's helper object (IPrintOemDriverUI): answers the query for its interface (or
// refuses it), counts its references and records every DrvUpdateUISetting call, for tests that publish it to the
// plug-in or hand it to the sheets.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/HostTypes.h"

namespace mq::testing {

class RecordingDriverUI final : public host::IPrintOemDriverUI {
 public:
  explicit RecordingDriverUI(bool answersQueries = true) : answersQueries_(answersQueries) {}

  com::HResult MQ_COM_CALL QueryInterface(const com::Guid& riid, void** ppv) override {
    if (answersQueries_ && (riid == host::kIidIPrintOemDriverUI || riid == com::kIidIUnknown)) {
      *ppv = this;
      AddRef();
      return com::kOk;
    }
    *ppv = nullptr;
    return com::kNoInterface;
  }
  uint32_t MQ_COM_CALL AddRef() override { return ++references; }
  uint32_t MQ_COM_CALL Release() override { return --references; }
  com::HResult MQ_COM_CALL DrvGetDriverSetting(void*, const char*, void*, uint32_t, uint32_t*, uint32_t*) override {
    return com::kNotImpl;
  }
  com::HResult MQ_COM_CALL DrvUpgradeRegistrySetting(host::Handle, const char*, const char*) override {
    return com::kNotImpl;
  }
  com::HResult MQ_COM_CALL DrvUpdateUISetting(void* pci, void* item, uint32_t previous, uint32_t mode) override {
    updates.push_back({pci, item, previous, mode});
    return com::kOk;
  }

  struct Update {
    void* pci;
    void* item;
    uint32_t previous;
    uint32_t mode;
  };
  uint32_t references = 1;
  std::vector<Update> updates;

 private:
  bool answersQueries_;
};

}  // namespace mq::testing
