#pragma once
// The Host of batch mode: no window and no modal dialog. Message texts go to standard error one
// line each, questions take No (Cancel where offered), prompts are cancelled, and the log is
// written to standard output when it is shown.

#include <cstdio>

#include "shell/base/Host.h"

namespace plotane {

class LogModel;

class BatchHost : public Host {
 public:
  explicit BatchHost(std::FILE* out = stdout, std::FILE* err = stderr) : out_(out), err_(err) {}
  // The log whose lines SHOWLOG prints (the context's, which exists only after the host).
  void setLog(const LogModel* log) { log_ = log; }

  void message(const std::string& text, const std::string& caption = {}) override;
  Answer ask(const std::string& text, bool withCancel = false,
             const std::string& caption = {}) override;
  void beep() override {}
  void setBusy(bool) override {}
  bool askReal(const std::string& prompt, double& value) override;
  bool askName(const std::string& prompt, std::string& name) override;
  void showLog() override;

 private:
  const LogModel* log_ = nullptr;
  std::FILE* out_;
  std::FILE* err_;
};

}  // namespace plotane
