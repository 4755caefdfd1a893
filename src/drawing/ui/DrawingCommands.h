#pragma once
// The drawing window's commands that go through dialogs and stay-on-top boxes: the font, line
// code, text angle and point size choices, the prompt box of the arrowhead and the circle/arc,
// the numeric cursor move, and the block copy, block move and PCX flows. The rules and the
// multi-step states live in the drawing's session and the drawing forms; this class only shows
// the boxes and hands their answers on. The drawing window owns one and connects its menu items
// to the slots.

#include <QObject>

class QWidget;

namespace plotane {

class AppContext;

class DrawingCommands : public QObject {
  Q_OBJECT
 public:
  // window: the drawing window, parent of every box.
  DrawingCommands(AppContext& ctx, QWidget* window);
  ~DrawingCommands() override;

  // Whether a box of a multi-step command is open: the window disables the items that would
  // start a second one.
  bool boxOpen() const;

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
  AppContext& ctx_;
  QWidget* window_;
};

}  // namespace plotane
