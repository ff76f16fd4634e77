// The tool's logo jobs against the Download page: the same bitmaps, listed in the same order with the same
// settings on every row, give the same bytes from "mq450 logo job" as the page hands the spooler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "../pages/TableTexts.h"
#include "pages/DownloadPage.h"
#include "platform/RootedFileSystem.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeSpooler.h"

namespace mq::plugin {
namespace {

namespace fs = std::filesystem;
using namespace download_page;
using Bytes = std::vector<uint8_t>;

const std::vector<std::string> kLogos = {"colour-13x7.bmp", "mono-black-white-35x9.bmp", "gray-9x5.bmp",
                                         "mono-white-black-10x3.bmp"};

class LogoJobMatchesPage : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("mq450-logo-job-" + std::to_string(::getpid()));
    fs::create_directories(root_ / "logos");
    for (const std::string& name : kLogos)
      fs::copy_file(fs::path(MQ_TEST_DATA_DIR) / "logo" / name, root_ / "logos" / name);
  }
  void TearDown() override { fs::remove_all(root_); }

  // What the page sends for the logos in mode, after giving every row the halftone radio and slider values.
  Bytes PageJob(int modeRadio, int halftoneRadio, int contrast, int brightness) {
    platform::RootedFileSystem files(root_);
    platform::CallJournal journal;
    platform::FakeSpooler spooler(journal, true);
    platform::ui::FakeFileDialogs dialogs;
    testing::TableTexts texts;
    DownloadPage logic(texts, {files, spooler, spooler.OpenPrinterForJobs("MQ-450"), dialogs});
    platform::ui::FakeDialogControls page(journal);
    page.Start(logic);
    for (const std::string& name : kLogos) {
      dialogs.QueueAnswer("C:\\logos\\" + name);
      page.Click(kAdd);
    }
    page.ChooseRow(kLogoList, 0);
    page.Click(modeRadio);
    for (int row = 0; row < static_cast<int>(kLogos.size()); ++row) {
      page.ChooseRow(kLogoList, row);
      if (halftoneRadio != 0) page.Click(halftoneRadio);
      page.Slide(kContrast, contrast);
      page.Slide(kBrightness, brightness);
    }
    page.Click(kDownloadAll);
    EXPECT_TRUE(page.Messages().empty());
    const std::vector<Bytes> jobs = spooler.JobBytes("LOGO");
    return jobs.size() == 1 ? jobs[0] : Bytes{};
  }

  Bytes ToolJob(const std::string& arguments) {
    const fs::path out = root_ / "tool.prn";
    std::string command =
        std::string(MQ450_TOOL) + " logo job " + arguments + " -o " + out.string() + " >/dev/null";
    for (const std::string& name : kLogos) command += " " + (root_ / "logos" / name).string();
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(out, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path root_;
};

TEST_F(LogoJobMatchesPage, MonoWithEveryHalftone) {
  struct Case {
    int radio;
    const char* name;
  };
  for (const Case& c : {Case{kHalftoneNone, "none"}, Case{kDitherM3, "m3"}, Case{kDitherM4, "m4"},
                        Case{kErrorDiffuse, "diffuse"}}) {
    SCOPED_TRACE(c.name);
    const Bytes page = PageJob(kTransformation, c.radio, 25, -10);
    ASSERT_GT(page.size(), 20u);
    EXPECT_EQ(ToolJob(std::string("mono --halftone ") + c.name + " --contrast 25 --brightness -10"), page);
  }
}

TEST_F(LogoJobMatchesPage, MonoDefaultsAndGray) {
  EXPECT_EQ(ToolJob("mono"), PageJob(kTransformation, 0, 0, 0));
  EXPECT_EQ(ToolJob("gray --contrast -40 --brightness 15"), PageJob(kGray, 0, -40, 15));
}

}  // namespace
}  // namespace mq::plugin
