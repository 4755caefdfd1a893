// Helpers of the worksheet window tests: a shell with the worksheet shown, menu items by their
// captions, and answers to the modal boxes and dialogs a command opens.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <functional>

#include "shell/ui/Shell.h"
#include "worksheet/ui/TWkFrm.h"
#include "worksheet/ui/WkDialogs.h"
#include "worksheet/ui/WkGrid.h"

namespace plotane::test {

// The menu item reached by a path of captions from the window's menu bar.
inline QAction* menuItem(QMainWindow* w, std::initializer_list<const char*> path) {
  QList<QAction*> actions = w->menuBar()->actions();
  QAction* found = nullptr;
  for (const char* caption : path) {
    found = nullptr;
    for (QAction* a : actions)
      if (a->text() == caption) found = a;
    if (!found) return nullptr;
    if (found->menu()) actions = found->menu()->actions();
  }
  return found;
}

// Handlers for the modal windows that open next, one each, in order. Each runs inside the
// modal window's own event loop and must close it.
class ModalAnswers : public QObject {
 public:
  using Handler = std::function<void(QWidget*)>;
  std::deque<Handler> handlers;
  QStringList seen;  // the text (message boxes) or caption of every modal window answered

  ModalAnswers() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }
  void add(Handler h) { handlers.push_back(std::move(h)); }
  // A message box or question answered with the given button.
  void button(QMessageBox::StandardButton b) {
    add([b](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (box) box->button(b)->click();
    });
  }
  void escape() {
    add([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  }

 private:
  void poll() {
    QWidget* m = QApplication::activeModalWidget();
    if (!m || m == last_ || handlers.empty() || busy_) return;
    last_ = m;
    m->installEventFilter(this);  // shown again: answered again
    if (auto* box = qobject_cast<QMessageBox*>(m))
      seen << box->text();
    else
      seen << m->windowTitle();
    Handler h = handlers.front();
    handlers.pop_front();
    // Run outside this timer's callback: a box the handler opens must find the timer free.
    busy_ = true;
    QTimer::singleShot(0, this, [this, h, m = QPointer<QWidget>(m)] {
      busy_ = false;
      if (!m) return;
      h(m);
      // A window that stayed open (a refused value) may be answered again.
      if (m && m->isVisible()) last_ = nullptr;
    });
  }
  bool busy_ = false;
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show && o == last_) last_ = nullptr;
    return false;
  }
  QTimer timer_;
  QPointer<QWidget> last_;
};

inline void setEdit(QWidget* dialog, const char* name, const QString& text) {
  if (auto* e = dialog->findChild<QLineEdit*>(name)) e->setText(text);
}
inline void clickOk(QWidget* dialog) {
  if (auto* b = dialog->findChild<QPushButton*>("OKBtn")) b->click();
}

struct WkFixture {
  Shell shell;
  AppContext& ctx;
  TWkFrm* wk;
  WkGridView* grid;

  WkFixture() : ctx(shell.context()), wk(shell.worksheetWindow()), grid(wk->grid()) {
    shell.start({});
    ctx.SHOWWORKSHEET();
    grid->setFocus();
    QCoreApplication::processEvents();
  }
  QModelIndex cell(int column, int index) const {
    return grid->model()->index(WkGridModel::modelRowOfIndex(index),
                                WkGridModel::modelColumnOf(column));
  }
  QString shown(int column, int index) const { return cell(column, index).data().toString(); }
  // Types text into a cell the way a user does: move there, type, move on.
  void type(int column, int index, const QString& text) {
    grid->goTo(column, index);
    grid->edit(cell(column, index));
    if (auto* e = grid->delegate()->editor()) e->setText(text);
  }
  QLineEdit* edit(const char* name) const { return wk->findChild<QLineEdit*>(name); }
  void confirm(const QString& first, const QString& last = {}) {
    edit("Edit1")->setText(first);
    edit("Edit2")->setText(last);
    wk->findChild<QPushButton*>("CSelOK")->click();
  }
  void trigger(std::initializer_list<const char*> path) {
    QAction* a = menuItem(wk, path);
    QVERIFY2(a, "menu item not found");
    a->trigger();
  }
};

}  // namespace plotane::test
