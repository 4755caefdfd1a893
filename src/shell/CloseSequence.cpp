#include "shell/CloseSequence.h"

namespace plotane {

bool RunCloseSequence(const std::vector<CloseParty>& parties) {
  for (const CloseParty& p : parties)
    if (p.mayClose && !p.mayClose()) return false;
  for (const CloseParty& p : parties)
    if (p.commitClose) p.commitClose();
  return true;
}

}  // namespace plotane
