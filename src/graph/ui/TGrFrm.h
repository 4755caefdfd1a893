#pragma once
// The graph definitions window.

#include "shell/ui/WorkWindow.h"

namespace plotane {

class TGrFrm : public TWorkFrm {
  Q_OBJECT
 public:
  explicit TGrFrm(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace plotane
