#include "drawing/Raster.h"

#include <bit>
#include <cmath>
#include <cstdlib>

namespace plotane {

DrawingImage::DrawingImage() : store_(std::size_t(kRasterRows) * kRasterRowBytes, 0) {
  for (int r = 0; r < kRasterRows; ++r) rows_[r] = store_.data() + std::size_t(r) * kRasterRowBytes;
}

void DrawingImage::clear() { std::fill(store_.begin(), store_.end(), uint8_t(0)); }

static long popCount(const uint8_t* p, std::size_t n) {
  long total = 0;
  for (std::size_t i = 0; i < n; ++i) total += std::popcount(unsigned(p[i]));
  return total;
}

long DrawingImage::countInk() const { return popCount(store_.data(), store_.size()); }

void MonoBitmap::resize(int width, int height) {
  width_ = width;
  height_ = height;
  bytesPerRow_ = (width + 7) / 8;
  bits_.assign(std::size_t(bytesPerRow_) * height, 0);
}

long MonoBitmap::countInk() const { return popCount(bits_.data(), bits_.size()); }

// Cuts the segment to the rectangle [lo, hiX] x [lo, hiY] (Liang-Barsky); false when nothing is
// left. Keeps the pixel walk short whatever the coordinates.
static bool clipSegment(double& x1, double& y1, double& x2, double& y2, double lo, double hiX,
                        double hiY) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - lo, hiX - x1, y1 - lo, hiY - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
    } else {
      double t = q[i] / p[i];
      if (p[i] < 0) {
        if (t > t1) return false;
        if (t > t0) t0 = t;
      } else {
        if (t < t0) return false;
        if (t < t1) t1 = t;
      }
    }
  }
  double nx1 = x1 + t0 * dx, ny1 = y1 + t0 * dy;
  x2 = x1 + t1 * dx;
  y2 = y1 + t1 * dy;
  x1 = nx1;
  y1 = ny1;
  return true;
}

void MonoBitmap::drawLine(double x1, double y1, double x2, double y2, int penWidth, bool black) {
  if (empty() || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) ||
      !std::isfinite(y2))
    return;
  if (!clipSegment(x1, y1, x2, y2, -34.0, width_ + 33.0, height_ + 33.0)) return;
  int ax = int(std::nearbyint(x1)), ay = int(std::nearbyint(y1));
  const int bx = int(std::nearbyint(x2)), by = int(std::nearbyint(y2));
  const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
  const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
  int err = dx + dy;
  // A square pen; a 2-pixel pen reaches one pixel right and down, as a platform pen does.
  const int pen = penWidth < 1 ? 1 : penWidth > 32 ? 32 : penWidth;
  const int back = (pen - 1) / 2;
  for (;;) {
    for (int i = 0; i < pen; ++i)
      for (int j = 0; j < pen; ++j) setPixel(ay + i - back, ax + j - back, black);
    if (ax == bx && ay == by) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      ax += sx;
    }
    if (e2 <= dx) {
      err += dx;
      ay += sy;
    }
  }
}

}  // namespace plotane
