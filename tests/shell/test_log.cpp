// The log model and the batch host's way of showing messages and the log.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "TestHost.h"
#include "shell/AppContext.h"
#include "shell/base/BatchHost.h"
#include "shell/base/Messages.h"

namespace plotane {
namespace {

std::string readAll(std::FILE* f) {
  std::rewind(f);
  std::string s;
  int c;
  while ((c = std::fgetc(f)) != EOF) s.push_back(char(c));
  return s;
}

TEST(LogModel, ClearAddAppendTrackTheCurrentLine) {
  LogModel log;
  log.APPENDLOG("first");  // nothing yet: becomes a line of its own
  EXPECT_EQ(log.lines().size(), 1u);
  log.CLEARLOG();
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(log.lines()[0], "");
  EXPECT_EQ(log.currentLine(), 0);
  log.APPENDLOG("abc");
  log.ADDLOG("line 2");
  log.APPENDLOG(" more");
  ASSERT_EQ(log.lines().size(), 2u);
  EXPECT_EQ(log.lines()[0], "abc");
  EXPECT_EQ(log.lines()[1], "line 2 more");
  EXPECT_EQ(log.currentLine(), 1);
}

TEST(StoreMsg, CutsTo87Characters) {
  test::TestHost host;
  STOREMSG(host, std::string(100, 'x'));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].size(), 87u);
}

TEST(FloatFaults, AreCaughtAtTheCommandAndReportedWithThePlatformText) {
  test::TestHost host;
  EXPECT_FALSE(guardFloat(host, [] { fpDiv(1.0, 0.0); }));
  EXPECT_FALSE(guardFloat(host, [] { fpCheck(1e308 * 10.0); }));
  EXPECT_FALSE(guardFloat(host, [] { fpCheck(std::nan("")); }));
  EXPECT_TRUE(guardFloat(host, [] { fpDiv(1.0, 4.0); }));
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[0], "Floating point division by zero");
  EXPECT_EQ(host.messages[1], "Floating point overflow");
  EXPECT_EQ(host.messages[2], "Invalid floating point operation");
}

TEST(BatchHost, MessagesGoToStderrOneLineEachAndQuestionsTakeNoOrCancel) {
  LogModel log;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  BatchHost host(out, err);
  host.setLog(&log);
  host.message("two\nlines");
  EXPECT_EQ(host.ask("Sure?"), Answer::No);
  EXPECT_EQ(host.ask("Save?", true), Answer::Cancel);
  double v = 3;
  EXPECT_FALSE(host.askReal("Number?", v));
  EXPECT_EQ(readAll(err), "two lines\nSure?\nSave?\nNumber?\n");
  log.CLEARLOG();
  log.APPENDLOG("a");
  log.ADDLOG("b");
  log.SHOWLOG(host);
  EXPECT_EQ(readAll(out), "a\nb\n");
  std::fclose(out);
  std::fclose(err);
}

}  // namespace
}  // namespace plotane
