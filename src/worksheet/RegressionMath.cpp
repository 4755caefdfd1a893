#include "worksheet/RegressionMath.h"

#include <cfloat>
#include <cmath>

#include "shell/base/Messages.h"

namespace plotane {

namespace {

constexpr int kStride = kMaxRegressors;

// Square root that faults on a negative argument, as the processor does.
double checkedSqrt(double v) {
  if (v < 0.0) throw FloatFault{FloatFaultKind::Invalid};
  return fpCheck(std::sqrt(v));
}

// A double stored into a single: too large a magnitude overflows.
float toSingle(double v) {
  fpCheck(v);
  if (std::fabs(v) > double(FLT_MAX)) throw FloatFault{FloatFaultKind::Overflow};
  return float(v);
}

}  // namespace

bool GaussJordanInvert(std::span<double, kMaxRegressors * kMaxRegressors> a, int m,
                       std::span<double, kMaxRegressors * kMaxRegressors> c) {
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < m; ++j) c[i * kStride + j] = i == j ? 1.0 : 0.0;

  for (int col = 0; col < m; ++col) {
    // Largest magnitude at or below the diagonal; the first such row on ties.
    int pivotRow = col;
    double best = std::fabs(a[col * kStride + col]);
    for (int r = col + 1; r < m; ++r) {
      double v = std::fabs(a[r * kStride + col]);
      if (v > best) {
        best = v;
        pivotRow = r;
      }
    }
    if (pivotRow != col) {
      for (int j = 0; j < m; ++j) {
        std::swap(a[pivotRow * kStride + j], a[col * kStride + j]);
        std::swap(c[pivotRow * kStride + j], c[col * kStride + j]);
      }
    }
    double pivot = a[col * kStride + col];
    if (pivot == 0.0) return false;
    double scale = fpDiv(1.0, pivot);
    for (int j = 0; j < m; ++j) {
      a[col * kStride + j] = fpCheck(a[col * kStride + j] * scale);
      c[col * kStride + j] = fpCheck(c[col * kStride + j] * scale);
    }
    for (int r = 0; r < m; ++r) {
      if (r == col) continue;
      double f = a[r * kStride + col];
      if (f == 0.0) continue;
      for (int j = 0; j < m; ++j) {
        a[r * kStride + j] = fpCheck(a[r * kStride + j] - f * a[col * kStride + j]);
        c[r * kStride + j] = fpCheck(c[r * kStride + j] - f * c[col * kStride + j]);
      }
    }
  }
  return true;
}

RegStatus REGFIT(std::span<const float> y, std::span<const std::span<const float>> x, RegFit& fit) {
  const int n = int(y.size());
  const int m = int(x.size());  // p + 1
  const int p = m - 1;

  fit = RegFit{};
  fit.n = n;
  fit.m = m;

  long double ysum = 0.0L;
  for (float v : y) ysum += v;
  const double ybar = fpDiv(double(ysum), double(n));

  // Normal equations: sums of products in extended precision, kept as doubles.
  std::array<double, kMaxRegressors * kMaxRegressors> a{};
  std::array<double, kMaxRegressors> r{};
  for (int j = 0; j < m; ++j) {
    long double sy = 0.0L;
    for (int i = 0; i < n; ++i) sy += (long double)x[j][i] * y[i];
    r[j] = fpCheck(double(sy));
    for (int k = 0; k <= j; ++k) {
      long double s = 0.0L;
      for (int i = 0; i < n; ++i) s += (long double)x[j][i] * x[k][i];
      a[j * kStride + k] = a[k * kStride + j] = fpCheck(double(s));
    }
  }

  RegResults& res = fit.res;
  if (!GaussJordanInvert(a, m, res.C)) return RegStatus::Singular;
  const auto& C = res.C;

  for (int j = 0; j < m; ++j) {
    long double s = 0.0L;
    for (int k = 0; k < m; ++k) s += (long double)C[j * kStride + k] * r[k];
    res.b[j] = fpCheck(double(s));
  }

  fit.yhat.resize(std::size_t(n));
  long double sse = 0.0L, sst = 0.0L;
  for (int i = 0; i < n; ++i) {
    long double s = 0.0L;
    for (int j = 0; j < m; ++j) s += (long double)res.b[j] * x[j][i];
    fit.yhat[i] = toSingle(double(s));
    long double e = (long double)fit.yhat[i] - y[i];
    sse += e * e;
    long double dv = (long double)ybar - y[i];
    sst += dv * dv;
  }
  const double SSE = fpCheck(double(sse));
  const double SST = fpCheck(double(sst));

  res.rSquared = fpDiv(SST - SSE, SST);
  const int d = (n - 1) - p;
  fit.s2 = fpDiv(SSE, double(d));
  res.stdErr = checkedSqrt(fit.s2);
  res.rSquaredAdj = 1.0 - fpDiv(fit.s2, fpDiv(SST, double(n - 1)));

  for (int j = 0; j < m; ++j) {
    res.se[j] = checkedSqrt(fpCheck(fit.s2 * C[j * kStride + j]));
    res.t[j] = fpDiv(res.b[j], res.se[j]);
  }

  fit.pse.resize(std::size_t(n));
  for (int i = 0; i < n; ++i) {
    long double q = 0.0L;
    for (int j = 0; j < m; ++j)
      for (int k = 0; k < m; ++k) q += (long double)x[j][i] * C[j * kStride + k] * x[k][i];
    fit.pse[i] = toSingle(checkedSqrt(fpCheck((double(q) + 1.0) * fit.s2)));
  }
  return RegStatus::Ok;
}

}  // namespace plotane
