// The test prints of both barcode pages, byte for byte per command family, what reaches the printer through
// the raw job, and the 1D symbol height with its shown size.
#include <gtest/gtest.h>

#include <array>

#include "barcode/BarcodeSymbols.h"
#include "platform/fake/FakeSpooler.h"
#include "plugin/PrivateSettings.h"

namespace mq::plugin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

const Bytes kTrailer = {0x0A, 0x1D, 0x56, 0x42, 0x00};

class BarcodeTestPrintTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteDefaults(record_.data(), "C:\\Windows\\system32"); }

  void Set1D(uint32_t font, uint8_t type, uint8_t width, uint32_t height, uint8_t position, uint8_t hriFont) {
    const Barcode1DFields e = Barcode1D(font);
    e.type.Set(record_.data(), type);
    e.elementWidth.Set(record_.data(), width);
    e.elementHeight.Set(record_.data(), height);
    e.hriPosition.Set(record_.data(), position);
    e.hriFont.Set(record_.data(), hriFont);
  }

  std::array<uint8_t, kPrivateSettingsSize> record_{};
};

TEST_F(BarcodeTestPrintTest, FamilyASendsItsSymbolCommandsThenTheZeroEndedData) {
  Set1D(5, 4, 3, 300, 2, 1);  // Code39; only the height's low byte (0x2C) is sent
  const TestPrint print = Build1DTestPrint(record_.data(), 5, B("123ABC*"));
  ASSERT_TRUE(print.Ready());
  EXPECT_EQ(print.documentName, "Barcode");
  EXPECT_EQ(print.blocks, (std::vector<Bytes>{{0x1D, 0x66, 0x01, 0x1D, 0x48, 0x02, 0x1D, 0x77, 0x03, 0x1D,
                                               0x68, 0x2C, 0x1D, 0x6B, 0x04},
                                              B("123ABC*"),
                                              {0x00},
                                              kTrailer}));
}

TEST_F(BarcodeTestPrintTest, FamilyBRepeatsTheSymbolCommandWithTheRewrittenLength) {
  Set1D(0, 8, 2, 80, 0, 0);  // Code128
  const TestPrint print = Build1DTestPrint(record_.data(), 0, B("{A12{C3456"));
  ASSERT_TRUE(print.Ready());
  EXPECT_EQ(print.Bytes(),
            Join({{0x1D, 0x66, 0x00, 0x1D, 0x48, 0x00, 0x1D, 0x77, 0x02, 0x1D, 0x68, 0x50, 0x1D, 0x6B, 73},
                  {0x00},
                  {0x1D, 0x77, 0x02, 0x1D, 0x68, 0x50, 0x1D, 0x6B, 73},
                  {8, '{', 'A', '1', '2', '{', 'C', 34, 56},
                  {0x00},
                  kTrailer}));
}

TEST_F(BarcodeTestPrintTest, Gs1FamilySendsTheParameterBlockWithTwoInTheSegmentPlace) {
  const Barcode1DFields e = Barcode1D(1);
  e.type.Set(record_.data(), 12);
  e.gs1ElementWidth.Set(record_.data(), 4);
  e.gs1RowHeight.Set(record_.data(), 0x1F9);  // low byte 0xF9
  e.gs1CompositeRowHeight.Set(record_.data(), 7);
  e.gs1SeparatorHeight.Set(record_.data(), 9);
  e.gs1Hri.Set(record_.data(), 3);
  e.gs1Ai.Set(record_.data(), 1);
  const TestPrint print = Build1DTestPrint(record_.data(), 1, B("(01)123"));
  ASSERT_TRUE(print.Ready());
  EXPECT_EQ(
      print.Bytes(),
      Join({{0x1D, 0x66, 0x00, 0x1D, 0x48, 0x00, 0x1D, 0x73, 6, 4, 0xF9, 7, 9, 0x02, 3, 1, 0x1D, 0x6B, 0x0D},
            B("(01)123"),
            {0x00},
            kTrailer}));
}

