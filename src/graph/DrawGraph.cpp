// GraphRenderer and Graph::DrawGraph: scale both axes, then draw the axis box, tick numbers, grid
// lines, ticks, bars, curves, axis labels and title into the drawing between its cursors.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "drawing/Drawing.h"
#include "drawing/Text.h"
#include "graph/CurveList.h"
#include "graph/Graph.h"
#include "graph/GraphRenderer.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "store/Store.h"

namespace plotane {

namespace {

// A number right-aligned in `width` characters with `decimals` decimals; values that would show
// as a negative zero are written as zero.
std::string fixedText(double v, int width, int decimals) {
  decimals = std::clamp(decimals, 0, 20);
  width = std::clamp(width, 0, 40);
  if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals)) v = 0.0;
  char buf[128];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
  return cut(buf, 30);
}

std::string trimLeft(const std::string& s) {
  const std::size_t i = s.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(i);
}

bool wholeNumber(double t) { return std::fabs(t - std::round(t)) < 1e-11; }

// The width code a curve's lines, symbols, dots and bars use: point-type curves map their point
// size code to a line width.
int widthRule(const CurveDef& c) {
  if (c.CurveType == kLineCurve || c.CurveType == kDashedCurve || c.CurveType == kDotsCurve)
    return std::clamp(int(c.SizeCode), 0, 4);
  return LineWidthForPointSize(c.SizeCode);
}

float dashLength(int sizeCode) { return DashTable[std::clamp(sizeCode, 0, 4)]; }

// Data far outside user-given axis limits makes page lengths huge; the dash count is held to
// what the page can show.
constexpr double kMaxDashPieces = 200001;

// Walks a polyline by distance, inking or skipping each stretch; stretches continue across
// vertices.
class PolylineWalker {
 public:
  PolylineWalker(Drawing& d, const std::vector<PagePoint>& pts) : d_(d), pts_(pts) {
    if (!pts_.empty()) cur_ = pts_[0];
  }
  void advance(double dist, bool ink) {
    while (seg_ + 1 < pts_.size()) {
      const PagePoint& b = pts_[seg_ + 1];
      const double rest = std::hypot(b.X - cur_.X, b.Y - cur_.Y);
      if (dist < rest) {
        PagePoint next;
        const double f = dist / rest;
        d_.SetPointPage(next, cur_.X + f * (b.X - cur_.X), cur_.Y + f * (b.Y - cur_.Y));
        if (ink) d_.DrawSegment(cur_, next);
        cur_ = next;
        return;
      }
      if (ink) d_.DrawSegment(cur_, b);
      cur_ = b;
      dist -= rest;
      ++seg_;
    }
  }
  void toEnd(bool ink) { advance(std::numeric_limits<double>::infinity(), ink); }

 private:
  Drawing& d_;
  const std::vector<PagePoint>& pts_;
  std::size_t seg_ = 0;
  PagePoint cur_;
};

double polylineLength(const std::vector<PagePoint>& pts) {
  double L = 0;
  for (std::size_t i = 1; i < pts.size(); ++i)
    L += std::hypot(pts[i].X - pts[i - 1].X, pts[i].Y - pts[i - 1].Y);
  return L;
}

// A run of points that all fall on one spot: its first piece is a dot there, as a solid line
// between the points draws one.
bool drawZeroLength(Drawing& d, const std::vector<PagePoint>& pts, double L) {
  if (L > 0) return false;
  if (pts.size() >= 2 && L == 0) d.DrawSegment(pts[0], pts[1]);
  return true;
}

void drawDashedPolyline(Drawing& d, const std::vector<PagePoint>& pts, float dash) {
  const double L = polylineLength(pts);
  if (drawZeroLength(d, pts, L)) return;
  const double pieces = std::min(std::max(3.0, 2 * std::trunc(L / dash) + 1), kMaxDashPieces);
  const double piece = L / pieces;
  PolylineWalker w(d, pts);
  const long count = long(pieces);
  for (long i = 0; i + 1 < count; ++i) w.advance(piece, i % 2 == 0);
  w.toEnd(true);  // the last piece is always drawn, to the very end
}

