// What the graph definitions dialogs show and accept: curve number, curve range, curve style,
// axis and graph attributes, font code lists, the curve list texts and the close question.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestHost.h"
#include "graph/CurveList.h"
#include "graph/Graph.h"
#include "graph/GraphForms.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

namespace plotane {
namespace {

TEST(CurveNumber, LeadingDigitsWithinTheCurveCount) {
  EXPECT_EQ(ParseCurveNumber(" 3       B   A ", 5), 3);
  EXPECT_EQ(ParseCurveNumber("12x", 12), 12);
  EXPECT_EQ(ParseCurveNumber("12", 11), 0);
  EXPECT_EQ(ParseCurveNumber(" 0", 5), 0);
  EXPECT_EQ(ParseCurveNumber("", 5), 0);  // an empty list
  EXPECT_EQ(ParseCurveNumber("  x2", 5), 0);
  EXPECT_EQ(ParseCurveNumber("99999999999", 32), 0);
}

TEST(CurveRange, OfferedRangeAndChecks) {
  int low = 0, high = 1;  // inside the common range 10..40: kept
  CurveRangeForm f = CurveRangeFormFor(1, 10, 50, 0, 0, 40, low, high);
  EXPECT_EQ(low, 10);  // 0 is below the common range: the common range is offered
  EXPECT_EQ(high, 40);
  EXPECT_EQ(f.yLine, "Y series:  B        10           50");
  EXPECT_EQ(f.xLine, "X series:  A         0           40");
  EXPECT_EQ(f.from, "     10");
  EXPECT_EQ(f.to, "     40");
  low = 15;
  high = 20;
  CurveRangeFormFor(1, 10, 50, 0, 0, 40, low, high);
  EXPECT_EQ(low, 15);
  EXPECT_EQ(high, 20);

  f.from = "12";
  f.to = " 30 ";
  EXPECT_EQ(AcceptCurveRange(f, low, high), RangeCheck::Ok);
  EXPECT_EQ(low, 12);
  EXPECT_EQ(high, 30);
  f.from = "1.5";
  EXPECT_EQ(AcceptCurveRange(f, low, high), RangeCheck::NotInteger);
  f.from = "9";  // below the common range
  EXPECT_EQ(AcceptCurveRange(f, low, high), RangeCheck::Beyond);
  f.from = "31";  // from > to
  EXPECT_EQ(AcceptCurveRange(f, low, high), RangeCheck::Beyond);
  f.from = "10";
  f.to = "41";
  EXPECT_EQ(AcceptCurveRange(f, low, high), RangeCheck::Beyond);
  EXPECT_EQ(low, 12);  // refusals keep the range
  EXPECT_STREQ(kRangeBeyond, "Curve range beyond series reange(s)!");
}

// A graph over a worksheet, as the application context joins them.
struct GraphOverSheet {
  test::TestHost host;
  LogModel log;
  Store store{host, log};
  Worksheet worksheet{store, host, log};
  Graph graph{host, store};
  GraphOverSheet() { graph.setColumns(worksheet.columns()); }
};

struct StyleCtx : ::testing::Test {
  GraphOverSheet ctx;
  GraphDef& def = ctx.graph.def;
  StyleCtx() {
    ctx.store.NAMEDNEWSERIES(ctx.worksheet.column(0), "XS", "x values");
    ctx.store.NAMEDNEWSERIES(ctx.worksheet.column(1), "YS", "y values");
    for (int i = 0; i < 5; ++i) {
      ctx.store.PUTVAL(ctx.worksheet.column(0), i, float(i));
      ctx.store.PUTVAL(ctx.worksheet.column(1), i, float(i * i));
    }
    def.CurveCount = 3;
    def.curve(2).YColumn = 1;
    def.curve(2).XColumn = 0;
    ctx.worksheet.column(1).xLink = &ctx.worksheet.column(0);
  }
};

TEST_F(StyleCtx, CurveStyleShowsTheCurveAndMapsShapes) {
  def.curve(2).CurveType = kConnectedPointsCurve;
  def.curve(2).PointShape = 10;  // solid square
  def.curve(2).SizeCode = 5;
  def.curve(2).BarCurve = 3;
  CurveStyleForm f = CurveStyleFormFor(ctx.graph, 2);
  EXPECT_EQ(f.heading, "Curve 2");
  EXPECT_EQ(f.yLine.substr(0, 7), "Y:B  = ");
  EXPECT_NE(f.yLine.find("YS"), std::string::npos);
  EXPECT_EQ(f.xLine.substr(0, 7), "X:A  = ");
  EXPECT_EQ(f.curveType, 4);
  EXPECT_EQ(f.pointSize, " 5");
  EXPECT_EQ(f.lineWidth, "3");  // 5 shown as its line width equivalent
  EXPECT_EQ(f.shapeIndex, 10);
  EXPECT_EQ(f.barItems, (std::vector<std::string>{"none", "  1", "  3"}));
  EXPECT_EQ(f.barIndex, 2);

  // The shape order of the radio group.
  const int codes[12] = {4, 5, 6, 7, 0, 1, 2, 3, 8, 9, 10, 11};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(PointShapeOfIndex(i), codes[i]);
    EXPECT_EQ(IndexOfPointShape(codes[i]), i);
  }

