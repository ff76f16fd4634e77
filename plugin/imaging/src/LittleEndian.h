// Little-endian field access for the bitmap headers and the logo records.
#pragma once

#include <cstdint>
#include <vector>

namespace mq::imaging {

inline uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(ReadU32(p));
}

inline void PutU16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  PutU16(p, v);
  PutU16(p + 2, v >> 16);
}

}  // namespace mq::imaging
