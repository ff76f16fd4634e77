// The logo routines on files: the intermediate file's name and place, the page's result codes, and that a
// failed conversion writes nothing and leaves an earlier intermediate as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestBitmaps.h"
#include "imaging/LogoFiles.h"
#include "imaging/LogoRecord.h"

namespace mq::imaging {
namespace {

namespace fs = std::filesystem;
using test::Colour;

class LogoFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("mq_imaging_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path.string();
  }
  static std::vector<uint8_t> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST(IntermediatePathTest, ReplacesTheLastFourCharactersWithTemp) {
  struct Case {
    const char* source;
    const char* expected;  // nullptr: refused
  };
  const Case cases[] = {
      {"C:\\logos\\shop.bmp", "C:\\logos\\shopTemp.bmp"},
      {"/srv/logos/logo.bmp", "/srv/logos/logoTemp.bmp"},
      {"logo.BMP", "logoTemp.bmp"},
      {"C:\\logos\\shop.jpeg", "C:\\logos\\shop.Temp.bmp"},  // four characters, whatever the extension
      {"/srv/.bmp", "/srv/Temp.bmp"},
      {"/srv/caf\xC3\xA9.bmp", "/srv/caf\xC3\xA9Temp.bmp"},
      {"/srv/ab\xC3\xA9\xE2\x82\xAC", "/srv/Temp.bmp"},  // four characters, six bytes
      {"/srv/abc", nullptr},                             // cutting four would reach into the folder
      {"C:\\a\\b.b", nullptr},
      {"abc", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<std::string> path = IntermediatePath(c.source);
    if (c.expected) {
      EXPECT_EQ(path, std::optional<std::string>(c.expected)) << c.source;
    } else {
      EXPECT_FALSE(path.has_value()) << c.source;
    }
  }
}

TEST_F(LogoFilesTest, ConversionsWriteBesideTheSourceAndOverwrite) {
  std::string source = Write("logo.bmp", test::Colour24(20, 10, [](int x, int y) {
                               return Colour{static_cast<uint8_t>(x * 12), static_cast<uint8_t>(y * 25), 40};
                             }));
  ConversionResult gray = MakeGrayImage(source, 0, 0);
  ASSERT_TRUE(gray.ok()) << Describe(gray.status);
  EXPECT_EQ(gray.code, 1);
  EXPECT_EQ(gray.path, Path("logoTemp.bmp"));
  std::vector<uint8_t> expected;
  ASSERT_EQ(MakeGrayBitmap(Read(source), 0, 0, &expected), Status::kOk);
  EXPECT_EQ(Read(gray.path), expected);

  // A second conversion replaces the file.
  ConversionResult mono = MakeMonoImage(source, Halftone::kDitherM3, 20, -5);
  ASSERT_TRUE(mono.ok());
  EXPECT_EQ(mono.path, gray.path);
  ASSERT_EQ(MakeMonoBitmap(Read(source), Halftone::kDitherM3, 20, -5, &expected), Status::kOk);
  EXPECT_EQ(Read(mono.path), expected);
  // Nothing else is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);

  std::vector<uint8_t> record;
  EXPECT_EQ(EncodeMonoLogoFile(mono.path, &record), Status::kOk);
  std::vector<uint8_t> direct;
  ASSERT_EQ(EncodeMonoLogo(expected, &direct), Status::kOk);
  EXPECT_EQ(record, direct);
}

TEST_F(LogoFilesTest, FailuresGiveThePageCodesAndWriteNothing) {
  std::vector<uint8_t> fourBit = test::BlankBitmap(8, 8, 24);
  test::Put16(fourBit, 28, 4);
  std::string refused = Write("four.bmp", fourBit);
  std::string oneBit = Write("one.bmp", test::Mono1(8, 8, 0, 0xFFFFFF, [](int, int) { return true; }));
  std::string text = Write("text.bmp", {'h', 'e', 'l', 'l', 'o'});
  std::vector<uint8_t> cut = test::BlankBitmap(8, 8, 8);
  cut.pop_back();
  std::string shortFile = Write("short.bmp", cut);
  std::string good = Write("good.bmp", test::Gray8(4, 4, [](int, int) { return 50; }));

  struct Case {
    const char* what;
    ConversionResult result;
    int code;
    Status status;
  };
  const Case cases[] = {
      {"gray of a missing file", MakeGrayImage(Path("missing.bmp"), 0, 0), -1, Status::kCannotOpen},
      {"gray of a folder", MakeGrayImage(dir_.string() + "/sub.bmp/", 0, 0), -3, Status::kBadPath},
      {"gray of a 4-bit file", MakeGrayImage(refused, 0, 0), -2, Status::kUnsupportedDepth},
      {"gray of a text file", MakeGrayImage(text, 0, 0), -2, Status::kNotBitmap},
      {"gray of a short file", MakeGrayImage(shortFile, 0, 0), -1, Status::kTruncated},
      {"gray with contrast 101", MakeGrayImage(good, 101, 0), -3, Status::kBadSetting},
      {"mono of a 1-bit file", MakeMonoImage(oneBit, Halftone::kNone, 0, 0), -1, Status::kUnsupportedDepth},
      {"mono of a 4-bit file", MakeMonoImage(refused, Halftone::kNone, 0, 0), -1, Status::kUnsupportedDepth},
      {"mono of a missing file", MakeMonoImage(Path("missing.bmp"), Halftone::kNone, 0, 0), -1,
       Status::kCannotOpen},
      {"mono with brightness -101", MakeMonoImage(good, Halftone::kNone, 0, -101), -3, Status::kBadSetting},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result.code, c.code) << c.what;
    EXPECT_EQ(c.result.status, c.status) << c.what;
    EXPECT_TRUE(c.result.path.empty()) << c.what;
  }
  for (const char* name :
       {"fourTemp.bmp", "oneTemp.bmp", "textTemp.bmp", "shortTemp.bmp", "goodTemp.bmp", "missingTemp.bmp"}) {
    EXPECT_FALSE(fs::exists(dir_ / name)) << name;
  }
}

TEST_F(LogoFilesTest, FailedConversionKeepsTheEarlierIntermediate) {
  std::string source =
      Write("logo.bmp", test::Gray8(4, 4, [](int x, int) { return static_cast<uint8_t>(60 * x); }));
  ConversionResult first = MakeMonoImage(source, Halftone::kNone, 0, 0);
  ASSERT_TRUE(first.ok());
  std::vector<uint8_t> before = Read(first.path);
  // The source is replaced by a file that cannot be converted.
  Write("logo.bmp", {'B', 'M', 0});
  EXPECT_FALSE(MakeMonoImage(source, Halftone::kNone, 0, 0).ok());
  EXPECT_FALSE(MakeGrayImage(source, 0, 0).ok());
  EXPECT_EQ(Read(first.path), before);
}

TEST_F(LogoFilesTest, UnwritableFolderIsAFailure) {
  std::string source = Write("logo.bmp", test::Gray8(4, 4, [](int, int) { return 1; }));
  // The intermediate's name is taken by a folder, so it cannot be written.
  fs::create_directories(dir_ / "logoTemp.bmp");
  ConversionResult result = MakeGrayImage(source, 0, 0);
  EXPECT_EQ(result.code, -1);
  EXPECT_EQ(result.status, Status::kCannotWrite);
  EXPECT_TRUE(fs::is_directory(dir_ / "logoTemp.bmp"));
  EXPECT_FALSE(fs::exists(dir_ / "logoTemp.bmp.part"));
}

TEST_F(LogoFilesTest, EncodersReadFiles) {
  std::vector<uint8_t> record = {9};
  EXPECT_EQ(EncodeGrayLogoFile(Path("missing.bmp"), &record), Status::kCannotOpen);
  EXPECT_EQ(EncodeMonoLogoFile(dir_.string(), &record), Status::kCannotOpen);
  std::string gray = Write("g.bmp", test::Gray8(5, 3, [](int, int) { return 0x80; }));
  ASSERT_EQ(EncodeGrayLogoFile(gray, &record), Status::kOk);
  std::vector<uint8_t> direct;
  ASSERT_EQ(EncodeGrayLogo(Read(gray), &direct), Status::kOk);
  EXPECT_EQ(record, direct);
}

}  // namespace
}  // namespace mq::imaging
