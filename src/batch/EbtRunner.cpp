#include "batch/EbtRunner.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"

namespace plotane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number as a reason shows a bound.
std::string numberText(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

}  // namespace

std::string EbtRunner::quote(const std::string& s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size() && i < 40; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 32) {
      out += '^';
      out += char(c + 64);
    } else {
      out += char(c);
    }
  }
  return out + (s.size() > 40 ? "...\"" : "\"");
}

namespace {

// A sign and digits only: a whole number, perhaps too large to hold.
bool integerForm(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= text.size()) return false;
  for (; i < text.size(); ++i)
    if (!isDigit(text[i])) return false;
  return true;
}

enum class RealForm { Bad, TooLarge, Ok };

// sign, digits with an optional point and fraction, an optional exponent; nothing else.
RealForm realForm(std::string_view text, double& value) {
  std::size_t i = 0, n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && isDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return RealForm::Bad;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && isDigit(text[i])) ++i, ++expDigits;
    if (expDigits == 0) return RealForm::Bad;
  }
  if (i != n) return RealForm::Bad;
  std::string s(text);
  errno = 0;
  double v = std::strtod(s.c_str(), nullptr);
  if (!std::isfinite(v)) return RealForm::TooLarge;
  value = v;
  return RealForm::Ok;
}

// Point-symbol letters in code order 0..11.
constexpr const char* kSymbolLetters[12] = {"OP", "OX", "OH", "OV", "OC", "OD",
                                            "OS", "OT", "SC", "SD", "SS", "ST"};

}  // namespace

EbtRunner::EbtRunner(Host& host, bool& scriptRunning)
    : host_(host), scriptRunning_(scriptRunning) {}

// ---- Script text and parameters ----

void EbtRunner::setText(std::string text) {
  text_ = std::move(text);
  RESET();
}

bool EbtRunner::loadFile(const std::string& fileName) {
  std::string name = resolveFileName(fileName);
  std::vector<uint8_t> bytes;
  std::string error;
  // Scripts are typed by hand: 16 MB is far beyond any.
  constexpr std::size_t kScriptReadLimit = std::size_t(16) << 20;
  if (!readWholeFile(name, bytes, error, kScriptReadLimit)) {
    IOFAIL(host_, name, error);
    return false;
  }
  dropUtf8Bom(bytes);  // as some editors save UTF-8 text
  setText(std::string(bytes.begin(), bytes.end()));
  return true;
}

bool EbtRunner::saveFile(const std::string& fileName) {
  std::string error;
  if (!writeWholeFile(fileName, std::vector<uint8_t>(text_.begin(), text_.end()), error,
                      host_.writeFaults())) {
    IOFAIL(host_, fileName, error);
    return false;
  }
  return true;
}

void EbtRunner::nameFromFile(const std::string& fileName) {
  caption_ = "Run --- " + fileName;
  setParam(1, fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : std::string());
}

bool EbtRunner::openScript(const std::string& fileName) {
  if (!loadFile(fileName)) return false;
  nameFromFile(fileName);
  RESET();
  return true;
}

bool EbtRunner::saveScript(const std::string& fileName) {
  if (!saveFile(fileName)) return false;
  nameFromFile(fileName);
  RESET();
  return true;
}

void EbtRunner::editCommands() {
  if (editMode_ != EditMode::None) return;
  editMode_ = EditMode::Commands;
  backupText_ = text_;
  savedCaption_ = caption_;
  caption_ = "Edit Commands";
  runEnabled_ = false;
}

void EbtRunner::editParameters() {
  if (editMode_ != EditMode::None) return;
  editMode_ = EditMode::Parameters;
  backupParams_ = params_;
  savedCaption_ = caption_;
  caption_ = "Edit Command-line Parameters";
  runEnabled_ = false;
}

void EbtRunner::editOK(const std::string& editedText) {
  if (editMode_ == EditMode::None) return;
  if (editMode_ == EditMode::Commands) text_ = editedText;
  editMode_ = EditMode::None;
  caption_ = savedCaption_;
  RESET();
}

