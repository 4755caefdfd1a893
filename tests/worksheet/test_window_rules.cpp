// The worksheet window's rules that live in the model: labels and their notification, the
// use-limit and real-number checks, the number display items, the name dialog's lines, the
// series dialogs' listings and acceptance, the TXT read question, the close question's
// answers and the re-entrant commit.

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "TempDir.h"
#include "WorksheetFixture.h"
#include "worksheet/WorksheetDialogs.h"

namespace plotane::test {
namespace {

class LocationView : public RecordingView {
 public:
  int locationChanges = 0;
  void storeLocationChanged() override { ++locationChanges; }
};

struct WindowRulesTest : WorksheetTest {
  LocationView lview;
  TempDir dir;
  void SetUp() override { ws.setView(&lview); }
  void writeText(const std::string& name, const std::string& text) {
    std::ofstream(dir.file(name), std::ios::binary) << text;
  }
};

TEST_F(WindowRulesTest, LabelsFollowAttachCreateAndDsDirChanges) {
  EXPECT_EQ(DsfLabelText(store), "Current DSDir path in file <NO FILE>");
  std::string file = dir.file("LABELS.DSF");
  store.CREATEDSF(file);
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(lview.locationChanges, 1);
  EXPECT_EQ(DsfLabelText(store), "Current DSDir path in file " + file.substr(0, 87));
  store.MAKEDSDIR(".RUN1");
  store.SETDSDIR(".RUN1");
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(DsDirLabelText(store), ".RUN1");
  EXPECT_EQ(lview.locationChanges, 2);
  // A failed change leaves the labels (and says nothing to the view).
  store.SETDSDIR(".NOSUCH");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(lview.locationChanges, 2);
  store.ATTACHDSF(dir.file("MISSING.DSF"));
  EXPECT_EQ(lview.locationChanges, 2);
  EXPECT_EQ(DsDirLabelText(store), ".RUN1");
  // The root again (Delete DSDir ends with SETDSDIR(".")).
  store.SETDSDIR(".");
  EXPECT_EQ(DsDirLabelText(store), "");
  EXPECT_EQ(lview.locationChanges, 3);
}

TEST_F(WindowRulesTest, LongFileNameIsCutOnlyInTheLabel) {
  std::string sub = dir.file(std::string(70, 'd'));
  ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
  std::string file = sub + "/LONGNAME.DSF";
  ASSERT_GT(file.size(), 87u);
  store.CREATEDSF(file);
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(store.DsfName(), file);
  EXPECT_EQ(DsfLabelText(store), "Current DSDir path in file " + file.substr(0, 87));
}

TEST(WindowRules, UseLimitDialogChecks) {
  int lo = 7, hi = 7;
  EXPECT_EQ(UseLimitFieldText(0), "     0");
  EXPECT_EQ(UseLimitFieldText(-400), "  -400");
  EXPECT_EQ(CheckUseLimits("10", "5", lo, hi), UseLimitsCheck::OutOfRange);
  EXPECT_EQ(CheckUseLimits("-401", "5", lo, hi), UseLimitsCheck::OutOfRange);
  EXPECT_EQ(CheckUseLimits("0", "12001", lo, hi), UseLimitsCheck::OutOfRange);
  EXPECT_EQ(CheckUseLimits("1.5", "5", lo, hi), UseLimitsCheck::NotInteger);
  EXPECT_EQ(CheckUseLimits("", "5", lo, hi), UseLimitsCheck::NotInteger);
  EXPECT_EQ(CheckUseLimits("3x", "5", lo, hi), UseLimitsCheck::NotInteger);
  EXPECT_EQ(CheckUseLimits("99999999999999999999", "5", lo, hi), UseLimitsCheck::NotInteger);
  EXPECT_EQ(lo, 7);
  EXPECT_EQ(CheckUseLimits("  -400", " 12000 ", lo, hi), UseLimitsCheck::Ok);
  EXPECT_EQ(lo, -400);
  EXPECT_EQ(hi, 12000);
  EXPECT_EQ(CheckUseLimits("+5", "5", lo, hi), UseLimitsCheck::Ok);
  EXPECT_EQ(lo, 5);
}

TEST(WindowRules, RealEntryAndNumberDisplayItems) {
  std::string t = RealEntryText(2.5);
  EXPECT_EQ(t.size(), 15u);
  double v = 0;
  ASSERT_TRUE(RealEntryValue(t, v));
  EXPECT_EQ(v, 2.5);
  EXPECT_FALSE(RealEntryValue("2.5x", v));
  EXPECT_FALSE(RealEntryValue("", v));
  EXPECT_EQ(v, 2.5);
  // Only the first 35 characters count: a number after them is not seen.
  EXPECT_FALSE(RealEntryValue(std::string(35, ' ') + "1", v));

  const auto& items = DecimalItems();
  EXPECT_EQ(items[0], "Flexible decimal position");
  EXPECT_EQ(items[1], "Scientific (E-) format");
  EXPECT_EQ(items[2], "0      Fixed places");
  EXPECT_EQ(items[11], "9");
  for (int format = -2; format <= 9; ++format)
    EXPECT_EQ(DecimalSpecOfItem(DecimalItemOfSpec(format)), format);
  EXPECT_EQ(DecimalSpecOfItem(-1), -2);
  EXPECT_EQ(DecimalItemOfSpec(12), 0);
}

TEST(WindowRules, NameDialogLinesAndCaption) {
  EXPECT_EQ(NameDialogCaption(1), "Edit Series Name and description for: B ");
  EXPECT_EQ(NameDialogCaption(509), "Edit Series Name and description for: SP");
  std::string a, b;
  SplitDescription("first\\second\\third", a, b);
  EXPECT_EQ(a, "first");
  EXPECT_EQ(b, "second\\third");
  SplitDescription("only one", a, b);
  EXPECT_EQ(a, "only one");
  EXPECT_EQ(b, "");
}

TEST_F(WindowRulesTest, SeriesDialogListsMatchesAndWantsOnePathInTheOneSeriesForm) {
  store.CREATEDSF(dir.file("SER.DSF"));
  ASSERT_FALSE(store.StoreError);
  store.NAMEDNEWSERIES(ws.column(0), "TEMP", "");
  store.PUTVAL(ws.column(0), 0, 1.0);
  store.SAVESERIES(ws.column(0), "TEMP");
  store.MAKEDSDIR(".SUB");
  store.SAVESERIES(ws.column(0), ".SUB.PRESS");
  ASSERT_FALSE(store.StoreError);

  EXPECT_EQ(SeriesDialogInitialText(store), "&");
  std::vector<std::string> all = SeriesDialogList(store, SeriesDialogKind::Series, "&");
  EXPECT_NE(std::find(all.begin(), all.end(), ".TEMP"), all.end());
  // No wildcard: nothing to list.
  EXPECT_TRUE(SeriesDialogList(store, SeriesDialogKind::Series, ".TEMP").empty());
  std::vector<std::string> tree = SeriesDialogList(store, SeriesDialogKind::DsDir, "");
  EXPECT_FALSE(tree.empty());
  store.SETDSDIR(".SUB");
  EXPECT_EQ(SeriesDialogInitialText(store), ".SUB&");

  EXPECT_TRUE(SeriesDialogAccepts(SeriesDialogKind::Series, "&"));
  EXPECT_FALSE(SeriesDialogAccepts(SeriesDialogKind::OneSeries, ".A*"));
  EXPECT_FALSE(SeriesDialogAccepts(SeriesDialogKind::DsDir, ".A?"));
  EXPECT_TRUE(SeriesDialogAccepts(SeriesDialogKind::OneSeries, ".SUB.PRESS"));
  EXPECT_EQ(SeriesDialogResult(std::string(100, 'A')).size(), 87u);
  EXPECT_STREQ(SeriesDialogCaption(SeriesDialogKind::Series), "Select of series in DSF");
  EXPECT_STREQ(SeriesDialogCaption(SeriesDialogKind::OneSeries), "Select one series in DSF");
  EXPECT_STREQ(SeriesDialogCaption(SeriesDialogKind::DsDir), "Select a DSDir in DSF");
}

TEST_F(WindowRulesTest, TxtReadAsksBeforeReplacingUnsavedColumns) {
  writeText("T.TXT", "*    P\r\n*    Q\r\n1 2\r\n3 4\r\n");
  EXPECT_EQ(ws.TxtColumnsToReplace(dir.file("T.TXT"), 1), 2);
  writeText("N.TXT", "1 2 3\r\n");
  EXPECT_EQ(ws.TxtColumnsToReplace(dir.file("N.TXT"), 508), 2);  // only two columns left
  EXPECT_EQ(ws.TxtColumnsToReplace(dir.file("NONE.TXT"), 0), 0);

  // C (in the block B..C) holds a typed, unsaved value; D lies outside the block.
  fill(2, 0, {9.0});
  fill(3, 0, {8.0});
  ws.StartReadTxt(dir.file("T.TXT"));
  host.answers = {Answer::No};
  ws.ConfirmRequest(1);
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0], kTxtReplaceQuestion);
  EXPECT_EQ(val(2, 0), 9.0f);  // kept
  EXPECT_FALSE(ws.inUse(1));

