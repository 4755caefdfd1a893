// The thick-line rasteriser. Every line of the drawing, from hand-drawn lines to glyph strokes,
// is laid down here as one span per column (mostly horizontal lines) or per row (mostly vertical
// lines), with pointed caps so that consecutive segments join without notches.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"

namespace plotane {

namespace {

// Round half to even (the default rounding mode), kept within a range where pixel arithmetic
// on int cannot overflow whatever the coordinates.
inline int roundPix(double v) {
#if defined(__SSE2__)
  // The processor's conversion rounds in the current mode, as nearbyint does.
  if (std::fabs(v) <= 1e8) return _mm_cvtsd_si32(_mm_set_sd(v));
#else
  if (std::fabs(v) <= 1e8) return int(roundHalfEven(v));
#endif
  v = std::nearbyint(v);
  if (v > 1e8) return 100000000;
  if (v < -1e8) return -100000000;
  return int(v);
}

// The same for values known to lie well within int's range.
inline int roundSmall(double v) {
#if defined(__SSE2__)
  return _mm_cvtsd_si32(_mm_set_sd(v));
#else
  return int(roundHalfEven(v));
#endif
}

// Pixels lo..hi (0 <= lo <= hi < kRasterCols) of one raster row.
inline void rowBits(uint8_t* p, int lo, int hi, bool draw) {
  const int b0 = lo >> 3, b1 = hi >> 3;
  const uint8_t head = uint8_t(0xFF >> (lo & 7));
  const uint8_t tail = uint8_t(0xFF << (7 - (hi & 7)));
  if (b0 == b1) {
    const uint8_t m = head & tail;
    if (draw)
      p[b0] |= m;
    else
      p[b0] &= uint8_t(~m);
    return;
  }
  if (draw) {
    p[b0] |= head;
    for (int b = b0 + 1; b < b1; ++b) p[b] = 0xFF;
    p[b1] |= tail;
  } else {
    p[b0] &= uint8_t(~head);
    for (int b = b0 + 1; b < b1; ++b) p[b] = 0;
    p[b1] &= uint8_t(~tail);
  }
}

// Rows lo..hi (already clipped) of one raster column.
inline void columnBits(DrawingImage& image, int lo, int hi, int column, bool draw) {
  const int byte = column >> 3;
  if (draw) {
    const uint8_t m = kSetMask[column & 7];
    for (int r = lo; r <= hi; ++r) image.row(r)[byte] |= m;
  } else {
    const uint8_t m = kClearMask[column & 7];
    for (int r = lo; r <= hi; ++r) image.row(r)[byte] &= m;
  }
}

}  // namespace

void Drawing::HorizontalSpan(int lo, int hi, int row, bool draw) {
  if (row < clipFirst_ || row >= clipLimit_) return;
  if (lo < 0) lo = 0;
  if (hi > kRasterCols - 1) hi = kRasterCols - 1;
  if (lo > hi) return;
  rowBits(image_.row(row), lo, hi, draw);
}

void Drawing::VerticalSpan(int lo, int hi, int column, bool draw) {
  if (column < 0 || column >= kRasterCols) return;
  if (lo < clipFirst_) lo = clipFirst_;
  if (hi > clipLimit_ - 1) hi = clipLimit_ - 1;
  columnBits(image_, lo, hi, column, draw);
}

namespace {

// Where the spans of a segment go: the page raster. Spans come already clipped to the raster's
// columns and the clip rows; an empty column span (lo > hi) leaves nothing.
struct PageSink {
  static constexpr bool kSmall = false;
  DrawingImage& image;
  bool draw;

  [[gnu::always_inline]] void column(int lo, int hi, int c) { columnBits(image, lo, hi, c, draw); }
  [[gnu::always_inline]] void row(int lo, int hi, int r) { rowBits(image.row(r), lo, hi, draw); }
};

// Where the spans of a fill's segment go: the fill's window. A span outside it is not laid and
// marks the window spoilt, so the fill is drawn again on the page itself.
struct WindowSink {
  // Every pixel value is near the window (FillWindow::segment sees to it).
  static constexpr bool kSmall = true;
  uint64_t* bits;
  int left, top, rows;
  bool& spoilt;

