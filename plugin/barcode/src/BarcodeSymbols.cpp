// The barcode fonts' symbologies, test prints and symbol height.
#include "barcode/BarcodeSymbols.h"

#include <array>
#include <cstdio>

#include "plugin/PrivateSettings.h"

namespace mq::plugin {
namespace {

using Family = Barcode1DFamily;

// EAN8 and EAN13 are listed in that order but take the codes 3 and 2.
const std::array<Barcode1DType, kBarcode1DTypeCount> k1DTypes = {{
    {"UPC-A", "upc-a", Family::kA, 0, 0, "123456789012"},
    {"UPC-E", "upc-e", Family::kA, 1, 1, "023456789012"},
    {"EAN8", "ean8", Family::kA, 3, 3, "12345678"},
    {"EAN13", "ean13", Family::kA, 2, 2, "1234567890123"},
    {"Code39", "code39", Family::kA, 4, 4, "123ABC*"},
    {"ITF", "itf", Family::kA, 5, 5, "123456789"},
    {"Codabar", "codabar", Family::kA, 6, 6, "A123456789A"},
    {"Code93", "code93", Family::kB, 72, 7, "123ABC"},
    {"Code128", "code128", Family::kB, 73, 8, "{A1234"},
    {"GS1 DataBar Omnidirectional", "gs1-omni", Family::kGs1, 1, 9, "01234567890123"},
    {"GS1 DataBar Truncated", "gs1-truncated", Family::kGs1, 2, 10, "01234567890123"},
    {"GS1 DataBar Limited", "gs1-limited", Family::kGs1, 5, 11, "01234567890123"},
    {"GS1 DataBar Expanded", "gs1-expanded", Family::kGs1, 6, 12, "01234567890123"},
}};

const std::array<Barcode2DType, kBarcode2DTypeCount> k2DTypes = {{
    {"PDF417", "pdf417", 13},
    {"GS1 DataBar Stacked", "gs1-stacked", 14},
    {"GS1 DataBar Stacked Omnidirectional", "gs1-stacked-omni", 15},
    {"GS1 DataBar Expanded Stacked", "gs1-expanded-stacked", 16},
    {"QR Code", "qr", 17},
    {"Maxi Code", "maxicode", 18},
}};

// The GS1 DataBar stacked types' t of the parameter block.
constexpr uint8_t kStackedSymbol[] = {3, 4, 7};
constexpr uint8_t kQrErrorLetters[] = {'L', 'M', 'H', 'Q'};

uint8_t Low(uint32_t value) {
  return static_cast<uint8_t>(value & 0xFF);
}

// GS f 0, GS H 0, GS s t gw rh ch sh seg hri ai, GS k 13: the 19-byte GS1 DataBar header.
std::vector<uint8_t> Gs1Header(uint8_t symbol, uint8_t width, uint32_t rowHeight, uint32_t compositeRowHeight,
                               uint8_t separatorHeight, uint8_t segments, uint8_t hri, uint8_t ai) {
  return {0x1D,
          0x66,
          0x00,
          0x1D,
          0x48,
          0x00,
          0x1D,
          0x73,
          symbol,
          width,
          Low(rowHeight),
          Low(compositeRowHeight),
          separatorHeight,
          segments,
          hri,
          ai,
          0x1D,
          0x6B,
          0x0D};
}

// Checks the data; on acceptance the blocks are still to be added by the caller.
TestPrint Checked(int type, int checkCode, std::string_view documentName, std::vector<uint8_t> data) {
  TestPrint print;
  print.type = type;
  print.checkCode = checkCode;
  print.documentName = documentName;
  print.data = std::move(data);
  print.check = CheckBarcodeData(checkCode, &print.data);
  return print;
}

TestPrint UnknownType(int type, std::string_view documentName, std::vector<uint8_t> data) {
  TestPrint print;
  print.knownType = false;
  print.type = type;
  print.documentName = documentName;
  print.data = std::move(data);
  return print;
}

}  // namespace

const Barcode1DType& Barcode1DTypeAt(int type) {
  return k1DTypes.at(static_cast<size_t>(type));
}

const Barcode2DType& Barcode2DTypeAt(int type) {
  return k2DTypes.at(static_cast<size_t>(type));
}

std::optional<int> CheckCodeByName(std::string_view name) {
  for (const Barcode1DType& type : k1DTypes)
    if (type.toolName == name) return type.checkCode;
  for (const Barcode2DType& type : k2DTypes)
    if (type.toolName == name) return type.checkCode;
  if (name.empty() || name.size() > 2) return std::nullopt;
  int code = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return std::nullopt;
    code = code * 10 + (c - '0');
  }
  if (code >= kCheckCodeCount) return std::nullopt;
  return code;
}

