#include "worksheet/ui/TWkFrm.h"

namespace plotane {

TWkFrm::TWkFrm(AppContext& ctx, QWidget* parent) : TWorkFrm(ctx, "Worksheet", parent) {
  setObjectName("WkFrm");
  addWindowMenu("&Window(F6)", "&Graph definitions", WorkWindow::GraphDefs, "&Drawing",
                WorkWindow::Drawing, 0);
}

}  // namespace plotane
