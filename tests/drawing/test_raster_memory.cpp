// The bitmaps' memory: white when made and after clear, copies independent of their original.
#include <gtest/gtest.h>

#include <utility>

#include "drawing/Raster.h"

using namespace plotane;

TEST(RasterMemory, ClearWhitensWhatWasDrawn) {
  DrawingImage image;
  EXPECT_EQ(image.countInk(), 0);
  image.setPixel(0, 0, true);
  image.setPixel(2999, 2399, true);
  image.row(1500)[150] = 0xFF;
  EXPECT_EQ(image.countInk(), 10);
  image.clear();
  EXPECT_EQ(image.countInk(), 0);
  EXPECT_FALSE(image.pixel(2999, 2399));
  // The page is usable again after a clear.
  image.setPixel(10, 10, true);
  EXPECT_TRUE(image.pixel(10, 10));
  EXPECT_EQ(image.countInk(), 1);
}

TEST(RasterMemory, BitmapCopiesAreIndependent) {
  MonoBitmap a(800, 1000);
  EXPECT_EQ(a.countInk(), 0);
  a.setPixel(999, 799, true);
  a.setPixel(3, 5, true);
  MonoBitmap b = a;
  EXPECT_EQ(b.countInk(), 2);
  EXPECT_TRUE(b.pixel(999, 799));
  b.clear();
  EXPECT_EQ(b.countInk(), 0);
  EXPECT_EQ(a.countInk(), 2);
  MonoBitmap c;
  c = std::move(a);
  EXPECT_EQ(c.countInk(), 2);
  EXPECT_EQ(c.width(), 800);
  c = MonoBitmap();
  EXPECT_TRUE(c.empty());
  EXPECT_EQ(c.countInk(), 0);
}
