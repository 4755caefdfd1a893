// The worksheet model: cell texts and editing, use limits, X column and display switches,
// column list, column requests, naming and saving, closing.

#include "TempDir.h"
#include "WorksheetFixture.h"

namespace plotane::test {
namespace {

constexpr const char* kDelete = "Data value deletion---Are you sure?";

TEST_F(WorksheetTest, StartState) {
  EXPECT_EQ(ws.UseLow(), 0);
  EXPECT_EQ(ws.UseHigh(), 800);
  for (int c = 0; c <= MaxColumn; ++c) {
    EXPECT_FALSE(ws.inUse(c));
    EXPECT_EQ(ws.DecimalSpec[std::size_t(c)], -2);
  }
  EXPECT_FALSE(ws.requestActive());
  EXPECT_EQ(ws.CurrentColumn, 0);
  EXPECT_EQ(ws.CurrentIndex, 0);
  EXPECT_EQ(ws.GridText(0, 0), " Row");
  EXPECT_EQ(ws.GridText(0, 1), "  Xvals");
  EXPECT_EQ(ws.GridText(0, 2), "  A ");
  EXPECT_EQ(ws.GridText(0, 511), "  SP");
  EXPECT_EQ(ws.GridText(1, 0), "  -400");
  EXPECT_EQ(ws.GridText(401, 0), "     0");
  EXPECT_EQ(ws.GridText(12401, 0), " 12000");
  EXPECT_EQ(ws.GridText(12402, 0), "");
  EXPECT_EQ(ws.RowUseLabel(), "Low=      0      High=    800");
}

TEST_F(WorksheetTest, TypingIntoAnEmptyColumnCreatesAnUnnamedSeries) {
  ASSERT_TRUE(ws.SelectCell(0, 10));
  EXPECT_EQ(ws.EntryText, "");
  ASSERT_TRUE(ws.CommitCell(0, 10, "5"));
  ASSERT_TRUE(ws.inUse(0));
  EXPECT_EQ(ws.columnName(0), "***noname***");
  EXPECT_EQ(range(0), std::make_pair(10, 10));
  EXPECT_EQ(val(0, 10), 5.0f);
  EXPECT_EQ(ws.CellText(0, 10), "     5.000000");
  EXPECT_EQ(ws.GridText(ws.gridRowOfIndex(10), 2), "     5.000000");
  EXPECT_EQ(ws.EntryText, "     5.000000");
  EXPECT_EQ(ws.CellText(0, 9), "");
  EXPECT_EQ(ws.CellText(0, 11), "");
  EXPECT_EQ(ws.ColumnListLine(0), " A     <c>***noname***");
  EXPECT_EQ(ws.ColumnListLine(1), " B ");
  EXPECT_EQ(ws.ColumnListSelection(), 0);
  // Committing the same text again changes nothing.
  view.clear();
  EXPECT_TRUE(ws.CommitCell(0, 10, "     5.000000"));
  EXPECT_TRUE(view.columnsShown.empty());
}

TEST_F(WorksheetTest, ValueBeyondTheRangeShowsTheGapAsMissing) {
  fill(0, 10, {1, 2, 3});
  ASSERT_TRUE(ws.SelectCell(0, 20));
  view.clear();
  ASSERT_TRUE(ws.CommitCell(0, 20, "7"));
  EXPECT_EQ(range(0), std::make_pair(10, 20));
  for (int i = 13; i <= 19; ++i) EXPECT_EQ(ws.CellText(0, i), "----") << i;
  EXPECT_TRUE(view.shown(0));  // the whole column, as its range grew over unset indices
  // Next to the range only the cell is rewritten.
  view.clear();
  ASSERT_TRUE(ws.SelectCell(0, 21));
  ASSERT_TRUE(ws.CommitCell(0, 21, "8"));
  EXPECT_FALSE(view.shown(0));
  EXPECT_EQ(view.cellsShown.front(), std::make_pair(0, 21));
}

TEST_F(WorksheetTest, MissingMarkAndTinyValues) {
  fill(0, 10, {1, 2, 3});
  ASSERT_TRUE(ws.SelectCell(0, 11));
  ASSERT_TRUE(ws.CommitCell(0, 11, "----"));
  EXPECT_TRUE(isMissing(val(0, 11)));
  EXPECT_EQ(ws.CellText(0, 11), "----");
  // Outside the range, or in a column not in use, "----" is refused like a bad number.
  ASSERT_TRUE(ws.SelectCell(0, 13));
  EXPECT_FALSE(ws.CommitCell(0, 13, "----"));
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(ws.CommitCell(1, 0, "----"));
  EXPECT_EQ(host.beeps, 2);
  EXPECT_FALSE(ws.inUse(1));
  // 1E-39 is stored as exactly 0.
  ASSERT_TRUE(ws.CommitCell(0, 12, "1E-39"));
  EXPECT_EQ(std::bit_cast<uint32_t>(val(0, 12)), 0u);
}

TEST_F(WorksheetTest, ConversionErrorsKeepTheValueAndRefuseTheMove) {
  fill(0, 0, {1});
  ASSERT_TRUE(ws.SelectCell(0, 0));
  for (const char* bad : {"abc", "3.5E38", "-1e39", "1.5.", "5 "}) {
    EXPECT_FALSE(ws.CommitCell(0, 0, bad)) << bad;
  }
  EXPECT_EQ(host.beeps, 5);
  EXPECT_EQ(val(0, 0), 1.0f);
  // The grid cannot leave a cell whose text does not convert.
  view.editing = true;
  view.edit = "x1";
  EXPECT_FALSE(ws.SelectCell(0, 1));
  EXPECT_EQ(ws.CurrentIndex, 0);
  EXPECT_TRUE(host.messages.empty());
  // Losing the focus reports the cell by column number and index.
  EXPECT_FALSE(ws.CommitCurrentCell());
  EXPECT_EQ(host.lastMessage(), "Error at 0,0");
  view.edit = "2";
  ASSERT_TRUE(ws.SelectCell(3, -5));
  EXPECT_EQ(val(0, 0), 2.0f);
  view.edit = "?";
  EXPECT_FALSE(ws.CommitCurrentCell());
  EXPECT_EQ(host.lastMessage(), "Error at 3,-5");
}

TEST_F(WorksheetTest, ClearingACellRemovesOnlyAnEndValueAfterTheQuestion) {
  fill(0, 10, {1, 2, 3});
  // Inside index: the value is shown again, nothing asked.
  ASSERT_TRUE(ws.SelectCell(0, 11));
  ASSERT_TRUE(ws.CommitCell(0, 11, ""));
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(ws.EntryText, ws.CellText(0, 11));
  EXPECT_EQ(ws.CellText(0, 11), "    2.0000000");  // log10 2 rounds to 0
  // Highest index, answered No: kept.
  ASSERT_TRUE(ws.SelectCell(0, 12));
  ASSERT_TRUE(ws.CommitCell(0, 12, ""));
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0], kDelete);
  EXPECT_EQ(range(0), std::make_pair(10, 12));
  // Yes: the range shrinks.
  host.answers.push_back(Answer::Yes);
  ASSERT_TRUE(ws.CommitCell(0, 12, ""));
  EXPECT_EQ(range(0), std::make_pair(10, 11));
  EXPECT_EQ(ws.CellText(0, 12), "");
  EXPECT_EQ(ws.EntryText, "");
  // Lowest index too.
  host.answers.push_back(Answer::Yes);
  ASSERT_TRUE(ws.SelectCell(0, 10));
  ASSERT_TRUE(ws.CommitCell(0, 10, ""));
  EXPECT_EQ(range(0), std::make_pair(11, 11));
  // A one-value series keeps its value, without a question.
  ASSERT_TRUE(ws.SelectCell(0, 11));
  std::size_t asked = host.questions.size();
  ASSERT_TRUE(ws.CommitCell(0, 11, ""));
  EXPECT_EQ(host.questions.size(), asked);
  EXPECT_EQ(range(0), std::make_pair(11, 11));
  // Outside the range, or in an empty column, clearing simply succeeds.
  EXPECT_TRUE(ws.CommitCell(0, 40, ""));
  EXPECT_TRUE(ws.CommitCell(5, 40, ""));
  EXPECT_FALSE(ws.inUse(5));
}