std::string CheckCodeNames() {
  std::string names;
  std::array<std::string_view, kCheckCodeCount> byCode{};
  for (const Barcode1DType& type : k1DTypes) byCode[static_cast<size_t>(type.checkCode)] = type.toolName;
  for (const Barcode2DType& type : k2DTypes) byCode[static_cast<size_t>(type.checkCode)] = type.toolName;
  for (std::string_view name : byCode) names += (names.empty() ? "" : ", ") + std::string(name);
  return names;
}

std::vector<uint8_t> TestPrint::Bytes() const {
  std::vector<uint8_t> bytes;
  for (const std::vector<uint8_t>& block : blocks) bytes.insert(bytes.end(), block.begin(), block.end());
  return bytes;
}

TestPrint Build1DTestPrint(const uint8_t* record, uint32_t font, std::vector<uint8_t> ansiData) {
  const Barcode1DFields entry = Barcode1D(font);
  const int type = entry.type.Get(record);
  if (type >= kBarcode1DTypeCount) return UnknownType(type, job_name::kBarcode, std::move(ansiData));
  const Barcode1DType& symbology = k1DTypes[static_cast<size_t>(type)];
  TestPrint print = Checked(type, symbology.checkCode, job_name::kBarcode, std::move(ansiData));
  if (!print.Ready()) return print;

  const uint8_t width = entry.elementWidth.Get(record);
  const uint8_t height = Low(entry.elementHeight.Get(record));
  if (symbology.family == Family::kGs1) {
    // The sixth byte of the parameter block is always 2 on this page; the 2D page sends its segment number.
    print.blocks.push_back(Gs1Header(symbology.code, entry.gs1ElementWidth.Get(record),
                                     entry.gs1RowHeight.Get(record), entry.gs1CompositeRowHeight.Get(record),
                                     entry.gs1SeparatorHeight.Get(record), 0x02, entry.gs1Hri.Get(record),
                                     entry.gs1Ai.Get(record)));
    print.blocks.push_back(print.data);
    print.blocks.push_back({0x00});
  } else {
    // GS f (HRI font), GS H (HRI position), GS w (module width), GS h (bar height), GS k m.
    print.blocks.push_back({0x1D, 0x66, entry.hriFont.Get(record), 0x1D, 0x48, entry.hriPosition.Get(record),
                            0x1D, 0x77, width, 0x1D, 0x68, height, 0x1D, 0x6B, symbology.code});
    if (symbology.family == Family::kA) {
      print.blocks.push_back(print.data);
      print.blocks.push_back({0x00});
    } else {
      // Family B repeats the symbol command with the data's length byte; the rule keeps it below 256.
      print.blocks.push_back({0x00});
      print.blocks.push_back({0x1D, 0x77, width, 0x1D, 0x68, height, 0x1D, 0x6B, symbology.code});
      print.blocks.push_back({static_cast<uint8_t>(print.data.size())});
      print.blocks.push_back(print.data);
      print.blocks.push_back({0x00});
    }
  }
  print.blocks.push_back(Block(kTestPrintTrailer));
  return print;
}

