// Solid symbols, filled circles and nodes: the rings of a fill laid down with as little work as
// leaves exactly DrawLine's pixels, and the completion that sets every pixel inside the outline.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"
#include "drawing/RingMask.h"
#include "drawing/ShapeGeometry.h"

namespace plotane {

using namespace shapes;

namespace {

// Bytes with their bit order reversed: the preview keeps its leftmost pixel in the top bit, the
// fills' local rows in the lowest.
constexpr std::array<uint8_t, 256> kReversedBits = [] {
  std::array<uint8_t, 256> t{};
  for (int v = 0; v < 256; ++v) {
    int r = 0;
    for (int k = 0; k < 8; ++k)
      if (v & (1 << k)) r |= 0x80 >> k;
    t[v] = uint8_t(r);
  }
  return t;
}();

// A convex region of the raster, the half-planes a x + b y <= c (x a column, y a row) within a
// box of rows and columns, that holds every pixel a ring of a fill can ink: tighter than the
// ring's box, so that inner rings lying on ink already are recognised as such.
class InkRegion {
 public:
  explicit InkRegion(const std::array<double, 4>& ink) : box_(ink) {}

  void add(double a, double b, double c) {
    if (a == 0) {
      if (b > 0) box_[3] = std::min(box_[3], c / b);
      if (b < 0) box_[2] = std::max(box_[2], c / b);
      return;
    }
    // The column bound p + q y on a row y: an upper bound when a > 0, else a lower one.
    Bound& bound = a > 0 ? upper_[uppers_++] : lower_[lowers_++];
    bound = {c / a, -b / a};
  }

  // The side of a convex polygon from (x1, y1) to (x2, y2), pushed out by e; (cx, cy) lies
  // inside the polygon.
  void addSide(double x1, double y1, double x2, double y2, double cx, double cy, double e) {
    double a = y2 - y1, b = x1 - x2;
    const double len = std::sqrt(a * a + b * b);
    if (!(len > 0)) return;
    a /= len;
    b /= len;
    if (a * (cx - x1) + b * (cy - y1) > 0) a = -a, b = -b;
    add(a, b, a * x1 + b * y1 + e);
  }

  // Calls row(r, c0, c1) for the whole pixels of every row of the region, until it returns
  // false; true when none did.
  template <class Row>
  bool eachRow(Row&& row) const {
    // Whole pixels inside: the box lies well within int's range.
    const auto up = [](double v) {
      const int i = int(v);
      return i < v ? i + 1 : i;
    };
    const auto down = [](double v) {
      const int i = int(v);
      return i > v ? i - 1 : i;
    };
    if (!(box_[2] <= box_[3])) return true;
    const int r0 = up(box_[2]), r1 = down(box_[3]);
    for (int r = r0; r <= r1; ++r) {
      double lo = box_[0], hi = box_[1];
      for (int i = 0; i < uppers_; ++i) hi = std::min(hi, upper_[i].p + upper_[i].q * r);
      for (int i = 0; i < lowers_; ++i) lo = std::max(lo, lower_[i].p + lower_[i].q * r);
      if (!(lo <= hi)) continue;
      const int c0 = up(lo), c1 = down(hi);
      if (c0 <= c1 && !row(r, c0, c1)) return false;
    }
    return true;
  }

 private:
  struct Bound {
    double p, q;
  };
  std::array<double, 4> box_;  // {cLo, cHi, rLo, rHi}
  int uppers_ = 0, lowers_ = 0;
  Bound upper_[8], lower_[8];
};

// The figure a ring's segment ends lie on (page inches): a circle about v[0] of radius r
// (corners 1), or the corners v of a convex polygon in order round it (corners 3 or 4); none
// (corners 0) when only the box is known.
struct RingShape {
  int corners = 0;
  std::array<double, 2> v[4];
  double r = 0;

