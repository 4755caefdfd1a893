#pragma once
// The drawing window's commands that go through dialogs and stay-on-top boxes: the font, line
// code, text angle and point size choices, the prompt box of the arrowhead and the circle/arc,
// the numeric cursor move, and the block copy, block move and PCX flows. The rules and the
// multi-step states live in the drawing's session and the drawing forms; this class only shows
// the boxes and hands their answers on. The drawing window owns one and connects its menu items
// to the slots.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace plotane {

class AppContext;
class StayOnTopBox;
class TOKFrm;
class TBlkBox1;
class TBlkBox2;

class DrawingCommands : public QObject {
  Q_OBJECT
 public:
  // window: the drawing window, parent of every box.
  DrawingCommands(AppContext& ctx, QWidget* window);
  ~DrawingCommands() override;

  // Whether a box of a multi-step command is open: the window disables the items that would
  // start a second one.
  bool boxOpen() const;

  // The open boxes, for the window and tests (null when closed).
  TOKFrm* promptBox() const;
  TBlkBox1* selectBox() const;
  TBlkBox2* blockBox() const;

 public slots:
  void chooseFontCode();           // "&FontCode"
  void chooseLineCode();           // "&LineCode"
  void chooseTextAngle();          // "&Angle of text"
  void choosePointSizeCode();      // "&PointSizeCode"
  void startArrowhead();           // "&Arrowhead"
  void startCircleArc();           // "&Circle/Arc"
  void moveNumeric(bool bCursor);  // "&A-cursor" (false) / "&B-cursor" (true)
  void startBlock(bool move);      // "&Copy block" (false) / "&Move block" (true)
  void startPcx();                 // "&Write PCX file"
  // Ends every pending state and closes its box: before the drawing is discarded or replaced.
  void closeBoxes();

 signals:
  // The drawing, a cursor or a mode changed: the window repaints and refreshes its status.
  void changed();
  // A multi-step command opened or ended: the window updates which items are enabled.
  void stateChanged();

 private:
  struct PendingHook;
  // The session tells this object when it ends its pending command from elsewhere (a discard).
  void hookSession();
  // Closes the boxes without answering them.
  void dismissBoxes();
  void showBox(StayOnTopBox* box);
  void promptAnswered(bool ok);
  void selectAnswered(bool ok);
  void blockAnswered(bool ok);
  // The save dialog of the PCX file; empty when cancelled.
  QString askPcxName();
  // The text angle changed: the cursor marks turn with it.
  void angleChanged(double degrees);

  AppContext& ctx_;
  QWidget* window_;
  // The drawn-line code the font dialog shows on line 0; it keeps its value between openings.
  int drawnLineCode_ = 3;
  QPointer<TOKFrm> prompt_;
  QPointer<TBlkBox1> select_;
  QPointer<TBlkBox2> doBlock_;
  // Held by the session's hook: the hook does nothing once this object is gone.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace plotane