void drawIntermittentPolyline(Drawing& d, const std::vector<PagePoint>& pts, float dash) {
  const double L = polylineLength(pts);
  if (drawZeroLength(d, pts, L)) return;
  constexpr double r = 4;
  double g = 0.5 * dash;
  double count = 4 * std::trunc((L - r * g) / ((r + 3) * g));
  if (!(count > 0)) {
    g = L / (2 * r + 3);
    count = 4;
  }
  count = std::min(count, kMaxDashPieces);
  PolylineWalker w(d, pts);
  for (long i = 0; i < long(count); ++i) {
    switch (i % 4) {
      case 0:
        w.advance(r * g, true);
        break;
      case 2:
        w.advance(g, true);
        break;
      default:
        w.advance(g, false);
        break;
    }
  }
  w.toEnd(true);
}

}  // namespace

void Graph::DrawGraph(Drawing& d, TextEngine& text) {
  GraphRenderer renderer(*this, d, text);
  renderer.Run();
}

GraphRenderer::GraphRenderer(Graph& graph, Drawing& drawing, TextEngine& text)
    : graph_(graph), d_(drawing), text_(text), g_(graph.def), st_(drawing.state) {}

void GraphRenderer::Run() {
  graph_.store.StoreError = false;
  if (!CheckPreconditions()) return;

  // The drawing's font, line and angle come back afterwards, whatever happens.
  struct Restore {
    Drawing& d;
    TextEngine& text;
    int font, line;
    double angle;
    ~Restore() {
      text.SetFontCode(font);
      d.SetLineCode(line);
      d.SetTextAngle(angle);
    }
  } restore{d_, text_, st_.FontCode, st_.LineCode, st_.TextAngle};
  d_.SetTextAngle(0);
  g_.CornerA = {st_.A.X, st_.A.Y};
  g_.CornerB = {st_.B.X, st_.B.Y};
  BusyCursor busy(graph_.host);
  SetLetterFonts();

  if (!ScaleAxes() || !EqualLengths()) return;
  graph_.lastX = xs_;
  graph_.lastY = ys_;
  Freeze();
  if (!MapToCursors()) return;
  DrawFrame();
  kX_ = NumberingEvery(xs_, g_.X);
  kY_ = NumberingEvery(ys_, g_.Y);
  // The trackers start at the box corner; the numbers lower them.
  leftmostX_ = float(g_.CornerA.X);
  lowestY_ = float(g_.CornerA.Y);
  if (!g_.Y.NumbersSuppressed) DrawNumbers(false);
  if (!g_.X.NumbersSuppressed) DrawNumbers(true);
  DrawGridAndTicks(false);
  DrawGridAndTicks(true);
  DrawBars();
  if (!DrawCurves()) return;
  DrawLabels();
  DrawTitle();
  if (barsStopped_) graph_.store.StoreError = true;
}

bool GraphRenderer::CheckPreconditions() {
  const bool allLimits =
      g_.X.MinUserSpec && g_.X.MaxUserSpec && g_.Y.MinUserSpec && g_.Y.MaxUserSpec;
  if (g_.CurveCount == 0 && !allLimits) {
    graph_.store.StoreError = true;
    STOREMSG(graph_.host, "No curves defined");
    return false;
  }
  if (st_.A.X >= st_.B.X || st_.A.Y >= st_.B.Y) {
    graph_.store.StoreError = true;
    STOREMSG(graph_.host, "Cursors positioned for nil graph");
    return false;
  }
  return true;
}

void GraphRenderer::SetLetterFonts() {
  LetterFontSlots slots;
  for (int k = 0; k < kLetterFontSlots; ++k)
    slots[std::size_t(k)] = {g_.LetterFonts[std::size_t(k)].name,
                             g_.LetterFonts[std::size_t(k)].size,
                             g_.LetterFonts[std::size_t(k)].style};
  text_.setLetterFonts(slots);
}

