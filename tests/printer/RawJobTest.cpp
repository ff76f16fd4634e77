// The raw job against the in-memory spooler: which calls follow each failure, what the printer received, and
// that a job that started is always ended.
#include <gtest/gtest.h>

#include "platform/WinError.h"
#include "platform/fake/FakeSpooler.h"
#include "printer/RawJob.h"

namespace mq::plugin {
namespace {

using Bytes = std::vector<uint8_t>;

class RawJobTest : public ::testing::Test {
 protected:
  void SetUp() override { printer_ = spooler_.OpenPrinterForJobs("MQ-450"); }

  // The calls of the job, without their arguments.
  std::vector<std::string> Calls() const {
    std::vector<std::string> out;
    for (const std::string& line : journal_.Lines()) out.push_back(line.substr(0, line.find(' ')));
    return out;
  }

  platform::CallJournal journal_;
  platform::FakeSpooler spooler_{journal_, true};
  platform::PrinterHandle printer_ = 0;
  const std::vector<Bytes> blocks_ = {Block(kBracketOpen), Bytes{0x1C, 0x71, 0x00, 0x00, 0x0A},
                                      Block(kBracketClose)};
};

TEST_F(RawJobTest, WritesTheBlocksInOrderAsOneRawPage) {
  const RawJobResult result = SendRawJob(spooler_, printer_, job_name::kClearLogos, blocks_);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.bytesWritten, 13u);
  EXPECT_EQ(journal_.Lines().front(),
            "StartDocPrinterW handle=0x5000 level=1 document=SELFTEST dataType=RAW");
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{"StartDocPrinterW", "StartPagePrinter", "WritePrinter", "WritePrinter",
                                      "WritePrinter", "EndPagePrinter", "EndDocPrinter"}));
  ASSERT_EQ(spooler_.Jobs().size(), 1u);
  const auto& job = spooler_.Jobs()[0];
  EXPECT_EQ(job.printer, "MQ-450");
  EXPECT_EQ(job.dataType, "RAW");
  EXPECT_EQ(job.pages, 1);
  EXPECT_TRUE(job.ended);
  EXPECT_EQ(
      spooler_.JobBytes("SELFTEST"),
      (std::vector<Bytes>{{0x1B, 0x63, 0x3B, 0x01, 0x1C, 0x71, 0x00, 0x00, 0x0A, 0x1B, 0x63, 0x3B, 0x00}}));
}

TEST_F(RawJobTest, EachFailureEndsTheJobAsFarAsItStarted) {
  struct Case {
    const char* call;
    int nth;
    std::vector<std::string> calls;
    size_t printed;  // bytes the printer holds afterwards
    bool jobEnded;
  };
  const std::vector<Case> cases = {
      {"StartDocPrinterW", 1, {"StartDocPrinterW"}, 0, false},
      {"StartPagePrinter", 1, {"StartDocPrinterW", "StartPagePrinter", "EndDocPrinter"}, 0, true},
      {"WritePrinter",
       1,
       {"StartDocPrinterW", "StartPagePrinter", "WritePrinter", "EndPagePrinter", "EndDocPrinter"},
       0,
       true},
      {"WritePrinter",
       2,
       {"StartDocPrinterW", "StartPagePrinter", "WritePrinter", "WritePrinter", "EndPagePrinter",
        "EndDocPrinter"},
       4,
       true},
      {"WritePrinter",
       3,
       {"StartDocPrinterW", "StartPagePrinter", "WritePrinter", "WritePrinter", "WritePrinter",
        "EndPagePrinter", "EndDocPrinter"},
       9,
       true},
      {"EndPagePrinter",
       1,
       {"StartDocPrinterW", "StartPagePrinter", "WritePrinter", "WritePrinter", "WritePrinter",
        "EndPagePrinter", "EndDocPrinter"},
       13,
       true},
      {"EndDocPrinter",
       1,
       {"StartDocPrinterW", "StartPagePrinter", "WritePrinter", "WritePrinter", "WritePrinter",
        "EndPagePrinter", "EndDocPrinter"},
       13,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.nth));
    platform::CallJournal journal;
    platform::FakeSpooler spooler(journal, true);
    const platform::PrinterHandle printer = spooler.OpenPrinterForJobs("MQ-450");
    journal.FailCall(c.call, err::kWriteFault, c.nth);

    const RawJobResult result = SendRawJob(spooler, printer, job_name::kLogo, blocks_);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, err::kWriteFault);
    std::vector<std::string> calls;
    for (const std::string& line : journal.Lines()) calls.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(calls, c.calls);
    if (c.printed == 0 && std::string(c.call) == "StartDocPrinterW") {
      EXPECT_TRUE(spooler.Jobs().empty());
      EXPECT_FALSE(result.started);
      continue;
    }
    ASSERT_EQ(spooler.Jobs().size(), 1u);
    EXPECT_EQ(spooler.Jobs()[0].bytes.size(), c.printed);
    EXPECT_EQ(result.bytesWritten, c.printed);
    EXPECT_EQ(spooler.Jobs()[0].ended, c.jobEnded);
  }
}

TEST_F(RawJobTest, AShortWriteStopsTheBlocksAndFailsTheJob) {
  spooler_.LimitWrites(3);
  const RawJobResult result = SendRawJob(spooler_, printer_, job_name::kFileDownload, blocks_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.bytesWritten, 3u);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"StartDocPrinterW", "StartPagePrinter", "WritePrinter",
                                               "EndPagePrinter", "EndDocPrinter"}));
  EXPECT_EQ(spooler_.JobBytes("FIRMWARE"), (std::vector<Bytes>{{0x1B, 0x63, 0x3B}}));
  EXPECT_TRUE(spooler_.Jobs()[0].ended);
}

TEST_F(RawJobTest, AHandleThatIsNoPrinterStartsNothing) {
  const RawJobResult result = SendRawJob(spooler_, 0, job_name::kSelfTest, blocks_);
  EXPECT_FALSE(result.started);
  EXPECT_EQ(result.error, err::kInvalidHandle);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"StartDocPrinterW"}));
}

}  // namespace
}  // namespace mq::plugin
