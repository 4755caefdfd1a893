#pragma once
// Defining a curve from two worksheet columns: the graph window's NewCurve/OldCurve pick through
// the worksheet's column requests (codes 6 and 7), and the rules it shares with the script
// commands that define curves.
//
// Nothing is written into the graph definitions or the Y series' X link until the whole curve is
// known (the range dialog's OK, or the script's last argument): a pick cancelled or refused at
// any step leaves everything as it was.

#include <functional>
#include <string>

namespace plotane {

class Graph;
class Worksheet;
class Series;
struct GraphDef;

inline constexpr int kYPickCode = 6;
inline constexpr int kXPickCode = 7;

inline constexpr const char* kCurvesFull = "Error, 32 curves maximum";
inline constexpr const char* kYUndefined = "Y variable not defined";
inline constexpr const char* kXUndefined = "X variable not defined";
inline constexpr const char* kNoCommonIndices = "Y and X do not have indices in common";

// The curve a pick on Y column `y` defines. editCurve > 0: that curve (an old curve). Otherwise
// the curve that already has this Y, else the next free one. newCount receives the CurveCount
// after the definition; 0 is returned when all 32 curves are in use.
int CurveForY(const GraphDef& def, int editCurve, int y, int& newCount);

// The indices two series have in common; false when they have none (a series without data has
// none at all).
bool CommonIndexRange(const Series& y, const Series& x, int& low, int& high);

// Writes a complete curve definition: Y and X columns, the index range, the Y series' X link and
// the curve count; then refreshes every status and repaints the list.
void CommitCurve(Graph& graph, Worksheet& ws, int curve, int newCount, int y, int x, int low,
                 int high);

// The interactive pick. The windows plug in the two dialogs; the worksheet's request steps 6 and 7
// and its cancel of a graph request lead here.
class CurvePick {
 public:
  CurvePick(Graph& graph, Worksheet& ws);
  CurvePick(const CurvePick&) = delete;
  CurvePick& operator=(const CurvePick&) = delete;

  // The pick state (the graph window's state of a curve edit).
  int CurrentCurve = 0;
  int NewCount = 0;
  bool EditExisting = false;
  int PickedY = -1;
  int PickedX = -1;
  // The range the range dialog offers; kept between edits. Empty at first, so that the first
  // pick offers the whole common range.
  int RangeLow = 0, RangeHigh = -1;
  bool Active = false;

  // The curve range dialog over the held columns: may change RangeLow/RangeHigh; false on Cancel.
  // Without one, the offered range is taken.
  std::function<bool(CurvePick&)> rangeDialog;
  // The curve style dialog for a curve number (its OK or Cancel is the dialog's own business).
  std::function<void(int curve)> styleDialog;
  // The graph window repaints its list when a pick ends.
  std::function<void()> onEnded;

  // Starts a pick: curve 0 for a new curve, else that existing curve. The worksheet comes to the
  // front with the request "Y variable column--".
  void Start(int curve);
  // The request steps, with the column the user confirmed.
  void YPicked(int column);
  void XPicked(int column);
  // A cancelled request: back to the graph window, nothing changed.
  void Cancelled();

 private:
  void End();
  Graph& graph_;
  Worksheet& ws_;
};

}  // namespace plotane