  // Adds to region the half-planes that hold every pixel within e of the figure, mapped to
  // pixels by map(X, Y, x, y), where a page inch is at most scale pixels; false when they
  // cannot be found.
  template <class Map>
  bool region(InkRegion& region, double scale, double e, Map map) const {
    e += 1e-6;  // rounding in the mapping
    if (corners == 1) {
      // The octagon around the circle widened by e.
      double cx, cy;
      map(v[0][0], v[0][1], cx, cy);
      const double D = std::sqrt(2.0) * (r * scale * (1 + 1e-12) + e);
      if (!std::isfinite(cx + cy + D)) return false;
      region.add(1, 1, cx + cy + D);
      region.add(1, -1, cx - cy + D);
      region.add(-1, 1, cy - cx + D);
      region.add(-1, -1, -cx - cy + D);
      return true;
    }
    if (corners < 3) return false;
    double p[4][2], cx = 0, cy = 0;
    for (int i = 0; i < corners; ++i) {
      map(v[i][0], v[i][1], p[i][0], p[i][1]);
      cx += p[i][0] / corners;
      cy += p[i][1] / corners;
    }
    if (!std::isfinite(cx) || !std::isfinite(cy)) return false;
    for (int i = 0; i < corners; ++i) {
      const int j = (i + 1) % corners;
      region.addSide(p[i][0], p[i][1], p[j][0], p[j][1], cx, cy, e);
    }
    return true;
  }
};

// Lays down the segments of one solid fill, all with the same pen, leaving exactly the pixels
// DrawLine would leave, with less work: drawing in one colour only ever adds that colour, so a
// segment whose reach is already all of that colour cannot change a pixel and is passed over (a
// whole ring at once where its box is settled, else segment by segment), and a preview segment
// equal to one of the last few is not drawn again (the rings lie a fraction of a preview pixel
// apart, so most of them round to the preview segment of the same side of the ring before).
class FillPainter {
 public:
  // box holds every segment end of the fill, {Xlo, Xhi, Ylo, Yhi} in page inches; ink, when
  // given, bounds all its ink in raster pixels, {cLo, cHi, rLo, rHi}, and lets the fill be laid
  // in a window of the raster.
  FillPainter(Drawing& d, const std::array<double, 4>& box, const std::array<double, 4>* ink)
      : d_(d),
        window_(d, d.state.PenDraw),
        pv_(d.preview()),
        draw_(d.state.PenDraw),
        echo_(d.state.PreviewEcho),
        pen_(d.state.PreviewPenWidth) {
    if (ink) window_.open((*ink)[0], (*ink)[1], (*ink)[2], (*ink)[3]);
    if (echo_) setUpLocal(box);
  }
  FillPainter(const FillPainter&) = delete;
  FillPainter& operator=(const FillPainter&) = delete;

  // Ends the fill: the window and the gathered preview pixels go to the page. False, with
  // neither laid, when the window could not hold the fill; it must then be painted again
  // without one.
  bool finish() {
    if (window_.isOpen() && !window_.close()) return false;
    if (local_) applyLocal();
    return true;
  }

  void line(double X1, double Y1, double X2, double Y2, double width) {
    bool laid;
    if (rasterDone_)
      laid = d_.state.ImageChanged = true;  // as laying it would
    else
      laid = window_.isOpen() ? window_.segment(X1, Y1, X2, Y2, width)
                              : rasteriseSegment(d_, draw_, X1, Y1, X2, Y2, width, true);
    if (!laid || !echo_ || previewDone_) return;
    double p[4];
    previewSegment(d_, X1, Y1, X2, Y2, p);
    if (local_) {
      // The ends lie within the fill's preview box (rounding keeps their order), so the walk
      // and the pen stay inside the local rows.
      const int pen = penClamped(), x0 = left_ + back(), y0 = top_ + back();
      const uint64_t penBits = (uint64_t(1) << pen) - 1;
      if (pen == 1)
        walkLine(int(p[0]), int(p[1]), int(p[2]), int(p[3]),
                 [&](int x, int y) { local_rows_[y - y0] |= uint64_t(1) << (x - x0); });
      else
        walkLine(int(p[0]), int(p[1]), int(p[2]), int(p[3]), [&](int x, int y) {
          for (int i = 0; i < pen; ++i) local_rows_[y - y0 + i] |= penBits << (x - x0);
        });
      return;
    }
    // Whole ends near the bitmap (always, for a symbol on the page) go straight to the pixel
    // walk, after the comparison with the last few.
    const double loLimit = -34, hiX = pv_.width() + 33.0, hiY = pv_.height() + 33.0;
    if (!(p[0] >= loLimit && p[0] <= hiX && p[2] >= loLimit && p[2] <= hiX && p[1] >= loLimit &&
          p[1] <= hiY && p[3] >= loLimit && p[3] <= hiY)) {
      pv_.drawLine(p[0], p[1], p[2], p[3], pen_, draw_);
      return;
    }
    const int ax = int(p[0]), ay = int(p[1]), bx = int(p[2]), by = int(p[3]);
    if (previewSettled(ax, ay, bx, by)) return;
    const uint64_t key = uint64_t(uint16_t(ax)) << 48 | uint64_t(uint16_t(ay)) << 32 |
                         uint64_t(uint16_t(bx)) << 16 | uint16_t(by);
    for (int i = 0; i < filled_; ++i)
      if (recent_[i] == key) return;
    recent_[next_] = key;
    next_ = (next_ + 1) % kRecent;
    if (filled_ < kRecent) ++filled_;
    pv_.drawPixelLine(ax, ay, bx, by, pen_, draw_);
  }

