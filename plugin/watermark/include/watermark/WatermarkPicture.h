// The watermark picture file: always an uncompressed 24-bit bitmap (BITMAPFILEHEADER, BITMAPINFOHEADER, then
// rows bottom-up, 3 bytes a pixel in blue-green-red order, each row padded to a multiple of 4 bytes). The
// user's 1-, 8- and 24-bit files are normalised into it; a picture in memory is read back from it for the
// preview.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/ui/Picture.h"

namespace mq::watermark {

inline constexpr uint32_t kFileHeaderSize = 14;
inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr uint32_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  // 54, the 24-bit data offset
// Pixel offsets of the two palette kinds: 2 and 256 palette entries of 4 bytes behind the two headers.
inline constexpr uint32_t kOneBitOffset = kHeadersSize + 2 * 4;      // 62
inline constexpr uint32_t kEightBitOffset = kHeadersSize + 256 * 4;  // 1078
// The most 24-bit pixel data a watermark picture may have.
inline constexpr uint64_t kPixelLimit = 10485760;

// Bytes of one 24-bit row, padded to a multiple of 4.
inline constexpr uint64_t RowBytes24(uint64_t width) {
  return (width * 3 + 3) / 4 * 4;
}

enum class NormaliseStatus {
  kOk,
  kRefused,  // not a bitmap this system reads: wrong kind, compressed, or a header the data contradict
  kTooBig,   // the 24-bit pixel data would exceed kPixelLimit
};

struct Normalised {
  NormaliseStatus status = NormaliseStatus::kRefused;
  std::vector<uint8_t> file;  // the 24-bit file, when status is kOk
  bool copied = false;        // the source was 24-bit already and file is its bytes unchanged
};

// Normalises a bitmap file. The data offset decides the kind: 62 a 1-bit file with 2 palette colours, 1078
// an 8-bit file with 256, 54 a 24-bit file; the bit count must agree with it, the information header must be
// the 40-byte one, uncompressed, bottom-up, with a positive width and height, and the file must hold every
// row. A 24-bit file is taken unchanged; the others have each pixel replaced by its palette colour, and
// their header rewritten as a 24-bit one (bit count, data offset, file and image sizes, no palette).
Normalised NormaliseBitmap(std::span<const uint8_t> source);

// Reads a normalised 24-bit file into a picture (top-down rows), or nothing when the file is not one. A
// picture whose 24-bit data exceed kPixelLimit is not read: tooBig is set instead.
std::optional<platform::ui::Picture> ReadPicture24(std::span<const uint8_t> file, bool* tooBig = nullptr);

// Adds brightness to every colour byte, capped at 255.
platform::ui::Rgb Brighten(platform::ui::Rgb colour, int brightness);
void Brighten(platform::ui::Picture& picture, int brightness);

// A 24-bit file of a picture: the two headers ("BM", the file's size, offset 54; the size, one plane, 24
// bits, no compression, every other field 0) and the rows bottom-up.
std::vector<uint8_t> EncodeBitmap24(const platform::ui::Picture& picture);

}  // namespace mq::watermark
