#include "shell/AppContext.h"

#include "shell/base/Files.h"
#include "shell/base/Messages.h"

#ifndef PLOTANE_VERSION
#define PLOTANE_VERSION "0.0.0"
#endif

namespace plotane {

AppContext::AppContext(Host& h) : host(h), store(h, log) {}

void AppContext::SHOWWORKSHEET() { host.showWindow(WorkWindow::Worksheet); }

void AppContext::SHOWGRAPHDEFS() { host.showWindow(WorkWindow::GraphDefs); }

void AppContext::SHOWDRAWING() {
  if (DrawingClosed) {
    DrawingClosed = false;
    host.drawingReplaced();
  }
  host.showWindow(WorkWindow::Drawing);
}

void AppContext::drawingWindowClosed() { DrawingClosed = true; }

bool AppContext::RUNFROMCOMMANDLINE(const std::vector<std::string>& params, bool* unreadable) {
  if (unreadable) *unreadable = false;
  if (params.empty()) return true;
  std::string name = resolveFileName(params[0] + ".EBT");
  if (!fileExists(name)) {
    if (unreadable) *unreadable = true;
    host.message(ioFailText(name, "cannot open script"));
    return false;
  }
  host.message("Scripts cannot be run by this version: " + name);
  return false;
}

void AppContext::closeProgram() { store.DETACHDSF(); }

std::string productName() { return "Plotane"; }
std::string productVersion() { return PLOTANE_VERSION; }

}  // namespace plotane
