#pragma once
// The main window: a narrow window with the window menu. Closing it ends the program.

#include <functional>

#include <QMainWindow>

class QLabel;

namespace plotane {

class AppContext;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(AppContext& ctx, QWidget* parent = nullptr);

  // Asked before the program closes; true lets it close.
  std::function<bool()> onCloseQuery;
  // Run once the close is agreed, before the program ends.
  std::function<void()> onClose;

  QLabel* label() const { return label_; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  AppContext& ctx_;
  QLabel* label_;
};

}  // namespace plotane