int GraphRenderer::AxisValue(int col, int index, bool logAxis, double& out) {
  Store& store = graph_.store;
  const std::span<Series> columns = graph_.columns();
  Series* s =
      (col >= 0 && std::size_t(col) < columns.size()) ? &columns[std::size_t(col)] : nullptr;
  if (!s) {
    store.StoreError = true;
    return 2;
  }
  const float v = store.GETVAL(*s, index);
  if (store.StoreError) return 2;
  if (isMissing(v)) return 1;
  if (logAxis) {
    if (!(v > 0)) {
      store.StoreError = true;
      return 2;
    }
    out = std::log10(double(v));
  } else {
    out = v;
  }
  return 0;
}

bool GraphRenderer::ScaleAxis(const AxisDef& a, bool isX, AxisScale& s) {
  if (a.ManualScaling) return ManualScale(a, s);
  const bool logAxis = a.LogAxis != 0;
  double lo = 1e36, hi = -1e36;
  if (logAxis && ((a.MinUserSpec && !(a.Min > 0)) || (a.MaxUserSpec && !(a.Max > 0)))) return false;
  if (a.MinUserSpec) lo = logAxis ? std::log10(a.Min) : a.Min;
  if (a.MaxUserSpec) hi = logAxis ? std::log10(a.Max) : a.Max;
  if (!a.MinUserSpec || !a.MaxUserSpec) {
    for (int n = 1; n <= g_.CurveCount; ++n) {
      const CurveDef& c = g_.curve(n);
      const int col = isX ? c.XColumn : c.YColumn;
      for (int i = c.LowIndex; i <= c.HiIndex; ++i) {
        double v = 0;
        const int r = AxisValue(col, i, logAxis, v);
        if (r == 2) return false;
        if (r == 1) continue;
        if (!a.MinUserSpec) lo = std::min(lo, v);
        if (!a.MaxUserSpec) hi = std::max(hi, v);
      }
    }
  }
  if (logAxis) return LogAutoScale(lo, hi, a.MinUserSpec, a.MaxUserSpec, s);
  return LinearAutoScale(lo, hi, a.NominalTicks, a.MinUserSpec, a.MaxUserSpec, s);
}

bool GraphRenderer::ScaleAxes() {
  for (int axis = 0; axis < 2; ++axis) {
    const bool isX = axis == 0;
    if (!ScaleAxis(isX ? g_.X : g_.Y, isX, isX ? xs_ : ys_)) {
      graph_.store.StoreError = true;
      STOREMSG(graph_.host, std::string("Error specifying ") + (isX ? "X" : "Y") + " axis");
      return false;
    }
  }
  return true;
}

bool GraphRenderer::EqualLengths() {
  lengthX_ = st_.B.X - st_.A.X;
  lengthY_ = st_.B.Y - st_.A.Y;
  if (!g_.EqualScale || (AxisFixed(g_.X) && AxisFixed(g_.Y)) || g_.X.LogAxis != g_.Y.LogAxis)
    return true;
  bool errA = false;
  char which = 0;
  const bool ok = EqualLengthScale(xs_, g_.X, lengthX_, ys_, g_.Y, lengthY_, errA, which);
  if (errA) STOREMSG(graph_.host, "ERR A");
  if (!ok) {
    graph_.store.StoreError = true;
    STOREMSG(graph_.host, std::string("Error specifying ") + (which == 'X' ? "X" : "Y") + " axis");
    return false;
  }
  return true;
}

// The scales become user limits.
void GraphRenderer::Freeze() {
  if (!graph_.FreezeRequest) return;
  graph_.FreezeRequest = false;
  for (int axis = 0; axis < 2; ++axis) {
    AxisDef& a = axis == 0 ? g_.X : g_.Y;
    const AxisScale& s = axis == 0 ? xs_ : ys_;
    if (a.ManualScaling) continue;
    if (!a.MinUserSpec) {
      a.MinUserSpec = 1;
      a.Min = s.log ? std::pow(10.0, s.first()) : s.first();
    }
    if (!a.MaxUserSpec) {
      a.MaxUserSpec = 1;
      a.Max = s.log ? std::pow(10.0, s.last()) : s.last();
    }
  }
}

