// The settings record's convert and merge over a stored copy with any header (size, signature, version) and
// any length: the target gets exactly the record's bytes, a valid header, and nothing around it is touched.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "platform/fake/FakeSystem.h"
#include "plugin/PrivateSettings.h"

using namespace mq;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  // The host hands over a buffer as long as its header says, up to the record's size; the plug-in must read no
  // more than that.
  uint32_t claimed = 0;
  if (size >= 4) std::memcpy(&claimed, data, 4);
  size_t length = std::max<size_t>({size, 12, std::min<size_t>(claimed, plugin::kPrivateSettingsSize)});
  std::vector<uint8_t> source(length, 0);
  std::memcpy(source.data(), data, size);

  for (uint32_t mode : {host::kOemDmConvert, host::kOemDmMerge}) {
    constexpr size_t kGuard = 64;
    std::vector<uint8_t> target(plugin::kPrivateSettingsSize + 2 * kGuard, 0xA5);
    uint8_t* record = target.data() + kGuard;
    platform::FakeThreadError lastError;
    host::OemDmParam param{};
    param.cbSize = sizeof param;
    param.pOEMDMOut = record;
    fuzz::Require(plugin::DevMode(host::kOemDmDefault, &param, "C:\\Windows\\system32", lastError) == com::kOk);
    param.pOEMDMIn = source.data();
    fuzz::Require(plugin::DevMode(mode, &param, "C:\\Windows\\system32", lastError) == com::kOk);
    for (size_t i = 0; i < kGuard; ++i) {
      fuzz::Require(target[i] == 0xA5);
      fuzz::Require(target[kGuard + plugin::kPrivateSettingsSize + i] == 0xA5);
    }
    fuzz::Require(plugin::settings::kSize.Get(record) == plugin::kPrivateSettingsSize);
    fuzz::Require(plugin::settings::kVersion.Get(record) == 1);
    if (mode == host::kOemDmMerge) {
      fuzz::Require(plugin::settings::kSignature.Get(record) == plugin::kPrivateSettingsSignature);
      fuzz::Require(plugin::settings::kReservedValue.Get(record) <= 100);
    }
  }
  return 0;
}