  [[gnu::always_inline]] void column(int lo, int hi, int c) {
    if (lo > hi) return;
    const unsigned j = unsigned(c - left);
    if (j > 63 || lo < top || hi >= top + rows) {
      spoilt = true;
      return;
    }
    const uint64_t b = uint64_t(1) << (63 - j);
    // Mostly two pixels (a thin line's every span).
    uint64_t* p = bits + (lo - top);
    p[0] |= b;
    for (int k = 1; k <= hi - lo; ++k) p[k] |= b;
  }
  [[gnu::always_inline]] void row(int lo, int hi, int r) {
    if (unsigned(r - top) >= unsigned(rows) || lo < left || hi > left + 63) {
      spoilt = true;
      return;
    }
    bits[r - top] |= (~uint64_t(0) >> (lo - left)) & (~uint64_t(0) << (63 - (hi - left)));
  }
};

// The span across a segment at step t of its long axis: the centre (t - t1) s + u1 widened by h
// each way, both ends rounded, and cut to n + 1 pixels on the side farther from the centre.
template <bool kSmall>
struct Across {
  double t1, u1, s, h;
  int n;

  static int round(double v) { return kSmall ? roundSmall(v) : roundPix(v); }
  [[gnu::always_inline]] void at(int t, int& lo, int& hi) const {
    const double centre = (t - t1) * s + u1;
    lo = round(centre - h);
    hi = round(centre + h);
    // Without branches: which way the cut goes is hard to predict.
    const int cut = hi - lo > n, low = lo + hi - 2 * round(centre) < 0;
    lo += cut & low;
    hi -= cut & (low ^ 1);
  }

  // The spans at steps first, first + 1, ... below limit, two at a time, handed to
  // pairs(lo, hi, lo', hi', t) for steps t and t + 1, as at() gives them; returns the first
  // step not handed over (at most one is left).
  template <class Pair>
  [[gnu::always_inline]] int pairs(int first, int limit, Pair pair) const {
#if defined(__SSE2__)
    static_assert(kSmall, "the packed conversion has no range guard");
    const __m128d t1v = _mm_set1_pd(t1), sv = _mm_set1_pd(s), uv = _mm_set1_pd(u1),
                  hv = _mm_set1_pd(h);
    const __m128i nv = _mm_set1_epi32(n), zero = _mm_setzero_si128();
    for (; first + 1 < limit; first += 2) {
      const __m128d t = _mm_set_pd(double(first + 1), double(first));
      const __m128d centre = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(t, t1v), sv), uv);
      __m128i lo = _mm_cvtpd_epi32(_mm_sub_pd(centre, hv));
      __m128i hi = _mm_cvtpd_epi32(_mm_add_pd(centre, hv));
      const __m128i rc = _mm_cvtpd_epi32(centre);
      const __m128i cut = _mm_cmpgt_epi32(_mm_sub_epi32(hi, lo), nv);
      const __m128i low =
          _mm_cmplt_epi32(_mm_sub_epi32(_mm_add_epi32(lo, hi), _mm_add_epi32(rc, rc)), zero);
      lo = _mm_sub_epi32(lo, _mm_and_si128(cut, low));     // masks are -1: one up
      hi = _mm_add_epi32(hi, _mm_andnot_si128(low, cut));  // one down
      pair(_mm_cvtsi128_si32(lo), _mm_cvtsi128_si32(hi), _mm_cvtsi128_si32(_mm_srli_si128(lo, 4)),
           _mm_cvtsi128_si32(_mm_srli_si128(hi, 4)), first);
    }
#else
    (void)limit;
    (void)pair;
#endif
    return first;
  }
};

// The last span of a sloped line is narrowed by up to two pixels on the side its slope leaves,
// so that the end cap that follows meets it without a step.
inline void trimLastSpan(int& lo, int& hi, double s) {
  const int spread = hi - lo;
  for (int pass = 0; pass < 2; ++pass) {
    if (spread > (pass == 0 ? 1 : 3)) {
      if (s > 0.14)
        --hi;
      else if (s < -0.14)
        ++lo;
    }
  }
}