TestPrint Build2DTestPrint(const uint8_t* record, uint32_t font, std::vector<uint8_t> ansiData) {
  const Barcode2DFields entry = Barcode2D(font);
  const int type = entry.type.Get(record);
  if (type >= kBarcode2DTypeCount) return UnknownType(type, job_name::k2DCode, std::move(ansiData));
  TestPrint print =
      Checked(type, k2DTypes[static_cast<size_t>(type)].checkCode, job_name::k2DCode, std::move(ansiData));
  if (!print.Ready()) return print;

  if (type == k2DPdf417) {
    // GS p 1 1 rows columns width height, GS q level, GS k 10.
    print.blocks.push_back({0x1D, 0x70, 0x01, 0x01, entry.pdfRows.Get(record), entry.pdfColumns.Get(record),
                            entry.pdfElementWidth.Get(record), entry.pdfElementHeight.Get(record), 0x1D, 0x71,
                            entry.pdfErrorLevel.Get(record), 0x1D, 0x6B, 0x0A});
  } else if (type == k2DQrCode) {
    // GS o 0 width mode model, GS k 11 e 'A' ','; any error level above 3 asks for Q.
    const uint8_t level = entry.qrErrorLevel.Get(record);
    print.blocks.push_back({0x1D, 0x6F, 0x00, entry.qrElementWidth.Get(record),
                            entry.qrLanguageMode.Get(record), entry.qrModel.Get(record), 0x1D, 0x6B, 0x0B,
                            kQrErrorLetters[level < 3 ? level : 3], 0x41, 0x2C});
  } else if (type == k2DMaxiCode) {
    print.blocks.push_back({0x1D, 0x71, 0x00, 0x1D, 0x6B, 0x0C});
  } else {
    print.blocks.push_back(Gs1Header(kStackedSymbol[type - 1], entry.gs1ElementWidth.Get(record),
                                     entry.gs1RowHeight.Get(record), entry.gs1CompositeRowHeight.Get(record),
                                     entry.gs1SeparatorHeight.Get(record), entry.gs1SegmentNumber.Get(record),
                                     entry.gs1Hri.Get(record), entry.gs1Ai.Get(record)));
  }
  print.blocks.push_back(print.data);
  print.blocks.push_back({0x00});
  print.blocks.push_back(Block(kTestPrintTrailer));
  return print;
}

RawJobResult SendTestPrint(platform::Spooler& spooler, platform::PrinterHandle printer,
                           const TestPrint& print) {
  if (!print.Ready()) return {};
  return SendRawJob(spooler, printer, print.documentName, print.blocks);
}

namespace {

// Points are dots x 72 / 180, so the tenths of a point are exactly dots x 4. A fractional part below 0.4 is
// dropped, 0.4 up to below 0.7 becomes .5, 0.7 and more the next whole point. The result is in half points.
uint64_t HalfPoints(uint64_t dots) {
  const uint64_t tenths = dots * 4;
  const uint64_t whole = tenths / 10;
  const uint64_t fraction = tenths % 10;
  return whole * 2 + (fraction < 4 ? 0 : fraction < 7 ? 1 : 2);
}

std::string Fixed1(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%5.1f", value);
  return text;
}

}  // namespace

SymbolSize SnapSymbolHeight(uint32_t elementHeight, int hriPosition, int hriFont) {
  const uint32_t line = hriFont == 0 ? 24 : 17;  // Font A or B, in dots
  const uint32_t extra = hriPosition == 1 || hriPosition == 2 ? line : hriPosition == 3 ? 2 * line : 0;
  const uint64_t halfPoints = HalfPoints(static_cast<uint64_t>(elementHeight) + extra);
  // Back to dots: half points x 180 / 144, truncated; a symbol never stores a height of 0.
  uint64_t dots = halfPoints * 5 / 4;
  if (dots == 0) dots = 2;
  SymbolSize size;
  size.dots = static_cast<uint32_t>(dots > UINT32_MAX ? UINT32_MAX : dots);
  size.tenthPoints = static_cast<int>(HalfPoints(size.dots) * 5);
  return size;
}

ShownSize ShowSymbolSize(uint32_t symbolHeight) {
  return {Fixed1(symbolHeight * 25.4 / 180), Fixed1(static_cast<double>(HalfPoints(symbolHeight)) / 2)};
}

}  // namespace mq::plugin