TEST_F(BarcodeTestPrintTest, EveryOneDimensionalTypeSendsItsOwnCodeWithItsSampleData) {
  // type -> the byte that names the symbol (m of GS k, or t of the GS1 block)
  const std::array<uint8_t, kBarcode1DTypeCount> codes = {0, 1, 3, 2, 4, 5, 6, 72, 73, 1, 2, 5, 6};
  for (int type = 0; type < kBarcode1DTypeCount; ++type) {
    SCOPED_TRACE(Barcode1DTypeAt(type).listText);
    Set1D(2, static_cast<uint8_t>(type), 3, 100, 0, 0);
    const std::string_view sample = Barcode1DTypeAt(type).sampleData;
    const TestPrint print = Build1DTestPrint(record_.data(), 2, B(sample));
    ASSERT_TRUE(print.Ready());
    const Bytes& header = print.blocks.front();
    const bool gs1 = type >= 9;
    EXPECT_EQ(header.size(), gs1 ? 19u : 15u);
    EXPECT_EQ(header[gs1 ? 8 : 14], codes[static_cast<size_t>(type)]);
    EXPECT_EQ(print.blocks.size(), type == 7 || type == 8 ? 7u : 4u);
    EXPECT_EQ(print.blocks[print.blocks.size() - 3], B(sample));
    EXPECT_EQ(print.blocks.back(), kTrailer);
  }
}

TEST_F(BarcodeTestPrintTest, TwoDimensionalHeadersCarryTheEntrysParameters) {
  const Barcode2DFields e = Barcode2D(1);
  uint8_t* r = record_.data();
  e.pdfRows.Set(r, 90);
  e.pdfColumns.Set(r, 30);
  e.pdfElementWidth.Set(r, 7);
  e.pdfElementHeight.Set(r, 25);
  e.pdfErrorLevel.Set(r, 8);
  e.gs1ElementWidth.Set(r, 5);
  e.gs1RowHeight.Set(r, 250);
  e.gs1CompositeRowHeight.Set(r, 10);
  e.gs1SeparatorHeight.Set(r, 3);
  e.gs1SegmentNumber.Set(r, 20);
  e.gs1Hri.Set(r, 4);
  e.gs1Ai.Set(r, 0);
  e.qrElementWidth.Set(r, 24);
  e.qrLanguageMode.Set(r, 1);
  e.qrModel.Set(r, 2);
  e.qrErrorLevel.Set(r, 2);
  const std::vector<Bytes> headers = {
      {0x1D, 0x70, 0x01, 0x01, 90, 30, 7, 25, 0x1D, 0x71, 8, 0x1D, 0x6B, 0x0A},
      {0x1D, 0x66, 0x00, 0x1D, 0x48, 0x00, 0x1D, 0x73, 3, 5, 250, 10, 3, 20, 4, 0, 0x1D, 0x6B, 0x0D},
      {0x1D, 0x66, 0x00, 0x1D, 0x48, 0x00, 0x1D, 0x73, 4, 5, 250, 10, 3, 20, 4, 0, 0x1D, 0x6B, 0x0D},
      {0x1D, 0x66, 0x00, 0x1D, 0x48, 0x00, 0x1D, 0x73, 7, 5, 250, 10, 3, 20, 4, 0, 0x1D, 0x6B, 0x0D},
      {0x1D, 0x6F, 0x00, 24, 1, 2, 0x1D, 0x6B, 0x0B, 'H', 0x41, 0x2C},
      {0x1D, 0x71, 0x00, 0x1D, 0x6B, 0x0C},
  };
  for (int type = 0; type < kBarcode2DTypeCount; ++type) {
    SCOPED_TRACE(Barcode2DTypeAt(type).listText);
    e.type.Set(r, static_cast<uint8_t>(type));
    const TestPrint print = Build2DTestPrint(r, 1, B(k2DSampleData));
    ASSERT_TRUE(print.Ready());
    EXPECT_EQ(print.documentName, "2Dcode");
    EXPECT_EQ(print.blocks,
              (std::vector<Bytes>{headers[static_cast<size_t>(type)], B(k2DSampleData), {0x00}, kTrailer}));
  }
}

TEST_F(BarcodeTestPrintTest, QrErrorLevelsAboveThreeAskForQ) {
  const Barcode2DFields e = Barcode2D(0);
  e.type.Set(record_.data(), k2DQrCode);
  for (auto [level, letter] :
       std::vector<std::pair<uint8_t, uint8_t>>{{0, 'L'}, {1, 'M'}, {3, 'Q'}, {200, 'Q'}}) {
    e.qrErrorLevel.Set(record_.data(), level);
    EXPECT_EQ(Build2DTestPrint(record_.data(), 0, B("x")).blocks.front()[9], letter) << int(level);
  }
}

