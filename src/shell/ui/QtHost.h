#pragma once
// The Host of the desktop program: Qt message boxes, questions, beep, busy cursor, prompts and
// window requests.

#include <functional>

#include <QPointer>
#include <QWidget>

#include "shell/base/Host.h"

namespace plotane {

class QtHost : public Host {
 public:
  void message(const std::string& text, const std::string& caption = {}) override;
  Answer ask(const std::string& text, bool withCancel = false,
             const std::string& caption = {}) override;
  Answer askYesSafe(const std::string& text, const std::string& caption = {}) override;
  void beep() override;
  void setBusy(bool on) override;
  bool askReal(const std::string& prompt, double& value) override;
  bool askName(const std::string& prompt, std::string& name) override;
  void showLog() override;
  void showWindow(WorkWindow w) override;
  void drawingReplaced() override;
  void showRunEbt() override;
  void showHelp(int context) override;
  bool platformText(const PlatformTextRequest& request, PlatformTextResult& result) override;
  bool printPage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                 bool landscape) override;

  // Set by the shell once its windows exist.
  std::function<void()> onShowLog;
  std::function<void(WorkWindow)> onShowWindow;
  std::function<void()> onDrawingReplaced;
  std::function<void()> onShowRunEbt;
  std::function<void(int)> onShowHelp;
  // Parent of the modal boxes (the active work window when null). Guarded: the drawing window
  // it may name is deleted when it closes.
  QPointer<QWidget> dialogParent;
};

}  // namespace plotane
