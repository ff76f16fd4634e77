// Logo conversion and encoding on a 1024 x 768 24-bit picture, beside a plain single pass that reads the same
// pixels and writes a 1-bit threshold of them (the floor any conversion has to pay).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/BitmapReader.h"
#include "imaging/LogoConverter.h"
#include "imaging/LogoRecord.h"

namespace mq::imaging {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kContrast = 20;
constexpr int kBrightness = -10;

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Smooth gradients with some noise, like a scanned logo or photo.
const std::vector<uint8_t>& Picture() {
  static const std::vector<uint8_t> file = [] {
    size_t stride = RowStride(kWidth, 24);
    std::vector<uint8_t> f(kColourPixelOffset + stride * kHeight, 0);
    f[0] = 'B';
    f[1] = 'M';
    Put32(&f[2], static_cast<uint32_t>(f.size()));
    Put32(&f[10], kColourPixelOffset);
    Put32(&f[14], kInfoHeaderSize);
    Put32(&f[18], kWidth);
    Put32(&f[22], kHeight);
    f[26] = 1;
    f[28] = 24;
    uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* row = &f[kColourPixelOffset + y * stride];
      for (int x = 0; x < kWidth; ++x) {
        noise = noise * 1103515245u + 12345u;
        int n = static_cast<int>((noise >> 16) & 31) - 16;
        row[3 * x] = static_cast<uint8_t>(std::clamp(x / 4 + n, 0, 255));
        row[3 * x + 1] = static_cast<uint8_t>(std::clamp(y / 3 + n, 0, 255));
        row[3 * x + 2] = static_cast<uint8_t>(std::clamp((x + y) / 7 + n, 0, 255));
      }
    }
    return f;
  }();
  return file;
}

// The floor: one pass over the 24-bit pixels, luma against a fixed threshold, bits packed into 1-bit rows.
void BM_PlainThresholdPass(benchmark::State& state) {
  const std::vector<uint8_t>& file = Picture();
  size_t inStride = RowStride(kWidth, 24), outStride = RowStride(kWidth, 1);
  std::vector<uint8_t> out(outStride * kHeight);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      const uint8_t* in = &file[kColourPixelOffset + y * inStride];
      uint8_t* bits = &out[y * outStride];
      std::memset(bits, 0, outStride);
      for (int x = 0; x < kWidth; ++x, in += 3) {
        int luma = (114 * in[0] + 587 * in[1] + 299 * in[2]) / 1000;
        if (luma >= 128) bits[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      }
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainThresholdPass)->Unit(benchmark::kMicrosecond);

void BM_Gray(benchmark::State& state) {
  std::vector<uint8_t> gray;
  for (auto _ : state) {
    MakeGrayBitmap(Picture(), kContrast, kBrightness, &gray);
    benchmark::DoNotOptimize(gray.data());
  }
}
BENCHMARK(BM_Gray)->Unit(benchmark::kMicrosecond);

void BM_GrayAndRecord(benchmark::State& state) {
  std::vector<uint8_t> gray, record;
  for (auto _ : state) {
    MakeGrayBitmap(Picture(), kContrast, kBrightness, &gray);
    EncodeGrayLogo(gray, &record);
    benchmark::DoNotOptimize(record.data());
  }
}
BENCHMARK(BM_GrayAndRecord)->Unit(benchmark::kMicrosecond);

// Argument: halftone 0 None, 1 Dither M3, 2 Dither M4, 3 Error Diffuse.
void BM_Mono(benchmark::State& state) {
  std::vector<uint8_t> mono;
  auto halftone = static_cast<Halftone>(state.range(0));
  for (auto _ : state) {
    MakeMonoBitmap(Picture(), halftone, kContrast, kBrightness, &mono);
    benchmark::DoNotOptimize(mono.data());
  }
}
BENCHMARK(BM_Mono)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_MonoAndRecord(benchmark::State& state) {
  std::vector<uint8_t> mono, record;
  auto halftone = static_cast<Halftone>(state.range(0));
  for (auto _ : state) {
    MakeMonoBitmap(Picture(), halftone, kContrast, kBrightness, &mono);
    EncodeMonoLogo(mono, &record);
    benchmark::DoNotOptimize(record.data());
  }
}
BENCHMARK(BM_MonoAndRecord)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_EncodeMono(benchmark::State& state) {
  std::vector<uint8_t> mono, record;
  MakeMonoBitmap(Picture(), Halftone::kDitherM3, 0, 0, &mono);
  for (auto _ : state) {
    EncodeMonoLogo(mono, &record);
    benchmark::DoNotOptimize(record.data());
  }
}
BENCHMARK(BM_EncodeMono)->Unit(benchmark::kMicrosecond);

void BM_EncodeGray(benchmark::State& state) {
  std::vector<uint8_t> gray, record;
  MakeGrayBitmap(Picture(), 0, 0, &gray);
  for (auto _ : state) {
    EncodeGrayLogo(gray, &record);
    benchmark::DoNotOptimize(record.data());
  }
}
BENCHMARK(BM_EncodeGray)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mq::imaging
