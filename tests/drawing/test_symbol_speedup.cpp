// Pins the exact pixels that point symbols, nodes and filled circles leave in the raster and in
// the preview. The constants were first recorded from the plain ring-by-ring fills (every ring
// outline drawn with DrawLine and echoed to the preview) before any speed work on the fills and
// the rasteriser; such work must not change a single pixel, so these hashes must not change.
// They were pinned again once, when the fills were made complete inside their outlines (the rings
// left pinholes, and specks in knock-outs): only pixels strictly inside outlines changed then,
// which test_symbol_fill.cpp checks against the ring-by-ring fills.
//
// Every case is drawn into a window of the page first set to a known background (white, or black
// so that knock-outs and erasing show), then the window of the raster and of the preview is
// hashed; a final hash of the whole raster and preview catches ink that leaks outside a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Fnv.h"
#include "Lcg.h"
#include "TestHost.h"
#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"

using namespace plotane;

namespace {

using Hash = test::Fnv;

// A rectangle of rows and bytes.
struct Window {
  int row0, row1, byte0, byte1;
};

Window clampWindow(double col, double row, int margin, int rows, int rowBytes) {
  auto clampInt = [](double v, int lo, int hi) {
    if (!(v > lo)) return lo;
    if (v > hi) return hi;
    return int(v);
  };
  Window w;
  w.row0 = clampInt(row - margin, 0, rows - 1);
  w.row1 = clampInt(row + margin, 0, rows - 1);
  w.byte0 = clampInt((col - margin) / 8, 0, rowBytes - 1);
  w.byte1 = clampInt((col + margin) / 8, 0, rowBytes - 1);
  return w;
}

template <class RowOf>
void fillWindow(const Window& w, uint8_t value, RowOf rowOf) {
  for (int r = w.row0; r <= w.row1; ++r)
    std::memset(rowOf(r) + w.byte0, value, std::size_t(w.byte1 - w.byte0 + 1));
}

template <class RowOf>
void hashWindow(Hash& h, const Window& w, RowOf rowOf) {
  for (int r = w.row0; r <= w.row1; ++r)
    h.add(rowOf(r) + w.byte0, std::size_t(w.byte1 - w.byte0 + 1));
}

struct Page {
  test::TestHost host;
  Drawing d{host};
  Hash raster, preview;

  explicit Page(bool landscape) {
    if (landscape) d.SetLandscape();
  }

  // Sets the windows around page position (X, Y) to the background, runs draw, hashes them.
  template <class F>
  void drawCase(double X, double Y, int extent, bool blackBackground, F draw) {
    double col, row, pc, pr;
    d.pageToRaster(X, Y, col, row);
    d.pageToPreview(X, Y, pc, pr);
    MonoBitmap& pv = d.preview();
    const Window rw = clampWindow(col, row, extent, kRasterRows, kRasterRowBytes);
    const Window pw = clampWindow(pc, pr, extent / 3 + 4, pv.height(), pv.bytesPerRow());
    const uint8_t bg = blackBackground ? 0xFF : 0x00;
    auto rasterRow = [&](int r) { return d.image().row(r); };
    auto previewRow = [&](int r) { return pv.row(r); };
    fillWindow(rw, bg, rasterRow);
    fillWindow(pw, bg, previewRow);
    draw();
    hashWindow(raster, rw, rasterRow);
    hashWindow(preview, pw, previewRow);
  }