  void outline(int shape, double X, double Y, double r, double width) {
    // Squares fill their box; diamonds and triangles are bounded by their sides, whose corners
    // are the ends forOutlineSegments gives, in order round the shape.
    RingShape figure;
    if (shape == 5) {
      const double d = 1.414213562 * r;
      figure.corners = 4;
      figure.v[0] = {X - d, Y};
      figure.v[1] = {X, Y + d};
      figure.v[2] = {X + d, Y};
      figure.v[3] = {X, Y - d};
    } else if (shape == 7) {
      const double d = 0.5773502692 * r;
      figure.corners = 3;
      figure.v[0] = {X - r, Y - d};
      figure.v[1] = {X + r, Y - d};
      figure.v[2] = {X, Y + 2 * d};
    }
    if (ringSettled(outlineBox(shape, X, Y, r), width, figure)) return;
    forOutlineSegments(shape, X, Y, r, [&](double X1, double Y1, double X2, double Y2) {
      line(X1, Y1, X2, Y2, width);
    });
    previewDone_ = rasterDone_ = false;
  }

  void circle(const PagePoint& centre, double r, double width) {
    // Circle points are centre + r (cos, sin), within r of the centre either way.
    RingShape figure;
    figure.corners = 1;
    figure.v[0] = {centre.X, centre.Y};
    figure.r = r;
    if (circleSegments(r) > 0 &&
        ringSettled({centre.X - r, centre.X + r, centre.Y - r, centre.Y + r}, width, figure))
      return;
    forCircleSegments(centre.X, centre.Y, r, [&](double X1, double Y1, double X2, double Y2) {
      line(X1, Y1, X2, Y2, width);
    });
    previewDone_ = rasterDone_ = false;
  }

 private:
  // A ring whose segment ends all lie in box {Xlo, Xhi, Ylo, Yhi} (page inches), drawn in the
  // given width: true when everything its segments could touch, in the raster and in the
  // preview, already has the pen's colour, so that they can be passed over. When only the
  // preview is settled, previewDone_ spares the segments their preview work.
  // Where a box is not settled, the ring's figure may narrow it down to the ring's own shape.
  bool ringSettled(const std::array<double, 4>& box, double width, const RingShape& figure) {
    ++rings_;
    for (double v : box)
      if (!std::isfinite(v)) return false;
    // The two outermost rings of a fill seldom lie on settled ground throughout; the figure is
    // not worth its work there.
    const bool inner = rings_ > 2 && figure.corners > 0;
    // The rings of a fill lie one inside the other, and settled pixels stay settled, so once a
    // ring is settled so is every ring after it (in a width no greater, on the raster).
    if (!previewSettled_)
      previewSettled_ = !echo_ || previewBoxSettled(box) ||
                        (inner && local_ && previewFigureSettled(box, figure));
    previewDone_ = previewSettled_;
    if (!(width <= rasterSettledWidth_) &&
        (rasterBoxSettled(box, width) ||
         (inner && window_.isOpen() && rasterFigureSettled(box, width, figure))))
      rasterSettledWidth_ = width;
    // In the window every segment end lies inside the raster, so a ring settled there may still
    // need its preview; on the page the ring is only passed over whole.
    rasterDone_ = width <= rasterSettledWidth_;
    if (!window_.isOpen()) rasterDone_ = rasterDone_ && previewDone_;
    if (!previewDone_ || !rasterDone_) return false;
    previewDone_ = rasterDone_ = false;
    d_.state.ImageChanged = true;  // as drawing the ring would have set it
    return true;
  }

