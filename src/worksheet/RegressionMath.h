#pragma once
// Least-squares fit of y = b0*x0 + ... + bp*xp by normal equations: sums over the observations
// in extended precision from single-precision data, Gauss-Jordan inversion with partial
// pivoting, then the coefficients, their standard errors and the prediction band.
//
// Pure arithmetic: no Host, no worksheet. A floating-point fault (a zero divisor, an overflow,
// an invalid operation) throws FloatFault (shell/base/Messages.h) for the command's guardFloat.

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace plotane {

// At most 18 regressors: constant term and/or independent columns.
inline constexpr int kMaxRegressors = 18;

struct RegResults {
  std::array<double, kMaxRegressors> b{};   // coefficients
  std::array<double, kMaxRegressors> se{};  // their standard errors
  std::array<double, kMaxRegressors> t{};   // t-ratios
  // The inverse normal matrix, row stride 18; only 0..p by 0..p is meaningful.
  std::array<double, kMaxRegressors * kMaxRegressors> C{};
  double stdErr = 0.0;  // standard error of the residuals
  double rSquared = 0.0;
  double rSquaredAdj = 0.0;
};

// Everything one completed fit produces.
struct RegFit {
  RegResults res;
  double s2 = 0.0;          // residual variance
  std::vector<float> yhat;  // predicted values, one per observation
  std::vector<float> pse;   // prediction standard errors, one per observation
  int n = 0;                // number of observations
  int m = 0;                // number of regressors (p + 1)
};

enum class RegStatus { Ok, Singular };

// Inverts the m x m matrix a (row stride kMaxRegressors) into c by Gauss-Jordan elimination on
// [a | I] with partial pivoting: the pivot is the first row holding the largest magnitude in its
// column. False when a pivot is exactly 0 (c is then unspecified). a is destroyed.
bool GaussJordanInvert(std::span<double, kMaxRegressors * kMaxRegressors> a, int m,
                       std::span<double, kMaxRegressors * kMaxRegressors> c);

// Fits y on the regressors x[0..p] (each as long as y; a constant term is a column of ones).
// Singular when the normal matrix has a zero pivot; otherwise fit holds the results.
// Throws FloatFault on a zero divisor (no degrees of freedom, a constant dependent, a perfect
// fit), an overflow or an invalid operation.
RegStatus REGFIT(std::span<const float> y, std::span<const std::span<const float>> x, RegFit& fit);

}  // namespace plotane
