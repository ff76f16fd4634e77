// Gray and black-and-white conversion, row by row: the gray levels of one stored row are computed into a row
// buffer, then written out (gray) or compared with a threshold (black and white); the error diffusion computes
// them inside its own loop. The whole-image means that None and the 24-bit Dither M4 need are taken in a
// first pass.
#include "imaging/LogoConverter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "imaging/BitmapReader.h"
#include "imaging/BitmapWriter.h"
#include "imaging/LevelTransfer.h"

namespace mq::imaging {

const uint8_t kDitherMatrix8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
};

uint8_t DitherMatrix16(int y, int x) {
  static constexpr uint8_t kQuarterOffset[2][2] = {{0, 3}, {2, 1}};
  int row = y & 15;
  int column = x & 15;
  return static_cast<uint8_t>(4 * kDitherMatrix8[row & 7][column & 7] +
                              kQuarterOffset[row >> 3][column >> 3]);
}

namespace {

using LevelTable = std::array<uint8_t, 256>;

// Channel level (after its own mapping) times its luma weight, so that a pixel's luma is one sum and one
// division by 1000.
struct LumaTables {
  std::array<int32_t, 256> blue, green, red;
};

LumaTables MakeLumaTables(const LevelTable& blue, const LevelTable& green, const LevelTable& red) {
  LumaTables tables;
  for (int v = 0; v < 256; ++v) {
    tables.blue[v] = 114 * blue[v];
    tables.green[v] = 587 * green[v];
    tables.red[v] = 299 * red[v];
  }
  return tables;
}

// The gray level of each pixel of a 24- or 8-bit stored row: luma of the mapped channels, or the mapped
// value.
void LevelRow(const Bitmap& bitmap, const LumaTables& luma, const LevelTable& transfer, int y,
              uint8_t* levels) {
  const uint8_t* row = bitmap.Row(y);
  int width = bitmap.width;
  if (bitmap.bitsPerPixel == 24) {
    for (int x = 0; x < width; ++x, row += 3) {
      levels[x] = static_cast<uint8_t>((luma.blue[row[0]] + luma.green[row[1]] + luma.red[row[2]]) / 1000);
    }
  } else {
    for (int x = 0; x < width; ++x) levels[x] = transfer[row[x]];
  }
}

// One pass over a 24-bit picture: every pixel's level (luma of the mapped channels) into levels, row after
// row, and the luma of the three mapped channel means as the result.
int LevelsAndColourMean(const Bitmap& bitmap, const LevelTable& transfer, uint8_t* levels) {
  std::array<uint64_t, 3> sums{};
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = bitmap.Row(y);
    uint32_t blue = 0, green = 0, red = 0;  // one row: at most 1024 * 255
    for (int x = 0; x < bitmap.width; ++x, row += 3) {
      int b = transfer[row[0]], g = transfer[row[1]], r = transfer[row[2]];
      blue += b;
      green += g;
      red += r;
      *levels++ = static_cast<uint8_t>((114 * b + 587 * g + 299 * r) / 1000);
    }
    sums[0] += blue;
    sums[1] += green;
    sums[2] += red;
  }
  uint64_t count = static_cast<uint64_t>(bitmap.width) * static_cast<uint64_t>(bitmap.height);
  return Luma(static_cast<int>(sums[2] / count), static_cast<int>(sums[1] / count),
              static_cast<int>(sums[0] / count));
}

// The same for an 8-bit picture: every mapped level, and their mean.
int LevelsAndGrayMean(const Bitmap& bitmap, const LevelTable& transfer, uint8_t* levels) {
  uint64_t sum = 0;
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = bitmap.Row(y);
    uint32_t rowSum = 0;
    for (int x = 0; x < bitmap.width; ++x) {
      uint8_t level = transfer[row[x]];
      rowSum += level;
      *levels++ = level;
    }
    sum += rowSum;
  }
  return static_cast<int>(sum / (static_cast<uint64_t>(bitmap.width) * static_cast<uint64_t>(bitmap.height)));
}

