// Script commands that must neither misplace their work nor pass a failure as success: the text
// command's placement, the graph command's duties around the rendering, printing failures, the
// reason a statement gives when it has no message of its own, names and DSDirs that would lose
// saved data, and a load that must not empty its column when it cannot succeed.
#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptCtx.h"
#include "drawing/DrawingOutput.h"
#include "shell/AppContext.h"
#include "shell/base/Files.h"

namespace plotane {
namespace {

const char* const kError = "Error...cannot continue:";
const char* const kDataCheck = "Error in graph data specifications.";

struct Ctx : test::ScriptCtx {
  // A graph of B over A (indices 0..9) between the cursors (1.5, 2) and (6.5, 7).
  void curve() {
    fill(0, 10);
    fill(1, 10, 2);
    ASSERT_TRUE(run("GWCURVENEWDEF(B, A, 0, 9); DWMAAF(1.5, 2); DWMBAF(6.5, 7);"));
  }
  long ink() { return ctx.drawing->image().countInk(); }
};

// ---- @T ----

// The text stands with its baseline half a character height below the A-cursor (a quarter of a
// text unit, two of which make the character height), across the text's direction. Expected
// pages are the same text drawn by the text engine at the hand-computed baseline point.
TEST(TextCommand, BaselineIsAQuarterTextUnitBelowTheCursor) {
  struct Case {
    int font;
    double charSize;  // inches, by the font table
    double angle;
    double dx, dy;  // the baseline point from the A-cursor
  } cases[] = {{3, 0.1, 0, 0, -0.05},
               {9, 0.25, 0, 0, -0.125},
               {5, 0.125, 90, 0.0625, 0},
               {3, 0.1, 180, 0, 0.05}};
  for (const Case& c : cases) {
    const std::string settings = "DWSETFONT(" + std::to_string(c.font) + "); DWSETANGLE(" +
                                 std::to_string(c.angle) + "); DWMAAF(3, 5);";
    Ctx t;
    ASSERT_TRUE(t.run(settings + "@T('Hj1');"));
    EXPECT_DOUBLE_EQ(t.ctx.drawing->state.CharSize, c.charSize);

    Ctx hand;
    ASSERT_TRUE(hand.run(settings));
    Drawing& d = *hand.ctx.drawing;
    PagePoint p;
    d.SetPointPage(p, 3 + c.dx, 5 + c.dy);
    hand.ctx.textEngine().DrawTextString(p, "Hj1");
    ASSERT_GT(hand.ink(), 100);
    EXPECT_TRUE(PageBits(*t.ctx.drawing) == PageBits(d))
        << "font " << c.font << " angle " << c.angle;
  }
}

// The lowest ink of an "H" (no descender) is its baseline: with the cursor at 5 inches and font
// 9 (0.25 inch characters) the baseline is at 4.875 inches, page row 3000 - 4.875 x 300, give
// or take half the width of the font's strokes (a few pixels). Today's fault put it 28 rows
// higher.
TEST(TextCommand, LetterStandsOnTheBaselineRow) {
  Ctx t;
  ASSERT_TRUE(t.run("DWSETFONT(9); DWMAAF(3, 5); @T('H');"));
  const DrawingImage& img = t.ctx.drawing->image();
  int lowest = -1;
  for (int r = 0; r < kRasterRows; ++r)
    for (int b = 0; b < kRasterRowBytes; ++b)
      if (img.row(r)[b]) lowest = r;
  EXPECT_NEAR(lowest, 3000 - 4.875 * 300, 4.0);
}

// ---- DWDRAWGRAPH ----

TEST(GraphCommand, CurvesOnEmptyColumnsAreRefusedByTheDataCheck) {
  Ctx t;
  t.curve();
  ASSERT_TRUE(t.run("GWFILESAVE('$/g'); WWCOLERASE(A..B); GWFILELOAD('$/g');"));
  t.host.clear();
  EXPECT_FALSE(t.run("DWDRAWGRAPH;"));
  // The check's own message, not a scaling error, and nothing drawn.
  EXPECT_EQ(t.host.messages, (std::vector<std::string>{kDataCheck, kError}));
  EXPECT_EQ(t.ink(), 0);
}

TEST(GraphCommand, StatusesAreComputedAfreshBeforeTheCheck) {
  Ctx t;
  t.curve();
  // The X column erased after the curve was defined.
  ASSERT_TRUE(t.run("WWCOLERASE(A..A);"));
  t.host.clear();
  EXPECT_FALSE(t.run("DWDRAWGRAPH;"));
  EXPECT_EQ(t.host.messages.front(), kDataCheck);
  EXPECT_EQ(t.ink(), 0);
}

TEST(GraphCommand, AYSeriesWithoutAnXLinkIsRefused) {
  Ctx t;
  t.curve();
  t.col(1).xLink = nullptr;
  t.host.clear();
  EXPECT_FALSE(t.run("DWDRAWGRAPH;"));
  EXPECT_EQ(t.host.messages.front(), kDataCheck);
  EXPECT_FALSE(t.ctx.graph.Status[0].XDefined);
  EXPECT_EQ(t.ink(), 0);
  // Linked again, the same graph draws.
  EXPECT_TRUE(t.run("GWSETXSTOCOLS; DWDRAWGRAPH;"));
  EXPECT_GT(t.ink(), 1000);
}

TEST(GraphCommand, DrawnInInkAfterEraseModeAndThePenIsUpAfterwards) {
  Ctx plain;
  plain.curve();
  ASSERT_TRUE(plain.run("DWDRAWGRAPH;"));
  Ctx t;
  t.curve();
  EXPECT_TRUE(t.run("@E; DWDRAWGRAPH;"));
  EXPECT_GT(t.ink(), 1000);
  EXPECT_TRUE(PageBits(*t.ctx.drawing) == PageBits(*plain.ctx.drawing));
  EXPECT_TRUE(t.ctx.drawing->state.PenDraw);
  EXPECT_FALSE(t.ctx.drawing->state.DrawEraseMode);
}

TEST(GraphCommand, AGraphThatShowedAnErrorStopsTheScript) {
  Ctx none;
  EXPECT_FALSE(none.run("DWDRAWGRAPH; DWDRAWLINE;"));
  EXPECT_EQ(none.host.messages, (std::vector<std::string>{"No curves defined", kError}));

  Ctx nil;
  nil.curve();
  nil.host.clear();
  EXPECT_FALSE(nil.run("DWMAAF(5, 5); DWMBAF(1, 1); DWDRAWGRAPH;"));
  EXPECT_EQ(nil.host.messages,
            (std::vector<std::string>{"Cursors positioned for nil graph", kError}));

  // A logarithmic axis with user limits reads no data while scaling: a value at or below zero
  // stops the graph without a message of its own, so the script says why.
  Ctx log;
  log.curve();
  log.ctx.store.PUTVAL(log.col(1), 4, -2.0);
  GraphDef& g = log.ctx.graph.def;
  g.Y.LogAxis = 1;
  g.Y.MinUserSpec = g.Y.MaxUserSpec = 1;
  g.Y.Min = 1;
  g.Y.Max = 100;
  log.host.clear();
  EXPECT_FALSE(log.run("DWDRAWGRAPH;"));
  EXPECT_EQ(log.ctx.runner.reason(), "curve 1 has -2 at index 4 on the logarithmic Y axis");
}

// ---- DWPRINT ----

TEST(PrintCommand, APageNotPrintedStopsTheScript) {
  Ctx t;
  t.ctx.printToFile = t.dir.file("no/such/folder/page.pcl");
  EXPECT_FALSE(t.run("DWPRINT; DWDRAWLINE;"));
  EXPECT_EQ(t.host.messages.size(), 2u);  // the file check's message, then the script's
  EXPECT_EQ(t.host.lastMessage(), kError);
  EXPECT_EQ(t.ink(), 0);
  // The platform printing service, which this host does not have.
  Ctx w;
  w.ctx.PclPrintMode = false;
  EXPECT_FALSE(w.run("DWPRINT;"));
  EXPECT_EQ(w.host.messages.size(), 2u);
}

// ---- Reasons given by the commands themselves ----

TEST(CommandReasons, RefusalsWithoutAMessageSayWhy) {
  Ctx t;
  t.fill(0, 10000);
  t.fill(1, 10000, 2);
  struct Case {
    const char* script;
    const char* reason;
  } cases[] = {
      {"GWCURVENEWDEF(B, A, 0, 10000);", "argument 4: 10000 is above the last common index 9999"},
      {"GWCURVENEWDEF(B, A, 5, 4);", "argument 4: 4 is below the first index 5"},
      {"@BINCALC(C, B, Q, 2);", "argument 3: \"Q\" is not an operation (+, -, *, / or X)"},
      {"@BINCALC(C, B, X, A);", "argument 4: a power takes a number, not a column"},
      {"@BINCALC(C, 1B, +, 2);", "argument 2: \"1B\" is not a column"},
      {"@SHIFT(C, B, 1.5);", "argument 3: \"1.5\" is not a whole number from -32768 to 32767"},
      {"WWUSELIMS(100, 50);", "the low limit 100 is above the high limit 50"},
      {"DWSETFONT(W);", "argument 1: \"W\" is not a font (a number, or a letter A to V)"},
      {"@CURVLINE(1, Q, 1);", "argument 2: \"Q\" is not a line style (L, D, I or T)"},
      {"@ULIMENDS(Z);", "column Z holds no series"},
      {"GWREMOVEDEF(1);", "no curve is defined"},
  };
  for (const Case& c : cases) {
    t.host.clear();
    EXPECT_FALSE(t.run(c.script)) << c.script;
    EXPECT_EQ(t.ctx.runner.reason(), c.reason) << c.script;
    EXPECT_EQ(t.host.lastMessage(), std::string(kError) + "\n" + c.reason) << c.script;
  }
  EXPECT_FALSE(t.run("GWFILELOAD('$/none');"));
  EXPECT_EQ(t.ctx.runner.reason(), "cannot open " + t.dir.file("none") + ".GRD");
  EXPECT_FALSE(t.run("WWCREATE('$/d'); WWSETDSDIR(.NOWHERE);"));
  EXPECT_EQ(t.ctx.runner.reason(), "\".NOWHERE\" is not a DSDir");
  EXPECT_FALSE(t.run("WWMKDSDIR(.A*);"));
  EXPECT_EQ(t.ctx.runner.reason(), "\".A*\" is no name for a DSDir");
  EXPECT_FALSE(t.run("WWDELDSDIR(.);"));
  EXPECT_EQ(t.ctx.runner.reason(), "the root DSDir is never deleted");
}

// An empty parameter names no file: nothing is created under an empty name.
TEST(CommandReasons, AnEmptyParameterIsNoFileName) {
  Ctx t;
  struct BackHome {
    std::filesystem::path home = std::filesystem::current_path();
    ~BackHome() { std::filesystem::current_path(home); }
  } backHome;
  std::filesystem::current_path(t.dir.path());
  t.ctx.runner.setParams({"script", "", ""});
  EXPECT_FALSE(t.run("WWCREATE(%2);"));
  EXPECT_EQ(t.ctx.runner.reason(), "argument 1: %2 is empty");
  EXPECT_FALSE(t.run("GWFILESAVE(%3);"));
  EXPECT_TRUE(std::filesystem::is_empty(t.dir.path()));
}

// ---- WWDELDSDIR, @LOAD, WWCOLNAME, WWCOLSAVE: saved data stays reachable ----

TEST(StoreCommands, DeletingTheCurrentDsDirMakesTheRootCurrent) {
  Ctx t;
  ASSERT_TRUE(t.run("WWCREATE('$/d'); WWMKDSDIR(.A); WWMKDSDIR(.A.B); WWMKDSDIR(.C);"));
  // Another DSDir deleted: the current one stays.
  ASSERT_TRUE(t.run("WWSETDSDIR(.A.B); WWDELDSDIR(.C);"));
  EXPECT_EQ(t.ctx.store.CurrentPath(), ".A.B");
  ASSERT_TRUE(t.run("WWDELDSDIR(.A.B);"));
  EXPECT_EQ(t.ctx.store.CurrentPath(), "");
  // A later save lands in the root, where it can be found.
  t.fill(0, 3);
  ASSERT_TRUE(t.run("WWCOLNAME(A, KEPT, 'a', 'b'); WWCOLSAVE(A);"));
  EXPECT_NE(t.ctx.store.FINDENTRY(".KEPT").record, kNoRecord);
}

TEST(StoreCommands, AFailingLoadLeavesTheColumnAsItWas) {
  Ctx t;
  ASSERT_TRUE(t.run("WWCREATE('$/d'); WWMKDSDIR(.DIR);"));
  t.fill(0, 5, 3);  // unsaved data
  t.ctx.worksheet.SetColumnName(0, "MINE", "mine\\");
  for (const char* bad : {"@LOAD(A, .NOSUCH);", "@LOAD(A, .DIR);", "@LOAD(A, '& X*');"}) {
    EXPECT_FALSE(t.run(bad)) << bad;
    ASSERT_TRUE(t.col(0).inUse()) << bad;
    EXPECT_EQ(t.ctx.worksheet.columnName(0), "MINE") << bad;
    EXPECT_FLOAT_EQ(t.val(0, 4), 15.0f) << bad;
  }
  // A series that is there still loads.
  ASSERT_TRUE(t.run("WWCOLSAVE(A); @LOAD(B, .MINE);"));
  EXPECT_FLOAT_EQ(t.val(1, 4), 15.0f);
}

TEST(StoreCommands, IllegalNamesAreRefusedWithTheNameMessage) {
  Ctx t;
  t.fill(0, 3);
  t.ctx.worksheet.SetColumnName(0, "GOOD", "g\\");
  EXPECT_FALSE(t.run("WWCOLNAME(A, 'A*B', 'x', 'y');"));
  EXPECT_EQ(t.host.messages.front(), "Name has illegal form");
  EXPECT_EQ(t.ctx.worksheet.columnName(0), "GOOD");
  EXPECT_FALSE(t.run("WWCOLNAME(A, '" + std::string(28, 'N') + "', 'x', 'y');"));

  // A column whose name cannot be saved stops the save before anything is written.
  ASSERT_TRUE(t.run("WWCREATE('$/d');"));
  t.fill(1, 3);
  t.ctx.worksheet.SetColumnName(1, "BAD?", "b\\");
  t.host.clear();
  EXPECT_FALSE(t.run("WWCOLSAVE(A..B);"));
  EXPECT_EQ(t.host.messages.front(), "Name has illegal form");
  EXPECT_EQ(t.ctx.runner.reason(), "column B is named \"BAD?\"");
  EXPECT_EQ(t.ctx.store.FINDENTRY(".GOOD").record, kNoRecord);
  EXPECT_TRUE(t.run("WWCOLSAVE(A);"));
  EXPECT_NE(t.ctx.store.FINDENTRY(".GOOD").record, kNoRecord);
}

}  // namespace
}  // namespace plotane
