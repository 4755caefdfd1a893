// Graph definition records and GRD files: the byte layout of the defaults, save/load round trips,
// the older formats, damaged files, curve statuses and curve deletion.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "graph/CurveList.h"
#include "graph/Graph.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

namespace {

// Little-endian bytes of a 64-bit or 32-bit pattern, written out by hand.
void put64(std::vector<uint8_t>& b, std::size_t at, uint64_t bits) {
  for (int i = 0; i < 8; ++i) b[at + std::size_t(i)] = uint8_t(bits >> (8 * i));
}
void put32(std::vector<uint8_t>& b, std::size_t at, uint32_t bits) {
  for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = uint8_t(bits >> (8 * i));
}

// The default record as the layout table states it; string tails are zero.
std::vector<uint8_t> defaultRecordByHand() {
  std::vector<uint8_t> b(1570, 0);
  for (std::size_t axis : {std::size_t(2), std::size_t(124)}) {
    put64(b, axis + 0, 0);                       // Min 0.0
    put64(b, axis + 8, 0x3FF0000000000000ull);   // Max 1.0
    put64(b, axis + 16, 0x3FB999999999999Aull);  // UnitsPerTick 0.1
    put32(b, axis + 24, 0x3D23D70Au);            // TickLength 0.04f
    put32(b, axis + 28, 0x41600000u);            // NominalTicks 14
    put32(b, axis + 32, 0x41200000u);            // TickIntervals 10
    b[axis + 39] = 1;                            // ClosedBox
    b[axis + 41] = 1;                            // TicksInside
    b[axis + 47] = 3;                            // NumberFontCode
    b[axis + 48] = 2;                            // NumberingInterval
    b[axis + 49] = 1;                            // DecimalPlaces
    b[axis + 51] = 2;                            // LineWidthCode
    b[axis + 53] = 3;                            // LabelFontCode
  }
  for (std::size_t c = 0; c < 32; ++c) {
    const std::size_t at = 246 + 12 * c;
    b[at + 0] = b[at + 1] = 0xFF;  // XColumn -1
    b[at + 2] = b[at + 3] = 0xFF;  // YColumn -1
    b[at + 6] = 1;                 // HiIndex 1
    b[at + 9] = 4;                 // PointShape circle
    b[at + 10] = 2;                // SizeCode
  }
  put64(b, 630, 0x3FF199999999999Aull);  // 1.1
  put64(b, 638, 0x4018000000000000ull);  // 6.0
  put64(b, 646, 0x401ECCCCCCCCCCCDull);  // 7.7
  put64(b, 654, 0x4023333333333333ull);  // 9.6
  b[665] = 3;
  for (std::size_t k = 0; k < 22; ++k) b[734 + 38 * k + 36] = 12;
  return b;
}

struct GrdTest : ::testing::Test {
  test::TestHost host;
  LogModel log;
  Store store{host, log};
  std::unique_ptr<Series[]> cols{new Series[510]};
  Graph graph{host, store};
  test::TempDir dir;

  GrdTest() { graph.setColumns(std::span<Series>(cols.get(), 510)); }

  void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    test::writeBytes(dir.file(name), bytes);
  }
  std::vector<uint8_t> readFile(const std::string& name) { return test::readBytes(dir.file(name)); }
  void fillColumn(int c, const char* name, int lo, int hi) {
    store.NAMEDNEWSERIES(cols[c], name, "");
    for (int i = lo; i <= hi; ++i) store.PUTVAL(cols[c], i, i * 1.5);
  }
};

TEST_F(GrdTest, DefaultsAreWrittenByteForByte) {
  graph.SaveGrd(dir.file("d.grd"), true);
  EXPECT_FALSE(store.StoreError);
  const std::vector<uint8_t> file = readFile("d.grd");
  ASSERT_EQ(file.size(), 1572u);
  EXPECT_EQ(file[0], 0xF3);
  EXPECT_EQ(file[1], 1);
  const std::vector<uint8_t> expected = defaultRecordByHand();
  for (std::size_t i = 0; i < 1570; ++i) ASSERT_EQ(file[2 + i], expected[i]) << "offset " << i;
  EXPECT_EQ(graph.GrdFileName, dir.file("d.grd"));
  EXPECT_EQ(graph.Caption, "Current Graph Definitions -- " + dir.file("d.grd"));
}

