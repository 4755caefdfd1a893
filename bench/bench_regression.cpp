// Speed of the worksheet's fitting commands at their largest: a regression on the constant and
// 17 columns over all 12401 rows the grid shows, and a 128-point spline resampled to 10000
// points.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <span>
#include <vector>

#include "worksheet/RegressionMath.h"
#include "worksheet/SplineMath.h"

using namespace plotane;

namespace {

void BM_Regression18x12401(benchmark::State& st) {
  const int n = 12401, m = kMaxRegressors;
  std::mt19937 rng(7);
  std::normal_distribution<float> noise(0.0f, 1.0f);
  std::vector<std::vector<float>> x(m, std::vector<float>(n, 1.0f));
  std::vector<float> y(n);
  for (int i = 0; i < n; ++i) {
    double sum = 0;
    for (int j = 1; j < m; ++j) {
      x[j][i] = noise(rng);
      sum += j * x[j][i];
    }
    y[i] = float(sum + noise(rng));
  }
  std::vector<std::span<const float>> xs(x.begin(), x.end());
  for (auto _ : st) {
    RegFit fit;
    benchmark::DoNotOptimize(REGFIT(y, xs, fit));
    benchmark::DoNotOptimize(fit.res.b[1]);
  }
  st.SetItemsProcessed(st.iterations() * n);
}
BENCHMARK(BM_Regression18x12401)->Unit(benchmark::kMillisecond);

void BM_Spline128To10000(benchmark::State& st) {
  std::vector<double> x(kSplineMaxPoints), y(kSplineMaxPoints);
  for (int k = 0; k < kSplineMaxPoints; ++k) {
    double a = 0.1 * k;
    x[k] = a * std::cos(a);
    y[k] = a * std::sin(a);
  }
  for (auto _ : st) {
    SplineCurve curve;
    curve.fit(x, y);
    double sum = 0;
    curve.resample(10000, [&](long, SplinePoint p) { sum += p.x + p.y; });
    benchmark::DoNotOptimize(sum);
  }
  st.SetItemsProcessed(st.iterations() * 10000);
}
BENCHMARK(BM_Spline128To10000)->Unit(benchmark::kMicrosecond);

}  // namespace
