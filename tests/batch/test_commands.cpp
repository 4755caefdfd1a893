// The EBT command set on a whole application context: each command word, its argument bounds
// and how it takes the script's error flag, with the files the commands write checked byte by
// byte where the format fixes them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "FileBytes.h"
#include "ScriptCtx.h"
#include "shell/AppContext.h"
#include "shell/base/Files.h"

namespace plotane {
namespace {

const char* const kError = "Error...cannot continue:";

using test::readText;

using Ctx = test::ScriptCtx;

TEST(Commands, EveryWordOfTheTableIsKnown) {
  Ctx t;
  const std::vector<std::string> words = t.ctx.commands.words();
  EXPECT_EQ(words.size(), 67u);
  for (const std::string& w : words) {
    t.ctx.runner.setText(w + ";");
    // Known words may fail on their arguments, but never as unknown words.
    EXPECT_TRUE(t.ctx.commands.execute(t.ctx.runner, w)) << w;
  }
  EXPECT_FALSE(t.ctx.commands.execute(t.ctx.runner, "WWNOTHING"));
}

TEST(Commands, CreateAttachAndDsDirs) {
  Ctx t;
  EXPECT_TRUE(t.run("WWCREATE('$/data'); WWMKDSDIR(.RUNS); WWSETDSDIR(.RUNS);"));
  EXPECT_TRUE(fileExists(t.dir.file("data.DSF")));
  EXPECT_EQ(t.ctx.store.CurrentPath(), ".RUNS");
  EXPECT_TRUE(t.run("WWDELDSDIR(.RUNS);"));
  EXPECT_TRUE(t.run("WWATTACH('$/data');"));
  EXPECT_TRUE(t.ctx.store.attached());
  // A failing operation stops the script with the store's message first.
  t.host.clear();
  EXPECT_FALSE(t.run("WWATTACH('$/none'); WWCREATE('$/never');"));
  ASSERT_GE(t.host.messages.size(), 2u);
  EXPECT_EQ(t.host.messages.back(), kError);
  EXPECT_FALSE(fileExists(t.dir.file("never.DSF")));
}

TEST(Commands, ColumnNameSaveLoadCopyErase) {
  Ctx t;
  t.fill(0, 5);
  EXPECT_TRUE(t.run("WWCREATE('$/d'); WWCOLNAME(A, .CURVE1, 'first line', ''); WWCOLSAVE(A);"));
  EXPECT_EQ(t.col(0).info->description, "first line\\");
  EXPECT_EQ(t.ctx.worksheet.columnName(0), ".CURVE1");
  // A name without data gets a new series.
  EXPECT_TRUE(t.run("WWCOLNAME(D, X, 'a', 'b');"));
  EXPECT_TRUE(t.col(3).inUse());
  EXPECT_EQ(t.col(3).info->description, "a\\b");

  EXPECT_TRUE(t.run("@LOAD(C, .CURVE1);"));
  EXPECT_FLOAT_EQ(t.val(2, 4), 5.0f);
  EXPECT_TRUE(t.run("WWCOLCOPY(A..A, F);"));
  EXPECT_FLOAT_EQ(t.val(5, 2), 3.0f);
  EXPECT_TRUE(t.run("WWCOLERASE(A..C);"));
  EXPECT_FALSE(t.col(0).inUse());
  EXPECT_FALSE(t.col(2).inUse());
  EXPECT_TRUE(t.col(5).inUse());
  EXPECT_FALSE(t.run("@LOAD(A, .NOSUCH);"));
  EXPECT_FALSE(t.run("WWCOLCOPY(F..G, G);"));  // overlap
}

TEST(Commands, UseLimits) {
  Ctx t;
  EXPECT_TRUE(t.run("WWUSELIMS(-10, 20);"));
  EXPECT_EQ(t.ctx.worksheet.UseLow(), -10);
  EXPECT_EQ(t.ctx.worksheet.UseHigh(), 20);
  EXPECT_FALSE(t.run("WWUSELIMS(100, 50);"));
  EXPECT_EQ(t.ctx.worksheet.UseLow(), -10);
  EXPECT_EQ(t.ctx.worksheet.UseHigh(), 20);
  EXPECT_FALSE(t.run("WWUSELIMS(-399, 50);"));
  EXPECT_TRUE(t.run("WWUSELIMS(%NILOLIM, 30);"));
  EXPECT_EQ(t.ctx.worksheet.UseLow(), -10);
  t.fill(4, 7, 1, 3);
  EXPECT_TRUE(t.run("@ULIMENDS(E);"));
  EXPECT_EQ(t.ctx.worksheet.UseLow(), 3);
  EXPECT_EQ(t.ctx.worksheet.UseHigh(), 9);
  EXPECT_FALSE(t.run("@ULIMENDS(F);"));  // no series there
}

TEST(Commands, TextTablesInAndOut) {
  Ctx t;
  {
    std::ofstream(t.dir.file("in.txt"), std::ios::binary)
        << "* time\r\n* level\r\n0 1.5\r\n1 2.5\r\n";
  }
  EXPECT_TRUE(t.run("WWFILEREADTXT('$/IN', B);"));
  EXPECT_EQ(t.ctx.worksheet.columnName(1), "time");
  EXPECT_FLOAT_EQ(t.val(2, 1), 2.5f);
  EXPECT_EQ(t.ctx.worksheet.UseHigh(), 1);
  EXPECT_TRUE(t.run("WWFILEWRITEHTXT('$/out', B..C); WWFILEWRITENOHTXT('$/raw', C..C);"));
  EXPECT_EQ(readText(t.dir.file("out.TXT")),
            "*    time\r\n*    level\r\n  0.000000E+00  1.500000E+00\r\n"
            "  1.000000E+00  2.500000E+00\r\n");
  EXPECT_EQ(readText(t.dir.file("raw.TXT")), "  1.500000E+00\r\n  2.500000E+00\r\n");
  EXPECT_FALSE(t.run("WWFILEREADTXT('$/missing', A);"));
}

TEST(Commands, BinCalcWithConstantsAndColumns) {
  Ctx t;
  t.fill(1, 4);  // B = 1 2 3 4
  t.fill(2, 4, 10);
  EXPECT_TRUE(t.run("WWUSELIMS(0,3); @BINCALC(C, B, -, 2.5);"));
  EXPECT_FLOAT_EQ(t.val(2, 0), -1.5f);
  EXPECT_FLOAT_EQ(t.val(2, 3), 1.5f);
  EXPECT_TRUE(t.run("@BINCALC(D, B, X, 2.5);"));
  EXPECT_FLOAT_EQ(t.val(3, 3), float(std::pow(4.0, 2.5)));
  t.fill(2, 4, 10);
  EXPECT_TRUE(t.run("@BINCALC(E, C, /, B);"));
  EXPECT_FLOAT_EQ(t.val(4, 2), 10.0f);
  EXPECT_FALSE(t.run("@BINCALC(E, C, X, B);"));
  EXPECT_FALSE(t.run("@BINCALC(E, C, %, B);"));
  EXPECT_FALSE(t.run("@BINCALC(E, C, +, 1x);"));
  EXPECT_FALSE(t.run("@BINCALC(E, 1, +, 1);"));
}

TEST(Commands, UnaryShiftCumulate) {
  Ctx t;
  t.fill(0, 4);
  EXPECT_TRUE(t.run("WWUSELIMS(0,3); @NEGATE(B, A); @INVERT(C, A); @LN(D, A); @EXP(E, A);"));
  EXPECT_FLOAT_EQ(t.val(1, 1), -2.0f);
  EXPECT_FLOAT_EQ(t.val(2, 3), 0.25f);
  EXPECT_FLOAT_EQ(t.val(3, 2), float(std::log(3.0)));
  EXPECT_FLOAT_EQ(t.val(4, 0), float(std::exp(1.0)));
  EXPECT_TRUE(t.run("@CUMULATE(F, A);"));
  EXPECT_FLOAT_EQ(t.val(5, 3), 10.0f);
  EXPECT_TRUE(t.run("@SHIFT(G, A, 2);"));
  EXPECT_FALSE(t.run("@SHIFT(G, A, 1.5);"));
  EXPECT_FALSE(t.run("@NEGATE(B, Z);"));  // no source
}

TEST(Commands, CurveDefinitionsAndStyles) {
  Ctx t;
  t.fill(0, 10);       // X in A: indices 0..9
  t.fill(1, 10, 2);    // B
  t.fill(2, 5, 3, 3);  // C: indices 3..7
  t.fill(3, 10, 4);
  EXPECT_TRUE(
      t.run("GWCURVENEWDEF(B, A, 0, 9); GWCURVENEWDEF(C, A, 3, 7);"
            "GWCURVENEWDEF(D, A, %NILOLIM, 9);"));
  GraphDef& g = t.ctx.graph.def;
  EXPECT_EQ(g.CurveCount, 3);
  EXPECT_EQ(g.curve(3).YColumn, 3);
  EXPECT_EQ(t.col(2).xLink, &t.col(0));
  // The same Y column redefines curve 3.
  EXPECT_TRUE(t.run("GWCURVENEWDEF(D, A, 2, 4);"));
  EXPECT_EQ(g.CurveCount, 3);
  EXPECT_EQ(g.curve(3).LowIndex, 2);
  EXPECT_EQ(g.curve(3).HiIndex, 4);
  // Index bounds come from the common range.
  EXPECT_FALSE(t.run("GWCURVENEWDEF(C, A, 2, 7);"));
  EXPECT_FALSE(t.run("GWCURVENEWDEF(C, A, 5, 4);"));
  t.host.clear();
  EXPECT_FALSE(t.run("GWCURVENEWDEF(Z, A, 0, 1);"));
  EXPECT_EQ(t.host.messages.front(), "Y variable not defined");
  t.host.clear();
  EXPECT_FALSE(t.run("GWCURVENEWDEF(B, Y, 0, 1);"));
  EXPECT_EQ(t.host.messages.front(), "X variable not defined");
  t.ctx.store.NEWSERIES(t.col(8), false, "empty");
  t.host.clear();
  EXPECT_FALSE(t.run("GWCURVENEWDEF(I, A, 0, 1);"));
  EXPECT_EQ(t.host.messages.front(), "Y and X do not have indices in common");
  t.fill(7, 2, 1, 50);
  t.host.clear();
  EXPECT_FALSE(t.run("GWCURVENEWDEF(B, H, 0, 1);"));
  EXPECT_EQ(t.host.messages.front(), "Y and X do not have indices in common");

  EXPECT_TRUE(t.run("GWCURVEOLDDEF(1, B, A, 1, 2);"));
  EXPECT_EQ(g.curve(1).LowIndex, 1);
  EXPECT_FALSE(t.run("GWCURVEOLDDEF(4, B, A, 1, 2);"));

  EXPECT_TRUE(t.run("@CURVPTS(2, CSS, 5); @CURVLINE(1, DASHED, 3); @CURVLINE(3, T, 0);"));
  EXPECT_EQ(g.curve(2).CurveType, kConnectedPointsCurve);
  EXPECT_EQ(g.curve(2).PointShape, 10);
  EXPECT_EQ(g.curve(2).SizeCode, 5);
  EXPECT_EQ(g.curve(1).CurveType, kDashedCurve);
  EXPECT_EQ(g.curve(1).SizeCode, 3);
  EXPECT_EQ(g.curve(3).CurveType, kDotsCurve);
  for (const char* bad : {"@CURVPTS(2, PQX, 1);", "@CURVPTS(2, CS, 1);", "@CURVPTS(33, POC, 1);",
                          "@CURVPTS(1, POC, 10);", "@CURVLINE(1, X, 1);", "@CURVLINE(1, L, 5);"})
    EXPECT_FALSE(t.run(bad)) << bad;

  EXPECT_TRUE(t.run("GWREMOVEDEF(2);"));
  EXPECT_EQ(g.CurveCount, 2);
  EXPECT_TRUE(t.host.questions.empty());
  EXPECT_FALSE(t.run("GWREMOVEDEF(3);"));
  EXPECT_TRUE(t.run("GWSETXSTOCOLS; @FREEZESC;"));
  EXPECT_TRUE(t.ctx.graph.FreezeRequest);
}

TEST(Commands, GraphFilesRoundTrip) {
  Ctx t;
  t.ctx.graph.def.Title = "Saved title";
  t.ctx.graph.def.CornerA = {1.5, 2.5};
  EXPECT_TRUE(t.run("GWFILESAVE('$/g');"));
  std::string bytes = readText(t.dir.file("g.GRD"));
  ASSERT_GE(bytes.size(), kGraphDefSize);
  t.ctx.graph.def = GraphDef{};
  EXPECT_TRUE(t.run("GWFILELOAD('$/g'); GWSETUPDRAWGRAPH;"));
  EXPECT_EQ(t.ctx.graph.def.Title, "Saved title");
  EXPECT_DOUBLE_EQ(t.ctx.drawing->state.A.X, 1.5);
  EXPECT_DOUBLE_EQ(t.ctx.drawing->state.A.Y, 2.5);
  EXPECT_EQ(t.host.windowsShown.back(), WorkWindow::Drawing);
  EXPECT_FALSE(t.run("GWFILELOAD('$/none');"));
}

TEST(Commands, CursorMovesAndBounds) {
  Ctx t;
  Drawing& d = *t.ctx.drawing;
  EXPECT_TRUE(t.run("DWMAAF(10, 0); DWMBAF(2, 3);"));
  EXPECT_DOUBLE_EQ(d.state.A.X, 10.0);  // written without the bounds test
  EXPECT_DOUBLE_EQ(d.state.B.Y, 3.0);
  EXPECT_FALSE(t.run("DWMAAF(10.5, 1);"));
  EXPECT_TRUE(t.run("DWMAAF(1, 1); DWMARF(0.5, -0.25); DWMBRF(-1, 1);"));
  EXPECT_DOUBLE_EQ(d.state.A.X, 1.5);
  EXPECT_DOUBLE_EQ(d.state.A.Y, 0.75);
  EXPECT_DOUBLE_EQ(d.state.B.X, 1.0);
  EXPECT_DOUBLE_EQ(d.state.B.Y, 4.0);
  EXPECT_FALSE(t.run("DWMARF(10.5, 0);"));
  // Graph units through the user mapping: page = 0.5 u + 1, 0.25 v + 2.
  ASSERT_TRUE(d.SetUserTransform(0, 0, 2, 4, 1, 2, 2, 3));
  EXPECT_TRUE(t.run("DWMAAG(4, 8); DWMBAG(0, 0); DWMARG(-2, -4);"));
  EXPECT_NEAR(d.state.A.X, 2.0, 1e-9);
  EXPECT_NEAR(d.state.A.Y, 3.0, 1e-9);
  EXPECT_NEAR(d.state.B.X, 1.0, 1e-9);
  EXPECT_NEAR(d.state.B.Y, 2.0, 1e-9);
  EXPECT_TRUE(t.run("DWMBRG(2, 4);"));
  EXPECT_NEAR(d.state.B.X, 2.0, 1e-9);
  // With a logarithmic Y axis the point is read in decades.
  t.ctx.graph.def.Y.LogAxis = 1;
  EXPECT_TRUE(t.run("DWMAAG(0, 100);"));
  EXPECT_NEAR(d.state.A.Y, 2.5, 1e-9);
  EXPECT_FALSE(t.run("DWMAAG(0, 0);"));
  // Placements outside the cursor bounds are ignored.
  EXPECT_TRUE(t.run("DWMAAG(100, 1);"));
  EXPECT_NEAR(d.state.A.X, 1.0, 1e-9);
  // The cursor names read the positions.
  EXPECT_TRUE(t.run("DWMBAF(%NRCURAX, %NRCURAY);"));
  EXPECT_DOUBLE_EQ(d.state.B.X, d.state.A.X);
}

TEST(Commands, DrawingSettingsAndPrimitivesPutInk) {
  Ctx t;
  Drawing& d = *t.ctx.drawing;
  EXPECT_TRUE(t.run("DWSETLINEW(4); DWSETPOINTSIZE(-2); DWSETANGLE(-360); DWSETFONT(5);"));
  EXPECT_EQ(d.state.LineCode, 4);
  EXPECT_EQ(d.state.PointSizeCode, -2);
  EXPECT_EQ(d.state.FontCode, 5);
  EXPECT_TRUE(t.run("DWSETFONT(b);"));
  EXPECT_EQ(d.state.FontCode, 102);
  EXPECT_TRUE(t.run("DWSETFONT('v');"));
  EXPECT_EQ(d.state.FontCode, 122);
  EXPECT_TRUE(t.run("DWSETFONT(B);"));
  EXPECT_EQ(d.state.FontCode, 102);
  for (const char* bad : {"DWSETFONT(W);", "DWSETFONT(x1);", "DWSETFONT(1.5);", "DWSETLINEW(5);",
                          "DWSETPOINTSIZE(-3);", "DWSETANGLE(360.5);"})
    EXPECT_FALSE(t.run(bad)) << bad;
  EXPECT_TRUE(t.run("DWSETFONT(3);"));

  struct Case {
    const char* script;
  } cases[] = {{"DWDRAWLINE;"},     {"DWDRAWDASHED;"}, {"DWDRAWINTERMITTENT;"},
               {"DWDRAWRECT;"},     {"DWDRAWARROW;"},  {"DWDRAWNODE;"},
               {"@DRAWPOINT(SS);"}, {"@DRAWCIRCLE;"},  {"@ARCSTART; DWMBRF(1,0); @ARCFIN;"},
               {"@T('A^GaB^UC');"}};
  for (const Case& c : cases) {
    t.ctx.drawing->image().clear();
    EXPECT_TRUE(t.run(std::string("DWMAAF(3,4); DWMBAF(5,6); DWSETLINEW(2);") + c.script))
        << c.script;
    EXPECT_GT(t.ctx.drawing->image().countInk(), 50) << c.script;
    EXPECT_TRUE(t.ctx.drawing->state.PenDraw);
  }
  // Erase mode takes ink away, and @ESC returns to draw mode.
  EXPECT_TRUE(t.run("DWDRAWLINE; @E; DWDRAWLINE;"));
  EXPECT_FALSE(d.state.PenDraw);
  EXPECT_TRUE(d.state.DrawEraseMode);
  EXPECT_TRUE(t.run("@ESC;"));
  EXPECT_TRUE(d.state.PenDraw);
  EXPECT_FALSE(t.run("@DRAWPOINT(XX);"));
}

TEST(Commands, DrawingFilesAndPrinting) {
  Ctx t;
  t.ctx.printToFile = t.dir.file("page.pcl");
  EXPECT_TRUE(t.run("DWPRINT;"));
  // An empty page: start sequence, 3000 empty rows, end sequence.
  std::string expected = "\x1b*t300R\x1b*r0A";
  for (int r = 0; r < 3000; ++r) expected += std::string("\x1b*b1W\0", 6);
  expected += "\x1b*rB";
  EXPECT_EQ(readText(t.dir.file("page.pcl")), expected);

  EXPECT_TRUE(t.run("DWMAAF(1,9.99); DWMBAF(1.5,9.99); DWSETLINEW(0); DWDRAWLINE; DWPRINT;"));
  std::string pcl = readText(t.dir.file("page.pcl"));
  EXPECT_GT(pcl.size(), expected.size());

  EXPECT_TRUE(t.run("DWFILESAVE('$/pic');"));
  EXPECT_TRUE(fileExists(t.dir.file("pic.GRL")));
  EXPECT_EQ(t.ctx.drawing->state.GrlFileName, t.dir.file("pic.GRL"));
  EXPECT_NE(t.ctx.drawing->caption().find(t.dir.file("pic.GRL")), std::string::npos);
  long ink = t.ctx.drawing->image().countInk();
  EXPECT_TRUE(t.run("GWBLANKDRAWING; DWFILEOPEN('$/pic');"));
  EXPECT_EQ(t.ctx.drawing->image().countInk(), ink);
  EXPECT_FALSE(t.run("DWFILEOPEN('$/none');"));
  EXPECT_EQ(t.ctx.drawing->state.GrlFileName, "");

  // The platform printing mode goes through the Host, which has no printer here: its message,
  // then the script stops.
  t.ctx.PclPrintMode = false;
  t.host.clear();
  EXPECT_FALSE(t.run("DWPRINT;"));
  EXPECT_EQ(t.host.messages.size(), 2u);
}

TEST(Commands, WindowsDrawingLifetimeAndQuit) {
  Ctx t;
  EXPECT_TRUE(t.run("@SHOWWKSHEET; @SHOWGRDEFS; @SHOWDRAWING;"));
  EXPECT_EQ(
      t.host.windowsShown,
      (std::vector<WorkWindow>{WorkWindow::Worksheet, WorkWindow::GraphDefs, WorkWindow::Drawing}));
  EXPECT_TRUE(t.run("DWDRAWLINE; GWBLANKDRAWING;"));
  EXPECT_TRUE(t.ctx.DrawingClosed);
  EXPECT_EQ(t.ctx.drawing, nullptr);
  // The next statement finds a new, blank drawing.
  EXPECT_TRUE(t.run("DWSETLINEW(1);"));
  ASSERT_NE(t.ctx.drawing, nullptr);
  EXPECT_EQ(t.ctx.drawing->image().countInk(), 0);
  EXPECT_TRUE(t.run("DWDRAWLINE; @CLEARDRAWING;"));
  EXPECT_EQ(t.ctx.drawing->image().countInk(), 0);
  EXPECT_EQ(t.host.windowsShown.back(), WorkWindow::Drawing);

  int quits = 0;
  t.ctx.onQuit = [&] { ++quits; };
  EXPECT_TRUE(t.run("@QUIT; DWDRAWLINE;"));
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(t.ctx.QuitRequested);
  EXPECT_EQ(t.ctx.drawing->image().countInk(), 0);
}

TEST(Commands, ScriptRunningIsSetOnlyDuringAStatement) {
  Ctx t;
  t.fill(0, 3);
  // The worksheet's closing question is skipped while a statement runs.
  EXPECT_FALSE(t.ctx.ScriptRunning);
  EXPECT_TRUE(t.run("DWDRAWLINE;"));
  EXPECT_FALSE(t.ctx.ScriptRunning);
}

// Every command with arguments drawn at random from plausible and implausible values: each
// statement ends with the flags cleared. SEED=n runs a longer sequence from another seed.
TEST(Commands, RandomArgumentsNeverBreakTheContext) {
  Ctx t;
  t.ctx.printToFile = t.dir.file("random.pcl");
  t.fill(0, 20);
  t.fill(1, 20, -3);
  const std::vector<std::string> words = t.ctx.commands.words();
  const char* pool[] = {
      "A",     "B",    "C",    "SP",    "A..B", "B..A",     "0",        "1",        "-1",
      "32",    "10.5", "1E38", "-1E38", "0.0",  "%NILOLIM", "%NIUPLIM", "%NRCURAX", "'$/f'",
      "'$/g'", ".X",   "OC",   "CSS",   "PST",  "L",        "+",        "-",        "X",
      "/",     "*",    "''",   "W",     "V",    "12000",    "-398",     "1E-39",    "'^Gq^U2'"};
  // File names among the arguments are relative: they land in the temporary folder.
  struct BackHome {
    std::filesystem::path home = std::filesystem::current_path();
    ~BackHome() { std::filesystem::current_path(home); }
  } backHome;
  std::filesystem::current_path(t.dir.path());
  std::mt19937 rng(std::getenv("SEED") ? unsigned(std::atoi(std::getenv("SEED"))) : 11u);
  int succeeded = 0;
  for (int i = 0; i < (std::getenv("SEED") ? 30000 : 3000); ++i) {
    std::string statement = words[rng() % words.size()];
    int args = int(rng() % 6);
    for (int a = 0; a < args; ++a)
      statement += (a == 0 ? "(" : ",") + std::string(pool[rng() % std::size(pool)]);
    statement += args ? ");" : ";";
    succeeded += t.run(statement);
    ASSERT_FALSE(t.ctx.ScriptRunning) << statement;
    ASSERT_EQ(t.host.busyDepth, 0) << statement;
  }
  EXPECT_GT(succeeded, 150);  // enough statements get through to exercise the operations
}

}  // namespace
}  // namespace plotane