// Graph units onto the cursors.
bool GraphRenderer::MapToCursors() {
  x0_ = xs_.first();
  xn_ = xs_.last();
  y0_ = ys_.first();
  yn_ = ys_.last();
  if (!d_.MapUserToCursors(x0_, y0_, xn_, yn_)) {
    graph_.store.StoreError = true;
    return false;
  }
  return true;
}

PagePoint GraphRenderer::At(double u, double v) {
  PagePoint p;
  d_.SetPointUser(p, u, v);
  return p;
}

void GraphRenderer::Line(double u1, double v1, double u2, double v2) {
  d_.DrawSegment(At(u1, v1), At(u2, v2));
}

void GraphRenderer::DrawFrame() {
  d_.SetLineCode(g_.Y.LineWidthCode);
  Line(x0_, y0_, x0_, yn_);
  if (g_.Y.ClosedBox || g_.Y.GridLines) Line(xn_, y0_, xn_, yn_);
  d_.SetLineCode(g_.X.LineWidthCode);
  Line(x0_, y0_, xn_, y0_);
  if (g_.X.ClosedBox || g_.X.GridLines) Line(x0_, yn_, xn_, yn_);
}

PagePoint GraphRenderer::TickPoint(bool isX, double t) { return isX ? At(t, y0_) : At(x0_, t); }

void GraphRenderer::Outward(bool isX, PagePoint& p, double amount) {
  if ((isX ? g_.X : g_.Y).TicksInside) return;
  if (isX)
    d_.MovePointPage(p, 0, -amount);
  else
    d_.MovePointPage(p, -amount, 0);
}

void GraphRenderer::LowerTracker(bool isX, const PagePoint& p) {
  if (isX)
    lowestY_ = std::min(lowestY_, double(float(p.Y)));
  else
    leftmostX_ = std::min(leftmostX_, double(float(p.X)));
}

PagePoint GraphRenderer::PlaceLinear(bool isX, double t, std::string str) {
  const AxisDef& a = isX ? g_.X : g_.Y;
  const bool rot = a.Numbers90 != 0;
  PagePoint p = TickPoint(isX, t);
  if (rot || isX) str = trimLeft(str);
  const double len = text_.TextWidthInChars(str);
  if (!isX) {
    if (!rot)
      d_.MovePointRotated(p, -(len + 1), -0.25);
    else
      d_.MovePointRotated(p, -0.5 * len, 0.5);
  } else {
    if (!rot)
      d_.MovePointRotated(p, -0.5 * len, -1.0);
    else
      d_.MovePointRotated(p, -(len + 1), -0.25);
  }
  Outward(isX, p, a.TickLength);
  PagePoint q = p;
  text_.DrawTextString(q, str);
  return p;
}

void GraphRenderer::DrawNumbers(bool isX) {
  const AxisDef& a = isX ? g_.X : g_.Y;
  text_.SetFontCode(a.NumberFontCode);
  d_.SetTextAngle(a.Numbers90 ? 90 : 0);
  if ((isX ? xs_ : ys_).log)
    DrawLogNumbers(isX);
  else
    DrawLinearNumbers(isX);
  d_.SetTextAngle(0);
}

void GraphRenderer::DrawLinearNumbers(bool isX) {
  const AxisDef& a = isX ? g_.X : g_.Y;
  AxisScale& s = isX ? xs_ : ys_;
  const bool rot = a.Numbers90 != 0;
  const int decimals = std::max(1 - s.e, 0);
  const double big = std::max(std::fabs(s.first()), std::fabs(s.last()));
  int w = (big > 0 ? std::max(int(std::trunc(std::log10(big))), 0) : 0) + 1;
  if (1 - s.e > 0) w += decimals + 1;
  if (s.first() < 0) ++w;
  // A numbering start delay clears FirstNumbered here, which the grid then follows.
  const std::vector<bool> numbered = NumberedTicks(s, a, isX ? kX_ : kY_);
  for (int j = 0; j <= s.n; ++j) {
    if (!numbered[std::size_t(j)]) continue;
    const PagePoint p =
        PlaceLinear(isX, s.t[std::size_t(j)], fixedText(s.t[std::size_t(j)], w, decimals));
    // Unrotated X numbers stand below the axis: each lowers LowestY to where it starts.
    if (isX && !rot) LowerTracker(isX, p);
  }
  // Numbers that run away from the axis (unrotated Y, rotated X) move the label out by their
  // nominal width w, once, from the box corner. Rotated Y numbers leave LeftmostX.
  if (isX == rot) {
    PagePoint corner = At(x0_, y0_);
    d_.MovePointRotated(corner, -w, 0);
    Outward(isX, corner, a.TickLength);
    LowerTracker(isX, corner);
  }
}

