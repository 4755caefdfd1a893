#pragma once
// The program's close: every party (the work windows) is asked first, in order; only when all
// agree does each one act (clear its flags, reset, let go of its files). A refusal anywhere
// leaves everyone as they were.

#include <functional>
#include <vector>

namespace plotane {

struct CloseParty {
  // Asks the party's own question; changes nothing. True: it may close.
  std::function<bool()> mayClose;
  // The program really closes.
  std::function<void()> commitClose;
};

// True when every party agreed (and each has then committed).
bool RunCloseSequence(const std::vector<CloseParty>& parties);

}  // namespace plotane
