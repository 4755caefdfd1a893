// Exact pixels of the line rasteriser, worked out by hand from its rules: page inches map to
// column 300 X and row 300 (10 - Y) in portrait; spans are [Round(r - h), Round(r + h)] trimmed
// to the pixel width, with pointed caps one pixel narrower at each end per step.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <utility>

#include "TestHost.h"
#include "drawing/Drawing.h"

using namespace plotane;

namespace {

using Pixel = std::pair<int, int>;  // row, column

std::set<Pixel> inkOf(const Drawing& d) {
  std::set<Pixel> out;
  for (int r = 0; r < kRasterRows; ++r) {
    const uint8_t* row = d.image().row(r);
    for (int b = 0; b < kRasterRowBytes; ++b)
      if (row[b])
        for (int i = 0; i < 8; ++i)
          if (row[b] & (0x80 >> i)) out.insert({r, b * 8 + i});
  }
  return out;
}

std::set<Pixel> spanRows(int column, int lo, int hi) {
  std::set<Pixel> s;
  for (int r = lo; r <= hi; ++r) s.insert({r, column});
  return s;
}

std::set<Pixel> spanColumns(int row, int lo, int hi) {
  std::set<Pixel> s;
  for (int c = lo; c <= hi; ++c) s.insert({row, c});
  return s;
}

void add(std::set<Pixel>& to, const std::set<Pixel>& more) { to.insert(more.begin(), more.end()); }

struct Fixture {
  test::TestHost host;
  Drawing d{host};
};

}  // namespace

// Horizontal line from (1, 5) to (2, 5): columns 300..600 on row 1500. For each width code the
// span and the caps follow from w = 300 x width: code 0 -> [1500], code 1 -> [1499, 1500],
// code 2 -> [1498, 1501] with a 2-pixel cap, code 3 -> [1498, 1502] with caps of 3 and 1,
// code 4 -> [1497, 1503] with caps of 5, 3 and 1.
TEST(Rasterise, HorizontalLineOfEachWidthCode) {
  struct Case {
    int code, lo, hi;
  } cases[] = {{0, 1500, 1500}, {1, 1499, 1500}, {2, 1498, 1501}, {3, 1498, 1502}, {4, 1497, 1503}};
  for (const Case& k : cases) {
    Fixture f;
    f.d.DrawLine(true, 1, 5, 2, 5, LineWidthTable[k.code]);
    std::set<Pixel> want;
    for (int c = 300; c <= 600; ++c) add(want, spanRows(c, k.lo, k.hi));
    for (int step = 1; k.lo + step <= k.hi - step; ++step) {
      add(want, spanRows(300 - step, k.lo + step, k.hi - step));
      add(want, spanRows(600 + step, k.lo + step, k.hi - step));
    }
    EXPECT_EQ(inkOf(f.d), want) << "width code " << k.code;
    EXPECT_TRUE(f.d.state.ImageChanged);
  }
}

// 45 degrees from (1, 5) down to (2, 4), width code 2: mostly-vertical branch with slope 1, the
// width widened to 4 on the diagonal, so every row holds [c - 2, c + 2] around c = row - 1200.
// The first row loses two pixels on its low side and gets a one-pixel cap above; the last row
// loses two on its high side and gets a one-pixel cap below.
TEST(Rasterise, FortyFiveDegreeLine) {
  Fixture f;
  f.d.DrawLine(true, 1, 5, 2, 4, LineWidthTable[2]);
  std::set<Pixel> want;
  for (int r = 1501; r <= 1799; ++r) add(want, spanColumns(r, r - 1202, r - 1198));
  add(want, spanColumns(1500, 300, 302));
  add(want, spanColumns(1499, 301, 301));
  add(want, spanColumns(1800, 598, 600));
  add(want, spanColumns(1801, 599, 599));
  EXPECT_EQ(inkOf(f.d), want);
}

