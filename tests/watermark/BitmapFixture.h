// Tiny bitmap files written field by field, so that a test shows every byte it feeds in.
#pragma once

#include <cstdint>
#include <vector>

#include "../imaging/TestBitmaps.h"

namespace mq::watermark::testing {

using imaging::test::Get32;
using imaging::test::Put16;
using imaging::test::Put32;

struct BitmapLayout {
  uint32_t offset = 54;
  uint16_t bits = 24;
  int32_t width = 1;
  int32_t height = 1;
  uint32_t compression = 0;
  uint32_t colours = 0;          // biClrUsed as written
  std::vector<uint8_t> palette;  // written at 54, 4 bytes an entry
  std::vector<uint8_t> pixels;   // written at offset, rows as given
};

// "BM", the file size its fields add up to, 2835 pixels per metre both ways, biSizeImage = pixels' size.
inline std::vector<uint8_t> MakeBitmap(const BitmapLayout& s) {
  std::vector<uint8_t> b(s.offset + s.pixels.size(), 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, s.offset);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(s.width));
  Put32(b, 22, static_cast<uint32_t>(s.height));
  Put16(b, 26, 1);
  Put16(b, 28, s.bits);
  Put32(b, 30, s.compression);
  Put32(b, 34, static_cast<uint32_t>(s.pixels.size()));
  Put32(b, 38, 2835);
  Put32(b, 42, 2835);
  Put32(b, 46, s.colours);
  Put32(b, 50, s.colours);
  for (size_t i = 0; i < s.palette.size() && 54 + i < s.offset; ++i) b[54 + i] = s.palette[i];
  for (size_t i = 0; i < s.pixels.size(); ++i) b[s.offset + i] = s.pixels[i];
  return b;
}

}  // namespace mq::watermark::testing
