// The virtual printer's paper roll.
#include "virtualprinter/Paper.h"

#include <algorithm>

namespace mq::vprinter {

void Paper::Extend(int rows) {
  if (rows <= height_) return;
  height_ = rows;
  levels_.resize(static_cast<size_t>(height_) * kWidth, 255);
}

void Paper::Darken(int x, int y, uint8_t level) {
  if (x < 0 || y < 0 || x >= kWidth || y >= height_) return;
  uint8_t& dot = levels_[static_cast<size_t>(y) * kWidth + x];
  dot = std::min(dot, level);
}

void Paper::FillRect(int x, int y, int width, int height, uint8_t level) {
  for (int row = y; row < y + height; ++row) {
    for (int col = x; col < x + width; ++col) Darken(col, row, level);
  }
}

void Paper::Whiten(int x, int y, int width, int height) {
  for (int row = std::max(y, 0); row < std::min(y + height, height_); ++row) {
    for (int col = std::max(x, 0); col < std::min(x + width, kWidth); ++col) {
      levels_[static_cast<size_t>(row) * kWidth + col] = 255;
    }
  }
}

}  // namespace mq::vprinter