  bool rasterFigureSettled(const std::array<double, 4>& box, double width,
                           const RingShape& figure) {
    InkRegion ink(inkBounds(d_, box, width));
    const double scale =
        std::max(std::fabs(d_.state.Raster.ScaleX), std::fabs(d_.state.Raster.ScaleY));
    if (!figure.region(
            ink, scale, inkDistance(300 * width),
            [&](double X, double Y, double& x, double& y) { d_.pageToRaster(X, Y, x, y); }))
      return false;
    return ink.eachRow([&](int r, int c0, int c1) { return window_.uniform(r, r, c0, c1); });
  }

  bool previewFigureSettled(const std::array<double, 4>& box, const RingShape& figure) {
    std::array<int, 4> walk;  // {c0, c1, r0, r1}
    if (!previewBox(box, walk)) return false;
    InkRegion ink({double(walk[0]), double(walk[1]), double(walk[2]), double(walk[3])});
    const double scale =
        std::max(std::fabs(d_.state.Preview.ScaleX), std::fabs(d_.state.Preview.ScaleY));
    if (!figure.region(
            ink, scale, walkDistance(penClamped()),
            [&](double X, double Y, double& x, double& y) { d_.pageToPreview(X, Y, x, y); }))
      return false;
    return ink.eachRow([&](int y, int c0, int c1) { return previewRowSettled(y, c0, c1); });
  }

  bool rasterBoxSettled(const std::array<double, 4>& box, double width) const {
    const std::array<double, 4> ink = inkBounds(d_, box, width);
    const double cLo = std::max(ink[0], 0.0), cHi = std::min(ink[1], double(kRasterCols - 1));
    const double rLo = std::max(ink[2], double(d_.clipFirstRow()));
    const double rHi = std::min(ink[3], double(d_.clipRowLimit() - 1));
    if (!(cLo <= cHi && rLo <= rHi)) return true;
    const int r0 = int(rLo), r1 = std::min(int(rHi) + 1, d_.clipRowLimit() - 1);
    const int c0 = int(cLo), c1 = std::min(int(cHi) + 1, kRasterCols - 1);
    return window_.isOpen() ? window_.uniform(r0, r1, c0, c1)
                            : d_.image().uniform(r0, r1, c0, c1, draw_);
  }

  // The preview pixels the walks of segments with ends in box (page inches) can touch, cut to
  // the bitmap, {c0, c1, r0, r1}: rounded ends stay between the rounded corners (and a clipped
  // walk within its ends); the pen reaches back and pen - 1 - back pixels. False when none.
  bool previewBox(const std::array<double, 4>& box, std::array<int, 4>& walk) const {
    double x1, y1, x2, y2;
    d_.pageToPreview(box[0], box[2], x1, y1);
    d_.pageToPreview(box[1], box[3], x2, y2);
    const int pen = penClamped(), back = (pen - 1) / 2;
    const double pcLo = std::max(roundHalfEven(std::min(x1, x2)) - back, 0.0);
    const double pcHi =
        std::min(roundHalfEven(std::max(x1, x2)) - back + pen - 1, double(pv_.width() - 1));
    const double prLo = std::max(roundHalfEven(std::min(y1, y2)) - back, 0.0);
    const double prHi =
        std::min(roundHalfEven(std::max(y1, y2)) - back + pen - 1, double(pv_.height() - 1));
    if (!(pcLo <= pcHi && prLo <= prHi)) return false;
    walk = {int(pcLo), int(pcHi), int(prLo), int(prHi)};
    return true;
  }

  bool previewBoxSettled(const std::array<double, 4>& box) const {
    std::array<int, 4> walk;
    if (!previewBox(box, walk)) return true;
    if (!local_) return pv_.uniform(walk[2], walk[3], walk[0], walk[1], draw_);
    for (int y = walk[2]; y <= walk[3]; ++y)
      if (!previewRowSettled(y, walk[0], walk[1])) return false;
    return true;
  }

  // Whether pixels c0..c1 of preview row y have the pen's colour, on the preview or among the
  // fill's own pixels gathered so far in the local rows (local mode only).
  bool previewRowSettled(int y, int c0, int c1) const {
    if (y < 0 || y >= pv_.height() || c0 < 0 || c1 >= pv_.width()) return false;
    if (c0 < left_ || c1 > left_ + 63) return pv_.uniform(y, y, c0, c1, draw_);
    const uint64_t need = (~uint64_t(0) >> (63 - (c1 - left_))) & (~uint64_t(0) << (c0 - left_));
    uint64_t have = unsigned(y - top_) < unsigned(localCount_) ? local_rows_[y - top_] : 0;
    const uint8_t* row = pv_.row(y);
    for (int b = c0 >> 3; b <= c1 >> 3; ++b) {
      // Bit k of the reversed byte is column 8 b + k, in the pen's colour.
      const uint64_t v = kReversedBits[uint8_t(draw_ ? row[b] : ~row[b])];
      const int shift = 8 * b - left_;  // -7 .. 63
      have |= shift >= 0 ? v << shift : v >> -shift;
    }
    return (have & need) == need;
  }

