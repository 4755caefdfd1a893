// The bitmaps' memory: white when made and after clear, copies independent of their original.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <utility>
#include <vector>

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

// Both kinds of block (the small ones from the heap, the large ones mapped from the system) must
// come back white after a clear whatever was done to them before: written, copied, moved.
TEST(RasterMemory, ClearAfterWritesCopiesAndMoves) {
  for (int rows : {10, 1000}) {  // 1 KB and 100 KB
    SCOPED_TRACE(rows);
    MonoBitmap fresh(800, rows);
    fresh.clear();
    fresh.setPixel(rows - 1, 799, true);
    EXPECT_EQ(fresh.countInk(), 1);
    fresh.clear();
    EXPECT_EQ(fresh.countInk(), 0);

    // A copy of a white bitmap, drawn on, then cleared.
    MonoBitmap copy = fresh;
    copy.row(0)[0] = 0xFF;
    EXPECT_EQ(copy.countInk(), 8);
    EXPECT_EQ(fresh.countInk(), 0);
    copy.clear();
    EXPECT_EQ(copy.countInk(), 0);

    // Written memory moved into a bitmap that was white keeps needing its clear.
    MonoBitmap drawn(800, rows);
    drawn.setPixel(0, 0, true);
    MonoBitmap target(800, rows);
    target = std::move(drawn);
    target.clear();
    EXPECT_EQ(target.countInk(), 0);
  }
}

// A page no one draws on costs no memory: neither making it nor clearing it touches its pages.
TEST(RasterMemory, WhitePageIsNeverTouched) {
  DrawingImage image;
  image.clear();
  image.clear();
  const uint8_t* first = std::as_const(image).row(0);
  const std::size_t bytes = std::size_t(kRasterRows) * kRasterRowBytes;
  const long page = ::sysconf(_SC_PAGESIZE);
  ASSERT_EQ(reinterpret_cast<std::uintptr_t>(first) % std::uintptr_t(page), 0u);
  std::vector<unsigned char> resident((bytes + std::size_t(page) - 1) / std::size_t(page));
  ASSERT_EQ(::mincore(const_cast<uint8_t*>(first), bytes, resident.data()), 0);
  int touched = 0;
  for (unsigned char r : resident) touched += r & 1;
  EXPECT_EQ(touched, 0);
  // Once drawn on, the page holding the pixel is in memory, and a clear does whiten it.
  image.setPixel(1500, 1200, true);
  const std::size_t at = 1500 * std::size_t(kRasterRowBytes) / std::size_t(page);
  ASSERT_EQ(::mincore(const_cast<uint8_t*>(first), bytes, resident.data()), 0);
  EXPECT_EQ(resident[at] & 1, 1);
  image.clear();
  EXPECT_EQ(image.countInk(), 0);
}
