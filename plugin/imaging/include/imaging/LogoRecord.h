// The printer's logo records, made from the intermediate bitmaps.
//
// Mono record (one image of the non-volatile bit image definition FS q): n low, n high, v low, v high, then
// n * 8 * v data bytes, where n is the bitmap's stride in bytes ((w + 31) / 32 * 4, so the logo is a multiple
// of 32 dots wide) and v = (h + 7) / 8. Data run column by column from the left, each column as v bytes from
// top to bottom with the topmost dot in the most significant bit; a set bit prints a dot. A height that is
// not a multiple of 8 gets blank rows added above the picture.
//
// Gray record (16 levels): 0x01, 0x00, m low, m high, r low, r high, then m * r * 8 data bytes. Each picture
// row, top to bottom, gives four plane rows of m = (a + 7) / 8 bytes (a = the width rounded up to 4): bits 7,
// 6, 5 and 4 of each level, a plane bit being 1 where the level's bit is 0 (darker), leftmost pixel in the
// most significant bit, padding columns counted as level 255. r = (4h + 7) / 8; an odd height is followed by
// four zero plane rows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/ImagingStatus.h"

namespace mq::imaging {

// From a 1-bit bitmap whose palette is black then white (inverted, so a black pixel prints) or white then
// black (bits used as stored). Any other palette is refused with kBadPalette, any other depth with
// kUnsupportedDepth. Pixels outside the picture's width never print.
Status EncodeMonoLogo(std::span<const uint8_t> bitmapFile, std::vector<uint8_t>* record);

// From an 8-bit bitmap (the gray intermediate); the pixel values are the levels.
Status EncodeGrayLogo(std::span<const uint8_t> bitmapFile, std::vector<uint8_t>* record);

}  // namespace mq::imaging
