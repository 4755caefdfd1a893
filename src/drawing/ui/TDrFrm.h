#pragma once
// The drawing window: shows the drawing's preview. It is discarded when closed and made anew
// when the drawing is next needed.

#include "shell/ui/WorkWindow.h"

class QScrollArea;

namespace plotane {

class PreviewView;

class TDrFrm : public TWorkFrm {
  Q_OBJECT
 public:
  explicit TDrFrm(AppContext& ctx, QWidget* parent = nullptr);

  // Follows the context's current drawing (after it was made anew).
  void bindDrawing();
  // Closes the window without discarding the drawing again (it is already gone).
  void closeDiscarded();

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  PreviewView* view_;
  QScrollArea* scroll_;
  bool discarded_ = false;
};

}  // namespace plotane