TEST_F(WorksheetTest, EscapeRestoresTheStoredText) {
  fill(0, 0, {4});
  ASSERT_TRUE(ws.SelectCell(0, 0));
  view.clear();
  ws.UndoCurrentEdit();
  EXPECT_EQ(ws.EntryText, "     4.000000");
  ASSERT_FALSE(view.cellsShown.empty());
  ASSERT_TRUE(ws.SelectCell(1, 0));
  ws.UndoCurrentEdit();
  EXPECT_EQ(ws.EntryText, "");
}

TEST_F(WorksheetTest, DecimalSpecsChangeOnlyTheDisplay) {
  fill(1, 0, {3.14159});
  ws.SetDecimalSpecs(1, 1, 2);
  EXPECT_EQ(ws.CellText(1, 0), "         3.14");
  ws.SetDecimalSpecs(1, 1, -1);
  EXPECT_EQ(ws.CellText(1, 0), " 3.141590E+00");
  // The request path: the number display dialog answers through the view (none: flexible).
  ws.StartDecimalChange();
  EXPECT_EQ(ws.Request.prompt, "Specify range of columns");
  EXPECT_EQ(ws.Request.code, 40);
  ws.ConfirmRequest(0, 3);
  EXPECT_EQ(ws.CellText(1, 0), "    3.1415901");  // the single's digits
  EXPECT_NEAR(val(1, 0), 3.14159f, 0);
}

