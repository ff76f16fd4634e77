// Headers and palettes of the intermediate bitmap files.
#include "imaging/BitmapWriter.h"

#include "LittleEndian.h"
#include "imaging/BitmapReader.h"

namespace mq::imaging {
namespace {

std::vector<uint8_t> NewBitmapFile(int width, int height, int bitsPerPixel) {
  size_t offset = PixelOffset(bitsPerPixel);
  size_t imageSize = RowStride(width, bitsPerPixel) * static_cast<size_t>(height);
  std::vector<uint8_t> file(offset + imageSize, 0);
  uint8_t* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  PutU32(p + 2, static_cast<uint32_t>(file.size()));
  PutU32(p + 10, static_cast<uint32_t>(offset));
  PutU32(p + 14, kInfoHeaderSize);
  PutU32(p + 18, static_cast<uint32_t>(width));
  PutU32(p + 22, static_cast<uint32_t>(height));
  PutU16(p + 26, 1);  // planes
  PutU16(p + 28, static_cast<uint32_t>(bitsPerPixel));
  PutU32(p + 34, static_cast<uint32_t>(imageSize));
  return file;
}

}  // namespace

std::vector<uint8_t> NewGrayBitmapFile(int width, int height) {
  std::vector<uint8_t> file = NewBitmapFile(width, height, 8);
  uint8_t* palette = file.data() + kFileHeaderSize + kInfoHeaderSize;
  for (int i = 0; i < 256; ++i) {
    palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<uint8_t>(i);
  }
  return file;
}

std::vector<uint8_t> NewMonoBitmapFile(int width, int height) {
  std::vector<uint8_t> file = NewBitmapFile(width, height, 1);
  uint8_t* white = file.data() + kFileHeaderSize + kInfoHeaderSize + 4;
  white[0] = white[1] = white[2] = 255;
  return file;
}

}  // namespace mq::imaging
