// Everything drawn from straight segments on top of DrawLine: dashed and intermittent lines,
// rectangles, arrowheads, circles and arcs, nodes, and the outlines of the twelve point symbols
// (their fills are in SymbolFill.cpp).

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>
#include <vector>

#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"

#include "drawing/ShapeGeometry.h"

namespace plotane {

using namespace shapes;

void Drawing::DrawSegment(const PagePoint& p1, const PagePoint& p2) {
  DrawLine(state.PenDraw, p1.X, p1.Y, p2.X, p2.Y, state.LineWidth);
}

void Drawing::DrawDashed(const PagePoint& p1, const PagePoint& p2, float dashLength) {
  const double len = std::hypot(p2.X - p1.X, p2.Y - p1.Y);
  double pieces = dashLength > 0 ? std::trunc(len / double(dashLength)) * 2 + 1 : 3;
  if (!(pieces >= 3)) pieces = 3;
  if (pieces > kMaxPieces) pieces = kMaxPieces;
  const long k = long(pieces);
  const double dx = (p2.X - p1.X) / double(k), dy = (p2.Y - p1.Y) / double(k);
  for (long i = 0; i < k; i += 2) {
    PagePoint a, b;
    SetPointPage(a, p1.X + dx * double(i), p1.Y + dy * double(i));
    if (i + 1 == k)
      b = p2;
    else
      SetPointPage(b, p1.X + dx * double(i + 1), p1.Y + dy * double(i + 1));
    DrawSegment(a, b);
  }
}

void Drawing::DrawIntermittent(const PagePoint& p1, const PagePoint& p2, float unitLength,
                               float longFactor) {
  const double len = std::hypot(p2.X - p1.X, p2.Y - p1.Y);
  if (len == 0 || !std::isfinite(len)) return;
  double unit = unitLength, lf = longFactor;
  if (!(unit > 0) || !(lf >= 0)) {
    DrawSegment(p1, p2);
    return;
  }
  double periods = std::trunc((len - lf * unit) / ((lf + 3) * unit));
  if (!(periods >= 1)) {
    unit = len / (2 * lf + 3);
    periods = 1;
  }
  if (periods > kMaxPieces) periods = kMaxPieces;
  const double ex = (p2.X - p1.X) / len, ey = (p2.Y - p1.Y) / len;
  PagePoint cur = p1;
  auto advance = [&](double dist, bool ink) {
    PagePoint next = cur;
    MovePointPage(next, ex * dist, ey * dist);
    if (ink) DrawSegment(cur, next);
    cur = next;
  };
  for (long i = 0; i < long(periods); ++i) {
    advance(lf * unit, true);
    advance(unit, false);
    advance(unit, true);
    advance(unit, false);
  }
  DrawSegment(cur, p2);
}

void Drawing::DrawRectangle() {
  const PageXY a = state.A, b = state.B;
  const bool pen = state.PenDraw;
  const double w = state.LineWidth;
  DrawLine(pen, a.X, a.Y, b.X, a.Y, w);
  DrawLine(pen, a.X, a.Y, a.X, b.Y, w);
  DrawLine(pen, a.X, b.Y, b.X, b.Y, w);
  DrawLine(pen, b.X, a.Y, b.X, b.Y, w);
}

void Drawing::DrawLineCommand() {
  DrawLine(state.PenDraw, state.A.X, state.A.Y, state.B.X, state.B.Y, state.LineWidth);
}

void Drawing::DrawDashedCommand() {
  DrawDashed(pointAt(state.A), pointAt(state.B), DashTable[state.LineCode]);
}

void Drawing::DrawIntermittentCommand() {
  DrawIntermittent(pointAt(state.A), pointAt(state.B), DashTable[state.LineCode] * 0.5f, 4.0f);
}

double Drawing::AngleAToB() const {
  const double dX = state.A.X - state.B.X, dY = state.A.Y - state.B.Y;
  double angle;
  if (dX == 0)
    angle = dY < 0 ? -kPi / 2 : kPi / 2;
  else
    angle = std::atan(dY / dX) + (dX < 0 ? kPi : 0.0);
  return angle <= kPi ? angle + kPi : angle - kPi;
}

void Drawing::DrawArrowhead() {
  const double theta = AngleAToB();
  const double L = 0.5 * state.ArrowSize;
  const double savedAngle = state.TextAngle;
  SetTextAngle(theta * 180 / kPi);
  const double c = state.TextCos, s = state.TextSin;
  auto at = [&](double a, double b) {
    PagePoint p;
    SetPointPage(p, state.A.X + a * c - b * s, state.A.Y + a * s + b * c);
    return p;
  };
  PagePoint t = at(0, 0), q1 = at(4 * L, L), q2 = at(4 * L, -L);
  const PagePoint q3 = at(3.75 * L, 0);
  DrawSegment(t, q1);
  DrawSegment(t, q2);
  DrawSegment(q3, q1);
  DrawSegment(q3, q2);
  // Fill: the tip and both barbs walk toward the notch, the two sides drawn again at each step,
  // until the tip has passed the notch. Half the nominal step keeps successive strokes
  // overlapping, so the head comes out solid at every width.
  const float k = float((0.003 + state.LineWidth) / L) * 0.5f;
  // The strokes that fill the head sweep the polygon tip, barb, notch, barb.
  if (display_.recording()) {
    const FramePoint head[4] = {toFrame(t.X, t.Y), toFrame(q1.X, q1.Y), toFrame(q3.X, q3.Y),
                                toFrame(q2.X, q2.Y)};
    display_.polygon(state.PenDraw, head, 4, float(state.LineWidth));
  }
  HoldRecording hold(display_);
  if (k > 0 && std::isfinite(k)) {
    const double tX = k * (q3.X - t.X), tY = k * (q3.Y - t.Y);
    const double a1X = k * (q3.X - q1.X), a1Y = k * (q3.Y - q1.Y);
    const double a2X = k * (q3.X - q2.X), a2Y = k * (q3.Y - q2.Y);
    for (int guard = 0; guard < 10000; ++guard) {
      const double prevX = t.X - q3.X, prevY = t.Y - q3.Y;
      MovePointPage(t, tX, tY);
      MovePointPage(q1, a1X, a1Y);
      MovePointPage(q2, a2X, a2Y);
      if ((t.X - q3.X) * prevX + (t.Y - q3.Y) * prevY <= 0) break;
      DrawSegment(t, q1);
      DrawSegment(t, q2);
    }
  }
  SetTextAngle(savedAngle);
  EndDrawingCommand();
}

void Drawing::DrawCircle(const PagePoint& centre, double r) {
  const bool pen = state.PenDraw;
  const double w = state.LineWidth;
  if (display_.recording() && circleSegments(r) > 0) {
    const double a = frameAngle(0);
    display_.arc(pen, toFrame(centre.X, centre.Y), float(r), float(a), float(a - 2 * kPi),
                 float(w));
  }
  HoldRecording hold(display_);
  forCircleSegments(centre.X, centre.Y, r, [&](double X1, double Y1, double X2, double Y2) {
    DrawLine(pen, X1, Y1, X2, Y2, w);
  });
}

void Drawing::DrawArc(const PagePoint& centre, double r, double startAngle, double endAngle) {
  const long m = circleSegments(r);
  if (m == 0) return;
  const double step = 2 * kPi / double(m);
  if (startAngle > endAngle) startAngle -= 2 * kPi;
  if (display_.recording()) {
    // At most m steps of 2 pi / m: never more than a whole turn.
    const double sweep = std::min(endAngle - startAngle, 2 * kPi), a = frameAngle(startAngle);
    display_.arc(state.PenDraw, toFrame(centre.X, centre.Y), float(r), float(a), float(a - sweep),
                 float(state.LineWidth));
  }
  HoldRecording hold(display_);
  double angle = startAngle;
  double px = centre.X + r * std::cos(angle), py = centre.Y + r * std::sin(angle);
  for (long i = 0; i < m; ++i) {
    angle += step;
    const bool last = angle > endAngle;
    if (last) angle = endAngle;
    const double nx = centre.X + r * std::cos(angle), ny = centre.Y + r * std::sin(angle);
    DrawLine(state.PenDraw, px, py, nx, ny, state.LineWidth);
    px = nx;
    py = ny;
    if (last) break;
  }
}

void Drawing::BeginCircleArc() {
  arcCentre_ = pointAt(state.A);
  arcRadius_ = std::hypot(state.B.X - state.A.X, state.B.Y - state.A.Y);
  arcStart_ = AngleAToB();
}

void Drawing::FinishCircleArc() {
  const double end = AngleAToB();
  if (end == arcStart_)
    DrawCircle(arcCentre_, arcRadius_);
  else
    DrawArc(arcCentre_, arcRadius_, arcStart_, end);
  EndDrawingCommand();
}

void Drawing::FillCircle(const PagePoint& centre, double r) {
  fillCircle(centre, r, LineWidthTable[1]);
}

void Drawing::DrawNode() {
  FillCircle(pointAt(state.A), 0.35 * state.ArrowSize);
  EndDrawingCommand();
}

// Shapes by their codes: 0 plus, 1 X, 2 horizontal bar, 3 vertical bar, 4/8 circle,
// 5/9 diamond, 6/10 square, 7/11 triangle.
void Drawing::drawSymbolOutline(int shape, double X, double Y, double r) {
  if (shape >= 8) shape -= 4;
  if (shape == 4) {
    PagePoint c;
    SetPointPage(c, X, Y);
    DrawCircle(c, r);
    return;
  }
  const bool pen = state.PenDraw;
  const double w = state.LineWidth;
  forOutlineSegments(shape, X, Y, r, [&](double X1, double Y1, double X2, double Y2) {
    DrawLine(pen, X1, Y1, X2, Y2, w);
  });
}

void Drawing::DrawPointSymbol(const PagePoint& p, int shape, int sizeCode) {
  if (shape < 0 || shape > 11) return;
  const PointSizeEntry& e = pointSizeEntry(sizeCode);
  const double savedWidth = state.LineWidth;
  const bool savedPen = state.PenDraw;
  state.LineWidth = LineWidthTable[e.widthIndex];
  SetPreviewPenWidth(e.previewPen);
  const double r = e.halfSize;
  // Circles and triangles are drawn a little larger so that all shapes look the same size.
  const double scale = shape % 4 == 0 ? 1.08 : shape % 4 == 3 ? 1.25 : 1.0;
  if (shape <= 3) {
    drawSymbolOutline(shape, p.X, p.Y, r);
  } else if (shape <= 7) {
    // Unfilled symbols knock out what lies under them before their outline is drawn: all that
    // lies inside the outline.
    state.PenDraw = false;
    fillShape(shape, p.X, p.Y, scale * r, state.LineWidth);
    state.PenDraw = savedPen;
    drawSymbolOutline(shape, p.X, p.Y, scale * r);
  } else {
    fillShape(shape, p.X, p.Y, scale * r, LineWidthTable[1]);
  }
  state.LineWidth = savedWidth;
  state.PenDraw = savedPen;
  RestorePreviewPen();
}

void Drawing::DrawPointSymbolAtA(int shape) {
  DrawPointSymbol(pointAt(state.A), shape, state.PointSizeCode);
}

void Drawing::DrawDot(const PagePoint& p) {
  const double w = state.LineWidth;
  DrawLine(state.PenDraw, p.X, p.Y - 0.1 * w, p.X, p.Y + 0.1 * w, 1.3 * w);
}

}  // namespace plotane
