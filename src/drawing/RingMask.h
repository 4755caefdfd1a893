#pragma once
// The pixels a closed ring of ink encloses, for completing fills: the ring is laid into a bit mask
// on its own, and every pixel that is neither inked nor joined to the surroundings by steps to a
// side neighbour over pixels without ink lies strictly inside it.

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
  // bounds are not finite or the mask would be too large.
  bool cover(const std::array<double, 4>& bounds);
  bool active() const { return active_; }
  // Whether ink fell outside the mask: what it encloses is then not known.
  bool spoilt() const { return spoilt_; }
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return rows_; }

  // Ink on columns c0..c1 of row r, or on rows r0..r1 of column c.
  void row(int r, int c0, int c1);
  void column(int c, int r0, int r1);

  // Hands the pixels the ink encloses to run(row, c0, c1), a run of a row at a time; nothing
  // when the mask is inactive or spoilt. With a seed pixel (row, column), only those joined to
  // it, and none when the seed is inked or joined to the surroundings: the inside of an outline
  // without the pinholes its stroke may have.
  template <class Run>
  void eachEnclosed(Run run, bool seeded = false, int seedRow = 0, int seedColumn = 0) {
    if (!active_ || spoilt_) return;
    if (!seeded)
      enclose();
    else if (!reachFrom(seedRow - top_, seedColumn - left_))
      return;
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
  // nothing more is reached.
  void flood();
  // inside_ becomes the pixels the ink encloses.
  void enclose();
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
