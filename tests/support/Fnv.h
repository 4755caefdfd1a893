#pragma once
// A 64-bit FNV-1a hash, for pinning the exact bytes of rasters and previews in tests.

#include <cstddef>
#include <cstdint>

namespace plotane::test {

struct Fnv {
  uint64_t h = 1469598103934665603ull;
  void add(const uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      h ^= p[i];
      h *= 1099511628211ull;
    }
  }
  void add(int v) {
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    add(b, 4);
  }
};

}  // namespace plotane::test
