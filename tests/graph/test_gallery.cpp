// The graph gallery: one graph per style the renderer offers. Each must draw without an error,
// and its SVG and PDF must show the raster's ink;
// with PLOTANE_GALLERY_DIR set, every page is also written there as a PBM image for review
// (docs/gallery keeps them as PNG).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "../vector/VectorCompare.h"
#include "GraphPage.h"

using namespace plotane;

namespace {

struct Gallery : test::GraphPage {
  int nextColumn = 0;

  Gallery() : GraphPage(1.5, 1.5, 7.2, 6.5) {}
  // A new column of f(i) for i = 0..last.
  int column(const char* name, int last, const std::function<double(int)>& f) {
    const int c = nextColumn++;
    store.NAMEDNEWSERIES(cols[c], name, "");
    for (int i = 0; i <= last; ++i) store.PUTVAL(cols[c], i, f(i));
    return c;
  }
  CurveDef& curve(int x, int y, int last, int type = kLineCurve) {
    const int n = ++graph.def.CurveCount;
    CurveDef& c = graph.def.curve(n);
    c.XColumn = int16_t(x);
    c.YColumn = int16_t(y);
    c.LowIndex = 0;
    c.HiIndex = int16_t(last);
    c.CurveType = uint8_t(type);
    cols[y].xLink = &cols[x];
    return c;
  }
  void render(const char* name) {
    graph.RefreshAllCurveStatus();
    ASSERT_TRUE(graph.AllCurvesValid());
    graph.DrawGraph(d, text);
    ASSERT_FALSE(store.StoreError) << name << ": " << host.lastMessage();
    EXPECT_TRUE(host.messages.empty()) << host.lastMessage();
    EXPECT_GT(d.image().countInk(), 1000);
    // The same page as vectors, rendered back, shows the same ink.
    test::expectVectorsMatchRaster(d, name);
    const char* dir = std::getenv("PLOTANE_GALLERY_DIR");
    if (!dir) return;
    const std::string path = std::string(dir) + "/" + name + ".pbm";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "P4\n%d %d\n", kRasterCols, kRasterRows);
    for (int r = 0; r < kRasterRows; ++r) std::fwrite(d.image().row(r), 1, kRasterRowBytes, f);
    std::fclose(f);
  }
  void labels(const std::string& x, const std::string& y, const std::string& title = {}) {
    graph.def.X.LabelMode = 1;
    graph.def.X.Label = x;
    graph.def.Y.LabelMode = 1;
    graph.def.Y.Label = y;
    if (!title.empty()) {
      graph.def.TitleMode = 1;
      graph.def.Title = title;
    }
  }
};

TEST_F(Gallery, Linear) {
  const int x = column("TIME", 200, [](int i) { return i * 0.05; });
  const int y =
      column("SIGNAL", 200, [](int i) { return 3 * std::sin(i * 0.05) * std::exp(-i * 0.008); });
  curve(x, y, 200);
  labels("Time (s)", "Amplitude (V)", "Damped oscillation");
  render("linear");
}

TEST_F(Gallery, LogLog) {
  const int x = column("F", 80, [](int i) { return std::pow(10.0, i / 20.0); });
  const int y = column("G", 80, [](int i) { return 0.5 * std::pow(10.0, 1.5 * i / 20.0); });
  curve(x, y, 80);
  graph.def.X.LogAxis = graph.def.Y.LogAxis = 1;
  labels("Frequency (Hz)", "Gain");
  render("loglog");
}

TEST_F(Gallery, SemiLog) {
  const int x = column("T", 100, [](int i) { return i * 0.1; });
  const int y = column("DECAY", 100, [](int i) { return std::exp(-i * 0.045); });
  curve(x, y, 100);
  graph.def.Y.LogAxis = 1;
  labels("Time (h)", "Activity");
  render("semilog");
}

TEST_F(Gallery, ManualScaling) {
  const int x = column("X", 60, [](int i) { return i * 0.125; });
  const int y = column("Y", 60, [](int i) { return 1 + 0.8 * std::cos(i * 0.2); });
  curve(x, y, 60);
  AxisDef& a = graph.def.X;
  a.ManualScaling = 1;
  a.Min = 0;
  a.UnitsPerTick = 1;
  a.TickIntervals = 7.5f;
  a.NumberingInterval = 2;
  a.DecimalPlaces = 1;
  AxisDef& b = graph.def.Y;
  b.ManualScaling = 1;
  b.Min = 0;
  b.UnitsPerTick = 0.1;
  b.TickIntervals = 20;
  b.NumberingInterval = 10;
  b.DecimalPlaces = 1;
  labels("Distance (km)", "Level");
  render("manual");
}

TEST_F(Gallery, EqualScale) {
  const int x = column("CX", 120, [](int i) { return 2 + 3 * std::cos(i * 0.0525); });
  const int y = column("CY", 120, [](int i) { return 1 + 3 * std::sin(i * 0.0525); });
  curve(x, y, 120);
  graph.def.EqualScale = 1;
  labels("x (m)", "y (m)", "Equal length scale: a circle stays round");
  render("equal");
}

