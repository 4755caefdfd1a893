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

// The corners of an outline (diamond 5, square 6, triangle 7) in order round it, page inches.
std::vector<std::array<double, 2>> corners(int shape, double X, double Y, double r) {
  if (shape == 5) {
    const double d = 1.414213562 * r;
    return {{X - d, Y}, {X, Y + d}, {X + d, Y}, {X, Y - d}};
  }
  if (shape == 6) return {{X - r, Y + r}, {X + r, Y + r}, {X + r, Y - r}, {X - r, Y - r}};
  const double d = 0.5773502692 * r;
  return {{X - r, Y - d}, {X + r, Y - d}, {X, Y + 2 * d}};
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
  const auto v = corners(shape, X, Y, r);
  for (std::size_t i = 0; i < v.size(); ++i) {
    const auto& a = v[i];
    const auto& b = v[(i + 1) % v.size()];
    d.DrawLine(pen, a[0], a[1], b[0], b[1], w);
  }
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

// A square of raster pixels around a centre.
struct Box {
  int r0, c0, size;
  int index(int r, int c) const { return (r - r0) * size + (c - c0); }
};

// Holds a symbol of half-size r (the farthest corner, the diamond's, is 1.42 r out) and its ink.
Box boxAround(const Drawing& d, double X, double Y, double r) {
  double c, row;
  d.pageToRaster(X, Y, c, row);
  const int half = int(300 * 1.5 * r) + 8;
  return {int(row) - half, int(c) - half, 2 * half + 1};
}

void paintBox(Drawing& d, const Box& b, bool black) {
  for (int r = b.r0; r < b.r0 + b.size; ++r)
    for (int c = b.c0; c < b.c0 + b.size; ++c) d.image().setPixel(r, c, black);
}

std::vector<char> grab(const Drawing& d, const Box& b) {
  std::vector<char> v(std::size_t(b.size * b.size));
  for (int r = b.r0; r < b.r0 + b.size; ++r)
    for (int c = b.c0; c < b.c0 + b.size; ++c) v[b.index(r, c)] = d.image().pixel(r, c);
  return v;
}

// The pixels of the box that the ink drawn by draw on a white page encloses: not inked and not
// reached from the box's edge by steps to a side neighbour over pixels not inked.
template <class Draw>
std::vector<char> enclosed(Drawing& scratch, const Box& b, Draw draw) {
  paintBox(scratch, b, false);
  draw(scratch);
  const std::vector<char> ink = grab(scratch, b);
  std::vector<char> outside(ink.size(), 0);
  std::vector<int> stack;
  for (int i = 0; i < b.size; ++i)
    for (int k : {i, (b.size - 1) * b.size + i, i * b.size, i * b.size + b.size - 1})
      if (!ink[k] && !outside[k]) outside[k] = 1, stack.push_back(k);
  while (!stack.empty()) {
    const int k = stack.back();
    stack.pop_back();
    const int r = k / b.size, c = k % b.size;
    const int next[4][2] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
    for (const auto& n : next) {
      if (n[0] < 0 || n[0] >= b.size || n[1] < 0 || n[1] >= b.size) continue;
      const int j = n[0] * b.size + n[1];
      if (!ink[j] && !outside[j]) outside[j] = 1, stack.push_back(j);
    }
  }
  std::vector<char> inside(ink.size());
  for (std::size_t k = 0; k < ink.size(); ++k) inside[k] = !ink[k] && !outside[k];
  return inside;
}

// Centres well inside the page at sub-pixel offsets, ties included.
std::vector<std::array<double, 2>> centres() {
  std::vector<std::array<double, 2>> v;
  const double px = 1.0 / 300;
  const double subs[][2] = {{0, 0},       {0.5, 0.5}, {0.25, 0.75},  {1.0 / 3, 0.1},
                            {0.71, 0.29}, {0.9, 0.5}, {0.125, 0.95}, {0.6, 0.0}};
  int k = 0;
  for (const auto& s : subs) {
    v.push_back({1.5 + (k % 4) * 1.6 + s[0] * px, 2.0 + (k / 4) * 3.1 + s[1] * px});
    ++k;
  }
  return v;
}

struct Mode {
  const char* name;
  bool background, pen;
};
// Ink on white, ink over a black block (knock-outs show), erasing over a black block.
constexpr Mode kModes[3] = {{"on white", false, true},
                            {"over black", true, true},
                            {"erasing on black", true, false}};

TEST(SymbolFill, CompleteInsideUnchangedOnAndOutside) {
  test::TestHost host;
  Drawing now(host), rings(host), scratch(host);
  for (Drawing* d : {&now, &rings, &scratch}) d->state.PreviewEcho = false;
  std::string failures;
  int casesWithInside = 0;
  uint64_t outsideHash = 1469598103934665603ull;  // FNV-1a 64 of every pixel not strictly inside
  for (const Mode& m : kModes)
    for (const auto& [X, Y] : centres())
      for (int shape = 0; shape <= 11; ++shape)
        for (int size = -2; size <= 9; ++size) {
          const PointSizeEntry& e = PointSizeTable[size + 2];
          const double r = scaleOf(shape) * e.halfSize, w = LineWidthTable[e.widthIndex];
          const Box b = boxAround(now, X, Y, r);
          const int base = shape >= 8 ? shape - 4 : shape;
          paintBox(now, b, m.background);
          paintBox(rings, b, m.background);
          now.state.PenDraw = m.pen;
          now.DrawPointSymbol(now.pointAt({X, Y}), shape, size);
          ringSymbol(rings, shape, size, X, Y, m.pen);
          const std::vector<char> got = grab(now, b), before = grab(rings, b);
          // Strictly inside the fill's outermost ring: the only pixels that may differ.
          std::vector<char> inFill(got.size(), 0), inOutline(got.size(), 0);
          if (shape >= 4)
            inFill = enclosed(scratch, b, [&](Drawing& s) { outline(s, true, base, X, Y, r, kThin); });
          // Strictly inside an open symbol's outline as drawn.
          if (shape >= 4 && shape <= 7)
            inOutline = enclosed(scratch, b, [&](Drawing& s) { outline(s, true, base, X, Y, r, w); });
          int changedOutside = 0, left = 0;
          bool any = false;
          for (std::size_t k = 0; k < got.size(); ++k) {
            if (!inFill[k]) {
              if (got[k] != before[k]) ++changedOutside;
              outsideHash = (outsideHash ^ uint8_t(got[k])) * 1099511628211ull;
            }
            if (shape >= 8 && inFill[k]) {
              any = true;
              if (got[k] != m.pen) ++left;
            }
            if (shape >= 4 && shape <= 7 && inOutline[k]) {
              any = true;
              if (got[k]) ++left;  // knocked out, whatever the pen
            }
          }
          casesWithInside += any;
          if (changedOutside || left)
            failures += std::string(m.name) + " shape " + std::to_string(shape) + " size " +
                        std::to_string(size) + " at " + std::to_string(X) + "," +
                        std::to_string(Y) + ": " + std::to_string(left) + " left inside, " +
                        std::to_string(changedOutside) + " changed outside\n";
        }
  EXPECT_EQ(failures, "");
  // Recorded from the ring-by-ring fills before they were completed inside.
  EXPECT_EQ(outsideHash, 0xa2055bafe4992097ull) << std::hex << outsideHash;
  // Every closed symbol encloses pixels at every size: the checks above are not empty.
  EXPECT_EQ(casesWithInside, 3 * 8 * 8 * 12);
}

}  // namespace
