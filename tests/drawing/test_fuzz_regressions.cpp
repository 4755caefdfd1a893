// Inputs the fuzz targets found faults with, kept so that the faults stay fixed.

#include <gtest/gtest.h>

#include "drawing/Raster.h"

using namespace plotane;

namespace {

// Ink on one preview row between two columns, counted pixel by pixel.
int inkOnRow(const MonoBitmap& b, int row, int c0, int c1) {
  int n = 0;
  for (int c = c0; c <= c1; ++c) n += b.pixel(row, c) ? 1 : 0;
  return n;
}

// A line with one end far off the preview (a graph point mapped from a very large value, found
// through a graph definitions file) was cut to the bitmap as x1 + t * dx, which at 1e50 keeps no
// digit of the visible part: the line shrank to one pixel, and other ends stayed near 1e50 and
// overflowed the conversion to pixel numbers.
TEST(FuzzRegressions, PreviewLineWithAFarEndKeepsItsVisiblePart) {
  MonoBitmap b(800, 1000);
  b.drawLine(-1.87e50, 100, 100, 100, 1, true);
  // Columns 0..100 of row 100, and nothing else.
  EXPECT_EQ(inkOnRow(b, 100, 0, 799), 101);
  EXPECT_EQ(b.countInk(), 101);

  b.clear();
  // Both ends far out on opposite sides: the line y = 5 - 2e-30 x crosses the whole width.
  b.drawLine(1e30, 3, -1e30, 7, 1, true);
  EXPECT_EQ(inkOnRow(b, 5, 0, 799), 800);
  EXPECT_EQ(b.countInk(), 800);

  b.clear();
  // A far end on a diagonal: the line y - 200 = (x - 400) / 4 comes in from the far left through
  // (0, 100) and ends at (400, 200).
  b.drawLine(-4e50, -1e50, 400, 200, 1, true);
  EXPECT_TRUE(b.pixel(100, 0));
  EXPECT_TRUE(b.pixel(200, 400));
  EXPECT_FALSE(b.pixel(201, 401));
}

}  // namespace
