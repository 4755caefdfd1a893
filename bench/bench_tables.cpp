// Reading TXT tables: the 3.9 MB table of 32 curves of 12,401 points and the 470 KB one of 4
// curves of 10,000 points, as the peer pages read them (bench/peers). Reported in bytes per
// second of file; the file stays in the page cache after the first pass.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

using namespace plotane;

namespace {

// A table of lines lines of an x and curves values, "%9.5f" fields one blank apart.
std::string writeTable(int lines, int curves) {
  const std::string name =
      (std::filesystem::temp_directory_path() /
       ("plotane-bench-" + std::to_string(lines) + "x" + std::to_string(curves) + ".txt"))
          .string();
  std::FILE* f = std::fopen(name.c_str(), "w");
  for (int i = 0; i < lines; ++i) {
    const double x = i * 0.001;
    std::fprintf(f, "%9.5f", x);
    for (int c = 1; c <= curves; ++c) std::fprintf(f, " %9.5f", c + 0.45 * std::sin(x * c + c));
    std::fputc('\n', f);
  }
  std::fclose(f);
  return name;
}

void readTable(benchmark::State& st, int lines, int curves) {
  const std::string name = writeTable(lines, curves);
  const auto bytes = std::filesystem::file_size(name);
  QuietHost host;
  LogModel log;
  Store store{host, log};
  Worksheet ws{store, host, log};
  for (auto _ : st) {
    ws.ReadTxtTable(name, 0);
    if (store.StoreError || host.messages) st.SkipWithError("the table was not read");
  }
  st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(bytes));
  std::filesystem::remove(name);
}

void BM_ReadTxt32x12401(benchmark::State& st) { readTable(st, 12401, 32); }
void BM_ReadTxt4x10000(benchmark::State& st) { readTable(st, 10000, 4); }
BENCHMARK(BM_ReadTxt32x12401)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTxt4x10000)->Unit(benchmark::kMillisecond);

}  // namespace
