// The page as PNG: a 1-bit image at 300 dots per inch that decodes to the page; a write that
// fails half-way leaves the old file and is reported.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "drawing/Drawing.h"
#include "drawing/DrawingOutput.h"
#include "drawing/PagePng.h"
#include "shell/base/Files.h"

using namespace plotane;

namespace {

uint32_t be32(const std::vector<uint8_t>& b, std::size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// The pixels as 8-bit grey, decoded by libpng's reader.
std::vector<uint8_t> decodeGrey(const std::vector<uint8_t>& png, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  image.format = PNG_FORMAT_GRAY;
  std::vector<uint8_t> out(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.data(), 0, nullptr)) return {};
  width = int(image.width);
  height = int(image.height);
  return out;
}

// A page with ink in the corners, a byte run, and single pixels at byte edges.
std::vector<uint8_t> samplePage() {
  std::vector<uint8_t> bits(3000 * 300, 0);
  bits[0] = 0x80;                 // top left pixel
  bits[2999 * 300 + 299] = 0x01;  // bottom right pixel
  bits[1500 * 300 + 37] = 0xFF;   // eight pixels from column 296, row 1500
  bits[10 * 300 + 5] = 0x81;      // columns 40 and 47, row 10
  return bits;
}

}  // namespace

TEST(PagePng, IsOneBitAt300DpiAndDecodesToThePage) {
  std::string error;
  const std::vector<uint8_t> bits = samplePage();
  const std::vector<uint8_t> png = PagePngImage(bits, error);
  ASSERT_FALSE(png.empty()) << error;
  // IHDR right after the signature: width, height, bit depth 1, palette colour.
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(be32(png, 16), 2400u);
  EXPECT_EQ(be32(png, 20), 3000u);
  EXPECT_EQ(png[24], 1);
  EXPECT_EQ(png[25], 3);
  // pHYs: 11811 dots per metre both ways, unit metre (300 dots per inch).
  const uint8_t tag[] = {'p', 'H', 'Y', 's'};
  auto at = std::search(png.begin(), png.end(), tag, tag + 4);
  ASSERT_NE(at, png.end());
  const std::size_t p = std::size_t(at - png.begin()) + 4;
  EXPECT_EQ(be32(png, p), 11811u);
  EXPECT_EQ(be32(png, p + 4), 11811u);
  EXPECT_EQ(png[p + 8], 1);

  int w = 0, h = 0;
  const std::vector<uint8_t> grey = decodeGrey(png, w, h);
  ASSERT_EQ(grey.size(), 2400u * 3000u);
  // Every pixel: black exactly where a bit is set.
  std::size_t wrong = 0;
  for (int r = 0; r < 3000; ++r)
    for (int c = 0; c < 2400; ++c) {
      const bool ink = bits[std::size_t(r) * 300 + std::size_t(c / 8)] & (0x80 >> (c % 8));
      if (grey[std::size_t(r) * 2400 + std::size_t(c)] != (ink ? 0 : 255)) ++wrong;
    }
  EXPECT_EQ(wrong, 0u);
}

TEST(PagePng, ShortPageBitsLeaveTheRestWhite) {
  std::string error;
  std::vector<uint8_t> bits(10 * 300, 0xFF);  // ten black rows only
  int w = 0, h = 0;
  const std::vector<uint8_t> grey = decodeGrey(PagePngImage(bits, error), w, h);
  ASSERT_EQ(grey.size(), 2400u * 3000u);
  EXPECT_EQ(grey[9 * 2400 + 2399], 0);
  EXPECT_EQ(grey[10 * 2400], 255);
  EXPECT_EQ(grey.back(), 255);
}

// The drawing's raster read in place gives the image of its page bits, after a clear as well
// (the raster's pages are then handed back and read as zero).
TEST(PagePng, TheDrawingGivesTheImageOfItsPageBits) {
  test::TestHost host;
  Drawing d(host);
  d.DrawLine(true, 1.0, 1.0, 7.0, 9.0, 0.01);
  std::string error;
  const std::vector<uint8_t> bits = PageBits(d);
  EXPECT_GT(d.image().countInk(), 0);
  EXPECT_EQ(PagePngImage(d, error), PagePngImage(bits, error));
  d.image().clear();
  EXPECT_EQ(d.image().countInk(), 0);
  d.DrawLine(true, 4.0, 0.5, 4.0, 9.5, 0.02);
  EXPECT_EQ(PagePngImage(d, error), PagePngImage(PageBits(d), error));
  test::TempDir dir;
  ASSERT_TRUE(WritePagePng(d, dir.file("D.PNG"), error)) << error;
  EXPECT_EQ(test::readBytes(dir.file("D.PNG")), PagePngImage(PageBits(d), error));
}

TEST(PagePng, AFailedWriteLeavesTheOldFile) {
  test::TempDir dir;
  const std::string name = dir.file("PAGE.PNG");
  test::writeBytes(name, {'o', 'l', 'd'});
  const std::vector<uint8_t> bits = samplePage();
  for (long long n : {0LL, 8LL, 500LL}) {
    WriteFaults faults;
    faults.failAfterBytes = n;
    std::string error;
    EXPECT_FALSE(WritePagePng(bits, name, error, &faults));
    EXPECT_NE(error.find("No space left"), std::string::npos) << error;
    EXPECT_EQ(test::readText(name), "old");
  }
  std::string error;
  ASSERT_TRUE(WritePagePng(bits, name, error)) << error;
  std::string expectError;
  EXPECT_EQ(test::readBytes(name), PagePngImage(bits, expectError));
}

TEST(PagePng, AFullDeviceIsReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::vector<uint8_t> bits(3000 * 300, 0x55);
  std::string error;
  EXPECT_FALSE(WritePagePng(bits, "/dev/full", error));
  EXPECT_FALSE(error.empty());
}
