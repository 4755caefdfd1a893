#include "drawing/DisplayList.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "drawing/Raster.h"

namespace plotane {

namespace {

// The frame kept: the portrait page (8 x 10 inches) and an inch around it. Strokes reaching
// farther are cut at its edge, which no cap reaches back across.
constexpr double kLo = -1, kHiX = 9, kHiY = 11;

// Cuts the segment a-b to the kept frame (Liang-Barsky); false when nothing of it lies there.
bool clipToFrame(double& ax, double& ay, double& bx, double& by) {
  double t0 = 0, t1 = 1;
  const double dx = bx - ax, dy = by - ay;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {ax - kLo, kHiX - ax, ay - kLo, kHiY - ay};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  if (t1 < 1) {
    bx = ax + t1 * dx;
    by = ay + t1 * dy;
  }
  if (t0 > 0) {
    ax = ax + t0 * dx;
    ay = ay + t0 * dy;
  }
  return true;
}

bool same(FramePoint a, FramePoint b) { return a.x == b.x && a.y == b.y; }

bool finiteWidth(float w) { return std::isfinite(w) && w >= 0 && w < 100; }

}  // namespace

void DisplayList::clear() {
  items_.clear();
  points_.clear();
  images_.clear();
  overflowed_ = false;
}

bool DisplayList::room(std::size_t n) {
  if (overflowed_) return false;
  if (points_.size() + n <= maxPoints_ && items_.size() < maxItems_) return true;
  items_ = {};
  points_ = {};
  images_ = {};
  overflowed_ = true;
  return false;
}

void DisplayList::segment(bool ink, FramePoint a, FramePoint b, float width) {
  if (!finiteWidth(width)) return;
  // Within the kept frame (NaN fails these tests too) nothing is cut.
  if (!(a.x >= kLo && a.x <= kHiX && a.y >= kLo && a.y <= kHiY && b.x >= kLo && b.x <= kHiX &&
        b.y >= kLo && b.y <= kHiY)) {
    double ax = a.x, ay = a.y, bx = b.x, by = b.y;
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by))
      return;
    if (!clipToFrame(ax, ay, bx, by)) return;
    a = {float(ax), float(ay)};
    b = {float(bx), float(by)};
  }
  if (!items_.empty()) {
    DisplayItem& last = items_.back();
    if (last.kind == DisplayItem::Polyline && last.ink == ink && last.width == width &&
        last.first + last.count == points_.size()) {
      // A lone segment may be turned round to continue from its start.
      FramePoint& start = points_[last.first];
      if (last.count == 2 && !same(points_.back(), a) && !same(points_.back(), b) &&
          (same(start, a) || same(start, b)))
        std::swap(start, points_.back());
      const FramePoint end = points_.back();
      if (same(end, a) || same(end, b)) {
        if (!room(1)) return;
        points_.push_back(same(end, a) ? b : a);
        ++last.count;
        return;
      }
    }
  }
  if (!room(2)) return;
  DisplayItem item;
  item.kind = DisplayItem::Polyline;
  item.ink = ink;
  item.width = width;
  item.first = uint32_t(points_.size());
  item.count = 2;
  points_.push_back(a);
  points_.push_back(b);
  items_.push_back(item);
}

void DisplayList::arc(bool ink, FramePoint centre, float r, float a0, float a1, float width) {
  if (!finiteWidth(width) || !std::isfinite(centre.x) || !std::isfinite(centre.y) ||
      !std::isfinite(a0) || !std::isfinite(a1) || !(r > 0 && r < 100) ||
      std::fabs(centre.x) > 200 || std::fabs(centre.y) > 200 || !room(3))
    return;
  DisplayItem item;
  item.kind = DisplayItem::Circle;
  item.ink = ink;
  item.width = width;
  item.first = uint32_t(points_.size());
  item.count = 3;
  points_.push_back(centre);
  points_.push_back({r, a0});
  points_.push_back({a1, 0});
  items_.push_back(item);
}

void DisplayList::disc(bool ink, FramePoint centre, float r, float edgeWidth) {
  const std::size_t n = items_.size();
  arc(ink, centre, r, 0, float(-2 * 3.14159265358979323846), edgeWidth);
  if (items_.size() > n) items_.back().filled = true;
}

void DisplayList::polygon(bool ink, const FramePoint* corners, int n, float edgeWidth) {
  if (n < 2 || !finiteWidth(edgeWidth)) return;
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(corners[i].x) || !std::isfinite(corners[i].y) ||
        std::fabs(corners[i].x) > 200 || std::fabs(corners[i].y) > 200)
      return;
  if (!room(std::size_t(n))) return;
  DisplayItem item;
  item.kind = DisplayItem::Polygon;
  item.ink = ink;
  item.width = edgeWidth;
  item.first = uint32_t(points_.size());
  item.count = uint32_t(n);
  points_.insert(points_.end(), corners, corners + n);
  items_.push_back(item);
}

void DisplayList::image(bool ink, DisplayImage image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.bits.size() != std::size_t(image.bytesPerRow()) * std::size_t(image.height) ||
      !room(std::size_t(image.bits.size() / 8)))
    return;
  DisplayItem item;
  item.kind = DisplayItem::Image;
  item.ink = ink;
  item.first = uint32_t(images_.size());
  item.count = 1;
  images_.push_back(std::move(image));
  items_.push_back(item);
}

void DisplayList::snapshot(const DrawingImage& raster) {
  clear();
  DisplayImage page;
  page.width = kRasterCols;
  page.height = kRasterRows;
  page.opaque = true;
  page.bits.resize(std::size_t(kRasterRows) * kRasterRowBytes);
  for (int r = 0; r < kRasterRows; ++r)
    std::memcpy(page.bits.data() + std::size_t(r) * kRasterRowBytes, raster.row(r),
                kRasterRowBytes);
  image(true, std::move(page));
}

}  // namespace plotane
