#include "graph/GraphForms.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "drawing/Drawing.h"
#include "drawing/DrawingForms.h"
#include "graph/CurveList.h"
#include "graph/Graph.h"
#include "shell/base/Host.h"
#include "worksheet/Format.h"

namespace plotane {

namespace {

std::string trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  std::size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string lettersOrStars(int column) {
  return column >= 0 && column <= MaxColumn ? ColumnLetters(column) : std::string("**");
}

bool realField(const std::string& text, double& v) { return ConvertReal(text, v); }

bool floatField(const std::string& text, float& v) {
  double d = 0;
  if (!ConvertReal(text, d)) return false;
  v = float(d);
  return true;
}

bool byteField(const std::string& text, uint8_t& v) {
  int i = 0;
  if (!ParseIntField(text, 0, 99, i)) return false;
  v = uint8_t(i);
  return true;
}

constexpr int kShapeOfIndex[12] = {4, 5, 6, 7, 0, 1, 2, 3, 8, 9, 10, 11};

}  // namespace

bool ParseIntField(const std::string& text, int lo, int hi, int& value) {
  const std::string t = trim(text);
  if (t.empty()) return false;
  std::size_t i = 0;
  if (t[0] == '+' || t[0] == '-') i = 1;
  if (i >= t.size()) return false;
  for (std::size_t k = i; k < t.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(t[k]))) return false;
  errno = 0;
  const long v = std::strtol(t.c_str(), nullptr, 10);
  if (errno == ERANGE || v < lo || v > hi) return false;
  value = int(v);
  return true;
}

// ---- Curve number ----

std::vector<std::string> CurveNumberLines(const Graph& graph) {
  std::vector<std::string> lines;
  for (int n = 1; n <= graph.def.CurveCount; ++n) lines.push_back(CurveNumberLine(graph, n));
  return lines;
}

int ParseCurveNumber(const std::string& line, int curveCount) {
  std::size_t i = line.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  long n = 0;
  std::size_t digits = 0;
  for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && digits < 6;
       ++i, ++digits)
    n = n * 10 + (line[i] - '0');
  if (digits == 0 || n < 1 || n > curveCount) return 0;
  return int(n);
}

// ---- Curve range ----

void FitCurveRange(int commonLow, int commonHigh, int& rangeLow, int& rangeHigh) {
  if (!(rangeHigh <= commonHigh && rangeLow >= commonLow && rangeLow <= rangeHigh)) {
    rangeLow = commonLow;
    rangeHigh = commonHigh;
  }
}

CurveRangeForm CurveRangeFormFor(int yColumn, int yFirst, int yLast, int xColumn, int xFirst,
                                 int xLast, int& rangeLow, int& rangeHigh) {
  CurveRangeForm f;
  f.commonLow = std::max(xFirst, yFirst);
  f.commonHigh = std::min(xLast, yLast);
  FitCurveRange(f.commonLow, f.commonHigh, rangeLow, rangeHigh);
  f.yLine = "Y series:  " + lettersOrStars(yColumn) + "    " + IntText(yFirst, 5) + "        " +
            IntText(yLast, 5);
  f.xLine = "X series:  " + lettersOrStars(xColumn) + "    " + IntText(xFirst, 5) + "        " +
            IntText(xLast, 5);
  f.from = IntText(rangeLow, 7);
  f.to = IntText(rangeHigh, 7);
  return f;
}

RangeCheck AcceptCurveRange(const CurveRangeForm& form, int& rangeLow, int& rangeHigh) {
  int from = 0, to = 0;
  if (!ParseIntField(form.from, INT_MIN, INT_MAX, from) ||
      !ParseIntField(form.to, INT_MIN, INT_MAX, to))
    return RangeCheck::NotInteger;
  if (!(from <= to && from >= form.commonLow && to <= form.commonHigh)) return RangeCheck::Beyond;
  rangeLow = from;
  rangeHigh = to;
  return RangeCheck::Ok;
}

// ---- Curve style ----

int PointShapeOfIndex(int index) { return index >= 0 && index < 12 ? kShapeOfIndex[index] : 4; }

int IndexOfPointShape(int shape) {
  for (int i = 0; i < 12; ++i)
    if (kShapeOfIndex[i] == shape) return i;
  return 0;
}

bool UsesPointControls(int curveType) {
  return curveType == kPointsCurve || curveType == kConnectedPointsCurve;
}

std::vector<std::string> LineWidthItems() { return {"0", "1", "2", "3", "4"}; }