  // The whole raster and preview, after all cases.
  void finish() {
    for (int r = 0; r < kRasterRows; ++r) raster.add(d.image().row(r), kRasterRowBytes);
    const MonoBitmap& pv = d.preview();
    for (int r = 0; r < pv.height(); ++r) preview.add(pv.row(r), std::size_t(pv.bytesPerRow()));
  }
};

// Centres: sub-pixel offsets inside the page (including half-pixel ties) and places where a
// symbol is cut by a page edge or lies partly off the page. Given in portrait inches (8 x 10);
// landscape swaps the ranges.
std::vector<std::pair<double, double>> centres(bool landscape) {
  std::vector<std::pair<double, double>> v;
  const double px = 1.0 / 300;
  const double subs[] = {0.0, 0.5, 1.0 / 3, 0.25, 0.71, 0.9, 1.5, 0.125};
  int k = 0;
  for (double fx : subs)
    for (double fy : subs) {
      if ((k++ % 3) != 0 && fx != fy) continue;
      v.push_back({2.0 + (k % 5) * 0.7 + fx * px, 3.0 + (k % 7) * 0.6 + fy * px});
    }
  const double w = landscape ? 10 : 8, h = landscape ? 8 : 10;
  const double edges[][2] = {
      {0.0, 5.0},         {0.01, 4.003},   {-0.03, 6.0},   {w, 5.0},       {w - 0.012, 2.1},
      {w + 0.04, 3.3},    {4.0, 0.0},      {3.001, 0.013}, {2.5, -0.035},  {4.0, h},
      {3.3, h - 0.011},   {5.1, h + 0.05}, {0.002, 0.004}, {w - 0.001, h}, {-0.0005, h + 0.0007},
      {w + 0.001, -0.002}};
  for (const auto& e : edges) v.push_back({e[0], e[1]});
  return v;
}

// Checks both hashes; on a difference prints the new values for the investigation.
void expectPinned(const char* what, const Page& p, uint64_t raster, uint64_t preview) {
  EXPECT_EQ(p.raster.h, raster) << what;
  EXPECT_EQ(p.preview.h, preview) << what;
  if (p.raster.h != raster || p.preview.h != preview)
    std::printf("%s: raster 0x%016llxull, preview 0x%016llxull\n", what,
                (unsigned long long)p.raster.h, (unsigned long long)p.preview.h);
}

// Background and pen: ink on white; ink on black (knock-outs of the open symbols show); erasing
// on black (the erased shapes show).
struct Mode {
  bool black, pen;
};
constexpr Mode kModes[3] = {{false, true}, {true, true}, {true, false}};

Page& symbolsPage(Page& p, bool landscape) {
  for (const Mode& m : kModes)
    for (const auto& [X, Y] : centres(landscape))
      for (int shape = 0; shape <= 11; ++shape)
        for (int size = -2; size <= 9; ++size)
          p.drawCase(X, Y, 70, m.black, [&] {
            p.d.state.PenDraw = m.pen;
            p.d.DrawPointSymbol(p.d.pointAt({X, Y}), shape, size);
          });
  p.finish();
  return p;
}

TEST(SymbolPixels, AllSymbolsAllSizesPortrait) {
  Page p(false);
  symbolsPage(p, false);
  expectPinned("symbols portrait", p, 0x073c88894454b644ull, 0x0f7559d6f9e14c77ull);
}

TEST(SymbolPixels, AllSymbolsAllSizesLandscape) {
  Page p(true);
  symbolsPage(p, true);
  expectPinned("symbols landscape", p, 0xd7de704899b3748full, 0x6c4417bb7e0012cfull);
}

// Filled circles of many radii (the preview pen 1 and 2) and nodes of every arrow size.
void circlesPage(Page& p, bool landscape) {
  const double radii[] = {0.0002, 0.001, 0.0021, 0.003, 0.0045, 0.0061, 0.009, 0.013, 0.02,
                          0.027,  0.035, 0.0432, 0.05,  0.063,  0.08,   0.108, 0.15,  0.23};
  const auto cs = centres(landscape);
  int k = 0;
  for (const Mode& m : kModes)
    for (const auto& [X, Y] : cs)
      for (double r : radii) {
        const int pen = 1 + (k++ % 2);
        p.drawCase(X, Y, int(300 * r) + 20, m.black, [&] {
          p.d.state.PenDraw = m.pen;
          p.d.SetPreviewPenWidth(pen);
          p.d.FillCircle(p.d.pointAt({X, Y}), r);
        });
      }
  for (const Mode& m : kModes)
    for (const auto& [X, Y] : cs)
      for (double a : ArrowSizeTable) {
        p.drawCase(X, Y, 60, m.black, [&] {
          p.d.state.A = {X, Y};
          p.d.state.ArrowSize = a;
          p.d.RestorePreviewPen();
          p.d.state.PenDraw = m.pen;
          p.d.DrawNode();
        });
      }
  p.finish();
}

TEST(SymbolPixels, FilledCirclesAndNodes) {
  Page portrait(false);
  circlesPage(portrait, false);
  expectPinned("circles portrait", portrait, 0x82ca41408ad6dedcull, 0x57447f9ef6ed8e0eull);
  Page landscape(true);
  circlesPage(landscape, true);
  expectPinned("circles landscape", landscape, 0x30f9abcd0d101237ull, 0x2345115133a43cdeull);
}

// Symbols laid over each other and over lines, in the order a graph draws them, so that the
// result depends on every knock-out and fill landing exactly where it did.
TEST(SymbolPixels, OverlappingSymbolsOnLines) {
  Page p(false);
  Drawing& d = p.d;
  for (int i = 0; i < 40; ++i)
    d.DrawLine(true, 0.5, 0.5 + i * 0.05, 7.5, 0.7 + i * 0.06, LineWidthTable[i % 5]);
  for (int i = 0; i < 600; ++i) {
    const double X = 0.6 + i * 0.0113, Y = 1.0 + 0.9 * std::sin(i * 0.05) + (i % 7) * 0.004;
    d.DrawPointSymbol(d.pointAt({X, Y}), i % 12, (i / 12) % 12 - 2);
  }
  p.finish();
  expectPinned("overlapping", p, 0xd4a0c53a9e112f40ull, 0x4a2d25550f882323ull);
}

}  // namespace

