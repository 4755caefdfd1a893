// The drawing's display list: what each primitive records beside the raster, where, and when the
// list starts again from the raster's pixels.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "TempDir.h"
#include "TestHost.h"
#include "drawing/Drawing.h"

using namespace plotane;

namespace {

constexpr double kPi = std::numbers::pi;

struct DisplayListTest : ::testing::Test {
  test::TestHost host;
  Drawing d{host};
  const DisplayList& list() { return d.displayList(); }
  const DisplayItem& last() { return list().items().back(); }
  FramePoint point(uint32_t i) { return list().points()[i]; }
  // The frame point at angle a of a recorded arc.
  FramePoint onArc(const DisplayArc& it, double a) {
    return {float(it.cx + it.r * std::cos(a)), float(it.cy + it.r * std::sin(a))};
  }
  DisplayArc lastArc() { return list().arcOf(last()); }
};

void expectNear(FramePoint p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-5);
  EXPECT_NEAR(p.y, y, 1e-5);
}

// Page inches (Y up from the lower-left corner) become the portrait raster's frame (inches from
// its top-left corner) in either orientation.
TEST_F(DisplayListTest, PositionsAreKeptInThePortraitRastersFrame) {
  d.DrawLine(true, 1, 2, 3, 4, LineWidthTable[2]);
  ASSERT_EQ(list().items().size(), 1u);
  expectNear(point(0), 1, 8);
  expectNear(point(1), 3, 6);
  EXPECT_FLOAT_EQ(last().width, LineWidthTable[2]);
  EXPECT_TRUE(last().ink);
  d.SetLandscape();
  // Landscape X runs down the raster's rows, Y along its columns.
  d.DrawLine(false, 1, 2, 9, 7, LineWidthTable[4]);
  ASSERT_EQ(list().items().size(), 2u);
  EXPECT_FALSE(last().ink);
  expectNear(point(last().first), 2, 1);
  expectNear(point(last().first + 1), 7, 9);
}

TEST_F(DisplayListTest, ArcsRunWhereTheRasterDrawsThem) {
  // A quarter arc counter-clockwise from 0 to 90 degrees about (4, 5): from (5, 5) to (4, 6).
  d.DrawArc(d.pointAt({4, 5}), 1, 0, kPi / 2);
  ASSERT_EQ(list().items().size(), 1u);
  EXPECT_EQ(last().kind, DisplayItem::Circle);
  EXPECT_FALSE(last().filled);
  const DisplayArc arc = lastArc();
  expectNear(onArc(arc, arc.a0), 5, 5);
  expectNear(onArc(arc, arc.a1), 4, 4);
  // It passes through 45 degrees, not round the other way.
  const double r = std::sqrt(0.5);
  expectNear(onArc(arc, 0.5 * (arc.a0 + arc.a1)), 4 + r, 5 - r);
  // The arc's pixels are on the raster there.
  EXPECT_TRUE(d.image().pixel(int(std::lround(300 * (5 - r))), int(std::lround(300 * (4 + r)))));

  d.SetLandscape();
  d.DrawArc(d.pointAt({5, 4}), 1, 0, kPi / 2);
  const DisplayArc turned = lastArc();
  expectNear(onArc(turned, turned.a0), 4, 6);  // page (6, 4)
  expectNear(onArc(turned, turned.a1), 5, 5);  // page (5, 5)
  expectNear(onArc(turned, 0.5 * (turned.a0 + turned.a1)), 4 + r, 5 + r);

  // A whole circle is one item of a full turn; one too small to draw is not recorded.
  d.DrawCircle(d.pointAt({4, 5}), 2);
  EXPECT_NEAR(std::fabs(lastArc().a0 - lastArc().a1), 2 * kPi, 1e-5);
  const std::size_t n = list().items().size();
  d.DrawCircle(d.pointAt({4, 5}), 0.0001);
  EXPECT_EQ(list().items().size(), n);
}