  // Whether the pen's square along the preview segment covers only pixels of the pen's colour,
  // or none of the bitmap: the walk stays within the box of its ends, widened by the pen.
  bool previewSettled(int ax, int ay, int bx, int by) const {
    const int pen = pen_ < 1 ? 1 : pen_ > 32 ? 32 : pen_;
    const int back = (pen - 1) / 2;
    const int c0 = std::max(std::min(ax, bx) - back, 0);
    const int c1 = std::min(std::max(ax, bx) - back + pen - 1, pv_.width() - 1);
    const int r0 = std::max(std::min(ay, by) - back, 0);
    const int r1 = std::min(std::max(ay, by) - back + pen - 1, pv_.height() - 1);
    return c0 > c1 || r0 > r1 || pv_.uniform(r0, r1, c0, c1, draw_);
  }

  int penClamped() const { return pen_ < 1 ? 1 : pen_ > 32 ? 32 : pen_; }
  int back() const { return (penClamped() - 1) / 2; }

  // When the fill's preview is small and needs no clipping, its pixels are gathered in local
  // rows (bit j of a row is column left_ + j) and laid on the preview once, at the end: every
  // segment adds the same colour, so only the union matters.
  void setUpLocal(const std::array<double, 4>& box) {
    for (double v : box)
      if (!std::isfinite(v)) return;
    double c1, r1, c2, r2;
    d_.pageToPreview(box[0], box[2], c1, r1);
    d_.pageToPreview(box[1], box[3], c2, r2);
    const double x0 = roundHalfEven(std::min(c1, c2)), x1 = roundHalfEven(std::max(c1, c2));
    const double y0 = roundHalfEven(std::min(r1, r2)), y1 = roundHalfEven(std::max(r1, r2));
    // Ends there go through the line drawer unclipped.
    if (!(x0 >= -34 && x1 <= pv_.width() + 33.0 && y0 >= -34 && y1 <= pv_.height() + 33.0)) return;
    const int cols = int(x1 - x0) + penClamped(), rows = int(y1 - y0) + penClamped();
    if (cols > 64 || rows > kLocalRows) return;
    left_ = int(x0) - back();
    top_ = int(y0) - back();
    localCount_ = rows;
    for (int r = 0; r < rows; ++r) local_rows_[r] = 0;
    local_ = true;
  }

  void applyLocal() {
    for (int r = 0; r < localCount_; ++r) {
      const int y = top_ + r;
      if (y < 0 || y >= pv_.height()) continue;
      for (uint64_t bits = local_rows_[r]; bits; bits &= bits - 1)
        pv_.setPixel(y, left_ + std::countr_zero(bits), draw_);
    }
  }

  static constexpr int kLocalRows = 64;
  bool local_ = false;
  int left_ = 0, top_ = 0, localCount_ = 0;
  uint64_t local_rows_[kLocalRows];