std::vector<std::string> PointSizeItems() {
  std::vector<std::string> items;
  for (int p = -2; p <= 9; ++p) items.push_back(IntText(p, 2));
  return items;
}

CurveStyleForm CurveStyleFormFor(Graph& graph, int n) {
  CurveStyleForm f;
  const CurveListEntry e = CurveListText(graph, n);
  const CurveDef& c = graph.def.curve(n);
  f.heading = "Curve " + std::to_string(n);
  f.yLine = "Y:" + lettersOrStars(c.YColumn) + " = " + e.yName;
  f.xLine = "X:" + lettersOrStars(c.XColumn) + " = " + e.xName;
  f.curveType = std::min<int>(c.CurveType, kDotsCurve);
  // The hidden combo shows the code's equivalent in the other scale.
  if (UsesPointControls(c.CurveType)) {
    f.pointSize = IntText(c.SizeCode, 2);
    f.lineWidth = std::to_string(LineWidthForPointSize(c.SizeCode));
  } else {
    f.lineWidth = std::to_string(c.SizeCode);
    f.pointSize = IntText(PointSizeForLineWidth(c.SizeCode), 2);
  }
  f.shapeIndex = IndexOfPointShape(c.PointShape);
  f.barItems.push_back("none");
  for (int k = 1; k <= graph.def.CurveCount; ++k) {
    if (k == n) continue;
    f.barItems.push_back(IntText(k, 3));
    if (k == c.BarCurve) f.barIndex = int(f.barItems.size()) - 1;
  }
  return f;
}

bool AcceptCurveStyle(const CurveStyleForm& form, CurveDef& curve) {
  int size = 0;
  const bool points = UsesPointControls(form.curveType);
  if (form.curveType < 0 || form.curveType > kDotsCurve) return false;
  if (points ? !ParseIntField(form.pointSize, -2, 9, size)
             : !ParseIntField(form.lineWidth, 0, 4, size))
    return false;
  int bar = 0;
  if (form.barIndex > 0 && std::size_t(form.barIndex) < form.barItems.size() &&
      !ParseIntField(form.barItems[std::size_t(form.barIndex)], 0, kMaxCurves, bar))
    return false;
  curve.CurveType = uint8_t(form.curveType);
  if (points) curve.PointShape = uint8_t(PointShapeOfIndex(form.shapeIndex));
  curve.SizeCode = int8_t(size);
  curve.BarCurve = uint8_t(bar);
  return true;
}

// ---- Axis attributes ----

AxisForm AxisFormFor(const AxisDef& a) {
  AxisForm f;
  f.minimum = a.ManualScaling ? 2 : a.MinUserSpec ? 1 : 0;
  f.maximum = a.MaxUserSpec ? 1 : 0;
  f.min = FormatReal(14, -2, a.Min);
  f.max = FormatReal(14, -2, a.Max);
  f.unitsPerTick = FormatReal(14, -2, a.UnitsPerTick);
  f.tickIntervals = FormatReal(14, -2, a.TickIntervals);
  f.numberingInterval = IntText(a.NumberingInterval, 2);
  f.decimalPlaces = IntText(a.DecimalPlaces, 2);
  f.startDelay = IntText(a.NumberingStartDelay, 2);
  f.nominalTicks = FormatReal(6, 1, a.NominalTicks);
  f.tickLength = FormatReal(10, 4, a.TickLength);
  f.axisType = a.LogAxis ? 1 : 0;
  f.axisStyle = a.GridLines ? 2 : a.ClosedBox ? 1 : 0;
  f.linNumbering = a.NumbersSuppressed ? 1 : 0;
  if (a.NumbersSuppressed)
    f.logNumbering = 1;
  else if (a.TenToPower)
    f.logNumbering = a.DecadesOnly ? 3 : 2;
  else
    f.logNumbering = a.DecadesOnly ? 4 : 0;
  f.tickPosition = a.TicksInside ? 0 : 1;
  f.numberAngle = a.Numbers90 ? 1 : 0;
  f.numberFontCode = a.NumberFontCode;
  f.lineWidthCode = std::min<int>(a.LineWidthCode, 4);
  f.labelMode = std::min<int>(a.LabelMode, 2);
  f.label = CaretForm(a.Label);
  f.labelFontCode = a.LabelFontCode;
  return f;
}

