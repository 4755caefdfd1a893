#pragma once
// The drawing window. It is discarded when closed and made anew when the drawing is next needed.

#include "shell/ui/WorkWindow.h"

namespace plotane {

class TDrFrm : public TWorkFrm {
  Q_OBJECT
 public:
  explicit TDrFrm(AppContext& ctx, QWidget* parent = nullptr);

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;
};

}  // namespace plotane