  // A dashed line with solid squares: the shape is kept; the width code is checked.
  CurveDef c = def.curve(2);
  f.curveType = kDashedCurve;
  f.lineWidth = "4";
  f.shapeIndex = 0;
  f.barIndex = 0;
  ASSERT_TRUE(AcceptCurveStyle(f, c));
  EXPECT_EQ(c.CurveType, kDashedCurve);
  EXPECT_EQ(c.SizeCode, 4);
  EXPECT_EQ(c.PointShape, 10);
  EXPECT_EQ(c.BarCurve, 0);
  f.lineWidth = "5";
  EXPECT_FALSE(AcceptCurveStyle(f, c));
  f.curveType = kPointsCurve;
  f.pointSize = "-3";
  EXPECT_FALSE(AcceptCurveStyle(f, c));
  f.pointSize = "-2";
  f.shapeIndex = 4;  // plusses
  f.barIndex = 1;
  ASSERT_TRUE(AcceptCurveStyle(f, c));
  EXPECT_EQ(c.SizeCode, -2);
  EXPECT_EQ(c.PointShape, 0);
  EXPECT_EQ(c.BarCurve, 1);
}

TEST_F(StyleCtx, LineCurveShowsThePointSizeEquivalent) {
  def.curve(1).CurveType = kLineCurve;
  def.curve(1).SizeCode = 3;
  CurveStyleForm f = CurveStyleFormFor(ctx.graph, 1);
  EXPECT_EQ(f.lineWidth, "3");
  EXPECT_EQ(f.pointSize, " 8");
  EXPECT_EQ(f.yLine, "Y:** = ***undefined***");
  EXPECT_FALSE(UsesPointControls(f.curveType));
  EXPECT_TRUE(UsesPointControls(kPointsCurve));
}

TEST_F(StyleCtx, CurveListLinesAndIndexError) {
  def.curve(2).LowIndex = 0;
  def.curve(2).HiIndex = 9;  // beyond both series
  CurveListEntry e = CurveListText(ctx.graph, 2);
  EXPECT_EQ(e.heading, "    Curve  2 :        LowIndex=     0      HiIndex=     9 **index error**");
  EXPECT_EQ(e.yPrefix, "        Y: B   ");
  EXPECT_NE(e.yName.find("YS"), std::string::npos);
  e = CurveListText(ctx.graph, 3);
  EXPECT_EQ(e.xPrefix, "        X: **  ");
  EXPECT_EQ(e.yName, "***undefined***");
  EXPECT_EQ(e.xName, "***undefined***");
  EXPECT_EQ(CurveListHeight(def), 192);
  EXPECT_EQ(CurveNumberLines(ctx.graph),
            (std::vector<std::string>{" 1       **  **", " 2       B   A ", " 3       **  **"}));
}

TEST(AxisForm, OpensFromTheRecord) {
  AxisDef a;
  a.ManualScaling = 1;
  a.MinUserSpec = 1;
  a.TickLength = 0.05f;
  a.Label = std::string("x") + char(1) + "^";
  AxisForm f = AxisFormFor(a);
  EXPECT_EQ(f.minimum, 2);
  EXPECT_EQ(f.maximum, 0);
  EXPECT_EQ(f.min.size(), 14u);
  EXPECT_EQ(f.tickLength, "    0.0500");
  EXPECT_EQ(f.nominalTicks, "  14.0");
  EXPECT_EQ(f.numberingInterval, " 2");
  EXPECT_EQ(f.axisStyle, 1);
  EXPECT_EQ(f.label, "x^A^^");
  a.GridLines = 1;
  a.TenToPower = 1;
  a.DecadesOnly = 1;
  EXPECT_EQ(AxisFormFor(a).axisStyle, 2);
  EXPECT_EQ(AxisFormFor(a).logNumbering, 3);
}

TEST(AxisForm, VisibilityRules) {
  AxisForm f;
  f.axisType = 1;
  AxisVisibility v = ApplyAxisRules(f);
  EXPECT_FALSE(v.minEdit);
  EXPECT_FALSE(v.maxEdit);
  EXPECT_TRUE(v.logNumbering);
  EXPECT_FALSE(v.label);
  f.minimum = 2;  // manual scaling: linear only, no maximum, the manual box
  f.maximum = 1;
  v = ApplyAxisRules(f);
  EXPECT_EQ(f.axisType, 0);
  EXPECT_TRUE(v.minEdit && v.manualBox);
  EXPECT_FALSE(v.maxEdit || v.nominalBox || v.maximumGroup || v.logNumbering);
  f.minimum = 1;
  f.linNumbering = 1;
  f.labelMode = 1;
  v = ApplyAxisRules(f);
  EXPECT_TRUE(v.minEdit && v.maxEdit && v.label);
  EXPECT_FALSE(v.numberFont);
}

TEST(AxisForm, LogAxisTenToPowerWithAUserMinimum) {
  AxisDef a;
  AxisForm f = AxisFormFor(a);
  f.axisType = 1;
  f.logNumbering = 2;
  f.minimum = 1;
  f.min = "0.01";
  f.labelMode = 1;
  f.label = "^Ay";
  std::string err;
  ASSERT_TRUE(AcceptAxis(f, a, err));
  EXPECT_EQ(a.LogAxis, 1);
  EXPECT_EQ(a.TenToPower, 1);
  EXPECT_EQ(a.DecadesOnly, 0);
  EXPECT_EQ(a.NumbersSuppressed, 0);
  EXPECT_EQ(a.MinUserSpec, 1);
  EXPECT_EQ(a.MaxUserSpec, 0);
  EXPECT_DOUBLE_EQ(a.Min, 0.01);
  EXPECT_EQ(a.Label, std::string(1, char(1)) + "y");

  // Each log numbering style maps onto its flags.
  const uint8_t flags[5][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}};
  for (int k = 0; k < 5; ++k) {
    f.logNumbering = k;
    ASSERT_TRUE(AcceptAxis(f, a, err));
    EXPECT_EQ(a.NumbersSuppressed, flags[k][0]) << k;
    EXPECT_EQ(a.TenToPower, flags[k][1]) << k;
    EXPECT_EQ(a.DecadesOnly, flags[k][2]) << k;
    EXPECT_EQ(AxisFormFor(a).logNumbering, k);
  }
  // A linear axis sets only the suppression and keeps its log flags.
  f.axisType = 0;
  f.linNumbering = 1;
  ASSERT_TRUE(AcceptAxis(f, a, err));
  EXPECT_EQ(a.NumbersSuppressed, 1);
  EXPECT_EQ(a.DecadesOnly, 1);
}