TEST_F(WorksheetTest, UseLimits) {
  EXPECT_FALSE(Worksheet::UseLimitsValid(10, 5));
  EXPECT_TRUE(Worksheet::UseLimitsValid(-400, 12000));
  EXPECT_FALSE(Worksheet::UseLimitsValid(-401, 0));
  EXPECT_FALSE(Worksheet::UseLimitsValid(0, 12001));
  EXPECT_TRUE(Worksheet::UseLimitsValid(7, 7));
  ws.SetUseLimits(-5, 10);
  EXPECT_EQ(store.UseLow, -5);
  EXPECT_EQ(store.UseHigh, 10);
  EXPECT_EQ(view.limitChanges, 1);
  EXPECT_EQ(ws.RowUseLabel(), "Low=     -5      High=     10");
}

TEST_F(WorksheetTest, XColumnAndTheYofXDisplay) {
  fill(1, 0, {10, 20});
  ws.column(1).nameBlock->path = "TIME";
  fill(0, 0, {1, 2});
  ws.StartXSet();
  EXPECT_EQ(ws.Request.prompt, "Select a Current X Column");
  ws.ConfirmRequest(1);
  EXPECT_TRUE(ws.XColumnSet);
  EXPECT_EQ(ws.XColumn, 1);
  // y(x) off: nothing shown.
  EXPECT_EQ(ws.XNameLabel, "");
  EXPECT_EQ(ws.XvalsText(0), "");
  ws.SetYofX(true);
  EXPECT_TRUE(ws.XAutoEnabled);
  EXPECT_EQ(ws.XNameLabel, "B  = x val: TIME");
  EXPECT_EQ(ws.XvalsText(1), "    20.000000");
  EXPECT_EQ(ws.GridText(ws.gridRowOfIndex(1), 1), "    20.000000");
  EXPECT_EQ(ws.XvalsLow, 0);
  EXPECT_EQ(ws.XvalsHigh, 1);
  // Y of X set links the range's columns in use to the X column.
  ws.StartYofXSet();
  EXPECT_EQ(ws.Request.prompt, "");
  EXPECT_EQ(ws.Request.code, 39);
  ws.ConfirmRequest(0, 2);
  EXPECT_EQ(ws.column(0).xLink, &ws.column(1));
  EXPECT_EQ(ws.column(2).xLink, nullptr);
  EXPECT_EQ(ws.ColumnListLine(0).substr(0, 7), " A (B )");
  // Clear X keeps the number but removes the reference.
  ws.ClearX();
  EXPECT_FALSE(ws.XColumnSet);
  EXPECT_EQ(ws.XColumn, 1);
  EXPECT_EQ(ws.XNameLabel, "");
  EXPECT_EQ(ws.XvalsText(1), "");
  EXPECT_EQ(ws.XvalsHigh, -1);
  // xauto: the X column follows the current column's X link.
  ws.SetXAuto(true);
  EXPECT_TRUE(ws.XAuto);
  EXPECT_TRUE(ws.XColumnSet);
  EXPECT_EQ(ws.XColumn, 1);  // the cursor is on A, whose X is B
  EXPECT_EQ(ws.XNameLabel, "B  = x val: TIME");
  ASSERT_TRUE(ws.SelectCell(3, 0));  // D holds nothing: no X column
  EXPECT_FALSE(ws.XColumnSet);
  EXPECT_EQ(ws.XColumn, -1);
  EXPECT_EQ(ws.XNameLabel, "");
  ASSERT_TRUE(ws.SelectCell(0, 5));
  EXPECT_EQ(ws.XColumn, 1);
  // y(x) off turns xauto off and disables its box.
  ws.SetYofX(false);
  EXPECT_FALSE(ws.XAuto);
  EXPECT_FALSE(ws.XAutoEnabled);
  EXPECT_EQ(ws.XNameLabel, "");
  EXPECT_EQ(ws.XvalsText(1), "");
  // xauto cannot be switched on while y(x) is off.
  ws.SetXAuto(true);
  EXPECT_FALSE(ws.XAuto);
}

