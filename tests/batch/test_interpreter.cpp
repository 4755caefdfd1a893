// The script interpreter on its own, with a small command set that records what it was given:
// tokens, comments, quoting, parameters, argument readers and their bounds, the run loop.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "TempDir.h"
#include "TestHost.h"
#include "batch/EbtRunner.h"
#include "shell/base/Messages.h"

namespace plotane {
namespace {

const char* const kError = "Error...cannot continue:";

// The first line of a message: the error box may add the reason below it.
std::string head(const std::string& m) { return m.substr(0, m.find('\n')); }
std::vector<std::string> heads(const std::vector<std::string>& ms) {
  std::vector<std::string> out;
  for (const std::string& m : ms) out.push_back(head(m));
  return out;
}

// Records each command as "WORD|arg|arg..." .
class FakeCommands : public ScriptCommands {
 public:
  std::vector<std::string> calls;
  int statements = 0;
  bool runningSeen = false;
  bool xLog = false, yLog = false;
  std::vector<std::pair<int, int>> selections;

  bool execute(EbtRunner& r, const std::string& word) override {
    std::string call = word;
    auto add = [&](const std::string& s) { call += "|" + s; };
    runningSeen = running != nullptr && *running;
    if (word == "WWATTACH") {
      add(r.readText(true));
    } else if (word == "WWTWO") {
      add(r.readText(false));
      add(r.readText(true));
    } else if (word == "@FAULT") {
      throw FloatFault{FloatFaultKind::DivideByZero};
    } else if (word == "DWDRAWLINE") {
    } else if (word == "DWMAAF") {
      double x = r.readReal(false, 0, 10), y = r.readReal(true, 0, 10);
      add(std::to_string(x));
      add(std::to_string(y));
    } else if (word == "WWUSELIMS") {
      int lo = r.readInt(false, -398, 12000), hi = r.readInt(true, -398, 12000);
      add(std::to_string(lo));
      add(std::to_string(hi));
    } else if (word == "DWMAAG") {
      double x = 0, y = 0;
      r.readGraphPoint(true, x, y);
      add(std::to_string(x));
      add(std::to_string(y));
    } else if (word == "@DRAWPOINT") {
      add(std::to_string(r.readSymbol(true)));
    } else if (word == "WWCOLCOPY") {
      int a = 0, b = 0;
      r.readRange(false, a, b);
      int c = r.readColumn(true);
      add(std::to_string(a));
      add(std::to_string(b));
      add(std::to_string(c));
    } else {
      return false;
    }
    if (!r.ScriptError) calls.push_back(call);
    return true;
  }
  void beforeStatement() override { ++statements; }
  bool cursorValue(const std::string& name, double& v) override {
    v = name == "%NRCURAX" ? 1.25 : name == "%NRCURAY" ? 6.5 : name == "%NRCURBX" ? 7.75 : 9.5;
    return true;
  }
  bool useLimitValue(const std::string& name, int& v) override {
    v = name == "%NILOLIM" ? -5 : 777;
    return true;
  }
  bool logAxis(bool yAxis) override { return yAxis ? yLog : xLog; }
  void columnsSelected(int first, int second, bool) override {
    selections.emplace_back(first, second);
  }
  const bool* running = nullptr;
};

struct Fixture {
  test::TestHost host;
  bool running = false;
  FakeCommands commands;
  EbtRunner runner{host, running};
  Fixture() {
    runner.setCommands(&commands);
    commands.running = &running;
  }
  // Runs the text to its end (or first error); the calls made.
  const std::vector<std::string>& run(const std::string& text) {
    runner.setText(text);
    runner.RUN();
    return commands.calls;
  }
  bool failed() const { return runner.ScriptError; }
  int errorMessages() const {
    int n = 0;
    for (const auto& m : host.messages) n += head(m) == kError;
    return n;
  }
};

// Each text, run on its own, stops with the error message before any command ran.
void expectEachFails(std::initializer_list<std::string> texts, bool yLog = false) {
  for (const std::string& text : texts) {
    Fixture f;
    f.commands.yLog = yLog;
    f.run(text);
    EXPECT_TRUE(f.failed()) << text;
    EXPECT_TRUE(f.commands.calls.empty()) << text;
    EXPECT_EQ(head(f.host.lastMessage()), kError) << text;
  }
}

TEST(Interpreter, AttachThenEndStopsWithoutAMessage) {
  Fixture f;
  EXPECT_EQ(f.run("WWATTACH(DATA);\r\nEND\r\n"), std::vector<std::string>{"WWATTACH|DATA"});
  EXPECT_TRUE(f.runner.ScriptStop);
  EXPECT_FALSE(f.failed());
  EXPECT_TRUE(f.host.messages.empty());
  // Text after END is never read.
  Fixture g;
  EXPECT_EQ(g.run("WWATTACH(a); END; garbage'(((").size(), 1u);
  EXPECT_FALSE(g.failed());
}

TEST(Interpreter, StatementsEndWithASemicolonAfterTheWordOrTheParenthesis) {
  Fixture f;
  f.run("DWDRAWLINE\nDWDRAWLINE;");
  EXPECT_TRUE(f.failed());
  EXPECT_EQ(f.errorMessages(), 1);

  // The last statement of the text needs no ";", trailing blanks and comments included.
  Fixture g;
  EXPECT_EQ(g.run("DWDRAWLINE;\nDWDRAWLINE").size(), 2u);
  EXPECT_FALSE(g.failed());
  Fixture h;
  EXPECT_EQ(h.run("DWDRAWLINE;DWDRAWLINE \n {done} \n").size(), 2u);
  EXPECT_FALSE(h.failed());
  EXPECT_TRUE(h.host.messages.empty());

  // The ";" after ")" is read by the next statement as an empty token.
  Fixture k;
  EXPECT_EQ(k.run("WWATTACH(X);;;WWATTACH(Y);").size(), 2u);
  EXPECT_FALSE(k.failed());
}

TEST(Interpreter, QuotesKeepCaseAndBlanksAndDoubledQuotesStandForOne) {
  Fixture f;
  EXPECT_EQ(f.run("wwattach('my file');WWATTACH('it''s');WWATTACH(ab'Cd e'f);WWATTACH('');"),
            (std::vector<std::string>{"WWATTACH|my file", "WWATTACH|it's", "WWATTACH|ABCd eF",
                                      "WWATTACH|"}));
  EXPECT_FALSE(f.failed());
  // Quoted delimiters and comment marks are text.
  Fixture g;
  EXPECT_EQ(g.run("WWATTACH('a,b);{c}(*d*)');"),
            std::vector<std::string>{"WWATTACH|a,b);{c}(*d*)"});

  Fixture h;
  h.run("WWATTACH(MY FILE);");
  EXPECT_TRUE(h.failed());
  EXPECT_TRUE(h.commands.calls.empty());
  EXPECT_EQ(head(h.host.lastMessage()), kError);
}

TEST(Interpreter, CaretGivesControlCharactersAndTextIsUpperCasedOutsideQuotes) {
  Fixture f;
  f.run("WWATTACH(a^mb^Gz);wwattach(^^);");
  ASSERT_EQ(f.commands.calls.size(), 2u);
  EXPECT_EQ(f.commands.calls[0], std::string("WWATTACH|A\rB\x07Z"));
  EXPECT_EQ(f.commands.calls[1], std::string("WWATTACH|\x1E"));
  // Inside quotes the caret is an ordinary character.
  Fixture g;
  EXPECT_EQ(g.run("WWATTACH('^M');"), std::vector<std::string>{"WWATTACH|^M"});
}

TEST(Interpreter, ParametersReplaceWholeArgumentsUnchanged) {
  Fixture f;
  f.runner.setParams({"script", "Mixed Case", "", "4"});
  f.run("WWATTACH(%2);WWATTACH(%0);WWATTACH(%a);WWATTACH('%4');");
  EXPECT_EQ(f.commands.calls, (std::vector<std::string>{"WWATTACH|Mixed Case", "WWATTACH|%0",
                                                        "WWATTACH|%A", "WWATTACH|4"}));
  EXPECT_FALSE(f.failed());
  // Numbers may come from parameters too.
  Fixture g;
  g.runner.setParams({"s", "2.5", "300"});
  g.run("DWMAAF(%2,%1);");
  EXPECT_TRUE(g.failed());
  Fixture h;
  h.runner.setParams({"s", "2.5", "300"});
  EXPECT_EQ(h.run("WWUSELIMS(-3,%3);"), std::vector<std::string>{"WWUSELIMS|-3|300"});
}

TEST(Interpreter, AParameterEmptyAfterSubstitutionIsAnEmptyArgument) {
  // Never a name made of nothing (a file ".DSF"): the statement fails like WWATTACH().
  for (const char* text : {"WWATTACH(%3);", "WWATTACH(%9);", "WWTWO(%3,A);", "DWMAAF(1,%3);"}) {
    Fixture f;
    f.runner.setParams({"script", "x", ""});
    f.run(text);
    EXPECT_TRUE(f.failed()) << text;
    EXPECT_TRUE(f.commands.calls.empty()) << text;
    EXPECT_NE(f.runner.reason().find("is empty"), std::string::npos) << f.runner.reason();
  }
  // A quoted empty text is still a text.
  Fixture g;
  EXPECT_EQ(g.run("WWATTACH('');"), std::vector<std::string>{"WWATTACH|"});
}

// A statement that fails without a message of its own says why, under the error text.
TEST(Interpreter, AFailureWithoutAMessageSaysWhy) {
  struct Case {
    std::string script;
    std::string reason;
  } cases[] = {
      {"WWUSELIMS(0,12001);", "argument 2: 12001 is above the upper bound 12000"},
      {"WWUSELIMS(-399,0);", "argument 1: -399 is below the lower bound -398"},
      {"WWUSELIMS(0,99999999999999999999999);",
       "argument 2: 99999999999999999999999 is above the upper bound 12000"},
      {"WWUSELIMS(1.0,2);", "argument 1: \"1.0\" is not a whole number"},
      {"DWMAAF(1,10.5);", "argument 2: 10.5 is above the upper bound 10"},
      {"DWMAAF(1,-1E999);", "argument 2: -1E999 is below the lower bound 0"},
      {"DWMAAF(1,x);", "argument 2: \"X\" is not a number"},
      {"@DRAWPOINT(XX);", "argument 1: \"XX\" is not a point symbol"},
      {"WWCOLCOPY(C..A,A);", "argument 1: \"C..A\" is not a column range"},
      {"WWCOLCOPY(A,7);", "argument 2: \"7\" is not a column"},
      {"WWATTACH(DATA,X);", "too many arguments: \",\" after argument 1"},
      {"WWTWO(A);", "too few arguments: \")\" after argument 1"},
      {"WWATTACH(DATA;", "argument 1: \"DATA\" must be followed by \")\""},
      {"WWATTACH();", "argument 1 is empty"},
      {"WWATTACH;", "the arguments must follow in parentheses"},
      {"WWNOTHING;", "no such command"},
      {"DWDRAWLINE\nDWDRAWLINE;", "\";\" expected after the statement"},
      {"BEGIN", "BEGIN stops the script"},
      {"{ never closed", "a comment is not closed"},
      {"WWATTACH('abc);", "a quote is not closed"},
      // The reason stays on one line, whatever the argument holds.
      {"WWCOLCOPY(A,'x\ny');", "argument 2: \"x^Jy\" is not a column"},
      {"WWCOLCOPY(A," + std::string(50, 'B') + ");",
       "argument 2: \"" + std::string(40, 'B') + "...\" is not a column"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.run(c.script);
    EXPECT_TRUE(f.failed()) << c.script;
    EXPECT_EQ(f.runner.reason(), c.reason) << c.script;
    EXPECT_EQ(f.host.lastMessage(), kError + ("\n" + c.reason)) << c.script;
  }
  Fixture y;
  y.commands.yLog = true;
  y.run("DWMAAG(1,0);");
  EXPECT_EQ(y.runner.reason(), "argument 2: 0 is below the least logarithmic value 1e-38");

  // Batch mode prints the reason with the stopping line: the box keeps its one text.
  Fixture b;
  b.runner.ReasonInErrorBox = false;
  b.run("DWMAAF(1,10.5);");
  EXPECT_EQ(b.host.messages, std::vector<std::string>{kError});
  EXPECT_EQ(b.runner.reason(), "argument 2: 10.5 is above the upper bound 10");
  // A command with a message of its own (here a floating-point fault) adds no reason, and the
  // next statement starts without one.
  Fixture g;
  g.run("@FAULT;");
  EXPECT_EQ(g.runner.reason(), "");
  EXPECT_EQ(g.host.lastMessage(), kError);
  Fixture h;
  h.runner.setText("DWMAAF(1,11); DWDRAWLINE;");
  h.runner.STEP();
  EXPECT_FALSE(h.runner.reason().empty());
  h.runner.STEP();
  EXPECT_FALSE(h.failed());
  EXPECT_EQ(h.runner.reason(), "");
}

TEST(Interpreter, BeginStopsWithTheErrorMessage) {
  Fixture f;
  f.run("DWDRAWLINE; BEGIN DWDRAWLINE;");
  EXPECT_EQ(f.commands.calls.size(), 1u);
  EXPECT_TRUE(f.runner.ScriptStop);
  EXPECT_TRUE(f.failed());
  EXPECT_EQ(heads(f.host.messages), std::vector<std::string>{kError});
}

TEST(Interpreter, CommentsCountAsBlanksEverywhere) {
  Fixture f;
  f.run(
      "{a comment} WWATTACH {between word and parenthesis} (DATA);\n"
      "(* another\n one *) WWTWO ( (*x*) A {y} , 'b' (*z*) ) ;\n"
      "DWDRAWLINE{no blank};");
  EXPECT_EQ(f.commands.calls,
            (std::vector<std::string>{"WWATTACH|DATA", "WWTWO|A|b", "DWDRAWLINE"}));
  EXPECT_FALSE(f.failed());
  // A parenthesis not followed by "*" inside an argument is just a character.
  Fixture g;
  EXPECT_EQ(g.run("WWATTACH(A(B);"), std::vector<std::string>{"WWATTACH|A(B"});
  // A file of comments only, or of nothing, holds no statement: an error, not a silent end.
  for (const char* text : {"{one} (* two *)\n{three}", "", " \r\n"}) {
    Fixture h;
    h.run(text);
    EXPECT_TRUE(h.failed()) << text;
    EXPECT_TRUE(h.runner.ScriptStop);
    EXPECT_EQ(heads(h.host.messages), std::vector<std::string>{kError});
  }
}

TEST(Interpreter, UnterminatedQuotesAndCommentsAreErrors) {
  expectEachFails({"WWATTACH('abc);", "{ never closed", "(* open", "WWATTACH(abc", "WWATTACH(",
                   "WWATTACH(a^", "WWATTACH", "'"});
  Fixture f;
  EXPECT_EQ(f.run("DWDRAWLINE; (* open").size(), 1u);
  EXPECT_TRUE(f.failed());
  EXPECT_EQ(head(f.host.lastMessage()), kError);
}

TEST(Interpreter, ArgumentsNeedTheRightDelimitersAndAreNotEmpty) {
  expectEachFails({"WWATTACH(DATA,X);", "WWATTACH(DATA;", "WWTWO(A);", "WWTWO(A)B);", "WWATTACH();",
                   "WWTWO(,A,B);", "WWATTACH;", "WWATTACH DATA;", "WWATTACH(END);"});
}

TEST(Interpreter, UnknownWordsAreErrors) {
  expectEachFails({"XYZ;", "WWNOTHING;", "@NOTHING;", "GW;", "DWX(1);", "(1);"});
  Fixture f;
  f.run("end");
  EXPECT_FALSE(f.failed());
}

TEST(Interpreter, LongTokensAndGarbageEndCleanly) {
  Fixture f;
  f.run(std::string(100000, 'W') + ";");
  EXPECT_TRUE(f.failed());
  // A long argument is cut to 87 characters.
  Fixture g;
  g.run("WWATTACH(" + std::string(500, 'x') + ");");
  ASSERT_EQ(g.commands.calls.size(), 1u);
  EXPECT_EQ(g.commands.calls[0], "WWATTACH|" + std::string(87, 'X'));
  // Random bytes: every run ends, some way or another.
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    std::string text(std::size_t(rng() % 200), '\0');
    for (char& c : text) c = char(rng() % 256);
    if (i % 2) text = "WWATTACH(" + text;
    Fixture h;
    h.runner.setText(text);
    for (int steps = 0; steps < 10000 && !h.runner.ScriptStop; ++steps) h.runner.STEP();
    EXPECT_TRUE(h.runner.ScriptStop || h.runner.position() <= text.size());
    h.runner.RUN();  // also ends
  }
}

TEST(Interpreter, IntegerAndRealBounds) {
  Fixture f;
  EXPECT_EQ(f.run("DWMAAF(10,0);"),
            std::vector<std::string>{"DWMAAF|" + std::to_string(10.0) + "|" + std::to_string(0.0)});
  expectEachFails({"DWMAAF(10.5,1);", "DWMAAF(-0.1,1);", "DWMAAF(1,x);", "DWMAAF(1,1E);",
                   "DWMAAF(1,.);", "DWMAAF(1,1E999);", "DWMAAF(1,NAN);", "WWUSELIMS(-399,0);",
                   "WWUSELIMS(0,12001);", "WWUSELIMS(1.0,2);",
                   "WWUSELIMS(0,99999999999999999999999);", "WWUSELIMS(+,1);"});
  Fixture h;
  EXPECT_EQ(h.run("DWMAAF(+.5,5.);WWUSELIMS(-398,+12000);WWUSELIMS(%NILOLIM,%niuplim);"),
            (std::vector<std::string>{"DWMAAF|" + std::to_string(0.5) + "|" + std::to_string(5.0),
                                      "WWUSELIMS|-398|12000", "WWUSELIMS|-5|777"}));
  // Cursor names stand for the cursors' page positions.
  Fixture k;
  k.run("DWMAAF(%NRCURAX,%NRCURBY);");
  EXPECT_EQ(k.commands.calls,
            std::vector<std::string>{"DWMAAF|" + std::to_string(1.25) + "|" + std::to_string(9.5)});
}

TEST(Interpreter, GraphPointsFollowTheAxisKind) {
  Fixture f;
  f.commands.yLog = true;
  f.run("DWMAAG(-2.5,1000);");
  ASSERT_EQ(f.commands.calls.size(), 1u);
  EXPECT_EQ(f.commands.calls[0], "DWMAAG|" + std::to_string(-2.5) + "|" + std::to_string(3.0));
  expectEachFails({"DWMAAG(1,0);", "DWMAAG(1,-1);", "DWMAAG(1,1E-39);", "DWMAAG(4E38,1);"}, true);
}

TEST(Interpreter, PointSymbolLetters) {
  const char* letters[12] = {"OP", "OX", "OH", "OV", "OC", "OD",
                             "OS", "OT", "SC", "SD", "SS", "ST"};
  for (int code = 0; code < 12; ++code) {
    Fixture f;
    f.run(std::string("@DRAWPOINT(") + letters[code] + ");");
    EXPECT_EQ(f.commands.calls, std::vector<std::string>{"@DRAWPOINT|" + std::to_string(code)});
  }
  expectEachFails({"@DRAWPOINT(SP);", "@DRAWPOINT(O);", "@DRAWPOINT(OPX);", "@DRAWPOINT(XX);",
                   "@DRAWPOINT(SX);"});
}

TEST(Interpreter, ColumnsAndRanges) {
  Fixture f;
  f.run("WWCOLCOPY(A..C,SP);WWCOLCOPY(ab,z);WWCOLCOPY(B.B,A);WWCOLCOPY(AA...AB,AA);");
  EXPECT_EQ(f.commands.calls, (std::vector<std::string>{"WWCOLCOPY|0|2|509", "WWCOLCOPY|27|27|25",
                                                        "WWCOLCOPY|1|1|0", "WWCOLCOPY|26|27|26"}));
  EXPECT_EQ(f.commands.selections.front(), std::make_pair(0, 2));
  EXPECT_EQ(f.commands.selections[1], std::make_pair(509, 509));
  expectEachFails({"WWCOLCOPY(C..A,A);", "WWCOLCOPY(A..SQ,A);", "WWCOLCOPY(A,7);",
                   "WWCOLCOPY(A..,A);", "WWCOLCOPY(..A,A);", "WWCOLCOPY(ABC,A);",
                   "WWCOLCOPY(A,ZZ);"});
}

TEST(Interpreter, RunStopsAtAnErrorAndContinuesFromThere) {
  Fixture f;
  f.runner.setText("WWATTACH(A);DWMAAF(11,1);WWATTACH(B);");
  f.runner.RUN();
  EXPECT_TRUE(f.failed());
  EXPECT_EQ(f.commands.calls.size(), 1u);
  EXPECT_EQ(f.runner.statementLine(), 1u);
  // The failing statement is passed whole.
  EXPECT_EQ(f.runner.text().substr(f.runner.position()), "WWATTACH(B);");
  f.runner.RUN();
  EXPECT_FALSE(f.failed());
  EXPECT_EQ(f.commands.calls.back(), "WWATTACH|B");
  EXPECT_FALSE(f.running);
  EXPECT_TRUE(f.commands.runningSeen);
  EXPECT_EQ(f.commands.statements, 3);  // the end of the text is no statement

  // RESET starts again from the top.
  f.runner.RESET();
  EXPECT_EQ(f.runner.position(), 0u);
  EXPECT_TRUE(f.runner.runEnabled());
  f.runner.STEP();
  EXPECT_EQ(f.commands.calls.back(), "WWATTACH|A");
  EXPECT_EQ(f.runner.selectionStart(), f.runner.position() - 3);
}

TEST(Interpreter, FloatingPointFaultsEndTheStatementAndRunsShowTheBusyCursor) {
  Fixture f;
  f.run("DWDRAWLINE; @FAULT; DWDRAWLINE;");
  EXPECT_TRUE(f.failed());
  EXPECT_EQ(f.host.messages, (std::vector<std::string>{"Floating point division by zero", kError}));
  EXPECT_FALSE(f.running);
  EXPECT_EQ(f.commands.calls.size(), 1u);
  EXPECT_EQ(f.host.busyDepth, 0);
  EXPECT_GT(f.host.busyCalls, 0);
}

TEST(Interpreter, TheLineOfAFailingStatementIsKnown) {
  Fixture f;
  f.run("DWDRAWLINE;\n{ a\ncomment }\n  DWMAAF(1,\n 11);\nDWDRAWLINE;");
  EXPECT_TRUE(f.failed());
  EXPECT_EQ(f.runner.statementLine(), 4u);
}

TEST(Interpreter, StepRunsOneStatementAndNothingAfterTheEnd) {
  Fixture f;
  f.runner.setText("DWDRAWLINE; DWDRAWLINE; END; DWDRAWLINE;");
  f.runner.STEP();
  EXPECT_EQ(f.commands.calls.size(), 1u);
  f.runner.STEP();
  f.runner.STEP();
  EXPECT_TRUE(f.runner.ScriptStop);
  f.runner.STEP();
  f.runner.STEP();
  EXPECT_EQ(f.commands.calls.size(), 2u);
  EXPECT_EQ(f.commands.statements, 3);
}

TEST(Interpreter, RunFromCommandLineLoadsTheScriptAndFillsTheParameters) {
  test::TempDir dir;
  { std::ofstream(dir.file("demo.ebt")) << "WWATTACH(%2);WWATTACH(%1);\n"; }
  Fixture f;
  EXPECT_EQ(f.runner.RUNFROMCOMMANDLINE({dir.file("DEMO"), "second"}), ScriptOutcome::Ended);
  EXPECT_EQ(f.commands.calls,
            (std::vector<std::string>{"WWATTACH|second", "WWATTACH|" + dir.file("DEMO")}));
  EXPECT_EQ(f.runner.caption(), "Run --- " + dir.file("DEMO") + ".EBT");
  EXPECT_EQ(f.runner.param(2), "second");

  Fixture g;
  EXPECT_EQ(g.runner.RUNFROMCOMMANDLINE({dir.file("missing")}), ScriptOutcome::Unreadable);
  EXPECT_FALSE(g.host.messages.empty());

  { std::ofstream(dir.file("BAD.EBT")) << "NOPE;"; }
  Fixture h;
  EXPECT_EQ(h.runner.RUNFROMCOMMANDLINE({dir.file("BAD")}), ScriptOutcome::Stopped);
  EXPECT_EQ(head(h.host.lastMessage()), kError);
}

TEST(Interpreter, SavingAndOpeningNameParameterOne) {
  test::TempDir dir;
  Fixture f;
  f.runner.setText("DWDRAWLINE;");
  ASSERT_TRUE(f.runner.saveFile(dir.file("S.EBT")));
  f.runner.nameFromFile(dir.file("S.EBT"));
  EXPECT_EQ(f.runner.param(1), dir.file("S"));
  Fixture g;
  ASSERT_TRUE(g.runner.loadFile(dir.file("s.ebt")));
  EXPECT_EQ(g.runner.text(), "DWDRAWLINE;");
  EXPECT_FALSE(g.runner.loadFile(dir.file("none.ebt")));
}

TEST(Interpreter, EditingCommandsAndParametersWithOkAndCancel) {
  test::TempDir dir;
  { std::ofstream(dir.file("A.EBT")) << "DWDRAWLINE;"; }
  Fixture f;
  ASSERT_TRUE(f.runner.openScript(dir.file("a.ebt")));
  EXPECT_EQ(f.runner.caption(), "Run --- " + dir.file("a.ebt"));
  EXPECT_EQ(f.runner.param(1), dir.file("a"));
  f.runner.STEP();

  f.runner.editCommands();
  EXPECT_EQ(f.runner.caption(), "Edit Commands");
  EXPECT_FALSE(f.runner.runEnabled());
  f.runner.editCancel();
  EXPECT_EQ(f.runner.text(), "DWDRAWLINE;");
  EXPECT_EQ(f.runner.caption(), "Run --- " + dir.file("a.ebt"));
  EXPECT_TRUE(f.runner.runEnabled());
  EXPECT_NE(f.runner.position(), 0u);  // Cancel does not reset

  f.runner.editCommands();
  f.runner.editOK("WWATTACH(X);");
  EXPECT_EQ(f.runner.text(), "WWATTACH(X);");
  EXPECT_EQ(f.runner.position(), 0u);

  f.runner.editParameters();
  EXPECT_EQ(f.runner.caption(), "Edit Command-line Parameters");
  f.runner.setParam(2, "changed");
  f.runner.editCancel();
  EXPECT_EQ(f.runner.param(2), "");
  f.runner.editParameters();
  f.runner.setParam(2, "kept");
  f.runner.editOK("ignored");
  EXPECT_EQ(f.runner.param(2), "kept");
  EXPECT_EQ(f.runner.text(), "WWATTACH(X);");

  ASSERT_TRUE(f.runner.saveScript(dir.file("B.EBT")));
  EXPECT_EQ(f.runner.param(1), dir.file("B"));
}

}  // namespace
}  // namespace plotane
