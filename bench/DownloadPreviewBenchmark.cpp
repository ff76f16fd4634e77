// The Download page's preview on a 1024 x 768 24-bit logo: one slider step, which is one repaint of the
// preview (read the source, convert it with the row's settings, write the intermediate file, draw it into the
// preview picture). The files are in memory, so this is the page's own share of a repaint.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "../tests/pages/TableTexts.h"
#include "imaging/BitmapReader.h"
#include "pages/DownloadPage.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeSpooler.h"

namespace mq::plugin {
namespace {

using namespace download_page;

// Gradients with some noise, like a scanned logo.
std::vector<uint8_t> Logo() {
  constexpr int kWidth = 1024, kHeight = 768;
  const size_t stride = imaging::RowStride(kWidth, 24);
  std::vector<uint8_t> f(imaging::kColourPixelOffset + stride * kHeight, 0);
  auto put32 = [&f](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, static_cast<uint32_t>(f.size()));
  put32(10, imaging::kColourPixelOffset);
  put32(14, imaging::kInfoHeaderSize);
  put32(18, kWidth);
  put32(22, kHeight);
  f[26] = 1;
  f[28] = 24;
  uint32_t noise = 12345;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245u + 12345u;
      uint8_t* p = &f[imaging::kColourPixelOffset + y * stride + 3 * x];
      p[0] = static_cast<uint8_t>(x / 4 + (noise >> 28));
      p[1] = static_cast<uint8_t>(y / 3 + (noise >> 27));
      p[2] = static_cast<uint8_t>((x + y) / 7);
    }
  return f;
}

// modeRadio, then halftoneRadio (0: leave as the mode sets it).
void SliderStep(benchmark::State& state, int modeRadio, int halftoneRadio) {
  platform::CallJournal journal;
  platform::FakeFileSystem files(journal);
  platform::FakeSpooler spooler(journal, true);
  platform::ui::FakeFileDialogs dialogs;
  testing::TableTexts texts;
  DownloadPage logic(texts, {files, spooler, 0, dialogs});
  platform::ui::FakeDialogControls page(journal);
  page.Start(logic);
  files.PutBytes("C:\\logos\\logo.bmp", Logo());
  dialogs.QueueAnswer("C:\\logos\\logo.bmp");
  page.Click(kAdd);
  page.ChooseRow(kLogoList, 0);
  page.Click(modeRadio);
  if (halftoneRadio != 0) page.Click(halftoneRadio);
  int contrast = 0;
  for (auto _ : state) {
    contrast = contrast == 50 ? -50 : contrast + 1;
    page.Slide(kContrast, contrast, false);
    journal.Clear();
  }
}

void BM_PreviewNone(benchmark::State& s) {
  SliderStep(s, kTransformation, kHalftoneNone);
}
void BM_PreviewDitherM3(benchmark::State& s) {
  SliderStep(s, kTransformation, 0);
}
void BM_PreviewDitherM4(benchmark::State& s) {
  SliderStep(s, kTransformation, kDitherM4);
}
void BM_PreviewErrorDiffuse(benchmark::State& s) {
  SliderStep(s, kTransformation, kErrorDiffuse);
}
void BM_PreviewGray(benchmark::State& s) {
  SliderStep(s, kGray, 0);
}
BENCHMARK(BM_PreviewNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewDitherM3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewDitherM4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewErrorDiffuse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewGray)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mq::plugin
