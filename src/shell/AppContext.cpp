#include "shell/AppContext.h"

#ifndef PLOTANE_VERSION
#define PLOTANE_VERSION "0.0.0"
#endif

namespace plotane {

AppContext::AppContext(Host& h) : host(h) {}

void AppContext::SHOWWORKSHEET() { host.showWindow(WorkWindow::Worksheet); }

void AppContext::SHOWGRAPHDEFS() { host.showWindow(WorkWindow::GraphDefs); }

void AppContext::SHOWDRAWING() { host.showWindow(WorkWindow::Drawing); }

std::string productName() { return "Plotane"; }
std::string productVersion() { return PLOTANE_VERSION; }

}  // namespace plotane
