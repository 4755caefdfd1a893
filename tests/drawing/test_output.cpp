// PCX blocks, the PCL stream and the page image, checked byte by byte against their layouts.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "drawing/DrawingOutput.h"

using namespace plotane;

namespace {

using Bytes = std::vector<uint8_t>;

using test::readBytes;

Bytes pcxLine(const Bytes& line) {
  Bytes out;
  encodePcxLine(line.data(), int(line.size()), out);
  return out;
}

// The 128-byte header for a block of the given size, from the layout.
Bytes pcxHeader(int width, int height) {
  Bytes h(128, 0);
  h[0] = 10;
  h[1] = 5;
  h[2] = 1;
  h[3] = 1;
  h[8] = uint8_t((width - 1) & 0xFF);
  h[9] = uint8_t((width - 1) >> 8);
  h[10] = uint8_t((height - 1) & 0xFF);
  h[11] = uint8_t((height - 1) >> 8);
  h[12] = 0x2C;  // 300
  h[13] = 0x01;
  h[14] = 0x2C;
  h[15] = 0x01;
  h[19] = h[20] = h[21] = 255;  // palette colour 1 white
  h[65] = 1;
  const int bpl = (width + 7) / 8;
  h[66] = uint8_t(bpl & 0xFF);
  h[67] = uint8_t(bpl >> 8);
  h[68] = 1;
  h[70] = 0x60;  // 2400
  h[71] = 0x09;
  h[72] = 0xB8;  // 3000
  h[73] = 0x0B;
  return h;
}

Bytes concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(Pcx, RunLengthRule) {
  EXPECT_EQ(pcxLine({0x7F}), (Bytes{0xC1, 0x7F}));
  EXPECT_EQ(pcxLine({0xFF}), (Bytes{0xC1, 0xFF}));
  EXPECT_EQ(pcxLine(Bytes(10, 0xFF)), (Bytes{0xCA, 0xFF}));
  EXPECT_EQ(pcxLine(Bytes(100, 0x00)), (Bytes{0xFF, 0x00, 0xE5, 0x00}));
  EXPECT_EQ(pcxLine({0x3F}), (Bytes{0x3F}));
  EXPECT_EQ(pcxLine({0x40}), (Bytes{0xC1, 0x40}));
  EXPECT_EQ(pcxLine({0x01, 0x01, 0x3F, 0xC5}), (Bytes{0xC2, 0x01, 0x3F, 0xC1, 0xC5}));
  EXPECT_EQ(pcxLine(Bytes(64, 0x05)), (Bytes{0xFF, 0x05, 0x05}));
}

// Blocks chosen by the cursors: A (1.0, 5.0) is raster column 300, row 1500.
TEST(Pcx, WholeFilesOfSmallBlocks) {
  test::TestHost host;
  test::TempDir dir;
  Drawing d(host);
  d.HorizontalSpan(300, 1099, 1500, true);  // 800 black pixels on row 1500
  d.SetACursor(1.0, 5.0);

  // 1 x 1 black, then 1 x 1 white one column further left.
  d.SetBCursor(1.001, 5.001);
  ASSERT_TRUE(d.DefineBlock());
  ASSERT_TRUE(d.WritePcx(dir.file("ONE.PCX")));
  EXPECT_EQ(readBytes(dir.file("ONE.PCX")), concat(pcxHeader(1, 1), {0xC1, 0x7F}));
  d.SetACursor(299.0 / 300, 5.0);
  d.SetBCursor(299.0 / 300 + 0.001, 5.001);
  ASSERT_TRUE(d.DefineBlock());
  ASSERT_TRUE(d.WritePcx(dir.file("WHITE.PCX")));
  EXPECT_EQ(readBytes(dir.file("WHITE.PCX")), concat(pcxHeader(1, 1), {0xC1, 0xFF}));

  // 800 x 2: the black row (63 + 37 bytes of 00) and the white row above it.
  d.SetACursor(1.0, 5.0);
  d.SetBCursor(1099.0 / 300, 5.0 + 1.0 / 300);
  ASSERT_TRUE(d.DefineBlock());
  EXPECT_EQ(d.block().width(), 800);
  EXPECT_EQ(d.block().height(), 2);
  ASSERT_TRUE(d.WritePcx(dir.file("ROW.PCX")));
  EXPECT_EQ(readBytes(dir.file("ROW.PCX")),
            concat(pcxHeader(800, 2), {0xFF, 0xFF, 0xE5, 0xFF, 0xFF, 0x00, 0xE5, 0x00}));

  // 80 x 1 of white, and a 12-pixel block whose padding comes out white.
  d.SetACursor(1.0, 6.0);
  d.SetBCursor(379.0 / 300, 6.001);
  ASSERT_TRUE(d.DefineBlock());
  ASSERT_TRUE(d.WritePcx(dir.file("W80.PCX")));
  EXPECT_EQ(readBytes(dir.file("W80.PCX")), concat(pcxHeader(80, 1), {0xCA, 0xFF}));
  d.SetACursor(1.0, 5.0);
  d.SetBCursor(311.0 / 300, 5.001);
  ASSERT_TRUE(d.DefineBlock());
  ASSERT_TRUE(d.WritePcx(dir.file("PAD.PCX")));
  EXPECT_EQ(readBytes(dir.file("PAD.PCX")), concat(pcxHeader(12, 1), {0x00, 0x0F}));
  EXPECT_TRUE(host.messages.empty());

  // An unwritable file ends with the I/O message.
  EXPECT_FALSE(d.WritePcx(dir.file("no-folder/X.PCX")));
  EXPECT_NE(host.lastMessage().find("I/O error"), std::string::npos);
}

TEST(Pcx, OpensInImageMagick) {
  if (std::system("identify -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no identify";
  test::TestHost host;
  test::TempDir dir;
  Drawing d(host);
  d.DrawCircle(d.pointAt({2, 7}), 0.5);
  d.SetACursor(1.0, 6.0);
  d.SetBCursor(3.0, 8.0);
  ASSERT_TRUE(d.DefineBlock());
  ASSERT_TRUE(d.WritePcx(dir.file("C.PCX")));
  std::string cmd = "identify -format '%w %h' " + dir.file("C.PCX");
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buf[64] = {};
  ASSERT_NE(fgets(buf, sizeof buf, p), nullptr);
  pclose(p);
  EXPECT_EQ(std::string(buf), "601 601");
}

TEST(Pcl, StreamOfAnEmptyPage) {
  test::TestHost host;
  Drawing d(host);
  MemorySink sink;
  ASSERT_TRUE(d.WritePcl(sink));
  Bytes want = {0x1B, 0x2A, 0x74, 0x33, 0x30, 0x30, 0x52, 0x1B, 0x2A, 0x72, 0x30, 0x41};
  for (int r = 0; r < 3000; ++r) want.insert(want.end(), {0x1B, 0x2A, 0x62, 0x31, 0x57, 0x00});
  want.insert(want.end(), {0x1B, 0x2A, 0x72, 0x42});
  EXPECT_EQ(sink.bytes, want);
}

TEST(Pcl, RowsAreCutAfterTheirLastInk) {
  test::TestHost host;
  test::TempDir dir;
  Drawing d(host);
  d.image().row(0)[0] = 0x80;
  d.image().row(1)[299] = 0x01;
  d.image().row(2)[41] = 0x10;
  MemorySink sink;
  ASSERT_TRUE(d.WritePcl(sink));
  Bytes want = {0x1B, 0x2A, 0x74, 0x33, 0x30, 0x30, 0x52, 0x1B, 0x2A, 0x72, 0x30, 0x41};
  want.insert(want.end(), {0x1B, 0x2A, 0x62, 0x31, 0x57, 0x80});
  want.insert(want.end(), {0x1B, 0x2A, 0x62, 0x33, 0x30, 0x30, 0x57});
  want.insert(want.end(), 299, 0x00);
  want.push_back(0x01);
  want.insert(want.end(), {0x1B, 0x2A, 0x62, 0x34, 0x32, 0x57});
  want.insert(want.end(), 41, 0x00);
  want.push_back(0x10);
  for (int r = 3; r < 3000; ++r) want.insert(want.end(), {0x1B, 0x2A, 0x62, 0x31, 0x57, 0x00});
  want.insert(want.end(), {0x1B, 0x2A, 0x72, 0x42});
  EXPECT_EQ(sink.bytes, want);

  // The same stream to a file, and printing in landscape prints the same page.
  d.SetLandscape();
  ASSERT_TRUE(PrintPclToFile(d, dir.file("PAGE.PCL")));
  EXPECT_EQ(readBytes(dir.file("PAGE.PCL")), want);
  EXPECT_FALSE(PrintPclToFile(d, dir.file("no-folder/PAGE.PCL")));
  EXPECT_NE(host.lastMessage().find("I/O error"), std::string::npos);
}

// A queue that does not exist (or no print server at all) is the printing service's error.
TEST(Pcl, MissingPrinterIsReportedNotFatal) {
  test::TestHost host;
  Drawing d(host);
  EXPECT_FALSE(PrintPclToCups(d, "plotane-no-such-queue"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].empty());
  EXPECT_EQ(host.busyDepth, 0);
}

TEST(PageImage, PbmOfThePage) {
  test::TestHost host;
  test::TempDir dir;
  Drawing d(host);
  d.image().row(2999)[299] = 0x01;
  ASSERT_TRUE(WritePagePbm(d, dir.file("PAGE.PBM")));
  Bytes f = readBytes(dir.file("PAGE.PBM"));
  const std::string head = "P4\n2400 3000\n";
  ASSERT_EQ(f.size(), head.size() + 900000);
  EXPECT_EQ(std::string(f.begin(), f.begin() + long(head.size())), head);
  EXPECT_EQ(f.back(), 0x01);
  Bytes bits = PageBits(d);
  EXPECT_EQ(bits.size(), 900000u);
  EXPECT_EQ(bits.back(), 0x01);
}

// The Print command follows the printing mode: PCL to the named file, or the page bitmap handed
// to the platform printing service.
TEST(Print, ModeChoosesTheWay) {
  struct PrintingHost : test::TestHost {
    std::vector<uint8_t> page;
    std::string file;
    bool printPage(const std::vector<uint8_t>& bits, const std::string& toFile, bool) override {
      page = bits;
      file = toFile;
      return true;
    }
  } host;
  test::TempDir dir;
  Drawing d(host);
  d.image().row(7)[3] = 0x20;
  ASSERT_TRUE(PrintDrawing(d, true, dir.file("OUT.PCL")));
  MemorySink sink;
  d.WritePcl(sink);
  EXPECT_EQ(readBytes(dir.file("OUT.PCL")), sink.bytes);
  ASSERT_TRUE(PrintDrawing(d, false, dir.file("OUT.PDF")));
  EXPECT_EQ(host.file, dir.file("OUT.PDF"));
  ASSERT_EQ(host.page.size(), 900000u);
  EXPECT_EQ(host.page[7 * 300 + 3], 0x20);
  EXPECT_EQ(host.busyDepth, 0);
}
