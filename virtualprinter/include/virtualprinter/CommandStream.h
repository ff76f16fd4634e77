// The virtual printer's reading of a byte stream: the commands this package and the operation slots send,
// each as one item with its parameters, in stream order. Nothing is dropped: bytes that are not a command the
// virtual printer knows become unknown items, and a command cut short by the end of the stream becomes a
// truncated item holding what was there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mq::vprinter {

enum class ItemKind {
  kBracketOpen,       // 1B 63 3B 01
  kBracketClose,      // 1B 63 3B 00
  kText,              // printable bytes 20..7E and 80..FF, in data
  kLineFeed,          // 0A
  kCarriageReturn,    // 0D
  kNul,               // 00, which the printer ignores
  kInitialize,        // ESC @
  kSelectFont,        // ESC M n: n & 1 selects Font B
  kPrintMode,         // ESC ! n: bit 0 selects Font B
  kAlign,             // ESC a n: 0 left, 1 centre, 2 right (or '0'..'2')
  kFeedDots,          // ESC J n: n dots
  kFeedLines,         // ESC d n: n lines
  kCut,               // GS V m [n]: params m, n (n = 0 for the three-byte forms)
  kDrawerPulse,       // ESC p m t1 t2: pin m (0/48 pin 2, 1/49 pin 5), on t1 x 2 ms, off t2 x 2 ms
  kBuzzer,            // ESC B n t: n beeps of t x 50 ms
  kHriFont,           // GS f n
  kHriPosition,       // GS H n: 0 none, 1 above, 2 below, 3 both
  kBarWidth,          // GS w n: module width in dots
  kBarHeight,         // GS h n: bar height in dots
  kGs1Parameters,     // GS s t gw rh ch sh seg hri ai
  kPdf417Parameters,  // GS p 1 1 rows columns width height (all six in params)
  kSymbolOption,      // GS q n: PDF417 error level, Maxi Code mode
  kQrParameters,      // GS o 0 width mode model (all four in params)
  kBarcode,           // GS k m ...: params m, the symbol's data in data
  kDefineMonoLogos,   // FS q n, then n mono records (in logos)
  kDefineGrayLogos,   // 1C 72 n, then n gray records (in logos)
  kPrintLogo,         // FS p n m
  kSelfTest,          // GS ( A pL pH n m: params n, m
  kUnknown,           // bytes of no command known here
  kTruncated,         // a command that the stream ends inside
};

// A stored logo as the printer keeps it: width x height levels, top row first, 0 black .. 255 white. Mono
// logos hold only 0 and 255; gray logos the 16 levels 0, 17, .. 255.
struct Logo {
  int width = 0;
  int height = 0;
  bool gray = false;
  std::vector<uint8_t> levels;

  uint8_t At(int x, int y) const { return levels[static_cast<size_t>(y) * width + x]; }
};

struct Item {
  ItemKind kind = ItemKind::kUnknown;
  size_t offset = 0;           // of the item's first byte in the stream
  std::vector<uint8_t> bytes;  // the item's bytes exactly as they came
  std::vector<int> params;     // the command's numeric parameters
  std::vector<uint8_t> data;   // text or symbol data
  std::vector<Logo> logos;     // of the define commands
};

// Reads the whole stream. Consecutive unknown bytes form one item.
std::vector<Item> DecodeCommandStream(std::span<const uint8_t> stream);

// One line that tells what an item is, for reports: "cut partial after feed", "unknown 1B 7E", ...
std::string DescribeItem(const Item& item);

// Bytes as upper-case hexadecimal pairs separated by single spaces.
std::string HexText(std::span<const uint8_t> bytes);

}  // namespace mq::vprinter
