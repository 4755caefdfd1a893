#pragma once
// The worksheet window.

#include "shell/ui/WorkWindow.h"

namespace plotane {

class TWkFrm : public TWorkFrm {
  Q_OBJECT
 public:
  explicit TWkFrm(AppContext& ctx, QWidget* parent = nullptr);

  // Unsaved column data: asks whether to return to the worksheet.
  bool FormCloseQuery() override;
  void FormClose() override;
};

}  // namespace plotane
