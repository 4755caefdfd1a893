// Vector export: pages that exist partly as pixels only, the demo through the command line, PNG
// at higher resolutions, and failures that must not pass as success.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestHost.h"
#include "VectorCompare.h"
#include "drawing/Drawing.h"
#include "drawing/Text.h"

using namespace plotane;
namespace fs = std::filesystem;

namespace {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The PNG's pHYs chunk: pixels per metre in x and y, and the unit; false when it has none.
bool physOf(const std::string& png, uint32_t& x, uint32_t& y, int& unit) {
  const std::size_t at = png.find("pHYs");
  if (at == std::string::npos || at + 13 > png.size()) return false;
  auto be = [&](std::size_t p) {
    return uint32_t(uint8_t(png[p])) << 24 | uint32_t(uint8_t(png[p + 1])) << 16 |
           uint32_t(uint8_t(png[p + 2])) << 8 | uint32_t(uint8_t(png[p + 3]));
  };
  x = be(at + 4);
  y = be(at + 8);
  unit = uint8_t(png[at + 12]);
  return true;
}

// The program built beside this test (absent when the windows are not built).
std::string program() {
  std::error_code ec;
  const fs::path exe =
      fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "src" / "plotane";
  return !ec && fs::exists(exe) ? exe.string() : std::string();
}

std::string sourceDir() {
  if (const char* s = std::getenv("PLOTANE_SOURCE_DIR")) return s;
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path().parent_path();
}

int exitCode(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Export : ::testing::Test {
  test::TestHost host;
  test::TempDir dir;
  Drawing d{host};

  void scene() {
    d.DrawLine(true, 1, 1, 7, 9, LineWidthTable[2]);
    d.DrawCircle(d.pointAt({4, 5}), 1.5);
    d.DrawPointSymbol(d.pointAt({4, 5}), 10, 9);
  }
};

// Loading a GRL leaves pixels only: the list becomes one image of the page, and what is drawn
// afterwards follows it as vectors, knock-outs included.
TEST_F(Export, ALoadedGrlIsAnImageUnderTheStrokesDrawnAfterIt) {
  scene();
  d.SaveGrl(dir.file("A.GRL"));
  ASSERT_FALSE(d.state.GrlError);
  d.ResetDrawing();
  EXPECT_TRUE(d.displayList().empty());
  d.LoadGrl(dir.file("A.GRL"));
  ASSERT_FALSE(d.state.GrlError);
  const DisplayList& list = d.displayList();
  ASSERT_EQ(list.items().size(), 1u);
  EXPECT_EQ(list.items()[0].kind, DisplayItem::Image);
  EXPECT_TRUE(list.images()[0].opaque);

  d.DrawLine(true, 0.5, 9.5, 7.5, 0.5, LineWidthTable[4]);
  d.state.PenDraw = false;
  d.DrawLine(false, 0.5, 5, 7.5, 5, LineWidthTable[3]);  // cuts through the loaded ink
  d.state.PenDraw = true;
  d.DrawPointSymbol(d.pointAt({2, 3}), 6, 8);  // an unfilled square knocks out the line under it
  d.DrawPointSymbol(d.pointAt({4, 5}), 4, 9);
  ASSERT_GT(list.items().size(), 3u);
  EXPECT_EQ(list.items()[0].kind, DisplayItem::Image);
  for (std::size_t i = 1; i < list.items().size(); ++i)
    EXPECT_NE(list.items()[i].kind, DisplayItem::Image);
  test::expectVectorsMatchRaster(d, "grl-and-strokes");
}

TEST_F(Export, ABlockCopyBecomesAnImageAndALandscapePageIsTurned) {
  scene();
  d.state.A = {1, 1};
  d.state.B = {3, 3};
  ASSERT_TRUE(d.DefineBlock());
  d.state.A = {5, 1};
  d.BlockTransfer(false);
  ASSERT_EQ(d.displayList().items().size(), 1u);
  d.SetLandscape();
  d.DrawLine(true, 1, 1, 9, 7, LineWidthTable[3]);
  d.DrawArc(d.pointAt({5, 4}), 2, 0.3, 2.5);
  TextEngine text(d);
  PagePoint p = d.pointAt({1, 6});
  d.SetTextAngle(20);
  text.DrawTextString(p,
                      "Landscape x\x04"
                      "2");
  d.SetTextAngle(0);
  test::expectVectorsMatchRaster(d, "landscape-block");
}

// Connected strokes of one pen and width are one polyline: a curve of many points stays small.
TEST_F(Export, ConnectedSegmentsMergeAndTheListStaysBounded) {
  for (int i = 0; i < 1000; ++i)
    d.DrawLine(true, 1 + i * 0.006, 5 + std::sin(i * 0.05), 1 + (i + 1) * 0.006,
               5 + std::sin((i + 1) * 0.05), LineWidthTable[1]);
  ASSERT_EQ(d.displayList().items().size(), 1u);
  EXPECT_EQ(d.displayList().items()[0].count, 1001u);
  // Another width, or the same end reached backwards, is its own stroke or continues.
  d.DrawLine(true, 7, 5 + std::sin(50.0), 7.5, 5, LineWidthTable[2]);
  EXPECT_EQ(d.displayList().items().size(), 2u);

  // Far off the page a segment is cut, never kept at its full length; NaN is dropped.
  d.DrawLine(true, -1e9, 5, 1e9, 5, LineWidthTable[2]);
  const DisplayItem& cut = d.displayList().items().back();
  for (uint32_t i = 0; i < cut.count; ++i) {
    EXPECT_LE(std::fabs(d.displayList().points()[cut.first + i].x), 10);
  }
  const std::size_t n = d.displayList().items().size();
  d.DrawLine(true, std::nan(""), 1, 2, 2, LineWidthTable[2]);
  EXPECT_EQ(d.displayList().items().size(), n);
}

// A list that gave way is written as the raster itself.
TEST_F(Export, AListThatGaveWayIsWrittenAsTheRaster) {
  d.displayList() = DisplayList(64, 8);
  scene();
  for (int i = 0; i < 20; ++i)
    d.DrawLine(true, 1, 1 + 0.3 * i, 7, 2 + 0.3 * i, LineWidthTable[i % 5]);
  ASSERT_TRUE(d.displayList().overflowed());
  test::expectVectorsMatchRaster(d, "gave-way");
}

TEST_F(Export, PngAtHigherResolutionsRecordsItsDpiAndShowsThePage) {
  scene();
  TextEngine text(d);
  PagePoint p = d.pointAt({1, 2});
  text.DrawTextString(p, "Sharp at 1200 dpi");
  std::string error;
  for (int dpi : {600, 1200}) {
    const std::string png = dir.file("page" + std::to_string(dpi) + ".png");
    ASSERT_TRUE(ExportDrawing(d, VectorFormat::Png, png, dpi, error)) << error;
    const std::string bytes = readBytes(png);
    EXPECT_EQ(uint8_t(bytes[25]), 0) << "colour type: grey";
    uint32_t x = 0, y = 0;
    int unit = 0;
    ASSERT_TRUE(physOf(bytes, x, y, unit));
    EXPECT_EQ(x, dpi == 600 ? 23622u : 47244u);  // dots per inch / 0.0254
    EXPECT_EQ(y, x);
    EXPECT_EQ(unit, 1);
    const int k = dpi / 300;
    auto be32 = [&](std::size_t p) {
      return uint32_t(uint8_t(bytes[p])) << 24 | uint32_t(uint8_t(bytes[p + 1])) << 16 |
             uint32_t(uint8_t(bytes[p + 2])) << 8 | uint32_t(uint8_t(bytes[p + 3]));
    };
    EXPECT_EQ(be32(16), 2400u * unsigned(k));
    EXPECT_EQ(be32(20), 3000u * unsigned(k));
    if (dpi != 600) continue;  // the larger one is not decoded: the same drawing, twice as big
    test::GreyImage g;
    ASSERT_TRUE(test::readPng(png, g));
    ASSERT_EQ(g.width, 2400 * k);
    ASSERT_EQ(g.height, 3000 * k);
    // Brought down to 300 dpi (a pixel is ink when a third of its k x k are, as the renderers'
    // grey is taken), the ink is the raster's.
    std::vector<int> count(std::size_t(2400) * 3000, 0);
    for (int yy = 0; yy < g.height; ++yy)
      for (int xx = 0; xx < g.width; ++xx)
        if (g.at(xx, yy) < 128) ++count[std::size_t(yy / k) * 2400 + std::size_t(xx / k)];
    test::GreyImage down;
    down.width = 2400;
    down.height = 3000;
    down.v.assign(count.size(), 255);
    for (std::size_t i = 0; i < count.size(); ++i)
      if (3 * count[i] >= k * k) down.v[i] = 0;
    int w, h;
    const test::InkAgreement a = test::compareInk(test::pageInk(d, w, h), down, w, h);
    EXPECT_GE(a.share(), 0.99) << dpi;
    EXPECT_EQ(a.stray, 0) << dpi;
  }
  EXPECT_FALSE(ExportDrawing(d, VectorFormat::Png, dir.file("x.png"), 10, error));
}

// A write that fails is reported and leaves the old file as it was.
TEST_F(Export, AFailedWriteIsReportedAndKeepsTheOldFile) {
  scene();
  std::string error;
  EXPECT_FALSE(ExportDrawing(d, VectorFormat::Svg, dir.file("no/such/folder.svg"), 0, error));
  EXPECT_FALSE(error.empty());
  const std::string target = dir.file("keep.pdf");
  std::ofstream(target) << "old";
  WriteFaults faults;
  faults.failAfterBytes = 100;
  EXPECT_FALSE(ExportDrawing(d, VectorFormat::Pdf, target, 0, error, &faults));
  EXPECT_EQ(readBytes(target), "old");
  EXPECT_TRUE(ExportDrawing(d, VectorFormat::Pdf, target, 0, error)) << error;
  EXPECT_EQ(readBytes(target).substr(0, 5), "%PDF-");
}

// The demo made by the program itself: its SVG and PDF show the page its PNG shows.
TEST(ExportCommandLine, TheDemoAsSvgAndPdfShowsItsPage) {
  const std::string exe = program();
  if (exe.empty()) GTEST_SKIP() << "the program is not built";
  test::TempDir dir;
  fs::copy(sourceDir() + "/examples", dir.path(), fs::copy_options::recursive);
  const std::string cd =
      "cd '" + dir.path() + "' && '" + exe + "' --batch DEMO --print-to page.pcl ";
  ASSERT_EQ(exitCode(cd + "--png page.png --svg demo.svg --pdf demo.pdf >/dev/null 2>&1"), 0);
  ASSERT_EQ(exitCode(cd + "--png page1200.png --dpi 1200 >/dev/null 2>&1"), 0);
  // Only the three resolutions, and --dpi only with a PNG.
  EXPECT_EQ(exitCode(cd + "--png x.png --dpi 450 >/dev/null 2>&1"), 2);
  EXPECT_EQ(exitCode(cd + "--svg x.svg --dpi 600 >/dev/null 2>&1"), 2);
  EXPECT_EQ(exitCode("'" + exe + "' --svg x.svg >/dev/null 2>&1"), 2);

  test::GreyImage page;
  ASSERT_TRUE(test::readPng(dir.file("page.png"), page));
  std::vector<uint8_t> raster(page.v.size());
  for (std::size_t i = 0; i < raster.size(); ++i) raster[i] = page.v[i] < 128;
  ASSERT_EQ(test::run("xmllint --noout " + dir.file("demo.svg")), 0);
  ASSERT_EQ(test::run("rsvg-convert --dpi-x 300 --dpi-y 300 -o " + dir.file("svg.png") + " " +
                      dir.file("demo.svg")),
            0);
  ASSERT_EQ(test::run("pdftoppm -r 300 -gray -singlefile " + dir.file("demo.pdf") + " " +
                      dir.file("pdf")),
            0);
  test::GreyImage fromSvg, fromPdf;
  ASSERT_TRUE(test::readPng(dir.file("svg.png"), fromSvg));
  ASSERT_TRUE(test::readPgm(dir.file("pdf.pgm"), fromPdf));
  for (const test::GreyImage* g : {&fromSvg, &fromPdf}) {
    const test::InkAgreement a = test::compareInk(raster, *g, page.width, page.height);
    EXPECT_GT(a.rasterInk, 10000);
    EXPECT_GE(a.share(), 0.99) << a.matched << " of " << a.rasterInk;
    EXPECT_EQ(a.stray, 0) << a.stray << " of " << a.renderedInk;
  }
  uint32_t x = 0, y = 0;
  int unit = 0;
  ASSERT_TRUE(physOf(readBytes(dir.file("page1200.png")), x, y, unit));
  EXPECT_EQ(x, 47244u);
}

}  // namespace
