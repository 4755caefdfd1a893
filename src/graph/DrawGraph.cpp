// DrawGraph: scales both axes, then draws the axis box, tick numbers, grid lines, ticks, curves,
// bars, axis labels and title into the drawing between its cursors.

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
  GraphDef& g = def;
  DrawState& st = d.state;
  store.StoreError = false;

  // 1. Preconditions.
  const bool allLimits = g.X.MinUserSpec && g.X.MaxUserSpec && g.Y.MinUserSpec && g.Y.MaxUserSpec;
  if (g.CurveCount == 0 && !allLimits) {
    store.StoreError = true;
    STOREMSG(host, "No curves defined");
    return;
  }
  if (st.A.X >= st.B.X || st.A.Y >= st.B.Y) {
    store.StoreError = true;
    STOREMSG(host, "Cursors positioned for nil graph");
    return;
  }

  // 2. The drawing's font, line and angle come back afterwards, whatever happens.
  const int savedFont = st.FontCode, savedLine = st.LineCode;
  const double savedAngle = st.TextAngle;
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
  } restore{d, text, savedFont, savedLine, savedAngle};
  d.SetTextAngle(0);
  g.CornerA = {st.A.X, st.A.Y};
  g.CornerB = {st.B.X, st.B.Y};
  BusyCursor busy(host);
  {
    LetterFontSlots slots;
    for (int k = 0; k < kLetterFontSlots; ++k)
      slots[std::size_t(k)] = {g.LetterFonts[std::size_t(k)].name,
                               g.LetterFonts[std::size_t(k)].size,
                               g.LetterFonts[std::size_t(k)].style};
    text.setLetterFonts(slots);
  }

  // One value of a curve's column, on the axis's scale. 0 ok, 1 missing (skipped), 2 failure.
  auto axisValue = [&](int col, int index, bool logAxis, double& out) -> int {
    Series* s =
        (col >= 0 && std::size_t(col) < columns_.size()) ? &columns_[std::size_t(col)] : nullptr;
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
  };

  // 3. Scaling.
  auto scaleAxis = [&](const AxisDef& a, bool isX, AxisScale& s) -> bool {
    if (a.ManualScaling) return ManualScale(a, s);
    const bool logAxis = a.LogAxis != 0;
    double lo = 1e36, hi = -1e36;
    if (logAxis && ((a.MinUserSpec && !(a.Min > 0)) || (a.MaxUserSpec && !(a.Max > 0))))
      return false;
    if (a.MinUserSpec) lo = logAxis ? std::log10(a.Min) : a.Min;
    if (a.MaxUserSpec) hi = logAxis ? std::log10(a.Max) : a.Max;
    if (!a.MinUserSpec || !a.MaxUserSpec) {
      for (int n = 1; n <= g.CurveCount; ++n) {
        const CurveDef& c = g.curve(n);
        const int col = isX ? c.XColumn : c.YColumn;
        for (int i = c.LowIndex; i <= c.HiIndex; ++i) {
          double v = 0;
          const int r = axisValue(col, i, logAxis, v);
          if (r == 2) return false;
          if (r == 1) continue;
          if (!a.MinUserSpec) lo = std::min(lo, v);
          if (!a.MaxUserSpec) hi = std::max(hi, v);
        }
      }
    }
    if (logAxis) return LogAutoScale(lo, hi, a.MinUserSpec, a.MaxUserSpec, s);
    return LinearAutoScale(lo, hi, a.NominalTicks, a.MinUserSpec, a.MaxUserSpec, s);
  };
  AxisScale xs, ys;
  for (int axis = 0; axis < 2; ++axis) {
    const bool isX = axis == 0;
    if (!scaleAxis(isX ? g.X : g.Y, isX, isX ? xs : ys)) {
      store.StoreError = true;
      STOREMSG(host, std::string("Error specifying ") + (isX ? "X" : "Y") + " axis");
      return;
    }
  }

  // 4. Equal length scale.
  const double lengthX = st.B.X - st.A.X, lengthY = st.B.Y - st.A.Y;
  if (g.EqualScale && !(AxisFixed(g.X) && AxisFixed(g.Y)) && g.X.LogAxis == g.Y.LogAxis) {
    bool errA = false;
    char which = 0;
    const bool ok = EqualLengthScale(xs, g.X, lengthX, ys, g.Y, lengthY, errA, which);
    if (errA) STOREMSG(host, "ERR A");
    if (!ok) {
      store.StoreError = true;
      STOREMSG(host, std::string("Error specifying ") + (which == 'X' ? "X" : "Y") + " axis");
      return;
    }
  }
  lastX = xs;
  lastY = ys;

  // 5. Freeze: the scales become user limits.
  if (FreezeRequest) {
    FreezeRequest = false;
    for (int axis = 0; axis < 2; ++axis) {
      AxisDef& a = axis == 0 ? g.X : g.Y;
      const AxisScale& s = axis == 0 ? xs : ys;
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

  // 6. Graph units onto the cursors.
  const double x0 = xs.first(), xn = xs.last(), y0 = ys.first(), yn = ys.last();
  if (!d.MapUserToCursors(x0, y0, xn, yn)) {
    store.StoreError = true;
    return;
  }
  auto at = [&](double u, double v) {
    PagePoint p;
    d.SetPointUser(p, u, v);
    return p;
  };
  auto line = [&](double u1, double v1, double u2, double v2) {
    d.DrawSegment(at(u1, v1), at(u2, v2));
  };

  // 7. Axis box.
  d.SetLineCode(g.Y.LineWidthCode);
  line(x0, y0, x0, yn);
  if (g.Y.ClosedBox || g.Y.GridLines) line(xn, y0, xn, yn);
  d.SetLineCode(g.X.LineWidthCode);
  line(x0, y0, xn, y0);
  if (g.X.ClosedBox || g.X.GridLines) line(x0, yn, xn, yn);

  // 8. Numbering intervals.
  const int kX = NumberingEvery(xs, g.X), kY = NumberingEvery(ys, g.Y);

  // 9. Tick numbers. The trackers tell the labels where the numbers end.
  double LeftmostX = float(g.CornerA.X);
  double LowestY = float(g.CornerA.Y);
  auto drawNumbers = [&](bool isX) {
    const AxisDef& a = isX ? g.X : g.Y;
    AxisScale& s = isX ? xs : ys;
    const bool rot = a.Numbers90 != 0;
    text.SetFontCode(a.NumberFontCode);
    d.SetTextAngle(rot ? 90 : 0);
    const double tick = a.TickLength;
    const bool outside = !a.TicksInside;
    auto tickPoint = [&](double t) { return isX ? at(t, y0) : at(x0, t); };
    // The shift away from the box for outside ticks.
    auto outward = [&](PagePoint& p, double amount) {
      if (!outside) return;
      if (isX)
        d.MovePointPage(p, 0, -amount);
      else
        d.MovePointPage(p, -amount, 0);
    };
    auto lowerTracker = [&](const PagePoint& p) {
      if (isX)
        LowestY = std::min(LowestY, double(float(p.Y)));
      else
        LeftmostX = std::min(LeftmostX, double(float(p.X)));
    };
    // Places a number the way linear numbers of this axis are placed.
    auto placeLinear = [&](double t, std::string str) {
      PagePoint p = tickPoint(t);
      if (rot || isX) str = trimLeft(str);
      const double len = text.TextWidthInChars(str);
      if (!isX) {
        if (!rot)
          d.MovePointRotated(p, -(len + 1), -0.25);
        else
          d.MovePointRotated(p, -0.5 * len, 0.5);
      } else {
        if (!rot)
          d.MovePointRotated(p, -0.5 * len, -1.0);
        else
          d.MovePointRotated(p, -(len + 1), -0.25);
      }
      outward(p, tick);
      PagePoint q = p;
      text.DrawTextString(q, str);
      return p;
    };

    if (!s.log) {
      const int decimals = std::max(1 - s.e, 0);
      const double big = std::max(std::fabs(s.first()), std::fabs(s.last()));
      int w = (big > 0 ? std::max(int(std::trunc(std::log10(big))), 0) : 0) + 1;
      if (1 - s.e > 0) w += decimals + 1;
      if (s.first() < 0) ++w;
      // A numbering start delay clears FirstNumbered here, which the grid then follows.
      const std::vector<bool> numbered = NumberedTicks(s, a, isX ? kX : kY);
      for (int j = 0; j <= s.n; ++j) {
        if (!numbered[std::size_t(j)]) continue;
        const PagePoint p =
            placeLinear(s.t[std::size_t(j)], fixedText(s.t[std::size_t(j)], w, decimals));
        // Unrotated X numbers stand below the axis: each lowers LowestY to where it starts.
        if (isX && !rot) lowerTracker(p);
      }
      // Numbers that run away from the axis (unrotated Y, rotated X) move the label out by
      // their nominal width w, once, from the box corner. Rotated Y numbers leave LeftmostX.
      if (isX == rot) {
        PagePoint corner = at(x0, y0);
        d.MovePointRotated(corner, -w, 0);
        outward(corner, tick);
        lowerTracker(corner);
      }
    } else {
      const double big = std::max(std::fabs(s.first()), std::fabs(s.last()));
      const double S = (isX ? lengthX : lengthY) / (s.last() - s.first());
      int cls = 5;
      if (!a.DecadesOnly) {
        double r = 2.0;
        if ((isX && !rot && !a.TenToPower) || (!isX && rot && !a.TenToPower)) {
          r = big;
          if (s.first() < 0) r += 2;
        }
        cls = LogDensityClass(r * st.CharSize / S);
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
          lowerTracker(placeLinear(t, fixedText(std::pow(10.0, t), width, dec)));
          continue;
        }
        PagePoint q = tickPoint(t);
        std::string str;
        if (p == 1) {
          str = "10\x15" + std::to_string(D - 1);
          if (!isX)
            d.MovePointRotated(q, rot ? -1.5 : -W, rot ? 0.75 : -0.25);
          else
            d.MovePointRotated(q, rot ? -W : -1.5, rot ? -0.25 : -1.25);
          outward(q, 2 * tick);
        } else {
          str = std::to_string(logMultiplier(s.dense, p));
          if (!isX)
            d.MovePointRotated(q, rot ? -0.5 : -1.6, rot ? 0.5 : -0.25);
          else
            d.MovePointRotated(q, rot ? -1.6 : -0.5, rot ? -0.25 : -1.0);
          outward(q, tick);
        }
        lowerTracker(q);
        PagePoint r = q;
        text.DrawTextString(r, str);
      }
    }
    d.SetTextAngle(0);
  };
  if (!g.Y.NumbersSuppressed) drawNumbers(false);
  if (!g.X.NumbersSuppressed) drawNumbers(true);

  // 10. Grid lines, then ticks, for Y and then X.
  auto drawGridAndTicks = [&](bool isX) {
    const AxisDef& a = isX ? g.X : g.Y;
    const AxisScale& s = isX ? xs : ys;
    const int k = isX ? kX : kY;
    if (a.GridLines) {
      d.SetLineCode(std::max(int(a.LineWidthCode) - 1, 0));
      const std::vector<bool> grid = GridTicks(s, k);
      for (int j = 1; j < s.n; ++j) {
        const double t = s.t[std::size_t(j)];
        if (!grid[std::size_t(j)]) continue;
        if (s.log && a.DecadesOnly && !wholeNumber(t)) continue;
        if (isX)
          line(t, y0, t, yn);
        else
          line(x0, t, xn, t);
      }
    }
    d.SetLineCode(a.LineWidthCode);
    const double full = a.TicksInside ? a.TickLength : -a.TickLength;
    const double minor = k == 10 ? full * (isX ? 0.6 : 0.5) : full;
    const bool mirror = a.ClosedBox || a.GridLines;
    const bool lastTick = !a.ClosedBox && s.LastNumbered;
    auto tickAt = [&](double t, double len) {
      if (s.log && wholeNumber(t)) len *= 2;
      PagePoint p = isX ? at(t, y0) : at(x0, t);
      PagePoint q = p;
      if (isX)
        d.MovePointPage(q, 0, len);
      else
        d.MovePointPage(q, len, 0);
      d.DrawSegment(p, q);
    };
    auto mirrorAt = [&](double t, double len) {
      if (s.log && wholeNumber(t)) len *= 2;
      PagePoint p = isX ? at(t, yn) : at(xn, t);
      PagePoint q = p;
      if (isX)
        d.MovePointPage(q, 0, -len);
      else
        d.MovePointPage(q, -len, 0);
      d.DrawSegment(p, q);
    };
    for (int j = 1; j < s.n; ++j) {
      tickAt(s.t[std::size_t(j)], minor);
      if (mirror) mirrorAt(s.t[std::size_t(j)], minor);
    }
    if (lastTick) tickAt(s.last(), minor);
    if (k == 10) {
      const int start = a.ManualScaling ? int(a.NumberingStartDelay) : (s.FirstNumbered ? 0 : 1);
      for (int j = start; j <= s.n; j += 5) {
        if (j == 0) continue;
        if (j == s.n) {
          if (lastTick) tickAt(s.last(), full);
          continue;
        }
        tickAt(s.t[std::size_t(j)], full);
        if (mirror) mirrorAt(s.t[std::size_t(j)], full);
      }
    }
  };
  drawGridAndTicks(false);
  drawGridAndTicks(true);

  // 11. Bars, then the curves. A missing value leaves a gap.
  auto curvePoint = [&](const CurveDef& c, int i, PagePoint& p) -> int {
    double u = 0, v = 0;
    int r = axisValue(c.XColumn, i, xs.log, u);
    if (r != 0) return r;
    r = axisValue(c.YColumn, i, ys.log, v);
    if (r != 0) return r;
    d.SetPointUser(p, u, v);
    return 0;
  };
  // A value a log axis cannot show stops only that curve's bars; the graph goes on, and the
  // failure is reported in StoreError at the end.
  bool barsStopped = false;
  for (int n = 1; n <= g.CurveCount; ++n) {
    const CurveDef& c = g.curve(n);
    if (c.BarCurve < 1 || c.BarCurve > g.CurveCount) continue;
    const CurveDef& b = g.curve(c.BarCurve);
    d.SetLineCode(widthRule(c));
    const int lo = std::max(c.LowIndex, b.LowIndex), hi = std::min(c.HiIndex, b.HiIndex);
    for (int i = lo; i <= hi; ++i) {
      PagePoint p1, p2;
      const int r1 = curvePoint(c, i, p1);
      const int r2 = r1 == 0 ? curvePoint(b, i, p2) : r1;
      if (r1 == 2 || r2 == 2) {
        barsStopped = true;
        break;
      }
      if (r1 == 0 && r2 == 0) d.DrawSegment(p1, p2);
    }
    store.StoreError = false;
  }
  // Each curve's values are read once; a missing value splits the curve into separate runs.
  std::vector<PagePoint> pts, run;
  std::vector<bool> gap;
  for (int n = 1; n <= g.CurveCount; ++n) {
    const CurveDef& c = g.curve(n);
    const int type = c.CurveType;
    pts.clear();
    gap.clear();
    bool failed = false;
    for (int i = c.LowIndex; i <= c.HiIndex; ++i) {
      PagePoint p;
      const int r = curvePoint(c, i, p);
      if (r == 2) {
        failed = true;
        break;
      }
      pts.push_back(p);
      gap.push_back(r == 1);
    }
    if (type == kDashedCurve || type == kIntermittentCurve)
      d.SetLineCode(c.SizeCode);
    else
      d.SetLineCode(widthRule(c));
    auto drawRun = [&] {
      switch (type) {
        case kDashedCurve:
          drawDashedPolyline(d, run, dashLength(c.SizeCode));
          break;
        case kIntermittentCurve:
          drawIntermittentPolyline(d, run, dashLength(c.SizeCode));
          break;
        case kLineCurve:
        case kConnectedPointsCurve:
          for (std::size_t i = 1; i < run.size(); ++i) d.DrawSegment(run[i - 1], run[i]);
          break;
        default:
          break;
      }
      run.clear();
    };
    run.clear();
    for (std::size_t i = 0; i < pts.size(); ++i) {
      if (gap[i])
        drawRun();
      else
        run.push_back(pts[i]);
    }
    drawRun();
    if (type == kPointsCurve || type == kConnectedPointsCurve || type == kDotsCurve) {
      for (std::size_t i = 0; i < pts.size(); ++i) {
        if (gap[i]) continue;
        if (type == kDotsCurve)
          d.DrawDot(pts[i]);
        else
          d.DrawPointSymbol(pts[i], c.PointShape, c.SizeCode);
      }
    }
    if (failed) return;
  }

  // 12. Axis labels and the title.
  auto labelText = [&](const AxisDef& a, bool isX) -> std::string {
    if (a.LabelMode == 1) return a.Label;
    if (a.LabelMode != 2 || g.CurveCount < 1) return {};
    const int col = isX ? g.curve(1).XColumn : g.curve(1).YColumn;
    if (col < 0 || std::size_t(col) >= columns_.size()) return {};
    const bool keep = store.StoreError;
    std::string name = store.SERIESNAME(columns_[std::size_t(col)]);
    if (store.StoreError) name.clear();
    store.StoreError = keep;
    return cut(name, 87);
  };
  if (g.Y.LabelMode == 1 || g.Y.LabelMode == 2) {
    const std::string s = labelText(g.Y, false);
    PagePoint p = at(x0, 0.5 * (y0 + yn));
    d.SetPointPage(p, LeftmostX, p.Y);
    text.SetFontCode(g.Y.LabelFontCode);
    d.SetTextAngle(90);
    d.MovePointRotated(p, -0.5 * text.TextWidthInChars(s), 1.5);
    text.DrawTextString(p, s);
    d.SetTextAngle(0);
  }
  if (g.X.LabelMode == 1 || g.X.LabelMode == 2) {
    const std::string s = labelText(g.X, true);
    PagePoint p = at(0.5 * (x0 + xn), y0);
    d.SetPointPage(p, p.X, LowestY);
    text.SetFontCode(g.X.LabelFontCode);
    d.MovePointRotated(p, -0.5 * text.TextWidthInChars(s), -1.5);
    text.DrawTextString(p, s);
  }
  if (g.TitleMode == 1) {
    PagePoint p = at(0.5 * (x0 + xn), yn);
    // Outside ticks mirrored on the top edge: the title clears them.
    if (!g.X.TicksInside && (g.X.ClosedBox || g.X.GridLines))
      d.MovePointPage(p, 0, (xs.log ? 2 : 1) * double(g.X.TickLength));
    text.SetFontCode(g.TitleFontCode);
    d.MovePointRotated(p, -0.5 * text.TextWidthInChars(g.Title), 0.75);
    text.DrawTextString(p, g.Title);
  }
  if (barsStopped) store.StoreError = true;
}

}  // namespace plotane
