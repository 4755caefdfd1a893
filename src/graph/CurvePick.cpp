#include "graph/CurvePick.h"

#include <algorithm>

#include "graph/CurveList.h"
#include "graph/Graph.h"
#include "graph/GraphForms.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "worksheet/Worksheet.h"

namespace plotane {

int CurveForY(const GraphDef& def, int editCurve, int y, int& newCount) {
  if (editCurve > 0) {
    newCount = def.CurveCount;
    return editCurve;
  }
  if (int n = FindCurveWithY(def, y)) {
    newCount = def.CurveCount;
    return n;
  }
  if (def.CurveCount >= kMaxCurves) {
    newCount = def.CurveCount;
    return 0;
  }
  newCount = def.CurveCount + 1;
  return newCount;
}

bool CommonIndexRange(const Series& y, const Series& x, int& low, int& high) {
  if (!y.hasData() || !x.hasData()) return false;
  low = std::max(y.lowest(), x.lowest());
  high = std::min(y.highestIndex(), x.highestIndex());
  return low <= high;
}

void CommitCurve(Graph& graph, Worksheet& ws, int curve, int newCount, int y, int x, int low,
                 int high) {
  if (curve < 1 || curve > kMaxCurves || !Worksheet::validColumn(y) || !Worksheet::validColumn(x))
    return;
  CurveDef& c = graph.def.curve(curve);
  c.YColumn = int16_t(y);
  c.XColumn = int16_t(x);
  c.LowIndex = int16_t(low);
  c.HiIndex = int16_t(high);
  ws.column(y).xLink = &ws.column(x);
  graph.def.CurveCount = int16_t(std::clamp(std::max<int>(newCount, curve), 0, kMaxCurves));
  graph.RefreshAllCurveStatus();
  if (graph.onCurveListChanged) graph.onCurveListChanged();
}

CurvePick::CurvePick(Graph& graph, Worksheet& ws) : graph_(graph), ws_(ws) {
  ws_.setRequestStep(kYPickCode, [this](Worksheet& w) { YPicked(w.C1); });
  ws_.setRequestStep(kXPickCode, [this](Worksheet& w) { XPicked(w.C1); });
  ws_.graphDefsCancelled = [this] { Cancelled(); };
}

void CurvePick::Start(int curve) {
  const GraphDef& def = graph_.def;
  EditExisting = curve > 0;
  CurrentCurve = EditExisting ? curve : 0;
  PickedY = PickedX = -1;
  Active = true;
  graph_.host.showWindow(WorkWindow::Worksheet);
  if (EditExisting && curve <= kMaxCurves) {
    const CurveDef& c = def.curve(curve);
    if (Worksheet::validColumn(c.YColumn)) ws_.SelectCell(c.YColumn, ws_.CurrentIndex);
    RangeLow = c.LowIndex;
    RangeHigh = c.HiIndex;
  }
  ws_.AskColumn("Y variable column--", kYPickCode, true);
}

void CurvePick::YPicked(int column) {
  const GraphDef& def = graph_.def;
  PickedY = column;
  const int curve = CurveForY(def, EditExisting ? CurrentCurve : 0, column, NewCount);
  if (curve == 0) {
    // Back to the graph window: the pick cannot go on.
    STOREMSG(graph_.host, kCurvesFull);
    return End();
  }
  CurrentCurve = curve;
  if (!ws_.inUse(column)) {
    STOREMSG(graph_.host, kYUndefined);
    return End();
  }
  // Offer the X the curve will follow: the Y series' own X link, else the curve's stored X.
  int suggested = ws_.columnOf(ws_.column(column).xLink);
  if (!ws_.inUse(suggested)) suggested = curve <= def.CurveCount ? def.curve(curve).XColumn : -1;
  if (Worksheet::validColumn(suggested)) ws_.SelectCell(suggested, ws_.CurrentIndex);
  ws_.AskColumn("Y is " + ColumnLetters(column) + ", specify X :", kXPickCode, true);
}

void CurvePick::XPicked(int column) {
  End();
  PickedX = column;
  int low = 0, high = -1;
  // The definitions may have changed while the worksheet was in front (a curve removed).
  const int curve = CurveForY(graph_.def, EditExisting ? CurrentCurve : 0, PickedY, NewCount);
  if (curve == 0 || curve > NewCount) {
    STOREMSG(graph_.host, curve == 0 ? kCurvesFull : kInvalidCurveNumber);
  } else if (!ws_.inUse(column) || !ws_.inUse(PickedY)) {
    STOREMSG(graph_.host, kXUndefined);
  } else if (!CommonIndexRange(ws_.column(PickedY), ws_.column(column), low, high)) {
    STOREMSG(graph_.host, kNoCommonIndices);
  } else {
    CurrentCurve = curve;
    FitCurveRange(low, high, RangeLow, RangeHigh);
    if (!rangeDialog || rangeDialog(*this)) {
      CommitCurve(graph_, ws_, CurrentCurve, NewCount, PickedY, column, RangeLow, RangeHigh);
      if (styleDialog) styleDialog(CurrentCurve);
    }
  }
  if (graph_.onCurveListChanged) graph_.onCurveListChanged();
}

void CurvePick::Cancelled() { End(); }

void CurvePick::End() {
  Active = false;
  graph_.host.showWindow(WorkWindow::GraphDefs);
  if (onEnded) onEnded();
}

}  // namespace plotane
