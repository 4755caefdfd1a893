#pragma once
// The model's one door to the platform: every message box, question, prompt, beep, busy cursor,
// window request and clock reading of the model goes through a Host. The Qt windows, the batch
// mode and the tests each provide one.

#include <string>

namespace plotane {

enum class Answer { Yes, No, Cancel };

enum class WorkWindow { Worksheet, GraphDefs, Drawing };

// Packed file-date form of the system clock: no seconds.
struct ClockStamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // A modal box with an OK button. An empty caption means the program's own caption.
  virtual void message(const std::string& text, const std::string& caption = {}) = 0;
  // A Yes/No question, or Yes/No/Cancel when withCancel is set.
  virtual Answer ask(const std::string& text, bool withCancel = false,
                     const std::string& caption = {}) = 0;
  virtual void beep() = 0;
  // Busy cursor on or off; calls nest (see BusyCursor).
  virtual void setBusy(bool on) = 0;
  // The real-number prompt: value holds the proposed number and receives the answer.
  // False when the user cancelled.
  virtual bool askReal(const std::string& prompt, double& value) = 0;
  // The series name dialog: name holds the proposal and receives the answer. False on Cancel.
  virtual bool askName(const std::string& prompt, std::string& name) = 0;
  // Shows the log window (the lines live in the application context's LogModel).
  virtual void showLog() = 0;
  // Shows one work window maximised, the others in normal state.
  virtual void showWindow(WorkWindow) {}
  // The drawing model was discarded or re-created: a window showing it must follow.
  virtual void drawingReplaced() {}
  virtual ClockStamp now();
};

// Keeps the busy cursor up for the life of a scope.
class BusyCursor {
 public:
  explicit BusyCursor(Host& host) : host_(host) { host_.setBusy(true); }
  ~BusyCursor() { host_.setBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Host& host_;
};

}  // namespace plotane