AxisVisibility ApplyAxisRules(AxisForm& f) {
  AxisVisibility v;
  const bool manual = f.minimum == 2;
  if (manual) f.axisType = 0;  // manual scaling is linear only
  v.minEdit = f.minimum != 0;
  v.maxEdit = f.maximum == 1 && !manual;
  v.manualBox = manual;
  v.nominalBox = !manual;
  v.maximumGroup = !manual;
  v.logNumbering = f.axisType == 1;
  v.numberFont = v.logNumbering ? f.logNumbering != 1 : f.linNumbering != 1;
  v.label = f.labelMode == 1;
  return v;
}

bool AcceptAxis(const AxisForm& form, AxisDef& a, std::string& error) {
  AxisForm f = form;
  ApplyAxisRules(f);
  AxisDef n = a;
  n.ManualScaling = f.minimum == 2;
  n.MinUserSpec = f.minimum == 1 || f.minimum == 2;
  n.MaxUserSpec = f.maximum == 1 && f.minimum != 2;
  const bool numbersOk =
      realField(f.min, n.Min) && realField(f.max, n.Max) &&
      realField(f.unitsPerTick, n.UnitsPerTick) && floatField(f.tickIntervals, n.TickIntervals) &&
      floatField(f.tickLength, n.TickLength) && floatField(f.nominalTicks, n.NominalTicks) &&
      byteField(f.numberingInterval, n.NumberingInterval) &&
      byteField(f.decimalPlaces, n.DecimalPlaces) && byteField(f.startDelay, n.NumberingStartDelay);
  if (!numbersOk) {
    error = kNumericalFormatError;
    return false;
  }
  if (n.MinUserSpec && n.MaxUserSpec && n.Min >= n.Max) {
    error = kMinNotBelowMax;
    return false;
  }
  n.NumberFontCode = int8_t(f.numberFontCode);
  n.LabelFontCode = int8_t(f.labelFontCode);
  n.LogAxis = f.axisType == 1;
  n.ClosedBox = f.axisStyle == 1;
  n.GridLines = f.axisStyle == 2;
  n.TicksInside = f.tickPosition == 0;
  n.Numbers90 = f.numberAngle == 1;
  n.LineWidthCode = uint8_t(std::clamp(f.lineWidthCode, 0, 4));
  n.LabelMode = uint8_t(std::clamp(f.labelMode, 0, 2));
  n.Label = FromCaretForm(f.label);
  if (n.LogAxis) {
    static constexpr uint8_t suppressed[5] = {0, 1, 0, 0, 0};
    static constexpr uint8_t tenToPower[5] = {0, 0, 1, 1, 0};
    static constexpr uint8_t decades[5] = {0, 0, 0, 1, 1};
    const int k = std::clamp(f.logNumbering, 0, 4);
    n.NumbersSuppressed = suppressed[k];
    n.TenToPower = tenToPower[k];
    n.DecadesOnly = decades[k];
  } else {
    // A linear axis keeps its own log numbering flags for a later switch to logarithmic.
    n.NumbersSuppressed = f.linNumbering == 1;
  }
  a = n;
  return true;
}

// ---- Graph attributes ----

GraphForm GraphFormFor(const GraphDef& g) {
  GraphForm f;
  f.ax = FormatReal(10, 3, g.CornerA.X);
  f.ay = FormatReal(10, 3, g.CornerA.Y);
  f.bx = FormatReal(10, 3, g.CornerB.X);
  f.by = FormatReal(10, 3, g.CornerB.Y);
  f.orientation = g.Landscape ? 1 : 0;
  f.scaling = g.EqualScale ? 1 : 0;
  f.titleMode = g.TitleMode ? 1 : 0;
  f.title = CaretForm(g.Title);
  f.titleFontCode = g.TitleFontCode;
  return f;
}

void SwapCornerTexts(GraphForm& f) {
  std::swap(f.ax, f.ay);
  std::swap(f.bx, f.by);
}

