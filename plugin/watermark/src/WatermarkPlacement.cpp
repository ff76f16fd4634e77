// Placement of the watermark in the preview box.
#include "watermark/WatermarkPlacement.h"

#include <algorithm>
#include <cstdint>

namespace mq::watermark {

using platform::ui::Picture;

int EffectiveSize(int size, int position) {
  return position == kTiled ? std::max(size, kTiledMinimumSize) : size;
}

Placement Place(int W, int H, int pw, int ph, int size, int position) {
  Placement p;
  p.tiled = position == kTiled;
  const int64_t s = EffectiveSize(size, position);
  if (W <= 0 || H <= 0 || pw <= 0 || ph <= 0 || s <= 0) return p;
  p.targetWidth = static_cast<int>(W * s / 100);
  if (p.targetWidth == 0) return p;
  p.sourceRows = static_cast<int>(std::min<int64_t>(ph, int64_t{pw} * H * 100 / (W * s)));
  p.targetHeight = static_cast<int>(std::min<int64_t>(H, int64_t{p.sourceRows} * p.targetWidth / pw));
  if (p.targetHeight == 0) {
    p.targetWidth = 0;
    return p;
  }
  if (p.tiled) return p;
  const int column = position % 3, row = position / 3;
  p.x = column == 0 ? 0 : column == 1 ? (W - p.targetWidth) / 2 : W - p.targetWidth;
  p.y = row == 0 ? 0 : row == 1 ? (H - p.targetHeight) / 2 : H - p.targetHeight;
  p.sourceFirstRow = row == 0 ? 0 : row == 1 ? (ph - p.sourceRows) / 2 : ph - p.sourceRows;
  return p;
}

namespace {

// One scaled copy with its top left corner at (left, top), cut at the box's edges.
void DrawCopy(Picture& box, const Picture& picture, const Placement& p, int left, int top) {
  for (int j = 0; j < p.targetHeight && top + j < box.Height(); ++j) {
    const int sy = p.sourceFirstRow + static_cast<int>(int64_t{j} * p.sourceRows / p.targetHeight);
    for (int i = 0; i < p.targetWidth && left + i < box.Width(); ++i) {
      const int sx = static_cast<int>(int64_t{i} * picture.Width() / p.targetWidth);
      box.Set(left + i, top + j, picture.At(sx, sy));
    }
  }
}

}  // namespace

Picture PaintPreview(int W, int H, const Picture& picture, int size, int position) {
  Picture box(std::max(W, 0), std::max(H, 0));
  const Placement p = Place(W, H, picture.Width(), picture.Height(), size, position);
  if (p.targetWidth == 0) return box;
  if (!p.tiled) {
    DrawCopy(box, picture, p, p.x, p.y);
    return box;
  }
  for (int top = 0; top < H; top += p.targetHeight)
    for (int left = 0; left < W; left += p.targetWidth) DrawCopy(box, picture, p, left, top);
  return box;
}

}  // namespace mq::watermark
