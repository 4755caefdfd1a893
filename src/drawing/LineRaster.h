#pragma once
// The two halves of DrawLine, for primitives that lay down many segments at once (ring fills)
// and handle the preview themselves.

#include "drawing/Raster.h"

namespace plotane {

class Drawing;

// How far (raster pixels) the ink of a segment of the given pixel width can reach beyond the
// box of its two ends, in either axis: a span reaches h past its centre plus half a pixel of
// rounding, with h = w/2 sqrt(1 + s^2) <= 0.7072 |w| as |s| <= 1; the centres stay within half a
// pixel of the ends' box along the long axis; the caps reach at most h + 1/2 past the end spans.
inline double inkReach(double pixelWidth) { return 0.7072 * std::fabs(pixelWidth) + 1.000001; }

// DrawLine's raster half: sets ImageChanged and lays the segment into the raster. False when the
// segment is dropped before rasterising (a coordinate not finite, or outside the visibility
// test); DrawLine then echoes nothing to the preview either. With skipSettled, a segment whose
// surroundings already have the pen's colour throughout is not rasterised (it could not change
// a pixel); the result is the same.
bool rasteriseSegment(Drawing& d, bool draw, double X1, double Y1, double X2, double Y2,
                      double width, bool skipSettled = false);

// The rounded preview end points DrawLine echoes for a page segment: p = {x1, y1, x2, y2}.
void previewSegment(const Drawing& d, double X1, double Y1, double X2, double Y2, double p[4]);

}  // namespace plotane
