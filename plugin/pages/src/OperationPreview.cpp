// Drawing of the operation previews with a built-in 5 x 8 pixel font, so that the pictures look the same in
// every build and need no font or bitmap resource.
#include "pages/OperationPreview.h"

#include <array>
#include <string_view>

namespace mq::plugin {

using platform::ui::Picture;
using platform::ui::Rgb;

namespace {

// Columns of the table: cut & feed, cut only, feed only, neither.
constexpr std::array<std::array<int, 4>, kOperationMoments> kPictureIds = {{
    {143, 145, 144, 149},  // start of document
    {146, 148, 147, 149},  // start of page
    {140, 142, 141, 139},  // end of page
    {136, 138, 137, 139},  // end of document
}};

struct PictureKind {
  // Where the paper is cut: boundary 0 is before Job 1 Page 1, 1..3 between the pages, 4 after Job 2 Page 2.
  std::array<bool, 5> boundaries{};
  bool cut = false;
  bool feed = false;
};

constexpr std::array<bool, 5> BoundariesOf(int moment) {
  switch (moment) {
    case 0:
      return {true, false, true, false, false};  // before every job
    case 1:
      return {true, true, true, true, false};  // before every page
    case 2:
      return {false, true, true, true, true};  // after every page
    default:
      return {false, false, true, false, true};  // after every job
  }
}

bool KindOf(int pictureId, PictureKind& kind) {
  for (int moment = 0; moment < kOperationMoments; ++moment) {
    for (int column = 0; column < 4; ++column) {
      if (kPictureIds[moment][column] != pictureId) continue;
      kind.boundaries = BoundariesOf(moment);
      kind.cut = column < 2;
      kind.feed = column == 0 || column == 2;
      return true;
    }
  }
  return false;
}

// 5 x 8 glyphs, one string per row, '#' set; the last row is the descender.
struct Glyph {
  char ch;
  std::array<std::string_view, 8> rows;
};

constexpr Glyph kGlyphs[] = {
    {'J', {"..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##..", "....."}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", "....."}},
    {'b', {"#....", "#....", "####.", "#...#", "#...#", "#...#", "####.", "....."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#....", "....."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", "....."}},
    {'g', {".....", ".....", ".####", "#...#", "#...#", ".####", "....#", ".###."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", "....."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", "....."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", "....."}},
};

// Scissors, 7 x 7, opening towards the paper below.
constexpr std::array<std::string_view, 7> kScissors = {
    ".#...#.", "#.#.#.#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.",
};

constexpr Rgb kInk = 0x000000;
constexpr Rgb kJobTwoInk = 0x1F3F9F;
constexpr Rgb kPaperEdge = 0x606060;
constexpr Rgb kPageBreak = 0xC8C8C8;
constexpr Rgb kCutLine = 0xD01010;
constexpr Rgb kFeedArrow = 0x2080D0;
constexpr Rgb kPrinter = 0x505860;

constexpr int kAdvance = 6;       // glyph width and one blank column
constexpr int kSpaceAdvance = 3;  // a narrow space keeps "Page 1" inside a page

int TextWidth(std::string_view text) {
  int width = 0;
  for (char c : text) width += c == ' ' ? kSpaceAdvance : kAdvance;
  return width - 1;
}

void DrawText(Picture& picture, int x, int y, std::string_view text, Rgb colour) {
  for (char c : text) {
    if (c == ' ') {
      x += kSpaceAdvance;
      continue;
    }
    for (const Glyph& glyph : kGlyphs) {
      if (glyph.ch != c) continue;
      for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 5; ++col)
          if (glyph.rows[row][col] == '#') picture.Set(x + col, y + row, colour);
    }
    x += kAdvance;
  }
}

}  // namespace

int PreviewPictureId(OperationMoment moment, bool cut, bool feedToCut) {
  const int column = cut ? (feedToCut ? 0 : 1) : (feedToCut ? 2 : 3);
  return kPictureIds[static_cast<int>(moment) & 3][column];
}

Picture DrawPreviewPicture(int pictureId) {
  PictureKind kind;
  if (!KindOf(pictureId, kind)) return Picture();

  Picture picture(kPreviewWidth, kPreviewHeight);
  constexpr int kPaperTop = 13;
  constexpr int kPaperBottom = 49;
  constexpr int kPageWidth = 34;
  constexpr int kBoundary = 2;
  constexpr int kFeedGap = 6;
  constexpr int kPrinterLeft = 172;

  // The printer on the right; the paper leaves it towards the left, so the first page printed is leftmost.
  picture.FillRect(kPrinterLeft, 6, kPreviewWidth - kPrinterLeft, 50, kPrinter);
  picture.FillRect(kPrinterLeft, kPaperTop + 2, 3, kPaperBottom - kPaperTop - 3,
                   0x202020);  // paper exit slot
  picture.FillRect(0, kPaperTop, kPrinterLeft, 1, kPaperEdge);
  picture.FillRect(0, kPaperBottom, kPrinterLeft, 1, kPaperEdge);

  static constexpr std::string_view kJobs[] = {"Job 1", "Job 1", "Job 2", "Job 2"};
  static constexpr std::string_view kPages[] = {"Page 1", "Page 2", "Page 1", "Page 2"};
  int x = 2;
  for (int boundary = 0; boundary <= 4; ++boundary) {
    const bool here = kind.boundaries[boundary];
    if (kind.feed && here && boundary > 0) {
      // Blank paper fed past the cutter after the last printed line: an arrow along the gap.
      const int mid = (kPaperTop + kPaperBottom) / 2;
      picture.FillRect(x, mid, kFeedGap - 1, 1, kFeedArrow);
      picture.Set(x + kFeedGap - 3, mid - 1, kFeedArrow);
      picture.Set(x + kFeedGap - 3, mid + 1, kFeedArrow);
      picture.Set(x + kFeedGap - 4, mid - 2, kFeedArrow);
      picture.Set(x + kFeedGap - 4, mid + 2, kFeedArrow);
      x += kFeedGap;
    }
    const int line = x;
    if (kind.cut && here) {
      for (int y = 9; y < kPreviewHeight - 1; ++y)
        if (((y - 9) / 3) % 2 == 0) picture.Set(line, y, kCutLine);
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
          if (kScissors[row][col] == '#') picture.Set(line - 3 + col, 1 + row, kInk);
    } else if (boundary > 0 && boundary < 4) {
      picture.FillRect(line, kPaperTop + 1, 1, kPaperBottom - kPaperTop - 1, kPageBreak);
    }
    x += kBoundary;
    if (boundary == 4) break;
    const Rgb ink = boundary < 2 ? kInk : kJobTwoInk;
    DrawText(picture, x + (kPageWidth - TextWidth(kJobs[boundary])) / 2, 18, kJobs[boundary], ink);
    DrawText(picture, x + (kPageWidth - TextWidth(kPages[boundary])) / 2, 31, kPages[boundary], ink);
    x += kPageWidth;
  }
  return picture;
}

}  // namespace mq::plugin
