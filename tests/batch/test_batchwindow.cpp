// The script window's rules without a window: enabling and captions through the edit states,
// Open and Save during an edit, the replacing save, the position mapping the text area uses, the
// colouring classes, and the progress notice a run gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "TestHost.h"
#include "batch/BatchWindow.h"
#include "batch/EbtRunner.h"

namespace plotane {
namespace {

std::string readAll(const std::string& name) {
  std::ifstream f(name, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void writeAll(const std::string& name, const std::string& text) {
  std::ofstream f(name, std::ios::binary);
  f << text;
}

// Accepts every command word and reads nothing.
class NoCommands : public ScriptCommands {
 public:
  bool execute(EbtRunner&, const std::string&) override { return true; }
};

class BatchWindowTest : public ::testing::Test {
 protected:
  test::TestHost host;
  bool scriptRunning = false;
  EbtRunner runner{host, scriptRunning};
  NoCommands commands;
  test::TempDir dir;
  void SetUp() override { runner.setCommands(&commands); }
};

TEST_F(BatchWindowTest, ControlsFollowTheEditStatesAndARun) {
  // At start Run and Step wait for a reset; nothing is being edited.
  BatchControls c = batchControls(runner, false);
  EXPECT_EQ(c.caption, "Run EBT");
  EXPECT_FALSE(c.runStep);
  EXPECT_FALSE(c.okCancel);
  EXPECT_TRUE(c.editItems && c.reset && c.fileItems);
  EXPECT_FALSE(c.textEditable || c.gridShown);

  runner.setText("@A;\n");
  EXPECT_TRUE(batchControls(runner, false).runStep);

  runner.editCommands();
  c = batchControls(runner, false);
  EXPECT_EQ(c.caption, "Edit Commands");
  EXPECT_FALSE(c.runStep || c.editItems || c.reset || c.gridShown);
  EXPECT_TRUE(c.okCancel && c.textEditable && c.fileItems);
  runner.editCancel();
  c = batchControls(runner, false);
  EXPECT_EQ(c.caption, "Run EBT");
  EXPECT_TRUE(c.runStep && c.editItems);
  EXPECT_FALSE(c.okCancel || c.textEditable);

  runner.editParameters();
  c = batchControls(runner, false);
  EXPECT_EQ(c.caption, "Edit Command-line Parameters");
  EXPECT_TRUE(c.gridShown && c.okCancel);
  EXPECT_FALSE(c.textEditable || c.runStep);
  runner.editOK("ignored for parameters");
  EXPECT_EQ(runner.text(), "@A;\n");
  EXPECT_EQ(batchControls(runner, false).caption, "Run EBT");

  // While a run is under way nothing can be started, edited, opened or saved.
  c = batchControls(runner, true);
  EXPECT_FALSE(c.runStep || c.okCancel || c.editItems || c.reset || c.fileItems || c.textEditable);
}

TEST_F(BatchWindowTest, OpenDuringAnEditEndsItFirstAndCancelCannotUndoTheOpen) {
  std::string name = dir.file("NEXT.EBT");
  writeAll(name, "@FROMFILE;\n");
  runner.setText("@OLD;\n");
  runner.editCommands();
  ASSERT_TRUE(openBatchScript(runner, name, "@EDITED;\n"));
  EXPECT_EQ(runner.editMode(), EbtRunner::EditMode::None);
  EXPECT_EQ(runner.text(), "@FROMFILE;\n");
  EXPECT_EQ(runner.caption(), "Run --- " + name);
  EXPECT_EQ(runner.param(1), dir.file("NEXT"));
  EXPECT_TRUE(runner.runEnabled());
  // A Cancel now has no edit to undo: the opened text and its caption stay.
  runner.editCancel();
  EXPECT_EQ(runner.text(), "@FROMFILE;\n");
  EXPECT_EQ(runner.caption(), "Run --- " + name);
}

TEST_F(BatchWindowTest, SaveDuringAnEditWritesTheTextAsEdited) {
  std::string name = dir.file("OUT.EBT");
  runner.setText("@OLD;\n");
  runner.editCommands();
  ASSERT_TRUE(saveBatchScript(runner, name, "@EDITED;\n"));
  EXPECT_EQ(readAll(name), "@EDITED;\n");
  EXPECT_EQ(runner.text(), "@EDITED;\n");
  EXPECT_EQ(runner.editMode(), EbtRunner::EditMode::None);
  EXPECT_EQ(runner.caption(), "Run --- " + name);
  EXPECT_EQ(runner.param(1), dir.file("OUT"));

  // During a parameter edit the values typed so far are kept.
  runner.editParameters();
  runner.setParam(2, "RUN7");
  ASSERT_TRUE(saveBatchScript(runner, name, "not the script"));
  EXPECT_EQ(readAll(name), "@EDITED;\n");
  EXPECT_EQ(runner.param(2), "RUN7");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(BatchWindowTest, AFailedSaveLeavesTheOldFileAndSaysSo) {
  // The target is a folder: the temporary file is written but cannot replace it.
  std::string target = dir.file("TAKEN.EBT");
  std::filesystem::create_directory(target);
  writeAll(target + "/inside", "kept");
  runner.setText("@A;\n");
  std::string before = runner.caption();
  EXPECT_FALSE(saveBatchScript(runner, target, ""));
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(readAll(target + "/inside"), "kept");
  EXPECT_EQ(runner.caption(), before);
  // No temporary file is left beside it.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.exists() ? 1 : 0;
  EXPECT_EQ(files, 1);

  // A folder that does not exist.
  host.clear();
  EXPECT_FALSE(saveBatchScript(runner, dir.file("NO/SUCH.EBT"), ""));
  EXPECT_EQ(host.messages.size(), 1u);

  // Replacing an existing file replaces it whole.
  std::string name = dir.file("X.EBT");
  writeAll(name, std::string(1000, 'x'));
  ASSERT_TRUE(saveBatchScript(runner, name, ""));
  EXPECT_EQ(readAll(name), "@A;\n");
}

TEST_F(BatchWindowTest, EditorPositionCountsALineEndPairAsOneCharacter) {
  const std::string unix = "AB;\nCD;\n";
  EXPECT_EQ(editorPosition(unix, 5), 5u);
  const std::string dos = "AB;\r\nCD;\r\nEF;";
  EXPECT_EQ(editorPosition(dos, 3), 3u);   // at the "\r"
  EXPECT_EQ(editorPosition(dos, 4), 3u);   // between "\r" and "\n": the line end
  EXPECT_EQ(editorPosition(dos, 5), 4u);   // "C"
  EXPECT_EQ(editorPosition(dos, 10), 8u);  // "E", after two pairs
  EXPECT_EQ(editorPosition(dos, 99), 11u);
}

TEST_F(BatchWindowTest, ColouringClassesCarryCommentsAndQuotesAcrossLines) {
  ScriptLineState st = ScriptLineState::Plain;
  auto spans = classifyScriptLine("@BINCALC(E, A, /, %2); { a note", st);
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[0].kind, ScriptSpanKind::Command);
  EXPECT_EQ(spans[0].start, 0u);
  EXPECT_EQ(spans[0].length, 8u);
  EXPECT_EQ(spans[1].kind, ScriptSpanKind::Parameter);
  EXPECT_EQ(spans[1].start, 18u);
  EXPECT_EQ(spans[1].length, 2u);
  EXPECT_EQ(spans[2].kind, ScriptSpanKind::Comment);
  EXPECT_EQ(spans[2].start, 23u);
  EXPECT_EQ(st, ScriptLineState::BraceComment);

  spans = classifyScriptLine("still } wwattach('it''s %1');", st);
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[0].kind, ScriptSpanKind::Comment);
  EXPECT_EQ(spans[0].length, 7u);
  EXPECT_EQ(spans[1].kind, ScriptSpanKind::Command);  // lower case is still a command
  EXPECT_EQ(spans[1].start, 8u);
  EXPECT_EQ(spans[2].kind, ScriptSpanKind::Quoted);  // one text, doubled quote and "%1" inside
  EXPECT_EQ(spans[2].start, 17u);
  EXPECT_EQ(spans[2].length, 10u);
  EXPECT_EQ(st, ScriptLineState::Plain);

  // "(*)" opens a comment that ")" alone does not close; an argument word is not a command.
  spans = classifyScriptLine("(*) DWDRAWLINE;", st);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_EQ(spans[0].kind, ScriptSpanKind::Comment);
  EXPECT_EQ(st, ScriptLineState::ParenComment);
  st = ScriptLineState::Plain;
  spans = classifyScriptLine("@CURVLINE(1, DWLIKE, 2); END", st);
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[1].start, 25u);
}

TEST_F(BatchWindowTest, ARunReportsItsPositionAfterEachStatement) {
  runner.setText("@ONE;\n@TWO;\n@THREE;\nEND\n");
  std::vector<std::size_t> seen;
  std::vector<bool> runningFlags;
  runner.onProgress = [&] {
    seen.push_back(runner.selectionStart());
    runningFlags.push_back(scriptRunning);
  };
  runner.RUN();
  ASSERT_GE(seen.size(), 6u);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);
  // The word of the second statement is covered while it runs.
  EXPECT_NE(std::find(seen.begin(), seen.end(), std::size_t(8)), seen.end());
  for (bool b : runningFlags) EXPECT_TRUE(b);
}

}  // namespace
}  // namespace plotane
