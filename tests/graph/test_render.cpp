// DrawGraph on a real drawing: the box on the cursors, ticks where the scale puts them, numbers
// only under numbered ticks, dashed curves, the failure messages and the freeze write-back.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "GraphPage.h"

using namespace plotane;

namespace {

struct RenderTest : test::GraphPage {
  RenderTest() : GraphPage(1, 1, 7, 6) {}
  void column(int c, const char* name, const std::vector<double>& values) {
    store.NAMEDNEWSERIES(cols[c], name, "");
    for (std::size_t i = 0; i < values.size(); ++i) store.PUTVAL(cols[c], int(i), values[i]);
  }
  void curve(int n, int x, int y, int lo, int hi, int type = kLineCurve) {
    CurveDef& c = graph.def.curve(n);
    c.XColumn = int16_t(x);
    c.YColumn = int16_t(y);
    c.LowIndex = int16_t(lo);
    c.HiIndex = int16_t(hi);
    c.CurveType = uint8_t(type);
    if (graph.def.CurveCount < n) graph.def.CurveCount = int16_t(n);
  }
  // Both axes 0..10 by 1, numbered every other tick, no decimals: 0.6 in per X unit on the
  // 6 in wide box, 0.5 in per Y unit on the 5 in high one.
  void manualAxes() {
    for (AxisDef* a : {&graph.def.X, &graph.def.Y}) {
      a->ManualScaling = 1;
      a->Min = 0;
      a->UnitsPerTick = 1;
      a->TickIntervals = 10;
      a->DecimalPlaces = 0;
    }
  }
};

TEST_F(RenderTest, BoxLiesOnTheCursorsAndTicksOnTheScale) {
  manualAxes();
  column(0, "X", {2, 8});
  column(1, "Y", {9, 9.5});
  curve(1, 0, 1, 0, 1);
  graph.DrawGraph(d, text);
  ASSERT_FALSE(store.StoreError) << host.lastMessage();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(graph.def.CornerA, (PageCorner{1, 1}));
  EXPECT_EQ(graph.def.CornerB, (PageCorner{7, 6}));
  for (double t = 0.05; t < 1; t += 0.1) {
    EXPECT_TRUE(ink(1, 1 + 5 * t)) << t;     // left edge on the A-cursor's column
    EXPECT_TRUE(ink(7, 1 + 5 * t)) << t;     // closed box: right edge on the B-cursor's
    EXPECT_TRUE(ink(1 + 6 * t, 1)) << t;     // bottom on the A-cursor's row
    EXPECT_TRUE(ink(1 + 6 * t, 6)) << t;     // top
    EXPECT_FALSE(ink(1 + 6 * t, 0.9)) << t;  // nothing just outside below
  }
  // Inside X ticks (0.04 in) at 1 + 0.6 j, mirrored under the top edge; none in between.
  for (int j = 1; j < 10; ++j) {
    const double X = 1 + 0.6 * j;
    EXPECT_TRUE(ink(X, 1.02)) << j;
    EXPECT_TRUE(ink(X, 5.98)) << j;
    EXPECT_FALSE(ink(X, 1.06)) << j;  // the tick ends at 0.04 in
    EXPECT_FALSE(inkIn(X + 0.2, 1.01, X + 0.4, 1.03)) << j;
    const double Y = 1 + 0.5 * j;
    EXPECT_TRUE(ink(1.02, Y)) << j;
    EXPECT_TRUE(ink(6.98, Y)) << j;
  }
  // Numbers only under every other tick: 0, 2, ... under the axis, nothing under odd ticks.
  for (int j = 0; j <= 10; ++j) {
    const double X = 1 + 0.6 * j;
    EXPECT_EQ(inkIn(X - 0.1, 0.6, X + 0.1, 0.95), j % 2 == 0) << j;
  }
}

TEST_F(RenderTest, DashedCurveShorterThanOneDashShowsThreePieces) {
  manualAxes();
  // 5.0 to 5.15 on X is 0.09 in, under the 0.1 in dash of width code 2.
  column(0, "X", {5.0, 5.15});
  column(1, "Y", {5, 5});
  curve(1, 0, 1, 0, 1, kDashedCurve);
  graph.def.X.NumbersSuppressed = graph.def.Y.NumbersSuppressed = 1;
  graph.DrawGraph(d, text);
  ASSERT_FALSE(store.StoreError);
  // Along the curve's row: ink, a gap, ink.
  const double Y = 1 + 0.5 * 5, X0 = 1 + 0.6 * 5;
  int runs = 0;
  bool prev = false;
  for (int px = -6; px <= 33; ++px) {
    const bool on = ink(X0 + px / 300.0, Y);
    if (on && !prev) ++runs;
    prev = on;
  }
  EXPECT_EQ(runs, 2);
  EXPECT_TRUE(ink(X0 + 0.015, Y));
  EXPECT_FALSE(ink(X0 + 0.045, Y));
  EXPECT_TRUE(ink(X0 + 0.075, Y));
}

TEST_F(RenderTest, CurvesOfEveryTypeAndBarsInk) {
  manualAxes();
  column(0, "X", {1, 3, 5, 7, 9});
  column(1, "Y", {2, 2, 2, 2, 2});
  column(2, "Z", {8, 8, 8, 8, 8});
  for (int type = 0; type <= 5; ++type) {
    d.ResetDrawing();
    graph.def.CurveCount = 0;
    curve(1, 0, 1, 0, 4, type);
    curve(2, 0, 2, 0, 4, kPointsCurve);
    graph.def.curve(1).BarCurve = 2;
    graph.DrawGraph(d, text);
    ASSERT_FALSE(store.StoreError) << type;
    // Bars join the two curves at every index; curve 2's hollow circles sit on Y = 8, their
    // insides knocked out.
    EXPECT_TRUE(inkIn(1 + 0.6 * 3 - 0.005, 3.5, 1 + 0.6 * 3 + 0.005, 3.5)) << type;
    EXPECT_TRUE(inkIn(1 + 0.6 * 5 - 0.04, 5, 1 + 0.6 * 5 + 0.04, 5)) << type;
    EXPECT_FALSE(ink(1 + 0.6 * 5, 1 + 0.5 * 8)) << type;
    // Every type puts ink at its first data point.
    EXPECT_TRUE(inkIn(1 + 0.6 - 0.04, 2 - 0.04, 1 + 0.6 + 0.04, 2 + 0.04)) << type;
    // Lines between points for lines, dashes and connected points; not for points and dots.
    const bool joined = type == 0 || type == 1 || type == 2 || type == 4;
    EXPECT_EQ(inkIn(1 + 0.6 * 2 - 0.005, 2 - 0.005, 1 + 0.6 * 2 + 0.005, 2 + 0.005), joined)
        << type;
  }
}

TEST_F(RenderTest, FailuresReportAndDrawNothing) {
  graph.DrawGraph(d, text);
  EXPECT_EQ(host.lastMessage(), "No curves defined");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(d.image().countInk(), 0);
  // With all four limits given an empty graph is drawn: axes only.
  for (AxisDef* a : {&graph.def.X, &graph.def.Y}) a->MinUserSpec = a->MaxUserSpec = 1;
  host.clear();
  graph.DrawGraph(d, text);
  EXPECT_FALSE(store.StoreError);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(ink(1, 3) && ink(4, 1));
  d.ResetDrawing();
  for (AxisDef* a : {&graph.def.X, &graph.def.Y}) a->MinUserSpec = a->MaxUserSpec = 0;

  column(0, "X", {1, 2, 3});
  column(1, "Y", {0, 2, 3});
  curve(1, 0, 1, 0, 2);
  d.SetBCursor(0.5, 6);
  graph.DrawGraph(d, text);
  EXPECT_EQ(host.lastMessage(), "Cursors positioned for nil graph");
  d.SetBCursor(7, 6);

  graph.def.Y.LogAxis = 1;  // Y holds a zero
  d.SetACursor(1.5, 1);
  graph.DrawGraph(d, text);
  EXPECT_EQ(host.lastMessage(), "Error specifying Y axis");
  EXPECT_EQ(graph.def.CornerA, (PageCorner{1.5, 1}));  // corners follow even on failure
  graph.def.Y.LogAxis = 0;
  graph.def.X.LogAxis = 1;
  graph.def.X.MinUserSpec = 1;
  graph.def.X.Min = 0;  // a log axis cannot start at zero
  graph.DrawGraph(d, text);
  EXPECT_EQ(host.lastMessage(), "Error specifying X axis");
  EXPECT_EQ(d.image().countInk(), 0);

  // With both log limits given the data is first read while drawing: the curve stops there,
  // silently, after the axes.
  graph.def.X.LogAxis = 0;
  graph.def.X.MinUserSpec = 0;
  graph.def.Y.LogAxis = 1;
  graph.def.Y.MinUserSpec = graph.def.Y.MaxUserSpec = 1;
  graph.def.Y.Min = 1;
  graph.def.Y.Max = 10;
  host.clear();
  graph.DrawGraph(d, text);
  EXPECT_TRUE(store.StoreError);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_GT(d.image().countInk(), 0);
}

TEST_F(RenderTest, FreezeWritesTheScalesBackAndStateIsRestored) {
  column(0, "X", {0.52, 9.7});
  column(1, "Y", {2, 200});
  curve(1, 0, 1, 0, 1);
  graph.def.Y.LogAxis = 1;
  graph.FreezeRequest = true;
  text.SetFontCode(7);
  d.SetLineCode(4);
  d.SetTextAngle(30);
  graph.DrawGraph(d, text);
  ASSERT_FALSE(store.StoreError) << host.lastMessage();
  EXPECT_FALSE(graph.FreezeRequest);
  EXPECT_TRUE(graph.def.X.MinUserSpec && graph.def.X.MaxUserSpec);
  EXPECT_DOUBLE_EQ(graph.def.X.Min, 0);
  EXPECT_DOUBLE_EQ(graph.def.X.Max, 10);
  EXPECT_NEAR(graph.def.Y.Min, 1, 1e-9);  // 2 sits on a tick: one position lower
  EXPECT_NEAR(graph.def.Y.Max, 200, 1e-9);
  EXPECT_EQ(d.state.FontCode, 7);
  EXPECT_EQ(d.state.LineCode, 4);
  EXPECT_EQ(d.state.TextAngle, 30);
  EXPECT_EQ(host.busyDepth, 0);
  EXPECT_GT(host.busyCalls, 0);
}

TEST_F(RenderTest, DataFarOutsideUserLimitsStillEnds) {
  column(0, "X", {0, 1, 2, 3});
  column(1, "Y", {0, 3e30f, -3e30f, 1});
  for (int type = 0; type <= 5; ++type) {
    graph.def.CurveCount = 0;
    curve(1, 0, 1, 0, 3, type);
    graph.def.Y.MinUserSpec = graph.def.Y.MaxUserSpec = 1;
    graph.DrawGraph(d, text);
    EXPECT_FALSE(store.StoreError) << type;
  }
}

TEST_F(RenderTest, MissingValuesLeaveGapsInsteadOfWreckingTheScale) {
  manualAxes();
  graph.def.Y.ManualScaling = 0;
  column(0, "X", {1, 2, 3, 4});
  column(1, "Y", {1, 2, 3, 4});
  store.PUTVAL(cols[1], 2, double(MissingValue));
  curve(1, 0, 1, 0, 3);
  graph.DrawGraph(d, text);
  ASSERT_FALSE(store.StoreError) << host.lastMessage();
  // Y runs 0.8..4.2 by 0.2 (the missing value is not data): 5 in over 3.4 units.
  ASSERT_DOUBLE_EQ(graph.lastY.first(), 0.8);
  ASSERT_DOUBLE_EQ(graph.lastY.last(), 4.2);
  auto pageY = [](double v) { return 1 + 5 * (v - 0.8) / 3.4; };
  EXPECT_TRUE(inkIn(1.9 - 0.005, pageY(1.5) - 0.005, 1.9 + 0.005, pageY(1.5) + 0.005));
  EXPECT_FALSE(inkIn(2.8 - 0.01, pageY(3) - 0.01, 2.8 + 0.01, pageY(3) + 0.01));  // the gap
}

}  // namespace