  static constexpr int kRecent = 8;
  Drawing& d_;
  FillWindow window_;
  MonoBitmap& pv_;
  const bool draw_, echo_;
  const int pen_;
  bool previewDone_ = false, rasterDone_ = false;
  int rings_ = 0;                   // rings begun
  bool previewSettled_ = false;     // a ring's preview, and so every later one's, was settled
  double rasterSettledWidth_ = -1;  // the width of the raster's last settled ring
  uint64_t recent_[kRecent] = {};
  int next_ = 0, filled_ = 0;
};

// Paints one fill with paint(FillPainter&): in a window of the raster when its ink, bounded by
// ink, fits in one, else (or when it did not after all) on the raster itself.
template <class Paint>
void paintFill(Drawing& d, const std::array<double, 4>& box, const std::array<double, 4>& ink,
               Paint paint) {
  {
    FillPainter fill(d, box, &ink);
    paint(fill);
    if (fill.finish()) return;
  }
  FillPainter fill(d, box, nullptr);
  paint(fill);
  fill.finish();
}

// Whether every raster pixel whose centre lies inside the outline of a shape (4 circle, 5
// diamond, 6 square, 7 triangle) of half-size r about (X, Y), widened by half a pixel, already
// has the pen's colour. Every column or row a side crosses is inked at the pixel nearest to the
// side, a chain that lies within half a pixel of the outline; what a ring holds lies inside that
// chain, so the fill is then complete.
bool insideSettled(const Drawing& d, int shape, double X, double Y, double r, bool draw) {
  const int rowFirst = d.clipFirstRow(), rowLimit = d.clipRowLimit();
  const auto rowSettled = [&](int row, int c0, int c1) {
    if (row < rowFirst || row >= rowLimit) return true;
    c0 = std::max(c0, 0);
    c1 = std::min(c1, kRasterCols - 1);
    return c0 > c1 || d.image().uniform(row, row, c0, c1, draw);
  };
  const auto map = [&](double PX, double PY, double& x, double& y) {
    d.pageToRaster(PX, PY, x, y);
  };
  const PixelTransform& t = d.state.Raster;
  const double e = 0.5 + 1e-6;  // and rounding in the mapping
  double cx, cy;
  map(X, Y, cx, cy);
  if (shape == 4) {
    const double R = r * std::max(std::fabs(t.ScaleX), std::fabs(t.ScaleY)) + e;
    if (!(std::fabs(cx) < 1e6 && std::fabs(cy) < 1e6 && R < 1e4)) return false;
    for (int row = int(std::ceil(cy - R)); row <= int(std::floor(cy + R)); ++row) {
      const double half = std::sqrt(std::max(R * R - (row - cy) * (row - cy), 0.0));
      if (!rowSettled(row, int(std::ceil(cx - half)), int(std::floor(cx + half)))) return false;
    }
    return true;
  }
  double corners[4][2];
  int n = 0;
  const auto corner = [&](double PX, double PY) {
    map(PX, PY, corners[n][0], corners[n][1]);
    ++n;
  };
  if (shape == 5) {
    const double k = 1.414213562 * r;
    corner(X - k, Y);
    corner(X, Y + k);
    corner(X + k, Y);
    corner(X, Y - k);
  } else if (shape == 6) {
    corner(X - r, Y + r);
    corner(X + r, Y + r);
    corner(X + r, Y - r);
    corner(X - r, Y - r);
  } else {
    const double k = 0.5773502692 * r;
    corner(X - r, Y - k);
    corner(X + r, Y - k);
    corner(X, Y + 2 * k);
  }
  std::array<double, 4> bounds{1e300, -1e300, 1e300, -1e300};
  for (int i = 0; i < n; ++i) {
    bounds[0] = std::min(bounds[0], corners[i][0] - e);
    bounds[1] = std::max(bounds[1], corners[i][0] + e);
    bounds[2] = std::min(bounds[2], corners[i][1] - e);
    bounds[3] = std::max(bounds[3], corners[i][1] + e);
  }
  if (!(std::fabs(bounds[0]) < 1e6 && std::fabs(bounds[1]) < 1e6 && std::fabs(bounds[2]) < 1e6 &&
        std::fabs(bounds[3]) < 1e6))
    return false;
  InkRegion inside(bounds);
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    inside.addSide(corners[i][0], corners[i][1], corners[j][0], corners[j][1], cx, cy, e);
  }
  return inside.eachRow(rowSettled);
}

// Completes the fill of a shape (4 circle, 5 diamond, 6 square, 7 triangle) of half-size r about
// (X, Y) whose outermost ring, all of whose segment ends lie in box (page inches), is handed out
// by ring(emit) as emit(X1, Y1, X2, Y2): the rings do not always meet each other or close the
// centre, so every pixel inside the ring drawn in width w (joined to the centre, so that the
// pinholes a wide stroke may have are left alone), on the raster and on its preview, is given
// the pen's colour. Pixels on and outside the ring keep what the rings left.
template <class Ring>
void fillEnclosed(Drawing& d, const std::array<double, 4>& box, double w, int shape, double X,
                  double Y, double r, Ring ring) {
  const bool draw = d.state.PenDraw;
  RingMask raster;
  // What the ring encloses lies within the box of its ink and within its centre line. Where
  // either already has the pen's colour (a knock-out on white, a symbol on ink), there is
  // nothing to complete.
  if (raster.cover(inkBounds(d, box, w))) {
    const int c0 = std::max(raster.left(), 0), r0 = std::max(raster.top(), d.clipFirstRow());
    const int c1 = std::min(raster.left() + raster.width(), kRasterCols) - 1;
    const int r1 = std::min(raster.top() + raster.height(), d.clipRowLimit()) - 1;
    if (c0 > c1 || r0 > r1 || d.image().uniform(r0, r1, c0, c1, draw) ||
        insideSettled(d, shape, X, Y, r, draw))
      raster.deactivate();
  }
  // A ring cut by the page's edges is closed off the page, as it would be on a larger page.
  const bool cut =
      raster.active() &&
      !(raster.left() >= 0 && raster.left() + raster.width() <= kRasterCols &&
        raster.top() >= d.clipFirstRow() && raster.top() + raster.height() <= d.clipRowLimit());
  // The preview ring: each segment's walk with the pen's square, as the fill echoed it.
  MonoBitmap& pv = d.preview();
  const int pen = d.state.PreviewPenWidth < 1    ? 1
                  : d.state.PreviewPenWidth > 32 ? 32
                                                 : d.state.PreviewPenWidth;
  const int back = (pen - 1) / 2;
  RingMask preview;
  bool echo = d.state.PreviewEcho && !pv.empty();
  if (echo) {
    double x1, y1, x2, y2;
    d.pageToPreview(box[0], box[2], x1, y1);
    d.pageToPreview(box[1], box[3], x2, y2);
    echo = preview.cover(
        {roundHalfEven(std::min(x1, x2)) - back, roundHalfEven(std::max(x1, x2)) - back + pen - 1,
         roundHalfEven(std::min(y1, y2)) - back, roundHalfEven(std::max(y1, y2)) - back + pen - 1});
    if (echo) {
      const int c0 = std::max(preview.left(), 0), r0 = std::max(preview.top(), 0);
      const int c1 = std::min(preview.left() + preview.width(), pv.width()) - 1;
      const int r1 = std::min(preview.top() + preview.height(), pv.height()) - 1;
      echo = c0 <= c1 && r0 <= r1 && !pv.uniform(r0, r1, c0, c1, draw);
    }
  }
  if (!raster.active() && !echo) return;
  raster.start();
  if (echo) preview.start();
  const double loLimit = -34, hiX = pv.width() + 33.0, hiY = pv.height() + 33.0;
  ring([&](double X1, double Y1, double X2, double Y2) {
    const bool laid = maskSegment(d, raster, X1, Y1, X2, Y2, w);
    if (cut) maskSegment(d, raster, X1, Y1, X2, Y2, w, true);
    if (!laid || !echo) return;
    double p[4];
    previewSegment(d, X1, Y1, X2, Y2, p);
    // Ends farther out are clipped before their walk; no symbol's ring reaches there.
    if (!(p[0] >= loLimit && p[0] <= hiX && p[2] >= loLimit && p[2] <= hiX && p[1] >= loLimit &&
          p[1] <= hiY && p[3] >= loLimit && p[3] <= hiY)) {
      echo = false;
      return;
    }
    walkLine(int(p[0]), int(p[1]), int(p[2]), int(p[3]),
             [&](int x, int y) { preview.square(y - back, x - back, pen); });
  });
  double rc, rr, pc, pr;
  d.pageToRaster(X, Y, rc, rr);
  d.pageToPreview(X, Y, pc, pr);
  // Far off the page the masks are inactive and the centres are not used.
  if (!(std::fabs(rc) + std::fabs(rr) + std::fabs(pc) + std::fabs(pr) < 1e8)) return;
  raster.eachEnclosed([&](int row, int c0, int c1) { d.HorizontalSpan(c0, c1, row, draw); },
                      int(roundHalfEven(rr)), int(roundHalfEven(rc)));
  if (echo)
    preview.eachEnclosed(
        [&](int y, int c0, int c1) {
          if (y < 0 || y >= pv.height()) return;
          c0 = std::max(c0, 0);
          c1 = std::min(c1, pv.width() - 1);
          uint8_t* row = pv.row(y);
          for (int b = c0 >> 3; c0 <= c1 && b <= c1 >> 3; ++b) {
            const int lo = std::max(c0, 8 * b) - 8 * b, hi = std::min(c1, 8 * b + 7) - 8 * b;
            const uint8_t m = uint8_t((0xFF >> lo) & (0xFF << (7 - hi)));
            row[b] = draw ? uint8_t(row[b] | m) : uint8_t(row[b] & ~m);
          }
        },
        int(roundHalfEven(pr)), int(roundHalfEven(pc)));
}

}  // namespace

