#pragma once
// The two halves of DrawLine, for primitives that lay down many segments at once (ring fills)
// and handle the preview themselves.

#include <cstdint>

#include "drawing/Drawing.h"
#include "drawing/Raster.h"
#include "drawing/RingMask.h"

namespace plotane {

// How far (raster pixels) the ink of a segment of the given pixel width can reach beyond the
// box of its two ends, in either axis: a span reaches h past its centre plus half a pixel of
// rounding, with h = w/2 sqrt(1 + s^2) <= 0.7072 |w| as |s| <= 1; the centres stay within half a
// pixel of the ends' box along the long axis; the caps reach at most h + 1/2 past the end spans.
inline double inkReach(double pixelWidth) { return 0.7072 * std::fabs(pixelWidth) + 1.000001; }

// How far (raster pixels) from its segment the ink of a segment of the given pixel width can
// lie: a span pixel is within h + 1/2 of the centre line's point on its column, that point within
// 1/2 column (0.7072 along the line) of the segment, and h <= 0.7072 w; a cap pixel is no farther
// from the end span's centre.
inline double inkDistance(double pixelWidth) { return 0.7072 * std::fabs(pixelWidth) + 1.2073; }

// How far (preview pixels) from its page segment the walk of a preview segment can reach with a
// pen of the given width: its rounded ends lie within 0.7072 of the true ones, the walk within
// 1/2 of the line between them, and the pen's square within (pen - 1) sqrt 2 of the walk.
inline double walkDistance(int pen) { return 1.2073 + 1.4143 * (pen - 1); }

// DrawLine's raster half: sets ImageChanged and lays the segment into the raster. False when the
// segment is dropped before rasterising (a coordinate not finite, or outside the visibility
// test); DrawLine then echoes nothing to the preview either. With skipSettled, a segment whose
// surroundings already have the pen's colour throughout is not rasterised (it could not change
// a pixel); the result is the same.
bool rasteriseSegment(Drawing& d, bool draw, double X1, double Y1, double X2, double Y2,
                      double width, bool skipSettled = false);

// rasteriseSegment's ink laid into a mask instead of the page: the same checks, rounding and
// clipping, so that the mask holds exactly the pixels the segment inks on the page; false when
// the segment is dropped, as rasteriseSegment would drop it. With offPage, the segment is laid as
// on a page without edges instead, and only its pixels off the page go into the mask (they close
// rings cut by the page's edges; no segment is dropped then).
bool maskSegment(Drawing& d, RingMask& mask, double X1, double Y1, double X2, double Y2,
                 double width, bool offPage = false);

// The rounded preview end points DrawLine echoes for a page segment: p = {x1, y1, x2, y2}. The
// preview line is clipped exactly to the bitmap by the line drawer, so ends outside the page keep
// the line's true slope.
inline void previewSegment(const Drawing& d, double X1, double Y1, double X2, double Y2,
                           double p[4]) {
  d.pageToPreview(X1, Y1, p[0], p[1]);
  d.pageToPreview(X2, Y2, p[2], p[3]);
  for (int i = 0; i < 4; ++i) p[i] = roundHalfEven(p[i]);
}

// A window of the raster, at most 64 pixels each way, that holds one solid fill while its many
// segments are laid, so that they need neither the raster's rows nor its clipping: bit
// 63 - j of a row stands for column left + j and is set where the pixel has the pen's colour. A
// fill only ever adds that colour, so its segments leave the same pixels in any order, and the
// window is written back once.
class FillWindow {
 public:
  FillWindow(Drawing& d, bool draw) : d_(d), draw_(draw) {}
  FillWindow(const FillWindow&) = delete;
  FillWindow& operator=(const FillWindow&) = delete;

  // Takes the raster columns cLo..cHi and rows rLo..rHi (unrounded bounds of all the fill's
  // ink) into the window; false, with the window left closed, when they do not fit in it or do
  // not lie wholly inside the raster and the clip rows.
  bool open(double cLo, double cHi, double rLo, double rHi);
  bool isOpen() const { return open_; }
  // rasteriseSegment, laid into the window.
  bool segment(double X1, double Y1, double X2, double Y2, double width);
  // Whether every pixel of rows r0..r1 and columns c0..c1 has the pen's colour; false for a
  // rectangle not wholly inside the window.
  bool uniform(int r0, int r1, int c0, int c1) const {
    if (r0 < top_ || r1 >= top_ + rows_ || c0 < left_ || c1 > left_ + 63 || r0 > r1 || c0 > c1)
      return false;
    const uint64_t mask = (~uint64_t(0) >> (c0 - left_)) & (~uint64_t(0) << (63 - (c1 - left_)));
    for (int r = r0 - top_; r <= r1 - top_; ++r)
      if ((bits_[r] & mask) != mask) return false;
    return true;
  }
  // Writes the window back to the raster and closes it. False, with nothing written, when a
  // span fell outside the window: the fill must then be drawn on the raster itself.
  bool close();

 private:
  Drawing& d_;
  const bool draw_;
  bool open_ = false, spoilt_ = false;
  int left_ = 0, top_ = 0, rows_ = 0;
  uint64_t bits_[64];
};

}  // namespace plotane