void EbtRunner::editCancel() {
  if (editMode_ == EditMode::None) return;
  if (editMode_ == EditMode::Commands)
    text_ = backupText_;
  else
    params_ = backupParams_;
  editMode_ = EditMode::None;
  caption_ = savedCaption_;
  runEnabled_ = true;
}

const std::string& EbtRunner::param(int n) const {
  static const std::string none;
  if (n < 1 || n > kParamRows) return none;
  return params_[std::size_t(n - 1)];
}

void EbtRunner::setParam(int n, const std::string& value) {
  if (n >= 1 && n <= kParamRows) params_[std::size_t(n - 1)] = value;
}

void EbtRunner::setParams(const std::vector<std::string>& values) {
  for (int n = 1; n <= kParamRows; ++n)
    setParam(n, std::size_t(n) <= values.size() ? values[std::size_t(n - 1)] : std::string());
}

// ---- Character reading ----

bool EbtRunner::peekChar(char& c, std::size_t ahead) const {
  if (pos_ + ahead >= text_.size()) return false;
  c = text_[pos_ + ahead];
  return true;
}

char EbtRunner::readChar() {
  previous_ = current_;
  current_ = pos_ < text_.size() ? text_[pos_] : ' ';
  if (pos_ < text_.size()) ++pos_;
  // Highlight two characters just behind the reading position.
  selStart_ = pos_ < 4 ? 0 : pos_ - 3;
  return current_;
}

bool EbtRunner::atCommentStart() const {
  char c = 0, d = 0;
  if (!peekChar(c)) return false;
  if (c == '{') return true;
  return c == '(' && peekChar(d, 1) && d == '*';
}

void EbtRunner::skipBlanksAndComments() {
  char c = 0;
  for (;;) {
    if (!peekChar(c)) {
      exhausted_ = true;
      return;
    }
    if (isBlank(c)) {
      readChar();
    } else if (c == '{') {
      readChar();
      bool closed = false;
      while (peekChar(c)) {
        readChar();
        if (c == '}') {
          closed = true;
          break;
        }
      }
      if (!closed) fail("a comment is not closed");
    } else if (atCommentStart()) {
      readChar();
      readChar();
      bool closed = false;
      char d = 0;
      while (peekChar(c)) {
        readChar();
        if (c == '*' && peekChar(d) && d == ')') {
          readChar();
          closed = true;
          break;
        }
      }
      if (!closed) fail("a comment is not closed");
    } else {
      return;
    }
  }
}

// ---- Tokenizer ----

ScriptToken EbtRunner::NEXTTOKEN(std::string_view delimiters) {
  ScriptToken t;
  if (ScriptStop) return t;
  skipBlanksAndComments();
  tokenStart_ = pos_;

  std::string raw;
  auto keep = [&](char c) {
    if (raw.size() < kTokenLength) raw.push_back(c);
  };
  char c = 0;
  for (;;) {
    if (!peekChar(c)) {
      exhausted_ = true;
      break;
    }
    if (isBlank(c) || delimiters.find(c) != std::string_view::npos || atCommentStart()) break;
    readChar();
    t.given = true;
    if (c == '\'') {
      // A literal part, copied unchanged with its quotes.
      keep(c);
      bool closed = false;
      while (peekChar(c)) {
        readChar();
        keep(c);
        if (c == '\'') {
          closed = true;
          break;
        }
      }
      if (!closed) fail("a quote is not closed");
    } else if (c == '^') {
      // "^" and a character: the control character of that letter.
      if (!peekChar(c)) {
        fail("\"^\" at the end of the text");
        break;
      }
      readChar();
      keep(char((static_cast<unsigned char>(upper(c)) - 64) & 0xFF));
    } else {
      keep(upper(c));
    }
  }

  if (raw == "BEGIN" || raw == "END" || exhausted_) {
    ScriptStop = true;
  } else {
    bool blankBefore = false;
    if (peekChar(c) && (isBlank(c) || atCommentStart())) blankBefore = true;
    skipBlanksAndComments();
    if (peekChar(c) && delimiters.find(c) != std::string_view::npos) {
      readChar();
      t.delimiter = c;
      lastDelimiter_ = c;
      t.firstDelimiter = !delimiters.empty() && delimiters.front() == c;
    } else if (blankBefore && delimiters.find(' ') != std::string_view::npos) {
      // Ended at a blank that is itself one of the delimiters.
      t.delimiter = ' ';
      t.firstDelimiter = delimiters.front() == ' ';
    }
    t.endedAtBlank = blankBefore;
  }

  // Remove the quotes: inside a literal part two quotes stand for one.
  bool literal = false;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char ch = raw[i];
    if (ch != '\'') {
      t.text.push_back(ch);
    } else if (!literal) {
      literal = true;
    } else if (i + 1 < raw.size() && raw[i + 1] == '\'') {
      t.text.push_back('\'');
      ++i;
    } else {
      literal = false;
    }
  }
  return t;
}

