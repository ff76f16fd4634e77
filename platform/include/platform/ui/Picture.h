// A small picture in memory: 24-bit colour, rows top-down, no padding. Pages draw their previews into it and
// the dialog controls show it (the Win32 adapter turns it into a device-independent bitmap).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mq::platform::ui {

// 0xRRGGBB.
using Rgb = uint32_t;

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, Rgb fill = 0xFFFFFF)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }

  // Points outside the picture are ignored (reads give white), so drawing code may run past the edges.
  void Set(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<size_t>(y) * width_ + x] = colour;
  }
  Rgb At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFF;
    return pixels_[static_cast<size_t>(y) * width_ + x];
  }
  void FillRect(int x, int y, int w, int h, Rgb colour) {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) Set(i, j, colour);
  }
  bool operator==(const Picture& other) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

}  // namespace mq::platform::ui
