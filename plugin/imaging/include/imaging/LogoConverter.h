// Gray and black-and-white conversion of a source bitmap into the intermediate bitmap files, in memory.
//
// Gray: 24-bit pixels are reduced to the luma of their transferred channels, 8-bit pixel values are taken as
// levels (the palette is not consulted) and transferred, 1-bit pixels become 255 (set) or 0 (clear) after the
// palette rule (bits used as stored with a black-then-white palette, inverted with any other) and
// transferred.
//
// Black and white (24- and 8-bit sources): the level L of a pixel is its transferred luma or level; a pixel
// becomes white (bit 1) or black (bit 0) by the chosen halftone. Rows are indexed in stored order, the bottom
// row of the picture being y = 0.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/ImagingStatus.h"

namespace mq::imaging {

enum class Halftone : int {
  kNone = 0,          // white when L is greater than the image mean
  kDitherM3 = 1,      // 8 x 8 ordered dither
  kDitherM4 = 2,      // 16 x 16 ordered dither; 24-bit sources use their own contrast rule
  kErrorDiffuse = 3,  // serpentine error diffusion, threshold 129
};

constexpr bool IsValidHalftone(int value) {
  return value >= 0 && value <= 3;
}

// The 8 x 8 ordered-dither matrix, indexed [y % 8][x % 8].
extern const uint8_t kDitherMatrix8[8][8];
// The 16 x 16 matrix built from it: quarters 4m, 4m + 3 (top right), 4m + 2 (bottom left), 4m + 1.
uint8_t DitherMatrix16(int y, int x);

// Source file bytes (24, 8 or 1 bit) to gray intermediate file bytes.
Status MakeGrayBitmap(std::span<const uint8_t> source, int contrast, int brightness,
                      std::vector<uint8_t>* out);

// Source file bytes (24 or 8 bit) to mono intermediate file bytes.
Status MakeMonoBitmap(std::span<const uint8_t> source, Halftone halftone, int contrast, int brightness,
                      std::vector<uint8_t>* out);

}  // namespace mq::imaging
