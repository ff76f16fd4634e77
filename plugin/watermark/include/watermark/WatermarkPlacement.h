// Where the watermark goes in the preview box: nine anchor points (left, centre, right by top, middle,
// bottom) or tiled, at a size in percent of the box's width, with integer arithmetic throughout so that the
// page and the Linux tool paint the same pixels.
#pragma once

#include "platform/ui/Picture.h"

namespace mq::watermark {

// Positions as the record keeps them: 0..8 anchor points row by row from the top left, 9 tiled.
inline constexpr int kPositionCount = 10;
inline constexpr int kTiled = 9;
// The least size a tiled watermark has, in percent.
inline constexpr int kTiledMinimumSize = 20;

// The size that applies at a position: a tiled watermark is at least kTiledMinimumSize.
int EffectiveSize(int size, int position);

struct Placement {
  int targetWidth = 0;     // width of one scaled copy of the picture
  int targetHeight = 0;    // height of one scaled copy
  int sourceFirstRow = 0;  // the first picture row used, counted from the top
  int sourceRows = 0;      // how many picture rows the copy shows
  int x = 0, y = 0;        // the copy's top left corner in the box (positions 0..8)
  bool tiled = false;
};

// The placement of a pw x ph picture in a W x H box. The target width is W * s / 100; the rows used are the
// lesser of ph and pw * H * 100 / (W * s), and the target height is those rows at the same scale, at most H.
// A middle or bottom position takes its rows from the middle or the bottom of the picture. Size 0, an empty
// box or an empty picture give a placement of width 0 (nothing drawn).
Placement Place(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight, int size, int position);

// The box as the preview shows it: white, with the picture drawn (nearest pixel) where the placement puts
// it; tiled copies repeat from the top left corner, the last column and row cut to fit.
platform::ui::Picture PaintPreview(int boxWidth, int boxHeight, const platform::ui::Picture& picture,
                                   int size, int position);

}  // namespace mq::watermark
