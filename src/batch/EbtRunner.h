#pragma once
// The EBT interpreter: one script text read character by character, its tokenizer (comments,
// quoting, caret control characters, upper-casing), the parameter table %1..%9, the argument
// readers every command uses, and the statement, Run and Step loops.
//
// The runner knows no command: it hands each command word to a ScriptCommands, which also
// answers the names that stand for live values (cursor positions, use limits) and the axis
// kinds graph points are read in.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plotane {

class Host;
class EbtRunner;

class ScriptCommands {
 public:
  virtual ~ScriptCommands() = default;
  // Runs one command word (upper case, at most 35 characters). False when the word is unknown.
  virtual bool execute(EbtRunner& runner, const std::string& word) = 0;
  // Called before each statement (a discarded drawing is made again here).
  virtual void beforeStatement() {}
  // Called when Run or Step ends (what the statements stored is made durable here).
  virtual void runEnded() {}
  // "%NRCURAX", "%NRCURAY", "%NRCURBX", "%NRCURBY": the cursors' page positions.
  virtual bool cursorValue(const std::string& /*name*/, double& /*value*/) { return false; }
  // "%NILOLIM", "%NIUPLIM": the worksheet's row use limits.
  virtual bool useLimitValue(const std::string& /*name*/, int& /*value*/) { return false; }
  // Whether the graph's X (or Y) axis is logarithmic; graph points are read in its units.
  virtual bool logAxis(bool /*yAxis*/) { return false; }
  // A column or range argument becomes the worksheet's selected columns.
  virtual void columnsSelected(int /*first*/, int /*second*/, bool /*range*/) {}
};

// One token as NEXTTOKEN returns it.
struct ScriptToken {
  std::string text;             // quotes removed
  bool given = false;           // something was written (a quoted empty text counts)
  char delimiter = 0;           // the delimiter found and consumed; 0 when none followed
  bool firstDelimiter = false;  // the delimiter found was the first of those asked for
  bool endedAtBlank = false;
};

enum class ScriptOutcome { Ended, Stopped, Unreadable };

class EbtRunner {
 public:
  static constexpr int kParamRows = 9;
  static constexpr std::size_t kWordLength = 35;
  static constexpr std::size_t kTextLength = 87;
  // Longest token kept; the rest of a longer token is read and dropped.
  static constexpr std::size_t kTokenLength = 255;
  static constexpr const char* kErrorText = "Error...cannot continue:";

  EbtRunner(Host& host, bool& scriptRunning);
  EbtRunner(const EbtRunner&) = delete;
  EbtRunner& operator=(const EbtRunner&) = delete;

  void setCommands(ScriptCommands* commands) { commands_ = commands; }
  // Told when a statement's word has been read and when the statement has ended, so that a
  // window can show the reading position while a run holds the event loop.
  std::function<void()> onProgress;
  Host& host() { return host_; }

  // ---- Script text ----
  void setText(std::string text);
  const std::string& text() const { return text_; }
  // Loads a script file (case-insensitive lookup); false after the input/output message.
  bool loadFile(const std::string& fileName);
  bool saveFile(const std::string& fileName);
  // Opening or saving a script puts its name without the extension into parameter row 1.
  void nameFromFile(const std::string& fileName);
  std::string caption() const { return caption_; }
  void setCaption(const std::string& c) { caption_ = c; }
  // The window's Open and Save: the file, the caption "Run --- " + name, parameter row 1, reset.
  bool openScript(const std::string& fileName);
  bool saveScript(const std::string& fileName);

  // ---- Editing the script or the parameters (the window shows the editors) ----
  enum class EditMode { None, Commands, Parameters };
  EditMode editMode() const { return editMode_; }
  void editCommands();
  void editParameters();
  // OK: the edited text is taken (commands) and the interpreter is reset.
  void editOK(const std::string& editedText);
  // Cancel: the text or the parameter values return to what they were; no reset.
  void editCancel();

  // ---- Parameter table (rows 1..9) ----
  const std::string& param(int n) const;
  void setParam(int n, const std::string& value);
  void setParams(const std::vector<std::string>& values);

