// Defining curves by picking worksheet columns: new and old curves, a Y already in use, the
// 32-curve limit, cancelling at every step and typed letters; also removing a curve with bar
// links.
#include <gtest/gtest.h>

#include "TestHost.h"
#include "graph/CurvePick.h"
#include "graph/Graph.h"
#include "graph/GraphForms.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

namespace plotane {
namespace {

struct Pick : ::testing::Test {
  test::TestHost host;
  LogModel log;
  Store store{host, log};
  Worksheet ws{store, host, log};
  Graph graph{host, store};
  CurvePick pick{graph, ws};
  GraphDef& def = graph.def;
  int rangeDialogs = 0, styleDialogs = 0;
  bool rangeOk = true;
  int typedFrom = 0, typedTo = 0;  // the range "typed" into the range dialog (when set)
  bool typeRange = false;

  Pick() {
    graph.setColumns(ws.columns());
    pick.rangeDialog = [this](CurvePick& p) {
      ++rangeDialogs;
      if (typeRange) {
        p.RangeLow = typedFrom;
        p.RangeHigh = typedTo;
      }
      return rangeOk;
    };
    pick.styleDialog = [this](int) { ++styleDialogs; };
  }
  // Values at indices from..to of a column.
  void fill(int c, int from, int to) {
    store.NEWSERIES(ws.column(c), false, "S" + std::to_string(c));
    for (int i = from; i <= to; ++i) store.PUTVAL(ws.column(c), i, float(i * c + 1));
  }
  // One whole pick through the worksheet's requests, answered with columns.
  void pickCurve(int curve, int y, int x) {
    pick.Start(curve);
    ws.ConfirmRequest(y);
    if (ws.requestActive()) ws.ConfirmRequest(x);
  }
};

TEST_F(Pick, NewCurvesThroughTheTwoRequests) {
  fill(0, 0, 50);
  fill(1, 10, 40);
  fill(2, -5, 30);
  pick.Start(0);
  EXPECT_EQ(host.windowsShown.back(), WorkWindow::Worksheet);
  EXPECT_EQ(ws.Request.code, 6);
  EXPECT_EQ(ws.Request.prompt, "Y variable column--");
  EXPECT_TRUE(ws.Request.forGraphDefs);
  ws.ConfirmRequest(1);
  EXPECT_EQ(ws.Request.code, 7);
  EXPECT_EQ(ws.Request.prompt, "Y is B , specify X :");
  EXPECT_EQ(def.CurveCount, 0);  // nothing written before the range is accepted
  ws.ConfirmRequest(0);
  EXPECT_FALSE(ws.requestActive());
  EXPECT_EQ(host.windowsShown.back(), WorkWindow::GraphDefs);
  EXPECT_EQ(rangeDialogs, 1);
  EXPECT_EQ(styleDialogs, 1);
  ASSERT_EQ(def.CurveCount, 1);
  EXPECT_EQ(def.curve(1).YColumn, 1);
  EXPECT_EQ(def.curve(1).XColumn, 0);
  // The offered range is the common one: 10..40.
  EXPECT_EQ(def.curve(1).LowIndex, 10);
  EXPECT_EQ(def.curve(1).HiIndex, 40);
  EXPECT_EQ(ws.column(1).xLink, &ws.column(0));
  EXPECT_TRUE(graph.Status[0].ok());

  // A second curve: the range kept from the first (10..40) is not inside the new common range
  // 0..30, so the common range is offered.
  pickCurve(0, 2, 0);
  ASSERT_EQ(def.CurveCount, 2);
  EXPECT_EQ(def.curve(2).LowIndex, 0);
  EXPECT_EQ(def.curve(2).HiIndex, 30);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(Pick, TypedLettersAreTheColumnsTaken) {
  fill(3, 0, 9);
  fill(27, 0, 9);
  ws.SelectCell(5, 0);  // the grid cursor is elsewhere
  pick.Start(0);
  ws.ConfirmRequestText("AB");
  ws.ConfirmRequestText("D");
  ASSERT_EQ(def.CurveCount, 1);
  EXPECT_EQ(def.curve(1).YColumn, 27);
  EXPECT_EQ(def.curve(1).XColumn, 3);
}

TEST_F(Pick, AYAlreadyUsedEditsThatCurve) {
  fill(0, 0, 20);
  fill(1, 0, 20);
  fill(2, 0, 20);
  pickCurve(0, 1, 0);
  pickCurve(0, 2, 0);
  typeRange = true;
  typedFrom = 3;
  typedTo = 7;
  pickCurve(0, 1, 2);  // Y = B again: curve 1 is redefined
  EXPECT_EQ(def.CurveCount, 2);
  EXPECT_EQ(def.curve(1).XColumn, 2);
  EXPECT_EQ(def.curve(1).LowIndex, 3);
  EXPECT_EQ(def.curve(1).HiIndex, 7);
}

TEST_F(Pick, OldCurveStartsFromItsOwnColumnAndRange) {
  fill(0, 0, 20);
  fill(1, 0, 20);
  fill(4, 0, 20);
  typeRange = true;
  typedFrom = 2;
  typedTo = 12;
  pickCurve(0, 1, 0);
  typeRange = false;
  pick.Start(1);
  EXPECT_EQ(ws.CurrentColumn, 1);
  EXPECT_EQ(pick.RangeLow, 2);
  EXPECT_EQ(pick.RangeHigh, 12);
  ws.ConfirmRequest(4);  // a different Y for the same curve
  // The X offered is the Y series' link, if any, else the curve's X.
  EXPECT_EQ(ws.CurrentColumn, 0);
  ws.ConfirmRequest(0);
  EXPECT_EQ(def.CurveCount, 1);
  EXPECT_EQ(def.curve(1).YColumn, 4);
  EXPECT_EQ(def.curve(1).LowIndex, 2);  // the kept range still fits
  EXPECT_EQ(def.curve(1).HiIndex, 12);
}

TEST_F(Pick, CancelAtEveryStepChangesNothing) {
  fill(0, 0, 20);
  fill(1, 0, 20);
  fill(2, 5, 15);
  pickCurve(0, 1, 0);
  const GraphDefImage before = EncodeGraphDef(def);
  Series* link = ws.column(2).xLink;

  pick.Start(1);  // cancel the Y request
  ws.CancelRequest();
  EXPECT_FALSE(pick.Active);
  EXPECT_EQ(host.windowsShown.back(), WorkWindow::GraphDefs);
  EXPECT_EQ(EncodeGraphDef(def), before);

  pick.Start(1);  // cancel the X request after a new Y
  ws.ConfirmRequest(2);
  ws.CancelRequest();
  EXPECT_EQ(host.windowsShown.back(), WorkWindow::GraphDefs);
  EXPECT_EQ(EncodeGraphDef(def), before);
  EXPECT_EQ(ws.column(2).xLink, link);

  rangeOk = false;  // cancel the range dialog
  pickCurve(1, 2, 0);
  pickCurve(0, 2, 0);
  EXPECT_EQ(rangeDialogs, 3);
  EXPECT_EQ(styleDialogs, 1);
  EXPECT_EQ(EncodeGraphDef(def), before);
  EXPECT_EQ(ws.column(2).xLink, link);
}

TEST_F(Pick, RefusalsEndThePickWithTheirMessages) {
  fill(0, 0, 9);
  fill(1, 20, 29);
  pickCurve(0, 7, 0);  // empty Y
  EXPECT_EQ(host.lastMessage(), "Y variable not defined");
  EXPECT_FALSE(ws.requestActive());
  pickCurve(0, 0, 8);  // empty X
  EXPECT_EQ(host.lastMessage(), "X variable not defined");
  pickCurve(0, 0, 1);  // no common index
  EXPECT_EQ(host.lastMessage(), "Y and X do not have indices in common");
  EXPECT_EQ(def.CurveCount, 0);
  EXPECT_EQ(ws.column(0).xLink, nullptr);
  EXPECT_EQ(rangeDialogs, 0);
  EXPECT_EQ(host.windowsShown.back(), WorkWindow::GraphDefs);
}

TEST_F(Pick, ThirtyTwoCurvesEndThePick) {
  fill(0, 0, 9);
  for (int c = 1; c <= 33; ++c) fill(c, 0, 9);
  for (int c = 1; c <= 32; ++c) pickCurve(0, c, 0);
  ASSERT_EQ(def.CurveCount, 32);
  host.clear();
  pick.Start(0);
  ws.ConfirmRequest(33);
  EXPECT_EQ(host.lastMessage(), "Error, 32 curves maximum");
  EXPECT_FALSE(ws.requestActive());
  EXPECT_FALSE(pick.Active);
  EXPECT_EQ(host.windowsShown.back(), WorkWindow::GraphDefs);
  EXPECT_EQ(def.CurveCount, 32);
  // A Y in use still edits its curve at the limit.
  pickCurve(0, 32, 33);
  EXPECT_EQ(def.curve(32).XColumn, 33);
}

TEST_F(Pick, CurvesRemovedDuringThePickLeaveNoGap) {
  for (int c = 0; c <= 3; ++c) fill(c, 0, 9);
  pickCurve(0, 1, 0);
  pickCurve(0, 2, 0);
  pick.Start(0);
  ws.ConfirmRequest(3);  // would be curve 3
  graph.DeleteCurve(1, true);
  ws.ConfirmRequest(0);
  ASSERT_EQ(def.CurveCount, 2);
  EXPECT_EQ(def.curve(2).YColumn, 3);
  // An old curve that went away meanwhile is refused.
  pick.Start(2);
  ws.ConfirmRequest(3);
  graph.DeleteCurve(2, true);
  ws.ConfirmRequest(0);
  EXPECT_EQ(host.lastMessage(), "Invalid curve number");
  EXPECT_EQ(def.CurveCount, 1);
}

TEST(RemoveCurve, LaterCurvesMoveDownAndBarLinksFollow) {
  GraphDef g;
  g.CurveCount = 5;
  for (int n = 1; n <= 5; ++n) g.curve(n).YColumn = int16_t(10 + n);
  g.curve(1).BarCurve = 3;  // to the removed curve: dropped
  g.curve(2).BarCurve = 5;  // above it: now 4
  g.curve(4).BarCurve = 1;  // below it: kept
  g.curve(5).BarCurve = 2;
  RemoveCurveSlot(g, 3);
  EXPECT_EQ(g.curve(1).YColumn, 11);
  EXPECT_EQ(g.curve(2).YColumn, 12);
  EXPECT_EQ(g.curve(3).YColumn, 14);
  EXPECT_EQ(g.curve(4).YColumn, 15);
  EXPECT_EQ(g.curve(1).BarCurve, 0);
  EXPECT_EQ(g.curve(2).BarCurve, 4);
  EXPECT_EQ(g.curve(3).BarCurve, 1);
  EXPECT_EQ(g.curve(4).BarCurve, 2);
  EXPECT_EQ(g.curve(32), CurveDef{});
}

TEST_F(Pick, DeleteCurveAsksAndRenumbers) {
  for (int c = 0; c <= 3; ++c) fill(c, 0, 9);
  for (int c = 1; c <= 3; ++c) pickCurve(0, c, 0);
  ASSERT_EQ(def.CurveCount, 3);
  def.curve(1).BarCurve = 3;
  host.answers = {Answer::No};
  graph.DeleteCurve(2, false);
  EXPECT_EQ(host.questions.back(), "Deleting curve---Are you sure?");
  EXPECT_EQ(def.CurveCount, 3);
  host.answers = {Answer::Yes};
  graph.DeleteCurve(2, false);
  EXPECT_EQ(def.CurveCount, 2);
  EXPECT_EQ(def.curve(2).YColumn, 3);
  EXPECT_EQ(def.curve(1).BarCurve, 2);
}

}  // namespace
}  // namespace plotane
