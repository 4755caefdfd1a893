// DrawGraph over large curves: 4 line curves of 10,000 points, and 32 point curves of 800
// points (the curves take the twelve symbols in turn, so that a reader can tell them apart), each
// a full render (scaling, axes, numbers, curves) into a fresh page.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "BenchSupport.h"
#include "drawing/Drawing.h"
#include "drawing/Text.h"
#include "graph/Graph.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

namespace {

struct Setup {
  QuietHost host;
  LogModel log;
  Store store{host, log};
  std::unique_ptr<Series[]> cols{new Series[510]};
  Graph graph{host, store};

  // shape < 0: every curve a different symbol; else that symbol throughout.
  Setup(int curves, int points, int type, int shape) {
    graph.setColumns(std::span<Series>(cols.get(), 510));
    store.NAMEDNEWSERIES(cols[0], "X", "");
    for (int i = 0; i < points; ++i) store.PUTVAL(cols[0], i, i * 0.01);
    for (int c = 1; c <= curves; ++c) {
      store.NAMEDNEWSERIES(cols[c], "Y", "");
      for (int i = 0; i < points; ++i)
        store.PUTVAL(cols[c], i, c + std::sin(i * 0.37 / points * 100 + c));
      CurveDef& cd = graph.def.curve(c);
      cd.XColumn = 0;
      cd.YColumn = int16_t(c);
      cd.LowIndex = 0;
      cd.HiIndex = int16_t(points - 1);
      cd.CurveType = uint8_t(type);
      cd.PointShape = uint8_t(shape < 0 ? c % 12 : shape);
    }
    graph.def.CurveCount = int16_t(curves);
    graph.def.X.LabelMode = graph.def.Y.LabelMode = 2;
    graph.def.TitleMode = 1;
    graph.def.Title = "Benchmark";
  }
};

void run(benchmark::State& state, int curves, int points, int type, int shape = -1) {
  Setup s(curves, points, type, shape);
  for (auto _ : state) {
    state.PauseTiming();
    auto d = std::make_unique<Drawing>(s.host);
    TextEngine text(*d);
    state.ResumeTiming();
    s.graph.DrawGraph(*d, text);
    if (s.store.StoreError) state.SkipWithError("DrawGraph failed");
    benchmark::DoNotOptimize(d->image().row(1500));
  }
}

void BM_FourLineCurves10000(benchmark::State& state) { run(state, 4, 10000, kLineCurve); }
void BM_ThirtyTwoPointCurves800(benchmark::State& state) { run(state, 32, 800, kPointsCurve); }
// The same with outline-only symbols (plus signs): the cost of the graph without filled shapes.
void BM_ThirtyTwoPlusCurves800(benchmark::State& state) { run(state, 32, 800, kPointsCurve, 0); }
// Every curve with the default symbol, the open circle: the dearest, as each circle's knock-out
// erases through the outline of the one before.
void BM_ThirtyTwoOpenCircleCurves800(benchmark::State& state) {
  run(state, 32, 800, kPointsCurve, 4);
}
BENCHMARK(BM_FourLineCurves10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThirtyTwoPointCurves800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThirtyTwoPlusCurves800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThirtyTwoOpenCircleCurves800)->Unit(benchmark::kMillisecond);

}  // namespace
