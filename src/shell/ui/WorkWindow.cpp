#include "shell/ui/WorkWindow.h"

#include <QMenuBar>

#include "shell/AppContext.h"
#include "shell/ui/THelpFrm.h"

namespace plotane {

TWorkFrm::TWorkFrm(AppContext& ctx, const QString& caption, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx) {
  setWindowTitle(caption);
  resize(800, 600);
}

QMenu* TWorkFrm::addWindowMenu(const QString& title, const QString& item0, WorkWindow target0,
                               const QString& item1, WorkWindow target1, int f6Item) {
  QMenu* menu = menuBar()->addMenu(title);
  setHelpContext(menu->menuAction(), 126);
  const QString items[2] = {item0, item1};
  const WorkWindow targets[2] = {target0, target1};
  for (int i = 0; i < 2; ++i) {
    QAction* a = menu->addAction(items[i]);
    if (i == f6Item) a->setShortcut(QKeySequence(Qt::Key_F6));
    WorkWindow target = targets[i];
    connect(a, &QAction::triggered, this, [this, target] {
      switch (target) {
        case WorkWindow::Worksheet:
          ctx_.SHOWWORKSHEET();
          break;
        case WorkWindow::GraphDefs:
          ctx_.SHOWGRAPHDEFS();
          break;
        case WorkWindow::Drawing:
          ctx_.SHOWDRAWING();
          break;
      }
    });
  }
  return menu;
}

QMenu* TWorkFrm::addHelpMenu() {
  QMenu* menu = menuBar()->addMenu("&Help");
  menu->setObjectName("Help1");
  connect(menu->addAction("&Contents"), &QAction::triggered, this,
          [this] { ctx_.host.showHelp(Host::HelpContents); });
  connect(menu->addAction("&Topic Search"), &QAction::triggered, this,
          [this] { ctx_.host.showHelp(Host::HelpSearch); });
  return menu;
}

}  // namespace plotane
