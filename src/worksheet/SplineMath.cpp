#include "worksheet/SplineMath.h"

#include <cmath>

#include "shell/base/Messages.h"

namespace plotane {

namespace {

// Below this an elimination pivot counts as vanished.
constexpr double kPivotFloor = 1.0E-80;

// Extended-precision quotient that faults on a zero divisor or a result out of double range.
long double div(long double a, long double b) {
  if (b == 0.0L) throw FloatFault{FloatFaultKind::DivideByZero};
  long double q = a / b;
  fpCheck(double(q));
  return q;
}

}  // namespace

bool SplineFit(std::span<const double> tIn, std::span<const double> fIn, std::span<SplineCoef> c) {
  const int n = int(tIn.size());
  if (n < kSplineMinPoints || int(fIn.size()) != n || int(c.size()) != n) return false;

  // The algorithm reads naturally with indices 1..n; slot 0 is unused.
  std::vector<long double> t(n + 1), f(n + 1), C2(n + 1), C3(n + 1), C4(n + 1);
  for (int i = 1; i <= n; ++i) {
    t[i] = tIn[i - 1];
    f[i] = fIn[i - 1];
  }

  // Interval lengths and divided differences.
  for (int i = 2; i <= n; ++i) {
    C3[i] = t[i] - t[i - 1];
    C4[i] = div(f[i] - f[i - 1], C3[i]);
  }

  // Not-a-knot at the left end.
  C4[1] = C3[3];
  C3[1] = C3[2] + C3[3];
  C2[1] = div((C3[2] + 2 * C3[1]) * C4[2] * C3[3] + C3[2] * C3[2] * C4[3], C3[1]);

  // Forward elimination.
  for (int m = 2; m <= n - 1; ++m) {
    if (std::fabs(C4[m - 1]) < kPivotFloor) return false;
    long double g = div(-C3[m + 1], C4[m - 1]);
    C2[m] = g * C2[m - 1] + 3 * (C3[m] * C4[m + 1] + C3[m + 1] * C4[m]);
    C4[m] = g * C3[m - 1] + 2 * (C3[m] + C3[m + 1]);
  }

  // Not-a-knot at the right end.
  long double g = C3[n - 1] + C3[n];
  C2[n] = div(
      (C3[n] + 2 * g) * C4[n] * C3[n - 1] + C3[n] * C3[n] * div(f[n - 1] - f[n - 2], C3[n - 1]), g);
  g = div(-g, C4[n - 1]);
  C4[n] = g * C3[n - 1] + C3[n - 1];
  if (std::fabs(C4[n]) < kPivotFloor) return false;
  C2[n] = div(g * C2[n - 1] + C2[n], C4[n]);

  // Back substitution: C2 becomes the first derivative at each point.
  for (int j = n - 1; j >= 1; --j) C2[j] = div(C2[j] - C3[j] * C2[j + 1], C4[j]);

  // Second and third derivatives at the start of each interval.
  for (int i = 2; i <= n; ++i) {
    long double d1 = div(f[i] - f[i - 1], C3[i]);
    long double d3 = C2[i - 1] + C2[i] - 2 * d1;
    C3[i - 1] = div(2 * (d1 - C2[i - 1] - d3), C3[i]);
    C4[i - 1] = div(d3, C3[i]) * div(6, C3[i]);
  }

  for (int i = 1; i <= n; ++i)
    c[i - 1] = SplineCoef{fpCheck(double(C2[i])), fpCheck(double(C3[i])), fpCheck(double(C4[i]))};
  return true;
}

double SplineEval(const SplineCoef& c, double h, double f0) {
  return ((h * c.c4 / 3 + c.c3) * h * 0.5 + c.c2) * h + f0;
}

std::vector<double> ChordLength(std::span<const double> x, std::span<const double> y) {
  std::vector<double> t(x.size());
  for (std::size_t k = 1; k < x.size(); ++k) {
    double dx = x[k] - x[k - 1], dy = y[k] - y[k - 1];
    t[k] = t[k - 1] + std::sqrt(dx * dx + dy * dy);
  }
  return t;
}

bool SplineCurve::fit(std::span<const double> x, std::span<const double> y) {
  x_.assign(x.begin(), x.end());
  y_.assign(y.begin(), y.end());
  t_ = ChordLength(x, y);
  cx_.assign(x.size(), SplineCoef{});
  cy_.assign(y.size(), SplineCoef{});
  // Both fits run, as one error flag covers the pair.
  bool okX = SplineFit(t_, x_, cx_);
  bool okY = SplineFit(t_, y_, cy_);
  return okX && okY;
}

double SplineCurve::step(long count) const { return fpDiv(t_.back(), double(count - 1)); }

}  // namespace plotane
