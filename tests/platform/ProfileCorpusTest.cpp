// The portable profile reader against the recorded answers of the INI corpus. The same answers are checked
// against GetPrivateProfileStringW by the Windows test program, so both readers agree on every query.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ProfileCorpus.h"
#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"

namespace mq::platform::testing {
namespace {

const std::string kCorpus = std::string(MQ_TEST_DATA_DIR) + "/ini";

TEST(ProfileCorpus, PortableReaderGivesTheRecordedAnswers) {
  RootedFileSystem files(MQ_TEST_DATA_DIR);
  IniProfile profile(files, "C:\\Windows");
  std::vector<ProfileQuery> queries = LoadQueries(kCorpus);
  ASSERT_GT(queries.size(), 50u);
  std::vector<std::string> answers = AskAll(profile, "C:\\ini", queries);
  if (std::getenv("MQ_REGENERATE") != nullptr) {
    std::ofstream out(kCorpus + "/expected.txt", std::ios::binary);
    for (const std::string& a : answers) out << a << '\n';
  }
  std::vector<std::string> expected = ReadLines(kCorpus + "/expected.txt");
  ASSERT_EQ(expected.size(), queries.size());
  for (size_t i = 0; i < queries.size(); ++i) EXPECT_EQ(answers[i], expected[i]) << queries[i].Describe();
}

}  // namespace
}  // namespace mq::platform::testing