ScriptToken EbtRunner::NEXTGIVENTOKEN(std::string_view delimiters) {
  for (;;) {
    ScriptToken t = NEXTTOKEN(delimiters);
    if (t.given || ScriptStop || ScriptError) return t;
  }
}

// ---- Argument readers ----

void EbtRunner::fail(const std::string& why) {
  if (reason_.empty()) reason_ = why;
  ScriptError = true;
}

void EbtRunner::failArgument(int n, const std::string& why) {
  fail("argument " + std::to_string(n) + ": " + why);
}

bool EbtRunner::argumentsOpen() {
  // The first argument of a statement must follow the command word's "(".
  if (!argumentsChecked_) {
    argumentsChecked_ = true;
    if (!wordOpensArguments_) fail("the arguments must follow in parentheses");
  }
  return !ScriptError;
}

std::string EbtRunner::readArgument(bool last) {
  if (ScriptError || !argumentsOpen()) return "?";
  const int n = ++argument_;
  ScriptToken t = NEXTTOKEN(",);");
  if (ScriptError) return "?";
  const char want = last ? ')' : ',';
  // An empty argument is refused rather than letting the next token slide into its place.
  if (!t.given) {
    fail("argument " + std::to_string(n) + (t.delimiter ? " is empty" : " is missing"));
    return "?";
  }
  if (t.delimiter != want) {
    if (t.delimiter == ')')
      fail("too few arguments: \")\" after argument " + std::to_string(n));
    else if (t.delimiter == ',')
      fail("too many arguments: \",\" after argument " + std::to_string(n));
    else
      failArgument(n, quote(t.text) + " must be followed by \"" + std::string(1, want) + "\"");
    return "?";
  }
  std::string value = t.text;
  if (value.size() >= 2 && value[0] == '%' && value[1] >= '1' && value[1] <= '9') {
    value = param(value[1] - '0');
    // An empty parameter is an empty argument, never an empty name.
    if (value.empty()) {
      failArgument(n, t.text.substr(0, 2) + " is empty");
      return "?";
    }
  }
  return value;
}

std::string EbtRunner::readText(bool last) { return cut(readArgument(last), kTextLength); }

bool EbtRunner::parseColumnLetters(std::string_view text, int& column) {
  if (text.empty() || text.size() > 2) return false;
  for (char c : text)
    if (upper(c) < 'A' || upper(c) > 'Z') return false;
  int n =
      text.size() == 1 ? upper(text[0]) - 'A' : (upper(text[0]) - 64) * 26 + (upper(text[1]) - 'A');
  if (n < 0 || n > 509) return false;
  column = n;
  return true;
}

int EbtRunner::readColumn(bool last) {
  std::string s = readArgument(last);
  if (ScriptError) return 0;
  int c = 0;
  if (!parseColumnLetters(s, c)) {
    failArgument(argument_, quote(s) + " is not a column");
    return 0;
  }
  if (commands_) commands_->columnsSelected(c, c, false);
  return c;
}

bool EbtRunner::readRange(bool last, int& first, int& second) {
  first = second = 0;
  std::string s = readArgument(last);
  if (ScriptError) return false;
  std::size_t dot = s.find('.');
  std::string a = s.substr(0, dot), b = a;
  if (dot != std::string::npos) {
    std::size_t end = s.find_first_not_of('.', dot);
    b = end == std::string::npos ? std::string() : s.substr(end);
  }
  int c1 = 0, c2 = 0;
  if (!parseColumnLetters(a, c1) || !parseColumnLetters(b, c2) || c1 > c2) {
    failArgument(argument_, quote(s) + " is not a column range");
    return false;
  }
  first = c1;
  second = c2;
  if (commands_) commands_->columnsSelected(c1, c2, true);
  return true;
}

