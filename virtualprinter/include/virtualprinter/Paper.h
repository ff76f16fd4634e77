// The paper roll of the virtual printer: 576 dots across (80 mm paper at 180 dpi), as long as the jobs make
// it, one level per dot (0 black .. 255 white). Drawing outside the roll is clipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mq::vprinter {

class Paper {
 public:
  static constexpr int kWidth = 576;

  int Width() const { return kWidth; }
  int Height() const { return height_; }
  const std::vector<uint8_t>& Levels() const { return levels_; }
  uint8_t At(int x, int y) const { return levels_[static_cast<size_t>(y) * kWidth + x]; }

  // Makes the roll at least rows long; new paper is white.
  void Extend(int rows);
  // Sets one dot, darkening only: thermal paper never gets lighter. Dots outside the roll are ignored.
  void Darken(int x, int y, uint8_t level);
  void FillRect(int x, int y, int width, int height, uint8_t level);
  // Blank paper again, for the virtual printer's own labels over lines it drew.
  void Whiten(int x, int y, int width, int height);

 private:
  int height_ = 0;
  std::vector<uint8_t> levels_;
};

}  // namespace mq::vprinter
