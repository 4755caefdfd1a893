#pragma once
// The graph definitions of the program: the one current GraphDef with its saved copy, GRD files,
// the curve statuses against the worksheet's columns, curve list edits, and DrawGraph, which
// renders the graph into the drawing between its cursors.
//
// The application context owns one Graph. It reaches the worksheet only through the span of
// column Series handles given to setColumns, and the drawing only through the Drawing and
// TextEngine handed to DrawGraph.

#include <array>
#include <functional>
#include <span>
#include <string>

#include "graph/GraphDef.h"
#include "graph/Scaling.h"

namespace plotane {

class Host;
class Store;
class Series;
class Drawing;
class TextEngine;

struct CurveStatus {
  bool YDefined = false;
  bool XDefined = false;
  bool IndexOk = false;
  bool ok() const { return YDefined && XDefined && IndexOk; }
};

inline constexpr const char* kGraphCaption = "Current Graph Definitions -- ";

class Graph {
 public:
  Graph(Host& host, Store& store);
  Graph(const Graph&) = delete;
  Graph& operator=(const Graph&) = delete;

  Host& host;
  Store& store;  // GETVAL, series names and the shared StoreError flag

  GraphDef def;
  GraphDefImage SavedGraphDef{};
  std::string GrdFileName;  // at most 87 characters
  std::string Caption;      // the graph window's caption after a load or save
  std::array<CurveStatus, kMaxCurves> Status{};
  // Set by the script command that freezes scales; the next DrawGraph consumes it.
  bool FreezeRequest = false;

  // Notifications for the graph window and the drawing (any may be empty).
  std::function<void()> onCurveListChanged;  // repaint the list, scrolled to the top
  std::function<void()> onCaptionChanged;
  std::function<void(bool landscape)> onOrientation;  // ApplyOrientation with a drawing present
  std::function<void(bool pcl)> onPrintModeLoaded;    // print mode from a current-format file

  // The worksheet's column handles, 0..509 (the X link's column is its position here).
  void setColumns(std::span<Series> columns) { columns_ = columns; }
  std::span<Series> columns() const { return columns_; }

  void ResetGraphDefs();
  // Loads a GRD file of any format. Open failure: StoreError, silent. Damaged: the I/O message.
  void LoadGrd(const std::string& path);
  // Writes the current format; pclPrintMode is the drawing's print mode (second header byte).
  void SaveGrd(const std::string& path, bool pclPrintMode);
  // StartUp.GRD in programDir, when it exists.
  void LoadStartUpGrd(const std::string& programDir);
  // True when the definitions differ from the copy taken at the last load or save.
  bool Modified() const { return EncodeGraphDef(def) != SavedGraphDef; }
  void TakeSavedCopy() { SavedGraphDef = EncodeGraphDef(def); }

  void RefreshCurveStatus(int n);
  void RefreshAllCurveStatus();
  // The drawing's graph command draws only when every curve 1..CurveCount is valid.
  bool AllCurvesValid() const;
  // The graph command's check before DrawGraph: false, with StoreError and the message
  // "Error in graph data specifications.", when a curve is not valid as last computed.
  bool CheckGraphData();
  // Removes curve n (1-based); asks first unless a script runs.
  void DeleteCurve(int n, bool scriptRunning);
  // Links each defined curve's Y series to its X column's series.
  void SetXsToCols();
  void ApplyOrientation(Drawing& drawing) const;
  void ApplyOrientation() const;

  // Renders the graph between the drawing's cursors. Failures set StoreError (with a message
  // where one is due); the corners follow the cursors even then.
  void DrawGraph(Drawing& drawing, TextEngine& text);
  // The drawing's graph command: the curve statuses computed afresh, the data check, DrawGraph
  // in ink (a pen left in erase mode is lifted first), then the drawing command ended. False with
  // StoreError when the graph was refused or not drawn whole.
  bool GraphCommand(Drawing& drawing, TextEngine& text);

  // The axes of the last DrawGraph, for the window and tests.
  AxisScale lastX, lastY;

 private:
  Series* column(int c) const;
  int columnOf(const Series* s) const;
  void curveListChanged() {
    if (onCurveListChanged) onCurveListChanged();
  }
  void captionChanged() {
    if (onCaptionChanged) onCaptionChanged();
  }

  std::span<Series> columns_;
};

}  // namespace plotane