TEST(AxisForm, RefusalsKeepTheRecord) {
  AxisDef a;
  const AxisDef before = a;
  AxisForm f = AxisFormFor(a);
  std::string err;
  f.tickLength = "0,5";
  EXPECT_FALSE(AcceptAxis(f, a, err));
  EXPECT_EQ(err, "Numerical format error");
  f = AxisFormFor(a);
  f.numberingInterval = "x";
  EXPECT_FALSE(AcceptAxis(f, a, err));
  EXPECT_EQ(err, "Numerical format error");
  f = AxisFormFor(a);
  f.minimum = 1;
  f.maximum = 1;
  f.min = "5";
  f.max = "5";
  EXPECT_FALSE(AcceptAxis(f, a, err));
  EXPECT_EQ(err, "Min >= Max; change values!");
  EXPECT_EQ(a, before);
  // Manual scaling drops the user maximum, so no such check.
  f.minimum = 2;
  f.axisType = 1;
  ASSERT_TRUE(AcceptAxis(f, a, err));
  EXPECT_EQ(a.ManualScaling, 1);
  EXPECT_EQ(a.MinUserSpec, 1);
  EXPECT_EQ(a.MaxUserSpec, 0);
  EXPECT_EQ(a.LogAxis, 0);
}

TEST(GraphForm, CornersTitleAndOrientation) {
  GraphDef g;
  GraphForm f = GraphFormFor(g);
  EXPECT_EQ(f.ax, "     1.100");
  EXPECT_EQ(f.by, "     9.600");
  GraphForm swapped = f;
  SwapCornerTexts(swapped);
  EXPECT_EQ(swapped.ax, f.ay);
  EXPECT_EQ(swapped.bx, f.by);
  SwapCornerTexts(swapped);
  EXPECT_EQ(swapped.ax, f.ax);
  EXPECT_EQ(swapped.by, f.by);

  f.titleMode = 1;
  f.title = "Run ^B";
  f.titleFontCode = 105;
  f.scaling = 1;
  std::string err;
  ASSERT_TRUE(AcceptGraph(f, g, err));
  EXPECT_EQ(g.Title, std::string("Run ") + char(2));
  EXPECT_EQ(g.TitleMode, 1);
  EXPECT_EQ(g.TitleFontCode, 105);
  EXPECT_EQ(g.EqualScale, 1);

  const GraphDef before = g;
  f.bx = "8.5";  // beyond a portrait page
  EXPECT_FALSE(AcceptGraph(f, g, err));
  EXPECT_EQ(err, "Error in graph position coordinates");
  f.bx = "abc";
  EXPECT_FALSE(AcceptGraph(f, g, err));
  f.bx = "7.998";  // on the page, but past where the B cursor can go
  EXPECT_FALSE(AcceptGraph(f, g, err));
  EXPECT_EQ(err.rfind("Error in graph position coordinates", 0), 0u);
  EXPECT_NE(err.find("7.994"), std::string::npos);
  EXPECT_EQ(g, before);
  // Landscape: X up to 10 (the cursors to 9.994), Y up to 8.
  f.orientation = 1;
  f.bx = "9.5";
  f.by = "7.5";
  ASSERT_TRUE(AcceptGraph(f, g, err));
  EXPECT_EQ(g.Landscape, 1);
  EXPECT_DOUBLE_EQ(g.CornerB.X, 9.5);
  f.by = "8.5";
  EXPECT_FALSE(AcceptGraph(f, g, err));
}

