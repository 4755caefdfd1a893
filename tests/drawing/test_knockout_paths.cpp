// The fills of open and solid symbols over uneven ground: random ink and gaps under every symbol
// (earlier symbols, lines in both colours), random centres including the page edges, every
// fill shape, size, mode and preview pen. The pinned hashes of the whole raster and preview
// were recorded from the ring-by-ring fills completed inside their outlines; any shortcut in
// laying the rings or completing the inside must leave exactly the same pixels. The pinned
// symbol tests draw on plain white or black only, where most shortcuts are never tried.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "Fnv.h"
#include "Lcg.h"
#include "TestHost.h"
#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"

using namespace plotane;

namespace {

using Hash = test::Fnv;

// Clusters of symbols, each cluster over a scribble of lines in both colours, so that every fill
// meets ground that is partly inked, partly white, and partly its neighbours' knock-outs.
void drawClusters(Drawing& d, bool landscape, uint64_t seed, int clusters) {
  test::Lcg g{seed};
  const double w = landscape ? 10 : 8, h = landscape ? 8 : 10;
  for (int k = 0; k < clusters; ++k) {
    double X, Y;
    if (k % 4 == 0) {  // on or near a page edge or corner
      const int side = int(g.next() * 4);
      X = side == 0   ? -0.03 + 0.06 * g.next()
          : side == 1 ? w - 0.03 + 0.06 * g.next()
                      : w * g.next();
      Y = side == 2   ? -0.03 + 0.06 * g.next()
          : side == 3 ? h - 0.03 + 0.06 * g.next()
                      : h * g.next();
    } else {
      X = 0.2 + (w - 0.4) * g.next();
      Y = 0.2 + (h - 0.4) * g.next();
    }
    for (int i = 0; i < 6; ++i) {
      const double a = 6.283 * g.next(), len = 0.02 + 0.2 * g.next();
      const double x0 = X + 0.1 * (g.next() - 0.5), y0 = Y + 0.1 * (g.next() - 0.5);
      d.DrawLine(g.next() < 0.75, x0, y0, x0 + len * std::cos(a), y0 + len * std::sin(a),
                 LineWidthTable[int(g.next() * 4)]);
    }
    for (int i = 0; i < 8; ++i) {
      d.state.PenDraw = g.next() < 0.85;
      d.SetPreviewPenWidth(1 + int(g.next() * 3));
      const int shape = 4 + int(g.next() * 8);
      const int size = -2 + int(g.next() * 12);
      const double x = X + 0.12 * (g.next() - 0.5), y = Y + 0.12 * (g.next() - 0.5);
      d.DrawPointSymbol(d.pointAt({x, y}), shape, size);
    }
    // Filled circles of odd radii, some large enough to leave the tabled segment counts.
    d.state.PenDraw = g.next() < 0.7;
    d.FillCircle(d.pointAt({X + 0.05 * g.next(), Y - 0.05 * g.next()}), 0.3 * g.next() * g.next());
  }
}

void expectPage(bool landscape, uint64_t seed, uint64_t raster, uint64_t preview) {
  test::TestHost host;
  Drawing d{host};
  if (landscape) d.SetLandscape();
  drawClusters(d, landscape, seed, 240);
  Hash r, p;
  for (int row = 0; row < kRasterRows; ++row) r.add(d.image().row(row), kRasterRowBytes);
  const MonoBitmap& pv = d.preview();
  for (int row = 0; row < pv.height(); ++row) p.add(pv.row(row), std::size_t(pv.bytesPerRow()));
  EXPECT_EQ(r.h, raster) << "seed " << seed;
  EXPECT_EQ(p.h, preview) << "seed " << seed;
  if (r.h != raster || p.h != preview)
    std::printf("seed %llu: raster 0x%016llxull, preview 0x%016llxull\n", (unsigned long long)seed,
                (unsigned long long)r.h, (unsigned long long)p.h);
}

TEST(KnockoutPaths, SymbolsOverUnevenGroundPortrait) {
  expectPage(false, 11, 0x35854059c04c9b3full, 0x961d779b1a18170aull);
  expectPage(false, 12, 0xedbd2e7d9a030e25ull, 0x2749cee0a0e82d9dull);
}

TEST(KnockoutPaths, SymbolsOverUnevenGroundLandscape) {
  expectPage(true, 21, 0x15463c11c56fe25aull, 0x2888b18ba434955full);
  expectPage(true, 22, 0x2d1f39f0b848f5d0ull, 0x26f07e246195645eull);
}

}  // namespace