namespace {

using test::Lcg;

// Lines of every kind the symbols and graphs use: axis-parallel, exactly diagonal, zero-length,
// general, at the table widths and between them, short and long, across the page edges, drawn
// and erased. Hashes are taken after every few lines so that later ink cannot hide a change.
void linesPage(Page& p, uint64_t seed) {
  Drawing& d = p.d;
  Lcg g{seed};
  const double w = d.state.LandscapeMode ? 10 : 8, h = d.state.LandscapeMode ? 8 : 10;
  for (int i = 0; i < 6000; ++i) {
    const int kind = i % 8;
    double X1 = -0.2 + g.next() * (w + 0.4), Y1 = -0.2 + g.next() * (h + 0.4);
    const double len = kind == 7 ? g.next() * 3 : g.next() * 0.15;
    const double a = g.next() * 6.283185307179586;
    double X2 = X1 + len * std::cos(a), Y2 = Y1 + len * std::sin(a);
    if (kind == 0) Y2 = Y1;
    if (kind == 1) X2 = X1;
    if (kind == 2) Y2 = Y1 + (X2 - X1);
    if (kind == 3) Y2 = Y1 - (X2 - X1);
    if (kind == 4 && i % 16 == 4) X2 = X1, Y2 = Y1;
    const double width = i % 3 == 0 ? g.next() * 0.05 : LineWidthTable[i % 5];
    d.SetPreviewPenWidth(1 + i % 2);
    d.DrawLine(i % 5 != 1, X1, Y1, X2, Y2, width);
    if (i % 16 == 15) p.finish();
  }
  p.finish();
}

TEST(LinePixels, LinesOfAllKindsPortraitAndLandscape) {
  Page portrait(false);
  linesPage(portrait, 7);
  expectPinned("lines portrait", portrait, 0x841b20c6a010aadfull, 0x41dc2295b4ca0629ull);
  Page landscape(true);
  linesPage(landscape, 11);
  expectPinned("lines landscape", landscape, 0xd09e5ef82c453f15ull, 0x1a36fe038409afd2ull);
}

}  // namespace

namespace {

// Symbols in dense runs, as a points curve draws them (each a pixel or two from the last, so
// that most of a symbol lands on ink or on a knock-out already there), over solid blocks whose
// edges cut through them, drawn and erased, at every shape and size. Fills may pass over what is
// already settled; these hashes hold them to the pixels of the plain fills.
void denseRunsPage(Page& p) {
  Drawing& d = p.d;
  const double w = d.state.LandscapeMode ? 10 : 8;
  // Blocks of ink with edges at odd sub-pixel places.
  for (int b = 0; b < 12; ++b) {
    const double x0 = 0.3 + b * 0.61, y0 = 0.4 + (b % 4) * 1.9;
    for (double y = y0; y < y0 + 0.35; y += 0.002)
      d.DrawLine(true, x0, y, x0 + 0.23 + b * 0.0007, y, LineWidthTable[1]);
  }
  Lcg g{5};
  for (int run = 0; run < 48; ++run) {
    const int shape = run % 12, size = (run * 5) % 12 - 2;
    d.state.PenDraw = run % 7 != 3;
    d.SetPreviewPenWidth(1 + run % 2);
    double X = 0.2 + g.next() * (w - 2.5), Y = 0.5 + g.next() * 7;
    const double dX = (0.5 + 3 * g.next()) / 300, dY = (g.next() - 0.5) * 3 / 300;
    for (int i = 0; i < 120; ++i) {
      d.DrawPointSymbol(d.pointAt({X, Y + 0.05 * std::sin(i * 0.2)}), shape, size);
      X += dX;
      Y += dY;
    }
    if (run % 8 == 7) p.finish();
  }
  // Nodes and filled circles in runs too.
  for (int run = 0; run < 6; ++run) {
    d.state.ArrowSize = ArrowSizeTable[run % 5];
    for (int i = 0; i < 60; ++i) {
      d.state.A = {1 + run + i * 0.004, 7.5 - 0.003 * i};
      d.DrawNode();
      d.state.PenDraw = i % 9 != 4;
      d.FillCircle(d.pointAt({1.3 + run + i * 0.005, 5.1 + 0.002 * i}), 0.004 + 0.0011 * i);
      d.state.PenDraw = true;
    }
  }
  p.finish();
}

TEST(SymbolPixels, DenseRunsOverInkPortraitAndLandscape) {
  Page portrait(false);
  denseRunsPage(portrait);
  expectPinned("dense portrait", portrait, 0x5e97807043ceb90dull, 0xb4795981233cbbfeull);
  Page landscape(true);
  denseRunsPage(landscape);
  expectPinned("dense landscape", landscape, 0xa8328a1f35c3d399ull, 0x3232836dbebc25c2ull);
}

}  // namespace

