// Axis scaling rules: step choice, end ticks, log decades and densities, manual scaling, equal
// length re-ticking and which ticks are numbered. Expected values are worked out by hand from
// the rules.

#include <gtest/gtest.h>

#include <cmath>

#include "graph/Scaling.h"

using namespace plotane;

namespace {

std::vector<int> numberedIndices(const std::vector<bool>& v) {
  std::vector<int> r;
  for (std::size_t i = 0; i < v.size(); ++i)
    if (v[i]) r.push_back(int(i));
  return r;
}

TEST(LinearScale, HalfUnitStepFromZeroToTen) {
  AxisScale s;
  ASSERT_TRUE(LinearAutoScale(0.52, 9.7, 14, false, false, s));
  EXPECT_DOUBLE_EQ(s.step, 0.5);
  EXPECT_EQ(s.m, 3);
  EXPECT_EQ(s.e, 0);
  EXPECT_EQ(s.n, 20);
  EXPECT_DOUBLE_EQ(s.first(), 0.0);
  EXPECT_DOUBLE_EQ(s.last(), 10.0);
  EXPECT_DOUBLE_EQ(s.t[7], 3.5);
  // 21 ticks (17 or more) with mantissa 0.5: every 4th tick, from 0 (an even multiple).
  AxisDef a;
  EXPECT_EQ(NumberingEvery(s, a), 4);
  EXPECT_TRUE(s.FirstNumbered);
  EXPECT_EQ(numberedIndices(NumberedTicks(s, a, 4)), (std::vector<int>{0, 4, 8, 12, 16, 20}));
}

TEST(LinearScale, AllZeroDataStillMakesAnAxis) {
  AxisScale s;
  ASSERT_TRUE(LinearAutoScale(0, 0, 14, false, false, s));
  // hi = 2e-10 gives a raw step below 5e-9: raw = 5e-9, hi = 7e-8; step 0.5 x 10^-8.
  EXPECT_EQ(s.m, 3);
  EXPECT_EQ(s.e, -8);
  EXPECT_NEAR(s.step, 5e-9, 1e-20);
  EXPECT_NEAR(s.first(), -5e-9, 1e-20);
  EXPECT_NEAR(s.last(), 7.5e-8, 1e-20);
  EXPECT_EQ(s.n, 16);
}

TEST(LinearScale, UserMinimumOffTheStepAlignsTicksToTheMaximum) {
  AxisScale s;
  ASSERT_TRUE(LinearAutoScale(0.3, 9.7, 14, true, false, s));
  EXPECT_DOUBLE_EQ(s.step, 0.5);
  EXPECT_EQ(s.n, 20);  // Trunc(9.7 / 0.5) + 1
  EXPECT_DOUBLE_EQ(s.first(), 0.3);
  EXPECT_DOUBLE_EQ(s.t[1], 0.5);
  EXPECT_DOUBLE_EQ(s.t[2], 1.0);
  EXPECT_DOUBLE_EQ(s.last(), 10.0);
}

TEST(LinearScale, OddStartClearsFirstNumberedAndLimitsAreEnforced) {
  AxisScale s;
  // -0.62..3.1, raw 0.266: step 0.2 (|ln(0.2/0.266)| = 0.28 against 0.41 for 0.4).
  ASSERT_TRUE(LinearAutoScale(-0.62, 3.1, 14, false, false, s));
  EXPECT_EQ(s.m, 1);
  EXPECT_DOUBLE_EQ(s.first(), -0.8);  // (Round(-3.1) - 1) x 0.2
  AxisDef a;
  EXPECT_EQ(NumberingEvery(s, a), 4);  // m = 1 leaves FirstNumbered alone
  EXPECT_TRUE(s.FirstNumbered);

  ASSERT_TRUE(LinearAutoScale(-0.95, 6.0, 14, false, false, s));  // raw 0.496: step 0.5
  EXPECT_EQ(s.m, 3);
  EXPECT_DOUBLE_EQ(s.first(), -1.5);  // (Round(-1.9) - 1) x 0.5: an odd multiple
  EXPECT_EQ(NumberingEvery(s, a), 2);
  EXPECT_FALSE(s.FirstNumbered);
  EXPECT_EQ(numberedIndices(NumberedTicks(s, a, 2)).front(), 1);

  EXPECT_FALSE(LinearAutoScale(2, 1, 14, false, false, s));       // lo > hi
  EXPECT_FALSE(LinearAutoScale(0, 1, 1000, true, true, s));       // 1001 ticks
  EXPECT_FALSE(LinearAutoScale(0, 1, 0, false, false, s));        // no nominal tick count
  EXPECT_FALSE(LinearAutoScale(0, 3.4e38, 14, false, false, s));  // beyond every step
}

TEST(LogScale, ThreeDecadesDenseStartOnePositionLower) {
  AxisScale s;
  ASSERT_TRUE(LogAutoScale(0, 3, false, false, s));
  EXPECT_TRUE(s.dense);
  EXPECT_EQ(s.n, 28);  // 0.9, 1..9, 10..90, 100..1000
  EXPECT_NEAR(s.first(), std::log10(0.9), 1e-12);
  EXPECT_NEAR(s.t[1], 0.0, 1e-12);
  EXPECT_NEAR(s.t[2], std::log10(2.0), 1e-12);
  EXPECT_NEAR(s.t[10], 1.0, 1e-12);
  EXPECT_NEAR(s.t[11], std::log10(20.0), 1e-12);
  EXPECT_NEAR(s.last(), 3.0, 1e-12);

  // With a user minimum of 1 the axis starts at 1.
  ASSERT_TRUE(LogAutoScale(0, 3, true, false, s));
  EXPECT_EQ(s.n, 27);
  EXPECT_EQ(s.first(), 0.0);
}

TEST(LogScale, SixDecadesSparse) {
  AxisScale s;
  ASSERT_TRUE(LogAutoScale(0, 6, false, false, s));
  EXPECT_FALSE(s.dense);
  EXPECT_EQ(s.n, 31);  // 0.8, then 1 2 4 6 8 in six decades, then 10^6
  EXPECT_NEAR(s.first(), std::log10(0.8), 1e-12);
  EXPECT_NEAR(s.t[3], std::log10(4.0), 1e-12);
  EXPECT_NEAR(s.t[6], 1.0, 1e-12);
  EXPECT_NEAR(s.last(), 6.0, 1e-12);
  int D = 0, p = 0;
  ASSERT_TRUE(LogPosition(s.t[4], false, D, p));  // 6 is position 4 of the sparse table
  EXPECT_EQ(D, 1);
  EXPECT_EQ(p, 4);
  EXPECT_FALSE(LogPosition(std::log10(3.0), false, D, p));
}

TEST(LogScale, HundredthToOne) {
  AxisScale s;
  ASSERT_TRUE(LogAutoScale(-2, 0, false, false, s));
  EXPECT_TRUE(s.dense);
  EXPECT_EQ(s.n, 19);  // 0.009, 0.01..0.09, 0.1..0.9, 1
  EXPECT_NEAR(s.first(), std::log10(0.009), 1e-12);
  EXPECT_NEAR(s.t[1], -2.0, 1e-12);
  EXPECT_NEAR(s.last(), 0.0, 1e-12);
  // Between positions the ends round outward: 3..250 gives 3 (lo on a tick: 2) .. 300.
  ASSERT_TRUE(LogAutoScale(std::log10(3.0), std::log10(250.0), false, false, s));
  EXPECT_NEAR(s.first(), std::log10(2.0), 1e-12);
  EXPECT_NEAR(s.last(), std::log10(300.0), 1e-12);
}

TEST(ManualScale, HalfTickLastIntervalIsNotNumbered) {
  AxisDef a;
  a.ManualScaling = 1;
  a.Min = 0;
  a.UnitsPerTick = 1;
  a.TickIntervals = 7.5f;
  a.DecimalPlaces = 0;
  AxisScale s;
  ASSERT_TRUE(ManualScale(a, s));
  EXPECT_EQ(s.n, 8);
  EXPECT_DOUBLE_EQ(s.t[7], 7.0);
  EXPECT_DOUBLE_EQ(s.last(), 7.5);
  EXPECT_EQ(s.e, 1);
  EXPECT_FALSE(s.LastNumbered);
  EXPECT_EQ(NumberingEvery(s, a), 2);
  EXPECT_EQ(numberedIndices(NumberedTicks(s, a, 2)), (std::vector<int>{0, 2, 4, 6}));

  a.TickIntervals = 8;
  ASSERT_TRUE(ManualScale(a, s));
  EXPECT_TRUE(s.LastNumbered);
  EXPECT_EQ(numberedIndices(NumberedTicks(s, a, 2)), (std::vector<int>{0, 2, 4, 6, 8}));
  // A start delay of 3 skips the first three ticks' numbers.
  a.NumberingStartDelay = 3;
  EXPECT_EQ(numberedIndices(NumberedTicks(s, a, 2)), (std::vector<int>{3, 5, 7}));
  EXPECT_FALSE(s.FirstNumbered);

  // A downward axis, and the refusals: no extent, too many ticks.
  a.UnitsPerTick = -2;
  a.TickIntervals = 3;
  ASSERT_TRUE(ManualScale(a, s));
  EXPECT_EQ(s.t, (std::vector<double>{0, -2, -4, -6}));
  a.UnitsPerTick = 0;
  EXPECT_FALSE(ManualScale(a, s));
  a.UnitsPerTick = 1;
  a.TickIntervals = 400;
  EXPECT_FALSE(ManualScale(a, s));
}

TEST(EqualScale, FixedXAxisReticksYOnly) {
  AxisDef ax, ay;
  ax.ManualScaling = 1;
  ax.Min = 0;
  ax.UnitsPerTick = 1;
  ax.TickIntervals = 10;
  ax.DecimalPlaces = 0;
  AxisScale xs, ys;
  ASSERT_TRUE(ManualScale(ax, xs));
  ASSERT_TRUE(LinearAutoScale(0.52, 9.7, 14, false, false, ys));
  const std::vector<double> xBefore = xs.t;
  bool errA = true;
  char which = 0;
  // X: 6.6 in over 10 units = 0.66 in/unit; Y: 3.6 in over 0..10 = 0.36 in/unit.
  ASSERT_TRUE(EqualLengthScale(xs, ax, 6.6, ys, ay, 3.6, errA, which));
  EXPECT_FALSE(errA);
  EXPECT_EQ(which, 'Y');
  EXPECT_EQ(xs.t, xBefore);
  // Y spans 3.6 / 0.66 = 5.4545 units by X's step 1; (Round(0) - 1) + span misses 10, so the
  // ticks start at the old minimum.
  ASSERT_EQ(ys.n, 6);
  EXPECT_DOUBLE_EQ(ys.t[5], 5.0);
  EXPECT_NEAR(ys.last(), 3.6 / 0.66, 1e-12);
  EXPECT_FALSE(ys.LastNumbered);
  EXPECT_EQ(ys.step, 1.0);
  EXPECT_EQ(ys.e, 1);  // X's exponent: 1 - DecimalPlaces
  EXPECT_EQ(ys.m, 0);
}

TEST(EqualScale, FreeXAxisWithTheSmallerScaleIsStretched) {
  AxisDef ax, ay;
  AxisScale xs, ys;
  ASSERT_TRUE(LinearAutoScale(0.52, 9.7, 14, false, false, xs));  // 0..10 by 0.5
  ASSERT_TRUE(LinearAutoScale(0.1, 1.9, 14, false, false, ys));   // raw 0.129: step 0.1, 0..2
  ASSERT_DOUBLE_EQ(ys.step, 0.1);
  ASSERT_DOUBLE_EQ(ys.last(), 2.0);
  bool errA = false;
  char which = 0;
  // X 5 in / 10 = 0.5 in/unit; Y 4 in / 2 = 2 in/unit: SY > SX, so Y is re-ticked to 0.5.
  ASSERT_TRUE(EqualLengthScale(xs, ax, 5, ys, ay, 4, errA, which));
  EXPECT_EQ(which, 'Y');
  // Span 8 by X's step 0.5; start (Round(0) - 1) x 0.5 = -0.5 reaches 2, so it is used.
  EXPECT_DOUBLE_EQ(ys.first(), -0.5);
  EXPECT_DOUBLE_EQ(ys.last(), 7.5);
  EXPECT_EQ(ys.n, 16);
  EXPECT_TRUE(ys.LastNumbered);

  // Only a user maximum: ticks run down from it.
  ay.MaxUserSpec = 1;
  ASSERT_TRUE(LinearAutoScale(0.1, 1.9, 14, false, true, ys));
  ASSERT_TRUE(EqualLengthScale(xs, ax, 5, ys, ay, 0.95, errA, which));
  // SY = 0.95 / (1.9 - 0) = 0.5 = SX exactly, Y fixed? no: equal scales leave both alone.
  EXPECT_EQ(which, 0);
  ASSERT_TRUE(EqualLengthScale(xs, ax, 5, ys, ay, 0.8, errA, which));
  EXPECT_EQ(which, 'X');  // SY 0.42 < SX: X stretched to Y's scale and step
  EXPECT_DOUBLE_EQ(xs.step, 0.1);
}

TEST(EqualScale, LogReticking) {
  AxisDef a;
  AxisScale s;
  ASSERT_TRUE(LogAutoScale(0, 3, false, false, s));  // 0.9 .. 1000
  // 6 in at 1.5 in per decade: four decades ending at the old maximum.
  LogRetickResult r = RetickLog(s, a, 6, 1.5, true);
  ASSERT_TRUE(r.ok);
  EXPECT_FALSE(r.offPosition);
  EXPECT_NEAR(s.first(), -1.0, 1e-12);  // the decade below 0.9 is reached: 0.1
  EXPECT_NEAR(s.t[1], std::log10(0.2), 1e-12);
  EXPECT_EQ(s.n, 36);
  EXPECT_NEAR(s.last(), 3.0, 1e-12);
  EXPECT_TRUE(s.FirstNumbered);
  EXPECT_TRUE(s.LastNumbered);

  // A minimum on no position: the ticks start from it ("ERR A").
  s.t = {0.05, 1.0, 2.0};
  s.n = 2;
  s.dense = true;
  r = RetickLog(s, a, 3, 1, true);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.offPosition);
  EXPECT_FALSE(s.FirstNumbered);
  EXPECT_DOUBLE_EQ(s.first(), 0.05);
  EXPECT_NEAR(s.t[1], std::log10(2.0), 1e-12);
  EXPECT_NEAR(s.t[s.n - 1], 3.0, 1e-12);
  EXPECT_NEAR(s.last(), 3.05, 1e-12);
  EXPECT_FALSE(s.LastNumbered);

