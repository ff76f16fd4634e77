// Reads the bitmaps the logo routines accept: uncompressed Windows bitmaps of 1, 8 or 24 bits per pixel with
// the 14-byte file header and the 40-byte information header (little-endian), bottom-up rows padded to 4
// bytes, and the pixel data at the fixed offset of its depth (54 for 24-bit, 1078 for 8-bit after a full
// 256-entry palette, 62 for 1-bit after a 2-entry palette). Anything else is refused; nothing outside the
// given bytes is read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/ImagingStatus.h"

namespace mq::imaging {

inline constexpr int kMaxWidth = 1024;
inline constexpr int kMaxHeight = 768;

inline constexpr size_t kFileHeaderSize = 14;
inline constexpr size_t kInfoHeaderSize = 40;
inline constexpr size_t kMonoPixelOffset = 62;
inline constexpr size_t kGrayPixelOffset = 1078;
inline constexpr size_t kColourPixelOffset = 54;

struct PaletteEntry {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;

  bool IsBlack() const { return blue == 0 && green == 0 && red == 0; }
  bool IsWhite() const { return blue == 255 && green == 255 && red == 255; }
};

// A view of a validated bitmap inside the caller's bytes; valid while those bytes live.
struct Bitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  size_t stride = 0;                    // bytes per stored row
  std::array<PaletteEntry, 2> palette;  // 1-bit bitmaps only
  const uint8_t* pixels = nullptr;      // height * stride bytes, bottom row first

  // Stored row y (y = 0 is the bottom row of the picture).
  const uint8_t* Row(int y) const { return pixels + static_cast<size_t>(y) * stride; }
};

// Bytes per stored row: width * bitsPerPixel bits rounded up to a multiple of 4 bytes.
constexpr size_t RowStride(int width, int bitsPerPixel) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32) * 4;
}

// The fixed pixel data offset of a depth (0 for depths that are not accepted).
constexpr size_t PixelOffset(int bitsPerPixel) {
  return bitsPerPixel == 1    ? kMonoPixelOffset
         : bitsPerPixel == 8  ? kGrayPixelOffset
         : bitsPerPixel == 24 ? kColourPixelOffset
                              : 0;
}

// The most bytes an accepted bitmap uses (24-bit, 1024 x 768); anything after them is never read.
inline constexpr size_t kLargestBitmapFile = kColourPixelOffset + RowStride(kMaxWidth, 24) * kMaxHeight;

// Validates file bytes and describes the bitmap in *out. Trailing bytes after the pixel data are ignored.
Status ReadBitmap(std::span<const uint8_t> file, Bitmap* out);

}  // namespace mq::imaging
