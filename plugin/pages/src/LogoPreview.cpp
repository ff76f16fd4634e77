// Bitmap files drawn into pictures.
#include "pages/LogoPreview.h"

#include "imaging/BitmapReader.h"

namespace mq::plugin {

platform::ui::Picture BitmapPicture(std::span<const uint8_t> file) {
  imaging::Bitmap bitmap;
  if (imaging::ReadBitmap(file, &bitmap) != imaging::Status::kOk) return {};
  // The palette sits between the headers and the pixels; the reader has checked that the file holds it.
  const uint8_t* palette = file.data() + imaging::kFileHeaderSize + imaging::kInfoHeaderSize;
  auto entry = [palette](int index) {
    const uint8_t* e = palette + 4 * index;
    return static_cast<platform::ui::Rgb>(e[2]) << 16 | static_cast<platform::ui::Rgb>(e[1]) << 8 | e[0];
  };
  platform::ui::Picture picture(bitmap.width, bitmap.height);
  platform::ui::Rgb colours[256] = {};
  if (bitmap.bitsPerPixel != 24)
    for (int i = 0; i < (bitmap.bitsPerPixel == 8 ? 256 : 2); ++i) colours[i] = entry(i);
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = bitmap.Row(bitmap.height - 1 - y);  // rows are stored bottom-up
    for (int x = 0; x < bitmap.width; ++x) {
      platform::ui::Rgb colour;
      if (bitmap.bitsPerPixel == 24) {
        const uint8_t* p = row + 3 * x;
        colour =
            static_cast<platform::ui::Rgb>(p[2]) << 16 | static_cast<platform::ui::Rgb>(p[1]) << 8 | p[0];
      } else if (bitmap.bitsPerPixel == 8) {
        colour = colours[row[x]];
      } else {
        colour = colours[(row[x / 8] >> (7 - x % 8)) & 1];
      }
      picture.Set(x, y, colour);
    }
  }
  return picture;
}

}  // namespace mq::plugin
