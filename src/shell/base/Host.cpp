#include "shell/base/Host.h"

#include <ctime>

namespace plotane {

ClockStamp Host::now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

bool Host::printPage(const std::vector<uint8_t>&, const std::string&, bool) {
  message("Printing through the platform's printing service is not available");
  return false;
}

}  // namespace plotane
