// Writing the page as PNG (--png): the encoding alone, and the whole atomic write of the file,
// for a page of a graph of 4 curves of 10,000 points (the first peer page) and a blank one.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "BenchSupport.h"
#include "drawing/Drawing.h"
#include "drawing/DrawingOutput.h"
#include "drawing/PagePng.h"
#include "drawing/Text.h"
#include "graph/Graph.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

namespace {

// The page bits of a graph of 4 line curves of 10,000 points.
std::vector<uint8_t> graphPage() {
  QuietHost host;
  LogModel log;
  Store store{host, log};
  std::unique_ptr<Series[]> cols{new Series[510]};
  Graph graph{host, store};
  graph.setColumns(std::span<Series>(cols.get(), 510));
  store.NAMEDNEWSERIES(cols[0], "X", "");
  for (int i = 0; i < 10000; ++i) store.PUTVAL(cols[0], i, i * 0.002);
  for (int c = 1; c <= 4; ++c) {
    store.NAMEDNEWSERIES(cols[c], "Y", "");
    for (int i = 0; i < 10000; ++i)
      store.PUTVAL(cols[c], i, c + 0.8 * std::sin(i * 0.002 * (1 + 0.05 * c) + c));
    CurveDef& cd = graph.def.curve(c);
    cd.XColumn = 0;
    cd.YColumn = int16_t(c);
    cd.LowIndex = 0;
    cd.HiIndex = 9999;
  }
  graph.def.CurveCount = 4;
  Drawing d(host);
  TextEngine text(d);
  graph.DrawGraph(d, text);
  return PageBits(d);
}

void BM_EncodePng(benchmark::State& st) {
  const std::vector<uint8_t> bits = st.range(0) ? graphPage() : std::vector<uint8_t>(3000 * 300, 0);
  std::size_t size = 0;
  for (auto _ : st) {
    std::string error;
    size = PagePngImage(bits, error).size();
    if (!size) st.SkipWithError(error.c_str());
  }
  st.counters["bytes"] = double(size);
}
BENCHMARK(BM_EncodePng)->Arg(0)->Arg(1)->ArgName("graph")->Unit(benchmark::kMillisecond);

void BM_WritePngFile(benchmark::State& st) {
  const std::vector<uint8_t> bits = graphPage();
  const std::string name =
      (std::filesystem::temp_directory_path() / "plotane-bench-page.png").string();
  for (auto _ : st) {
    std::string error;
    if (!WritePagePng(bits, name, error)) st.SkipWithError(error.c_str());
  }
  std::filesystem::remove(name);
}
BENCHMARK(BM_WritePngFile)->Unit(benchmark::kMillisecond);

}  // namespace
