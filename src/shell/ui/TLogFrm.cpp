#include "shell/ui/TLogFrm.h"

#include <QFileDialog>
#include <QListWidget>
#include <QMenuBar>

#include "shell/AppContext.h"
#include "shell/base/Messages.h"

namespace plotane {

TLogFrm::TLogFrm(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
  setObjectName("LogFrm");
  setWindowTitle("Log");
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(12);
  list_->setFont(font);
  list_->setUniformItemSizes(true);
  list_->setStyleSheet("QListWidget::item { height: 14px; padding: 0px; }");
  setCentralWidget(list_);
  QAction* file = menuBar()->addAction("&File");
  connect(file, &QAction::triggered, this, [this] { File1Click(); });
  QAction* close = menuBar()->addAction("&Close");
  connect(close, &QAction::triggered, this, [this] { hide(); });
  resize(700, 500);
}

void TLogFrm::showLog() {
  list_->clear();
  for (const std::string& line : ctx_.log.lines())
    list_->addItem(QString::fromLatin1(line.data(), qsizetype(line.size())));
  int current = ctx_.log.currentLine();
  if (current >= 0 && current < list_->count()) {
    list_->setCurrentRow(current);
    list_->scrollToItem(list_->item(current));
  }
  show();
  raise();
}

void TLogFrm::File1Click() {
  QFileDialog dialog(this, "Save log", QString(), "Log text file (*.TXT)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("TXT");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  saveTo(dialog.selectedFiles().first());
}

bool TLogFrm::saveTo(const QString& fileName) {
  std::string error;
  QByteArray name = fileName.toLocal8Bit();
  if (!ctx_.log.saveText(name.toStdString(), error)) {
    IOFAIL(ctx_.host, name.toStdString(), error);
    return false;
  }
  return true;
}

}  // namespace plotane
