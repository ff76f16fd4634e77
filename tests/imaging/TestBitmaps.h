// Builds small bitmap files for the imaging tests and reads pixels back from the intermediate files. Rows are
// addressed in stored order (y = 0 is the bottom row), as the halftone rules are.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace mq::imaging::test {

struct Colour {
  uint8_t red, green, blue;
};

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}
inline uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

inline size_t Stride(int width, int bits) {
  return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

// A bitmap file with standard headers and a zeroed palette and pixel area; the padding bytes of each row are
// filled with padByte.
inline std::vector<uint8_t> BlankBitmap(int width, int height, int bits, uint8_t padByte = 0) {
  size_t offset = bits == 24 ? 54 : bits == 8 ? 1078 : 62;
  size_t stride = Stride(width, bits);
  std::vector<uint8_t> b(offset + stride * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(offset));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<uint32_t>(bits));
  Put32(b, 34, static_cast<uint32_t>(stride * height));
  size_t used = (static_cast<size_t>(width) * bits + 7) / 8;
  for (int y = 0; y < height; ++y) {
    for (size_t i = used; i < stride; ++i) b[offset + y * stride + i] = padByte;
  }
  return b;
}

inline std::vector<uint8_t> Colour24(int width, int height,
                                     const std::function<Colour(int x, int y)>& pixel) {
  std::vector<uint8_t> b = BlankBitmap(width, height, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Colour c = pixel(x, y);
      size_t at = 54 + y * Stride(width, 24) + 3 * x;
      b[at] = c.blue;
      b[at + 1] = c.green;
      b[at + 2] = c.red;
    }
  }
  return b;
}

// The palette is deliberately not gray (entry i = 0, 0, 255 - i): the pixel value itself is the level.
inline std::vector<uint8_t> Gray8(int width, int height, const std::function<uint8_t(int x, int y)>& level) {
  std::vector<uint8_t> b = BlankBitmap(width, height, 8);
  for (int i = 0; i < 256; ++i) b[54 + 4 * i + 2] = static_cast<uint8_t>(255 - i);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b[1078 + y * Stride(width, 8) + x] = level(x, y);
  }
  return b;
}

// 1-bit bitmap with palette entries (blue, green, red) given as 0xRRGGBB.
inline std::vector<uint8_t> Mono1(int width, int height, uint32_t entry0, uint32_t entry1,
                                  const std::function<bool(int x, int y)>& bit, uint8_t padByte = 0) {
  std::vector<uint8_t> b = BlankBitmap(width, height, 1, padByte);
  for (int i = 0; i < 2; ++i) {
    uint32_t rgb = i ? entry1 : entry0;
    b[54 + 4 * i] = static_cast<uint8_t>(rgb);
    b[54 + 4 * i + 1] = static_cast<uint8_t>(rgb >> 8);
    b[54 + 4 * i + 2] = static_cast<uint8_t>(rgb >> 16);
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (bit(x, y)) b[62 + y * Stride(width, 1) + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return b;
}

inline bool MonoBit(const std::vector<uint8_t>& file, int width, int x, int y) {
  return (file[62 + y * Stride(width, 1) + x / 8] >> (7 - x % 8)) & 1;
}

inline uint8_t GrayLevel(const std::vector<uint8_t>& file, int width, int x, int y) {
  return file[1078 + y * Stride(width, 8) + x];
}

}  // namespace mq::imaging::test
