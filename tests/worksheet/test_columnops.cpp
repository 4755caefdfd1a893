// The column commands: their prompts, the order of their requests and what they compute.

#include "WorksheetFixture.h"

namespace plotane::test {
namespace {

class ColumnOpsTest : public WorksheetTest {
 protected:
  // Confirms the pending request and checks which request follows.
  void confirm(int c1, int c2 = 0) { ws.ConfirmRequest(c1, c2); }
  void expectRequest(const std::string& prompt, int code) {
    ASSERT_TRUE(ws.requestActive());
    EXPECT_EQ(ws.Request.prompt, prompt);
    EXPECT_EQ(ws.Request.code, code);
  }
};

TEST_F(ColumnOpsTest, SeriesSeriesAddAsksTwoSourcesThenTheDestination) {
  ws.SetUseLimits(0, 2);
  fill(0, 0, {1, 2, 3});
  fill(1, 0, {10, 20, 30});
  ws.StartSeriesSeries('+');
  expectRequest("[D]=[C1]+[C2]; Specify C1 source column", 12);
  confirm(0);
  expectRequest("[D]=[C1]+[C2]; Specify C2 source column", 13);
  confirm(1);
  expectRequest("[D]=[C1]+[C2]; Specify Destination column", 14);
  view.clear();
  confirm(2);
  EXPECT_FALSE(ws.requestActive());
  EXPECT_EQ(val(2, 0), 11.0f);
  EXPECT_EQ(val(2, 1), 22.0f);
  EXPECT_EQ(val(2, 2), 33.0f);
  EXPECT_EQ(view.columnsShown, std::vector<int>{2});  // only the destination is shown again
  // Divide: the source order is C1 / C2.
  ws.StartSeriesSeries('/');
  confirm(1);
  confirm(0);
  confirm(3);
  EXPECT_EQ(val(3, 2), 10.0f);
}

TEST_F(ColumnOpsTest, ConstantOperationsAskTheNumberFirst) {
  ws.SetUseLimits(0, 2);
  fill(0, 0, {1, 2, 4});
  host.reals = {2.5};
  ws.StartConstant('+');
  EXPECT_EQ(host.prompts.back(), "Constant*Series operations---Enter constant value:");
  expectRequest("Source column is ? +    2.5000000", 10);
  confirm(0);
  expectRequest("Specify destination column:", 11);
  confirm(1);
  EXPECT_EQ(val(1, 2), 6.5f);
  EXPECT_EQ(ws.ConstSeriesValue, 2.5);
  // Raise to a power, with the remembered constant offered again.
  host.reals = {0.5};
  ws.StartConstant('X');
  expectRequest("Source column is ?^   0.5000000", 10);
  confirm(0);
  confirm(2);
  EXPECT_EQ(val(2, 2), 2.0f);
  // A cancelled number ends the command.
  ws.StartConstant('*');
  EXPECT_FALSE(ws.requestActive());
  EXPECT_EQ(ws.ConstSeriesValue, 0.5);
}

TEST_F(ColumnOpsTest, ShiftIndexRoundsTheConstant) {
  ws.SetUseLimits(0, 10);
  fill(0, 0, {1, 2, 3});
  host.reals = {2.6};
  ws.StartConstant('S');
  expectRequest("Specify source column to be shifted3 :", 10);
  EXPECT_EQ(ws.ConstSeriesValue, 3.0);
  confirm(0);
  confirm(1);
  EXPECT_EQ(range(1), std::make_pair(3, 5));
  EXPECT_EQ(val(1, 3), 1.0f);
  EXPECT_EQ(val(1, 5), 3.0f);
  host.reals = {-2.5};  // ties to even
  ws.StartConstant('S');
  expectRequest("Specify source column to be shifted-2 :", 10);
}

TEST_F(ColumnOpsTest, UnaryOperations) {
  ws.SetUseLimits(0, 2);
  fill(0, 0, {1, 2, 4});
  const std::pair<char, const char*> names[] = {
      {'N', "-"}, {'I', "1/"}, {'L', "Ln"}, {'E', "Exp"}, {'C', "Cum"}};
  for (auto [op, name] : names) {
    ws.StartUnary(op);
    expectRequest(std::string("Unary operation source column: ") + name + "(?)", 8);
  }
  ws.StartUnary('C');
  confirm(0);
  expectRequest("Specify result destination column:", 9);
  confirm(1);
  EXPECT_EQ(val(1, 0), 1.0f);
  EXPECT_EQ(val(1, 1), 3.0f);
  EXPECT_EQ(val(1, 2), 7.0f);
  ws.StartUnary('N');
  confirm(0);
  confirm(0);  // in place
  EXPECT_EQ(val(0, 2), -4.0f);
  // A source not in use is reported by the calculation.
  ws.StartUnary('L');
  confirm(9);
  confirm(10);
  EXPECT_EQ(host.lastMessage(), "No source for UNARYCALCS L");
}

TEST_F(ColumnOpsTest, IndexSeriesIsNamedAfterTheUseLimits) {
  ws.SetUseLimits(-5, 10);
  fill(3, 40, {9});
  ws.StartIndexSeries();
  expectRequest("Specify column to receive index series:", 15);
  confirm(3);
  EXPECT_EQ(ws.columnName(3), "ixM5toP10");
  EXPECT_EQ(ws.column(3).info->description, "Index series");
  EXPECT_EQ(range(3), std::make_pair(-5, 10));
  for (int i = -5; i <= 10; ++i) EXPECT_EQ(val(3, i), float(i));
  ws.SetUseLimits(0, 800);
  ws.StartIndexSeries();
  confirm(4);
  EXPECT_EQ(ws.columnName(4), "ixP0toP800");
}

TEST_F(ColumnOpsTest, DifferenceSeries) {
  ws.SetUseLimits(0, 4);
  fill(2, 0, {7, 7, 7, 7, 7, 7, 7, 7});
  ws.StartDifferenceSeries();
  expectRequest("Specify column to receive difference series:", 16);
  host.reals = {1.0, 0.5};
  confirm(2);
  ASSERT_EQ(host.prompts.size(), 2u);
  EXPECT_EQ(host.prompts[0], "Difference series---Enter starting value (at lower index limit):");
  EXPECT_EQ(host.prompts[1], "Difference series---Enter difference value (term to term):");
  EXPECT_EQ(range(2), std::make_pair(0, 4));  // the old series is replaced
  const float expected[] = {1, 1.5, 2, 2.5, 3};
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(val(2, i), expected[i]);
  EXPECT_EQ(ws.DiffStart, 1.0);
  EXPECT_EQ(ws.DiffStep, 0.5);
  // Cancelling the second number leaves the column alone.
  host.reals = {5.0};
  ws.StartDifferenceSeries();
  confirm(2);
  EXPECT_EQ(val(2, 4), 3.0f);
  // Repeated addition in double: 0.1 added ten times, each stored as a single.
  ws.SetUseLimits(0, 10);
  host.reals = {0.0, 0.1};
  ws.StartDifferenceSeries();
  confirm(5);
  double acc = 0.0;
  for (int i = 0; i < 10; ++i) acc += 0.1;
  EXPECT_EQ(val(5, 10), float(acc));
}

TEST_F(ColumnOpsTest, FillKeepsValuesOutsideTheUseLimits) {
  fill(0, 0, {1, 2, 3, 4, 5, 6});
  ws.SetUseLimits(2, 4);
  host.reals = {7.0};
  ws.StartFill();
  expectRequest("Specify column to fill with constants:", 17);
  confirm(0);
  EXPECT_EQ(host.prompts.back(), "Fill a series with a constant---Enter constant value:");
  EXPECT_EQ(val(0, 1), 2.0f);
  EXPECT_EQ(val(0, 3), 7.0f);
  EXPECT_EQ(val(0, 5), 6.0f);
  EXPECT_EQ(ws.FillValue, 7.0);
  host.reals = {1.0};
  ws.StartFill();
  confirm(8);
  EXPECT_EQ(range(8), std::make_pair(2, 4));
}

TEST_F(ColumnOpsTest, SumOverRangeCountsADestinationInsideTheRangeTwice) {
  ws.SetUseLimits(0, 2);
  fill(1, 0, {1, 2, 3});
  fill(2, 0, {10, 20, 30});
  fill(3, 0, {100, 200, 300});
  ws.StartSumRange();
  expectRequest("Sum range of columns---specify range:", 18);
  confirm(1, 3);
  expectRequest("Specify destination column for sum result:", 19);
  confirm(1);
  EXPECT_EQ(val(1, 0), 112.0f);
  EXPECT_EQ(val(1, 2), 336.0f);
  EXPECT_EQ(host.busyDepth, 0);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ColumnOpsTest, SumOverRangeIntoShortOrNewDestinations) {
  ws.SetUseLimits(0, 3);
  fill(0, 0, {1, 2, 3, 4});
  fill(1, 1, {10});                                     // covers index 1 only
  store.PUTVAL(ws.column(0), 2, double(MissingValue));  // a missing source counts as 0
  // A new destination starts from zeros.
  ws.SumOverRange(0, 1, 5);
  EXPECT_EQ(val(5, 0), 1.0f);
  EXPECT_EQ(val(5, 1), 12.0f);
  EXPECT_EQ(val(5, 2), 0.0f);
  EXPECT_EQ(val(5, 3), 4.0f);
  EXPECT_TRUE(host.messages.empty());
  // A destination not covering the use limits warns once, not once per index.
  fill(6, 0, {100});
  ws.SumOverRange(0, 0, 6);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Warning, GETVAL beyond range for ***noname***"});
  EXPECT_EQ(val(6, 0), 101.0f);
  EXPECT_EQ(val(6, 1), 2.0f);
  EXPECT_EQ(val(6, 3), 4.0f);
}

TEST_F(ColumnOpsTest, SumOverflowEndsWithTheFloatingPointMessage) {
  ws.SetUseLimits(0, 0);
  fill(0, 0, {3.0e38});
  fill(1, 0, {3.0e38});
  ws.SumOverRange(0, 1, 2);
  EXPECT_EQ(host.lastMessage(), "Floating point overflow");
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(ColumnOpsTest, RangeOpColumnAndUnaryRange) {
  ws.SetUseLimits(0, 1);
  fill(0, 0, {1, 2});
  fill(1, 0, {3, 4});
  fill(2, 0, {10, 100});
  ws.StartRangeOp('*');
  expectRequest("Range [C1]..[C2] operated on:", 20);
  confirm(0, 1);
  expectRequest("Calc: [C1]*[C3]...[C2]*[C3], Specify [C3]", 21);
  view.clear();
  confirm(2);
  EXPECT_EQ(val(0, 1), 200.0f);
  EXPECT_EQ(val(1, 0), 30.0f);
  EXPECT_TRUE(view.shown(0));
  EXPECT_TRUE(view.shown(1));
  ws.StartUnaryRange('N');
  expectRequest("Specify range of columns to be operated on:", 22);
  confirm(0, 1);
  EXPECT_EQ(val(0, 0), -10.0f);
  EXPECT_EQ(val(1, 1), -400.0f);
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(ColumnOpsTest, CopyRefusesOverlapAndCopiesBlocks) {
  fill(0, 0, {1});
  fill(1, 0, {2});
  fill(2, 0, {3});
  ws.column(1).nameBlock->path = "NAMED";
  ws.StartCopy();
  expectRequest("Range of columns to COPY", 33);
  confirm(0, 2);
  expectRequest("Destination (left column in block)?", 34);
  confirm(1);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Dest. may not overlap source"});
  EXPECT_EQ(ws.columnName(1), "NAMED");
  EXPECT_FALSE(ws.inUse(3));
  ws.StartCopy();
  confirm(0, 2);
  confirm(3);
  for (int k = 0; k < 3; ++k) {
    ASSERT_TRUE(ws.inUse(3 + k));
    EXPECT_EQ(val(3 + k, 0), float(k + 1));
    EXPECT_EQ(ws.columnName(3 + k), "***noname***");
    EXPECT_TRUE(ws.column(3 + k).modified);
  }
  EXPECT_EQ(ws.columnName(1), "NAMED");
  // A block that would run past the last column is refused as a whole.
  host.clear();
  ws.CopyBlock(0, 2, 508);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Dest. block runs past column SP"});
  EXPECT_FALSE(ws.inUse(508));
  ws.CopyBlock(0, 1, 508);
  EXPECT_TRUE(ws.inUse(509));
  // A source not in use is skipped silently.
  host.clear();
  ws.CopyBlock(20, 21, 30);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(store.StoreError);
}

TEST_F(ColumnOpsTest, MoveLeavesTheSourcesEmpty) {
  fill(0, 0, {1});
  fill(1, 0, {2});
  fill(5, 0, {0});
  ws.column(5).xLink = &ws.column(1);
  ws.StartMove();
  expectRequest("Range of columns to MOVE", 35);
  confirm(0, 1);
  expectRequest("Destination (left column in block)?", 36);
  view.clear();
  confirm(2);
  EXPECT_FALSE(ws.inUse(0));
  EXPECT_FALSE(ws.inUse(1));
  EXPECT_TRUE(view.shown(0));  // the source cells are blanked
  EXPECT_TRUE(view.shown(1));
  EXPECT_EQ(val(2, 0), 1.0f);
  EXPECT_EQ(val(3, 0), 2.0f);
  EXPECT_EQ(ws.column(5).xLink, &ws.column(3));
  EXPECT_EQ(ws.CellText(0, 0), "");
  // Overlap is refused for moves too.
  ws.MoveBlock(2, 3, 3);
  EXPECT_EQ(host.lastMessage(), "Dest. may not overlap source");
  EXPECT_TRUE(ws.inUse(2));
}

TEST_F(ColumnOpsTest, EraseDiscardsWithoutAQuestion) {
  fill(0, 0, {1});
  fill(2, 0, {1});
  ws.StartErase();
  expectRequest("Range of columns to ERASE", 37);
  confirm(0, 1);
  EXPECT_FALSE(ws.inUse(0));
  EXPECT_TRUE(ws.inUse(2));
  EXPECT_TRUE(host.questions.empty());
  // A range confirmed backwards does nothing.
  ws.StartErase();
  confirm(3, 1);
  EXPECT_TRUE(ws.inUse(2));
  ws.StartCopy();
  confirm(2, 1);
  confirm(10);
  EXPECT_FALSE(ws.inUse(10));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace plotane::test
