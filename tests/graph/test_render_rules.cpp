// DrawGraph placement and edge rules measured on the page: where the axis labels stand for each
// way of writing linear numbers, constant data, grid lines under a numbering start delay, bars
// that meet a value a log axis cannot show, and zero-length dashed curves. Expected positions are
// worked out by hand from the placement rules (font code 3: one character is 0.1 in).

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "GraphPage.h"

using namespace plotane;

namespace {

constexpr double u = 0.1;  // character size of font code 3, the default number and label font

struct RulesTest : test::GraphPage {
  explicit RulesTest(double ax = 1, double ay = 1, double bx = 7, double by = 6)
      : GraphPage(ax, ay, bx, by) {}
  void column(int c, const char* name, const std::vector<double>& values) {
    store.NAMEDNEWSERIES(cols[c], name, "");
    for (std::size_t i = 0; i < values.size(); ++i) store.PUTVAL(cols[c], int(i), values[i]);
  }
  CurveDef& curve(int n, int x, int y, int lo, int hi, int type = kLineCurve) {
    CurveDef& c = graph.def.curve(n);
    c.XColumn = int16_t(x);
    c.YColumn = int16_t(y);
    c.LowIndex = int16_t(lo);
    c.HiIndex = int16_t(hi);
    c.CurveType = uint8_t(type);
    if (graph.def.CurveCount < n) graph.def.CurveCount = int16_t(n);
    return c;
  }
  static void manual(AxisDef& a, double unitsPerTick, int decimals) {
    a.ManualScaling = 1;
    a.Min = 0;
    a.UnitsPerTick = unitsPerTick;
    a.TickIntervals = 10;
    a.DecimalPlaces = uint8_t(decimals);
  }
  // The rightmost (or lowest) inked position in a page rectangle; NAN when it holds no ink.
  double rightmostInk(double X1, double Y1, double X2, double Y2) const {
    for (double X = X2; X >= X1; X -= 1.0 / 300)
      for (double Y = Y1; Y <= Y2; Y += 1.0 / 300)
        if (ink(X, Y)) return X;
    return NAN;
  }
  double lowestInk(double X1, double Y1, double X2, double Y2) const {
    for (double Y = Y1; Y <= Y2; Y += 1.0 / 300)
      for (double X = X1; X <= X2; X += 1.0 / 300)
        if (ink(X, Y)) return Y;
    return NAN;
  }
};

// The default graph corners (1.1, 6.0)-(7.7, 9.6). Both axes manual 0..10 ticks with one
// decimal and numbers up to 1000.0: w = 4 integer digits + 1 decimal + the point = 6.
struct LabelTest : RulesTest {
  LabelTest() : RulesTest(1.1, 6.0, 7.7, 9.6) {}
  void draw(bool xRotated, bool yRotated, bool outside = false) {
    column(0, "X", {0, 1000});
    column(1, "Y", {0, 1000});
    curve(1, 0, 1, 0, 1);
    manual(graph.def.X, 100, 1);
    manual(graph.def.Y, 100, 1);
    graph.def.X.Numbers90 = uint8_t(xRotated);
    graph.def.Y.Numbers90 = uint8_t(yRotated);
    graph.def.Y.TicksInside = uint8_t(!outside);
    graph.def.Y.TickLength = 0.06f;
    graph.def.X.LabelMode = graph.def.Y.LabelMode = 1;
    graph.def.X.Label = graph.def.Y.Label = "HEH";
    graph.DrawGraph(d, text);
    ASSERT_FALSE(store.StoreError) << host.lastMessage();
  }
  // The Y label is written upwards with its baseline on the right: the rightmost ink of the
  // label's band, left of where any number can reach.
  double yLabelBaseline(double numbersReachTo) const {
    return rightmostInk(0, 7.8 - 0.2, numbersReachTo, 7.8 + 0.2);
  }
  // The X label's baseline is its lowest ink, under the numbers.
  double xLabelBaseline(double numbersReachTo) const {
    return lowestInk(4.4 - 0.2, 4.0, 4.4 + 0.2, numbersReachTo);
  }
};

constexpr double kTol = 0.02;  // half the stroke width and the glyph's own edge

TEST_F(LabelTest, UnrotatedNumbersMoveTheLabelsOutByTheirWidth) {
  draw(false, false);
  // Y: LeftmostX = 1.1 - w u = 0.5; the label moves 2 x 1.5 u further left: 0.2 in.
  // (Numbers start at 1.1 - (length + 1) u, right of 0.4.)
  EXPECT_NEAR(yLabelBaseline(0.35), 0.2, kTol);
  // X: each number starts 2 x 1.0 u below the axis, LowestY = 5.8; the label 3 u lower: 5.5.
  EXPECT_NEAR(xLabelBaseline(5.75), 5.5, kTol);
}

TEST_F(LabelTest, RotatedNumbersPlaceTheLabelsByTheRule) {
  draw(true, true);
  // Turned Y numbers leave LeftmostX at the corner: the label's baseline is 3 u left of it.
  // (The numbers' baselines stand 1 u left of the axis; their ink reaches to 0.89.)
  EXPECT_NEAR(yLabelBaseline(0.85), 0.8, kTol);
  // Turned X numbers lower LowestY once, to the corner moved w u down: 5.4; label at 5.1.
  EXPECT_NEAR(xLabelBaseline(5.25), 5.1, kTol);
}

TEST_F(LabelTest, OutsideTicksMoveTheYLabelByTheTickLength) {
  draw(false, false, true);
  EXPECT_NEAR(yLabelBaseline(0.3), 0.2 - 0.06, kTol);
}

TEST_F(RulesTest, ConstantDataDrawsAtAnyMagnitude) {
  column(0, "X", {1, 2, 3});
  for (double v : {3.0, 6.0, 100.0}) {
    d.ResetDrawing();
    host.clear();
    column(1, "Y", {v, v, v});
    graph.def.CurveCount = 0;
    curve(1, 0, 1, 0, 2);
    graph.DrawGraph(d, text);
    EXPECT_FALSE(store.StoreError) << v << ": " << host.lastMessage();
    EXPECT_TRUE(host.messages.empty()) << v;
    EXPECT_NEAR(graph.lastY.first(), v - 5e-9, 1e-12) << v;
    EXPECT_EQ(graph.lastY.n, 16) << v;
    // The curve lies on the tick of v: 5e-9 above the bottom over a span of 8e-8.
    EXPECT_TRUE(inkIn(3.9, 1 + 5.0 / 16 - 0.01, 4.1, 1 + 5.0 / 16 + 0.01)) << v;
  }
  // A constant so large that the axis ends meet in double precision is still refused.
  column(1, "Y", {1e12, 1e12, 1e12});
  graph.DrawGraph(d, text);
  EXPECT_EQ(host.lastMessage(), "Error specifying Y axis");
}

TEST_F(RulesTest, GridLinesIgnoreTheNumberingStartDelay) {
  column(0, "X", {0, 10});
  column(1, "Y", {0, 0});
  curve(1, 0, 1, 0, 1);
  manual(graph.def.X, 1, 0);
  manual(graph.def.Y, 1, 0);
  graph.def.Y.NumberingInterval = 2;
  graph.def.Y.NumberingStartDelay = 2;
  graph.def.Y.GridLines = 1;
  graph.DrawGraph(d, text);
  ASSERT_FALSE(store.StoreError) << host.lastMessage();
  // Numbers at 2, 4, ..., 10 (left of the axis); grid lines across the box at 1, 3, 5, 7, 9.
  for (int j = 1; j <= 9; ++j) {
    const double Y = 1 + 0.5 * j;
    EXPECT_EQ(ink(4.03, Y), j % 2 == 1) << j;
    EXPECT_EQ(inkIn(0.5, Y - 0.03, 0.95, Y + 0.03), j % 2 == 0) << j;
  }
}

// On a log Y axis (user limits 1..100, so scaling reads no data) curve 3 holds a 0 at index 2.
// Curve 1's bars to curve 3 stop there; curve 2's bars to curve 1, and the curves before the
// failing one, are still drawn. X runs 0..6 on 1 in per unit; Y 2.5 in per decade.
TEST_F(RulesTest, ABarThatMeetsANonPositiveValueStopsOnlyItsOwnCurve) {
  column(0, "X", {1, 2, 3, 4, 5});
  column(1, "Y1", {2, 2, 2, 2, 2});
  column(2, "X2", {1.5, 2.5, 3.5, 4.5, 5.5});
  column(3, "Y2", {50, 50, 50, 50, 50});
  column(4, "Y3", {5, 5, 0, 5, 5});
  curve(1, 0, 1, 0, 4).BarCurve = 3;
  curve(2, 2, 3, 0, 4).BarCurve = 1;
  curve(3, 0, 4, 0, 4, kPointsCurve);
  manual(graph.def.X, 1, 0);
  graph.def.X.TickIntervals = 6;
  AxisDef& y = graph.def.Y;
  y.LogAxis = 1;
  y.MinUserSpec = y.MaxUserSpec = 1;
  y.Min = 1;
  y.Max = 100;
  graph.DrawGraph(d, text);
  EXPECT_TRUE(store.StoreError);  // the graph is not complete
  EXPECT_TRUE(host.messages.empty());
  auto pageY = [](double v) { return 1 + 2.5 * std::log10(v); };
  auto pageX = [](double x) { return 1 + x; };
  // Curve 1's bars at indices 0 and 1, none from index 2 on.
  EXPECT_TRUE(inkIn(pageX(1) - 0.005, pageY(3), pageX(1) + 0.005, pageY(3)));
  EXPECT_TRUE(inkIn(pageX(2) - 0.005, pageY(3), pageX(2) + 0.005, pageY(3)));
  EXPECT_FALSE(inkIn(pageX(4) - 0.01, pageY(2.5), pageX(4) + 0.01, pageY(4)));
  // Curve 2's bars (curve 2 to curve 1 at index 3) are all there.
  EXPECT_TRUE(inkIn(pageX(4.25) - 0.01, pageY(10) - 0.05, pageX(4.25) + 0.01, pageY(10) + 0.05));
  // The lines of curves 1 and 2, and curve 3's symbols before the bad value.
  EXPECT_TRUE(inkIn(pageX(3.5), pageY(2) - 0.01, pageX(3.5), pageY(2) + 0.01));
  EXPECT_TRUE(inkIn(pageX(3), pageY(50) - 0.01, pageX(3), pageY(50) + 0.01));
  EXPECT_TRUE(inkIn(pageX(2) - 0.05, pageY(5) - 0.05, pageX(2) + 0.05, pageY(5) + 0.05));
  EXPECT_FALSE(inkIn(pageX(4) - 0.05, pageY(5) - 0.05, pageX(4) + 0.05, pageY(5) + 0.05));
}

TEST_F(RulesTest, ZeroLengthDashedAndIntermittentCurvesDrawADot) {
  for (int type : {kLineCurve, kDashedCurve, kIntermittentCurve}) {
    d.ResetDrawing();
    column(0, "X", {5, 5});
    column(1, "Y", {5, 5});
    graph.def.CurveCount = 0;
    curve(1, 0, 1, 0, 1, type);
    manual(graph.def.X, 1, 0);
    manual(graph.def.Y, 1, 0);
    graph.def.X.NumbersSuppressed = graph.def.Y.NumbersSuppressed = 1;
    graph.DrawGraph(d, text);
    ASSERT_FALSE(store.StoreError) << type;
    EXPECT_TRUE(ink(1 + 0.6 * 5, 1 + 0.5 * 5)) << type;
  }
}

}  // namespace
