// Digests of every conversion and encoder over generated pictures. The table was taken from the native build;
// the Windows test program checks the same table under Wine, so both builds are shown to give the same bytes
// for every single-precision step (contrast, Dither M4's spread) and every halftone.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestBitmaps.h"
#include "imaging/LogoConverter.h"
#include "imaging/LogoRecord.h"

namespace mq::imaging {
namespace {

uint64_t Fnv1a(const std::vector<uint8_t>& bytes, uint64_t hash = 0xcbf29ce484222325ull) {
  for (uint8_t b : bytes) {
    hash ^= b;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

// Deterministic pictures mixing gradients and noise, so that means, thresholds and errors vary.
uint32_t Noise(int x, int y, int salt) {
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
               static_cast<uint32_t>(salt) * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  return h ^ (h >> 15);
}

std::vector<uint8_t> Picture(int bits, int width, int height) {
  switch (bits) {
    case 24:
      return test::Colour24(width, height, [&](int x, int y) {
        return test::Colour{static_cast<uint8_t>(x * 255 / width), static_cast<uint8_t>(Noise(x, y, 1)),
                            static_cast<uint8_t>((y * 255 / height + (Noise(x, y, 2) & 63)) & 255)};
      });
    case 8:
      return test::Gray8(width, height, [&](int x, int y) {
        return static_cast<uint8_t>((x + y) * 255 / (width + height) + (Noise(x, y, 3) & 31));
      });
    default:
      return test::Mono1(width, height, 0xFFFFFF, 0, [&](int x, int y) { return (Noise(x, y, 4) & 3) == 0; });
  }
}

struct Setting {
  int contrast, brightness;
};
const Setting kSettings[] = {{0, 0}, {-100, 0}, {-73, 25}, {-50, -10}, {-1, -1},
                             {1, 0}, {37, -12}, {64, 64},  {99, 100},  {100, -100}};

struct Golden {
  const char* name;
  uint64_t digest;
};

// name: depth x width x height, then the output.
const Golden kGolden[] = {
    {"24x37x23 gray", 0xd4079fa5e88953d5ull},       {"24x37x23 gray record", 0x8fb237ee1f544281ull},
    {"24x37x23 halftone 0", 0x9c6ad223628c5b2aull}, {"24x37x23 halftone 0 record", 0x7fc8ed2de3fefdcdull},
    {"24x37x23 halftone 1", 0x2a8b5aede6d7e734ull}, {"24x37x23 halftone 1 record", 0x1f264ae176512a5bull},
    {"24x37x23 halftone 2", 0x7f358bbe9412a284ull}, {"24x37x23 halftone 2 record", 0xfaaf75940842e9f2ull},
    {"24x37x23 halftone 3", 0x0741c4aca7814ae2ull}, {"24x37x23 halftone 3 record", 0x9d36a45040d2cd8aull},
    {"24x64x16 gray", 0xfcf26714c8487c93ull},       {"24x64x16 gray record", 0xe4f66fd375710e2cull},
    {"24x64x16 halftone 0", 0xaa4e8edee525dcfcull}, {"24x64x16 halftone 0 record", 0xdf463a1929674ff2ull},
    {"24x64x16 halftone 1", 0x4f440cb723116f0dull}, {"24x64x16 halftone 1 record", 0xdff8b3ac2ec73d8full},
    {"24x64x16 halftone 2", 0x37ddc51733822562ull}, {"24x64x16 halftone 2 record", 0x0402f29cc614607aull},
    {"24x64x16 halftone 3", 0xd7c874beac520e1dull}, {"24x64x16 halftone 3 record", 0x6ac9389bf8a0ad93ull},
    {"8x37x23 gray", 0xed1920e4bc953f21ull},        {"8x37x23 gray record", 0x6638ecca20589c74ull},
    {"8x37x23 halftone 0", 0x8e397dbd476ef2abull},  {"8x37x23 halftone 0 record", 0x73f59e5f5b1ab803ull},
    {"8x37x23 halftone 1", 0x4be0f01e647b3721ull},  {"8x37x23 halftone 1 record", 0x3ca736ecc4f85d32ull},
    {"8x37x23 halftone 2", 0x0651490de78614fdull},  {"8x37x23 halftone 2 record", 0x86dc92ef9acb4baaull},
    {"8x37x23 halftone 3", 0x34312ec67ea72801ull},  {"8x37x23 halftone 3 record", 0x51b2ed9e54aecc2bull},
    {"8x64x16 gray", 0x0a485146e6de193cull},        {"8x64x16 gray record", 0x116eb2bc39721472ull},
    {"8x64x16 halftone 0", 0x844e8aa3d45da8a2ull},  {"8x64x16 halftone 0 record", 0x41faf7aadf82393eull},
    {"8x64x16 halftone 1", 0x4723dfa95a584780ull},  {"8x64x16 halftone 1 record", 0xd451ca14ce254a02ull},
    {"8x64x16 halftone 2", 0x3c069ecd0a01ede8ull},  {"8x64x16 halftone 2 record", 0x70bbb588aa770ccbull},
    {"8x64x16 halftone 3", 0x1ebdb82f3ef076a0ull},  {"8x64x16 halftone 3 record", 0x7602d6c240dd80aeull},
    {"1x37x23 gray", 0x466043ddd269d6b3ull},        {"1x37x23 gray record", 0x3efcbcab81cfe515ull},
    {"1x37x23 mono record", 0x98aea8e2934e122aull}, {"1x64x16 gray", 0xfc93e46f85d86481ull},
    {"1x64x16 gray record", 0x1ec90d2f8a81fb89ull}, {"1x64x16 mono record", 0xaee852fc6052f59dull},
};

std::vector<Golden> Compute() {
  std::vector<Golden> out;
  static std::vector<std::string> names;  // keeps the name texts alive
  names.clear();
  names.reserve(64);
  for (int bits : {24, 8, 1}) {
    for (auto [width, height] : {std::pair{37, 23}, std::pair{64, 16}}) {
      std::vector<uint8_t> source = Picture(bits, width, height);
      std::string base = std::to_string(bits) + "x" + std::to_string(width) + "x" + std::to_string(height);
      uint64_t gray = 0xcbf29ce484222325ull, grayRecord = gray;
      for (const Setting& s : kSettings) {
        std::vector<uint8_t> file, record;
        EXPECT_EQ(MakeGrayBitmap(source, s.contrast, s.brightness, &file), Status::kOk);
        EXPECT_EQ(EncodeGrayLogo(file, &record), Status::kOk);
        gray = Fnv1a(file, gray);
        grayRecord = Fnv1a(record, grayRecord);
      }
      names.push_back(base + " gray");
      out.push_back({names.back().c_str(), gray});
      names.push_back(base + " gray record");
      out.push_back({names.back().c_str(), grayRecord});
      if (bits == 1) {
        std::vector<uint8_t> record;
        EXPECT_EQ(EncodeMonoLogo(source, &record), Status::kOk);
        names.push_back(base + " mono record");
        out.push_back({names.back().c_str(), Fnv1a(record)});
        continue;
      }
      for (int halftone = 0; halftone < 4; ++halftone) {
        uint64_t mono = 0xcbf29ce484222325ull, monoRecord = mono;
        for (const Setting& s : kSettings) {
          std::vector<uint8_t> file, record;
          EXPECT_EQ(MakeMonoBitmap(source, static_cast<Halftone>(halftone), s.contrast, s.brightness, &file),
                    Status::kOk);
          EXPECT_EQ(EncodeMonoLogo(file, &record), Status::kOk);
          mono = Fnv1a(file, mono);
          monoRecord = Fnv1a(record, monoRecord);
        }
        names.push_back(base + " halftone " + std::to_string(halftone));
        out.push_back({names.back().c_str(), mono});
        names.push_back(base + " halftone " + std::to_string(halftone) + " record");
        out.push_back({names.back().c_str(), monoRecord});
      }
    }
  }
  return out;
}

TEST(GoldenDigestTest, EveryOutputMatchesTheTable) {
  std::vector<Golden> computed = Compute();
  if (const char* print = std::getenv("MQ_PRINT_GOLDEN"); print && *print) {
    for (const Golden& g : computed)
      std::printf("    {\"%s\", 0x%016llxull},\n", g.name, static_cast<unsigned long long>(g.digest));
  }
  ASSERT_EQ(computed.size(), std::size(kGolden));
  for (size_t i = 0; i < computed.size(); ++i) {
    EXPECT_STREQ(computed[i].name, kGolden[i].name);
    EXPECT_EQ(computed[i].digest, kGolden[i].digest) << computed[i].name;
  }
}

}  // namespace
}  // namespace mq::imaging
