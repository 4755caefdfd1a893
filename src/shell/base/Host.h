#pragma once
// The model's one door to the platform: every message box, question, prompt, beep, busy cursor,
// window request and clock reading of the model goes through a Host. The Qt windows, the batch
// mode and the tests each provide one.

#include <cstdint>
#include <string>
#include <vector>

namespace plotane {

struct WriteFaults;

enum class Answer { Yes, No, Cancel };

enum class WorkWindow { Worksheet, GraphDefs, Drawing };

// Packed file-date form of the system clock: no seconds.
struct ClockStamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// Text in a platform font, measured and drawn black on a white square canvas (the drawing's
// letter font codes).
struct PlatformTextRequest {
  std::string face;      // font face name; empty for the platform's default face
  int style = 0;         // 0 regular, 1 italic, 2 bold, 3 bold italic
  int emPixels = 0;      // em height on the canvas, in pixels
  int canvasSize = 384;  // width and height of the canvas, in pixels
  int baselineRow = 0;   // canvas row of the baseline; the text starts at column 0
  std::string text;
  bool render = true;  // false: measure only
};
struct PlatformTextResult {
  int advance = 0;              // width of the text in canvas pixels
  std::vector<uint8_t> pixels;  // canvasSize x canvasSize, row by row, 1 = black (when rendered)
};

class Host {
 public:
  virtual ~Host() = default;

  // A modal box with an OK button. An empty caption means the program's own caption.
  virtual void message(const std::string& text, const std::string& caption = {}) = 0;
  // A Yes/No question, or Yes/No/Cancel when withCancel is set.
  virtual Answer ask(const std::string& text, bool withCancel = false,
                     const std::string& caption = {}) = 0;
  // A Yes/No question whose Yes is the safe answer: Escape and the box's close button answer
  // Yes there.
  virtual Answer askYesSafe(const std::string& text, const std::string& caption = {}) {
    return ask(text, false, caption);
  }
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
  // Shows the script window ("Run EBT"); nothing where there are no windows.
  virtual void showRunEbt() {}
  // Opens the help window: at its contents (HelpContents), its topic search (HelpSearch) or the
  // topic of a help context number.
  static constexpr int HelpContents = 0;
  static constexpr int HelpSearch = -1;
  virtual void showHelp(int context) { (void)context; }
  virtual ClockStamp now();
  // Measures and, when asked, draws text in a platform font. False: no platform fonts here.
  virtual bool platformText(const PlatformTextRequest&, PlatformTextResult&) { return false; }
  // Prints the page through the platform's printing service as a 300-dpi bitmap: 3000 rows of
  // 300 bytes, set bit black, leftmost pixel in the high bit; a landscape drawing on a landscape
  // sheet. With toFile set, the printed page goes to that file instead of a printer. False when
  // nothing was printed (the reason shown).
  virtual bool printPage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                         bool landscape = false);
  // The file writers' fault hook (see WriteFaults): only a test's host has one.
  virtual WriteFaults* writeFaults() { return nullptr; }
  // Whether a store operation run outside a script is synced to the disk at its end (a few
  // milliseconds each). Tests that do not look at the disk's durability need not wait for it.
  virtual bool syncEachStoreOperation() { return true; }
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
