// Runs every logo routine over arbitrary bytes and checks what must hold whatever the input: refusals are
// clean, and whatever a conversion produces is itself an accepted bitmap that the matching encoder takes,
// with the record size its header announces. Shared by the fuzz target and the regression test over its
// findings.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "imaging/BitmapReader.h"
#include "imaging/LogoConverter.h"
#include "imaging/LogoRecord.h"

namespace mq::imaging::test {

// Reports a broken invariant and stops: the fuzzer keeps the input as a crash.
inline void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "logo routine check failed: %s\n", what);
    std::abort();
  }
}

inline void CheckRecordSize(const std::vector<uint8_t>& record, size_t headerSize, size_t multiplier) {
  Require(record.size() >= headerSize, "record shorter than its header");
  size_t first = record[headerSize - 4] | (record[headerSize - 3] << 8);
  size_t second = record[headerSize - 2] | (record[headerSize - 1] << 8);
  Require(record.size() == headerSize + first * second * multiplier, "record size differs from its header");
}

inline void CheckLogoRoutines(std::span<const uint8_t> bytes) {
  // The settings come from the input too, so that they vary with it.
  int contrast = bytes.size() > 2 ? bytes[bytes.size() - 1] % 201 - 100 : 0;
  int brightness = bytes.size() > 2 ? bytes[bytes.size() - 2] % 201 - 100 : 0;

  Bitmap source;
  Status read = ReadBitmap(bytes, &source);
  if (read == Status::kOk) {
    Require(
        source.width >= 1 && source.width <= kMaxWidth && source.height >= 1 && source.height <= kMaxHeight,
        "accepted size out of range");
    Require(PixelOffset(source.bitsPerPixel) + source.stride * source.height <= bytes.size(),
            "accepted pixels beyond the input");
  }

  std::vector<uint8_t> gray, record;
  Status grayStatus = MakeGrayBitmap(bytes, contrast, brightness, &gray);
  Require((grayStatus == Status::kOk) == (read == Status::kOk), "gray accepts what the reader refuses");
  if (grayStatus == Status::kOk) {
    Bitmap out;
    Require(ReadBitmap(gray, &out) == Status::kOk && out.bitsPerPixel == 8 && out.width == source.width &&
                out.height == source.height,
            "gray intermediate not readable");
    Require(EncodeGrayLogo(gray, &record) == Status::kOk, "gray record refused");
    CheckRecordSize(record, 6, 8);
  }

  for (int halftone = 0; halftone < 4; ++halftone) {
    std::vector<uint8_t> mono;
    Status monoStatus = MakeMonoBitmap(bytes, static_cast<Halftone>(halftone), contrast, brightness, &mono);
    Require((monoStatus == Status::kOk) == (read == Status::kOk && source.bitsPerPixel != 1),
            "mono accepts what it must refuse");
    if (monoStatus != Status::kOk) continue;
    Require(EncodeMonoLogo(mono, &record) == Status::kOk, "mono record refused");
    CheckRecordSize(record, 4, 8);
  }

  Status monoRecord = EncodeMonoLogo(bytes, &record);
  if (monoRecord == Status::kOk) CheckRecordSize(record, 4, 8);
  Status grayRecord = EncodeGrayLogo(bytes, &record);
  if (grayRecord == Status::kOk) CheckRecordSize(record, 6, 8);
}

}  // namespace mq::imaging::test