void Drawing::fillCircle(const PagePoint& centre, double r, double wall) {
  // The disc the rings and the completion cover, edged by the thin outermost ring.
  if (display_.recording() && circleSegments(r) > 0)
    display_.disc(state.PenDraw, toFrame(centre.X, centre.Y), float(r), LineWidthTable[1]);
  // The rings, outermost first, handed to ring(radius, width); gives the innermost ring.
  const auto rings = [r](auto&& ring) {
    double width = LineWidthTable[1], q = r, last = r;
    ring(q, width);
    q -= 0.003;
    if (q >= 0.001) {
      ring(last = q, width);
      q -= 0.003;
      if (q >= 0.001) {
        width = LineWidthTable[2];
        ring(last = q, width);
        for (q -= 0.008; q >= 0.003; q -= 0.008) ring(last = q, width);
      }
    }
    return std::pair{last, width};
  };
  const auto [last, width] = rings([](double, double) {});
  // The rings stop short of the centre; a line closes the hole the innermost ring leaves.
  const double hole = last - 0.5 * width;
  const double lineWidth = 2 * hole + LineWidthTable[1];
  // Rings and the closing line all lie within r of the centre.
  const std::array<double, 4> box{centre.X - r, centre.X + r, centre.Y - r, centre.Y + r};
  std::array<double, 4> ink = inkBounds(*this, box, width);
  if (hole > 0) {
    const auto line =
        inkBounds(*this, {centre.X, centre.X, centre.Y - hole, centre.Y + hole}, lineWidth);
    ink = {std::min(ink[0], line[0]), std::max(ink[1], line[1]), std::min(ink[2], line[2]),
           std::max(ink[3], line[3])};
  }
  paintFill(*this, box, ink, [&](FillPainter& fill) {
    rings([&](double q, double w) { fill.circle(centre, q, w); });
    if (hole > 0) fill.line(centre.X, centre.Y - hole, centre.X, centre.Y + hole, lineWidth);
  });
  fillEnclosed(*this, box, wall, 4, centre.X, centre.Y, r,
               [&](auto&& emit) { forCircleSegments(centre.X, centre.Y, r, emit); });
}