TEST(FontCodes, StrokeFontsThenUsedLetterSlots) {
  GraphDef g;
  g.LetterFonts[1].name = "Serif";  // slot 2, letter B
  g.LetterFonts[1].size = 14;
  std::vector<std::string> items = FontCodeItems(g);
  ASSERT_EQ(items.size(), 13u);
  EXPECT_EQ(items[0], "-2  (  7)");
  EXPECT_EQ(items[2], "  0  (  9)");
  EXPECT_EQ(items[11], "  9  (29)");
  EXPECT_EQ(items[12], "B  (14)");
  EXPECT_EQ(FontCodeIndex(items, 3), 5);
  EXPECT_EQ(FontCodeIndex(items, -2), 0);
  EXPECT_EQ(FontCodeIndex(items, 102), 12);
  EXPECT_EQ(FontCodeOfItem(items, 12), 102);
  for (int c = -2; c <= 9; ++c) EXPECT_EQ(FontCodeOfItem(items, FontCodeIndex(items, c)), c);
}

TEST(IntField, OnlyWholeNumbers) {
  int v = 0;
  EXPECT_TRUE(ParseIntField("  -2 ", -2, 9, v));
  EXPECT_EQ(v, -2);
  EXPECT_FALSE(ParseIntField("", 0, 4, v));
  EXPECT_FALSE(ParseIntField("-", 0, 4, v));
  EXPECT_FALSE(ParseIntField("2.0", 0, 4, v));
  EXPECT_FALSE(ParseIntField("5", 0, 4, v));
  EXPECT_FALSE(ParseIntField("99999999999999999999", -100, 100, v));
}

