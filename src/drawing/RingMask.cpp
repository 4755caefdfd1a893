// Finding what a ring of ink encloses: a flood from the mask's free margin over pixels without
// ink, a row of 64-pixel words at a time, sweeping down and up until nothing more is reached.

#include "drawing/RingMask.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plotane {

namespace {

// The free pixels (bits of p) reached from the seeds g along a row toward higher bits without
// crossing a pixel that is not free. The seeds must be free.
inline uint64_t fillUp(uint64_t g, uint64_t p) {
  g |= p & (g << 1);
  p &= p << 1;
  g |= p & (g << 2);
  p &= p << 2;
  g |= p & (g << 4);
  p &= p << 4;
  g |= p & (g << 8);
  p &= p << 8;
  g |= p & (g << 16);
  p &= p << 16;
  return g | (p & (g << 32));
}

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
  std::memset(ink_, 0, 2 * n * sizeof(uint64_t));
  active_ = true;
  return true;
}

void RingMask::row(int r, int c0, int c1) {
  if (!active_ || c0 > c1) return;
  r -= top_;
  c0 -= left_;
  c1 -= left_;
  if (r < 0 || r >= rows_ || c0 < 0 || c1 >= width_) {
    spoilt_ = true;
    return;
  }
  uint64_t* p = ink_ + std::size_t(r) * words_;
  for (int k = c0 >> 6; k <= c1 >> 6; ++k) {
    const int lo = std::max(c0 - 64 * k, 0), hi = std::min(c1 - 64 * k, 63);
    p[k] |= (~uint64_t(0) >> (63 - hi)) & (~uint64_t(0) << lo);
  }
}

void RingMask::column(int c, int r0, int r1) {
  if (!active_ || r0 > r1) return;
  c -= left_;
  r0 -= top_;
  r1 -= top_;
  if (c < 0 || c >= width_ || r0 < 0 || r1 >= rows_) {
    spoilt_ = true;
    return;
  }
  const uint64_t bit = uint64_t(1) << (c & 63);
  for (int r = r0; r <= r1; ++r) ink_[std::size_t(r) * words_ + (c >> 6)] |= bit;
}

void RingMask::flood() {
  const int W = words_;
  uint64_t* out = inside_;
  uint64_t before[kMaxSide / 64 + 1];
  // Spreads the reached pixels of row r along the row; true when the row changed since before.
  auto spread = [&](int r) {
    uint64_t* e = out + std::size_t(r) * W;
    for (int k = 0; k < W; ++k) {
      if (k > 0 && (e[k - 1] >> 63)) e[k] |= freeAt(r, k) & 1;
      e[k] = fillUp(e[k], freeAt(r, k));
    }
    for (int k = W - 1; k >= 0; --k) {
      if (k < W - 1 && (e[k + 1] & 1)) e[k] |= freeAt(r, k) & (uint64_t(1) << 63);
      e[k] = fillDown(e[k], freeAt(r, k));
    }
    bool changed = false;
    for (int k = 0; k < W; ++k) changed |= e[k] != before[k];
    return changed;
  };
  for (int r = 0; r < rows_; ++r) {
    std::memcpy(before, out + std::size_t(r) * W, std::size_t(W) * sizeof(uint64_t));
    spread(r);
  }
  // Down and up until a pair of sweeps reaches nothing new.
  for (bool changed = true; changed;) {
    changed = false;
    for (int pass = 0; pass < 2; ++pass) {
      const int step = pass == 0 ? 1 : -1;
      for (int r = pass == 0 ? 1 : rows_ - 2; r >= 0 && r < rows_; r += step) {
        uint64_t* e = out + std::size_t(r) * W;
        const uint64_t* from = out + std::size_t(r - step) * W;
        std::memcpy(before, e, std::size_t(W) * sizeof(uint64_t));
        for (int k = 0; k < W; ++k) e[k] |= from[k] & freeAt(r, k);
        changed |= spread(r);
      }
    }
  }
}

void RingMask::enclose() {
  const int W = words_;
  // The margin: the first and last rows and columns are reached from the surroundings.
  const uint64_t lastBit = uint64_t(1) << ((width_ - 1) & 63);
  for (int r = 0; r < rows_; ++r) {
    uint64_t* e = inside_ + std::size_t(r) * W;
    if (r == 0 || r == rows_ - 1)
      for (int k = 0; k < W; ++k) e[k] = freeAt(r, k);
    e[0] |= freeAt(r, 0) & 1;
    e[W - 1] |= freeAt(r, W - 1) & lastBit;
  }
  flood();
  for (int r = 0; r < rows_; ++r)
    for (int k = 0; k < W; ++k) {
      uint64_t& e = inside_[std::size_t(r) * W + k];
      e = freeAt(r, k) & ~e;
    }
}

bool RingMask::reachFrom(int r, int c) {
  const int W = words_;
  if (r < 1 || r >= rows_ - 1 || c < 1 || c >= width_ - 1) return false;
  const uint64_t bit = uint64_t(1) << (c & 63);
  if (!(freeAt(r, c >> 6) & bit)) return false;
  inside_[std::size_t(r) * W + (c >> 6)] = bit;
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