void GraphRenderer::DrawLogNumbers(bool isX) {
  const AxisDef& a = isX ? g_.X : g_.Y;
  const AxisScale& s = isX ? xs_ : ys_;
  const bool rot = a.Numbers90 != 0;
  const double tick = a.TickLength;
  const double big = std::max(std::fabs(s.first()), std::fabs(s.last()));
  const double S = (isX ? lengthX_ : lengthY_) / (s.last() - s.first());
  int cls = 5;
  if (!a.DecadesOnly) {
    double r = 2.0;
    if ((isX && !rot && !a.TenToPower) || (!isX && rot && !a.TenToPower)) {
      r = big;
      if (s.first() < 0) r += 2;
    }
    cls = LogDensityClass(r * st_.CharSize / S);
  }
  double W = (big >= 1e-3 ? std::trunc(std::fabs(std::log10(big))) : 0) + 1;
  W = W * 0.7 + 3.0 + (s.first() < 0 ? 0.7 : 0.0);
  for (int j = 0; j <= s.n; ++j) {
    const double t = s.t[std::size_t(j)];
    int D = 0, p = 0;
    if (!LogPosition(t, s.dense, D, p) || !LogClassNumbers(cls, p)) continue;
    if (!a.TenToPower) {
      const int E = D - 1;
      const int dec = E >= 0 ? 0 : -E, width = E >= 0 ? E + 1 : -E + 2;
      LowerTracker(isX, PlaceLinear(isX, t, fixedText(std::pow(10.0, t), width, dec)));
      continue;
    }
    PagePoint q = TickPoint(isX, t);
    std::string str;
    if (p == 1) {
      str = "10\x15" + std::to_string(D - 1);
      if (!isX)
        d_.MovePointRotated(q, rot ? -1.5 : -W, rot ? 0.75 : -0.25);
      else
        d_.MovePointRotated(q, rot ? -W : -1.5, rot ? -0.25 : -1.25);
      Outward(isX, q, 2 * tick);
    } else {
      str = std::to_string(logMultiplier(s.dense, p));
      if (!isX)
        d_.MovePointRotated(q, rot ? -0.5 : -1.6, rot ? 0.5 : -0.25);
      else
        d_.MovePointRotated(q, rot ? -1.6 : -0.5, rot ? -0.25 : -1.0);
      Outward(isX, q, tick);
    }
    LowerTracker(isX, q);
    PagePoint r = q;
    text_.DrawTextString(r, str);
  }
}

// A tick inward (positive len) or outward from the axis; decades on a log axis get double length.
void GraphRenderer::TickAt(bool isX, double t, double len) {
  if ((isX ? xs_ : ys_).log && wholeNumber(t)) len *= 2;
  PagePoint p = isX ? At(t, y0_) : At(x0_, t);
  PagePoint q = p;
  if (isX)
    d_.MovePointPage(q, 0, len);
  else
    d_.MovePointPage(q, len, 0);
  d_.DrawSegment(p, q);
}

// The same tick on the opposite edge of the box.
void GraphRenderer::MirrorAt(bool isX, double t, double len) {
  if ((isX ? xs_ : ys_).log && wholeNumber(t)) len *= 2;
  PagePoint p = isX ? At(t, yn_) : At(xn_, t);
  PagePoint q = p;
  if (isX)
    d_.MovePointPage(q, 0, -len);
  else
    d_.MovePointPage(q, -len, 0);
  d_.DrawSegment(p, q);
}