struct CloseCtx : ::testing::Test {
  test::TempDir dir;
  GraphOverSheet ctx;
  test::TestHost& host = ctx.host;
  Graph& graph = ctx.graph;
  int saves = 0;
  bool saveWorks = true;
  std::function<bool()> save = [this] {
    ++saves;
    if (!saveWorks) return false;
    graph.SaveGrd(dir.file("out.GRD"), true);
    return !ctx.store.StoreError;
  };
};

TEST_F(CloseCtx, QuestionOnlyWhenChangedAndNotScripted) {
  EXPECT_TRUE(GraphMayClose(graph, false, save));
  EXPECT_TRUE(host.questions.empty());
  graph.def.Title = "changed";
  EXPECT_TRUE(GraphMayClose(graph, true, save));
  EXPECT_TRUE(host.questions.empty());

  host.answers = {Answer::Cancel};
  EXPECT_FALSE(GraphMayClose(graph, false, save));
  EXPECT_EQ(host.questions.back(), "Closing window --- Graph defs have been changed--SAVE?");
  EXPECT_EQ(graph.def.Title, "changed");

  // Yes with a cancelled save dialog keeps the window and the definitions.
  host.answers = {Answer::Yes};
  saveWorks = false;
  EXPECT_FALSE(GraphMayClose(graph, false, save));
  EXPECT_EQ(graph.def.Title, "changed");
  EXPECT_TRUE(graph.Modified());

  // No: the window may close; nothing is reset until the close happens.
  host.answers = {Answer::No};
  EXPECT_TRUE(GraphMayClose(graph, false, save));
  EXPECT_EQ(graph.def.Title, "changed");
  EXPECT_TRUE(graph.Modified());  // asked again if another window keeps the program open

  host.answers = {Answer::Yes};
  saveWorks = true;
  EXPECT_TRUE(GraphMayClose(graph, false, save));
  EXPECT_FALSE(graph.Modified());
}

TEST_F(CloseCtx, CommitCloseBringsBackTheStartUpDefinitions) {
  graph.def.Title = "start";
  graph.SaveGrd(dir.file("startup.grd"), true);  // found whatever its case
  graph.def.Title = "later";
  graph.def.CurveCount = 0;
  GraphCommitClose(graph, true, dir.path());  // a script's close changes nothing
  EXPECT_EQ(graph.def.Title, "later");
  GraphCommitClose(graph, false, dir.path());
  EXPECT_EQ(graph.def.Title, "start");
  EXPECT_FALSE(graph.Modified());
  GraphCommitClose(graph, false, dir.file("nowhere"));
  EXPECT_EQ(graph.def, GraphDef{});
}

}  // namespace
}  // namespace plotane
