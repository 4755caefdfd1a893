// An arbitrary EBT script run to its end against a fresh application context whose Host
// declines every question. Scripts may read and write files, so every file name they can form
// must stay inside the process's working folder: a script is refused when it has a "/" other
// than the division operator of a calculation, written as an argument of its own between commas.
// A file name is always a command's first argument (just after "("), so it can never be that
// token; a "/" inside a longer name has a comma on each side, so no part of such a path is ".."
// and none starts at the root. The caret form "^" + letter cannot produce a "/". Printing goes to
// a file of the folder, never to a printer.
#include <string>
#include <string_view>

#include "FuzzData.h"
#include "FuzzSupport.h"
#include "shell/AppContext.h"

using namespace plotane;

namespace {

constexpr int kMaxStatements = 64;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Every "/" stands alone between commas (blanks aside).
bool slashesConfined(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '/') continue;
    std::size_t b = i, a = i + 1;
    while (b > 0 && isBlank(s[b - 1])) --b;
    while (a < s.size() && isBlank(s[a])) ++a;
    if (b == 0 || s[b - 1] != ',' || a == s.size() || s[a] != ',') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::WorkFolder::enter(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  if (!slashesConfined(script)) return -1;
  // Long scripts add nothing the short ones do not reach and slow every run down.
  if (size > 4096) return -1;
  // Each script starts from a folder holding only the data table.
  fuzz::WorkFolder::clear();
  fuzz::writeInput(fuzz::kTableName, reinterpret_cast<const uint8_t*>(fuzz::kTable),
                   std::char_traits<char>::length(fuzz::kTable));
  fuzz::QuietHost host;
  {
    AppContext ctx(host);
    ctx.printToFile = "PRINT.OUT";
    ctx.runner.setText(std::string(script));
    ctx.runner.RESET();
    // As RUN does, but a script of many costly statements (graphs, page files) is cut short
    // so that only a statement that is slow by itself shows as a hang.
    for (int n = 0; n < kMaxStatements; ++n) {
      ctx.runner.EXECSTATEMENT();
      if (ctx.runner.ScriptStop || ctx.runner.ScriptError) break;
    }
    ctx.closeProgram();
  }
  return 0;
}
