// The printer's barcode fonts: the symbologies of the eight 1D fonts and the two 2D fonts as their pages list
// them, the test print each page sends for the selected font (checked data, symbol commands, cut), and the
// 1D font's symbol height and point size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "barcode/BarcodeCheck.h"
#include "platform/Spooler.h"
#include "printer/RawJob.h"

namespace mq::plugin {

// How a 1D symbology is asked for: family A (GS k m with zero-terminated data), family B (GS k m with a
// length byte) or the GS1 DataBar parameter block.
enum class Barcode1DFamily { kA, kB, kGs1 };

struct Barcode1DType {
  std::string_view listText;  // the type list's entry
  std::string_view toolName;  // the Linux tool's name for it
  Barcode1DFamily family;
  uint8_t code;  // m of GS k for families A and B, t of the GS1 block
  int checkCode;
  std::string_view sampleData;
};
inline constexpr int kBarcode1DTypeCount = 13;
const Barcode1DType& Barcode1DTypeAt(int type);  // type 0..12

struct Barcode2DType {
  std::string_view listText;
  std::string_view toolName;
  int checkCode;  // every 2D type is checked by its own rule
};
inline constexpr int kBarcode2DTypeCount = 6;
inline constexpr int k2DPdf417 = 0;
inline constexpr int k2DExpandedStacked = 3;
inline constexpr int k2DQrCode = 4;
inline constexpr int k2DMaxiCode = 5;
const Barcode2DType& Barcode2DTypeAt(int type);  // type 0..5
inline constexpr std::string_view k2DSampleData = "01234567890123";

// The check code a tool name stands for ("upc-a", "code128", "qr", ...), or a number "0".."18".
std::optional<int> CheckCodeByName(std::string_view name);
// The names, for usage texts: "upc-a, upc-e, ...".
std::string CheckCodeNames();

// The feed-and-cut that ends every test print: line feed, then GS V 66 0.
inline constexpr uint8_t kTestPrintTrailer[] = {0x0A, 0x1D, 0x56, 0x42, 0x00};

// A test print ready to send, or why not.
struct TestPrint {
  bool knownType = true;  // false when the record holds a type the page's list does not offer
  int type = 0;
  int checkCode = 0;
  DataCheckResult check;
  std::vector<uint8_t> data;                 // as the check left it
  std::string_view documentName;             // "Barcode" or "2Dcode"
  std::vector<std::vector<uint8_t>> blocks;  // empty unless Ready()
  bool Ready() const { return knownType && check.Accepted(); }
  std::vector<uint8_t> Bytes() const;  // the blocks joined
};

// The test print of 1D font 0..7 (2D font 0..1) of the record, for data already in the ANSI code page.
TestPrint Build1DTestPrint(const uint8_t* record, uint32_t font, std::vector<uint8_t> ansiData);
TestPrint Build2DTestPrint(const uint8_t* record, uint32_t font, std::vector<uint8_t> ansiData);

// Sends a ready test print as its raw job; a test print that is not ready sends nothing (started false).
RawJobResult SendTestPrint(platform::Spooler& spooler, platform::PrinterHandle printer,
                           const TestPrint& print);

// The 1D font's height: the bar height plus its human-readable line, snapped to a half-point size at 180 dpi.
struct SymbolSize {
  uint32_t dots = 0;    // what symbolHeight stores
  int tenthPoints = 0;  // the point size shown, in tenths
};
// hriPosition 0 none, 1 above, 2 below, 3 both; hriFont 0 Font A, 1 Font B.
SymbolSize SnapSymbolHeight(uint32_t elementHeight, int hriPosition, int hriFont);
// The shown size of a stored symbolHeight: points (rounded to a half point) and millimetres, each "%5.1f".
struct ShownSize {
  std::string millimetres;
  std::string points;
};
ShownSize ShowSymbolSize(uint32_t symbolHeight);

}  // namespace mq::plugin
