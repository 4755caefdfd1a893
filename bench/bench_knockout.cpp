// Speed of the fills of open and solid symbols over ink: chains of overlapping symbols (each
// knocks out part of the ones before it), the way dense point curves are drawn, at a small and a
// large size code.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "drawing/Drawing.h"
#include "shell/base/Host.h"

using namespace plotane;

namespace {

// Centres along 24 wavy rows, 2.3 pixels apart, each row redrawn on a fresh page.
PageXY centreOf(long i) {
  const long k = i % 60000;
  const double x = 0.5 + double(k % 2500) * (2.3 / 300);
  return {x, 0.5 + double(k / 2500) * 0.38 + 0.05 * __builtin_sin(7 * x)};
}

void BM_SymbolChain(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  const int shape = int(st.range(0)), size = int(st.range(1));
  long i = 0;
  for (auto _ : st) {
    if (i % 60000 == 0) {
      st.PauseTiming();
      d.image().clear();
      d.preview().clear();
      st.ResumeTiming();
    }
    d.DrawPointSymbol(d.pointAt(centreOf(i++)), shape, size);
  }
  benchmark::DoNotOptimize(d.image().row(1500)[150]);
}
// Open circle and square, solid circle; the graph's default size code and the largest.
BENCHMARK(BM_SymbolChain)->ArgsProduct({{4, 6, 8}, {2, 9}})->Unit(benchmark::kMicrosecond);

}  // namespace
