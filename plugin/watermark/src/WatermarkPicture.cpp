// Normalising the user's bitmap into the 24-bit watermark picture, and reading it back.
#include "watermark/WatermarkPicture.h"

#include <algorithm>

namespace mq::watermark {

using platform::ui::Picture;
using platform::ui::Rgb;

namespace {

uint32_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return U16(b, at) | (U16(b, at + 2) << 16);
}
void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

// Header fields (offsets in the file).
constexpr size_t kDataOffsetAt = 10;
constexpr size_t kInfoSizeAt = 14;
constexpr size_t kWidthAt = 18;
constexpr size_t kHeightAt = 22;
constexpr size_t kBitCountAt = 28;
constexpr size_t kCompressionAt = 30;
constexpr size_t kImageSizeAt = 34;
constexpr size_t kColoursUsedAt = 46;
constexpr size_t kColoursImportantAt = 50;

struct Layout {
  uint32_t bits;
  uint32_t offset;
  uint64_t width, height;
  uint64_t sourceRow;  // bytes of one source row
};

// The file's layout when it is one this system reads.
std::optional<Layout> Inspect(std::span<const uint8_t> s) {
  if (s.size() < kHeadersSize || s[0] != 'B' || s[1] != 'M') return std::nullopt;
  const uint32_t offset = U32(s, kDataOffsetAt);
  const uint32_t bits = U16(s, kBitCountAt);
  const bool known = (offset == kOneBitOffset && bits == 1) || (offset == kEightBitOffset && bits == 8) ||
                     (offset == kHeadersSize && bits == 24);
  if (!known || U32(s, kInfoSizeAt) != kInfoHeaderSize || U32(s, kCompressionAt) != 0) return std::nullopt;
  const auto width = static_cast<int32_t>(U32(s, kWidthAt));
  const auto height = static_cast<int32_t>(U32(s, kHeightAt));
  if (width <= 0 || height <= 0) return std::nullopt;  // top-down files are not read
  Layout l{bits, offset, static_cast<uint64_t>(width), static_cast<uint64_t>(height), 0};
  l.sourceRow = (l.width * bits + 31) / 32 * 4;
  if (s.size() < offset || (s.size() - offset) / l.sourceRow < l.height) return std::nullopt;
  return l;
}

}  // namespace

Normalised NormaliseBitmap(std::span<const uint8_t> s) {
  Normalised out;
  const std::optional<Layout> l = Inspect(s);
  if (!l) return out;
  const uint64_t row = RowBytes24(l->width);
  if (row * l->height > kPixelLimit) {
    out.status = NormaliseStatus::kTooBig;
    return out;
  }
  out.status = NormaliseStatus::kOk;
  if (l->bits == 24) {
    out.file.assign(s.begin(), s.end());
    out.copied = true;
    return out;
  }
  const uint64_t image = row * l->height;
  out.file.assign(kHeadersSize + image, 0);
  std::copy(s.begin(), s.begin() + kHeadersSize, out.file.begin());
  Put32(out.file, 2, static_cast<uint32_t>(kHeadersSize + image));
  Put32(out.file, kDataOffsetAt, kHeadersSize);
  Put16(out.file, kBitCountAt, 24);
  Put32(out.file, kImageSizeAt, static_cast<uint32_t>(image));
  Put32(out.file, kColoursUsedAt, 0);
  Put32(out.file, kColoursImportantAt, 0);
  const uint8_t* palette = s.data() + kHeadersSize;  // blue, green, red, reserved per entry
  for (uint64_t y = 0; y < l->height; ++y) {
    const uint8_t* in = s.data() + l->offset + y * l->sourceRow;
    uint8_t* px = out.file.data() + kHeadersSize + y * row;
    for (uint64_t x = 0; x < l->width; ++x, px += 3) {
      const unsigned index = l->bits == 8 ? in[x] : (in[x / 8] >> (7 - x % 8)) & 1;
      std::copy(palette + index * 4, palette + index * 4 + 3, px);
    }
  }
  return out;
}

std::optional<Picture> ReadPicture24(std::span<const uint8_t> file, bool* tooBig) {
  if (tooBig != nullptr) *tooBig = false;
  const std::optional<Layout> l = Inspect(file);
  if (!l || l->bits != 24) return std::nullopt;
  if (l->sourceRow * l->height > kPixelLimit) {
    if (tooBig != nullptr) *tooBig = true;
    return std::nullopt;
  }
  Picture picture(static_cast<int>(l->width), static_cast<int>(l->height));
  for (uint64_t y = 0; y < l->height; ++y) {
    const uint8_t* px = file.data() + l->offset + (l->height - 1 - y) * l->sourceRow;
    for (uint64_t x = 0; x < l->width; ++x, px += 3)
      picture.Set(static_cast<int>(x), static_cast<int>(y), (Rgb{px[2]} << 16) | (Rgb{px[1]} << 8) | px[0]);
  }
  return picture;
}

Rgb Brighten(Rgb colour, int brightness) {
  Rgb out = 0;
  for (int shift : {16, 8, 0}) {
    const int channel = std::clamp(static_cast<int>((colour >> shift) & 0xFF) + brightness, 0, 255);
    out |= static_cast<Rgb>(channel) << shift;
  }
  return out;
}

void Brighten(Picture& picture, int brightness) {
  if (brightness == 0) return;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.Set(x, y, Brighten(picture.At(x, y), brightness));
}

std::vector<uint8_t> EncodeBitmap24(const Picture& picture) {
  const uint64_t row = RowBytes24(static_cast<uint64_t>(picture.Width()));
  const uint64_t size = kHeadersSize + row * picture.Height();
  std::vector<uint8_t> file(size, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(size));
  Put32(file, kDataOffsetAt, kHeadersSize);
  Put32(file, kInfoSizeAt, kInfoHeaderSize);
  Put32(file, kWidthAt, static_cast<uint32_t>(picture.Width()));
  Put32(file, kHeightAt, static_cast<uint32_t>(picture.Height()));
  Put16(file, 26, 1);  // planes
  Put16(file, kBitCountAt, 24);
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* px = file.data() + kHeadersSize + static_cast<uint64_t>(picture.Height() - 1 - y) * row;
    for (int x = 0; x < picture.Width(); ++x, px += 3) {
      const Rgb c = picture.At(x, y);
      px[0] = static_cast<uint8_t>(c);
      px[1] = static_cast<uint8_t>(c >> 8);
      px[2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return file;
}

}  // namespace mq::watermark