// Lays the spans of the segment (x1, y1)-(x2, y2) in raster pixels, w pixels wide, into out,
// clipped to the raster's columns and rows clipFirst..clipLimit - 1.
template <class Sink>
void laySpans(Sink& out, double x1, double y1, double x2, double y2, double w, int clipFirst,
              int clipLimit) {
  auto rowSpan = [&](int lo, int hi, int row) {
    if (row < clipFirst || row >= clipLimit) return;
    if (lo < 0) lo = 0;
    if (hi > kRasterCols - 1) hi = kRasterCols - 1;
    if (lo > hi) return;
    out.row(lo, hi, row);
  };
  auto columnSpan = [&](int lo, int hi, int column) {
    if (column < 0 || column >= kRasterCols) return;
    if (lo < clipFirst) lo = clipFirst;
    if (hi > clipLimit - 1) hi = clipLimit - 1;
    out.column(lo, hi, column);
  };
  // Pixel width; the thin widths widen on near-diagonal lines, the wide ones are never trimmed.
  int n = w >= 1e6            ? 1000000
          : w > -2147483649.0 ? int(w)  // truncates toward zero
                              : std::numeric_limits<int>::min();
  const double dx = std::fabs(x2 - x1), dy = std::fabs(y2 - y1);
  const double longExt = dy < dx ? dx : dy, shortExt = dy < dx ? dy : dx;
  if (n == 2 && 1.376 * shortExt > longExt)
    n = 3;
  else if (n == 3 && 1.664 * shortExt > longExt)
    n = 4;
  else if (n > 3)
    n = 2048;

  int lo, hi;
  if (dy < dx) {
    // Mostly horizontal: one vertical span per column.
    if (x1 > x2) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
    const double s = dy == 0 ? 0.0 : (y2 - y1) / (x2 - x1);
    const Across<Sink::kSmall> across{x1, y1, s, 0.5 * w * std::sqrt(s * s + 1), n};
    int cFirst = across.round(x1), cLast = across.round(x2);
    if (cFirst < 0) cFirst = 0;
    if (cLast > kRasterCols - 1) cLast = kRasterCols - 1;
    if (cFirst > cLast) return;
    across.at(cFirst, lo, hi);
    if (s == 0) {
      // Level: (c - x1) s is a zero for every column, so every column has the first one's span,
      // and the slope adjustments of the end columns never apply. The body is one row span per
      // row; the caps are as below.
      for (int k = 1; cFirst - k >= 0 && lo + k <= hi - k; ++k)
        columnSpan(lo + k, hi - k, cFirst - k);
      const int rowLo = lo < clipFirst ? clipFirst : lo;
      const int rowHi = hi > clipLimit - 1 ? clipLimit - 1 : hi;
      for (int row = rowLo; row <= rowHi; ++row) out.row(cFirst, cLast, row);
      if (cLast != cFirst)
        for (int k = 1; cLast + k < kRasterCols && lo + k <= hi - k; ++k)
          columnSpan(lo + k, hi - k, cLast + k);
      return;
    }
    // First column: pulled in at its end by the slope, then the start cap on the columns
    // before it, one pixel narrower at each end per column.
    const int spread = hi - lo;
    for (int pass = 0; pass < 2; ++pass) {
      if (spread > (pass == 0 ? 1 : 3)) {
        if (s > 0.14)
          ++lo;
        else if (s < -0.14)
          --hi;
      }
    }
    for (int k = 1; cFirst - k >= 0 && lo + k <= hi - k; ++k)
      columnSpan(lo + k, hi - k, cFirst - k);
    columnSpan(lo, hi, cFirst);
    if (cLast == cFirst) return;
    // The columns between the ends lie inside the raster's columns.
    int c = cFirst + 1;
    if constexpr (Sink::kSmall)
      // In a window nothing is clipped: a span that would be lies outside it.
      c = across.pairs(c, cLast, [&](int lo0, int hi0, int lo1, int hi1, int t) {
        out.column(lo0, hi0, t);
        out.column(lo1, hi1, t + 1);
      });
    for (; c < cLast; ++c) {
      across.at(c, lo, hi);
      if (lo < clipFirst) lo = clipFirst;
      if (hi > clipLimit - 1) hi = clipLimit - 1;
      out.column(lo, hi, c);
    }
    // Last column, mirrored, then the end cap.
    across.at(cLast, lo, hi);
    trimLastSpan(lo, hi, s);
    columnSpan(lo, hi, cLast);
    for (int k = 1; cLast + k < kRasterCols && lo + k <= hi - k; ++k)
      columnSpan(lo + k, hi - k, cLast + k);
    return;
  }

  // Mostly vertical (and zero-length): one horizontal span per row, kept within the raster's
  // columns.
  if (y1 > y2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  const double s = dy == 0 ? 0.0 : (x2 - x1) / (y2 - y1);
  const Across<Sink::kSmall> across{y1, x1, s, 0.5 * w * std::sqrt(s * s + 1), n};
  int rFirst = across.round(y1), rLast = across.round(y2);
  if (rFirst < clipFirst) rFirst = clipFirst;
  if (rLast > clipLimit - 1) rLast = clipLimit - 1;
  if (rFirst > rLast) return;
  across.at(rFirst, lo, hi);
  if (lo < 0) lo = 0;
  if (hi > kRasterCols - 1) hi = kRasterCols - 1;
  if (s == 0) {
    // Upright: every row has the first one's span and the slope adjustments of the end rows
    // never apply. The body is one column span per column (or row span per row when wide).
    for (int k = 1; lo + k <= hi - k; ++k)
      if (rFirst - k >= clipFirst) rowSpan(lo + k, hi - k, rFirst - k);
    if (hi - lo < 16)
      for (int c = lo; c <= hi; ++c) out.column(rFirst, rLast, c);
    else
      for (int row = rFirst; row <= rLast; ++row) out.row(lo, hi, row);
    if (rLast != rFirst)
      for (int k = 1; rLast + k < clipLimit && lo + k <= hi - k; ++k)
        rowSpan(lo + k, hi - k, rLast + k);
    return;
  }
  // First row: pulled in by the slope, then the start cap on the rows above it.
  const int spread = hi - lo;
  if (spread > 1) {
    if (s > 0.14)
      ++lo;
    else if (s < -0.13)
      --hi;
  }
  if (spread > 3) {
    if (s > 0.14)
      ++lo;
    else if (s < -0.14)
      --hi;
  }
  for (int k = 1; lo + k <= hi - k; ++k)
    if (rFirst - k >= clipFirst) rowSpan(lo + k, hi - k, rFirst - k);
  rowSpan(lo, hi, rFirst);
  if (rLast == rFirst) return;
  // The rows between the ends lie inside the clip rows.
  int row = rFirst + 1;
  if constexpr (Sink::kSmall)
    row = across.pairs(row, rLast, [&](int lo0, int hi0, int lo1, int hi1, int t) {
      if (lo0 <= hi0) out.row(lo0, hi0, t);
      if (lo1 <= hi1) out.row(lo1, hi1, t + 1);
    });
  for (; row < rLast; ++row) {
    across.at(row, lo, hi);
    if (lo < 0) lo = 0;
    if (hi > kRasterCols - 1) hi = kRasterCols - 1;
    if (lo <= hi) out.row(lo, hi, row);
  }
  // Last row, mirrored, then the end cap below it.
  across.at(rLast, lo, hi);
  if (lo < 0) lo = 0;
  if (hi > kRasterCols - 1) hi = kRasterCols - 1;
  trimLastSpan(lo, hi, s);
  rowSpan(lo, hi, rLast);
  for (int k = 1; rLast + k < clipLimit && lo + k <= hi - k; ++k)
    rowSpan(lo + k, hi - k, rLast + k);
}

// Whether every pixel of rows r0..r1 and columns c0..c1 (bounds in pixels, rounded outward, cut
// to the clip rows and the raster) already has the pen's colour, as uniform(r0, r1, c0, c1)
// tells for whole pixel bounds.
template <class Uniform>
bool boxSettled(double r0, double r1, double c0, double c1, int clipFirst, int clipLimit,
                Uniform uniform) {
  r0 = std::max(r0, double(clipFirst));
  r1 = std::min(r1, double(clipLimit - 1));
  c0 = std::max(c0, 0.0);
  c1 = std::min(c1, double(kRasterCols - 1));
  if (!(r0 <= r1 && c0 <= c1)) return false;
  // Truncation rounds the (non-negative) lower bounds down; the upper ones go up by one.
  const int ir1 = std::min(int(r1) + 1, clipLimit - 1),
            ic1 = std::min(int(c1) + 1, kRasterCols - 1);
  return uniform(int(r0), ir1, int(c0), ic1);
}

}  // namespace

