// Writes the bundled demo's inputs into a folder:
//   DECAY.TXT  a TXT table with a header: time t in microseconds (0..40 by 1) and the count
//              rates of two decaying components, fast (tau = 4.5) and slow (tau = 16), with a
//              reproducible scatter of +-4 % (a fixed linear congruential sequence, seed 12345);
//   DEMO.GRD   the graph definitions of the demo figure: a semi-logarithmic graph, axis labels
//              and title with Greek letters and superscripts, and no curves (the script adds them).
// The data file DEMO.DSF is then made by Plotane itself from DECAY.TXT (examples/MKDATA.EBT).
//
// Build against the model libraries; see tools/make-examples.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "graph/Graph.h"
#include "shell/base/BatchHost.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

namespace {

uint32_t state = 12345;
double scatter() {
  state = state * 1103515245u + 12345u;
  return double((state >> 8) & 0xFFFF) / 65535.0 * 2.0 - 1.0;  // -1 .. 1
}

// Text commands inside labels: Ctrl-G Greek, Ctrl-R Roman, Ctrl-U superscript, Ctrl-N normal.
const std::string G = "\x07", R = "\x12", U = "\x15", N = "\x0E";

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : ".";
  std::FILE* f = std::fopen((dir + "/DECAY.TXT").c_str(), "wb");
  if (!f) return 1;
  std::fprintf(f, "* TIME\r\n* FAST\r\n* SLOW\r\n");
  for (int i = 0; i <= 40; ++i) {
    double t = i;
    double fast = 2400.0 * std::exp(-t / 4.5) * (1 + 0.04 * scatter());
    double slow = 380.0 * std::exp(-t / 16.0) * (1 + 0.04 * scatter());
    std::fprintf(f, "%6.2f %12.5E %12.5E\r\n", t, fast, slow);
  }
  if (std::fclose(f) != 0) return 1;

  plotane::BatchHost host;
  plotane::LogModel log;
  plotane::Store store(host, log);
  plotane::Graph graph(host, store);
  graph.ResetGraphDefs();
  plotane::GraphDef& g = graph.def;
  g.CornerA = {1.3, 2.7};
  g.CornerB = {7.2, 8.6};
  g.X.Min = 0;
  g.X.Max = 40;
  g.X.MinUserSpec = 1;
  g.X.MaxUserSpec = 1;
  g.X.LabelMode = 1;
  g.X.Label = "Time  t  (" + G + "m" + R + "s)";
  g.X.LabelFontCode = 5;
  g.X.NumberFontCode = 3;
  g.X.GridLines = 0;
  g.Y.LogAxis = 1;
  g.Y.LabelMode = 1;
  g.Y.Label = "Count rate  (s" + U + "-1" + N + ")";
  g.Y.LabelFontCode = 5;
  g.Y.NumberFontCode = 3;
  g.Y.TenToPower = 1;
  g.TitleMode = 1;
  g.TitleFontCode = 7;
  g.Title = "Decay of a two-component source";
  graph.SaveGrd(dir + "/DEMO.GRD", true);
  return store.StoreError ? 1 : 0;
}
