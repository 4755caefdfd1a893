#include "worksheet/ui/TWkFrm.h"

#include "shell/AppContext.h"

namespace plotane {

TWkFrm::TWkFrm(AppContext& ctx, QWidget* parent) : TWorkFrm(ctx, "Worksheet", parent) {
  setObjectName("WkFrm");
  addWindowMenu("&Window(F6)", "&Graph definitions", WorkWindow::GraphDefs, "&Drawing",
                WorkWindow::Drawing, 0);
}

bool TWkFrm::FormCloseQuery() { return ctx_.worksheet.MayClose(); }

void TWkFrm::FormClose() { ctx_.worksheet.CommitClose(); }

}  // namespace plotane
