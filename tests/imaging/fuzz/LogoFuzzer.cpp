// libFuzzer entry for the bitmap reader, the conversions and the logo record encoders. Built and run by
// scripts/fuzz-smoke.sh with AddressSanitizer and UndefinedBehaviorSanitizer.
#include <cstddef>
#include <cstdint>

#include "../LogoRoutineChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mq::imaging::test::CheckLogoRoutines(std::span<const uint8_t>(data, size));
  return 0;
}