TEST_F(Gallery, GridLines) {
  const int x = column("X", 50, [](int i) { return i * 0.4; });
  const int y = column("Y", 50, [](int i) { return 40 + 25 * std::sin(i * 0.2); });
  curve(x, y, 50, kConnectedPointsCurve).PointShape = 10;
  graph.def.curve(1).SizeCode = 0;
  graph.def.X.GridLines = graph.def.Y.GridLines = 1;
  graph.def.X.ClosedBox = graph.def.Y.ClosedBox = 0;
  labels("Day", "Temperature");
  render("grid");
}

TEST_F(Gallery, OutsideTicks) {
  const int x = column("X", 40, [](int i) { return -2 + i * 0.1; });
  const int y = column("Y", 40, [](int i) {
    const double v = -2 + i * 0.1;
    return v * v * v - v;
  });
  curve(x, y, 40);
  graph.def.X.TicksInside = graph.def.Y.TicksInside = 0;
  graph.def.X.TickLength = graph.def.Y.TickLength = 0.06f;
  labels("u",
         "u\x15"
         "3\x0E - u",
         "Outside ticks on a closed box");
  render("outside");
}

TEST_F(Gallery, RotatedNumbers) {
  const int x = column("X", 30, [](int i) { return 1000 + i * 150.0; });
  const int y = column("Y", 30, [](int i) { return 25000 + 1000 * std::sqrt(double(i)); });
  curve(x, y, 30, kPointsCurve).PointShape = 7;
  graph.def.X.Numbers90 = graph.def.Y.Numbers90 = 1;
  labels("Load (N)", "Cycles");
  render("rotated");
}

TEST_F(Gallery, TenToPower) {
  const int x = column("X", 60, [](int i) { return std::pow(10.0, -3 + i / 10.0); });
  const int y = column("Y", 60, [](int i) { return 1e4 * std::pow(10.0, -i / 12.0); });
  curve(x, y, 60);
  graph.def.X.LogAxis = graph.def.Y.LogAxis = 1;
  graph.def.X.TenToPower = graph.def.Y.TenToPower = 1;
  labels("Concentration (mol/l)", "Response");
  render("tentopower");
}

TEST_F(Gallery, AllCurveTypes) {
  const int x = column("X", 20, [](int i) { return i * 0.5; });
  for (int type = 0; type <= 5; ++type) {
    const int y = column("Y", 20, [type](int i) { return type * 2 + 1 + std::sin(i * 0.4); });
    CurveDef& c = curve(x, y, 20, type);
    c.PointShape = uint8_t(type * 2);
    c.SizeCode = type == 3 || type == 4 ? 3 : 2;
  }
  labels("x", "Line, dashed, intermittent, points, connected, dots");
  render("curvetypes");
}

TEST_F(Gallery, Bars) {
  const int x = column("X", 12, [](int i) { return i + 1.0; });
  const int lo = column("LOW", 12, [](int i) { return 10 + 3 * std::sin(i * 0.7); });
  const int hi = column("HIGH", 12, [](int i) { return 18 + 4 * std::cos(i * 0.5); });
  curve(x, lo, 12, kPointsCurve).PointShape = 2;
  curve(x, hi, 12, kPointsCurve).PointShape = 2;
  graph.def.curve(1).BarCurve = 2;
  labels("Month", "Range");
  render("bars");
}

TEST_F(Gallery, GreekAndSuperscripts) {
  const int x = column("LAMBDA", 50, [](int i) { return 400 + i * 6.0; });
  const int y =
      column("SIGMA", 50, [](int i) { return 1e-3 * std::exp(-std::pow((i - 25) / 10.0, 2)); });
  curve(x, y, 50);
  labels("\x07l\x12 (nm)",
         "\x07s\x12 (cm\x15"
         "2\x0E)",
         "Absorption, \x07"
         "a\x12 = 0.5");
  graph.def.TitleFontCode = 5;
  render("greek");
}

TEST_F(Gallery, DataNameLabels) {
  const int x = column("PRESSURE", 30, [](int i) { return 0.5 + i * 0.1; });
  const int y = column("VOLUME", 30, [](int i) { return 2.0 / (0.5 + i * 0.1); });
  curve(x, y, 30);
  graph.def.X.LabelMode = graph.def.Y.LabelMode = 2;
  graph.def.Y.MinUserSpec = 1;
  graph.def.Y.Min = 0;
  render("datanames");
}

}  // namespace

namespace {

TEST_F(Gallery, Landscape) {
  const int x = column("X", 100, [](int i) { return i * 0.2; });
  const int y = column("Y", 100, [](int i) { return std::sqrt(i * 0.2) * 10; });
  curve(x, y, 100);
  graph.def.Landscape = 1;
  graph.ApplyOrientation(d);
  ASSERT_TRUE(d.state.LandscapeMode);
  d.SetACursor(1.5, 1.2);
  d.SetBCursor(9.2, 7.2);
  labels("Depth (m)", "Pressure (kPa)", "Landscape page");
  render("landscape");
}

}  // namespace
