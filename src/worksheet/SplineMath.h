#pragma once
// Cubic spline interpolation with not-a-knot end conditions (de Boor's CUBSPL), and the
// parametric use of it: X and Y each as a function of the accumulated chord length.
//
// Pure arithmetic: no Host, no worksheet. A zero divisor (two points at the same place) throws
// FloatFault (shell/base/Messages.h) for the command's guardFloat.

#include <cstddef>
#include <span>
#include <vector>

namespace plotane {

// Most and fewest points one spline run takes.
inline constexpr int kSplineMinPoints = 4;
inline constexpr int kSplineMaxPoints = 128;

// First, second and third derivative at the start of one interval.
struct SplineCoef {
  double c2 = 0.0, c3 = 0.0, c4 = 0.0;
};

// Fits f over the knots t (both of n >= 4 entries, t increasing). c receives n entries; the
// last one holds whatever the elimination left there. Returns false on the spline existence
// error (a vanishing elimination pivot), true otherwise.
bool SplineFit(std::span<const double> t, std::span<const double> f, std::span<SplineCoef> c);

// The cubic of one interval at distance h from its start, f0 being the value there.
double SplineEval(const SplineCoef& c, double h, double f0);

// The chord-length parameter of the polygon through (x[k], y[k]): t[0] = 0, each next t the
// previous plus the distance between neighbouring points.
std::vector<double> ChordLength(std::span<const double> x, std::span<const double> y);

// The points of a parametric spline at count evenly spaced parameters from 0 to t[n-1]
// (the last one at or just beyond it).
struct SplinePoint {
  double x = 0.0, y = 0.0;
};
class SplineCurve {
 public:
  // Fits X and Y along their chord length. False on the spline existence error.
  bool fit(std::span<const double> x, std::span<const double> y);
  // Calls put(k, point) for k = 0..count-1 in increasing order. count < 1 writes nothing;
  // count = 1 is a zero divisor (FloatFault).
  template <class Put>
  void resample(long count, Put&& put) const;

  const std::vector<double>& knots() const { return t_; }

 private:
  double step(long count) const;
  std::vector<double> t_, x_, y_;
  std::vector<SplineCoef> cx_, cy_;
};

template <class Put>
void SplineCurve::resample(long count, Put&& put) const {
  const double dt = step(count);
  const std::size_t n = t_.size();
  std::size_t k = 0;
  double tt = 0.0;
  for (long i = 0; i < count; ++i) {
    while (k + 1 < n && t_[k + 1] < tt) ++k;
    const double h = tt - t_[k];
    put(i, SplinePoint{SplineEval(cx_[k], h, x_[k]), SplineEval(cy_[k], h, y_[k])});
    tt += dt;
  }
}

}  // namespace plotane
