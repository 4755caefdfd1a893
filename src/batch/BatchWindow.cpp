#include "batch/BatchWindow.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "batch/EbtRunner.h"
#include "shell/base/Messages.h"

namespace plotane {

BatchControls batchControls(const EbtRunner& runner, bool running) {
  BatchControls c;
  const bool editing = runner.editMode() != EbtRunner::EditMode::None;
  c.caption = runner.caption();
  c.runStep = !running && !editing && runner.runEnabled();
  c.okCancel = !running && editing;
  c.editItems = !running && !editing;
  c.reset = !running && !editing;
  c.fileItems = !running;
  c.textEditable = !running && runner.editMode() == EbtRunner::EditMode::Commands;
  c.gridShown = runner.editMode() == EbtRunner::EditMode::Parameters;
  return c;
}

void endEditAsOK(EbtRunner& runner, const std::string& editedText) {
  if (runner.editMode() == EbtRunner::EditMode::None) return;
  runner.editOK(editedText);
}

bool openBatchScript(EbtRunner& runner, const std::string& fileName,
                     const std::string& editedText) {
  endEditAsOK(runner, editedText);
  return runner.openScript(fileName);
}

bool saveBatchScript(EbtRunner& runner, const std::string& fileName,
                     const std::string& editedText) {
  endEditAsOK(runner, editedText);
  std::string error;
  if (!writeFileReplacing(fileName, runner.text(), error)) {
    IOFAIL(runner.host(), fileName, error);
    return false;
  }
  runner.nameFromFile(fileName);
  runner.RESET();
  return true;
}

bool writeFileReplacing(const std::string& fileName, const std::string& data, std::string& error) {
  std::string tmp = fileName + ".XXXXXX";
  int fd = mkstemp(tmp.data());
  if (fd < 0) {
    error = std::string("cannot create file: ") + std::strerror(errno);
    return false;
  }
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      error = std::string("write failed: ") + std::strerror(errno);
    } else {
      done += std::size_t(n);
    }
  }
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    error = std::string("write failed: ") + std::strerror(errno);
  }
  // A new file gets the usual permissions rather than mkstemp's private ones.
  if (ok) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = std::string("write failed: ") + std::strerror(errno);
  }
  if (ok && std::rename(tmp.c_str(), fileName.c_str()) != 0) {
    ok = false;
    error = std::string("cannot replace file: ") + std::strerror(errno);
  }
  if (!ok) std::remove(tmp.c_str());
  return ok;
}

std::size_t editorPosition(std::string_view text, std::size_t pos) {
  if (pos > text.size()) pos = text.size();
  std::size_t crlf = 0;
  for (std::size_t i = 0; i + 1 < pos; ++i)
    if (text[i] == '\r' && text[i + 1] == '\n') ++crlf;
  // A position between "\r" and "\n" is the line end itself.
  if (pos > 0 && pos < text.size() && text[pos - 1] == '\r' && text[pos] == '\n') ++crlf;
  return pos - crlf;
}

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
bool isWordChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '@';
}
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool isCommandWord(std::string_view w) {
  std::string u;
  for (char c : w) u.push_back(upper(c));
  if (u == "END" || u == "BEGIN") return true;
  if (u.size() < 2) return false;
  return u[0] == '@' || u.starts_with("WW") || u.starts_with("GW") || u.starts_with("DW");
}

}  // namespace

std::vector<ScriptSpan> classifyScriptLine(std::string_view line, ScriptLineState& state) {
  std::vector<ScriptSpan> spans;
  const std::size_t n = line.size();
  auto add = [&](std::size_t start, std::size_t end, ScriptSpanKind kind) {
    if (end > start) spans.push_back({start, end - start, kind});
  };
  // Reads on from i inside a comment or quote until it closes (or the line ends).
  auto inside = [&](std::size_t i) {
    while (i < n) {
      if (state == ScriptLineState::BraceComment && line[i] == '}') {
        state = ScriptLineState::Plain;
        return i + 1;
      }
      if (state == ScriptLineState::ParenComment && line[i] == '*' && i + 1 < n &&
          line[i + 1] == ')') {
        state = ScriptLineState::Plain;
        return i + 2;
      }
      if (state == ScriptLineState::Quote && line[i] == '\'') {
        // Two quotes in a row stand for one and keep the text open.
        if (i + 1 < n && line[i + 1] == '\'') {
          i += 2;
          continue;
        }
        state = ScriptLineState::Plain;
        return i + 1;
      }
      ++i;
    }
    return n;
  };
  auto kindOf = [](ScriptLineState s) {
    return s == ScriptLineState::Quote ? ScriptSpanKind::Quoted : ScriptSpanKind::Comment;
  };

  std::size_t i = 0;
  if (state != ScriptLineState::Plain) {
    ScriptSpanKind kind = kindOf(state);
    i = inside(0);
    add(0, i, kind);
  }
  while (i < n) {
    char c = line[i];
    std::size_t open = 0;
    if (c == '{') {
      state = ScriptLineState::BraceComment;
      open = 1;
    } else if (c == '(' && i + 1 < n && line[i + 1] == '*') {
      state = ScriptLineState::ParenComment;
      open = 2;
    } else if (c == '\'') {
      state = ScriptLineState::Quote;
      open = 1;
    }
    if (open) {
      ScriptSpanKind kind = kindOf(state);
      std::size_t e = inside(i + open);
      add(i, e, kind);
      i = e;
      continue;
    }
    if (c == '%') {
      std::size_t e = i + 1;
      while (e < n && isWordChar(line[e]) && line[e] != '@') ++e;
      add(i, e, ScriptSpanKind::Parameter);
      i = e;
      continue;
    }
    if (isWordChar(c)) {
      std::size_t e = i;
      while (e < n && isWordChar(line[e])) ++e;
      // A command word is followed by "(" or ";" (or stands alone at the end of its line).
      std::size_t k = e;
      while (k < n && isBlank(line[k])) ++k;
      bool follows = k >= n || line[k] == '(' || line[k] == ';' || line[k] == '{';
      if (follows && isCommandWord(line.substr(i, e - i))) add(i, e, ScriptSpanKind::Command);
      i = e;
      continue;
    }
    ++i;
  }
  return spans;
}

}  // namespace plotane