  ws.StartReadTxt(dir.file("T.TXT"));
  host.answers = {Answer::Yes};
  ws.ConfirmRequest(1);
  EXPECT_EQ(ws.columnName(2), "Q");
  EXPECT_EQ(val(2, 0), 2.0f);

  // Saved (unmodified) columns are replaced without a question, and so is anything while a
  // script runs.
  host.clear();
  ws.StartReadTxt(dir.file("T.TXT"));
  ws.ConfirmRequest(1);
  EXPECT_TRUE(host.questions.empty());
  bool running = true;
  ws.setScriptRunningFlag(&running);
  fill(4, 0, {1.0});
  ws.StartReadTxt(dir.file("T.TXT"));
  ws.ConfirmRequest(3);
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(ws.columnName(3), "P");
}

TEST_F(WindowRulesTest, CloseQuestionKeepsTheDataUnlessTheAnswerIsNo) {
  fill(0, 0, {1.0});
  host.answers = {Answer::Yes, Answer::Cancel, Answer::No};
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(ws.CloseQuery());
    EXPECT_TRUE(ws.column(0).modified);
  }
  EXPECT_TRUE(ws.CloseQuery());
  EXPECT_EQ(host.questions.size(), 3u);
  EXPECT_FALSE(ws.column(0).modified);
}

