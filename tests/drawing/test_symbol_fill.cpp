// Point symbols fill completely: no pixel strictly inside the outline of a solid symbol keeps the
// background, an open symbol knocks out every pixel strictly inside its outline, and every pixel
// on and outside the outline is the one the ring-by-ring fills leave.
//
// The reference here draws every ring with DrawLine, as the fills are laid out; "strictly
// inside" is worked out on the raster: the pixels the outermost ring, drawn alone on a white
// page, encloses (not inked, and not joined side by side to the surroundings).

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TestHost.h"
#include "drawing/Drawing.h"

using namespace plotane;

namespace {

constexpr float kThin = LineWidthTable[1], kWide = LineWidthTable[2];

// The sides of an outline (diamond 5, square 6, triangle 7), each from its first end to its
// second, in drawing order (the preview's walk of a side depends on its direction).
std::vector<std::array<double, 4>> sides(int shape, double X, double Y, double r) {
  if (shape == 5) {
    const double d = 1.414213562 * r;
    return {{X - d, Y, X, Y + d}, {X, Y + d, X + d, Y}, {X - d, Y, X, Y - d}, {X, Y - d, X + d, Y}};
  }
  if (shape == 6)
    return {{X - r, Y + r, X + r, Y + r},
            {X - r, Y + r, X - r, Y - r},
            {X - r, Y - r, X + r, Y - r},
            {X + r, Y - r, X + r, Y + r}};
  const double d = 0.5773502692 * r;
  return {{X - r, Y - d, X + r, Y - d}, {X - r, Y - d, X, Y + 2 * d}, {X + r, Y - d, X, Y + 2 * d}};
}

// The outline of a shape (0..7) at half-size r, one DrawLine a side.
void outline(Drawing& d, bool pen, int shape, double X, double Y, double r, double w) {
  switch (shape) {
    case 0:
      d.DrawLine(pen, X - r, Y, X + r, Y, w);
      d.DrawLine(pen, X, Y - r, X, Y + r, w);
      return;
    case 1: {
      const double k = 0.7071067812 * r;
      d.DrawLine(pen, X - k, Y - k, X + k, Y + k, w);
      d.DrawLine(pen, X - k, Y + k, X + k, Y - k, w);
      return;
    }
    case 2:
      d.DrawLine(pen, X - r, Y, X + r, Y, w);
      return;
    case 3:
      d.DrawLine(pen, X, Y - r, X, Y + r, w);
      return;
    case 4:
      d.state.PenDraw = pen;
      d.state.LineWidth = w;
      d.DrawCircle(d.pointAt({X, Y}), r);
      return;
  }
  for (const auto& s : sides(shape, X, Y, r)) d.DrawLine(pen, s[0], s[1], s[2], s[3], w);
}

// The ring-by-ring fill of a circle, diamond, square or triangle (4..7).
void ringFill(Drawing& d, bool pen, int shape, double X, double Y, double r) {
  if (shape == 4) {
    double q = r, w = kThin, last = r;
    outline(d, pen, 4, X, Y, q, w);
    q -= 0.003;
    if (q >= 0.001) {
      outline(d, pen, 4, X, Y, last = q, w);
      q -= 0.003;
      if (q >= 0.001) {
        w = kWide;
        outline(d, pen, 4, X, Y, last = q, w);
        for (q -= 0.008; q >= 0.003; q -= 0.008) outline(d, pen, 4, X, Y, last = q, w);
      }
    }
    // The upright line over the hole the innermost ring leaves.
    const double hole = last - 0.5 * w;
    if (hole > 0) d.DrawLine(pen, X, Y - hole, X, Y + hole, 2 * hole + kThin);
    return;
  }
  const double step = shape == 5 ? 0.003 : 0.004;
  outline(d, pen, shape, X, Y, r, kThin);
  for (double q = r - step; q >= 0.001; q -= step) outline(d, pen, shape, X, Y, q, kThin);
}

// Circles and triangles are drawn a little larger than the size code's half-size.
double scaleOf(int shape) {
  if (shape < 4) return 1.0;
  return shape % 4 == 0 ? 1.08 : shape % 4 == 3 ? 1.25 : 1.0;
}

// A point symbol laid ring by ring: the rendering the complete fills must keep outside outlines.
void ringSymbol(Drawing& d, int shape, int size, double X, double Y, bool pen) {
  const PointSizeEntry& e = PointSizeTable[size + 2];
  const double w = LineWidthTable[e.widthIndex], r = scaleOf(shape) * e.halfSize;
  if (shape <= 3) {
    outline(d, pen, shape, X, Y, r, w);
  } else if (shape <= 7) {
    ringFill(d, false, shape, X, Y, r);
    outline(d, pen, shape, X, Y, r, w);
  } else {
    ringFill(d, pen, shape - 4, X, Y, r);
  }
}

// A square of pixels around a centre, on the raster or on the preview.
struct Box {
  int r0, c0, size;
  bool preview;
  int index(int r, int c) const { return (r - r0) * size + (c - c0); }
};

// Holds a symbol of half-size r (the farthest corner, the diamond's, is 1.42 r out) and its ink.
Box boxAround(const Drawing& d, double X, double Y, double r, bool preview) {
  double c, row;
  if (preview)
    d.pageToPreview(X, Y, c, row);
  else
    d.pageToRaster(X, Y, c, row);
  const int half = int((preview ? 100 : 300) * 1.5 * r) + 8;
  return {int(std::floor(row)) - half, int(std::floor(c)) - half, 2 * half + 1, preview};
}

// Pixels off the bitmap read as white and are not written.
bool pixelAt(const Drawing& d, const Box& b, int r, int c) {
  if (b.preview) return d.preview().pixel(r, c);
  return r >= 0 && r < kRasterRows && c >= 0 && c < kRasterCols && d.image().pixel(r, c);
}

void paintBox(Drawing& d, const Box& b, bool black) {
  for (int r = b.r0; r < b.r0 + b.size; ++r)
    for (int c = b.c0; c < b.c0 + b.size; ++c) {
      if (b.preview)
        d.preview().setPixel(r, c, black);
      else if (r >= 0 && r < kRasterRows && c >= 0 && c < kRasterCols)
        d.image().setPixel(r, c, black);
    }
}

std::vector<char> grab(const Drawing& d, const Box& b) {
  std::vector<char> v(std::size_t(b.size * b.size));
  for (int r = b.r0; r < b.r0 + b.size; ++r)
    for (int c = b.c0; c < b.c0 + b.size; ++c) v[b.index(r, c)] = pixelAt(d, b, r, c);
  return v;
}

// The inside of the ink drawn by draw on a white page: the pixels of the box reached from the
// pixel under (X, Y) by steps to a side neighbour over pixels not inked, if they do not reach
// the box's edge (the pinholes a wide stroke may have are not inside).
template <class Draw>
std::vector<char> enclosed(Drawing& scratch, const Box& b, Draw draw, double X, double Y) {
  paintBox(scratch, b, false);
  draw(scratch);
  const std::vector<char> ink = grab(scratch, b);
  std::vector<char> reached(ink.size(), 0);
  std::vector<int> stack;
  auto reach = [&](int k) {
    if (!ink[k] && !reached[k]) reached[k] = 1, stack.push_back(k);
  };
  double c, r;
  if (b.preview)
    scratch.pageToPreview(X, Y, c, r);
  else
    scratch.pageToRaster(X, Y, c, r);
  reach(b.index(int(std::nearbyint(r)), int(std::nearbyint(c))));
  while (!stack.empty()) {
    const int k = stack.back();
    stack.pop_back();
    const int row = k / b.size, col = k % b.size;
    if (row == 0 || col == 0 || row == b.size - 1 || col == b.size - 1)
      return std::vector<char>(ink.size(), 0);
    for (const int j : {k - b.size, k + b.size, k - 1, k + 1}) reach(j);
  }
  return reached;
}

// Centres well inside the page at sub-pixel offsets, ties included.
std::vector<std::array<double, 2>> centres(int count) {
  std::vector<std::array<double, 2>> v;
  const double px = 1.0 / 300;
  const double subs[][2] = {{0, 0},       {0.5, 0.5}, {0.25, 0.75},  {1.0 / 3, 0.1},
                            {0.71, 0.29}, {0.9, 0.5}, {0.125, 0.95}, {0.6, 0.0}};
  for (int k = 0; k < count; ++k)
    v.push_back({1.5 + (k % 4) * 1.6 + subs[k][0] * px, 2.0 + (k / 4) * 3.1 + subs[k][1] * px});
  return v;
}

struct Mode {
  const char* name;
  bool background, pen;
};
// Ink on white, ink over a black block (knock-outs show), erasing over a black block.
constexpr Mode kModes[3] = {
    {"on white", false, true}, {"over black", true, true}, {"erasing on black", true, false}};

// Draws every symbol at every size at the centres in every mode, with the ring-by-ring symbol
// beside it, and checks raster and preview: inside the outline the wanted colour, elsewhere the
// ring-by-ring pixels. Returns the failures; outsideHash collects the raster pixels outside.
std::string checkSymbols(bool landscape, int centreCount, int& casesWithInside,
                         uint64_t& outsideHash) {
  test::TestHost host;
  Drawing now(host), rings(host), scratch(host);
  if (landscape)
    for (Drawing* d : {&now, &rings, &scratch}) d->SetLandscape();
  std::string failures;
  for (const Mode& m : kModes)
    for (const auto& [X, Y] : centres(centreCount))
      for (int shape = 0; shape <= 11; ++shape)
        for (int size = -2; size <= 9; ++size) {
          const PointSizeEntry& e = PointSizeTable[size + 2];
          const double r = scaleOf(shape) * e.halfSize, w = LineWidthTable[e.widthIndex];
          const int base = shape >= 8 ? shape - 4 : shape;
          const Box boxes[2] = {boxAround(now, X, Y, r, false), boxAround(now, X, Y, r, true)};
          for (const Box& b : boxes) {
            paintBox(now, b, m.background);
            paintBox(rings, b, m.background);
          }
          now.state.PenDraw = m.pen;
          now.DrawPointSymbol(now.pointAt({X, Y}), shape, size);
          rings.SetPreviewPenWidth(e.previewPen);
          ringSymbol(rings, shape, size, X, Y, m.pen);
          for (const Box& b : boxes) {
            const std::vector<char> got = grab(now, b), before = grab(rings, b);
            // Strictly inside the symbol's outline: the outermost ring of a solid fill, an open
            // symbol's outline as drawn. The only pixels that may differ.
            std::vector<char> inside(got.size(), 0);
            if (shape >= 4)
              inside = enclosed(
                  scratch, b,
                  [&](Drawing& s) {
                    s.SetPreviewPenWidth(e.previewPen);
                    outline(s, true, base, X, Y, r, shape >= 8 ? kThin : w);
                  },
                  X, Y);
            // Solid symbols leave the pen's colour inside, open ones knock out whatever the pen.
            const bool want = shape >= 8 && m.pen;
            int changedOutside = 0, left = 0;
            bool any = false;
            for (std::size_t k = 0; k < got.size(); ++k) {
              if (inside[k]) {
                any = true;
                if (got[k] != want) ++left;
              } else {
                if (got[k] != before[k]) ++changedOutside;
                if (!b.preview) outsideHash = (outsideHash ^ uint8_t(got[k])) * 1099511628211ull;
              }
            }
            if (!b.preview) casesWithInside += any;
            if (changedOutside || left)
              failures += std::string(m.name) + (b.preview ? " preview" : " raster") + " shape " +
                          std::to_string(shape) + " size " + std::to_string(size) + " at " +
                          std::to_string(X) + "," + std::to_string(Y) + ": " +
                          std::to_string(left) + " left inside, " + std::to_string(changedOutside) +
                          " changed outside\n";
          }
        }
  return failures;
}

TEST(SymbolFill, CompleteInsideUnchangedOnAndOutside) {
  int casesWithInside = 0;
  uint64_t outsideHash = 1469598103934665603ull;  // FNV-1a 64
  EXPECT_EQ(checkSymbols(false, 8, casesWithInside, outsideHash), "");
  // The raster outside the outlines, recorded from the ring-by-ring fills before they were
  // completed inside.
  EXPECT_EQ(outsideHash, 0x6729b9893c7b655dull) << std::hex << outsideHash;
  // Every closed symbol encloses pixels at every size: the checks are not empty.
  EXPECT_EQ(casesWithInside, 3 * 8 * 8 * 12);
}

TEST(SymbolFill, CompleteInLandscape) {
  int casesWithInside = 0;
  uint64_t outsideHash = 0;
  EXPECT_EQ(checkSymbols(true, 3, casesWithInside, outsideHash), "");
  EXPECT_EQ(casesWithInside, 3 * 3 * 8 * 12);
}

// Filled circles of many radii, as nodes and the drawing commands use them, with either
// preview pen: complete inside their outermost ring, the rest as the rings leave it.
TEST(SymbolFill, FilledCirclesOfManyRadii) {
  test::TestHost host;
  Drawing now(host), rings(host), scratch(host);
  const double radii[] = {0.0002, 0.001, 0.0021, 0.003, 0.0045, 0.0061, 0.009, 0.013, 0.02,
                          0.027,  0.035, 0.0432, 0.05,  0.063,  0.08,   0.108, 0.15,  0.23};
  std::string failures;
  int k = 0;
  for (const Mode& m : kModes)
    for (const auto& [X, Y] : centres(4))
      for (double r : radii) {
        const int pen = 1 + (k++ % 2);
        const Box boxes[2] = {boxAround(now, X, Y, r, false), boxAround(now, X, Y, r, true)};
        for (const Box& b : boxes) {
          paintBox(now, b, m.background);
          paintBox(rings, b, m.background);
        }
        now.state.PenDraw = m.pen;
        now.SetPreviewPenWidth(pen);
        now.FillCircle(now.pointAt({X, Y}), r);
        rings.SetPreviewPenWidth(pen);
        ringFill(rings, m.pen, 4, X, Y, r);
        for (const Box& b : boxes) {
          const std::vector<char> got = grab(now, b), before = grab(rings, b);
          const std::vector<char> inside = enclosed(
              scratch, b,
              [&](Drawing& s) {
                s.SetPreviewPenWidth(pen);
                outline(s, true, 4, X, Y, r, kThin);
              },
              X, Y);
          int changedOutside = 0, left = 0;
          for (std::size_t i = 0; i < got.size(); ++i) {
            if (inside[i] && got[i] != m.pen) ++left;
            if (!inside[i] && got[i] != before[i]) ++changedOutside;
          }
          if (left || changedOutside)
            failures += std::string(m.name) + (b.preview ? " preview" : " raster") + " r " +
                        std::to_string(r) + ": " + std::to_string(left) + " left inside, " +
                        std::to_string(changedOutside) + " changed outside\n";
        }
      }
  EXPECT_EQ(failures, "");
}

// How deep the centre of a raster pixel lies inside a symbol's outline, in pixels (negative
// outside): from its centre line, the circle or the polygon of the sides.
struct Depth {
  bool circle = false;
  double cx = 0, cy = 0, radius = 0;
  std::vector<std::array<double, 3>> lines;  // a col + b row <= c inside, (a, b) of length 1

