// Rectangular block copy and move between the cursors, on the raster and on the preview.

#include <cmath>

#include "drawing/Drawing.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"

namespace plotane {

namespace {

int roundClamped(double v, int lo, int hi) {
  if (!(v > lo - 0.5)) return lo;  // also NaN
  if (v > hi) return hi;
  const int r = int(std::nearbyint(v));
  return r < lo ? lo : r > hi ? hi : r;
}

// Copies or moves a width x height block of 1-bit pixels from (srcTop, srcLeft) to
// (dstTop, dstLeft), walking in the direction that never reads a pixel already overwritten.
// Destination pixels outside the bitmap are dropped.
template <class GetRow>
void transferPixels(GetRow rowOf, int rows, int cols, int srcTop, int srcLeft, int dstTop,
                    int dstLeft, int height, int width, bool move, bool orWithDestination) {
  const int dr = dstTop - srcTop, dc = dstLeft - srcLeft;
  const bool up = dr < 0, left = dc < 0;
  for (int i = 0; i < height; ++i) {
    const int sr = up ? srcTop + i : srcTop + height - 1 - i;
    const int tr = sr + dr;
    uint8_t* src = rowOf(sr);
    uint8_t* dst = tr >= 0 && tr < rows ? rowOf(tr) : nullptr;
    for (int j = 0; j < width; ++j) {
      const int sc = left ? srcLeft + j : srcLeft + width - 1 - j;
      const int tc = sc + dc;
      const bool ink = (src[sc >> 3] & kSetMask[sc & 7]) != 0;
      if (move) src[sc >> 3] &= kClearMask[sc & 7];
      if (!dst || tc < 0 || tc >= cols) continue;
      if (ink)
        dst[tc >> 3] |= kSetMask[tc & 7];
      else if (!orWithDestination)
        dst[tc >> 3] &= kClearMask[tc & 7];
    }
  }
}

}  // namespace

bool Drawing::RequirePortrait() {
  wasLandscape_ = false;
  if (!state.LandscapeMode) return true;
  if (host_.ask("Portrait mode is required! Switch?") != Answer::Yes) return false;
  SetPortrait();
  wasLandscape_ = true;
  return true;
}

void Drawing::RestoreOrientation() {
  if (wasLandscape_) {
    wasLandscape_ = false;
    SetLandscape();
  }
}

bool Drawing::DefineBlock() {
  const PageXY a = state.A, b = state.B;
  block_.defined = false;
  const PixelTransform& rt = state.Raster;
  const PixelTransform& pt = state.Preview;
  const MonoBitmap& pv = preview();
  BlockRect k = block_;
  if (b.X - a.X > 0 && b.Y - a.Y > 0) {
    k.left = int16_t(roundClamped((a.X - rt.OffsetX) * rt.ScaleX, 0, kRasterCols - 1));
    k.right = int16_t(roundClamped((b.X - rt.OffsetX) * rt.ScaleX, 0, kRasterCols - 1));
    k.bottom = int16_t(roundClamped((a.Y - rt.OffsetY) * rt.ScaleY, 0, kRasterRows - 1));
    k.top = int16_t(roundClamped((b.Y - rt.OffsetY) * rt.ScaleY, 0, kRasterRows - 1));
    k.pLeft = int16_t(roundClamped((a.X - pt.OffsetX) * pt.ScaleX, 0, pv.width() - 1));
    k.pRight = int16_t(roundClamped((b.X - pt.OffsetX) * pt.ScaleX, 0, pv.width() - 1));
    k.pBottom = int16_t(roundClamped((a.Y - pt.OffsetY) * pt.ScaleY, 0, pv.height() - 1));
    k.pTop = int16_t(roundClamped((b.Y - pt.OffsetY) * pt.ScaleY, 0, pv.height() - 1));
  }
  if (!(b.X - a.X > 0 && b.Y - a.Y > 0) || k.left > k.right || k.top > k.bottom) {
    STOREMSG(host_, "Bad block definition");
    return false;
  }
  k.origin = a;
  k.extent = {b.X - a.X, b.Y - a.Y};
  k.defined = true;
  block_ = k;
  return true;
}

void Drawing::BlockTransfer(bool orWithDestination) {
  if (!block_.defined) return;
  const PageXY a = state.A;
  const BlockRect& k = block_;
  const PixelTransform& rt = state.Raster;
  const PixelTransform& pt = state.Preview;
  // The destination's lower-left corner is the A-cursor; the walk starts at the far corner in
  // the direction of travel, anchored as the block was.
  auto toInt = [](double v) {
    v = std::nearbyint(v);
    return v > 1e6 ? 1000000 : v < -1e6 ? -1000000 : int(v);
  };
  {
    int dstLeft, dstTop;
    if (a.X > k.origin.X)
      dstLeft = toInt((a.X + k.extent.X - rt.OffsetX) * rt.ScaleX) - (k.right - k.left);
    else
      dstLeft = toInt((a.X - rt.OffsetX) * rt.ScaleX);
    if (a.Y > k.origin.Y)
      dstTop = toInt((a.Y + k.extent.Y - rt.OffsetY) * rt.ScaleY);
    else
      dstTop = toInt((a.Y - rt.OffsetY) * rt.ScaleY) - (k.bottom - k.top);
    transferPixels([this](int r) { return image_.row(r); }, kRasterRows, kRasterCols, k.top, k.left,
                   dstTop, dstLeft, k.height(), k.width(), k.move, orWithDestination);
  }
  // Pixels moved about exist only as pixels: the vector twin starts again from them.
  display_.snapshot(image_);
  {
    MonoBitmap& pv = preview();
    const int w = k.pRight - k.pLeft + 1, h = k.pBottom - k.pTop + 1;
    int dstLeft, dstTop;
    if (a.X > k.origin.X)
      dstLeft = toInt((a.X + k.extent.X - pt.OffsetX) * pt.ScaleX) - (w - 1);
    else
      dstLeft = toInt((a.X - pt.OffsetX) * pt.ScaleX);
    if (a.Y > k.origin.Y)
      dstTop = toInt((a.Y + k.extent.Y - pt.OffsetY) * pt.ScaleY);
    else
      dstTop = toInt((a.Y - pt.OffsetY) * pt.ScaleY) - (h - 1);
    transferPixels([&pv](int r) { return pv.row(r); }, pv.height(), pv.width(), k.pTop, k.pLeft,
                   dstTop, dstLeft, h, w, k.move, orWithDestination);
  }
  state.ImageChanged = true;
}

}  // namespace plotane