  // With a user minimum: from it over the span, ends numbered only on positions.
  a.MinUserSpec = 1;
  ASSERT_TRUE(LogAutoScale(std::log10(2.0), 2, true, false, s));
  r = RetickLog(s, a, 2, 1, true);
  ASSERT_TRUE(r.ok);
  EXPECT_NEAR(s.first(), std::log10(2.0), 1e-12);
  EXPECT_NEAR(s.last(), std::log10(200.0), 1e-12);
  EXPECT_TRUE(s.FirstNumbered);
  EXPECT_TRUE(s.LastNumbered);
}

// Constant data: raw step 0 becomes 5e-9, hi = lo + 14 x 5e-9; step 0.5 x 10^-8 (m = 3,
// e = -8); min = (Round(v / 5e-9) - 1) x 5e-9 = v - 5e-9, max = (Round(v / 5e-9) + 14 + 1) x
// 5e-9 = v + 7.5e-8; 16 intervals, whatever the magnitude.
TEST(LinearScale, ConstantDataOfAnyMagnitudeGetsTheSmallestStep) {
  for (double v : {3.0, 6.0, 100.0, -6.0, 12345.0}) {
    AxisScale s;
    ASSERT_TRUE(LinearAutoScale(v, v, 14, false, false, s)) << v;
    EXPECT_EQ(s.m, 3) << v;
    EXPECT_EQ(s.e, -8) << v;
    EXPECT_NEAR(s.step, 5e-9, 1e-22) << v;
    EXPECT_EQ(s.n, 16) << v;
    const double tol = 1e-14 * std::fabs(v) + 1e-15;
    EXPECT_NEAR(s.first(), v - 5e-9, tol) << v;
    EXPECT_NEAR(s.last(), v + 7.5e-8, tol) << v;
    EXPECT_NEAR(s.t[8], v + 3.5e-8, tol) << v;
  }
  // Where doubles cannot tell the ends apart the axis is still refused.
  AxisScale s;
  EXPECT_FALSE(LinearAutoScale(1e12, 1e12, 14, false, false, s));
}

