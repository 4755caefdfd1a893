#include "drawing/Raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace plotane {

// Blocks this large come from the system directly: calloc may hand out reused heap memory that
// it must clear page by page, even for blocks above its usual threshold once it has raised it.
constexpr std::size_t kMappedBytes = 64 * 1024;

PageMemory::PageMemory(std::size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  if (bytes >= kMappedBytes) {
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    data_ = static_cast<uint8_t*>(p);
  } else {
    data_ = static_cast<uint8_t*>(std::calloc(bytes, 1));
    if (!data_) throw std::bad_alloc();
  }
}

PageMemory::PageMemory(const PageMemory& other) : PageMemory(other.size_) {
  if (size_ && !other.white_) {
    std::memcpy(data_, other.data_, size_);
    white_ = false;
  }
}

PageMemory::~PageMemory() {
  if (size_ >= kMappedBytes)
    ::munmap(data_, size_);
  else
    std::free(data_);
}

void PageMemory::clear() {
  if (data_ && !white_) std::memset(data_, 0, size_);
  white_ = true;
}

DrawingImage::DrawingImage() : store_(std::size_t(kRasterRows) * kRasterRowBytes) {}

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
  bits_ = PageMemory(std::size_t(bytesPerRow_) * std::size_t(height));
}

long MonoBitmap::countInk() const { return popCount(bits_.data(), bits_.size()); }

// Cuts the segment to the rectangle [lo, hiX] x [lo, hiY] (Liang-Barsky); false when nothing is
// left. Keeps the pixel walk short whatever the coordinates.
static bool clipSegment(double& x1, double& y1, double& x2, double& y2, double lo, double hiX,
                        double hiY) {
  double t0 = 0, t1 = 1;
  int side0 = -1, side1 = -1;  // the edge each end was cut at, when it was
  const double dx = x2 - x1, dy = y2 - y1;
  if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - lo, hiX - x1, y1 - lo, hiY - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
    } else {
      double t = q[i] / p[i];
      if (p[i] < 0) {
        if (t > t1) return false;
        if (t > t0) t0 = t, side0 = i;
      } else {
        if (t < t0) return false;
        if (t < t1) t1 = t, side1 = i;
      }
    }
  }
  // A cut end is placed on its edge and the other coordinate found from the slope and the
  // original end nearer that edge, not as x1 + t * dx: with ends far outside the bitmap that sum
  // loses every digit that matters inside it.
  const double edges[4] = {lo, hiX, lo, hiY};
  auto cut = [&](int side, double& x, double& y) {
    const double e = edges[side];
    if (side < 2) {
      const bool first = std::fabs(x1 - e) <= std::fabs(x2 - e);
      const double rx = first ? x1 : x2, ry = first ? y1 : y2;
      x = e;
      y = ry + (e - rx) * (dy / dx);
    } else {
      const bool first = std::fabs(y1 - e) <= std::fabs(y2 - e);
      const double rx = first ? x1 : x2, ry = first ? y1 : y2;
      y = e;
      x = rx + (e - ry) * (dx / dy);
    }
  };
  double nx1 = x1, ny1 = y1, nx2 = x2, ny2 = y2;
  if (side0 >= 0) cut(side0, nx1, ny1);
  if (side1 >= 0) cut(side1, nx2, ny2);
  if (!std::isfinite(nx1) || !std::isfinite(ny1) || !std::isfinite(nx2) || !std::isfinite(ny2))
    return false;
  // Rounding may leave a cut end a hair outside; the rectangle bounds every result.
  x1 = std::clamp(nx1, lo, hiX);
  y1 = std::clamp(ny1, lo, hiY);
  x2 = std::clamp(nx2, lo, hiX);
  y2 = std::clamp(ny2, lo, hiY);
  return true;
}

void MonoBitmap::penSquare(int left, int top, int pen, bool black) {
  const int c0 = std::max(left, 0), c1 = std::min(left + pen - 1, width_ - 1);
  const int r0 = std::max(top, 0), r1 = std::min(top + pen - 1, height_ - 1);
  for (int r = r0; r <= r1; ++r) {
    uint8_t* p = row(r);
    for (int c = c0; c <= c1; ++c) {
      if (black)
        p[c >> 3] |= kSetMask[c & 7];
      else
        p[c >> 3] &= kClearMask[c & 7];
    }
  }
}

void MonoBitmap::drawLine(double x1, double y1, double x2, double y2, int penWidth, bool black) {
  if (empty() || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) ||
      !std::isfinite(y2))
    return;
  // Whole-pixel ends inside the clip rectangle come through the clipping unchanged, exactly.
  const double hiX = width_ + 33.0, hiY = height_ + 33.0;
  const bool within = x1 >= -34.0 && x1 <= hiX && x2 >= -34.0 && x2 <= hiX && y1 >= -34.0 &&
                      y1 <= hiY && y2 >= -34.0 && y2 <= hiY;
  const bool whole = x1 == roundHalfEven(x1) && y1 == roundHalfEven(y1) &&
                     x2 == roundHalfEven(x2) && y2 == roundHalfEven(y2);
  if (!(within && whole) && !clipSegment(x1, y1, x2, y2, -34.0, hiX, hiY)) return;
  drawPixelLine(int(roundHalfEven(x1)), int(roundHalfEven(y1)), int(roundHalfEven(x2)),
                int(roundHalfEven(y2)), penWidth, black);
}

void MonoBitmap::drawPixelLine(int ax, int ay, int bx, int by, int penWidth, bool black) {
  if (empty()) return;
  // A square pen; a 2-pixel pen reaches one pixel right and down, as a platform pen does.
  const int pen = penWidth < 1 ? 1 : penWidth > 32 ? 32 : penWidth;
  const int back = (pen - 1) / 2;
  // A one-pixel pen whose whole walk lies inside needs no clipping per pixel.
  if (pen == 1 && std::min(ax, bx) >= 0 && std::max(ax, bx) < width_ && std::min(ay, by) >= 0 &&
      std::max(ay, by) < height_) {
    walkLine(ax, ay, bx, by, [&](int x, int y) {
      uint8_t& b = row(y)[x >> 3];
      b = black ? uint8_t(b | kSetMask[x & 7]) : uint8_t(b & kClearMask[x & 7]);
    });
    return;
  }
  walkLine(ax, ay, bx, by, [&](int x, int y) { penSquare(x - back, y - back, pen, black); });
}

}  // namespace plotane