// The common part of rasteriseSegment and FillWindow::segment: the checks, the conversion to
// raster pixels, the settled test (settled(r0, r1, c0, c1), when given) and the spans, laid with
// lay(x1, y1, x2, y2, w).
template <class Settled, class Lay>
bool rasterise(Drawing& d, double X1, double Y1, double X2, double Y2, double width,
               Settled settled, Lay lay) {
  d.state.ImageChanged = true;
  if (!std::isfinite(X1) || !std::isfinite(Y1) || !std::isfinite(X2) || !std::isfinite(Y2) ||
      !std::isfinite(width))
    return false;
  double x1, y1, x2, y2;
  d.pageToRaster(X1, Y1, x1, y1);
  d.pageToRaster(X2, Y2, x2, y2);
  const double w = 300 * width;
  const int clipFirst = d.clipFirstRow(), clipLimit = d.clipRowLimit();
  const double first = clipFirst, limit = clipLimit;
  if (std::fabs(x1) > 30000 || std::fabs(x2) > 30000) return false;
  if (y1 < first - w && y2 < first - w) return false;
  if (y1 > limit + w && y2 > limit + w) return false;
  if constexpr (!std::is_same_v<Settled, std::nullptr_t>) {
    const double m = inkReach(w);
    if (boxSettled(std::min(y1, y2) - m, std::max(y1, y2) + m, std::min(x1, x2) - m,
                   std::max(x1, x2) + m, clipFirst, clipLimit, settled))
      return true;
  }
  lay(x1, y1, x2, y2, w);
  return true;
}

