// The fill window and the distance bounds the fills rely on to pass over settled rings: a
// segment laid in a window leaves exactly the pixels it leaves on the page, a window that could
// not hold a segment writes nothing, and no ink or preview walk lies farther from its segment
// than the bounds say.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Lcg.h"
#include "TestHost.h"
#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"

using namespace plotane;

namespace {

using test::Lcg;

// Distance from (x, y) to the segment (x1, y1)-(x2, y2).
double distanceToSegment(double x, double y, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((x - x1) * dx + (y - y1) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

// A random segment of the kinds fills and outlines lay: short, at any angle or exactly level,
// upright or diagonal, at the table widths or between them.
struct Segment {
  double X1, Y1, X2, Y2, width;
};

Segment randomSegment(Lcg& g, int i, double X, double Y) {
  const double len = g.next() * (i % 4 == 0 ? 0.15 : 0.04);
  double a = g.next() * 6.283185307179586;
  if (i % 7 == 1) a = (i % 8) * 0.7853981633974483;
  const double widths[] = {LineWidthTable[1], LineWidthTable[2], LineWidthTable[0],
                           g.next() * 0.02};
  return {X, Y, X + len * std::cos(a), Y + len * std::sin(a), widths[i % 4]};
}

TEST(FillWindow, LaysTheSamePixelsAsThePage) {
  test::TestHost host;
  Drawing window(host), page(host);
  Lcg g{41};
  int laid = 0;
  for (int i = 0; i < 4000; ++i) {
    // A background of random bytes around the place, the same on both pages.
    const double X = 0.3 + g.next() * 7.4, Y = 0.3 + g.next() * 9.4;
    double col, row;
    page.pageToRaster(X, Y, col, row);
    const int r0 = std::max(0, int(row) - 70), r1 = std::min(kRasterRows - 1, int(row) + 70);
    const int b0 = std::max(0, int(col) / 8 - 9),
              b1 = std::min(kRasterRowBytes - 1, int(col) / 8 + 9);
    for (int r = r0; r <= r1; ++r)
      for (int b = b0; b <= b1; ++b)
        window.image().row(r)[b] = page.image().row(r)[b] = uint8_t(g.next() * 256);
    const Segment s = randomSegment(g, i, X, Y);
    const bool draw = i % 3 != 0;
    double c1, rr1, c2, rr2;
    page.pageToRaster(s.X1, s.Y1, c1, rr1);
    page.pageToRaster(s.X2, s.Y2, c2, rr2);
    const double m = inkReach(300 * s.width);
    FillWindow w(window, draw);
    if (!w.open(std::min(c1, c2) - m, std::max(c1, c2) + m, std::min(rr1, rr2) - m,
                std::max(rr1, rr2) + m))
      continue;
    EXPECT_TRUE(w.segment(s.X1, s.Y1, s.X2, s.Y2, s.width));
    ASSERT_TRUE(w.close()) << "segment " << i << " left its window";
    EXPECT_TRUE(rasteriseSegment(page, draw, s.X1, s.Y1, s.X2, s.Y2, s.width));
    ++laid;
    for (int r = r0; r <= r1; ++r)
      ASSERT_EQ(std::memcmp(window.image().row(r) + b0, page.image().row(r) + b0,
                            std::size_t(b1 - b0 + 1)),
                0)
          << "segment " << i << " row " << r;
  }
  EXPECT_GT(laid, 3000);
}

TEST(FillWindow, RefusesWhatItCannotHoldAndWritesNothingWhenSpoilt) {
  test::TestHost host;
  Drawing d(host);
  FillWindow w(d, true);
  // Too wide, too tall, off the raster, outside the clip rows, not finite.
  EXPECT_FALSE(w.open(100, 170, 100, 110));
  EXPECT_FALSE(w.open(100, 110, 100, 170));
  EXPECT_FALSE(w.open(-3, 20, 100, 110));
  EXPECT_FALSE(w.open(2390, 2399.5, 100, 110));
  EXPECT_FALSE(w.open(100, 110, 2990, 3000.5));
  EXPECT_FALSE(w.open(100, NAN, 100, 110));
  EXPECT_FALSE(w.isOpen());
  EXPECT_FALSE(w.close());

  // A segment running out of the window spoils it: nothing reaches the raster, not even the
  // segment that fitted.
  ASSERT_TRUE(w.open(300, 340, 300, 340));
  EXPECT_TRUE(w.segment(1.05, 8.9, 1.1, 8.9, LineWidthTable[2]));
  EXPECT_TRUE(w.segment(1.05, 8.9, 1.5, 8.9, LineWidthTable[2]));
  EXPECT_FALSE(w.close());
  EXPECT_EQ(d.image().countInk(), 0);

  // A width no fill uses spoils it too.
  ASSERT_TRUE(w.open(300, 340, 300, 340));
  EXPECT_FALSE(w.segment(1.05, 8.9, 1.06, 8.9, 0.5));
  EXPECT_FALSE(w.close());
  EXPECT_EQ(d.image().countInk(), 0);

  // Inside, it is laid.
  ASSERT_TRUE(w.open(300, 340, 300, 340));
  EXPECT_TRUE(w.segment(1.05, 8.9, 1.1, 8.9, LineWidthTable[2]));
  EXPECT_TRUE(w.close());
  EXPECT_GT(d.image().countInk(), 0);
}

// The region tests of the fills hold a ring's ink within these distances of its segments.
TEST(FillWindow, InkAndWalksStayWithinTheirDistance) {
  test::TestHost host;
  Drawing d(host);
  Lcg g{97};
  for (int i = 0; i < 3000; ++i) {
    const Segment s = randomSegment(g, i, 0.3 + g.next() * 7.4, 0.3 + g.next() * 9.4);
    d.DrawLine(true, s.X1, s.Y1, s.X2, s.Y2, s.width);
    double x1, y1, x2, y2;
    d.pageToRaster(s.X1, s.Y1, x1, y1);
    d.pageToRaster(s.X2, s.Y2, x2, y2);
    const double e = inkDistance(300 * s.width);
    // Well beyond the bound all round; the page is white again afterwards.
    const int rLo = std::max(0, int(std::min(y1, y2) - e) - 16);
    const int rHi = std::min(kRasterRows - 1, int(std::max(y1, y2) + e) + 16);
    const int cLo = std::max(0, int(std::min(x1, x2) - e) - 16);
    const int cHi = std::min(kRasterCols - 1, int(std::max(x1, x2) + e) + 16);
    for (int r = rLo; r <= rHi; ++r)
      for (int c = cLo; c <= cHi; ++c)
        if (d.image().pixel(r, c)) {
          ASSERT_LE(distanceToSegment(c, r, x1, y1, x2, y2), e) << "segment " << i;
          d.image().setPixel(r, c, false);
        }
  }
  EXPECT_EQ(d.image().countInk(), 0);
  MonoBitmap pv(60, 50);
  for (int i = 0; i < 3000; ++i) {
    pv.clear();
    const int pen = 1 + i % 3;
    const double x1 = 10 + g.next() * 40, y1 = 10 + g.next() * 30;
    const double x2 = x1 + (g.next() - 0.5) * 12, y2 = y1 + (g.next() - 0.5) * 12;
    // Rounded as the preview echo of a page segment is.
    pv.drawLine(roundHalfEven(x1), roundHalfEven(y1), roundHalfEven(x2), roundHalfEven(y2), pen,
                true);
    for (int r = 0; r < pv.height(); ++r)
      for (int c = 0; c < pv.width(); ++c) {
        if (pv.pixel(r, c)) {
          ASSERT_LE(distanceToSegment(c, r, x1, y1, x2, y2), walkDistance(pen)) << "walk " << i;
        }
      }
  }
}

}  // namespace
