// A small fixed random generator for tests, so that generated cases are the same with every
// standard library.
#pragma once

#include <cstdint>

namespace plotane::test {

struct Lcg {
  uint64_t s;
  // A double in [0, 1).
  double next() {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return double(s >> 11) * (1.0 / 9007199254740992.0);
  }
};

}  // namespace plotane::test
