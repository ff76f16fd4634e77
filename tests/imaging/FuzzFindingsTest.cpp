// The fuzz target's checks over the files in tests/data/logo: its seed pictures and every input it ever
// found failing, kept so that the fault stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "LogoRoutineChecks.h"

namespace mq::imaging {
namespace {

TEST(FuzzFindingsTest, EverySeedAndFindingPassesTheChecks) {
  std::filesystem::path folder = std::filesystem::path(MQ_TEST_DATA_DIR) / "logo";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    test::CheckLogoRoutines(bytes);
    ++files;
  }
  EXPECT_GE(files, 8);
}

}  // namespace
}  // namespace mq::imaging
