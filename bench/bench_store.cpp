// DSF round trip: 500 series of 801 values stored into one new DSF, then loaded back into
// worksheet columns with one pattern.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <chrono>
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

// A series name: a letter and a number (built in steps, which keeps GCC 12's -Wrestrict quiet).
std::string seriesName(char letter, int k) {
  std::string s(1, letter);
  s += std::to_string(k);
  return s;
}

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
    {
      Store::SyncOnce once(store);  // one command (Save columns) stores them all
      for (int k = 0; k < 500; ++k) store.SAVESERIES((*sources)[k], seriesName('S', k));
    }
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

namespace {

using namespace plotane;

// Stores 500 series of 801 values into a new DSF as a script does (synced once, at the end), with
// or without the rollback journal; returns the seconds taken.
double storeAsScript(const std::string& file, std::array<Series, 500>& sources, bool journal) {
  std::filesystem::remove(file);
  QuietHost host;
  LogModel log;
  Store store(host, log);
  for (int k = 0; k < 500; ++k) {
    Series& s = sources[k];
    store.NEWSERIES(s, false, "bench");
    for (int i = 0; i <= 800; ++i) store.PUTVAL(s, i, k + i * 0.5);
  }
  bool scriptRunning = true;
  store.setScriptRunningFlag(&scriptRunning);
  store.journalEnabled = journal;
  auto start = std::chrono::steady_clock::now();
  store.CREATEDSF(file);
  for (int k = 0; k < 500; ++k) store.SAVESERIES(sources[k], seriesName('S', k));
  scriptRunning = false;
  store.SYNCDSF();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (store.StoreError || host.messages != 0) return -1;
  for (auto& s : sources) store.DISPOSESERIES(s);
  store.DETACHDSF();
  return seconds;
}

// The journal's cost for a script: both ways in every iteration, side by side, and their ratio.
void BM_Store500SeriesFromAScriptJournalCost(benchmark::State& state) {
  std::string dir = (std::filesystem::temp_directory_path() / "plotane-bench-journal").string();
  std::filesystem::create_directories(dir);
  auto sources = std::make_unique<std::array<Series, 500>>();
  double with = 0, without = 0;
  for (auto _ : state) {
    double a = storeAsScript(dir + "/PLAIN.DSF", *sources, false);
    double b = storeAsScript(dir + "/JOURNAL.DSF", *sources, true);
    if (a < 0 || b < 0) state.SkipWithError("storing failed");
    without += a;
    with += b;
  }
  state.counters["without_ms"] = benchmark::Counter(without * 1000 / state.iterations());
  state.counters["with_ms"] = benchmark::Counter(with * 1000 / state.iterations());
  state.counters["ratio"] = benchmark::Counter(without > 0 ? with / without : 0);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Store500SeriesFromAScriptJournalCost)->Unit(benchmark::kMillisecond)->Iterations(5);

// One store operation started from a window: journal, records and header, each synced to the
// disk. The time per operation is what a user waits for durability.
void BM_StoreOneSeriesFromAWindow(benchmark::State& state) {
  std::string dir = (std::filesystem::temp_directory_path() / "plotane-bench-window").string();
  std::filesystem::create_directories(dir);
  std::string file = dir + "/WINDOW.DSF";
  std::filesystem::remove(file);
  QuietHost host;
  LogModel log;
  Store store(host, log);
  store.CREATEDSF(file);
  Series s;
  store.NEWSERIES(s, false, "bench");
  for (int i = 0; i <= 800; ++i) store.PUTVAL(s, i, i * 0.5);
  int k = 0;
  for (auto _ : state) store.SAVESERIES(s, seriesName('W', k++ % 50));
  if (store.StoreError || host.messages != 0) state.SkipWithError("storing failed");
  store.DISPOSESERIES(s);
  store.DETACHDSF();
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StoreOneSeriesFromAWindow)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
