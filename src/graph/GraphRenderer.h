#pragma once
// GraphRenderer: draws the current graph definition into the drawing between its cursors, one
// method per step (scaling, frame, numbers, ticks, bars, curves, labels, title). Graph::DrawGraph
// runs one for each graph; the steps share the scales and trackers below.

#include <string>
#include <vector>

#include "graph/GraphDef.h"
#include "graph/Scaling.h"

namespace plotane {

class Graph;
class Drawing;
class TextEngine;
struct DrawState;
struct PagePoint;

class GraphRenderer {
 public:
  GraphRenderer(Graph& graph, Drawing& drawing, TextEngine& text);
  GraphRenderer(const GraphRenderer&) = delete;
  GraphRenderer& operator=(const GraphRenderer&) = delete;

  // Renders the whole graph. Failures set StoreError (with a message where one is due).
  void Run();

 private:
  bool CheckPreconditions();
  void SetLetterFonts();
  bool ScaleAxes();
  bool ScaleAxis(const AxisDef& a, bool isX, AxisScale& s);
  bool EqualLengths();
  void Freeze();
  bool MapToCursors();
  void DrawFrame();
  void DrawNumbers(bool isX);
  void DrawLinearNumbers(bool isX);
  void DrawLogNumbers(bool isX);
  void DrawGridAndTicks(bool isX);
  void DrawBars();
  bool DrawCurves();
  void DrawRun(const CurveDef& c, std::vector<PagePoint>& run);
  void DrawLabels();
  void DrawTitle();

  // One value of a column on an axis's scale: 0 ok, 1 missing (skipped), 2 failure.
  int AxisValue(int col, int index, bool logAxis, double& out);
  // A curve's point i on the page, with AxisValue's result codes.
  int CurvePoint(const CurveDef& c, int i, PagePoint& p);
  PagePoint At(double u, double v);
  void Line(double u1, double v1, double u2, double v2);
  PagePoint TickPoint(bool isX, double t);
  // Moves p away from the box by `amount` when the axis has outside ticks.
  void Outward(bool isX, PagePoint& p, double amount);
  // Lowers LowestY (X axis) or LeftmostX (Y axis) to p.
  void LowerTracker(bool isX, const PagePoint& p);
  // Places a number the way linear numbers of the axis are placed; returns its start point.
  PagePoint PlaceLinear(bool isX, double t, std::string str);
  void TickAt(bool isX, double t, double len);
  void MirrorAt(bool isX, double t, double len);
  std::string LabelText(const AxisDef& a, bool isX);

  Graph& graph_;
  Drawing& d_;
  TextEngine& text_;
  GraphDef& g_;
  DrawState& st_;

  AxisScale xs_, ys_;
  double lengthX_ = 0, lengthY_ = 0;          // the box's page size
  double x0_ = 0, xn_ = 0, y0_ = 0, yn_ = 0;  // first and last ticks of each axis
  int kX_ = 1, kY_ = 1;                       // numbering intervals
  // Where the tick numbers end, for the labels.
  double leftmostX_ = 0, lowestY_ = 0;
  // A value a log axis cannot show stopped some curve's bars.
  bool barsStopped_ = false;
};

}  // namespace plotane