void GraphRenderer::DrawGridAndTicks(bool isX) {
  const AxisDef& a = isX ? g_.X : g_.Y;
  const AxisScale& s = isX ? xs_ : ys_;
  const int k = isX ? kX_ : kY_;
  if (a.GridLines) {
    d_.SetLineCode(std::max(int(a.LineWidthCode) - 1, 0));
    const std::vector<bool> grid = GridTicks(s, k);
    for (int j = 1; j < s.n; ++j) {
      const double t = s.t[std::size_t(j)];
      if (!grid[std::size_t(j)]) continue;
      if (s.log && a.DecadesOnly && !wholeNumber(t)) continue;
      if (isX)
        Line(t, y0_, t, yn_);
      else
        Line(x0_, t, xn_, t);
    }
  }
  d_.SetLineCode(a.LineWidthCode);
  const double full = a.TicksInside ? a.TickLength : -a.TickLength;
  const double minor = k == 10 ? full * (isX ? 0.6 : 0.5) : full;
  const bool mirror = a.ClosedBox || a.GridLines;
  const bool lastTick = !a.ClosedBox && s.LastNumbered;
  for (int j = 1; j < s.n; ++j) {
    TickAt(isX, s.t[std::size_t(j)], minor);
    if (mirror) MirrorAt(isX, s.t[std::size_t(j)], minor);
  }
  if (lastTick) TickAt(isX, s.last(), minor);
  if (k == 10) {
    const int start = a.ManualScaling ? int(a.NumberingStartDelay) : (s.FirstNumbered ? 0 : 1);
    for (int j = start; j <= s.n; j += 5) {
      if (j == 0) continue;
      if (j == s.n) {
        if (lastTick) TickAt(isX, s.last(), full);
        continue;
      }
      TickAt(isX, s.t[std::size_t(j)], full);
      if (mirror) MirrorAt(isX, s.t[std::size_t(j)], full);
    }
  }
}

int GraphRenderer::CurvePoint(const CurveDef& c, int i, PagePoint& p) {
  double u = 0, v = 0;
  int r = AxisValue(c.XColumn, i, xs_.log, u);
  if (r != 0) return r;
  r = AxisValue(c.YColumn, i, ys_.log, v);
  if (r != 0) return r;
  d_.SetPointUser(p, u, v);
  return 0;
}

// A missing value leaves a gap. A value a log axis cannot show stops only that curve's bars; the
// graph goes on, and the failure is reported in StoreError at the end.
void GraphRenderer::DrawBars() {
  for (int n = 1; n <= g_.CurveCount; ++n) {
    const CurveDef& c = g_.curve(n);
    if (c.BarCurve < 1 || c.BarCurve > g_.CurveCount) continue;
    const CurveDef& b = g_.curve(c.BarCurve);
    d_.SetLineCode(widthRule(c));
    const int lo = std::max(c.LowIndex, b.LowIndex), hi = std::min(c.HiIndex, b.HiIndex);
    for (int i = lo; i <= hi; ++i) {
      PagePoint p1, p2;
      const int r1 = CurvePoint(c, i, p1);
      const int r2 = r1 == 0 ? CurvePoint(b, i, p2) : r1;
      if (r1 == 2 || r2 == 2) {
        barsStopped_ = true;
        break;
      }
      if (r1 == 0 && r2 == 0) d_.DrawSegment(p1, p2);
    }
    graph_.store.StoreError = false;
  }
}