// Per-channel sums of the stored values (blue, green, red order). A row is summed in runs of 48 bytes (16
// pixels) into 48 lanes, which the compiler turns into wide additions; lane k belongs to channel k % 3.
std::array<uint64_t, 3> RawChannelSums(const Bitmap& bitmap) {
  constexpr int kLanes = 48;
  std::array<uint64_t, 3> sums{};
  const int bytes = bitmap.width * 3;
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = bitmap.Row(y);
    uint32_t lanes[kLanes] = {};
    int i = 0;
    for (; i + kLanes <= bytes; i += kLanes) {
      for (int k = 0; k < kLanes; ++k) lanes[k] += row[i + k];
    }
    for (int k = 0; k < kLanes; ++k) sums[k % 3] += lanes[k];
    for (; i < bytes; ++i) sums[i % 3] += row[i];
  }
  return sums;
}

// A 16 x 16 threshold matrix: a pixel is white when its level is at least the threshold of its cell
// [y % 16][x % 16]. 256 can never be reached (always black).
using Thresholds = std::array<std::array<int16_t, 16>, 16>;

// Writes one stored mono row: bit 1 (white) where levels[x] >= thresholds[x % 16].
void PackRow(const uint8_t* levels, const std::array<int16_t, 16>& thresholds, int width, uint8_t* out) {
  int x = 0;
  for (; x + 8 <= width; x += 8) {
    const int16_t* t = &thresholds[x & 15];
    unsigned byte = 0;
    for (int k = 0; k < 8; ++k) byte |= static_cast<unsigned>(levels[x + k] >= t[k]) << (7 - k);
    out[x >> 3] = static_cast<uint8_t>(byte);
  }
  if (x < width) {
    unsigned byte = 0;
    for (int k = 0; x + k < width; ++k)
      byte |= static_cast<unsigned>(levels[x + k] >= thresholds[(x + k) & 15]) << (7 - k);
    out[x >> 3] = static_cast<uint8_t>(byte);
  }
}

// Writes one stored mono row from one 0/1 flag per pixel (1 = white).
void PackFlags(const uint8_t* white, int width, uint8_t* out) {
  int x = 0;
  for (; x + 8 <= width; x += 8) {
    const uint8_t* f = white + x;
    out[x >> 3] = static_cast<uint8_t>(f[0] << 7 | f[1] << 6 | f[2] << 5 | f[3] << 4 | f[4] << 3 | f[5] << 2 |
                                       f[6] << 1 | f[7]);
  }
  if (x < width) {
    unsigned byte = 0;
    for (int k = 0; x + k < width; ++k) byte |= static_cast<unsigned>(white[x + k]) << (7 - k);
    out[x >> 3] = static_cast<uint8_t>(byte);
  }
}

// What a pixel of sum s (level + errors) gives in the error diffusion: white when s > 128 (threshold 129),
// and its error e = s or s - 255 split into trunc(e * 0.375) and trunc(e * 0.25). e * 0.375 and e * 0.25 are
// exact in any floating type, so integer division truncating toward zero gives the same shares.
//
// The sums that can occur: with levels 0..255 the errors stay within -126..128, so a carried share lies
// within -47..48 and a collected one (3/8 of one error plus 1/4 of another) within -78..80; s = level +
// collected + carried therefore lies within -125..383. The tables cover -128..383. Looking the carried share
// up keeps the row's dependency chain (carried share -> next sum -> next carried share) to one addition and
// one load; it is kept pointer-wide so that no conversion sits in that chain.
class DiffusionTable {
 public:
  DiffusionTable() {
    for (int s = kLowestSum; s <= kHighestSum; ++s) {
      bool white = s > 128;
      int e = white ? s - 255 : s;
      threeEighths_[s - kLowestSum] = e * 3 / 8;
      quarter_[s - kLowestSum] = static_cast<int16_t>(e / 4);
      white_[s - kLowestSum] = white;
    }
  }
  const ptrdiff_t* ThreeEighths() const { return threeEighths_.data() - kLowestSum; }
  const int16_t* Quarter() const { return quarter_.data() - kLowestSum; }
  const uint8_t* White() const { return white_.data() - kLowestSum; }

 private:
  static constexpr int kLowestSum = -128;
  static constexpr int kHighestSum = 383;
  static constexpr size_t kSize = kHighestSum - kLowestSum + 1;
  std::array<ptrdiff_t, kSize> threeEighths_;
  std::array<int16_t, kSize> quarter_;
  std::array<uint8_t, kSize> white_;
};

