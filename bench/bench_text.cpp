// Stroke text speed: one 60-character line at font code 3, as graph labels and titles draw it.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "drawing/Text.h"

using namespace plotane;

namespace {

void drawLine(benchmark::State& st, double angle, int code) {
  QuietHost host;
  Drawing d(host);
  TextEngine t(d);
  t.SetFontCode(code);
  d.SetTextAngle(angle);
  const std::string text = "Pressure p\004s\016 (kPa) versus time t (s), run 12: \007a\022 = 0.35";
  std::string line = text;
  while (line.size() < 60) line += 'x';
  line.resize(60);
  for (auto _ : st) {
    PagePoint p;
    d.SetPointPage(p, 0.5, 5.0);
    t.DrawTextString(p, line);
    benchmark::DoNotOptimize(p.X);
  }
  st.SetItemsProcessed(st.iterations() * 60);
}

void BM_TextLineCode3(benchmark::State& st) { drawLine(st, 0, 3); }
void BM_TextLineCode3Turned30(benchmark::State& st) { drawLine(st, 30, 3); }
void BM_TextLineCode9(benchmark::State& st) { drawLine(st, 0, 9); }

}  // namespace

BENCHMARK(BM_TextLineCode3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextLineCode3Turned30)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextLineCode9)->Unit(benchmark::kMicrosecond);
