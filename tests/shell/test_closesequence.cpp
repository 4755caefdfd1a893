// The program's close: everyone is asked before anyone acts, and a refusal anywhere leaves the
// worksheet's unsaved data still guarded by the next close.
#include <gtest/gtest.h>

#include <string>

#include "TestHost.h"
#include "shell/AppContext.h"
#include "shell/CloseSequence.h"

namespace plotane {
namespace {

TEST(CloseSequence, AllAreAskedBeforeAnyActsAndARefusalStopsEveryone) {
  std::string trace;
  bool secondAgrees = false;
  auto party = [&](char name, bool* agrees) {
    return CloseParty{[&trace, name, agrees] {
                        trace += name;
                        return agrees ? *agrees : true;
                      },
                      [&trace, name] { trace += char(name - 'a' + 'A'); }};
  };
  std::vector<CloseParty> parties = {party('a', nullptr), party('b', &secondAgrees),
                                     party('c', nullptr)};
  EXPECT_FALSE(RunCloseSequence(parties));
  EXPECT_EQ(trace, "ab");  // the third is not asked, nobody commits
  trace.clear();
  secondAgrees = true;
  EXPECT_TRUE(RunCloseSequence(parties));
  EXPECT_EQ(trace, "abcABC");
  EXPECT_TRUE(RunCloseSequence({}));
}

TEST(CloseSequence, WorksheetAgreesButALaterCancelKeepsItsDataGuarded) {
  test::TestHost host;
  AppContext ctx(host);
  Series& s = ctx.worksheet.column(2);
  ctx.store.NEWSERIES(s, false, "");
  ctx.store.PUTVAL(s, 0, 1.0);
  ASSERT_TRUE(s.modified);
  const std::string question = "Some data may not have been saved!--Return to worksheet??";

  bool drawingAgrees = false;
  std::vector<CloseParty> parties = {
      {[&] { return ctx.worksheet.MayClose(); }, [&] { ctx.worksheet.CommitClose(); }},
      {[&] { return drawingAgrees; }, nullptr}};
  // No: the worksheet lets go, but the drawing's Cancel keeps the program and the flags.
  host.answers = {Answer::No};
  EXPECT_FALSE(RunCloseSequence(parties));
  EXPECT_TRUE(s.modified);
  // So the next close asks again; Yes returns to the worksheet.
  host.answers = {Answer::Yes};
  EXPECT_FALSE(RunCloseSequence(parties));
  EXPECT_TRUE(s.modified);
  ASSERT_EQ(host.questions.size(), 2u);
  EXPECT_EQ(host.questions[1], question);
  // Everyone agrees: now the flags are cleared, and the data file let go.
  drawingAgrees = true;
  host.answers = {Answer::No};
  EXPECT_TRUE(RunCloseSequence(parties));
  EXPECT_FALSE(s.modified);
  // A script statement running is never asked.
  ctx.store.PUTVAL(s, 1, 2.0);
  ctx.ScriptRunning = true;
  EXPECT_TRUE(ctx.worksheet.MayClose());
  EXPECT_EQ(host.questions.size(), 3u);
}

}  // namespace
}  // namespace plotane