// One row of the error diffusion in the direction kStep (+1 left to right, -1 right to left), over the source
// row of a 24-bit (kColour) or 8-bit picture. The gray level of each pixel is computed inside the loop, where
// it overlaps with the row's chain of carried errors. Each pixel's own collecting cell receives 3/8 of its
// error plus the 1/4 that the previous pixel of the scan sent diagonally, so the collecting row is written
// once per cell and needs no clearing. The shares of the row's last pixel that would fall beyond the row are
// dropped; after the last row the collecting row is not used.
template <int kStep, bool kColour>
void DiffuseRow(const DiffusionTable& table, const LumaTables& luma, const LevelTable& transfer,
                const uint8_t* row, const int* current, int* collecting, uint8_t* white, int width) {
  const ptrdiff_t* threeEighths = table.ThreeEighths();
  const int16_t* quarter = table.Quarter();
  const uint8_t* isWhite = table.White();
  ptrdiff_t x = kStep > 0 ? 0 : width - 1;
  ptrdiff_t carried = 0;
  int diagonal = 0;
  for (int i = 0; i < width; ++i, x += kStep) {
    ptrdiff_t level;
    if constexpr (kColour) {
      const uint8_t* p = row + 3 * x;
      level = (luma.blue[p[0]] + luma.green[p[1]] + luma.red[p[2]]) / 1000;
    } else {
      level = transfer[row[x]];
    }
    ptrdiff_t sum = level + current[x] + carried;
    white[x] = isWhite[sum];
    carried = threeEighths[sum];
    collecting[x] = static_cast<int>(carried) + diagonal;
    diagonal = quarter[sum];
  }
}

// Serpentine error diffusion: odd rows left to right, even rows right to left; 3/8 of the error to the next
// pixel of the row, 3/8 below and 1/4 diagonally below-forward, each share truncated toward zero.
void Diffuse(const Bitmap& bitmap, const LumaTables& luma, const LevelTable& transfer, uint8_t* outPixels,
             size_t outStride) {
  static const DiffusionTable table;
  int width = bitmap.width;
  std::vector<int> current(width, 0), collecting(width, 0);
  std::vector<uint8_t> white(width);
  bool colour = bitmap.bitsPerPixel == 24;
  for (int y = 0; y < bitmap.height; ++y) {
    auto run = (y & 1) ? (colour ? DiffuseRow<1, true> : DiffuseRow<1, false>)
                       : (colour ? DiffuseRow<-1, true> : DiffuseRow<-1, false>);
    run(table, luma, transfer, bitmap.Row(y), current.data(), collecting.data(), white.data(), width);
    current.swap(collecting);
    PackFlags(white.data(), width, outPixels + static_cast<size_t>(y) * outStride);
  }
}

// Dither M4's own contrast rule for 24-bit sources: each channel moves away from (k > 1) or towards (k < 1)
// the channel's mean, k = 1 + c / 10 or 1 - sqrt(-c) / 10, in single precision; then the brightness is added.
LevelTable SpreadTable(int mean, int contrast, int brightness) {
  float k = contrast >= 0 ? 1.0f + static_cast<float>(contrast) / 10.0f
                          : 1.0f - std::sqrt(static_cast<float>(-contrast)) / 10.0f;
  LevelTable table;
  for (int v = 0; v < 256; ++v) {
    float spread = static_cast<float>(v - mean) * k + static_cast<float>(mean);
    table[v] = static_cast<uint8_t>(std::clamp(brightness + static_cast<int>(spread), 0, 255));
  }
  return table;
}

}  // namespace

