// Validation of the accepted bitmap layout.
#include "imaging/BitmapReader.h"

#include "LittleEndian.h"

namespace mq::imaging {

Status ReadBitmap(std::span<const uint8_t> file, Bitmap* out) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return Status::kNotBitmap;
  if (file.size() < kFileHeaderSize + kInfoHeaderSize) return Status::kTruncated;
  const uint8_t* p = file.data();
  uint32_t pixelOffset = ReadU32(p + 10);
  uint32_t infoSize = ReadU32(p + 14);
  int32_t width = ReadI32(p + 18);
  int32_t height = ReadI32(p + 22);
  uint16_t bitsPerPixel = ReadU16(p + 28);
  uint32_t compression = ReadU32(p + 30);

  if (infoSize != kInfoHeaderSize) return Status::kUnsupportedHeader;
  if (compression != 0) return Status::kCompressed;
  if (PixelOffset(bitsPerPixel) == 0) return Status::kUnsupportedDepth;
  if (width <= 0 || height <= 0) return Status::kBadSize;
  if (width > kMaxWidth || height > kMaxHeight) return Status::kTooLarge;
  // The pixels are taken from the fixed offset; a file that puts them elsewhere (a short palette, extra
  // header fields) would be read as garbage, so it is refused.
  if (pixelOffset != PixelOffset(bitsPerPixel)) return Status::kUnexpectedLayout;

  size_t stride = RowStride(width, bitsPerPixel);
  size_t needed = pixelOffset + stride * static_cast<size_t>(height);
  if (file.size() < needed) return Status::kTruncated;

  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.bitsPerPixel = bitsPerPixel;
  bitmap.stride = stride;
  if (bitsPerPixel == 1) {
    for (size_t i = 0; i < 2; ++i) {
      const uint8_t* entry = p + kFileHeaderSize + kInfoHeaderSize + 4 * i;
      bitmap.palette[i] = PaletteEntry{entry[0], entry[1], entry[2]};
    }
  }
  bitmap.pixels = p + pixelOffset;
  *out = bitmap;
  return Status::kOk;
}

}  // namespace mq::imaging