// A host whose boxes steal the focus: the grid's focus loss commits again from inside.
class FocusStealingHost : public TestHost {
 public:
  Worksheet* ws = nullptr;
  int nested = 0;
  Answer ask(const std::string& text, bool withCancel, const std::string& caption) override {
    if (ws && nested++ == 0) ws->CommitCurrentCell();  // the grid lost the focus to this box
    return TestHost::ask(text, withCancel, caption);
  }
  void message(const std::string& text, const std::string& caption) override {
    if (ws && nested++ == 0) ws->CommitCurrentCell();
    TestHost::message(text, caption);
  }
};

TEST(WindowRules, CommitIsNotReenteredFromItsOwnBoxes) {
  FocusStealingHost host;
  LogModel log;
  Store store{host, log};
  Worksheet ws{store, host, log};
  RecordingView view;
  ws.setView(&view);
  host.ws = &ws;
  Series& s = ws.column(0);
  store.NEWSERIES(s, false, "");
  for (int i = 10; i <= 12; ++i) store.PUTVAL(s, i, double(i));
  // Emptying the end cell at 12: one question, one value removed.
  ws.CurrentColumn = 0;
  ws.CurrentIndex = 12;
  ws.EntryText = ws.CellText(0, 12);
  view.editing = true;
  view.edit = "";
  host.answers = {Answer::Yes, Answer::Yes};
  EXPECT_TRUE(ws.CommitCurrentCell());
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(s.highestIndex(), 11);
  // A refused value: one "Error at" box, not two.
  host.nested = 0;
  ws.CurrentIndex = 5;
  ws.EntryText.clear();
  view.edit = "abc";
  EXPECT_FALSE(ws.CommitCurrentCell());
  EXPECT_EQ(host.messages, std::vector<std::string>{"Error at 0,5"});
}

}  // namespace
}  // namespace plotane::test