TEST_F(GrdTest, SaveAndLoadReturnTheSameRecordAndPrintMode) {
  GraphDef& g = graph.def;
  g.CurveCount = 3;
  g.curve(2) = CurveDef{5, 7, -20, 300, kConnectedPointsCurve, 11, -2, 1};
  g.Y.LogAxis = 1;
  g.Y.Min = 0.25;
  g.X.TickIntervals = 7.5f;
  g.X.Label = std::string(
      "a\x07G\x0E"
      "b^c");
  g.Title = std::string(80, 'T');  // cut to 67 on the way out
  g.LetterFonts[21] = {"Courier New", 10, 3};
  g.Landscape = 1;
  graph.SaveGrd(dir.file("r.grd"), false);
  EXPECT_EQ(readFile("r.grd")[1], 0);
  const GraphDef saved = graph.def;

  std::vector<bool> modes;
  std::vector<bool> orient;
  graph.onPrintModeLoaded = [&](bool pcl) { modes.push_back(pcl); };
  graph.onOrientation = [&](bool land) { orient.push_back(land); };
  graph.ResetGraphDefs();
  store.StoreError = true;
  graph.LoadGrd(dir.file("R.GRD"));  // found case-insensitively
  EXPECT_FALSE(store.StoreError);
  GraphDef expect = saved;
  expect.Title.resize(67);
  EXPECT_EQ(graph.def, expect);
  EXPECT_EQ(modes, std::vector<bool>{false});
  EXPECT_EQ(orient, std::vector<bool>{true});
  EXPECT_FALSE(graph.Modified());
  graph.def.curve(1).SizeCode = 5;
  EXPECT_TRUE(graph.Modified());
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(GrdTest, OlderFormatKeepsLetterFontsAndWarnsOnceAboutManualScaling) {
  std::vector<uint8_t> rec = defaultRecordByHand();
  rec[0] = 1;         // one curve
  rec[2 + 46] = 1;    // X manual
  rec[124 + 46] = 1;  // Y manual
  rec[734] = 3;       // a font name that must not be read
  std::vector<uint8_t> f2 = {0xF2, 0x55};
  f2.insert(f2.end(), rec.begin(), rec.begin() + 734);
  ASSERT_EQ(f2.size(), 736u);
  writeFile("f2.grd", f2);
  graph.def.LetterFonts[0] = {"Arial", 14, 2};
  graph.LoadGrd(dir.file("f2.grd"));
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(graph.def.CurveCount, 1);
  EXPECT_EQ(graph.def.LetterFonts[0], (LetterFontDef{"Arial", 14, 2}));
  EXPECT_TRUE(host.messages.empty());  // 0xF2 manual scaling is current

  std::vector<uint8_t> f1 = f2;
  f1[0] = 0xF1;
  writeFile("f1.grd", f1);
  graph.LoadGrd(dir.file("f1.grd"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Fix the manual scaling--it's old format");
  EXPECT_EQ(host.captions[0], "WARNING");
}

TEST_F(GrdTest, HeaderlessFileShiftsCurveTypesAfterDashed) {
  std::vector<uint8_t> rec = defaultRecordByHand();
  rec[0] = 4;
  const uint8_t types[5] = {2, 0, 1, 4, 2};  // the fifth curve is beyond the count
  for (std::size_t c = 0; c < 5; ++c) rec[246 + 12 * c + 8] = types[c];
  rec[124 + 46] = 1;  // Y manual: old meaning
  rec.resize(734);
  writeFile("old.grd", rec);
  graph.LoadGrd(dir.file("old.grd"));
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(graph.def.curve(1).CurveType, kPointsCurve);
  EXPECT_EQ(graph.def.curve(2).CurveType, kLineCurve);
  EXPECT_EQ(graph.def.curve(3).CurveType, kDashedCurve);
  EXPECT_EQ(graph.def.curve(4).CurveType, kDotsCurve);
  EXPECT_EQ(graph.def.curve(5).CurveType, 2);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Fix the manual scaling--it's old format"});
}

TEST_F(GrdTest, MissingAndDamagedFilesLeaveTheDefinitionsUnchanged) {
  graph.def.CurveCount = 2;
  graph.def.Title = "keep";
  const GraphDef before = graph.def;

  graph.LoadGrd(dir.file("none.grd"));
  EXPECT_TRUE(store.StoreError);
  EXPECT_TRUE(host.messages.empty());  // silent when it cannot be opened

  std::vector<uint8_t> good = {0xF3, 1};
  std::vector<uint8_t> rec = defaultRecordByHand();
  good.insert(good.end(), rec.begin(), rec.end());
  std::vector<uint8_t> truncated(good.begin(), good.begin() + 1000);
  std::vector<uint8_t> badCount = good;
  badCount[2] = 33;
  const std::vector<std::vector<uint8_t>> bad = {{}, truncated, {0xF2, 0, 1, 2}, {7, 7}, badCount};
  int i = 0;
  for (const auto& b : bad) {
    host.clear();
    store.StoreError = false;
    const std::string name = "bad" + std::to_string(i++) + ".grd";
    writeFile(name, b);
    graph.LoadGrd(dir.file(name));
    EXPECT_TRUE(store.StoreError) << name;
    ASSERT_EQ(host.messages.size(), 1u) << name;
    EXPECT_EQ(host.messages[0].rfind("I/O error", 0), 0u) << host.messages[0];
    EXPECT_EQ(graph.def, before) << name;
  }
  // A long string length byte is held to its field.
  rec[666] = 200;
  std::vector<uint8_t> longTitle = {0xF3, 0};
  longTitle.insert(longTitle.end(), rec.begin(), rec.end());
  writeFile("long.grd", longTitle);
  graph.LoadGrd(dir.file("long.grd"));
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(graph.def.Title.size(), 67u);
}

TEST_F(GrdTest, UnwritableFileReportsAndKeepsTheName) {
  graph.SaveGrd(dir.file("a.grd"), true);
  graph.def.TitleMode = 1;
  graph.SaveGrd(dir.file("no/such/folder/b.grd"), true);
  EXPECT_TRUE(store.StoreError);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("I/O error", 0), 0u);
  EXPECT_EQ(graph.GrdFileName, dir.file("a.grd"));
  EXPECT_TRUE(graph.Modified());
}

TEST_F(GrdTest, StartUpFileSeedsTheDefinitionsWhenPresent) {
  graph.LoadStartUpGrd(dir.path());
  EXPECT_EQ(graph.def, GraphDef{});
  EXPECT_EQ(graph.def.CornerA, (PageCorner{1.1, 6.0}));
  EXPECT_EQ(graph.def.CornerB, (PageCorner{7.7, 9.6}));
  EXPECT_EQ(graph.def.Landscape, 0);
  EXPECT_TRUE(host.messages.empty());
  graph.def.TitleMode = 1;
  graph.SaveGrd(dir.file("startup.grd"), true);
  graph.ResetGraphDefs();
  graph.LoadStartUpGrd(dir.path());
  EXPECT_EQ(graph.def.TitleMode, 1);
}

TEST_F(GrdTest, DeleteCurveThreeOfFive) {
  graph.def.CurveCount = 5;
  for (int n = 1; n <= 5; ++n) graph.def.curve(n).YColumn = int16_t(10 * n);
  graph.def.curve(32).YColumn = 99;
  int repaints = 0;
  graph.onCurveListChanged = [&] { ++repaints; };
  graph.DeleteCurve(3, false);  // answered No
  EXPECT_EQ(graph.def.CurveCount, 5);
  EXPECT_EQ(host.questions, std::vector<std::string>{"Deleting curve---Are you sure?"});
  host.answers.push_back(Answer::Yes);
  graph.DeleteCurve(3, false);
  EXPECT_EQ(graph.def.CurveCount, 4);
  const int16_t expect[4] = {10, 20, 40, 50};
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(graph.def.curve(n).YColumn, expect[n - 1]);
  EXPECT_EQ(graph.def.curve(31).YColumn, 99);
  EXPECT_EQ(graph.def.curve(32), CurveDef{});
  graph.DeleteCurve(1, true);  // a script asks nothing
  EXPECT_EQ(host.questions.size(), 2u);
  EXPECT_EQ(graph.def.curve(1).YColumn, 20);
  EXPECT_EQ(repaints, 3);
  graph.def.CurveCount = 0;
  graph.DeleteCurve(1, true);
  EXPECT_EQ(graph.def.CurveCount, 0);
}

TEST_F(GrdTest, CurveStatusFollowsTheXLinkAndIndexRanges) {
  fillColumn(0, "X", 0, 10);
  fillColumn(1, "Y", 2, 12);
  fillColumn(4, "Z", 0, 20);
  cols[1].xLink = &cols[0];
  graph.def.CurveCount = 3;
  graph.def.curve(1) = CurveDef{4, 1, 2, 10, 0, 4, 2, 0};  // file says X in column E
  graph.def.curve(2) = CurveDef{4, 1, 1, 10, 0, 4, 2, 0};  // 1 is below Y's first index
  graph.def.curve(3) = CurveDef{0, 4, 0, 5, 0, 4, 2, 0};   // Z has no X link
  graph.RefreshAllCurveStatus();
  EXPECT_TRUE(graph.Status[0].ok());
  EXPECT_EQ(graph.def.curve(1).XColumn, 0);
  EXPECT_TRUE(graph.Status[1].YDefined && graph.Status[1].XDefined);
  EXPECT_FALSE(graph.Status[1].IndexOk);
  EXPECT_TRUE(graph.Status[2].YDefined);
  EXPECT_FALSE(graph.Status[2].XDefined);
  EXPECT_TRUE(graph.Status[2].IndexOk);
  EXPECT_FALSE(graph.AllCurvesValid());
  EXPECT_FALSE(graph.CheckGraphData());
  EXPECT_EQ(host.lastMessage(), "Error in graph data specifications.");

  // Set X's to cols links Z to column A, after which the curve is complete.
  graph.SetXsToCols();
  EXPECT_EQ(cols[4].xLink, &cols[0]);
  graph.RefreshAllCurveStatus();
  EXPECT_TRUE(graph.Status[2].ok());
  graph.def.CurveCount = 1;
  EXPECT_TRUE(graph.CheckGraphData());
}

TEST_F(GrdTest, CurveListTexts) {
  fillColumn(0, "TIME", 0, 10);
  fillColumn(27, "SPEED", 0, 10);
  cols[27].xLink = &cols[0];
  graph.def.CurveCount = 2;
  graph.def.curve(1) = CurveDef{-1, 27, 0, 12, 0, 4, 2, 0};  // beyond the data
  graph.def.curve(2) = CurveDef{-1, 5, 0, 1, 0, 4, 2, 0};    // an empty column
  const CurveListEntry a = CurveListText(graph, 1);
  EXPECT_EQ(a.heading, "    Curve  1 :        LowIndex=     0      HiIndex=    12 **index error**");
  EXPECT_EQ(a.yPrefix, "        Y: AB  ");
  EXPECT_EQ(a.yName, "SPEED");
  EXPECT_EQ(a.xPrefix, "        X: A   ");  // followed the X link
  EXPECT_EQ(a.xName, "TIME");
  const CurveListEntry b = CurveListText(graph, 2);
  EXPECT_EQ(b.heading, "    Curve  2 :        LowIndex=     0      HiIndex=     1");
  EXPECT_EQ(b.yName, "***undefined***");
  EXPECT_EQ(b.xPrefix, "        X: **  ");
  EXPECT_EQ(CurveNumberLine(graph, 1), " 1       AB  A ");
  EXPECT_EQ(FindCurveWithY(graph.def, 5), 2);
  EXPECT_EQ(FindCurveWithY(graph.def, 6), 0);
  // Line width 4 shows point size 9, which in turn shows line width 3.
  const int back[5] = {0, 1, 2, 3, 3};
  for (int w = 0; w <= 4; ++w) EXPECT_EQ(LineWidthForPointSize(PointSizeForLineWidth(w)), back[w]);
}

TEST(CaretForm, ControlCharactersRoundTrip) {
  const std::string text = std::string("x\x15") + "2^y\x01" + "a";
  EXPECT_EQ(CaretForm(text), "x^U2^^y^Aa");
  EXPECT_EQ(FromCaretForm("x^U2^^y^Aa"), text);
  EXPECT_EQ(FromCaretForm("^g^n"), std::string("\x07\x0E"));
  EXPECT_EQ(CaretForm(std::string(40, '\x07')).size(), 67u);
  EXPECT_EQ(FromCaretForm(std::string(90, 'q')).size(), 67u);
}

}  // namespace
