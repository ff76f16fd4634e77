// Bounded little-endian reads from a file held in memory, for the readers of binary formats (PE images, ZIP
// archives): a read that would pass the end of the bytes fails instead.
#pragma once

#include <cstdint>
#include <span>

namespace mq::tool {

class LittleEndian {
 public:
  explicit LittleEndian(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool U16(uint64_t at, uint32_t* v) const {
    if (at > bytes_.size() || bytes_.size() - at < 2) return false;
    *v = bytes_[at] | (bytes_[at + 1] << 8);
    return true;
  }
  bool U32(uint64_t at, uint32_t* v) const {
    if (at > bytes_.size() || bytes_.size() - at < 4) return false;
    *v = static_cast<uint32_t>(bytes_[at]) | (bytes_[at + 1] << 8) | (bytes_[at + 2] << 16) |
         (static_cast<uint32_t>(bytes_[at + 3]) << 24);
    return true;
  }
  std::span<const uint8_t> bytes() const { return bytes_; }

 private:
  std::span<const uint8_t> bytes_;
};

}  // namespace mq::tool
