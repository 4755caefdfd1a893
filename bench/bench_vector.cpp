// Vector export of the largest page a graph makes: 32 line curves of 12 401 points each (every
// index the worksheet holds), written as SVG, as PDF and as a 1200-dpi PNG. The file sizes are
// reported as counters (bytes).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "BenchSupport.h"
#include "drawing/Drawing.h"
#include "drawing/Text.h"
#include "graph/Graph.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "vector/VectorExport.h"

using namespace plotane;

namespace {

constexpr int kCurves = 32, kPoints = 12401;

struct Page {
  QuietHost host;
  LogModel log;
  Store store{host, log};
  std::unique_ptr<Series[]> cols{new Series[510]};
  Graph graph{host, store};
  Drawing d{host};
  std::string file;

  Page() {
    graph.setColumns(std::span<Series>(cols.get(), 510));
    store.NAMEDNEWSERIES(cols[0], "X", "");
    for (int i = 0; i < kPoints; ++i) store.PUTVAL(cols[0], i, i * 0.01);
    for (int c = 1; c <= kCurves; ++c) {
      store.NAMEDNEWSERIES(cols[c], "Y", "");
      for (int i = 0; i < kPoints; ++i)
        store.PUTVAL(cols[c], i, c + std::sin(i * 0.37 / kPoints * 100 + c));
      CurveDef& cd = graph.def.curve(c);
      cd.XColumn = 0;
      cd.YColumn = int16_t(c);
      cd.LowIndex = 0;
      cd.HiIndex = int16_t(kPoints - 1);
      cd.CurveType = uint8_t(kLineCurve);
    }
    graph.def.CurveCount = int16_t(kCurves);
    graph.def.TitleMode = 1;
    graph.def.Title = "Benchmark";
    TextEngine text(d);
    graph.DrawGraph(d, text);
    file = (std::filesystem::temp_directory_path() /
            ("plotane-bench-vector-" + std::to_string(getpid())))
               .string();
  }
  ~Page() {
    std::error_code ec;
    std::filesystem::remove(file, ec);
  }
};

void run(benchmark::State& state, VectorFormat format, int dpi) {
  static Page page;
  std::string error;
  for (auto _ : state)
    if (!ExportDrawing(page.d, format, page.file, dpi, error)) state.SkipWithError(error.c_str());
  std::error_code ec;
  state.counters["bytes"] = double(std::filesystem::file_size(page.file, ec));
  state.counters["items"] = double(page.d.displayList().items().size());
  state.counters["points"] = double(page.d.displayList().points().size());
}

void BM_Svg32x12401(benchmark::State& state) { run(state, VectorFormat::Svg, 0); }
void BM_Pdf32x12401(benchmark::State& state) { run(state, VectorFormat::Pdf, 0); }
void BM_Png1200dpi32x12401(benchmark::State& state) { run(state, VectorFormat::Png, 1200); }
BENCHMARK(BM_Svg32x12401)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pdf32x12401)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Png1200dpi32x12401)->Unit(benchmark::kMillisecond);

}  // namespace
