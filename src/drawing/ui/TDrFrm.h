#pragma once
// The drawing window: shows the drawing's preview under a status bar (cursor read-outs, mode,
// grid and text labels) and hands keys and clicks to the drawing's session. It is discarded
// when closed and made anew when the drawing is next needed.

#include "shell/ui/WorkWindow.h"

class QLabel;
class QKeyEvent;
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
  void keyPressEvent(QKeyEvent* e) override;
  // The window takes keys before its controls (the scroll box would scroll on arrows).
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  friend class PreviewView;
  bool handleKey(QKeyEvent* e);
  void previewClicked(double x, double y, bool shiftOnly);
  void refreshStatus();

  PreviewView* view_;
  QLabel* panelA_;
  QLabel* panelB_;
  QLabel* panel3_;
  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QScrollArea* scroll_;
  bool discarded_ = false;
};

}  // namespace plotane