// Each curve's values are read once; a missing value splits the curve into separate runs. False
// when a value could not be read or shown: the graph stops after that curve.
bool GraphRenderer::DrawCurves() {
  std::vector<PagePoint> pts, run;
  std::vector<bool> gap;
  for (int n = 1; n <= g_.CurveCount; ++n) {
    const CurveDef& c = g_.curve(n);
    const int type = c.CurveType;
    pts.clear();
    gap.clear();
    bool failed = false;
    for (int i = c.LowIndex; i <= c.HiIndex; ++i) {
      PagePoint p;
      const int r = CurvePoint(c, i, p);
      if (r == 2) {
        failed = true;
        break;
      }
      pts.push_back(p);
      gap.push_back(r == 1);
    }
    if (type == kDashedCurve || type == kIntermittentCurve)
      d_.SetLineCode(c.SizeCode);
    else
      d_.SetLineCode(widthRule(c));
    run.clear();
    for (std::size_t i = 0; i < pts.size(); ++i) {
      if (gap[i])
        DrawRun(c, run);
      else
        run.push_back(pts[i]);
    }
    DrawRun(c, run);
    if (type == kPointsCurve || type == kConnectedPointsCurve || type == kDotsCurve) {
      for (std::size_t i = 0; i < pts.size(); ++i) {
        if (gap[i]) continue;
        if (type == kDotsCurve)
          d_.DrawDot(pts[i]);
        else
          d_.DrawPointSymbol(pts[i], c.PointShape, c.SizeCode);
      }
    }
    if (failed) return false;
  }
  return true;
}

// The lines of one run of a curve; the run is emptied.
void GraphRenderer::DrawRun(const CurveDef& c, std::vector<PagePoint>& run) {
  switch (c.CurveType) {
    case kDashedCurve:
      drawDashedPolyline(d_, run, dashLength(c.SizeCode));
      break;
    case kIntermittentCurve:
      drawIntermittentPolyline(d_, run, dashLength(c.SizeCode));
      break;
    case kLineCurve:
    case kConnectedPointsCurve:
      for (std::size_t i = 1; i < run.size(); ++i) d_.DrawSegment(run[i - 1], run[i]);
      break;
    default:
      break;
  }
  run.clear();
}

std::string GraphRenderer::LabelText(const AxisDef& a, bool isX) {
  if (a.LabelMode == 1) return a.Label;
  if (a.LabelMode != 2 || g_.CurveCount < 1) return {};
  const int col = isX ? g_.curve(1).XColumn : g_.curve(1).YColumn;
  const std::span<Series> columns = graph_.columns();
  if (col < 0 || std::size_t(col) >= columns.size()) return {};
  Store& store = graph_.store;
  const bool keep = store.StoreError;
  std::string name = store.SERIESNAME(columns[std::size_t(col)]);
  if (store.StoreError) name.clear();
  store.StoreError = keep;
  return cut(name, 87);
}

// The Y label stands left of the Y numbers, the X label below the X numbers.
void GraphRenderer::DrawLabels() {
  if (g_.Y.LabelMode == 1 || g_.Y.LabelMode == 2) {
    const std::string s = LabelText(g_.Y, false);
    PagePoint p = At(x0_, 0.5 * (y0_ + yn_));
    d_.SetPointPage(p, leftmostX_, p.Y);
    text_.SetFontCode(g_.Y.LabelFontCode);
    d_.SetTextAngle(90);
    d_.MovePointRotated(p, -0.5 * text_.TextWidthInChars(s), 1.5);
    text_.DrawTextString(p, s);
    d_.SetTextAngle(0);
  }
  if (g_.X.LabelMode == 1 || g_.X.LabelMode == 2) {
    const std::string s = LabelText(g_.X, true);
    PagePoint p = At(0.5 * (x0_ + xn_), y0_);
    d_.SetPointPage(p, p.X, lowestY_);
    text_.SetFontCode(g_.X.LabelFontCode);
    d_.MovePointRotated(p, -0.5 * text_.TextWidthInChars(s), -1.5);
    text_.DrawTextString(p, s);
  }
}

void GraphRenderer::DrawTitle() {
  if (g_.TitleMode != 1) return;
  PagePoint p = At(0.5 * (x0_ + xn_), yn_);
  // Outside ticks mirrored on the top edge: the title clears them.
  if (!g_.X.TicksInside && (g_.X.ClosedBox || g_.X.GridLines))
    d_.MovePointPage(p, 0, (xs_.log ? 2 : 1) * double(g_.X.TickLength));
  text_.SetFontCode(g_.TitleFontCode);
  d_.MovePointRotated(p, -0.5 * text_.TextWidthInChars(g_.Title), 0.75);
  text_.DrawTextString(p, g_.Title);
}

}  // namespace plotane
