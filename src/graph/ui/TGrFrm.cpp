#include "graph/ui/TGrFrm.h"

namespace plotane {

TGrFrm::TGrFrm(AppContext& ctx, QWidget* parent)
    : TWorkFrm(ctx, "Current Graph Definitions", parent) {
  setObjectName("GrFrm");
  addWindowMenu("&Window (F6)", "Data &Worksheet", WorkWindow::Worksheet, "&Drawing",
                WorkWindow::Drawing, 1);
  addHelpMenu();
}

}  // namespace plotane
