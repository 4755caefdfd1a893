#pragma once
// The inside of a closed ring of ink, for completing fills: the ring is laid into a bit mask on its
// own, and the pixels reached from a seed (the ring's centre) by steps to a side neighbour over
// pixels without ink lie strictly inside it, unless they reach the mask's free margin.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace plotane {

class RingMask {
 public:
  // The largest side a mask may have, in pixels: more than any table size of symbol or node
  // needs.
  static constexpr int kMaxSide = 1024;

  // Covers the pixels whose columns and rows lie within the (unrounded) bounds {cLo, cHi, rLo,
  // rHi}, with a margin of free pixels round them. False, with the mask left inactive, when the
  // bounds are not finite or the mask would be too large. start() clears it for the ink.
  bool cover(const std::array<double, 4>& bounds);
  void start();
  bool active() const { return active_; }
  void deactivate() { active_ = false; }
  // Whether ink fell outside the mask: what it encloses is then not known.
  bool spoilt() const { return spoilt_; }
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return rows_; }

  // Ink on columns c0..c1 of row r, or on rows r0..r1 of column c.
  void row(int r, int c0, int c1) {
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
  // A square of size pixels with its top-left pixel at (r, c).
  void square(int r, int c, int size) {
    if (size == 1 && active_ && unsigned(r - top_) < unsigned(rows_) &&
        unsigned(c - left_) < unsigned(width_)) {
      const int j = c - left_;
      ink_[std::size_t(r - top_) * words_ + (j >> 6)] |= uint64_t(1) << (j & 63);
      return;
    }
    for (int i = 0; i < size; ++i) row(r + i, c, c + size - 1);
  }
  void column(int c, int r0, int r1) {
    if (!active_ || r0 > r1) return;
    c -= left_;
    r0 -= top_;
    r1 -= top_;
    if (c < 0 || c >= width_ || r0 < 0 || r1 >= rows_) {
      spoilt_ = true;
      return;
    }
    const uint64_t bit = uint64_t(1) << (c & 63);
    uint64_t* p = ink_ + std::size_t(r0) * words_ + (c >> 6);
    for (int r = r0; r <= r1; ++r, p += words_) *p |= bit;
  }

  // Hands the pixels joined to the seed pixel (row, column) over pixels without ink to run(row,
  // c0, c1), a run of a row at a time, if the ink encloses them: the inside of a ring, without
  // the pinholes its stroke may have. Nothing when the seed is inked or joined to the
  // surroundings, or the mask is inactive or spoilt.
  template <class Run>
  void eachEnclosed(Run run, int seedRow, int seedColumn) {
    if (!active_ || spoilt_ || !reachFrom(seedRow - top_, seedColumn - left_)) return;
    for (int r = 0; r < rows_; ++r) {
      const uint64_t* in = inside_ + std::size_t(r) * words_;
      for (int k = 0; k < words_; ++k)
        for (uint64_t bits = in[k]; bits;) {
          const int first = __builtin_ctzll(bits);
          const uint64_t from = bits >> first;
          const int length = from == ~uint64_t(0) ? 64 - first : __builtin_ctzll(~from);
          const int c = left_ + 64 * k + first;
          run(top_ + r, c, c + length - 1);
          if (first + length >= 64) break;
          bits &= ~uint64_t(0) << (first + length);
        }
    }
  }

 private:
  // The pixels joined to the reached ones in inside_ over pixels without ink; sweeps until
  // nothing more is reached. Each row must already be spread along itself.
  void flood();
  void spreadRow(int r);
  // inside_ becomes the pixels joined to the seed, if they are enclosed; false otherwise.
  bool reachFrom(int r, int c);
  uint64_t freeAt(int r, int k) const {
    const uint64_t f = ~ink_[std::size_t(r) * words_ + k];
    return k == words_ - 1 ? f & lastValid_ : f;
  }

  static constexpr std::size_t kInlineWords = 2 * 128;
  bool active_ = false, spoilt_ = false;
  int left_ = 0, top_ = 0, width_ = 0, rows_ = 0, words_ = 0;
  uint64_t lastValid_ = 0;  // the bits of a row's last word inside the mask
  // Row r's bits are words r * words_ ..; bit j of word k is column left_ + 64 k + j.
  uint64_t* ink_ = nullptr;
  uint64_t* inside_ = nullptr;
  uint64_t inline_[2 * kInlineWords];
  std::vector<uint64_t> heap_;
};

}  // namespace plotane