Status MakeGrayBitmap(std::span<const uint8_t> source, int contrast, int brightness,
                      std::vector<uint8_t>* out) {
  if (!IsValidAdjustment(contrast) || !IsValidAdjustment(brightness)) return Status::kBadSetting;
  Bitmap bitmap;
  if (Status status = ReadBitmap(source, &bitmap); status != Status::kOk) return status;
  LevelTransfer transfer(contrast, brightness);
  const LevelTable& table = transfer.Table();
  std::vector<uint8_t> file = NewGrayBitmapFile(bitmap.width, bitmap.height);
  size_t outStride = RowStride(bitmap.width, 8);
  uint8_t* outPixels = file.data() + kGrayPixelOffset;

  if (bitmap.bitsPerPixel == 1) {
    // Bits are used as stored with a black-then-white palette and inverted with any other; a set bit is then
    // level 255. The padding bits of a row are never looked at.
    bool asStored = bitmap.palette[0].IsBlack() && bitmap.palette[1].IsWhite();
    uint8_t setLevel = table[asStored ? 255 : 0];
    uint8_t clearLevel = table[asStored ? 0 : 255];
    for (int y = 0; y < bitmap.height; ++y) {
      const uint8_t* row = bitmap.Row(y);
      uint8_t* levels = outPixels + static_cast<size_t>(y) * outStride;
      for (int x = 0; x < bitmap.width; ++x) {
        levels[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? setLevel : clearLevel;
      }
    }
  } else {
    LumaTables luma = MakeLumaTables(table, table, table);
    for (int y = 0; y < bitmap.height; ++y) {
      LevelRow(bitmap, luma, table, y, outPixels + static_cast<size_t>(y) * outStride);
    }
  }
  *out = std::move(file);
  return Status::kOk;
}

Status MakeMonoBitmap(std::span<const uint8_t> source, Halftone halftone, int contrast, int brightness,
                      std::vector<uint8_t>* out) {
  if (!IsValidHalftone(static_cast<int>(halftone)) || !IsValidAdjustment(contrast) ||
      !IsValidAdjustment(brightness)) {
    return Status::kBadSetting;
  }
  Bitmap bitmap;
  if (Status status = ReadBitmap(source, &bitmap); status != Status::kOk) return status;
  if (bitmap.bitsPerPixel != 24 && bitmap.bitsPerPixel != 8) return Status::kUnsupportedDepth;
  bool colour = bitmap.bitsPerPixel == 24;

  LevelTransfer transfer(contrast, brightness);
  const LevelTable& table = transfer.Table();
  std::vector<uint8_t> file = NewMonoBitmapFile(bitmap.width, bitmap.height);
  size_t outStride = RowStride(bitmap.width, 1);
  uint8_t* outPixels = file.data() + kMonoPixelOffset;
  LumaTables luma = MakeLumaTables(table, table, table);

  if (halftone == Halftone::kErrorDiffuse) {
    Diffuse(bitmap, luma, table, outPixels, outStride);
    *out = std::move(file);
    return Status::kOk;
  }

  Thresholds thresholds;
  uint64_t pixelCount = static_cast<uint64_t>(bitmap.width) * static_cast<uint64_t>(bitmap.height);
  switch (halftone) {
    case Halftone::kNone: {
      // White when the level is greater than the image mean. For colour the mean is the luma of the three
      // channel means, not the mean of the lumas. The pass that sums the channels also keeps every pixel's
      // level, so the threshold pass only compares bytes.
      std::vector<uint8_t> levels(static_cast<size_t>(pixelCount));
      int mean = colour ? LevelsAndColourMean(bitmap, table, levels.data())
                        : LevelsAndGrayMean(bitmap, table, levels.data());
      std::array<int16_t, 16> threshold;
      threshold.fill(static_cast<int16_t>(mean + 1));
      for (int y = 0; y < bitmap.height; ++y) {
        PackRow(levels.data() + static_cast<size_t>(y) * bitmap.width, threshold, bitmap.width,
                outPixels + static_cast<size_t>(y) * outStride);
      }
      *out = std::move(file);
      return Status::kOk;
    }
    case Halftone::kDitherM3:
      // Colour: white when L / 4 >= m, that is L >= 4m. Gray: white when g / 4 > m, that is g >= 4m + 4.
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
          thresholds[y][x] = static_cast<int16_t>(4 * kDitherMatrix8[y & 7][x & 7] + (colour ? 0 : 4));
        }
      }
      break;
    case Halftone::kDitherM4: {
      // Colour: white when L >= m. Gray: white when g > m, that is g >= m + 1.
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
          thresholds[y][x] = static_cast<int16_t>(DitherMatrix16(y, x) + (colour ? 0 : 1));
      }
      if (colour) {
        std::array<uint64_t, 3> sums = RawChannelSums(bitmap);
        luma = MakeLumaTables(SpreadTable(static_cast<int>(sums[0] / pixelCount), contrast, brightness),
                              SpreadTable(static_cast<int>(sums[1] / pixelCount), contrast, brightness),
                              SpreadTable(static_cast<int>(sums[2] / pixelCount), contrast, brightness));
      }
      break;
    }
    case Halftone::kErrorDiffuse:
      break;
  }

  std::vector<uint8_t> levels(bitmap.width);
  for (int y = 0; y < bitmap.height; ++y) {
    LevelRow(bitmap, luma, table, y, levels.data());
    PackRow(levels.data(), thresholds[y & 15], bitmap.width, outPixels + static_cast<size_t>(y) * outStride);
  }
  *out = std::move(file);
  return Status::kOk;
}

}  // namespace mq::imaging