// Grid lines use the numbering counter from k, advanced first when FirstNumbered is set, but
// not the numbering start delay.
TEST(ManualScale, GridIgnoresTheNumberingStartDelay) {
  AxisDef a;
  a.ManualScaling = 1;
  a.Min = 0;
  a.UnitsPerTick = 1;
  a.TickIntervals = 10;
  a.NumberingInterval = 2;
  a.NumberingStartDelay = 2;
  AxisScale s;
  ASSERT_TRUE(ManualScale(a, s));
  const int k = NumberingEvery(s, a);
  ASSERT_EQ(k, 2);
  // Without numbers (suppressed) FirstNumbered stays: grid on ticks 2, 4, 6, 8.
  EXPECT_EQ(numberedIndices(GridTicks(s, k)), (std::vector<int>{2, 4, 6, 8}));
  // Delay 2: c starts at 1, so ticks 2, 4, ..., 10 are numbered and FirstNumbered clears.
  EXPECT_EQ(numberedIndices(NumberedTicks(s, a, k)), (std::vector<int>{2, 4, 6, 8, 10}));
  ASSERT_FALSE(s.FirstNumbered);
  // The grid counter then starts at k without the first advance: ticks 1, 3, 5, 7, 9.
  EXPECT_EQ(numberedIndices(GridTicks(s, k)), (std::vector<int>{1, 3, 5, 7, 9}));
}

