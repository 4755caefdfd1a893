// Speed of the drawing model: the line rasteriser at each width code, GRL save and load of a
// dense graph-like page, and the PCL stream of a dense page.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <random>

#include "BenchSupport.h"
#include "drawing/DrawingOutput.h"
#include "shell/base/Host.h"

using namespace plotane;

namespace {

// 2-inch segments at random angles inside the page.
void BM_DrawLine2Inch(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  const int code = int(st.range(0));
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> ang(0, 2 * M_PI), px(2.2, 5.8), py(2.2, 7.8);
  std::vector<std::array<double, 4>> segs(1024);
  for (auto& s : segs) {
    const double a = ang(rng), x = px(rng), y = py(rng);
    s = {x, y, x + 2 * std::cos(a), y + 2 * std::sin(a)};
  }
  std::size_t i = 0;
  for (auto _ : st) {
    const auto& s = segs[i++ & 1023];
    d.DrawLine(true, s[0], s[1], s[2], s[3], LineWidthTable[code]);
  }
  benchmark::DoNotOptimize(d.image().row(1500)[150]);
}
BENCHMARK(BM_DrawLine2Inch)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// A graph-like page: box, grid, ticks, three dense curves, symbols, dashed lines.
void denseGraph(Drawing& d) {
  d.SetLineCode(3);
  d.SetACursor(1, 1);
  d.SetBCursor(7.5, 9);
  d.DrawRectangle();
  d.SetLineCode(0);
  for (double x = 1; x <= 7.5; x += 0.25) d.DrawLine(true, x, 1, x, 9, d.state.LineWidth);
  for (double y = 1; y <= 9; y += 0.25) d.DrawLine(true, 1, y, 7.5, y, d.state.LineWidth);
  for (int c = 0; c < 3; ++c) {
    d.SetLineCode(c + 1);
    double px = 1, py = 5;
    for (int i = 1; i <= 2000; ++i) {
      const double x = 1 + 6.5 * i / 2000.0;
      const double y = 5 + (1 + c) * std::sin(x * (3 + c)) * std::cos(x * 0.7);
      d.DrawLine(true, px, py, x, y, d.state.LineWidth);
      if (i % 40 == 0) d.DrawPointSymbol(d.pointAt({x, y}), (i / 40 + c) % 12, 3);
      px = x;
      py = y;
    }
  }
  for (double y = 1.5; y < 9; y += 0.5)
    d.DrawDashed(d.pointAt({1, y}), d.pointAt({7.5, y + 0.3}), DashTable[2]);
}

void BM_GrlSaveDensePage(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  denseGraph(d);
  const std::string name = (std::filesystem::temp_directory_path() / "bench-drawing.grl").string();
  for (auto _ : st) d.SaveGrl(name);
  st.counters["bytes"] = double(std::filesystem::file_size(name));
  std::filesystem::remove(name);
}
BENCHMARK(BM_GrlSaveDensePage)->Unit(benchmark::kMillisecond);

void BM_GrlLoadDensePage(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  denseGraph(d);
  const std::string name = (std::filesystem::temp_directory_path() / "bench-drawing2.grl").string();
  d.SaveGrl(name);
  Drawing e(host);
  for (auto _ : st) e.LoadGrl(name);
  std::filesystem::remove(name);
}
BENCHMARK(BM_GrlLoadDensePage)->Unit(benchmark::kMillisecond);

void BM_DenseGraphPage(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  for (auto _ : st) denseGraph(d);
}
BENCHMARK(BM_DenseGraphPage)->Unit(benchmark::kMillisecond);

void BM_PclDensePage(benchmark::State& st) {
  QuietHost host;
  Drawing d(host);
  denseGraph(d);
  for (auto _ : st) {
    MemorySink sink;
    sink.bytes.reserve(1 << 20);
    d.WritePcl(sink);
    benchmark::DoNotOptimize(sink.bytes.data());
  }
}
BENCHMARK(BM_PclDensePage)->Unit(benchmark::kMillisecond);

}  // namespace
