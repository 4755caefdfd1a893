// Speed of point symbols one shape at a time, at the graph's default size code 2 and at the
// largest size code 9, each on white page (a grid over the page at varying sub-pixel positions,
// the page cleared for every pass); and of nodes.

#include <benchmark/benchmark.h>

#include <cmath>

#include "BenchSupport.h"
#include "drawing/Drawing.h"
#include "shell/base/Host.h"

using namespace plotane;

namespace {

// A centre for the i-th symbol: a 40 x 50 grid of the page, shifted by odd fractions of a pixel.
PageXY centreOf(long i) {
  const long k = i % 2000;
  return {0.5 + double(k % 40) * 0.18 + double(i % 7) * 0.00047,
          0.5 + double(k / 40) * 0.18 + double(i % 11) * 0.00031};
}

void BM_PointSymbol(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  const int shape = int(st.range(0)), size = int(st.range(1));
  long i = 0;
  for (auto _ : st) {
    // A fresh page for each pass over the grid: every symbol lands on white.
    if (i % 2000 == 0) {
      st.PauseTiming();
      d.image().clear();
      d.preview().clear();
      st.ResumeTiming();
    }
    d.DrawPointSymbol(d.pointAt(centreOf(i++)), shape, size);
  }
  benchmark::DoNotOptimize(d.image().row(1500)[150]);
}
BENCHMARK(BM_PointSymbol)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 11, 1), {2, 9}})
    ->Unit(benchmark::kMicrosecond);

void BM_Node(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  d.state.ArrowSize = ArrowSizeTable[st.range(0)];
  long i = 0;
  for (auto _ : st) {
    if (i % 2000 == 0) {
      st.PauseTiming();
      d.image().clear();
      d.preview().clear();
      st.ResumeTiming();
    }
    d.state.A = centreOf(i++);
    d.DrawNode();
  }
  benchmark::DoNotOptimize(d.image().row(1500)[150]);
}
BENCHMARK(BM_Node)->DenseRange(0, 4, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// Open circles over ink, as on a crowded graph: 32 rows of 800 circles, each a hundredth of an
// inch after the one before, so that every knock-out clears the outlines of the circles before
// it (the third peer page). Per circle: its knock-out and its outline.
void BM_KnockoutOverInk(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  long i = 0;
  for (auto _ : st) {
    const long k = i++ % (32 * 800);
    if (k == 0) {
      st.PauseTiming();
      d.image().clear();
      d.preview().clear();
      st.ResumeTiming();
    }
    const double x = 0.3 + double(k % 800) * 0.0095;
    const double y = 1.0 + double(k / 800) * 0.2 + 0.09 * std::sin(x * 3 + double(k / 800));
    d.DrawPointSymbol(d.pointAt({x, y}), 4, int(st.range(0)));
  }
  benchmark::DoNotOptimize(d.image().row(1500)[150]);
}
BENCHMARK(BM_KnockoutOverInk)->Arg(2)->Arg(9)->Unit(benchmark::kMicrosecond);

}  // namespace