// A fill is one shape, not its rings; an unfilled symbol erases its inside (white) before its
// outline is drawn in ink.
TEST_F(DisplayListTest, SymbolsAreFilledShapesAndKnockOutsComeFirst) {
  d.DrawPointSymbol(d.pointAt({2, 2}), 10, 8);  // solid square, half-size 0.1
  ASSERT_EQ(list().items().size(), 1u);
  EXPECT_EQ(last().kind, DisplayItem::Polygon);
  EXPECT_TRUE(last().ink);
  ASSERT_EQ(last().count, 4u);
  for (uint32_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(std::fabs(point(i).x - 2), 0.1, 1e-5);
    EXPECT_NEAR(std::fabs(point(i).y - 8), 0.1, 1e-5);
  }
  d.DrawPointSymbol(d.pointAt({4, 4}), 4, 8);  // unfilled circle
  const auto& items = list().items();
  ASSERT_GE(items.size(), 3u);
  const DisplayItem& knockOut = items[1];
  EXPECT_EQ(knockOut.kind, DisplayItem::Circle);
  EXPECT_TRUE(knockOut.filled);
  EXPECT_FALSE(knockOut.ink);
  EXPECT_NEAR(list().arcOf(knockOut).r, 1.08 * 0.1, 1e-6);
  EXPECT_EQ(items[2].kind, DisplayItem::Circle);
  EXPECT_TRUE(items[2].ink);
  EXPECT_FALSE(items[2].filled);
  // The pen comes back as it was.
  EXPECT_TRUE(d.state.PenDraw);

  // The arrowhead is its filled head under its four sides, not the strokes that fill it.
  d.state.A = {5, 5};
  d.state.B = {7, 5};
  const std::size_t before = items.size();
  d.DrawArrowhead();
  ASSERT_EQ(items.size(), before + 3);  // two sides from the tip, the back, the head
  EXPECT_EQ(items.back().kind, DisplayItem::Polygon);
  EXPECT_EQ(items.back().count, 4u);
  expectNear(point(items.back().first), 5, 5);  // the tip
}

// Pixels that have no vector form: the list becomes one opaque image of the raster then.
TEST_F(DisplayListTest, LoadsAndBlocksStartAgainFromTheRasterAndResetClears) {
  d.DrawLine(true, 1, 1, 4, 4, LineWidthTable[3]);
  test::TempDir dir;
  d.SaveGrl(dir.file("A.GRL"));
  EXPECT_EQ(list().items().size(), 1u);  // saving changes nothing
  d.LoadGrl(dir.file("A.GRL"));
  ASSERT_EQ(list().items().size(), 1u);
  ASSERT_EQ(last().kind, DisplayItem::Image);
  const DisplayImage& page = list().images()[last().first];
  EXPECT_TRUE(page.opaque);
  ASSERT_EQ(page.width, kRasterCols);
  ASSERT_EQ(page.height, kRasterRows);
  long same = 0;
  for (int r = 0; r < kRasterRows; r += 7)
    for (int c = 0; c < kRasterCols; c += 3) same += page.pixel(r, c) == d.image().pixel(r, c);
  EXPECT_EQ(same, long((kRasterRows + 6) / 7) * (kRasterCols / 3));

  // A file that is not a GRL changes nothing, the list included.
  d.DrawLine(true, 1, 9, 7, 9, LineWidthTable[1]);
  { std::ofstream(dir.file("B.GRL")) << "not a drawing"; }
  d.LoadGrl(dir.file("B.GRL"));
  EXPECT_EQ(list().items().size(), 2u);

  d.state.A = {1, 1};
  d.state.B = {2, 2};
  ASSERT_TRUE(d.DefineBlock());
  d.state.A = {5, 5};
  d.BlockTransfer(true);
  ASSERT_EQ(list().items().size(), 1u);
  EXPECT_TRUE(d.image().pixel(int(300 * (10 - 5.5)), int(300 * 5.5)));
  EXPECT_TRUE(list().images()[0].pixel(int(300 * (10 - 5.5)), int(300 * 5.5)));

  d.ResetDrawing();
  EXPECT_TRUE(list().empty());
  EXPECT_FALSE(list().overflowed());
}

// Past its bound the list gives way (the page is then written from the raster) until a reset.
TEST_F(DisplayListTest, AListThatGrowsWithoutEndGivesWay) {
  DisplayList l(1000, 100);
  for (std::size_t i = 0; i <= 100; ++i)
    l.segment(true, {float(i % 7), 1}, {float(i % 7), 2}, 0.01f);
  EXPECT_TRUE(l.overflowed());
  EXPECT_TRUE(l.empty());
  l.segment(true, {1, 1}, {2, 2}, 0.01f);
  EXPECT_TRUE(l.empty());
  l.clear();
  l.segment(true, {1, 1}, {2, 2}, 0.01f);
  EXPECT_EQ(l.items().size(), 1u);
  // Recording held off records nothing.
  {
    HoldRecording hold(l);
    EXPECT_FALSE(l.recording());
  }
  EXPECT_TRUE(l.recording());
}

}  // namespace
