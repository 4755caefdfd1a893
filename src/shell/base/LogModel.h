#pragma once
// The log window's lines: listings and reports of the model are written here and shown by the
// Host (a window, or standard output in batch mode).

#include <string>
#include <vector>

namespace plotane {

class Host;
struct WriteFaults;

class LogModel {
 public:
  // Empties the list and adds one empty line, which becomes the current line.
  void CLEARLOG();
  // Appends a line; it becomes the current line.
  void ADDLOG(const std::string& text);
  // Appends text to the end of the current line.
  void APPENDLOG(const std::string& text);
  void SHOWLOG(Host& host) const;
  // Writes every line as one text line (CR LF ended) of the file; false with `error` on failure.
  bool saveText(const std::string& fileName, std::string& error,
                WriteFaults* faults = nullptr) const;

  const std::vector<std::string>& lines() const { return lines_; }
  int currentLine() const { return current_; }

 private:
  std::vector<std::string> lines_;
  int current_ = -1;
};

}  // namespace plotane