TEST(ManualScale, NumberingIntervalZeroNumbersOnlyTheFirstTick) {
  AxisDef a;
  a.ManualScaling = 1;
  a.Min = 0;
  a.UnitsPerTick = 1;
  a.TickIntervals = 10;
  a.NumberingInterval = 0;
  AxisScale s;
  ASSERT_TRUE(ManualScale(a, s));
  const int k = NumberingEvery(s, a);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(numberedIndices(NumberedTicks(s, a, k)), (std::vector<int>{0}));
  EXPECT_TRUE(numberedIndices(GridTicks(s, k)).empty());
}

TEST(LogNumbers, DensityClasses) {
  EXPECT_EQ(LogDensityClass(0.02), 0);
  EXPECT_EQ(LogDensityClass(0.03), 1);
  EXPECT_EQ(LogDensityClass(0.05), 2);
  EXPECT_EQ(LogDensityClass(0.1), 3);
  EXPECT_EQ(LogDensityClass(0.2), 4);
  EXPECT_EQ(LogDensityClass(0.3), 5);
  std::vector<int> c3;
  for (int p = 1; p <= 9; ++p)
    if (LogClassNumbers(3, p)) c3.push_back(p);
  EXPECT_EQ(c3, (std::vector<int>{1, 2, 5}));
  EXPECT_EQ(logMultiplier(false, 4), 6);
  EXPECT_NEAR(SparseLogTable().pos[5], std::log10(0.8), 1e-15);
}

}  // namespace
