#include "shell/ui/TForm1.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>

#include "shell/AppContext.h"

namespace plotane {

TForm1::TForm1(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
  setObjectName("Form1");
  setWindowTitle(QString::fromStdString(productName() + " " + productVersion()));
  label_ = new QLabel("Press F6 key to select windows", this);
  label_->setObjectName("Label1");
  label_->setAlignment(Qt::AlignCenter);
  setCentralWidget(label_);

  QMenu* menu = menuBar()->addMenu("&Window(F6)");
  menu->setObjectName("Window1");
  QAction* ws = menu->addAction("&Worksheet for data");
  ws->setShortcut(QKeySequence(Qt::Key_F6));
  connect(ws, &QAction::triggered, this, [this] { ctx_.SHOWWORKSHEET(); });
  connect(menu->addAction("&Graph definitions"), &QAction::triggered, this,
          [this] { ctx_.SHOWGRAPHDEFS(); });
  connect(menu->addAction("&Drawing"), &QAction::triggered, this, [this] { ctx_.SHOWDRAWING(); });
  resize(585, 62 + menuBar()->sizeHint().height());
}

void TForm1::closeEvent(QCloseEvent* e) {
  if (onCloseQuery && !onCloseQuery()) {
    e->ignore();
    return;
  }
  if (onClose) onClose();
  e->accept();
}

}  // namespace plotane