  // ---- Interpreter state ----
  std::size_t position() const { return pos_; }
  bool ScriptStop = false;
  bool ScriptError = false;
  // Why the statement failed when it had no message of its own ("" otherwise): an argument
  // outside its bounds, a wrong delimiter, an unknown word or letter. Cleared with ScriptError.
  const std::string& reason() const { return reason_; }
  // Fails the statement (ScriptError); the first reason given is kept.
  void fail(const std::string& why);
  // The same about argument n (from 1): "argument n: " + why.
  void failArgument(int n, const std::string& why);
  // A token as a reason quotes it: on one line (control characters in their caret form) and
  // cut after 40 characters.
  static std::string quote(const std::string& token);
  // The number (from 1) of the last argument read in this statement.
  int argumentNumber() const { return argument_; }
  // The window shows the reason under "Error...cannot continue:"; batch mode prints it with the
  // line where the run stopped instead.
  bool ReasonInErrorBox = true;
  // What the text area highlights: two characters just behind the position.
  std::size_t selectionStart() const { return selStart_; }
  std::size_t selectionLength() const { return 2; }
  bool runEnabled() const { return runEnabled_; }
  void setRunEnabled(bool on) { runEnabled_ = on; }
  // The text is exhausted (a read past its end was tried) or the script stopped.
  bool atEnd() const { return ScriptStop || exhausted_; }

  // ---- Tokenizer ----
  ScriptToken NEXTTOKEN(std::string_view delimiters);
  // Repeats NEXTTOKEN until something is read or the script stops.
  ScriptToken NEXTGIVENTOKEN(std::string_view delimiters);

  // ---- Argument readers: `last` means ")" must follow, else ",". A failure sets ScriptError;
  // after one, readers return a dummy and read nothing. ----
  std::string readText(bool last);
  int readColumn(bool last);
  // Two column groups joined by dots; a single group is a one-column range.
  bool readRange(bool last, int& first, int& second);
  // The names describe the bounds in the reason of a refusal ("the last index").
  int readInt(bool last, int min, int max, std::string_view minName = "the lower bound",
              std::string_view maxName = "the upper bound");
  double readReal(bool last, double min, double max, std::string_view minName = "the lower bound",
                  std::string_view maxName = "the upper bound");
  // A point in graph units: each coordinate's axis decides linear or decimal-log reading.
  void readGraphPoint(bool last, double& x, double& y);
  // Point-symbol letters: the code 0..11, or -1 after ScriptError.
  int readSymbol(bool last);
  // The same letters inside a longer text (for curve styles), -1 when not a symbol pair.
  static int symbolCode(std::string_view letters);

  // Strict parsers shared with the commands.
  static bool parseColumnLetters(std::string_view text, int& column);
  static bool parseInteger(std::string_view text, long& value);
  static bool parseReal(std::string_view text, double& value);

  // ---- Run loop ----
  void RESET();
  void EXECSTATEMENT();
  void RUN();
  void STEP();
  // Fills the parameters, loads NAME.EBT, resets and runs to the end.
  ScriptOutcome RUNFROMCOMMANDLINE(const std::vector<std::string>& params);

  // The word of the statement being run (or last run).
  const std::string& commandWord() const { return word_; }
  // The line (from 1) on which that statement's word stands: where a stopped run failed.
  std::size_t statementLine() const;

 private:
  bool peekChar(char& c, std::size_t ahead = 0) const;
  char readChar();
  void skipBlanksAndComments();
  bool atCommentStart() const;
  std::string readArgument(bool last);
  bool argumentsOpen();
  void skipRestOfStatement();

  Host& host_;
  bool& scriptRunning_;
  ScriptCommands* commands_ = nullptr;
  std::string text_;
  std::size_t pos_ = 0;
  std::size_t tokenStart_ = 0;  // where the last token began
  std::size_t wordStart_ = 0;   // where the current statement's word began
  bool exhausted_ = false;
  char lastDelimiter_ = 0;  // the last delimiter a token of this statement consumed
  char previous_ = ' ', current_ = ' ';
  std::size_t selStart_ = 0;
  bool runEnabled_ = false;
  std::string caption_ = "Run EBT";
  std::array<std::string, kParamRows> params_{};
  EditMode editMode_ = EditMode::None;
  std::string savedCaption_;
  std::string backupText_;
  std::array<std::string, kParamRows> backupParams_{};
  std::string word_;
  std::string reason_;
  int argument_ = 0;
  bool wordOpensArguments_ = false;
  bool argumentsChecked_ = false;
};

}  // namespace plotane
