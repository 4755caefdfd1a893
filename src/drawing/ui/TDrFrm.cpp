#include "drawing/ui/TDrFrm.h"

#include <QCloseEvent>

namespace plotane {

TDrFrm::TDrFrm(AppContext& ctx, QWidget* parent) : TWorkFrm(ctx, "Drawing    ", parent) {
  setObjectName("DrFrm");
  addWindowMenu("&Window(F6)", "&Graph definitions", WorkWindow::GraphDefs, "Data &Worksheet",
                WorkWindow::Worksheet, 1);
}

void TDrFrm::closeEvent(QCloseEvent* e) {
  e->accept();
  emit closed();
}

}  // namespace plotane
