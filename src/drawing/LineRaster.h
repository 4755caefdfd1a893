#pragma once
// The two halves of DrawLine, for primitives that lay down many segments at once (ring fills)
// and handle the preview themselves.

#include "drawing/Raster.h"

namespace plotane {

class Drawing;

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
