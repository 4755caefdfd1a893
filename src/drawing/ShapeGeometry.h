#pragma once
// The geometry shared by the outlined and the filled shapes: circle segments, symbol outlines,
// and the raster pixels a set of segments can ink.

#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"

namespace plotane::shapes {

inline constexpr double kPi = std::numbers::pi;
// Bounds the work one call can cause, whatever numbers a script passes.
inline constexpr long kMaxPieces = 100001;

// About 100 sqrt(r) segments, an even number.
inline long circleSegments(double r) {
  if (!(r > 0) || !std::isfinite(r)) return 0;
  double m = std::nearbyint(100 * std::sqrt(r));
  if (m > kMaxPieces) m = kMaxPieces;
  return long(m) & ~1L;
}

// The point of the unit circle at an angle, for circles and for the table below alike.
inline void unitPoint(double angle, double& c, double& s) {
  c = std::cos(angle);
  s = std::sin(angle);
}

// The unit-circle points a circle of m segments steps through (the angle grows by 2 pi / m per
// segment), for the small even m of symbols and nodes: fills draw the same few counts over and
// over, so their cosines and sines are worked out once.
constexpr long kTabledSegments = 64;

struct UnitCircles {
  std::vector<double> cosines, sines;
  std::size_t start[kTabledSegments / 2 + 1] = {};  // first point of m = 2 k at start[k]
  UnitCircles() {
    for (long m = 2; m <= kTabledSegments; m += 2) {
      start[m / 2] = cosines.size();
      const double step = 2 * kPi / double(m);
      double angle = 0;
      for (long i = 0; i < m; ++i) {
        angle += step;
        double c, s;
        unitPoint(angle, c, s);
        cosines.push_back(c);
        sines.push_back(s);
      }
    }
  }
};

inline const UnitCircles& unitCircles() {
  static const UnitCircles table;
  return table;
}

// The segments of a circle of radius r about (cX, cY), counter-clockwise from angle 0, handed
// to emit(X1, Y1, X2, Y2) in drawing order.
template <class Emit>
void forCircleSegments(double cX, double cY, double r, Emit&& emit) {
  const long m = circleSegments(r);
  if (m == 0) return;
  double px = cX + r, py = cY;
  auto to = [&](double c, double s) {
    const double nx = cX + r * c, ny = cY + r * s;
    emit(px, py, nx, ny);
    px = nx;
    py = ny;
  };
  if (m <= kTabledSegments) {
    const UnitCircles& t = unitCircles();
    const double* c = t.cosines.data() + t.start[m / 2];
    const double* s = t.sines.data() + t.start[m / 2];
    for (long i = 0; i < m; ++i) to(c[i], s[i]);
    return;
  }
  const double step = 2 * kPi / double(m);
  double angle = 0;
  for (long i = 0; i < m; ++i) {
    angle += step;
    double c, s;
    unitPoint(angle, c, s);
    to(c, s);
  }
}

// The straight sides of a symbol outline (every shape but the circle; codes 0..7) of half-size
// r about (X, Y), handed to emit(X1, Y1, X2, Y2) in drawing order.
template <class Emit>
void forOutlineSegments(int shape, double X, double Y, double r, Emit&& emit) {
  switch (shape) {
    case 0:
      emit(X - r, Y, X + r, Y);
      emit(X, Y - r, X, Y + r);
      break;
    case 1: {
      const double d = 0.7071067812 * r;
      emit(X - d, Y - d, X + d, Y + d);
      emit(X - d, Y + d, X + d, Y - d);
      break;
    }
    case 2:
      emit(X - r, Y, X + r, Y);
      break;
    case 3:
      emit(X, Y - r, X, Y + r);
      break;
    case 5: {
      const double d = 1.414213562 * r;
      emit(X - d, Y, X, Y + d);
      emit(X, Y + d, X + d, Y);
      emit(X - d, Y, X, Y - d);
      emit(X, Y - d, X + d, Y);
      break;
    }
    case 6:
      emit(X - r, Y + r, X + r, Y + r);
      emit(X - r, Y + r, X - r, Y - r);
      emit(X - r, Y - r, X + r, Y - r);
      emit(X + r, Y - r, X + r, Y + r);
      break;
    case 7: {
      const double d = 0.5773502692 * r;
      emit(X - r, Y - d, X + r, Y - d);
      emit(X - r, Y - d, X, Y + 2 * d);
      emit(X + r, Y - d, X, Y + 2 * d);
      break;
    }
  }
}

// The box that holds every end of the outline forOutlineSegments gives (shapes 5, 6 and 7),
// worked out with the same expressions: {Xlo, Xhi, Ylo, Yhi}.
inline std::array<double, 4> outlineBox(int shape, double X, double Y, double r) {
  if (shape == 5) {
    const double d = 1.414213562 * r;
    return {X - d, X + d, Y - d, Y + d};
  }
  if (shape == 7) {
    const double d = 0.5773502692 * r;
    return {X - r, X + r, Y - d, Y + 2 * d};
  }
  return {X - r, X + r, Y - r, Y + r};
}

// The raster pixels that segments of the given width with ends in box {Xlo, Xhi, Ylo, Yhi}
// (page inches) can ink, {cLo, cHi, rLo, rHi}.
inline std::array<double, 4> inkBounds(const Drawing& d, const std::array<double, 4>& box,
                                       double width) {
  double c1, r1, c2, r2;
  d.pageToRaster(box[0], box[2], c1, r1);
  d.pageToRaster(box[1], box[3], c2, r2);
  const double m = inkReach(300 * width);
  return {std::min(c1, c2) - m, std::max(c1, c2) + m, std::min(r1, r2) - m, std::max(r1, r2) + m};
}

}  // namespace plotane::shapes