TEST_F(BarcodeTestPrintTest, EachTwoDimensionalTypeIsCheckedByItsOwnRuleWhateverTheOneDimensionalEntryHolds) {
  struct Case {
    int type;
    Bytes data;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {4, Bytes{0xC8, 'a'}, true},  // QR takes a first byte above 128
      {5, Bytes(84, 0xC8), true},  {5, Bytes(85, '1'), false},  {1, B("0123#"), false},  // GS1 set
      {3, Bytes(41, '1'), false},  {0, Bytes(255, 0xFF), true},
  };
  for (uint8_t oneDimensionalType : {uint8_t{0}, uint8_t{9}}) {
    Barcode1D(0).type.Set(record_.data(), oneDimensionalType);
    for (const Case& c : cases) {
      Barcode2D(0).type.Set(record_.data(), static_cast<uint8_t>(c.type));
      EXPECT_EQ(Build2DTestPrint(record_.data(), 0, c.data).Ready(), c.accepted)
          << "2D type " << c.type << ", 1D type " << int(oneDimensionalType);
    }
  }
}

TEST_F(BarcodeTestPrintTest, OnlyAcceptedDataOfAKnownTypeReachesThePrinter) {
  platform::CallJournal journal;
  platform::FakeSpooler spooler(journal, true);
  const platform::PrinterHandle printer = spooler.OpenPrinterForJobs("MQ-450");
  Set1D(0, 0, 3, 100, 0, 0);  // UPC-A
  EXPECT_FALSE(
      SendTestPrint(spooler, printer, Build1DTestPrint(record_.data(), 0, B("1234567890123"))).started);
  Barcode1D(0).type.Set(record_.data(), 13);
  const TestPrint unknown = Build1DTestPrint(record_.data(), 0, B("12345678901"));
  EXPECT_FALSE(unknown.knownType);
  EXPECT_FALSE(SendTestPrint(spooler, printer, unknown).started);
  Barcode2D(1).type.Set(record_.data(), 6);
  EXPECT_FALSE(Build2DTestPrint(record_.data(), 1, B("1")).Ready());
  EXPECT_TRUE(spooler.Jobs().empty());

  Barcode1D(0).type.Set(record_.data(), 0);
  const TestPrint upc = Build1DTestPrint(record_.data(), 0, B("12345678901"));
  EXPECT_TRUE(SendTestPrint(spooler, printer, upc).ok);
  Barcode2D(1).type.Set(record_.data(), k2DMaxiCode);
  const TestPrint maxi = Build2DTestPrint(record_.data(), 1, B("HELLO"));
  EXPECT_TRUE(SendTestPrint(spooler, printer, maxi).ok);
  EXPECT_EQ(spooler.JobBytes("Barcode"), std::vector<Bytes>{upc.Bytes()});
  EXPECT_EQ(spooler.JobBytes("2Dcode"), std::vector<Bytes>{maxi.Bytes()});
}

TEST(SymbolHeightTest, SnapsToHalfPointsAndShowsMillimetresAndPoints) {
  struct Case {
    uint32_t elementHeight;
    int position;
    int font;
    uint32_t dots;
    const char* millimetres;
    const char* points;
  };
  const std::vector<Case> cases = {
      {100, 2, 1, 117, " 16.5", " 47.0"},  // 46.8 points round up
      {163, 0, 0, 162, " 22.9", " 65.0"},  // 65.2 points drop to 65.0
      {100, 3, 0, 147, " 20.7", " 59.0"},  // 148 dots: 59.2 points, 147.5 dots
      {100, 1, 1, 117, " 16.5", " 47.0"}, {111, 0, 0, 111, " 15.7", " 44.5"},  // 44.4 points become 44.5
      {255, 3, 1, 288, " 40.6", "115.0"},  // 289 dots: 115.6 points become 115.5, 288.75 dots
      {1, 0, 0, 1, "  0.1", "  0.5"},      // 0.4 points: half a point
      {0, 0, 0, 2, "  0.3", "  1.0"},      // no height at all is stored as 2 dots
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.elementHeight);
    const SymbolSize size = SnapSymbolHeight(c.elementHeight, c.position, c.font);
    EXPECT_EQ(size.dots, c.dots);
    const ShownSize shown = ShowSymbolSize(size.dots);
    EXPECT_EQ(shown.millimetres, c.millimetres);
    EXPECT_EQ(shown.points, c.points);
  }
}

}  // namespace
}  // namespace mq::plugin
