#include "shell/AppContext.h"

#include "shell/base/Files.h"
#include "shell/base/Messages.h"

#ifndef PLOTANE_VERSION
#define PLOTANE_VERSION "0.0.0"
#endif

namespace plotane {

AppContext::AppContext(Host& h)
    : host(h),
      store(h, log),
      worksheet(store, h, log),
      graph(h, store),
      commands(*this),
      runner(h, ScriptRunning) {
  worksheet.setScriptRunningFlag(&ScriptRunning);
  store.setScriptRunningFlag(&ScriptRunning);
  graph.setColumns(worksheet.columns());
  // A graph definitions file of the current format carries the printing mode.
  graph.onPrintModeLoaded = [this](bool pcl) { PclPrintMode = pcl; };
  runner.setCommands(&commands);
  // Loading graph definitions turns the drawing to their orientation.
  graph.onOrientation = [this](bool landscape) {
    if (!drawing || DrawingClosed) return;
    if (landscape)
      drawing->SetLandscape();
    else
      drawing->SetPortrait();
  };
  makeDrawing();
}

void AppContext::makeDrawing() {
  DrawingClosed = false;
  session.reset();
  text.reset();
  drawing = std::make_unique<Drawing>(host);
  text = std::make_unique<TextEngine>(*drawing);
  session = std::make_unique<DrawingSession>(*drawing, *text);
  // The graph definitions keep the drawing's orientation.
  drawing->onOrientationChanged = [this](bool landscape) { graph.def.Landscape = landscape; };
}

Drawing& AppContext::ensureDrawing() {
  if (!drawing || DrawingClosed) {
    makeDrawing();
    host.drawingReplaced();
  }
  return *drawing;
}

TextEngine& AppContext::textEngine() {
  ensureDrawing();
  // Letter font codes refer to the graph definitions' slots.
  LetterFontSlots slots;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const LetterFontDef& f = graph.def.LetterFonts[k];
    slots[k] = {f.name, f.size, f.style};
  }
  text->setLetterFonts(slots);
  return *text;
}

void AppContext::discardDrawing(bool windowOpen) {
  // Whatever the window has open ends before its drawing goes.
  if (session) session->Discard();
  // The drawing owns the orientation and the graph definitions follow it: a landscape drawing
  // turns back to portrait, as the next, blank drawing starts.
  if (drawing && drawing->state.LandscapeMode) drawing->SetPortrait();
  session.reset();
  text.reset();
  drawing.reset();
  DrawingClosed = true;
  if (windowOpen) host.drawingReplaced();
}

void AppContext::requestQuit() {
  QuitRequested = true;
  if (onQuit) onQuit();
}

void AppContext::SHOWWORKSHEET() { host.showWindow(WorkWindow::Worksheet); }

void AppContext::SHOWGRAPHDEFS() { host.showWindow(WorkWindow::GraphDefs); }

void AppContext::SHOWDRAWING() {
  ensureDrawing();
  host.showWindow(WorkWindow::Drawing);
}

void AppContext::drawingWindowClosed() { discardDrawing(false); }

bool AppContext::RUNFROMCOMMANDLINE(const std::vector<std::string>& params, bool* unreadable) {
  if (unreadable) *unreadable = false;
  if (params.empty()) return true;
  ScriptOutcome outcome = runner.RUNFROMCOMMANDLINE(params);
  if (unreadable) *unreadable = outcome == ScriptOutcome::Unreadable;
  return outcome == ScriptOutcome::Ended;
}

void AppContext::closeProgram() { store.DETACHDSF(); }

std::string productName() { return "Plotane"; }
std::string productVersion() { return PLOTANE_VERSION; }

}  // namespace plotane
