#pragma once
// The one application context: it owns every subsystem's state, so that nothing else in the
// program is mutable global state and every test can start from a fresh context.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "batch/EbtCommands.h"
#include "batch/EbtRunner.h"
#include "drawing/Drawing.h"
#include "drawing/DrawingSession.h"
#include "drawing/Text.h"
#include "graph/CurvePick.h"
#include "graph/Graph.h"
#include "shell/base/Host.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "worksheet/Regression.h"
#include "worksheet/Spline.h"
#include "worksheet/Worksheet.h"

namespace plotane {

class AppContext {
 public:
  // The store's state is initialised first, then the other subsystems, as at start-up.
  explicit AppContext(Host& host);
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  Host& host;
  LogModel log;
  Store store;
  Worksheet worksheet;
  // The regression and spline commands plug their request steps into the worksheet.
  Regression regression{worksheet};
  Spline spline{worksheet};
  Graph graph;
  // The graph window's curve pick through the worksheet's column requests 6 and 7.
  CurvePick curvePick{graph, worksheet};
  // The drawing and its text engine; absent while the drawing window is closed.
  std::unique_ptr<Drawing> drawing;
  std::unique_ptr<TextEngine> text;
  // The drawing window's interaction state, made and discarded with the drawing.
  std::unique_ptr<DrawingSession> session;

  // True while one script statement executes: windows skip their questions then.
  bool ScriptRunning = false;

  // Set while the drawing window is closed: its drawing is discarded, and the next request for
  // the drawing makes a new, blank one.
  bool DrawingClosed = false;

  // Where printing goes instead of a printer, when set (command line --print-to).
  std::string printToFile;
  // The printing mode, its one owner: the PCL raster stream (true, the default) or the page
  // through the platform's printing service. The drawing window's two menu items set it, the
  // GRD header carries it (saved with the graph definitions, selected again when they are
  // loaded), and the print command of the window and of scripts reads it. It outlives the
  // drawing, since the graph window saves it while the drawing is closed.
  bool PclPrintMode = true;

  // The drawing, made anew (blank) when it was discarded.
  Drawing& ensureDrawing();
  void makeDrawing();
  TextEngine& textEngine();
  // Closes the drawing: it is discarded and made blank by the next request. A window still
  // showing it is told (Host::drawingReplaced) so that it closes.
  void discardDrawing(bool windowOpen = true);

  // The program is asked to end (the script command that quits): the shell closes the main
  // window, batch mode ends after the script.
  bool QuitRequested = false;
  std::function<void()> onQuit;
  void requestQuit();

  // The EBT interpreter and its command set.
  EbtCommands commands;
  EbtRunner runner;

  // Window selection: one work window maximised, the others normal. SHOWDRAWING re-creates a
  // discarded drawing first.
  void SHOWWORKSHEET();
  void SHOWGRAPHDEFS();
  void SHOWDRAWING();

  // The drawing window was closed: discard the drawing.
  void drawingWindowClosed();

  // Runs the script named by the first parameter (without its extension) to its end, with the
  // parameters as %1 to %9. False when the script could not be read or stopped on an error;
  // `unreadable` tells the two apart.
  bool RUNFROMCOMMANDLINE(const std::vector<std::string>& params, bool* unreadable = nullptr);

  // The program ends: the attached data file is let go.
  void closeProgram();
};

// Product name and version, as shown in the main window's caption and by --version.
std::string productName();
std::string productVersion();

}  // namespace plotane
