#include "shell/base/Messages.h"

#include <cmath>

#include "shell/base/Host.h"

namespace plotane {

void STOREMSG(Host& host, const std::string& text) {
  host.message(text.size() > kStoreMsgWidth ? text.substr(0, kStoreMsgWidth) : text);
}

std::string ioFailText(const std::string& fileName, const std::string& what) {
  return "I/O error: " + what + " (" + fileName + ")";
}

void IOFAIL(Host& host, const std::string& fileName, const std::string& what) {
  host.message(ioFailText(fileName, what), "I/O error");
}

const char* floatFaultText(FloatFaultKind kind) {
  switch (kind) {
    case FloatFaultKind::DivideByZero:
      return "Floating point division by zero";
    case FloatFaultKind::Overflow:
      return "Floating point overflow";
    case FloatFaultKind::Invalid:
      break;
  }
  return "Invalid floating point operation";
}

void reportFloatFault(Host& host, FloatFaultKind kind) { host.message(floatFaultText(kind)); }

void reportOutOfMemory(Host& host) { host.message(kOutOfMemory); }

double fpDiv(double a, double b) {
  if (b == 0.0) throw FloatFault{FloatFaultKind::DivideByZero};
  return fpCheck(a / b);
}

double fpCheck(double v) {
  if (std::isnan(v)) throw FloatFault{FloatFaultKind::Invalid};
  if (std::isinf(v)) throw FloatFault{FloatFaultKind::Overflow};
  return v;
}

}  // namespace plotane