bool rasteriseSegment(Drawing& d, bool draw, double X1, double Y1, double X2, double Y2,
                      double width, bool skipSettled) {
  DrawingImage& image = d.image();
  const int clipFirst = d.clipFirstRow(), clipLimit = d.clipRowLimit();
  auto lay = [&](double x1, double y1, double x2, double y2, double w) {
    PageSink out{image, draw};
    laySpans(out, x1, y1, x2, y2, w, clipFirst, clipLimit);
  };
  if (!skipSettled) return rasterise(d, X1, Y1, X2, Y2, width, nullptr, lay);
  return rasterise(
      d, X1, Y1, X2, Y2, width,
      [&](int r0, int r1, int c0, int c1) { return image.uniform(r0, r1, c0, c1, draw); }, lay);
}

namespace {

// Where the spans of a segment go when only the pixels a ring encloses are wanted: a mask.
// Spans between a segment's ends come unclipped (its ends are checked), so they are cut to the
// page here, as on the page; with shift, they were laid shifted by (dc, dr) pixels and only the
// parts off the page (columns outside the raster, rows outside the clip rows) are kept.
struct MaskSink {
  static constexpr bool kSmall = true;
  RingMask& mask;
  bool shift;
  int dc, dr, clipFirst, clipLimit;

  void column(int lo, int hi, int c) {
    if (!shift) {
      if (c >= 0 && c < kRasterCols)
        mask.column(c, std::max(lo, clipFirst), std::min(hi, clipLimit - 1));
      return;
    }
    c += dc;
    lo += dr;
    hi += dr;
    if (c < 0 || c >= kRasterCols) {
      mask.column(c, lo, hi);
      return;
    }
    mask.column(c, lo, std::min(hi, clipFirst - 1));
    mask.column(c, std::max(lo, clipLimit), hi);
  }
  void row(int lo, int hi, int r) {
    if (!shift) {
      if (r >= clipFirst && r < clipLimit)
        mask.row(r, std::max(lo, 0), std::min(hi, kRasterCols - 1));
      return;
    }
    r += dr;
    lo += dc;
    hi += dc;
    if (r < clipFirst || r >= clipLimit) {
      mask.row(r, lo, hi);
      return;
    }
    mask.row(r, lo, std::min(hi, -1));
    mask.row(r, std::max(lo, kRasterCols), hi);
  }
};

}  // namespace

