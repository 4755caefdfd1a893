#pragma once
// What the graph definitions dialogs show and accept, kept apart from the widgets: each dialog's
// contents as plain values (texts of edits, radio indices, combo texts), the mapping to and from
// the records, the visibility rules and the checks with their messages. A dialog only copies
// these values into its widgets and back.

#include <functional>
#include <string>
#include <vector>

#include "drawing/Text.h"
#include "graph/GraphDef.h"

namespace plotane {

class Graph;
class Drawing;

// ---- Messages ----
inline constexpr const char* kInvalidCurveNumber = "Invalid curve number";
inline constexpr const char* kRangeBeyond = "Curve range beyond series reange(s)!";
inline constexpr const char* kStyleError = "Error";
inline constexpr const char* kNumericalFormatError = "Numerical format error";
inline constexpr const char* kMinNotBelowMax = "Min >= Max; change values!";
inline constexpr const char* kCornerError = "Error in graph position coordinates";

// An integer typed into a field: blanks around it allowed, nothing else. False when it is not an
// integer within lo..hi.
bool ParseIntField(const std::string& text, int lo, int hi, int& value);

// ---- Curve number ----
// One line per curve 1..CurveCount (the chooser's list).
std::vector<std::string> CurveNumberLines(const Graph& graph);
// The chosen line: leading blanks dropped, the leading digits read; 0 unless 1..curveCount.
int ParseCurveNumber(const std::string& line, int curveCount);

// ---- Curve range ----
// The offered range becomes the common range unless it lies inside it.
void FitCurveRange(int commonLow, int commonHigh, int& rangeLow, int& rangeHigh);

struct CurveRangeForm {
  std::string yLine, xLine;  // "Y series:  " + letters + first and last index
  std::string from, to;      // the two edits
  int commonLow = 0, commonHigh = -1;
};
CurveRangeForm CurveRangeFormFor(int yColumn, int yFirst, int yLast, int xColumn, int xFirst,
                                 int xLast, int& rangeLow, int& rangeHigh);
enum class RangeCheck { Ok, NotInteger, Beyond };
// On Ok the range receives the two edits; NotInteger beeps; Beyond shows kRangeBeyond.
RangeCheck AcceptCurveRange(const CurveRangeForm& form, int& rangeLow, int& rangeHigh);

// ---- Curve style ----
// The shape radio group's order: circles, diamonds, squares, triangles, plusses, X's, horiz,
// vert, then the four solid shapes.
int PointShapeOfIndex(int index);
int IndexOfPointShape(int shape);
// Points and connected points use the point size and shape controls; the others the line width.
bool UsesPointControls(int curveType);

struct CurveStyleForm {
  std::string heading;  // "Curve " + n
  std::string yLine, xLine;
  int curveType = 0;                  // radio index = CurveType
  std::string lineWidth;              // "0".."4"
  std::string pointSize;              // "-2".." 9"
  int shapeIndex = 0;                 // radio index of the point shape
  std::vector<std::string> barItems;  // "none", then the other curves' numbers (3 wide)
  int barIndex = 0;
};
std::vector<std::string> LineWidthItems();
std::vector<std::string> PointSizeItems();
// The dialog on curve n, statuses refreshed first.
CurveStyleForm CurveStyleFormFor(Graph& graph, int n);
// Stores the form into the curve; false (kStyleError) when a code is not valid for the type.
bool AcceptCurveStyle(const CurveStyleForm& form, CurveDef& curve);

// ---- Axis attributes ----
struct AxisForm {
  int minimum = 0;  // 0 AutoScale, 1 User spec, 2 Manually scaled
  int maximum = 0;  // 0 AutoScale, 1 User spec
  std::string min, max, unitsPerTick, tickIntervals, numberingInterval, decimalPlaces, startDelay,
      nominalTicks, tickLength;
  int axisType = 0;      // 0 linear, 1 logarithmic
  int axisStyle = 1;     // 0 open, 1 closed box, 2 box and grid lines
  int linNumbering = 0;  // 0 normal, 1 suppressed
  int logNumbering = 0;  // normal, suppressed, ten to power, only ten to power, decades only
  int tickPosition = 0;  // 0 inside, 1 outside
  int numberAngle = 0;   // 0 normal, 1 turned 90 degrees
  int numberFontCode = 3;
  int lineWidthCode = 2;
  int labelMode = 0;  // none, user-entered, from the data name
  std::string label;  // caret form
  int labelFontCode = 3;
};
AxisForm AxisFormFor(const AxisDef& a);
struct AxisVisibility {
  bool minEdit = false, maxEdit = false;
  bool manualBox = false, nominalBox = true, maximumGroup = true;
  bool logNumbering = false;  // else the linear numbering group
  bool numberFont = true;
  bool label = false;  // label edit, its font code and caption
};
// Applies the rules that change the form (manual scaling makes the axis linear) and says what
// is shown.
AxisVisibility ApplyAxisRules(AxisForm& form);
// Stores the form into `a` (every other field kept); false with the message text on refusal.
bool AcceptAxis(const AxisForm& form, AxisDef& a, std::string& error);

// ---- Graph attributes ----
struct GraphForm {
  std::string ax, ay, bx, by;  // corners, 3 decimals
  int orientation = 0;         // 0 portrait, 1 landscape
  int scaling = 0;             // 0 independent, 1 equal length scale
  int titleMode = 0;           // 0 none, 1 user
  std::string title;           // caret form
  int titleFontCode = 3;
};
GraphForm GraphFormFor(const GraphDef& g);
// A change of orientation exchanges the X and Y texts of both corners.
void SwapCornerTexts(GraphForm& form);
// Corners must lie where the drawing's cursors can go in the chosen orientation. False with the
// message text (starting with kCornerError) on refusal.
bool AcceptGraph(const GraphForm& form, GraphDef& g, std::string& error);

// ---- Font code combos ----
// The stroke fonts -2..9 with their sizes, then each used letter font slot.
std::vector<std::string> FontCodeItems(const GraphDef& g);
int FontCodeIndex(const std::vector<std::string>& items, int code);
int FontCodeOfItem(const std::vector<std::string>& items, int index);
// The letter font slots as the drawing's text uses them, and back into the definitions.
LetterFontSlots LetterFontSlotsOf(const GraphDef& g);
void StoreLetterFontSlots(GraphDef& g, const LetterFontSlots& slots);

// ---- Curve list ----
// Removes curve n's slot: the later curves move down, slot 32 becomes a default curve, and the
// bar links follow the renumbering (links to n are dropped).
void RemoveCurveSlot(GraphDef& g, int n);
// The list's scroll range in pixels, 64 per curve.
inline int CurveListHeight(const GraphDef& g) { return 64 * g.CurveCount; }

// ---- Window operations ----
inline constexpr const char* kSetXsQuestion = "Set X's to Cols?";
inline constexpr const char* kGraphClosing =
    "Closing window --- Graph defs have been changed--SAVE?";
inline constexpr const char* kBlankDrawingQuestion =
    "Do you really want to erase the entire drawing window?";
// After a load: some curve (statuses refreshed) has no X through its Y series' link.
bool SomeCurveWithoutX(Graph& graph);
// The way to the drawing: its A and B cursors go to the graph's corners.
void SetupGraphCursors(const Graph& graph, Drawing& drawing);
// May the graph window close? Changed definitions are asked about (not while a script runs);
// Yes saves through `save`, which is false when the save was cancelled or failed, and then the
// window stays. Nothing is reset here: that waits for GraphCommitClose, once the close is sure.
bool GraphMayClose(Graph& graph, bool scriptRunning, const std::function<bool()>& save);
// The close happens: the start-up definitions come back (nothing changes while a script runs).
void GraphCommitClose(Graph& graph, bool scriptRunning, const std::string& programDir);

}  // namespace plotane
