// What the benchmark programs share: a host that answers nothing and shows nothing, so a timed
// loop never waits on a dialog or prints.
#pragma once

#include <string>

#include "shell/base/Host.h"

namespace plotane {

class QuietHost : public Host {
 public:
  int messages = 0;  // messages shown, so a run can tell it went through cleanly
  void message(const std::string&, const std::string&) override { ++messages; }
  Answer ask(const std::string&, bool, const std::string&) override { return Answer::No; }
  void beep() override {}
  void setBusy(bool) override {}
  bool askReal(const std::string&, double&) override { return false; }
  bool askName(const std::string&, std::string&) override { return false; }
  void showLog() override {}
};

}  // namespace plotane
