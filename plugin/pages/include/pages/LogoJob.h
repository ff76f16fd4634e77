// The printer data of the Download page's logo jobs, shared by the page and the Linux tool so that both send
// the same bytes: the logo definition (bracket, define command with the logo count, one record per logo in
// list order, bracket) and the clearing of every stored logo. Also the page's limits and the header facts it
// checks before a file becomes a logo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "imaging/ImagingStatus.h"

namespace mq::plugin {

// The page-wide logo mode; the values are those of the mode radios.
enum class LogoMode : int { kOriginal = 0, kTransformation = 1, kGray = 2 };

// One logo's conversion settings: halftone 0..3 (None, Dither M3, Dither M4, Error Diffuse), contrast and
// brightness -100..100.
struct LogoSettings {
  int halftone = 0;
  int contrast = 0;
  int brightness = 0;
  bool operator==(const LogoSettings&) const = default;
};

inline constexpr size_t kMaxLogos = 9;
// The logos of one definition must add up to fewer bytes than this (96 KiB), counted per logo as its
// intermediate file, or its source where it has none.
inline constexpr uint64_t kLogoBytesLimit = 98304;

// FS q n (one-bit logos) and the gray logos' define command, each followed by the logo count.
inline constexpr uint8_t kDefineMonoLogos[] = {0x1C, 0x71};
inline constexpr uint8_t kDefineGrayLogos[] = {0x1C, 0x72};
// FS q with no logos, and the two bytes the printer expects after it: erases every stored logo.
inline constexpr uint8_t kClearAllLogos[] = {0x1C, 0x71, 0x00, 0x00, 0x0A};

// What the first 62 bytes of a bitmap file say: the picture's size and depth. Nothing when fewer bytes are
// given; signature says whether they start with "BM".
struct BitmapHeader {
  bool signature = false;
  int32_t width = 0;
  int32_t height = 0;
  int bitsPerPixel = 0;
};
inline constexpr size_t kBitmapHeaderBytes = 62;
std::optional<BitmapHeader> ReadBitmapHeader(std::span<const uint8_t> file);

struct LogoJobBlocks {
  std::vector<std::vector<uint8_t>> blocks;  // in the order the job writes them
  int failedRow = -1;                        // the row whose record could not be made, -1 when none
  imaging::Status failure = imaging::Status::kOk;
  bool Complete() const { return failedRow < 0; }
};

// The record source of a row: the file bytes its record is made from (in mono mode a one-bit source or the
// mono intermediate, in gray mode the gray intermediate), or nothing when that file cannot be read.
using RecordSource = std::function<std::optional<std::vector<uint8_t>>(size_t row)>;

// The definition of rowCount logos (1..9) in Transformation or Gray mode. A row whose record cannot be made
// (file not read, not a one-bit bitmap with a black-and-white palette in mono mode, not a gray bitmap in gray
// mode) ends the blocks there: the rows before it stay, the closing bracket is not added, and failedRow says
// which row it was.
LogoJobBlocks BuildLogoDefinition(LogoMode mode, size_t rowCount, const RecordSource& source);

// Bracket, the clear command, bracket.
std::vector<std::vector<uint8_t>> ClearLogosBlocks();

}  // namespace mq::plugin