TEST_F(WorksheetTest, ColumnListFollowsTheLeftmostColumn) {
  fill(27, 0, {1});
  ws.column(27).nameBlock->path = ".RUNS.R1";
  ws.column(27).modified = false;
  view.clear();
  ws.setLeftColumn(26);
  EXPECT_EQ(view.listChanges, 1);
  EXPECT_EQ(ws.ColumnListLine(0), " AA");
  EXPECT_EQ(ws.ColumnListLine(1), " AB       .RUNS.R1");
  EXPECT_EQ(ws.ColumnListSelection(), -1);
  ws.setLeftColumn(505);
  EXPECT_EQ(ws.ColumnListLine(4), " SP");
  EXPECT_EQ(ws.ColumnListLine(5), "");
}

TEST_F(WorksheetTest, RequestsRunTheirStepOnConfirmationOnly) {
  std::vector<std::pair<int, int>> runs;
  ws.setRequestStep(23, [&](Worksheet& w) { runs.emplace_back(w.C1, w.C2); });
  ws.AskColumn("Pick one", 23);
  EXPECT_TRUE(ws.requestActive());
  EXPECT_EQ(ws.Request.kind, RequestKind::Column);
  EXPECT_EQ(view.requestChanges, 1);
  ws.CancelRequest();
  EXPECT_FALSE(ws.requestActive());
  EXPECT_TRUE(runs.empty());
  // The last request wins.
  ws.AskRange("first", 2);
  ws.AskRange(std::string(80, 'p'), 23);
  EXPECT_EQ(ws.Request.prompt.size(), 67u);
  view.clear();
  ws.ConfirmRequestText(" c", "e");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], std::make_pair(2, 4));
  EXPECT_GE(view.listChanges, 1);  // every step ends with the column list
  // A one-column request leaves C2 as it was.
  ws.AskColumn("again", 23);
  ws.ConfirmRequest(7, 99);
  EXPECT_EQ(runs[1], std::make_pair(7, 4));
  // Unknown or empty codes run nothing.
  ws.RunRequest(30);
  ws.RunRequest(200);
  EXPECT_EQ(runs.size(), 2u);
  // Cancelling a request of the graph definitions window hands back to it.
  int handedBack = 0;
  ws.graphDefsCancelled = [&] { ++handedBack; };
  ws.AskColumn("Y column", 6, true);
  ws.CancelRequest();
  EXPECT_EQ(handedBack, 1);
}

