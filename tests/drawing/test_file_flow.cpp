// The drawing window's file questions without the window: when a changed drawing may be closed
// or replaced, and GRL open and save under a chosen name.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "TestHost.h"
#include "drawing/Drawing.h"
#include "drawing/DrawingFileFlow.h"

using namespace plotane;

namespace {

struct Changed {
  test::TestHost host;
  test::TempDir dir;
  Drawing d{host};
  int saves = 0;
  Changed() { d.DrawLine(true, 1, 1, 2, 2, 0.01); }
  // The window's save step: the dialog cancelled (no name), or a save to a name.
  std::function<bool()> save(const std::string& name) {
    return [this, name] {
      ++saves;
      return !name.empty() && SaveGrlAs(d, name);
    };
  }
};

}  // namespace

TEST(DrawingClose, OnlyAChangedDrawingOutsideScriptsAsks) {
  test::TestHost host;
  Drawing d(host);
  EXPECT_TRUE(DrawingMayClose(d, false, nullptr));
  Changed c;
  ASSERT_TRUE(c.d.state.ImageChanged);
  EXPECT_TRUE(DrawingMayClose(c.d, true, c.save("")));
  EXPECT_TRUE(host.questions.empty());
  EXPECT_TRUE(c.host.questions.empty());
  EXPECT_EQ(c.saves, 0);
}

// Cancel keeps the drawing; No lets it go unsaved; Yes lets it go only after a save that worked:
// a cancelled save dialog or a failed write keeps the window and the drawing.
TEST(DrawingClose, EachAnswer) {
  Changed c;
  c.host.answers = {Answer::Cancel};
  EXPECT_FALSE(DrawingMayClose(c.d, false, c.save("x")));
  EXPECT_EQ(c.host.questions.back(), "Closing window --- Image has been changed--SAVE?");
  EXPECT_EQ(c.saves, 0);

  c.host.answers = {Answer::No};
  EXPECT_TRUE(DrawingMayClose(c.d, false, c.save("x")));
  EXPECT_EQ(c.saves, 0);
  EXPECT_TRUE(c.d.state.ImageChanged);

  c.host.answers = {Answer::Yes};
  EXPECT_FALSE(DrawingMayClose(c.d, false, c.save("")));
  EXPECT_EQ(c.saves, 1);

  c.host.answers = {Answer::Yes};
  EXPECT_FALSE(DrawingMayClose(c.d, false, c.save(c.dir.file("NO/SUCH/DIR.GRL"))));
  EXPECT_EQ(c.host.lastMessage(), "FILE ERROR");
  EXPECT_TRUE(c.d.state.ImageChanged);

  // A save step that reports success while the image is still unsaved does not count.
  c.host.answers = {Answer::Yes};
  EXPECT_FALSE(DrawingMayClose(c.d, false, [] { return true; }));

  c.host.answers = {Answer::Yes};
  const std::string file = c.dir.file("KEPT.GRL");
  EXPECT_TRUE(DrawingMayClose(c.d, false, c.save(file)));
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(c.d.state.ImageChanged);
  EXPECT_EQ(c.host.questions.size(), 6u);  // one question each time
}

TEST(DrawingReplace, AsksItsOwnQuestionWithTheSameRule) {
  Changed c;
  c.host.answers = {Answer::Cancel, Answer::Yes, Answer::No};
  EXPECT_FALSE(DrawingMayBeReplaced(c.d, c.save("x")));
  EXPECT_EQ(c.host.questions.back(), kDrawingReplacing);
  EXPECT_FALSE(DrawingMayBeReplaced(c.d, c.save("")));
  EXPECT_TRUE(DrawingMayBeReplaced(c.d, c.save("x")));
  EXPECT_EQ(c.saves, 1);
  // Unchanged: no question at all.
  c.host.clear();
  ASSERT_TRUE(SaveGrlAs(c.d, c.dir.file("A.GRL")));
  EXPECT_TRUE(DrawingMayBeReplaced(c.d, nullptr));
  EXPECT_TRUE(c.host.questions.empty());
}

// The whole path is opened and written, however long; the caption carries it. A failure drops
// the name from the caption.
TEST(DrawingFiles, LongPathsAreUsedWhole) {
  Changed c;
  std::string folder = c.dir.path();
  while (folder.size() < 150) folder += "/a-rather-long-folder-name";
  std::filesystem::create_directories(folder);
  const std::string file = folder + "/PAGE.GRL";
  ASSERT_TRUE(SaveGrlAs(c.d, file));
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(c.d.caption(), std::string(kPortraitCaption) + file);

  test::TestHost host;
  Drawing other(host);
  ASSERT_TRUE(OpenGrlFile(other, file));
  EXPECT_EQ(other.image().countInk(), c.d.image().countInk());
  EXPECT_GT(other.image().countInk(), 0);
  EXPECT_EQ(other.state.GrlFileName, file);
  EXPECT_FALSE(other.state.ImageChanged);

  EXPECT_FALSE(OpenGrlFile(other, c.dir.file("MISSING.GRL")));
  EXPECT_EQ(host.lastMessage(), "FILE ERROR");
  EXPECT_EQ(other.caption(), kPortraitCaption);
}
