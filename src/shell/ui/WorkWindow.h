#pragma once
// Common ground of the three work windows (worksheet, graph definitions, drawing): shown one at a
// time, maximised, each with a "Window(F6)" menu that leads to the others.

#include <QMainWindow>

#include "shell/base/Host.h"

class QMenu;

namespace plotane {

class AppContext;

class TWorkFrm : public QMainWindow {
  Q_OBJECT
 public:
  TWorkFrm(AppContext& ctx, const QString& caption, QWidget* parent = nullptr);

  // Asked when the program closes; a window with unsaved work asks its own question here and
  // changes nothing. False keeps the program running.
  virtual bool FormCloseQuery() { return true; }
  // Every window agreed and the program really closes: clear flags, reset state here.
  virtual void FormClose() {}

 protected:
  // Adds the window menu with two items; `f6Item` (0 or 1) carries the F6 shortcut.
  QMenu* addWindowMenu(const QString& title, const QString& item0, WorkWindow target0,
                       const QString& item1, WorkWindow target1, int f6Item);
  // Adds the "&Help" menu: "&Contents" and "&Topic Search".
  QMenu* addHelpMenu();

  AppContext& ctx_;
};

}  // namespace plotane
