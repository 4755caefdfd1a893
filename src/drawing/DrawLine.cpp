// The thick-line rasteriser. Every line of the drawing, from hand-drawn lines to glyph strokes,
// is laid down here as one span per column (mostly horizontal lines) or per row (mostly vertical
// lines), with pointed caps so that consecutive segments join without notches.

#include <cmath>
#include <utility>

#include "drawing/Drawing.h"
#include "drawing/LineRaster.h"

namespace plotane {

namespace {

// Round half to even (the default rounding mode), kept within a range where pixel arithmetic
// on int cannot overflow whatever the coordinates.
inline int roundPix(double v) {
  if (std::fabs(v) <= 1e8) return int(roundHalfEven(v));
  v = std::nearbyint(v);
  if (v > 1e8) return 100000000;
  if (v < -1e8) return -100000000;
  return int(v);
}

}  // namespace

void Drawing::HorizontalSpan(int lo, int hi, int row, bool draw) {
  if (row < clipFirst_ || row >= clipLimit_) return;
  if (lo < 0) lo = 0;
  if (hi > kRasterCols - 1) hi = kRasterCols - 1;
  if (lo > hi) return;
  uint8_t* p = image_.row(row);
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

void Drawing::VerticalSpan(int lo, int hi, int column, bool draw) {
  if (column < 0 || column >= kRasterCols) return;
  if (lo < clipFirst_) lo = clipFirst_;
  if (hi > clipLimit_ - 1) hi = clipLimit_ - 1;
  const int byte = column >> 3;
  if (draw) {
    const uint8_t m = kSetMask[column & 7];
    for (int r = lo; r <= hi; ++r) image_.row(r)[byte] |= m;
  } else {
    const uint8_t m = kClearMask[column & 7];
    for (int r = lo; r <= hi; ++r) image_.row(r)[byte] &= m;
  }
}

bool rasteriseSegment(Drawing& d, bool draw, double X1, double Y1, double X2, double Y2,
                      double width) {
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

  // Pixel width; the thin widths widen on near-diagonal lines, the wide ones are never trimmed.
  int n = w < 1e6 ? int(std::trunc(w)) : 1000000;
  const double dx = std::fabs(x2 - x1), dy = std::fabs(y2 - y1);
  const double longExt = dy < dx ? dx : dy, shortExt = dy < dx ? dy : dx;
  if (n == 2 && 1.376 * shortExt > longExt)
    n = 3;
  else if (n == 3 && 1.664 * shortExt > longExt)
    n = 4;
  else if (n > 3)
    n = 2048;

  if (dy < dx) {
    // Mostly horizontal: one vertical span per column.
    if (x1 > x2) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
    const double s = dy == 0 ? 0.0 : (y2 - y1) / (x2 - x1);
    const double h = 0.5 * w * std::sqrt(s * s + 1);
    int cFirst = roundPix(x1), cLast = roundPix(x2);
    if (cFirst < 0) cFirst = 0;
    if (cLast > kRasterCols - 1) cLast = kRasterCols - 1;
    if (cFirst > cLast) return true;
    if (s == 0) {
      // Level: every column has the span of the first one (the centre is y1 throughout) and the
      // slope adjustments of the end columns never apply, so the body is one row span per row.
      int lo = roundPix(y1 - h), hi = roundPix(y1 + h);
      if (hi - lo > n) {
        if (lo + hi - 2 * roundPix(y1) < 0)
          ++lo;
        else
          --hi;
      }
      for (int k = 1; cFirst - k >= 0 && lo + k <= hi - k; ++k)
        d.VerticalSpan(lo + k, hi - k, cFirst - k, draw);
      const int rowLo = lo < clipFirst ? clipFirst : lo;
      const int rowHi = hi > clipLimit - 1 ? clipLimit - 1 : hi;
      for (int row = rowLo; row <= rowHi; ++row) d.HorizontalSpan(cFirst, cLast, row, draw);
      if (cLast != cFirst)
        for (int k = 1; cLast + k < kRasterCols && lo + k <= hi - k; ++k)
          d.VerticalSpan(lo + k, hi - k, cLast + k, draw);
      return true;
    }
    for (int c = cFirst; c <= cLast; ++c) {
      const double r = (c - x1) * s + y1;
      int lo = roundPix(r - h), hi = roundPix(r + h);
      if (hi - lo > n) {
        if (lo + hi - 2 * roundPix(r) < 0)
          ++lo;
        else
          --hi;
      }
      if (c == cFirst) {
        const int spread = hi - lo;
        for (int pass = 0; pass < 2; ++pass) {
          if (spread > (pass == 0 ? 1 : 3)) {
            if (s > 0.14)
              ++lo;
            else if (s < -0.14)
              --hi;
          }
        }
        for (int k = 1; c - k >= 0 && lo + k <= hi - k; ++k)
          d.VerticalSpan(lo + k, hi - k, c - k, draw);
        d.VerticalSpan(lo, hi, c, draw);
      } else if (c == cLast) {
        const int spread = hi - lo;
        for (int pass = 0; pass < 2; ++pass) {
          if (spread > (pass == 0 ? 1 : 3)) {
            if (s > 0.14)
              --hi;
            else if (s < -0.14)
              ++lo;
          }
        }
        d.VerticalSpan(lo, hi, c, draw);
        for (int k = 1; c + k < kRasterCols && lo + k <= hi - k; ++k)
          d.VerticalSpan(lo + k, hi - k, c + k, draw);
      } else {
        d.VerticalSpan(lo, hi, c, draw);
      }
    }
  } else {
    // Mostly vertical (and zero-length): one horizontal span per row.
    if (y1 > y2) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
    const double s = dy == 0 ? 0.0 : (x2 - x1) / (y2 - y1);
    const double h = 0.5 * w * std::sqrt(s * s + 1);
    int rFirst = roundPix(y1), rLast = roundPix(y2);
    if (rFirst < clipFirst) rFirst = clipFirst;
    if (rLast > clipLimit - 1) rLast = clipLimit - 1;
    if (rFirst > rLast) return true;
    if (s == 0) {
      // Upright: every row has the span of the first one and the slope adjustments of the end
      // rows never apply, so the body is one column span per column.
      int lo = roundPix(x1 - h), hi = roundPix(x1 + h);
      if (hi - lo > n) {
        if (lo + hi - 2 * roundPix(x1) < 0)
          ++lo;
        else
          --hi;
      }
      if (lo < 0) lo = 0;
      if (hi > kRasterCols - 1) hi = kRasterCols - 1;
      for (int k = 1; lo + k <= hi - k; ++k)
        if (rFirst - k >= clipFirst) d.HorizontalSpan(lo + k, hi - k, rFirst - k, draw);
      if (hi - lo < 16)
        for (int c = lo; c <= hi; ++c) d.VerticalSpan(rFirst, rLast, c, draw);
      else
        for (int row = rFirst; row <= rLast; ++row) d.HorizontalSpan(lo, hi, row, draw);
      if (rLast != rFirst)
        for (int k = 1; rLast + k < clipLimit && lo + k <= hi - k; ++k)
          d.HorizontalSpan(lo + k, hi - k, rLast + k, draw);
      return true;
    }
    for (int row = rFirst; row <= rLast; ++row) {
      const double cc = (row - y1) * s + x1;
      int lo = roundPix(cc - h), hi = roundPix(cc + h);
      if (hi - lo > n) {
        if (lo + hi - 2 * roundPix(cc) < 0)
          ++lo;
        else
          --hi;
      }
      if (lo < 0) lo = 0;
      if (hi > kRasterCols - 1) hi = kRasterCols - 1;
      if (row == rFirst) {
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
          if (row - k >= clipFirst) d.HorizontalSpan(lo + k, hi - k, row - k, draw);
        d.HorizontalSpan(lo, hi, row, draw);
      } else if (row == rLast) {
        const int spread = hi - lo;
        for (int pass = 0; pass < 2; ++pass) {
          if (spread > (pass == 0 ? 1 : 3)) {
            if (s > 0.14)
              --hi;
            else if (s < -0.14)
              ++lo;
          }
        }
        d.HorizontalSpan(lo, hi, row, draw);
        for (int k = 1; row + k < clipLimit && lo + k <= hi - k; ++k)
          d.HorizontalSpan(lo + k, hi - k, row + k, draw);
      } else {
        d.HorizontalSpan(lo, hi, row, draw);
      }
    }
  }

  return true;
}

void previewSegment(const Drawing& d, double X1, double Y1, double X2, double Y2, double p[4]) {
  d.pageToPreview(X1, Y1, p[0], p[1]);
  d.pageToPreview(X2, Y2, p[2], p[3]);
  // The preview line is clipped exactly to the bitmap by the line drawer, so ends outside the
  // page keep the line's true slope.
  for (int i = 0; i < 4; ++i) p[i] = roundHalfEven(p[i]);
}

void Drawing::DrawLine(bool draw, double X1, double Y1, double X2, double Y2, double width) {
  if (!rasteriseSegment(*this, draw, X1, Y1, X2, Y2, width) || !state.PreviewEcho) return;
  // The same segment on the screen copy of the page.
  double p[4];
  previewSegment(*this, X1, Y1, X2, Y2, p);
  preview().drawLine(p[0], p[1], p[2], p[3], state.PreviewPenWidth, draw);
}

}  // namespace plotane
