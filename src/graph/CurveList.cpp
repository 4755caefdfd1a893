#include "graph/CurveList.h"

#include <cstdio>

#include "store/Store.h"
#include "worksheet/Format.h"

namespace plotane {

namespace {

std::string widthInt(long v, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%*ld", width, v);
  return buf;
}

std::string letters(int column) {
  return column >= 0 && column <= MaxColumn ? ColumnLetters(column) : std::string("**");
}

std::string seriesName(Graph& graph, int column, bool defined) {
  if (!defined || column < 0 || std::size_t(column) >= graph.columns().size())
    return kUndefinedSeries;
  const bool keep = graph.store.StoreError;
  std::string name = graph.store.SERIESNAME(graph.columns()[std::size_t(column)]);
  if (graph.store.StoreError) name = kUndefinedSeries;
  graph.store.StoreError = keep;
  return name;
}

}  // namespace

CurveListEntry CurveListText(Graph& graph, int n) {
  graph.RefreshCurveStatus(n);
  const CurveDef& c = graph.def.curve(n);
  const CurveStatus& st = graph.Status[std::size_t(n - 1)];
  CurveListEntry e;
  e.heading = "    Curve " + widthInt(n, 2) + " :        LowIndex=" + widthInt(c.LowIndex, 6) +
              "      HiIndex=" + widthInt(c.HiIndex, 6);
  if (!st.IndexOk) e.heading += " **index error**";
  e.yPrefix = "        Y: " + letters(c.YColumn) + "  ";
  e.yName = seriesName(graph, c.YColumn, st.YDefined);
  e.xPrefix = "        X: " + letters(c.XColumn) + "  ";
  e.xName = seriesName(graph, c.XColumn, st.XDefined);
  return e;
}

std::string CurveNumberLine(const Graph& graph, int n) {
  const CurveDef& c = graph.def.curve(n);
  return widthInt(n, 2) + "       " + letters(c.YColumn) + "  " + letters(c.XColumn);
}

int FindCurveWithY(const GraphDef& def, int yColumn) {
  for (int n = 1; n <= def.CurveCount; ++n)
    if (def.curve(n).YColumn == yColumn) return n;
  return 0;
}

int PointSizeForLineWidth(int lineWidthCode) {
  static constexpr int table[5] = {-2, 0, 3, 8, 9};
  return lineWidthCode >= 0 && lineWidthCode <= 4 ? table[lineWidthCode] : 3;
}

int LineWidthForPointSize(int p) {
  switch (p) {
    case -2:
      return 0;
    case -1:
    case 0:
    case 2:
      return 1;
    case 1:
    case 3:
    case 4:
    case 6:
      return 2;
    default:
      return 3;
  }
}

}  // namespace plotane