TEST_F(WorksheetTest, NamingAColumn) {
  ws.StartName();
  EXPECT_EQ(ws.Request.prompt, "Column to name:");
  host.names = {"bad*name", "Pressure"};
  ws.ConfirmRequestText("b");
  ASSERT_EQ(host.prompts.size(), 2u);
  EXPECT_EQ(host.prompts[0], "Edit Series Name and description for: B ");
  EXPECT_EQ(host.messages, std::vector<std::string>{"Name has illegal form"});
  ASSERT_TRUE(ws.inUse(1));
  EXPECT_EQ(ws.columnName(1), "Pressure");
  EXPECT_FALSE(ws.column(1).modified);  // naming is not a change of data
  // The name dialog's OK: description lines joined by a backslash only when line 2 is set.
  EXPECT_TRUE(ws.ApplyName(1, "P2", "line one", ""));
  EXPECT_EQ(ws.column(1).info->description, "line one");
  EXPECT_TRUE(ws.ApplyName(1, "P2", "line one", "two"));
  EXPECT_EQ(ws.column(1).info->description, "line one\\two");
  EXPECT_FALSE(ws.ApplyName(1, std::string(28, 'x'), "", ""));
  EXPECT_EQ(ws.columnName(1), "P2");
}

TEST_F(WorksheetTest, SavingColumnsAsksForLegalNames) {
  TempDir dir;
  store.CREATEDSF(dir.file("W.DSF"));
  ASSERT_FALSE(store.StoreError);
  fill(0, 0, {1, 2});
  fill(1, 0, {3});
  ws.column(1).nameBlock->path = "KEEP";
  fill(2, 0, {4});
  ws.StartSave();
  EXPECT_EQ(ws.Request.prompt, "Range of columns to save:");
  host.names = {"FIRST"};  // for A; C's dialog is cancelled
  ws.ConfirmRequest(0, 2);
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(ws.columnName(0), ".FIRST");
  EXPECT_EQ(ws.columnName(1), ".KEEP");
  EXPECT_FALSE(ws.column(0).modified);
  EXPECT_FALSE(ws.column(1).modified);
  EXPECT_TRUE(ws.column(2).modified);
  EXPECT_EQ(ws.C1, 2);  // the last column the name dialog was opened for
  // Load it back into the first free column from F on.
  ws.EraseColumns(0, 0);
  ws.StartLoad(".FIRST");
  EXPECT_EQ(ws.Request.prompt, "Column at which to start loading:");
  view.clear();
  ws.ConfirmRequest(5);
  ASSERT_TRUE(ws.inUse(5));
  EXPECT_EQ(ws.columnName(5), ".FIRST");
  EXPECT_EQ(val(5, 1), 2.0f);
  EXPECT_TRUE(view.shown(5));
}

TEST_F(WorksheetTest, CloseQueryGuardsUnsavedColumns) {
  EXPECT_TRUE(ws.CloseQuery());
  EXPECT_TRUE(host.questions.empty());
  fill(3, 0, {1});
  host.answers = {Answer::Yes};  // return to the worksheet
  EXPECT_FALSE(ws.CloseQuery());
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0], "Some data may not have been saved!--Return to worksheet??");
  EXPECT_TRUE(ws.column(3).modified);
  // No: closing goes ahead and the data is discarded unsaved.
  EXPECT_TRUE(ws.CloseQuery());
  EXPECT_FALSE(ws.column(3).modified);
  ws.CloseWorksheet();
  EXPECT_FALSE(ws.inUse(3));
  EXPECT_EQ(store.loadedCount(), 0);
  // A running script is never asked.
  bool running = true;
  ws.setScriptRunningFlag(&running);
  fill(4, 0, {1});
  std::size_t asked = host.questions.size();
  EXPECT_TRUE(ws.CloseQuery());
  EXPECT_EQ(host.questions.size(), asked);
}

}  // namespace
}  // namespace plotane::test