// Solid diamond, square or triangle: nested outlines in the thin width.
void Drawing::fillShape(int shape, double X, double Y, double r, double wall) {
  if (shape >= 8) shape -= 4;
  if (shape == 4) {
    PagePoint c;
    SetPointPage(c, X, Y);
    fillCircle(c, r, wall);
    return;
  }
  const double w = LineWidthTable[1];
  const double step = shape == 5 ? 0.003 : 0.004;
  if (display_.recording()) {
    // The outline's polygon filled, edged by the thin outermost ring.
    FramePoint corners[4];
    int n = 0;
    if (shape == 5) {
      const double d = 1.414213562 * r;
      for (auto [x, y] : {std::pair{X - d, Y}, {X, Y + d}, {X + d, Y}, {X, Y - d}})
        corners[n++] = toFrame(x, y);
    } else if (shape == 6) {
      for (auto [x, y] : {std::pair{X - r, Y + r}, {X + r, Y + r}, {X + r, Y - r}, {X - r, Y - r}})
        corners[n++] = toFrame(x, y);
    } else if (shape == 7) {
      const double d = 0.5773502692 * r;
      for (auto [x, y] : {std::pair{X - r, Y - d}, {X + r, Y - d}, {X, Y + 2 * d}})
        corners[n++] = toFrame(x, y);
    }
    if (n) display_.polygon(state.PenDraw, corners, n, float(w));
  }
  const std::array<double, 4> box = outlineBox(shape, X, Y, r);  // the inner rings lie inside
  paintFill(*this, box, inkBounds(*this, box, w), [&](FillPainter& fill) {
    fill.outline(shape, X, Y, r, w);
    for (double q = r - step; q >= 0.001; q -= step) fill.outline(shape, X, Y, q, w);
  });
  fillEnclosed(*this, box, wall, shape, X, Y, r,
               [&](auto&& emit) { forOutlineSegments(shape, X, Y, r, emit); });
}

}  // namespace plotane
