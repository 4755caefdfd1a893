#pragma once
// A Host for tests: records everything the model shows or asks, and answers from scripted
// replies (No, cancel, when none is left).

#include <deque>
#include <string>
#include <vector>

#include "shell/base/Files.h"
#include "shell/base/Host.h"

namespace plotane::test {

class TestHost : public Host {
 public:
  // What the model showed, in order.
  std::vector<std::string> messages;
  std::vector<std::string> captions;
  std::vector<std::string> questions;
  std::vector<std::string> prompts;
  std::vector<WorkWindow> windowsShown;
  int beeps = 0;
  int busyDepth = 0;
  int busyCalls = 0;
  int logShown = 0;
  int drawingReplacements = 0;

  // Scripted replies, taken from the front.
  std::deque<Answer> answers;
  std::deque<double> reals;       // askReal: a value answers OK; none left means Cancel
  std::deque<std::string> names;  // askName: likewise
  ClockStamp clock{1996, 5, 17, 14, 30};
  // Makes the model's file writes fail (a full disk after N bytes, a kill after N steps).
  WriteFaults faults;
  // Store operations outside scripts are synced only when a test asks for it.
  bool syncStore = false;

  void message(const std::string& text, const std::string& caption = {}) override {
    messages.push_back(text);
    captions.push_back(caption);
  }
  Answer ask(const std::string& text, bool withCancel = false, const std::string& = {}) override {
    questions.push_back(text);
    if (answers.empty()) return withCancel ? Answer::Cancel : Answer::No;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void beep() override { ++beeps; }
  void setBusy(bool on) override {
    busyDepth += on ? 1 : -1;
    ++busyCalls;
  }
  bool askReal(const std::string& prompt, double& value) override {
    prompts.push_back(prompt);
    if (reals.empty()) return false;
    value = reals.front();
    reals.pop_front();
    return true;
  }
  bool askName(const std::string& prompt, std::string& name) override {
    prompts.push_back(prompt);
    if (names.empty()) return false;
    name = names.front();
    names.pop_front();
    return true;
  }
  void showLog() override { ++logShown; }
  void showWindow(WorkWindow w) override { windowsShown.push_back(w); }
  void drawingReplaced() override { ++drawingReplacements; }
  ClockStamp now() override { return clock; }
  WriteFaults* writeFaults() override { return &faults; }
  bool syncEachStoreOperation() override { return syncStore; }

  std::string lastMessage() const { return messages.empty() ? std::string() : messages.back(); }
  void clear() {
    messages.clear();
    captions.clear();
    questions.clear();
    prompts.clear();
  }
};

}  // namespace plotane::test
