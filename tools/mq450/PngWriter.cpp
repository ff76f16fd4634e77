// PNG pictures written with libpng.
#include "PngWriter.h"

#include <png.h>

#include <csetjmp>

namespace mq::tool {
namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

}  // namespace

bool EncodePng(int width, int height, const std::vector<uint8_t>& rgb, std::vector<uint8_t>* png) {
  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!writer) return false;
  png_infop info = png_create_info_struct(writer);
  if (!info) {
    png_destroy_write_struct(&writer, nullptr);
    return false;
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[y] = const_cast<png_bytep>(rgb.data() + static_cast<size_t>(y) * width * 3);
  }
  // libpng reports errors by longjmp; nothing with a destructor is created between here and the end.
  if (setjmp(png_jmpbuf(writer))) {
    png_destroy_write_struct(&writer, &info);
    return false;
  }
  png_set_write_fn(writer, png, AppendToVector, nullptr);
  png_set_IHDR(writer, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(writer, info);
  png_write_image(writer, rows.data());
  png_write_end(writer, nullptr);
  png_destroy_write_struct(&writer, &info);
  return true;
}

}  // namespace mq::tool
