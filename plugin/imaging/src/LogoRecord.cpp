// Encoding of the mono and gray logo records.
#include "imaging/LogoRecord.h"

#include <algorithm>
#include <array>

#include "LittleEndian.h"
#include "imaging/BitmapReader.h"

namespace mq::imaging {
namespace {

// Transposes an 8 x 8 bit block: in[i] is row i (bit 7 = column 0); out[j] becomes column j (bit 7 = row 0).
void Transpose8(const uint8_t in[8], uint8_t out[8]) {
  uint64_t x = 0;
  for (int i = 0; i < 8; ++i) x |= static_cast<uint64_t>(in[i]) << (56 - 8 * i);
  // Swap the off-diagonal bits of 2 x 2, then 4 x 4 blocks of 2 x 2 blocks, then of 4 x 4 blocks.
  uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
  x ^= t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
  x ^= t ^ (t << 14);
  t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
  x ^= t ^ (t << 28);
  for (int j = 0; j < 8; ++j) out[j] = static_cast<uint8_t>(x >> (56 - 8 * j));
}

}  // namespace

Status EncodeMonoLogo(std::span<const uint8_t> bitmapFile, std::vector<uint8_t>* record) {
  Bitmap bitmap;
  if (Status status = ReadBitmap(bitmapFile, &bitmap); status != Status::kOk) return status;
  if (bitmap.bitsPerPixel != 1) return Status::kUnsupportedDepth;
  bool invert;
  if (bitmap.palette[0].IsBlack() && bitmap.palette[1].IsWhite()) {
    invert = true;  // bit 1 is white: a dot is a clear bit
  } else if (bitmap.palette[0].IsWhite() && bitmap.palette[1].IsBlack()) {
    invert = false;
  } else {
    return Status::kBadPalette;
  }

  const int width = bitmap.width;
  const int height = bitmap.height;
  const size_t n = bitmap.stride;
  const size_t dataBytes = (static_cast<size_t>(width) + 7) / 8;
  const uint8_t lastMask = (width % 8) ? static_cast<uint8_t>(0xFF00 >> (width % 8)) : 0xFF;
  const int v = (height + 7) / 8;
  const int blankRows = 8 * v - height;

  // Dot rows top to bottom, blank rows first; a set bit prints. The bytes after the last data byte and the
  // unused low bits of that byte are cleared whatever the palette, so nothing outside the picture prints.
  std::vector<uint8_t> dots(8 * static_cast<size_t>(v) * n, 0);
  for (int top = 0; top < height; ++top) {
    const uint8_t* in = bitmap.Row(height - 1 - top);
    uint8_t* out = dots.data() + static_cast<size_t>(blankRows + top) * n;
    uint8_t flip = invert ? 0xFF : 0x00;
    for (size_t i = 0; i < dataBytes; ++i) out[i] = in[i] ^ flip;
    out[dataBytes - 1] &= lastMask;
  }

  record->assign(4 + n * 8 * static_cast<size_t>(v), 0);
  uint8_t* p = record->data();
  PutU16(p, static_cast<uint32_t>(n));
  PutU16(p + 2, static_cast<uint32_t>(v));
  uint8_t* data = p + 4;
  uint8_t block[8], columns[8];
  for (int band = 0; band < v; ++band) {
    for (size_t byteColumn = 0; byteColumn < n; ++byteColumn) {
      for (int k = 0; k < 8; ++k) block[k] = dots[(static_cast<size_t>(band) * 8 + k) * n + byteColumn];
      Transpose8(block, columns);
      // Column c = 8 * byteColumn + j holds its v bytes at data[c * v .. c * v + v).
      for (int j = 0; j < 8; ++j) data[(byteColumn * 8 + j) * v + band] = columns[j];
    }
  }
  return Status::kOk;
}

Status EncodeGrayLogo(std::span<const uint8_t> bitmapFile, std::vector<uint8_t>* record) {
  Bitmap bitmap;
  if (Status status = ReadBitmap(bitmapFile, &bitmap); status != Status::kOk) return status;
  if (bitmap.bitsPerPixel != 8) return Status::kUnsupportedDepth;

  const int width = bitmap.width;
  const int height = bitmap.height;
  const size_t a = bitmap.stride;
  const size_t m = (a + 7) / 8;
  const size_t r = (4 * static_cast<size_t>(height) + 7) / 8;

  record->assign(6 + m * r * 8, 0);
  uint8_t* p = record->data();
  p[0] = 0x01;
  p[1] = 0x00;
  PutU16(p + 2, static_cast<uint32_t>(m));
  PutU16(p + 4, static_cast<uint32_t>(r));
  uint8_t* data = p + 6;

  // Levels of one row padded with white (255) up to a whole number of bytes of plane bits; the bits past a
  // (when a mod 8 is 4) are then written as 0, like white.
  std::vector<uint8_t> levels(m * 8, 255);
  // The four plane bits of a level, inverted (1 = the level's bit is 0), each at bit 7 of its own byte: bit 7
  // of the level in byte 0, bit 6 in byte 1, bit 5 in byte 2, bit 4 in byte 3. Shifting pixel k's word right
  // by k puts its bits in column k of all four plane bytes at once.
  std::array<uint32_t, 256> spread;
  for (int level = 0; level < 256; ++level) {
    unsigned dark = ~static_cast<unsigned>(level);
    spread[level] =
        ((dark >> 7) & 1) << 7 | ((dark >> 6) & 1) << 15 | ((dark >> 5) & 1) << 23 | ((dark >> 4) & 1) << 31;
  }
  for (int top = 0; top < height; ++top) {
    std::copy_n(bitmap.Row(height - 1 - top), width, levels.begin());
    uint8_t* planes = data + static_cast<size_t>(top) * 4 * m;
    for (size_t i = 0; i < m; ++i) {
      const uint8_t* eight = &levels[i * 8];
      uint32_t word = spread[eight[0]] | spread[eight[1]] >> 1 | spread[eight[2]] >> 2 |
                      spread[eight[3]] >> 3 | spread[eight[4]] >> 4 | spread[eight[5]] >> 5 |
                      spread[eight[6]] >> 6 | spread[eight[7]] >> 7;
      planes[i] = static_cast<uint8_t>(word);
      planes[m + i] = static_cast<uint8_t>(word >> 8);
      planes[2 * m + i] = static_cast<uint8_t>(word >> 16);
      planes[3 * m + i] = static_cast<uint8_t>(word >> 24);
    }
  }
  return Status::kOk;
}

}  // namespace mq::imaging
