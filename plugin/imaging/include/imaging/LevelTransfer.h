// The contrast and brightness transfer every channel level passes through, and the luma of a colour pixel.
// The single-precision steps are part of the result: the same bytes must come out of every build, so the
// project compiles without fused multiply-add and with SSE arithmetic on 32-bit x86.
#pragma once

#include <array>
#include <cstdint>

namespace mq::imaging {

inline constexpr int kMinAdjustment = -100;
inline constexpr int kMaxAdjustment = 100;

constexpr bool IsValidAdjustment(int value) {
  return value >= kMinAdjustment && value <= kMaxAdjustment;
}

// Level v (0..255) through contrast c and brightness b (both -100..100).
// c < 0 squeezes 0..255 into -c..255+c: t = v / (255 / (2c + 255)) - c, the divisor rounded to single
// precision and the result truncated toward zero.
// c >= 0 stretches the middle: t = 0 for v <= c, 255 for v >= 255 - c, else (v - c) / ((255 - 2c) / 255)
// with the divisor rounded to single precision and the quotient truncated toward zero.
// The result is t + b clamped to 0..255.
int TransferLevel(int v, int contrast, int brightness);

// TransferLevel as a table for one setting.
class LevelTransfer {
 public:
  LevelTransfer(int contrast, int brightness);
  uint8_t operator()(uint8_t v) const { return table_[v]; }
  const std::array<uint8_t, 256>& Table() const { return table_; }

 private:
  std::array<uint8_t, 256> table_;
};

// Gray level of a colour pixel: (299 R + 587 G + 114 B) / 1000, integer division.
constexpr int Luma(int red, int green, int blue) {
  return (299 * red + 587 * green + 114 * blue) / 1000;
}

}  // namespace mq::imaging