namespace {

// Records of random bytes (any curve count, flags, codes, reals, NaNs) must render or fail
// cleanly: no crash, no hang, no write outside the page.
TEST_F(RenderTest, ArbitraryRecordsNeverCrash) {
  column(0, "X", {1, 2, 3, 4, 5});
  column(1, "Y", {-1, 0.5, 2, 8, 3});
  uint32_t seed = 12345;
  int drawn = 0;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return uint8_t(seed >> 24);
  };
  for (int round = 0; round < 150; ++round) {
    GraphDefImage img{};
    for (auto& b : img) b = next();
    img[0] = uint8_t(next() % 5);
    img[1] = 0;
    // Curves point at the two data columns most of the time, with a sane index range.
    for (int c = 0; c < 32; ++c) {
      uint8_t* p = img.data() + 246 + 12 * c;
      if (next() % 4) {
        p[0] = next() % 2, p[1] = 0;
        p[2] = next() % 2, p[3] = 0;
        p[4] = next() % 3, p[5] = 0;
        p[6] = uint8_t(2 + next() % 3), p[7] = 0;
      }
    }
    GraphDef g;
    ASSERT_TRUE(DecodeGraphDef(img, g));
    // Every other round keeps the reals plausible so the drawing code is reached.
    if (round % 2 == 0) {
      for (AxisDef* a : {&g.X, &g.Y}) {
        a->Min = (next() % 40) * 0.25 - 2;
        a->Max = a->Min + (next() % 40) * 0.5 + 0.1;
        a->UnitsPerTick = (next() % 20) * 0.1 - 0.5;
        a->TickLength = float((next() % 20) * 0.01 - 0.05);
        a->NominalTicks = float(next() % 30);
        a->TickIntervals = float((next() % 40) * 0.5);
      }
    }
    graph.def = g;
    host.clear();
    graph.DrawGraph(d, text);
    drawn += store.StoreError ? 0 : 1;
  }
  EXPECT_GT(drawn, 10);
}

}  // namespace
