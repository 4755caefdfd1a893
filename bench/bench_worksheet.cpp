// Worksheet column commands over 500 columns of 12,001 values (use limits -400..11600): one
// series-series, constant and unary operation per iteration, the range commands over all 500
// columns, the generators, and the cell texts of one screen of the grid.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchSupport.h"
#include "shell/base/Host.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

namespace {

using namespace plotane;

class AnsweringHost : public plotane::QuietHost {
 public:
  double real = 1.0;
  bool askReal(const std::string&, double& value) override {
    value = real;
    return true;
  }
};

constexpr int kColumns = 500;
constexpr int kLow = -400, kHigh = 11600;

struct Sheet {
  AnsweringHost host;
  LogModel log;
  Store store{host, log};
  Worksheet ws{store, host, log};
  Sheet() {
    ws.SetUseLimits(kLow, kHigh);
    for (int c = 0; c < kColumns; ++c) {
      Series& s = ws.column(c);
      store.NEWSERIES(s, false, "");
      for (int i = kLow; i <= kHigh; ++i) store.PUTVAL(s, i, 1.0 + (i & 7) * 0.25 + c * 1e-3);
    }
  }
  // Runs one step as a confirmed request would.
  void step(int code, int c1, int c2 = 0) {
    ws.C1 = c1;
    ws.C2 = c2;
    ws.RunRequest(code);
  }
};

Sheet& sheet() {
  static auto s = std::make_unique<Sheet>();
  return *s;
}

void BM_SeriesSeries(benchmark::State& state) {
  Sheet& s = sheet();
  const char ops[] = {'+', '-', '*', '/'};
  s.ws.PendingOp = ops[state.range(0)];
  for (auto _ : state) {
    s.ws.SavedColumn1 = 0;
    s.ws.SavedColumn2 = 1;
    s.step(14, 505);
  }
  state.SetItemsProcessed(state.iterations() * (kHigh - kLow + 1));
}
BENCHMARK(BM_SeriesSeries)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_Constant(benchmark::State& state) {
  Sheet& s = sheet();
  const char ops[] = {'+', '*', '/', 'X', 'S'};
  s.ws.PendingOp = ops[state.range(0)];
  s.ws.ConstSeriesValue = s.ws.PendingOp == 'S' ? 3.0 : 1.5;
  for (auto _ : state) {
    s.ws.SavedColumn1 = 2;
    s.step(11, 506);
  }
  state.SetItemsProcessed(state.iterations() * (kHigh - kLow + 1));
}
BENCHMARK(BM_Constant)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_Unary(benchmark::State& state) {
  Sheet& s = sheet();
  const char ops[] = {'N', 'I', 'L', 'E', 'C'};
  s.ws.PendingOp = ops[state.range(0)];
  for (auto _ : state) {
    s.ws.SavedColumn1 = 3;
    s.step(9, 507);
  }
  state.SetItemsProcessed(state.iterations() * (kHigh - kLow + 1));
}
BENCHMARK(BM_Unary)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Range commands over all 500 columns (in place; negation twice keeps the data as it was).
void BM_RangeOpColumn(benchmark::State& state) {
  Sheet& s = sheet();
  s.ws.PendingOp = '*';
  for (auto _ : state) {
    s.ws.SavedColumn1 = 0;
    s.ws.SavedColumn2 = kColumns - 1;
    s.step(21, 508);  // 508 holds 1.0 everywhere
  }
  state.SetItemsProcessed(state.iterations() * kColumns * (kHigh - kLow + 1));
}
BENCHMARK(BM_RangeOpColumn)->Unit(benchmark::kMillisecond)->Setup([](const benchmark::State&) {
  Sheet& s = sheet();
  s.store.MAKECONST(s.ws.column(508), 1.0);
});

void BM_UnaryRange(benchmark::State& state) {
  Sheet& s = sheet();
  s.ws.PendingOp = 'N';
  for (auto _ : state) s.step(22, 0, kColumns - 1);
  state.SetItemsProcessed(state.iterations() * kColumns * (kHigh - kLow + 1));
}
BENCHMARK(BM_UnaryRange)->Unit(benchmark::kMillisecond);

void BM_SumOverRange(benchmark::State& state) {
  Sheet& s = sheet();
  for (auto _ : state) {
    s.ws.EraseColumns(509, 509);
    s.ws.SumOverRange(0, kColumns - 1, 509);
  }
  state.SetItemsProcessed(state.iterations() * kColumns * (kHigh - kLow + 1));
}
BENCHMARK(BM_SumOverRange)->Unit(benchmark::kMillisecond);

void BM_Generators(benchmark::State& state) {
  Sheet& s = sheet();
  for (auto _ : state) {
    s.step(15, 500);  // index series
    s.step(16, 501);  // difference series (the host answers 1.0 twice)
    s.step(17, 502);  // fill
  }
  state.SetItemsProcessed(state.iterations() * 3 * (kHigh - kLow + 1));
}
BENCHMARK(BM_Generators)->Unit(benchmark::kMicrosecond);

void BM_CopyBlock(benchmark::State& state) {
  Sheet& s = sheet();
  for (auto _ : state) s.ws.CopyBlock(0, 4, 503);
  state.SetItemsProcessed(state.iterations() * 5 * (kHigh - kLow + 1));
}
BENCHMARK(BM_CopyBlock)->Unit(benchmark::kMicrosecond);

// One screen of the grid: 40 rows by 12 columns, formatted as painted.
void BM_PaintScreen(benchmark::State& state) {
  Sheet& s = sheet();
  for (auto _ : state) {
    std::size_t chars = 0;
    for (int row = 400; row < 440; ++row)
      for (int col = 0; col < 14; ++col) chars += s.ws.GridText(row, col).size();
    benchmark::DoNotOptimize(chars);
  }
}
BENCHMARK(BM_PaintScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
