// The INI corpus read by the system's GetPrivateProfileStringW and by the portable reader on real files: both
// must give the answers recorded from the portable reader on Linux.
#include <gtest/gtest.h>

#include "../ProfileCorpus.h"
#include "WineHostPath.h"
#include "platform/IniProfile.h"
#include "platform/win32/Win32Platform.h"

namespace mq::platform::testing {
namespace {

const std::string kCorpus = std::string(MQ_TEST_DATA_DIR) + "/ini";

TEST(ProfileDifferential, SystemAndPortableReadersAgree) {
  std::vector<ProfileQuery> queries = LoadQueries(kCorpus);
  std::vector<std::string> expected = ReadLines(kCorpus + "/expected.txt");
  ASSERT_EQ(expected.size(), queries.size());
  std::string folder = mq::testing::WineHostPath(kCorpus);

  Win32Profile system;
  std::vector<std::string> systemAnswers = AskAll(system, folder, queries);
  Win32FileSystem files;
  Win32SystemInfo info;
  IniProfile portable(files, info.WindowsDirectory());
  std::vector<std::string> portableAnswers = AskAll(portable, folder, queries);
  for (size_t i = 0; i < queries.size(); ++i) {
    EXPECT_EQ(systemAnswers[i], expected[i]) << "GetPrivateProfileStringW: " << queries[i].Describe();
    EXPECT_EQ(portableAnswers[i], expected[i]) << "portable reader: " << queries[i].Describe();
  }
}

}  // namespace
}  // namespace mq::platform::testing
