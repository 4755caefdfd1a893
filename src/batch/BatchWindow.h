#pragma once
// The rules of the script window ("Run EBT"): which controls are enabled and what the caption
// says in each state, Open and Save (which first end an edit as OK would), the mapping of the
// interpreter's position into the text area, and the classes of text the script colouring shows.
// The window itself only moves these values into its widgets.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plotane {

class EbtRunner;

// What the window shows and allows.
struct BatchControls {
  std::string caption;
  bool runStep = false;       // Run and Step
  bool okCancel = false;      // OK and Cancel end an edit
  bool editItems = false;     // Edit: Commands, Parameters
  bool reset = false;         // Reset
  bool fileItems = false;     // Open, Save
  bool textEditable = false;  // the script text (only in the Commands edit)
  bool gridShown = false;     // the parameter grid replaces the text (Parameters edit)
};

// `running`: a Run or Step is under way (nothing may be started or edited then).
BatchControls batchControls(const EbtRunner& runner, bool running);

// Ends an open Commands or Parameters edit as OK would: the edited text is taken and the
// interpreter reset. Nothing when no edit is open.
void endEditAsOK(EbtRunner& runner, const std::string& editedText);

// The window's Open: ends an open edit first, then loads the file, caption "Run --- " + name,
// parameter row 1, reset. False (after the input/output message) when the file cannot be read.
bool openBatchScript(EbtRunner& runner, const std::string& fileName, const std::string& editedText);

// The window's Save: ends an open edit first, so that the text as edited is written; the file is
// replaced only once the new text is completely written. Then caption, row 1 and reset as Open.
bool saveBatchScript(EbtRunner& runner, const std::string& fileName, const std::string& editedText);

// Writes a whole file through a temporary file in the same folder renamed over the target, so
// that a failed write leaves the old file as it was. False with `error` set on failure.
bool writeFileReplacing(const std::string& fileName, const std::string& data, std::string& error);

// The text area counts a line end "\r\n" as one character: the interpreter's character
// position `pos` in `text` as a position in the text area.
std::size_t editorPosition(std::string_view text, std::size_t pos);

// Script colouring: one line of a script split into classified spans.
enum class ScriptSpanKind { Command, Quoted, Comment, Parameter };
struct ScriptSpan {
  std::size_t start = 0, length = 0;
  ScriptSpanKind kind = ScriptSpanKind::Command;
};
// What carries from one line to the next: inside a "{" or "(*" comment, or inside quotes.
enum class ScriptLineState { Plain = 0, BraceComment = 1, ParenComment = 2, Quote = 3 };
std::vector<ScriptSpan> classifyScriptLine(std::string_view line, ScriptLineState& state);

}  // namespace plotane
