// The contrast and brightness transfer.
#include "imaging/LevelTransfer.h"

#include <algorithm>

namespace mq::imaging {

int TransferLevel(int v, int contrast, int brightness) {
  int c = contrast;
  int t;
  if (c < 0) {
    float divisor = 255.0f / static_cast<float>(2 * c + 255);
    t = static_cast<int>(static_cast<float>(v) / divisor - static_cast<float>(c));
  } else if (v <= c) {
    t = 0;
  } else if (v >= 255 - c) {
    t = 255;
  } else {
    float divisor = static_cast<float>(255 - 2 * c) / 255.0f;
    t = static_cast<int>(static_cast<float>(v - c) / divisor);
  }
  return std::clamp(t + brightness, 0, 255);
}

LevelTransfer::LevelTransfer(int contrast, int brightness) {
  for (int v = 0; v < 256; ++v) table_[v] = static_cast<uint8_t>(TransferLevel(v, contrast, brightness));
}

}  // namespace mq::imaging
