#pragma once
// The model's shared message routines: store messages, the input/output check and the
// floating-point fault report.

#include <new>
#include <string>

namespace plotane {

class Host;

// Longest text a store message box shows; longer texts are cut.
inline constexpr std::size_t kStoreMsgWidth = 87;

// The model's error and warning box: the text cut to 87 characters, OK button.
void STOREMSG(Host& host, const std::string& text);

// The input/output check: reports a failed file operation (what failed, and the file) and the
// caller abandons the operation. Every reader reports damaged files through this one routine.
void IOFAIL(Host& host, const std::string& fileName, const std::string& what);
std::string ioFailText(const std::string& fileName, const std::string& what);

enum class FloatFaultKind { DivideByZero, Overflow, Invalid };

// Thrown inside one command when a floating-point fault is detected before it happens; the
// command's entry point catches it (see guardFloat) so it never crosses a subsystem boundary.
struct FloatFault {
  FloatFaultKind kind;
};

const char* floatFaultText(FloatFaultKind kind);
void reportFloatFault(Host& host, FloatFaultKind kind);

// Checked arithmetic for code that must end with the platform's fault message.
double fpDiv(double a, double b);  // zero divisor: DivideByZero; infinite result: Overflow
double fpCheck(double v);          // NaN: Invalid; infinity: Overflow

// The message of a command that ran out of memory.
inline constexpr const char* kOutOfMemory = "Out of memory";
void reportOutOfMemory(Host& host);

// Runs f; a FloatFault raised inside is reported and turns into false. So does running out of
// memory: the command fails, the program goes on.
template <class F>
bool guardFloat(Host& host, F&& f) {
  try {
    f();
    return true;
  } catch (const FloatFault& fault) {
    reportFloatFault(host, fault.kind);
    return false;
  } catch (const std::bad_alloc&) {
    reportOutOfMemory(host);
    return false;
  }
}

}  // namespace plotane
