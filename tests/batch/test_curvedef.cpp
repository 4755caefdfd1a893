// The script commands that define curves follow the graph window's pick rules: a refused
// definition changes nothing, and the 32-curve limit holds.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestHost.h"
#include "graph/GraphForms.h"
#include "shell/AppContext.h"

namespace plotane {
namespace {

struct Pick : ::testing::Test {
  test::TestHost host;
  AppContext ctx{host};
  Worksheet& ws = ctx.worksheet;
  GraphDef& def = ctx.graph.def;
  void fill(int c, int from, int to) {
    ctx.store.NEWSERIES(ws.column(c), false, "S" + std::to_string(c));
    for (int i = from; i <= to; ++i) ctx.store.PUTVAL(ws.column(c), i, float(i * c + 1));
  }
};

TEST_F(Pick, ScriptCommandsFollowTheSameRules) {
  fill(0, 0, 20);
  fill(1, 0, 20);
  fill(2, 30, 40);
  ctx.runner.setText("GWCURVENEWDEF(B, A, 2, 9);");
  ctx.runner.RUN();
  ASSERT_FALSE(ctx.runner.ScriptError);
  const GraphDefImage before = EncodeGraphDef(def);
  // A refusal after the Y (no common index) leaves curve 1 and C's link as they were.
  ctx.runner.setText("GWCURVEOLDDEF(1, C, A, 2, 9);");
  ctx.runner.RUN();
  EXPECT_TRUE(ctx.runner.ScriptError);
  EXPECT_EQ(EncodeGraphDef(def), before);
  EXPECT_EQ(ws.column(2).xLink, nullptr);
  for (int c = 3; c <= 34; ++c) fill(c, 0, 20);
  for (int c = 3; c <= 34; ++c) {
    std::string letters = ColumnLetters(c);
    if (letters[1] == ' ') letters.resize(1);
    ctx.runner.setText("GWCURVENEWDEF(" + letters + ", A, 0, 1);");
    ctx.runner.RUN();
  }
  EXPECT_EQ(def.CurveCount, 32);
  EXPECT_NE(std::find(host.messages.begin(), host.messages.end(), "Error, 32 curves maximum"),
            host.messages.end());
}

TEST_F(Pick, SetupCursorsPutsThemAtTheCorners) {
  def.CornerA = {2.0, 3.0};
  def.CornerB = {6.5, 8.25};
  ctx.runner.setText("GWSETUPDRAWGRAPH;");
  ctx.runner.RUN();
  ASSERT_TRUE(ctx.drawing);
  EXPECT_DOUBLE_EQ(ctx.drawing->state.A.X, 2.0);
  EXPECT_DOUBLE_EQ(ctx.drawing->state.B.Y, 8.25);
  EXPECT_EQ(host.windowsShown.back(), WorkWindow::Drawing);
}

}  // namespace
}  // namespace plotane