namespace {

// Fills pass over a segment when everything within inkReach of its ends is settled, so no ink
// of a segment may ever lie farther out; nor may a preview walk leave the box of its ends
// widened by the pen. Checked on the pixels each segment actually leaves on a white page.
TEST(LinePixels, InkStaysWithinItsReach) {
  Lcg g{23};
  test::TestHost host;
  Drawing d(host);
  for (int i = 0; i < 3000; ++i) {
    d.image().clear();
    const double X1 = 0.05 + g.next() * 7.9, Y1 = 0.05 + g.next() * 9.9;
    const double len = i % 10 == 0 ? 0 : g.next() * (i % 3 ? 0.03 : 0.3);
    const double a = i % 4 == 0 ? (i % 8) * 0.785398163397448 : g.next() * 6.283185307179586;
    const double X2 = X1 + len * std::cos(a), Y2 = Y1 + len * std::sin(a);
    const double width = i % 2 ? LineWidthTable[1 + i % 4] : g.next() * 0.04;
    d.DrawLine(true, X1, Y1, X2, Y2, width);
    double c1, r1, c2, r2;
    d.pageToRaster(X1, Y1, c1, r1);
    d.pageToRaster(X2, Y2, c2, r2);
    const double m = inkReach(300 * width);
    const int rLo = std::max(0, int(std::min(r1, r2) - m) - 3);
    const int rHi = std::min(kRasterRows - 1, int(std::max(r1, r2) + m) + 3);
    const int cLo = std::max(0, int(std::min(c1, c2) - m) - 3);
    const int cHi = std::min(kRasterCols - 1, int(std::max(c1, c2) + m) + 3);
    long inside = 0;
    for (int r = rLo; r <= rHi; ++r)
      for (int c = cLo; c <= cHi; ++c)
        if (d.image().pixel(r, c)) {
          ++inside;
          ASSERT_TRUE(r >= std::min(r1, r2) - m && r <= std::max(r1, r2) + m &&
                      c >= std::min(c1, c2) - m && c <= std::max(c1, c2) + m)
              << "segment " << i << " pixel " << r << "," << c;
        }
    ASSERT_EQ(inside, d.image().countInk()) << "segment " << i;
  }
  MonoBitmap pv(60, 50);
  for (int i = 0; i < 2000; ++i) {
    pv.clear();
    const int pen = 1 + i % 4;
    const int x1 = int(g.next() * 90) - 20, y1 = int(g.next() * 80) - 15;
    const int x2 = x1 + int(g.next() * 9) - 4, y2 = y1 + int(g.next() * 9) - 4;
    pv.drawLine(x1, y1, x2, y2, pen, true);
    const int back = (pen - 1) / 2;
    long inside = 0;
    for (int r = 0; r < pv.height(); ++r)
      for (int c = 0; c < pv.width(); ++c)
        if (pv.pixel(r, c)) {
          ++inside;
          ASSERT_TRUE(c >= std::min(x1, x2) - back && c <= std::max(x1, x2) - back + pen - 1 &&
                      r >= std::min(y1, y2) - back && r <= std::max(y1, y2) - back + pen - 1)
              << "walk " << i;
        }
    EXPECT_EQ(inside, pv.countInk());
  }
}

}  // namespace