bool maskSegment(Drawing& d, RingMask& mask, double X1, double Y1, double X2, double Y2,
                 double width, bool offPage) {
  const int clipFirst = d.clipFirstRow(), clipLimit = d.clipRowLimit();
  // Without a mask, only whether the segment would be dropped.
  if (!offPage && !mask.active())
    return rasterise(d, X1, Y1, X2, Y2, width, nullptr,
                     [](double, double, double, double, double) {});
  if (!offPage)
    return rasterise(d, X1, Y1, X2, Y2, width, nullptr,
                     [&](double x1, double y1, double x2, double y2, double w) {
                       MaskSink out{mask, false, 0, 0, clipFirst, clipLimit};
                       laySpans(out, x1, y1, x2, y2, w, clipFirst, clipLimit);
                     });
  if (!mask.active() || !std::isfinite(X1) || !std::isfinite(Y1) || !std::isfinite(X2) ||
      !std::isfinite(Y2) || !(std::fabs(width) <= 1))
    return false;
  double x1, y1, x2, y2;
  d.pageToRaster(X1, Y1, x1, y1);
  d.pageToRaster(X2, Y2, x2, y2);
  // Shifted by whole pixels so that the mask lies well inside the raster's columns and the rows
  // laid, which nothing clips.
  const int dc = mask.left() - 64, dr = mask.top() - 64;
  static_assert(RingMask::kMaxSide + 128 < kRasterCols);
  MaskSink out{mask, true, dc, dr, clipFirst, clipLimit};
  laySpans(out, x1 - dc, y1 - dr, x2 - dc, y2 - dr, 300 * width, 0, mask.height() + 128);
  return true;
}

// Raster bytes hold their leftmost pixel in the top bit, so eight of them read as a big-endian
// word have column left + j at bit 63 - j.
static uint64_t loadBigEndian(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

static void storeBigEndian(uint8_t* p, uint64_t v) {
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  std::memcpy(p, &v, 8);
}

bool FillWindow::open(double cLo, double cHi, double rLo, double rHi) {
  open_ = spoilt_ = false;
  // Bounds not finite fail these tests too.
  if (!(cLo >= 0 && cHi <= kRasterCols - 1 && rLo >= d_.clipFirstRow() &&
        rHi <= d_.clipRowLimit() - 1 && cLo <= cHi && rLo <= rHi))
    return false;
  const int c0 = int(cLo), c1 = int(std::ceil(cHi)), r0 = int(rLo), r1 = int(std::ceil(rHi));
  left_ = c0 & ~7;  // whole bytes
  if (c1 - left_ > 63 || left_ + 64 > kRasterCols || r1 - r0 + 1 > 64) return false;
  top_ = r0;
  rows_ = r1 - r0 + 1;
  const uint64_t flip = draw_ ? 0 : ~uint64_t(0);
  for (int r = 0; r < rows_; ++r)
    bits_[r] = loadBigEndian(d_.image().row(top_ + r) + left_ / 8) ^ flip;
  open_ = true;
  return true;
}

bool FillWindow::segment(double X1, double Y1, double X2, double Y2, double width) {
  // No fill's segment is this wide; its spans could not be in the window.
  if (!(std::fabs(width) <= 0.4)) {
    spoilt_ = true;
    return false;
  }
  const int clipFirst = d_.clipFirstRow(), clipLimit = d_.clipRowLimit();
  return rasterise(d_, X1, Y1, X2, Y2, width, nullptr,
                   [&](double x1, double y1, double x2, double y2, double w) {
                     WindowSink out{bits_, left_, top_, rows_, spoilt_};
                     laySpans(out, x1, y1, x2, y2, w, clipFirst, clipLimit);
                   });
}

bool FillWindow::close() {
  if (!open_) return false;
  open_ = false;
  if (spoilt_) return false;
  const uint64_t flip = draw_ ? 0 : ~uint64_t(0);
  for (int r = 0; r < rows_; ++r)
    storeBigEndian(d_.image().row(top_ + r) + left_ / 8, bits_[r] ^ flip);
  return true;
}

void Drawing::DrawLine(bool draw, double X1, double Y1, double X2, double Y2, double width) {
  if (display_.recording()) display_.segment(draw, toFrame(X1, Y1), toFrame(X2, Y2), float(width));
  if (!rasteriseSegment(*this, draw, X1, Y1, X2, Y2, width) || !state.PreviewEcho) return;
  // The same segment on the screen copy of the page.
  double p[4];
  previewSegment(*this, X1, Y1, X2, Y2, p);
  preview().drawLine(p[0], p[1], p[2], p[3], state.PreviewPenWidth, draw);
}

}  // namespace plotane
