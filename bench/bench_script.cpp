// A whole script run: read a 12,000-row TXT table, compute three series, draw a four-curve graph
// and save the drawing as GRL and as the PCL stream.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "shell/AppContext.h"

namespace {

// Cancels where it may, so no question stops the script for good.
class CancellingHost : public plotane::QuietHost {
 public:
  plotane::Answer ask(const std::string&, bool withCancel, const std::string&) override {
    return withCancel ? plotane::Answer::Cancel : plotane::Answer::No;
  }
};

std::string makeFolder() {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "plotane-bench-script";
  fs::create_directories(dir);
  std::FILE* f = std::fopen((dir / "BIG.TXT").c_str(), "wb");
  std::fprintf(f, "* T\r\n* Y\r\n");
  for (int i = 0; i < 12000; ++i) {
    double t = 1 + i * 0.01;
    std::fprintf(f, "%10.4f %14.6E\r\n", t, 50 + 40 * std::sin(t) * std::exp(-t / 60));
  }
  std::fclose(f);
  return dir.string();
}

void BM_ScriptGraphToGrlAndPcl(benchmark::State& state) {
  const std::string dir = makeFolder();
  const std::string script =
      "WWFILEREADTXT('" + dir +
      "/BIG', A);\n"
      "@BINCALC(C, B, *, 1.5);\n"
      "@LN(D, A); @BINCALC(D, D, *, 20);\n"
      "@BINCALC(E, B, +, C);\n"
      "GWCURVENEWDEF(B, A, 0, 11999); GWCURVENEWDEF(C, A, 0, 11999);\n"
      "GWCURVENEWDEF(D, A, 0, 11999); GWCURVENEWDEF(E, A, 0, 11999);\n"
      "@CURVLINE(2, DASHED, 1); @CURVLINE(3, INTERMITTENT, 1); @CURVLINE(4, LINE, 2);\n"
      "GWSETUPDRAWGRAPH; DWDRAWGRAPH;\n"
      "DWFILESAVE('" +
      dir + "/OUT'); DWPRINT; END";
  for (auto _ : state) {
    CancellingHost host;
    plotane::AppContext ctx(host);
    ctx.printToFile = dir + "/OUT.PCL";
    ctx.runner.setText(script);
    ctx.runner.RUN();
    if (ctx.runner.ScriptError || host.messages != 0) state.SkipWithError("the script failed");
    benchmark::DoNotOptimize(ctx.drawing->image().countInk());
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ScriptGraphToGrlAndPcl)->Unit(benchmark::kMillisecond);

}  // namespace
