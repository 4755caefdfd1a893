#include "shell/base/BatchHost.h"

#include "shell/base/LogModel.h"

namespace plotane {

namespace {
// A message box's text may hold line breaks; batch mode prints it as one line.
void printOneLine(std::FILE* f, const std::string& text) {
  std::string line = text;
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  std::fprintf(f, "%s\n", line.c_str());
  std::fflush(f);
}
}  // namespace

void BatchHost::message(const std::string& text, const std::string&) { printOneLine(err_, text); }

Answer BatchHost::ask(const std::string& text, bool withCancel, const std::string&) {
  printOneLine(err_, text);
  return withCancel ? Answer::Cancel : Answer::No;
}

bool BatchHost::askReal(const std::string& prompt, double&) {
  printOneLine(err_, prompt);
  return false;
}

bool BatchHost::askName(const std::string& prompt, std::string&) {
  printOneLine(err_, prompt);
  return false;
}

void BatchHost::showLog() {
  if (!log_) return;
  for (const std::string& line : log_->lines()) std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
}

}  // namespace plotane