// Both ends equal: one row's span (4 pixels, trimmed from 5) and the start cap above it.
TEST(Rasterise, ZeroLengthSegment) {
  Fixture f;
  f.d.DrawLine(true, 1, 5, 1, 5, LineWidthTable[2]);
  std::set<Pixel> want = spanColumns(1500, 298, 301);
  add(want, spanColumns(1499, 299, 300));
  EXPECT_EQ(inkOf(f.d), want);
}

// Crossing the left edge: columns start at 0 with no cap; crossing the top edge: rows start at
// 0 and the cap rows above the page are skipped.
TEST(Rasterise, LinesCrossingThePageEdge) {
  {
    Fixture f;
    f.d.DrawLine(true, -1, 5, 1, 5, LineWidthTable[2]);
    std::set<Pixel> want;
    for (int c = 0; c <= 300; ++c) add(want, spanRows(c, 1498, 1501));
    add(want, spanRows(301, 1499, 1500));
    EXPECT_EQ(inkOf(f.d), want);
  }
  {
    Fixture f;
    f.d.DrawLine(true, 1, 10.5, 1, 9.9, LineWidthTable[2]);
    std::set<Pixel> want;
    for (int r = 0; r <= 30; ++r) add(want, spanColumns(r, 298, 301));
    add(want, spanColumns(31, 299, 300));
    EXPECT_EQ(inkOf(f.d), want);
  }
  {
    // Entirely off the page or absurdly far away: nothing, and no crash.
    Fixture f;
    f.d.DrawLine(true, 1, 11, 2, 12, LineWidthTable[4]);
    f.d.DrawLine(true, -200, 5, 200, 5, LineWidthTable[4]);
    f.d.DrawLine(true, 1, 5, 1e20, 5, 1e20);
    EXPECT_EQ(f.d.image().countInk(), 0);
    // A vertical line with absurd ends is still the full-height line it describes.
    f.d.DrawLine(true, 1, -1e300, 1, 1e300, LineWidthTable[4]);
    EXPECT_EQ(f.d.image().countInk(), 3000 * 7);
  }
}

// Erasing clears exactly what drawing set.
TEST(Rasterise, EraseClearsTheSameSpans) {
  Fixture f;
  f.d.DrawLine(true, 1, 1, 6, 8, LineWidthTable[4]);
  f.d.DrawLine(true, 1, 1, 6, 8, LineWidthTable[1]);
  EXPECT_GT(f.d.image().countInk(), 0);
  f.d.DrawLine(false, 1, 1, 6, 8, LineWidthTable[4]);
  EXPECT_EQ(f.d.image().countInk(), 0);
}

// Width code 0 gives exactly one pixel per column of a mostly horizontal line (one per row of a
// mostly vertical one); width code 1 at most two.
TEST(Rasterise, ThinWidthProperties) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pos(0.5, 7.5), dir(-1, 1);
  for (int i = 0; i < 200; ++i) {
    const int code = i % 2;
    Fixture f;
    f.d.state.PreviewEcho = false;
    double x1 = pos(rng), y1 = pos(rng) + 1, x2 = x1 + 2 * dir(rng), y2 = y1 + 2 * dir(rng);
    f.d.DrawLine(true, x1, y1, x2, y2, LineWidthTable[code]);
    const bool horizontal = std::abs(y2 - y1) < std::abs(x2 - x1);
    std::map<int, int> perLine;
    for (const Pixel& p : inkOf(f.d)) ++perLine[horizontal ? p.second : p.first];
    for (const auto& [line, count] : perLine) {
      if (code == 0)
        ASSERT_EQ(count, 1) << "line " << line;
      else
        ASSERT_LE(count, 2) << "line " << line;
    }
  }
}

// In landscape the page exchange puts landscape X down the raster rows and Y along the columns.
TEST(Rasterise, LandscapeMapsOntoThePortraitRaster) {
  Fixture f;
  f.d.SetLandscape();
  f.d.DrawLine(true, 2, 1, 2, 1, LineWidthTable[0]);  // landscape (2, 1): row 600, column 300
  EXPECT_EQ(inkOf(f.d), std::set<Pixel>({{600, 300}}));
}