  Depth(const Drawing& d, int shape, double X, double Y, double r) {
    d.pageToRaster(X, Y, cx, cy);
    if (shape == 4) {
      double c2, r2;
      d.pageToRaster(X + r, Y, c2, r2);
      circle = true;
      radius = std::hypot(c2 - cx, r2 - cy);
      return;
    }
    // The centre lies inside every shape (the triangle's centroid included).
    for (const auto& s : sides(shape, X, Y, r)) {
      double x1, y1, x2, y2;
      d.pageToRaster(s[0], s[1], x1, y1);
      d.pageToRaster(s[2], s[3], x2, y2);
      double a = y2 - y1, b = x1 - x2;
      const double len = std::hypot(a, b);
      a /= len;
      b /= len;
      if (a * (cx - x1) + b * (cy - y1) > 0) a = -a, b = -b;
      lines.push_back({a, b, a * x1 + b * y1});
    }
  }
  double at(int row, int col) const {
    if (circle) return radius - std::hypot(col - cx, row - cy);
    double depth = 1e9;
    for (const auto& l : lines) depth = std::min(depth, l[2] - (l[0] * col + l[1] * row));
    return depth;
  }
};

// Symbols cut by the page's edges or lying partly off it: pixels deep inside the outline get the
// wanted colour; no pixel whose centre lies outside the outline differs from the rings' pixels.
TEST(SymbolFill, CutByThePageEdges) {
  test::TestHost host;
  Drawing now(host), rings(host);
  const double edges[][2] = {{0.0, 5.0},     {0.01, 4.003}, {-0.03, 6.0},      {8.0, 5.0},
                             {7.988, 2.1},   {8.04, 3.3},   {4.0, 0.0},        {3.001, 0.013},
                             {2.5, -0.035},  {4.0, 10.0},   {3.3, 9.989},      {5.1, 10.05},
                             {0.002, 0.004}, {7.999, 10.0}, {-0.0005, 10.0007}};
  std::string failures;
  int deepChecked = 0;
  for (const Mode& m : kModes)
    for (const auto& [X, Y] : edges)
      for (int shape = 4; shape <= 11; ++shape)
        for (int size = -2; size <= 9; ++size) {
          const PointSizeEntry& e = PointSizeTable[size + 2];
          const double r = scaleOf(shape) * e.halfSize;
          const double wall = 300 * (shape >= 8 ? kThin : LineWidthTable[e.widthIndex]);
          const int base = shape >= 8 ? shape - 4 : shape;
          const Box b = boxAround(now, X, Y, r, false);
          paintBox(now, b, m.background);
          paintBox(rings, b, m.background);
          now.state.PenDraw = m.pen;
          now.DrawPointSymbol(now.pointAt({X, Y}), shape, size);
          ringSymbol(rings, shape, size, X, Y, m.pen);
          const bool want = shape >= 8 && m.pen;
          const Depth depthOf(now, base, X, Y, r);
          int outside = 0, left = 0;
          for (int row = std::max(b.r0, 0); row < std::min(b.r0 + b.size, kRasterRows); ++row)
            for (int col = std::max(b.c0, 0); col < std::min(b.c0 + b.size, kRasterCols); ++col) {
              const double depth = depthOf.at(row, col);
              const bool got = now.image().pixel(row, col);
              if (depth <= 0 && got != rings.image().pixel(row, col)) ++outside;
              if (depth > wall / 2 + 1.5) {
                ++deepChecked;
                if (got != want) ++left;
              }
            }
          if (outside || left)
            failures += std::string(m.name) + " shape " + std::to_string(shape) + " size " +
                        std::to_string(size) + " at " + std::to_string(X) + "," +
                        std::to_string(Y) + ": " + std::to_string(left) + " left deep inside, " +
                        std::to_string(outside) + " changed outside\n";
        }
  EXPECT_EQ(failures, "");
  EXPECT_GT(deepChecked, 10000);
}

}  // namespace