bool AcceptGraph(const GraphForm& f, GraphDef& g, std::string& error) {
  const bool landscape = f.orientation == 1;
  double v[4] = {};
  const std::string* texts[4] = {&f.ax, &f.ay, &f.bx, &f.by};
  const double pageX = landscape ? 10 : 8, pageY = landscape ? 8 : 10;
  for (int i = 0; i < 4; ++i) {
    const double limit = i % 2 == 0 ? pageX : pageY;
    if (!ConvertReal(*texts[i], v[i]) || v[i] < 0 || v[i] > limit) {
      error = kCornerError;
      return false;
    }
  }
  // The corners become the cursors' places, so they must be where the cursors can go (the
  // drawing's cursor bounds of that orientation).
  const CursorBounds b = landscape ? CursorBounds{9.994, -0.0000001, 7.994} : CursorBounds{};
  for (int i = 0; i < 4; i += 2) {
    if (v[i] > b.MaxX || v[i + 1] < b.MinY || v[i + 1] > b.MaxY) {
      char buf[120];
      std::snprintf(buf, sizeof buf, "%s: the cursors reach X 0 to %.3f, Y %.3f to %.3f inches",
                    kCornerError, b.MaxX, std::max(0.0, b.MinY), b.MaxY);
      error = buf;
      return false;
    }
  }
  g.TitleFontCode = int8_t(f.titleFontCode);
  g.EqualScale = f.scaling == 1;
  g.TitleMode = f.titleMode == 1;
  g.Title = FromCaretForm(f.title);
  g.Landscape = landscape;
  g.CornerA = {v[0], v[1]};
  g.CornerB = {v[2], v[3]};
  return true;
}

// ---- Font code combos ----

std::vector<std::string> FontCodeItems(const GraphDef& g) {
  std::vector<std::string> items;
  for (int code = -2; code <= 9; ++code) items.emplace_back(StrokeFontItem(code));
  for (int k = 1; k <= kLetterFontSlots; ++k) {
    const LetterFontDef& f = g.LetterFonts[std::size_t(k - 1)];
    if (f.name.empty()) continue;
    items.push_back(std::string(1, char(64 + k)) + "  (" + std::to_string(f.size) + ")");
  }
  return items;
}

int FontCodeIndex(const std::vector<std::string>& items, int code) {
  if (code > 100) {
    for (std::size_t i = 12; i < items.size(); ++i)
      if (!items[i].empty() && items[i][0] == char(code - 36)) return int(i);
    return 5;  // a letter slot no longer in use: the default stroke font
  }
  return code >= -2 && code <= 9 ? code + 2 : 5;
}

int FontCodeOfItem(const std::vector<std::string>& items, int index) {
  if (index > 11 && std::size_t(index) < items.size() && !items[std::size_t(index)].empty())
    return static_cast<unsigned char>(items[std::size_t(index)][0]) + 36;
  return index >= 0 && index <= 11 ? index - 2 : 3;
}

LetterFontSlots LetterFontSlotsOf(const GraphDef& g) {
  LetterFontSlots slots;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const LetterFontDef& f = g.LetterFonts[k];
    slots[k] = {f.name, f.size, f.style};
  }
  return slots;
}

void StoreLetterFontSlots(GraphDef& g, const LetterFontSlots& slots) {
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const LetterFontSlot& f = slots[k];
    g.LetterFonts[k] = {f.name, uint8_t(std::clamp(f.size, 1, 255)),
                        uint8_t(std::clamp(f.style, 0, 3))};
  }
}

// ---- Curve list ----

void RemoveCurveSlot(GraphDef& g, int n) {
  if (n < 1 || n > kMaxCurves) return;
  for (int i = n; i < kMaxCurves; ++i) g.curve(i) = g.curve(i + 1);
  g.curve(kMaxCurves) = CurveDef{};
  for (CurveDef& c : g.Curves) {
    if (c.BarCurve == n)
      c.BarCurve = 0;
    else if (c.BarCurve > n)
      --c.BarCurve;
  }
}

// ---- Window operations ----

bool SomeCurveWithoutX(Graph& graph) {
  graph.RefreshAllCurveStatus();
  for (int n = 1; n <= graph.def.CurveCount; ++n)
    if (!graph.Status[std::size_t(n - 1)].XDefined) return true;
  return false;
}

void SetupGraphCursors(const Graph& graph, Drawing& d) {
  const GraphDef& def = graph.def;
  d.state.A = {def.CornerA.X, def.CornerA.Y};
  d.state.B = {def.CornerB.X, def.CornerB.Y};
  d.cursorsChanged();
}

bool GraphMayClose(Graph& graph, bool scriptRunning, const std::function<bool()>& save) {
  if (scriptRunning || !graph.Modified()) return true;
  switch (graph.host.ask(kGraphClosing, true)) {
    case Answer::Cancel:
      return false;
    case Answer::No:
      return true;
    case Answer::Yes:
      break;
  }
  return save && save() && !graph.Modified();
}

void GraphCommitClose(Graph& graph, bool scriptRunning, const std::string& programDir) {
  if (scriptRunning) return;
  graph.ResetGraphDefs();
  graph.LoadStartUpGrd(programDir);
  graph.RefreshAllCurveStatus();
  if (graph.onCurveListChanged) graph.onCurveListChanged();
}

}  // namespace plotane
