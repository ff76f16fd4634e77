// Builds the two intermediate bitmap files in memory: headers and palette filled in, pixel rows zeroed for
// the caller to fill (bottom row first, as in the source).
#pragma once

#include <cstdint>
#include <vector>

namespace mq::imaging {

// 8 bits per pixel, gray palette (entry i = blue i, green i, red i, 0), pixel data at 1078, stride = width
// rounded up to a multiple of 4. Resolutions, colours used and colours important are 0.
std::vector<uint8_t> NewGrayBitmapFile(int width, int height);

// 1 bit per pixel, palette entry 0 black and entry 1 white (so a set bit is white, no dot), pixel data at 62,
// stride = ((width + 31) / 32) * 4. The leftmost pixel is the most significant bit of its byte.
std::vector<uint8_t> NewMonoBitmapFile(int width, int height);

}  // namespace mq::imaging
