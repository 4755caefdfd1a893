#pragma once
// Texts of the curve list and the curve dialogs, built from the graph definitions and the curve
// statuses, so that the window only paints them.

#include <string>

#include "graph/Graph.h"

namespace plotane {

inline constexpr const char* kUndefinedSeries = "***undefined***";

// One curve's entry of the curve list: three lines; the Y and X lines continue with the series
// name in a smaller font.
struct CurveListEntry {
  std::string heading;  // "    Curve  n :        LowIndex=..." with " **index error**"
  std::string yPrefix;  // "        Y: " + letters + "  "
  std::string yName;    // the Y series' name, or "***undefined***"
  std::string xPrefix;  // "        X: " + letters (or "**") + "  "
  std::string xName;
};

// Refreshes curve n's status first, as painting the list does.
CurveListEntry CurveListText(Graph& graph, int n);

// A line of the curve number chooser: n (2 wide), 7 spaces, Y letters, 2 spaces, X letters.
std::string CurveNumberLine(const Graph& graph, int n);

// The curve already using a Y column (1-based), or 0 when none.
int FindCurveWithY(const GraphDef& def, int yColumn);

// The curve style dialog's equivalents between the two size codes.
int PointSizeForLineWidth(int lineWidthCode);  // 0..4 -> -2, 0, 3, 8, 9
int LineWidthForPointSize(int pointSizeCode);  // -2 -> 0; -1 0 2 -> 1; 1 3 4 6 -> 2; else 3

}  // namespace plotane
