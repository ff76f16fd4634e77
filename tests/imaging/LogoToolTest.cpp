// The tool's logo commands as a user runs them: outputs equal the library's bytes, errors give a message and
// a non-zero exit, and a failed command leaves existing files as they were.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestBitmaps.h"
#include "imaging/LogoConverter.h"
#include "imaging/LogoRecord.h"

namespace mq::imaging {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status;
  std::string out, err;
};

class LogoToolTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("mq_logo_tool_" + std::to_string(::getpid()) + "_" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Path(name);
  }
  static std::vector<uint8_t> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static std::string ReadText(const std::string& path) {
    std::vector<uint8_t> bytes = Read(path);
    return std::string(bytes.begin(), bytes.end());
  }

  // Runs "mq450 logo <arguments>" with the arguments quoted for the shell.
  ToolRun Logo(const std::vector<std::string>& arguments) {
    std::string command = std::string("'") + MQ450_TOOL + "' logo";
    for (const std::string& a : arguments) command += " '" + a + "'";
    command += " >'" + Path("stdout") + "' 2>'" + Path("stderr") + "'";
    int raw = std::system(command.c_str());
    ToolRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(Path("stdout")), ReadText(Path("stderr"))};
    fs::remove(Path("stdout"));
    fs::remove(Path("stderr"));
    return run;
  }

  fs::path dir_;
};

std::vector<uint8_t> Picture() {
  return test::Colour24(40, 13, [](int x, int y) {
    return test::Colour{static_cast<uint8_t>(x * 6), static_cast<uint8_t>(y * 19),
                        static_cast<uint8_t>(x * y)};
  });
}

TEST_F(LogoToolTest, ConversionsAndRecordsEqualTheLibrary) {
  std::string source = Write("shop.bmp", Picture());
  std::string temp = Path("shopTemp.bmp");
  struct Case {
    std::vector<std::string> arguments;
    Halftone halftone;  // ignored for gray
    int contrast, brightness;
    bool gray;
  };
  const Case cases[] = {
      {{"gray", source}, Halftone::kNone, 0, 0, true},
      {{"gray", source, "--contrast", "-40", "--brightness", "+15"}, Halftone::kNone, -40, 15, true},
      {{"mono", source, "--halftone", "none"}, Halftone::kNone, 0, 0, false},
      {{"mono", source, "--halftone", "m3", "--contrast", "100"}, Halftone::kDitherM3, 100, 0, false},
      {{"mono", source, "--brightness", "-100", "--halftone", "m4"}, Halftone::kDitherM4, 0, -100, false},
      {{"mono", source, "--halftone", "diffuse", "--contrast", "7"}, Halftone::kErrorDiffuse, 7, 0, false},
  };
  for (const Case& c : cases) {
    ToolRun run = Logo(c.arguments);
    ASSERT_EQ(run.status, 0) << c.arguments[0] << ": " << run.err;
    EXPECT_EQ(run.out, temp + "\n");
    std::vector<uint8_t> expected, record, expectedRecord;
    if (c.gray) {
      ASSERT_EQ(MakeGrayBitmap(Picture(), c.contrast, c.brightness, &expected), Status::kOk);
      ASSERT_EQ(EncodeGrayLogo(expected, &expectedRecord), Status::kOk);
    } else {
      ASSERT_EQ(MakeMonoBitmap(Picture(), c.halftone, c.contrast, c.brightness, &expected), Status::kOk);
      ASSERT_EQ(EncodeMonoLogo(expected, &expectedRecord), Status::kOk);
    }
    EXPECT_EQ(Read(temp), expected);
    ToolRun encode = Logo({c.gray ? "encode-gray" : "encode-mono", temp, "-o", Path("record.bin")});
    ASSERT_EQ(encode.status, 0) << encode.err;
    EXPECT_EQ(Read(Path("record.bin")), expectedRecord);
  }
}

TEST_F(LogoToolTest, PreviewWritesAPngOfThePicture) {
  for (const auto& file : {Picture(), test::Gray8(9, 4, [](int x, int) { return static_cast<uint8_t>(x); }),
                           test::Mono1(33, 2, 0, 0xFFFFFF, [](int x, int) { return x % 2 == 0; })}) {
    std::string source = Write("in.bmp", file);
    ToolRun run = Logo({"preview", source, "-o", Path("out.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<uint8_t> png = Read(Path("out.png"));
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    // IHDR: width and height, big-endian.
    uint32_t width = (png[16] << 24) | (png[17] << 16) | (png[18] << 8) | png[19];
    uint32_t height = (png[20] << 24) | (png[21] << 16) | (png[22] << 8) | png[23];
    EXPECT_EQ(width, test::Get32(file, 18));
    EXPECT_EQ(height, test::Get32(file, 22));
  }
}

TEST_F(LogoToolTest, ErrorsExplainAndLeaveFilesAlone) {
  std::string source = Write("shop.bmp", Picture());
  std::vector<uint8_t> fourBit = test::BlankBitmap(8, 8, 24);
  test::Put16(fourBit, 28, 4);
  std::string refused = Write("four.bmp", fourBit);
  std::string oneBitBadPalette =
      Write("red.bmp", test::Mono1(8, 8, 0xFF0000, 0xFFFFFF, [](int, int) { return true; }));
  const std::vector<uint8_t> keep = {'k', 'e', 'e', 'p'};
  std::string existing = Write("existing.bin", keep);

  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{}, 2, "logo needs a command"},
      {{"shrink", source}, 2, "unknown logo command"},
      {{"gray"}, 2, "needs a file"},
      {{"gray", source, "--contrast", "101"}, 2, "contrast must be a whole number from -100 to 100"},
      {{"gray", source, "--contrast", "-101"}, 2, "contrast must be"},
      {{"gray", source, "--brightness", "5x"}, 2, "brightness must be"},
      {{"gray", source, "--brightness"}, 2, "needs a value"},
      {{"gray", source, "--halftone", "m3"}, 2, "unknown option"},
      {{"mono", source}, 2, "needs --halftone"},
      {{"mono", source, "--halftone", "m5"}, 2, "unknown halftone m5"},
      {{"gray", Path("missing.bmp")}, 1, "cannot be opened"},
      {{"gray", refused}, 1, "colour depth"},
      {{"mono", oneBitBadPalette, "--halftone", "none"}, 1, "colour depth"},
      {{"encode-mono", source, "-o", existing}, 1, "1-bit bitmap"},
      {{"encode-gray", source, "-o", existing}, 1, "8-bit gray bitmap"},
      {{"encode-mono", oneBitBadPalette, "-o", existing}, 1, "palette"},
      {{"encode-mono", oneBitBadPalette}, 2, "needs -o"},
      {{"preview", refused, "-o", existing}, 1, "colour depth"},
      {{"encode-gray", source, "-o", Path("no/such/folder/out.bin")}, 1, "8-bit"},
  };
  for (const Case& c : cases) {
    ToolRun run = Logo(c.arguments);
    std::string what = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(run.status, c.status) << what << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(run.out, "") << what;
  }
  EXPECT_EQ(Read(existing), keep);
  EXPECT_FALSE(fs::exists(Path("shopTemp.bmp")));
  EXPECT_FALSE(fs::exists(Path("fourTemp.bmp")));
  EXPECT_FALSE(fs::exists(Path("redTemp.bmp")));

  // A record that cannot be written to its folder is an error, not a success.
  std::string gray = Logo({"gray", source}).out;
  gray.pop_back();
  ToolRun unwritable = Logo({"encode-gray", gray, "-o", Path("no/such/folder/out.bin")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

}  // namespace
}  // namespace mq::imaging
