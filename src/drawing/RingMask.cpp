// Finding what a ring of ink encloses: a flood from the mask's free margin over pixels without
// ink, a row of 64-pixel words at a time, sweeping down and up until nothing more is reached.

#include "drawing/RingMask.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace plotane {

namespace {

// The free pixels (bits of p) reached from the seeds g along a row toward higher bits without
// crossing a pixel that is not free. The seeds must be free. Adding the seeds to p carries from
// the lowest seed of each run of free pixels to the run's end, flipping the bits on the way.
inline uint64_t fillUp(uint64_t g, uint64_t p) { return (((p + g) ^ p) & p) | g; }

// The same toward lower bits.
inline uint64_t fillDown(uint64_t g, uint64_t p) {
  g |= p & (g >> 1);
  p &= p >> 1;
  g |= p & (g >> 2);
  p &= p >> 2;
  g |= p & (g >> 4);
  p &= p >> 4;
  g |= p & (g >> 8);
  p &= p >> 8;
  g |= p & (g >> 16);
  p &= p >> 16;
  return g | (p & (g >> 32));
}

}  // namespace

bool RingMask::cover(const std::array<double, 4>& bounds) {
  active_ = spoilt_ = false;
  const double cLo = std::floor(bounds[0]) - 1, cHi = std::ceil(bounds[1]) + 1;
  const double rLo = std::floor(bounds[2]) - 1, rHi = std::ceil(bounds[3]) + 1;
  // Bounds not finite fail these tests too.
  if (!(std::fabs(cLo) < 1e8 && std::fabs(cHi) < 1e8 && std::fabs(rLo) < 1e8 &&
        std::fabs(rHi) < 1e8 && cLo <= cHi && rLo <= rHi && cHi - cLo < kMaxSide &&
        rHi - rLo < kMaxSide))
    return false;
  left_ = int(cLo);
  top_ = int(rLo);
  width_ = int(cHi) - left_ + 1;
  rows_ = int(rHi) - top_ + 1;
  words_ = (width_ + 63) / 64;
  lastValid_ = width_ % 64 == 0 ? ~uint64_t(0) : ~(~uint64_t(0) << (width_ % 64));
  const std::size_t n = std::size_t(rows_) * std::size_t(words_);
  if (n <= kInlineWords) {
    ink_ = inline_;
  } else {
    heap_.assign(2 * n, 0);
    ink_ = heap_.data();
  }
  inside_ = ink_ + n;
  active_ = true;
  return true;
}

void RingMask::start() {
  if (active_) std::memset(ink_, 0, std::size_t(rows_) * std::size_t(words_) * sizeof(uint64_t));
}

void RingMask::spreadRow(int r) {
  const int W = words_;
  uint64_t* e = inside_ + std::size_t(r) * W;
  for (int k = 0; k < W; ++k) {
    const uint64_t f = freeAt(r, k);
    if (k > 0 && (e[k - 1] >> 63)) e[k] |= f & 1;
    e[k] = fillUp(e[k], f);
  }
  for (int k = W - 1; k >= 0; --k) {
    const uint64_t f = freeAt(r, k);
    if (k < W - 1 && (e[k + 1] & 1)) e[k] |= f & (uint64_t(1) << 63);
    e[k] = fillDown(e[k], f);
  }
}

void RingMask::flood() {
  const int W = words_;
  // Down and up until a pair of sweeps reaches nothing new. A row is spread along only when the
  // row before it in the sweep reached something new in it.
  for (bool changed = true; changed;) {
    changed = false;
    for (int pass = 0; pass < 2; ++pass) {
      const int step = pass == 0 ? 1 : -1;
      for (int r = pass == 0 ? 1 : rows_ - 2; r >= 0 && r < rows_; r += step) {
        uint64_t* e = inside_ + std::size_t(r) * W;
        const uint64_t* from = inside_ + std::size_t(r - step) * W;
        uint64_t added = 0;
        for (int k = 0; k < W; ++k) {
          const uint64_t add = from[k] & freeAt(r, k) & ~e[k];
          e[k] |= add;
          added |= add;
        }
        if (!added) continue;
        spreadRow(r);
        changed = true;
      }
    }
  }
}

bool RingMask::reachFrom(int r, int c) {
  const int W = words_;
  if (r < 1 || r >= rows_ - 1 || c < 1 || c >= width_ - 1) return false;
  const uint64_t bit = uint64_t(1) << (c & 63);
  if (!(freeAt(r, c >> 6) & bit)) return false;
  std::memset(inside_, 0, std::size_t(rows_) * std::size_t(W) * sizeof(uint64_t));
  inside_[std::size_t(r) * W + (c >> 6)] = bit;
  spreadRow(r);
  flood();
  // Joined to the margin: the ink does not close round the seed.
  const uint64_t lastBit = uint64_t(1) << ((width_ - 1) & 63);
  for (int k = 0; k < W; ++k)
    if (inside_[k] || inside_[std::size_t(rows_ - 1) * W + k]) return false;
  for (int row = 0; row < rows_; ++row)
    if ((inside_[std::size_t(row) * W] & 1) || (inside_[std::size_t(row) * W + W - 1] & lastBit))
      return false;
  return true;
}

}  // namespace plotane
