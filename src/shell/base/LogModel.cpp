#include "shell/base/LogModel.h"

#include "shell/base/Files.h"
#include "shell/base/Host.h"

namespace plotane {

void LogModel::CLEARLOG() {
  lines_.assign(1, std::string());
  current_ = 0;
}

void LogModel::ADDLOG(const std::string& text) {
  lines_.push_back(text);
  current_ = static_cast<int>(lines_.size()) - 1;
}

void LogModel::APPENDLOG(const std::string& text) {
  if (current_ < 0 || current_ >= static_cast<int>(lines_.size())) {
    ADDLOG(text);
    return;
  }
  lines_[current_] += text;
}

void LogModel::SHOWLOG(Host& host) const { host.showLog(); }

bool LogModel::saveText(const std::string& fileName, std::string& error,
                        WriteFaults* faults) const {
  std::vector<uint8_t> bytes;
  for (const std::string& line : lines_) {
    bytes.insert(bytes.end(), line.begin(), line.end());
    bytes.push_back('\r');
    bytes.push_back('\n');
  }
  return writeWholeFile(fileName, bytes, error, faults);
}

}  // namespace plotane