bool EbtRunner::parseInteger(std::string_view text, long& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return false;
  long v = 0;
  for (; i < text.size(); ++i) {
    if (!isDigit(text[i])) return false;
    if (v > (LONG_MAX - 9) / 10) return false;
    v = v * 10 + (text[i] - '0');
  }
  value = negative ? -v : v;
  return true;
}

bool EbtRunner::parseReal(std::string_view text, double& value) {
  return realForm(text, value) == RealForm::Ok;
}

int EbtRunner::readInt(bool last, int min, int max, std::string_view minName,
                       std::string_view maxName) {
  std::string s = readArgument(last);
  if (ScriptError) return min;
  int v = 0;
  long l = 0;
  const bool below = !s.empty() && s[0] == '-';
  if (commands_ && (s == "%NILOLIM" || s == "%NIUPLIM") && commands_->useLimitValue(s, v)) {
    l = v;
  } else if (!parseInteger(s, l)) {
    if (!integerForm(s)) {
      failArgument(argument_, quote(s) + " is not a whole number");
      return min;
    }
    l = below ? LONG_MIN : LONG_MAX;  // too many digits: beyond any bound
  }
  if (l < min || l > max) {
    const std::string shown = (s == "%NILOLIM" || s == "%NIUPLIM") ? std::to_string(l) : s;
    failArgument(argument_,
                 l < min ? shown + " is below " + std::string(minName) + " " + std::to_string(min)
                         : shown + " is above " + std::string(maxName) + " " + std::to_string(max));
    return min;
  }
  return int(l);
}

