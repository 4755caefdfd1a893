// DSF round trip: 500 series of 801 values stored into one new DSF, then loaded back into
// worksheet columns with one pattern.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "shell/base/Host.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

namespace {

using namespace plotane;

void BM_StoreAndLoad500Series(benchmark::State& state) {
  std::string dir = (std::filesystem::temp_directory_path() / "plotane-bench-store").string();
  std::filesystem::create_directories(dir);
  std::string file = dir + "/BENCH.DSF";
  QuietHost host;
  LogModel log;
  auto sources = std::make_unique<std::array<Series, 500>>();
  auto columns = std::make_unique<std::array<Series, 510>>();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(file);
    Store store(host, log);
    for (int k = 0; k < 500; ++k) {
      Series& s = (*sources)[k];
      store.NEWSERIES(s, false, "bench");
      for (int i = 0; i <= 800; ++i) store.PUTVAL(s, i, k + i * 0.5);
    }
    state.ResumeTiming();

    store.CREATEDSF(file);
    for (int k = 0; k < 500; ++k) store.SAVESERIES((*sources)[k], "S" + std::to_string(k));
    for (auto& s : *sources) store.DISPOSESERIES(s);
    int loaded = 0;
    store.LOADPATTERN("&", 0, *columns, [&](int) { ++loaded; });
    if (loaded != 500 || store.StoreError || host.messages != 0)
      state.SkipWithError("round trip failed");

    state.PauseTiming();
    for (auto& s : *columns) store.DISPOSESERIES(s);
    store.DETACHDSF();
    state.ResumeTiming();
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StoreAndLoad500Series)->Unit(benchmark::kMillisecond);

}  // namespace
