// Primitives built on the rasteriser: dashed and intermittent lines, circles and arcs,
// arrowheads, nodes, point symbols and block transfers.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "TestHost.h"
#include "drawing/Drawing.h"

using namespace plotane;

namespace {

// Columns inked on raster row `row`.
std::set<int> columnsOnRow(const Drawing& d, int row) {
  std::set<int> s;
  for (int c = 0; c < kRasterCols; ++c)
    if (d.image().pixel(row, c)) s.insert(c);
  return s;
}

std::set<int> range(int lo, int hi) {
  std::set<int> s;
  for (int c = lo; c <= hi; ++c) s.insert(c);
  return s;
}

std::set<int> unite(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

struct Fixture {
  test::TestHost host;
  Drawing d{host};
  Fixture() { d.SetLineCode(0); }  // one pixel per column: ends are easy to read
};

}  // namespace

// 0.1 inch with dashes of 0.06: fewer than two dash lengths, so dash, gap, dash of a third each
// (columns 300..310 and 320..330 on row 1500).
TEST(Primitives, ShortDashedLine) {
  Fixture f;
  f.d.DrawDashed(f.d.pointAt({1, 5}), f.d.pointAt({1.1, 5}), 0.06f);
  EXPECT_EQ(columnsOnRow(f.d, 1500), unite(range(300, 310), range(320, 330)));
  // 0.35 inch with dashes of 0.1: 7 pieces of 0.05 inch (15 pixels), four of them drawn.
  Fixture g;
  g.d.DrawDashed(g.d.pointAt({1, 5}), g.d.pointAt({1.35, 5}), 0.1f);
  std::set<int> want;
  for (int i = 0; i < 7; i += 2) want = unite(want, range(300 + 15 * i, 315 + 15 * i));
  EXPECT_EQ(columnsOnRow(g.d, 1500), want);
}

// 0.11 inch with unit 0.03 and factor 4: shorter than 11 units, so the unit becomes 0.01 and the
// line is long dash, gap, short dash, gap, long dash (4:1:1:1:4).
TEST(Primitives, ShortIntermittentLine) {
  Fixture f;
  f.d.DrawIntermittent(f.d.pointAt({1, 5}), f.d.pointAt({1.11, 5}), 0.03f, 4.0f);
  EXPECT_EQ(columnsOnRow(f.d, 1500),
            unite(unite(range(300, 312), range(315, 318)), range(321, 333)));
  // A zero-length intermittent line draws nothing.
  Fixture g;
  g.d.DrawIntermittent(g.d.pointAt({1, 5}), g.d.pointAt({1, 5}), 0.03f, 4.0f);
  EXPECT_EQ(g.d.image().countInk(), 0);
}

TEST(Primitives, AngleFromAToB) {
  test::TestHost host;
  Drawing d(host);
  const double pi = std::numbers::pi;
  struct Case {
    double bx, by, angle;
  } cases[] = {{2, 1, 2 * pi},   {1, 2, pi / 2}, {0, 1, pi},
               {1, 0, 1.5 * pi}, {2, 2, pi / 4}, {0, 0, 1.25 * pi}};
  for (const Case& c : cases) {
    d.SetACursor(1, 1);
    d.SetBCursor(c.bx, c.by < 0.01 ? 0.01 : c.by);
    if (c.by < 0.01) d.state.B = {c.bx, c.by};
    EXPECT_NEAR(d.AngleAToB(), c.angle, 1e-12) << c.bx << "," << c.by;
  }
}

TEST(Primitives, CirclesAndArcs) {
  Fixture tiny;
  tiny.d.DrawCircle(tiny.d.pointAt({4, 5}), 0.0001);  // no segments at all
  EXPECT_EQ(tiny.d.image().countInk(), 0);

  // A circle of radius 1 inch around (4, 5): every inked pixel lies within a pixel of the
  // polygon's band (the 100-gon is at most 300 (1 - cos(pi/100)) = 0.15 pixel inside the circle).
  Fixture c;
  c.d.DrawCircle(c.d.pointAt({4, 5}), 1);
  long ink = 0;
  for (int r = 1100; r <= 1900; ++r)
    for (int col = 800; col <= 1600; ++col)
      if (c.d.image().pixel(r, col)) {
        ++ink;
        const double dist = std::hypot(r - 1500.0, col - 1200.0);
        ASSERT_NEAR(dist, 300, 1.5) << r << "," << col;
      }
  EXPECT_EQ(ink, c.d.image().countInk());
  EXPECT_GT(ink, 1600);

  // The Circle/Arc command: B unmoved gives the full circle; B a little counter-clockwise a
  // short arc; a little clockwise an almost full circle.
  auto command = [](double endAngle) {
    Fixture f;
    f.d.SetACursor(4, 5);
    f.d.SetBCursor(5, 5);
    f.d.BeginCircleArc();
    f.d.SetBCursor(4 + std::cos(endAngle), 5 + std::sin(endAngle));
    f.d.FinishCircleArc();
    return f.d.image().countInk();
  };
  const long full = command(0);
  EXPECT_EQ(full, ink);
  const long shortArc = command(0.3);
  const long longArc = command(-0.3);
  EXPECT_LT(shortArc, full / 10);
  EXPECT_GT(shortArc, 0);
  EXPECT_GT(longArc, full * 8 / 10);
  EXPECT_LT(longArc, full);
}

// An arrow pointing left (B to the right of A): 2 ArrowSize long, ArrowSize wide, solid inside.
TEST(Primitives, Arrowhead) {
  test::TestHost host;
  Drawing d(host);
  d.SetACursor(4, 5);
  d.SetBCursor(6, 5);
  d.DrawArrowhead();
  const double size = d.state.ArrowSize;  // 0.045: 13.5 pixels
  int minC = kRasterCols, maxC = -1, minR = kRasterRows, maxR = -1;
  for (int r = 1400; r < 1600; ++r)
    for (int c = 1100; c < 1300; ++c)
      if (d.image().pixel(r, c)) {
        minC = std::min(minC, c), maxC = std::max(maxC, c);
        minR = std::min(minR, r), maxR = std::max(maxR, r);
      }
  EXPECT_NEAR(minC, 1200, 3);
  EXPECT_NEAR(maxC, 1200 + 600 * size, 3);
  EXPECT_NEAR(maxR - minR, 300 * size, 4);
  // Solid: every pixel on the axis from the tip to the notch is ink.
  for (int c = 1200; c <= 1200 + int(300 * 1.875 * size) - 2; ++c)
    EXPECT_TRUE(d.image().pixel(1500, c)) << c;
  EXPECT_TRUE(d.state.PenDraw);
  EXPECT_EQ(d.state.TextAngle, 0);
}

// An unfilled symbol drawn over a line knocks out its interior; a solid one leaves no white.
TEST(Primitives, PointSymbolsKnockOutOrFill) {
  for (int shape = 4; shape <= 11; ++shape) {
    test::TestHost host;
    Drawing d(host);
    d.DrawLine(true, 3, 5, 5, 5, LineWidthTable[4]);
    d.DrawPointSymbol(d.pointAt({4, 5}), shape, 5);
    EXPECT_EQ(d.image().pixel(1500, 1200), shape >= 8) << shape;
    EXPECT_TRUE(d.image().pixel(1500, 1100)) << shape;  // the line away from the symbol
    EXPECT_TRUE(d.state.PenDraw);
    EXPECT_EQ(d.state.LineWidth, double(LineWidthTable[2]));
  }
  // The plus of size code 3 (half-size 0.04 inch) spans 24 columns plus its caps.
  test::TestHost host;
  Drawing d(host);
  d.DrawPointSymbol(d.pointAt({4, 5}), 0, 3);
  const std::set<int> row = columnsOnRow(d, 1500);
  EXPECT_EQ(*row.begin(), 1188 - 1);
  EXPECT_EQ(*row.rbegin(), 1212 + 1);
}

TEST(Primitives, NodeIsSolid) {
  test::TestHost host;
  Drawing d(host);
  d.SetACursor(2, 2);
  d.DrawNode();
  // Radius 0.35 x 0.045 inch = 4.7 pixels around column 600, row 2400: no white inside.
  for (int dr = -3; dr <= 3; ++dr)
    for (int dc = -3; dc <= 3; ++dc)
      EXPECT_TRUE(d.image().pixel(2400 + dr, 600 + dc)) << dr << "," << dc;
  EXPECT_FALSE(d.image().pixel(2400, 600 + 8));
  // The same for every line code's node and every solid circle symbol.
  for (int code = 0; code <= 4; ++code) {
    Drawing n(host);
    n.SetLineCode(code);
    n.SetACursor(2, 2);
    n.DrawNode();
    const int inner = int(300 * 0.35 * ArrowSizeTable[code] * 0.5);
    for (int dr = -inner; dr <= inner; ++dr)
      for (int dc = -inner; dc <= inner; ++dc)
        EXPECT_TRUE(n.image().pixel(2400 + dr, 600 + dc)) << code << ":" << dr << "," << dc;
  }
}

namespace {

// Ink of rows 1200..1500, columns 300..600 (the block between (1, 5) and (2, 6)).
std::set<std::pair<int, int>> blockInk(const Drawing& d) {
  std::set<std::pair<int, int>> s;
  for (int r = 0; r < kRasterRows; ++r)
    for (int b = 0; b < kRasterRowBytes; ++b)
      if (d.image().row(r)[b])
        for (int i = 0; i < 8; ++i)
          if (d.image().pixel(r, b * 8 + i)) s.insert({r, b * 8 + i});
  return s;
}

std::set<std::pair<int, int>> shifted(const std::set<std::pair<int, int>>& s, int dr, int dc) {
  std::set<std::pair<int, int>> out;
  for (auto [r, c] : s) out.insert({r + dr, c + dc});
  return out;
}

void drawPattern(Drawing& d) {
  d.DrawLine(true, 1.1, 5.1, 1.9, 5.9, LineWidthTable[2]);
  d.DrawLine(true, 1.1, 5.5, 1.9, 5.5, LineWidthTable[4]);
  d.DrawCircle(d.pointAt({1.3, 5.7}), 0.1);
}

}  // namespace

// Moving onto an overlapping place keeps the block intact, in each direction.
TEST(Blocks, OverlappingMoveAndCopy) {
  struct Case {
    double ax, ay;
    int dr, dc;
  } cases[] = {{1.5, 5.5, -150, 150}, {0.5, 4.5, 150, -150}, {1.2, 5.0, 0, 60}, {1.0, 5.3, -90, 0}};
  for (const Case& k : cases) {
    for (bool move : {true, false}) {
      test::TestHost host;
      Drawing d(host);
      drawPattern(d);
      const auto before = blockInk(d);
      d.SetACursor(1, 5);
      d.SetBCursor(2, 6);
      ASSERT_TRUE(d.DefineBlock());
      d.setBlockMove(move);
      d.state.ImageChanged = false;
      d.SetACursor(k.ax, k.ay);
      d.BlockTransfer(false);
      EXPECT_TRUE(d.state.ImageChanged);
      auto want = shifted(before, k.dr, k.dc);
      if (!move) {
        // The copy replaces the destination rectangle and leaves the rest of the source.
        for (auto p : before) {
          const int r = p.first, c = p.second;
          const bool inDest =
              r >= 1200 + k.dr && r <= 1500 + k.dr && c >= 300 + k.dc && c <= 600 + k.dc;
          if (!inDest) want.insert(p);
        }
      }
      EXPECT_EQ(blockInk(d), want) << k.ax << "," << k.ay << " move " << move;
    }
  }
}

TEST(Blocks, OrWithDestinationAndPreview) {
  test::TestHost host;
  Drawing d(host);
  d.DrawLine(true, 1.1, 5.5, 1.9, 5.5, LineWidthTable[2]);
  d.DrawLine(true, 3.5, 5.2, 3.5, 5.8, LineWidthTable[2]);  // already at the destination
  const long previewInk = d.preview().countInk();
  d.SetACursor(1, 5);
  d.SetBCursor(2, 6);
  ASSERT_TRUE(d.DefineBlock());
  d.SetACursor(3, 5);
  d.BlockTransfer(true);
  EXPECT_TRUE(d.image().pixel(1350, 1050));  // the vertical line survives
  EXPECT_TRUE(d.image().pixel(1350, 1000));  // the copied horizontal line arrived
  EXPECT_GT(d.preview().countInk(), previewInk);
  EXPECT_TRUE(d.preview().pixel(450, 320));
}

TEST(Blocks, DefinitionAndPortraitRequirement) {
  test::TestHost host;
  Drawing d(host);
  d.SetACursor(2, 6);
  d.SetBCursor(1, 7);
  EXPECT_FALSE(d.DefineBlock());
  EXPECT_EQ(host.lastMessage(), "Bad block definition");
  EXPECT_FALSE(d.block().defined);

  d.SetLandscape();
  host.answers = {Answer::No};
  EXPECT_FALSE(d.RequirePortrait());
  EXPECT_EQ(host.questions.back(), "Portrait mode is required! Switch?");
  EXPECT_TRUE(d.state.LandscapeMode);
  host.answers = {Answer::Yes};
  EXPECT_TRUE(d.RequirePortrait());
  EXPECT_FALSE(d.state.LandscapeMode);
  d.RestoreOrientation();
  EXPECT_TRUE(d.state.LandscapeMode);
  d.SetPortrait();
  host.questions.clear();
  EXPECT_TRUE(d.RequirePortrait());
  EXPECT_TRUE(host.questions.empty());
}
