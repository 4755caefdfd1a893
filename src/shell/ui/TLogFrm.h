#pragma once
// The log window: the log's lines in a fixed-pitch list, saved as a text file from its menu.

#include <QMainWindow>

class QListWidget;

namespace plotane {

class AppContext;

class TLogFrm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TLogFrm(AppContext& ctx, QWidget* parent = nullptr);

  // Reloads the lines from the log model and shows the window with the current line visible.
  void showLog();
  // Writes every line to the file; reports a failure through the Host.
  bool saveTo(const QString& fileName);

  QListWidget* list() const { return list_; }

 private:
  void File1Click();

  AppContext& ctx_;
  QListWidget* list_;
};

}  // namespace plotane
