#include "shell/ui/QtHost.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "drawing/ui/PagePrinter.h"
#include "drawing/ui/PlatformGlyphs.h"
#include "shell/AppContext.h"
#include "worksheet/ui/WkDialogs.h"

namespace plotane {

namespace {
// Strings of the model are single bytes.
QString q(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

QWidget* parentFor(QWidget* preferred) {
  return preferred ? preferred : QApplication::activeWindow();
}

QString captionOr(const std::string& caption) {
  return caption.empty() ? q(productName()) : q(caption);
}
}  // namespace

void QtHost::message(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::NoIcon, captionOr(caption), q(text), QMessageBox::Ok,
                  parentFor(dialogParent));
  box.exec();
}

Answer QtHost::ask(const std::string& text, bool withCancel, const std::string& caption) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, captionOr(caption), q(text), buttons,
                  parentFor(dialogParent));
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return withCancel ? Answer::Cancel : Answer::No;
  }
}

Answer QtHost::askYesSafe(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Question, captionOr(caption), q(text),
                  QMessageBox::Yes | QMessageBox::No, parentFor(dialogParent));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::No ? Answer::No : Answer::Yes;
}

void QtHost::beep() { QApplication::beep(); }

void QtHost::setBusy(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool QtHost::askReal(const std::string& prompt, double& value) {
  // The real-number entry stays open until a number is given or the user cancels.
  return TRealEntry::ask(*this, parentFor(dialogParent), prompt, value);
}

bool QtHost::askName(const std::string& prompt, std::string& name) {
  bool ok = false;
  QString text = QInputDialog::getText(parentFor(dialogParent), captionOr({}), q(prompt),
                                       QLineEdit::Normal, q(name), &ok);
  if (!ok) return false;
  QByteArray bytes = text.toLatin1();
  name.assign(bytes.constData(), std::size_t(bytes.size()));
  return true;
}

void QtHost::showLog() {
  if (onShowLog) onShowLog();
}

void QtHost::showWindow(WorkWindow w) {
  if (onShowWindow) onShowWindow(w);
}

void QtHost::drawingReplaced() {
  if (onDrawingReplaced) onDrawingReplaced();
}

void QtHost::showRunEbt() {
  if (onShowRunEbt) onShowRunEbt();
}

void QtHost::showHelp(int context) {
  if (onShowHelp) onShowHelp(context);
}

bool QtHost::printPage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                       bool landscape) {
  std::string error;
  bool ok = PrintPageImage(pageBits, toFile, parentFor(dialogParent), error, landscape);
  if (!ok && !error.empty()) message(error, "Print");
  return ok;
}

bool QtHost::platformText(const PlatformTextRequest& request, PlatformTextResult& result) {
  return RenderPlatformText(request, result);
}

}  // namespace plotane
