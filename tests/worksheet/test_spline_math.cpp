// The not-a-knot cubic spline and its parametric resampling, against scipy's
// CubicSpline(t, f, bc_type='not-a-knot') on the same chord-length knots.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SplineReference.h"
#include "shell/base/Messages.h"
#include "worksheet/SplineMath.h"

using namespace plotane;

namespace {

std::vector<SplinePoint> resampleAll(const SplineCurve& curve, long count) {
  std::vector<SplinePoint> out;
  curve.resample(count, [&](long k, SplinePoint p) {
    EXPECT_EQ(k, long(out.size()));
    out.push_back(p);
  });
  return out;
}

TEST(SplineMath, AgreesWithScipyNotAKnot) {
  const std::vector<double> x{0, 1, 3, 4.5, 6, 9}, y{0, 2, 3, 1, 0.5, 2};
  // scipy: t = cumulative chord length; the resampled points are in SplineReference.h.
  const double tRef[] = {0.0,
                         2.23606797749979,
                         4.47213595499958,
                         6.97213595499958,
                         8.553274785083769,
                         11.907376751333453};
  // First derivatives of X(t) at the knots.
  const double dxRef[] = {-0.16666487090219773, 0.8659562275760252, 0.7277623200977182,
                          0.7489808454034693,   1.0788366975283892, 0.39704694521017814};

  SplineCurve curve;
  ASSERT_TRUE(curve.fit(x, y));
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(curve.knots()[k], tRef[k], 1E-13);

  std::vector<SplineCoef> c(6);
  ASSERT_TRUE(SplineFit(curve.knots(), x, c));
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(c[k].c2, dxRef[k], 1E-12) << k;

  auto pts = resampleAll(curve, 9);
  ASSERT_EQ(pts.size(), 9u);
  for (int k = 0; k < 9; ++k) {
    EXPECT_NEAR(pts[k].x, test::kSplineXRef[k], 1E-12) << k;
    EXPECT_NEAR(pts[k].y, test::kSplineYRef[k], 1E-12) << k;
  }
}

TEST(SplineMath, CountsAndCoincidentPoints) {
  const std::vector<double> x{0, 1, 2, 3}, y{0, 1, 0, 1};
  SplineCurve curve;
  ASSERT_TRUE(curve.fit(x, y));
  EXPECT_TRUE(resampleAll(curve, 0).empty());
  EXPECT_TRUE(resampleAll(curve, -5).empty());
  auto twoPoints = resampleAll(curve, 2);
  ASSERT_EQ(twoPoints.size(), 2u);
  EXPECT_NEAR(twoPoints[1].x, 3, 1E-12);
  EXPECT_NEAR(twoPoints[1].y, 1, 1E-12);

  // One result point: the step divides by N - 1 = 0.
  try {
    resampleAll(curve, 1);
    ADD_FAILURE() << "no fault";
  } catch (const FloatFault& f) {
    EXPECT_EQ(f.kind, FloatFaultKind::DivideByZero);
  }

  // Two neighbouring points at the same place: a chord of length 0.
  const std::vector<double> xs{0, 1, 1, 3, 4}, ys{0, 1, 1, 0, 2};
  try {
    curve.fit(xs, ys);
    ADD_FAILURE() << "no fault";
  } catch (const FloatFault& f) {
    EXPECT_EQ(f.kind, FloatFaultKind::DivideByZero);
  }
}

TEST(SplineMath, VanishingPivotIsTheExistenceError) {
  // Intervals a = 2, b = 1, c = -1.5 (a parameter that turns back): the third elimination
  // pivot is g * a + 2 * (b + c) with g = -c / (a + b) = 0.5, exactly 0.
  const std::vector<double> t{0, 2, 3, 1.5, 2.5}, f{0, 1, 2, 3, 4};
  std::vector<SplineCoef> c(5);
  EXPECT_FALSE(SplineFit(t, f, c));
}

}  // namespace