double EbtRunner::readReal(bool last, double min, double max, std::string_view minName,
                           std::string_view maxName) {
  std::string s = readArgument(last);
  if (ScriptError) return min;
  double v = 0;
  bool cursorName = s == "%NRCURAX" || s == "%NRCURAY" || s == "%NRCURBX" || s == "%NRCURBY";
  std::string shown = s;
  if (cursorName && commands_ && commands_->cursorValue(s, v)) {
    shown = numberText(v);
  } else {
    const RealForm form = realForm(s, v);
    if (form == RealForm::Bad) {
      failArgument(argument_, quote(s) + " is not a number");
      return min;
    }
    // Too large to hold: beyond any bound on its side.
    if (form == RealForm::TooLarge) v = s[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  if (!(v >= min && v <= max)) {
    failArgument(argument_,
                 v < min ? shown + " is below " + std::string(minName) + " " + numberText(min)
                         : shown + " is above " + std::string(maxName) + " " + numberText(max));
    return min;
  }
  return v;
}

void EbtRunner::readGraphPoint(bool last, double& x, double& y) {
  x = y = 0;
  for (int axis = 0; axis < 2; ++axis) {
    bool log = commands_ && commands_->logAxis(axis == 1);
    double v = log ? readReal(axis == 1 && last, 1E-38, 3E38, "the least logarithmic value",
                              "the upper bound")
                   : readReal(axis == 1 && last, -3E38, 3E38);
    if (ScriptError) return;
    (axis == 0 ? x : y) = log ? std::log10(v) : v;
  }
}

int EbtRunner::symbolCode(std::string_view letters) {
  if (letters.size() != 2) return -1;
  for (int code = 0; code < 12; ++code)
    if (upper(letters[0]) == kSymbolLetters[code][0] &&
        upper(letters[1]) == kSymbolLetters[code][1])
      return code;
  return -1;
}

int EbtRunner::readSymbol(bool last) {
  std::string s = readArgument(last);
  if (ScriptError) return -1;
  int code = symbolCode(s);
  if (code < 0) failArgument(argument_, quote(s) + " is not a point symbol");
  return code;
}

// ---- Run loop ----

void EbtRunner::RESET() {
  pos_ = 0;
  exhausted_ = false;
  lastDelimiter_ = 0;
  previous_ = current_ = ' ';
  selStart_ = 0;
  ScriptStop = false;
  ScriptError = false;
  reason_.clear();
  runEnabled_ = true;
}

void EbtRunner::EXECSTATEMENT() {
  ScriptError = false;
  reason_.clear();
  argument_ = 0;
  scriptRunning_ = true;
  lastDelimiter_ = 0;
  argumentsChecked_ = false;
  wordOpensArguments_ = false;

  const bool fromTheTop = pos_ == 0;
  ScriptToken w = NEXTGIVENTOKEN("; (),");
  word_ = cut(w.text, kWordLength);
  wordStart_ = tokenStart_;
  // Past the last statement a run simply stops, but a text with no statement at all (empty, or
  // only comments) is no script.
  if (!w.given && fromTheTop) fail("the script holds no statement");
  if (onProgress) onProgress();
  if (!ScriptError && w.given) {
    // Only a statement that is there makes a discarded drawing anew, not the end of the text.
    if (commands_) commands_->beforeStatement();
    wordOpensArguments_ = w.delimiter == '(';
    if (word_ == "END") {
      // The normal end of a script.
    } else if ((word_.starts_with("@") || word_.starts_with("WW") || word_.starts_with("GW") ||
                word_.starts_with("DW")) &&
               commands_) {
      // A floating-point fault ends the command with the platform's message.
      bool known = true;
      if (!guardFloat(host_, [&] { known = commands_->execute(*this, word_); })) ScriptError = true;
      if (!known) fail("no such command");
    } else {
      // BEGIN and every word of no group
      fail(word_ == "BEGIN" ? "BEGIN stops the script" : "no such command");
    }
    // A statement ends with ";" right after the word or after its closing parenthesis.
    if (!ScriptError && w.delimiter != ';' && w.delimiter != '(' && !atEnd()) {
      NEXTTOKEN("; (),");
      if (!atEnd()) fail("\";\" expected after the statement");
    }
  }

  if (onProgress) onProgress();
  scriptRunning_ = false;
  if (ScriptError) {
    skipRestOfStatement();
    const std::string text = ReasonInErrorBox && !reason_.empty()
                                 ? std::string(kErrorText) + "\n" + reason_
                                 : std::string(kErrorText);
    host_.message(text);
  }
}

void EbtRunner::skipRestOfStatement() {
  // A failing statement is abandoned whole, so that Step or Run go on with the next one.
  if (ScriptStop || lastDelimiter_ == ';') return;
  char c = 0;
  for (;;) {
    skipBlanksAndComments();
    if (!peekChar(c)) return;
    readChar();
    if (c == ';') return;
    if (c == '\'') {
      while (peekChar(c)) {
        readChar();
        if (c == '\'') break;
      }
    }
  }
}

std::size_t EbtRunner::statementLine() const {
  std::size_t end = std::min(wordStart_, text_.size());
  return 1 + std::size_t(std::count(text_.begin(), text_.begin() + std::ptrdiff_t(end), '\n'));
}

void EbtRunner::RUN() {
  BusyCursor busy(host_);
  do {
    EXECSTATEMENT();
  } while (!ScriptStop && !ScriptError);
  if (commands_) commands_->runEnded();
}

void EbtRunner::STEP() {
  if (!ScriptStop) EXECSTATEMENT();
  if (commands_) commands_->runEnded();
}

ScriptOutcome EbtRunner::RUNFROMCOMMANDLINE(const std::vector<std::string>& params) {
  setParams(params);
  if (params.empty()) return ScriptOutcome::Ended;
  std::string fileName = params[0] + ".EBT";
  std::string resolved = resolveFileName(fileName);
  if (!fileExists(resolved)) {
    IOFAIL(host_, resolved, "cannot open script");
    return ScriptOutcome::Unreadable;
  }
  if (!loadFile(resolved)) return ScriptOutcome::Unreadable;
  caption_ = "Run --- " + fileName;
  RESET();
  RUN();
  return ScriptError ? ScriptOutcome::Stopped : ScriptOutcome::Ended;
}

}  // namespace plotane
