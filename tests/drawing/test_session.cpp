// The drawing window's interaction state: keys, clicks, zoom, text entry, the prompt commands,
// the block and PCX flow, and a discard in the middle of each multi-step command.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "TestHost.h"
#include "drawing/DrawingSession.h"
#include "drawing/Text.h"

using namespace plotane;

namespace {

struct Fixture {
  test::TestHost host;
  Drawing d{host};
  TextEngine t{d};
  DrawingSession s{d, t};
  int ended = 0;
  Fixture() {
    s.onPendingEnded = [this] { ++ended; };
  }

  bool key(SessionKey k, bool shift = false, bool ctrl = false, bool alt = false) {
    KeyPress p;
    p.key = k;
    p.shift = shift;
    p.ctrl = ctrl;
    p.alt = alt;
    return s.Key(p);
  }
  bool type(unsigned char ch, bool ctrl = false) {
    KeyPress p;
    p.text = ch;
    p.ctrl = ctrl;
    return s.Key(p);
  }
};

}  // namespace

TEST(Session, KeyDispatch) {
  Fixture f;
  // The A-cursor starts at (1.1, 6.0), B at (7.7, 9.6); the normal step is 0.05 in.
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(f.key(SessionKey::Right));
  EXPECT_NEAR(f.d.state.A.X, 1.3, 1e-12);
  EXPECT_TRUE(f.key(SessionKey::PageUp));
  EXPECT_NEAR(f.d.state.A.X, 1.35, 1e-12);
  EXPECT_NEAR(f.d.state.A.Y, 6.05, 1e-12);
  EXPECT_TRUE(f.key(SessionKey::End));
  EXPECT_NEAR(f.d.state.A.X, 1.3, 1e-12);
  EXPECT_NEAR(f.d.state.A.Y, 6.0, 1e-12);

  // Shift alone moves B; Shift with Ctrl moves A; Alt makes every key do nothing.
  EXPECT_TRUE(f.key(SessionKey::Down, true));
  EXPECT_NEAR(f.d.state.B.Y, 9.55, 1e-12);
  EXPECT_NEAR(f.d.state.A.Y, 6.0, 1e-12);
  f.key(SessionKey::Down, true, true);
  EXPECT_NEAR(f.d.state.A.Y, 5.95, 1e-12);
  EXPECT_FALSE(f.key(SessionKey::Up, false, false, true));
  EXPECT_NEAR(f.d.state.A.Y, 5.95, 1e-12);

  // Letters either case; Ctrl+letter and other letters are not mode keys.
  f.d.PenUp();
  EXPECT_FALSE(f.type('d', true));
  EXPECT_FALSE(f.d.state.DrawEraseMode);
  EXPECT_FALSE(f.type('x'));
  EXPECT_TRUE(f.type('e'));
  EXPECT_EQ(f.s.modeLabel(), "Erase mode");
  EXPECT_TRUE(f.type('D'));
  EXPECT_EQ(f.s.modeLabel(), "Draw mode");
  // Up in draw mode leaves a 0.05 in line behind A.
  const long before = f.d.image().countInk();
  f.key(SessionKey::Up);
  EXPECT_GT(f.d.image().countInk(), before);

  // Vernier: four steps of 0.001; Esc puts A back and pens up.
  f.d.SetACursor(1.1, 6.0);
  EXPECT_TRUE(f.type('v'));
  EXPECT_EQ(f.s.gridLabel(), "Vernier grid");
  f.d.PenUp();
  for (int i = 0; i < 4; ++i) f.key(SessionKey::Right);
  EXPECT_NEAR(f.d.state.A.X, 1.104, 1e-12);
  f.type('d');
  EXPECT_TRUE(f.key(SessionKey::Escape));
  EXPECT_NEAR(f.d.state.A.X, 1.1, 1e-12);
  EXPECT_EQ(f.s.gridLabel(), "");
  EXPECT_EQ(f.s.modeLabel(), "");
  EXPECT_FALSE(f.d.state.DrawEraseMode);

  // Char mode at 90 degrees: Right moves up the page by a quarter of the character size.
  f.d.SetTextAngle(90);
  EXPECT_TRUE(f.type('c'));
  f.key(SessionKey::Right);
  EXPECT_NEAR(f.d.state.A.X, 1.1, 1e-9);
  EXPECT_NEAR(f.d.state.A.Y, 6.0 + 0.25 * f.d.state.CharSize, 1e-9);
  EXPECT_EQ(f.s.readoutA(), "A:  X= 1.100  Y= 6.025");
}

TEST(Session, ClickMappingPlainAndZoomed) {
  Fixture f;
  // The preview is 100 pixels per inch, row 0 at the top of the 10 in page.
  EXPECT_TRUE(f.s.Click(233.7, 400, false));
  EXPECT_NEAR(f.d.state.A.X, 2.35, 1e-12);
  EXPECT_NEAR(f.d.state.A.Y, 6.0, 1e-12);
  f.s.Click(500, 100, true);
  EXPECT_NEAR(f.d.state.B.X, 5.0, 1e-12);
  EXPECT_NEAR(f.d.state.B.Y, 9.0, 1e-12);

  // Zoomed out in an 801-pixel scroll box: an 659 x 800 view of the 800 x 1000 preview.
  f.s.setViewHeight(801);
  ASSERT_TRUE(f.s.ToggleZoom());
  EXPECT_EQ(f.s.modeLabel(), "Zoomed out");
  EXPECT_EQ(f.s.zoomRect().width, 659);
  EXPECT_EQ(f.s.zoomRect().height, 800);
  // Page (3.5, 4.0) is preview (350, 600), zoomed (288.3, 480).
  EXPECT_TRUE(f.s.Click(288.3, 480, false));
  EXPECT_NEAR(f.d.state.A.X, 3.5, 1e-12);
  EXPECT_NEAR(f.d.state.A.Y, 4.0, 1e-12);
  // Outside the stretched page nothing moves; keys do nothing while zoomed.
  EXPECT_FALSE(f.s.Click(700, 10, false));
  EXPECT_FALSE(f.key(SessionKey::Right));
  EXPECT_NEAR(f.d.state.A.X, 3.5, 1e-12);
  EXPECT_FALSE(f.s.canStartCommand());

  // Height limits: 650..999; landscape view is wider than high.
  f.s.setViewHeight(300);
  EXPECT_EQ(f.s.zoomRect().height, 650);
  f.s.setViewHeight(5000);
  EXPECT_EQ(f.s.zoomRect().height, 999);
  f.d.SetLandscape();
  EXPECT_EQ(f.s.zoomRect().width, 1211);  // Trunc(999 x 1.212503314)

  // Leaving the zoom restores a pen mode's label.
  f.d.state.DrawEraseMode = true;
  f.d.state.PenDraw = false;
  ASSERT_TRUE(f.s.ToggleZoom());
  EXPECT_EQ(f.s.modeLabel(), "Erase mode");
  EXPECT_TRUE(f.s.canStartCommand());
}

TEST(Session, ZoomLeavesGridModes) {
  Fixture f;
  f.type('v');
  f.key(SessionKey::Right);
  f.s.ToggleZoom();
  EXPECT_FALSE(f.d.state.VernierMode);
  EXPECT_NEAR(f.d.state.A.X, 1.1, 1e-12);
  EXPECT_NEAR(f.d.state.CursorStep, 0.05, 1e-12);
}

TEST(Session, TextEntry) {
  Fixture f;
  ASSERT_TRUE(f.s.BeginTextEntry());
  EXPECT_EQ(f.s.pending(), PendingCommand::TextEntry);
  EXPECT_EQ(f.s.modeLabel(), "Text entry:");
  EXPECT_TRUE(f.d.state.TextEntry);
  // No zoom, no clicks, no second command and no cursor keys while typing.
  EXPECT_FALSE(f.s.ToggleZoom());
  EXPECT_FALSE(f.s.Click(500, 500, false));
  EXPECT_FALSE(f.s.StartArrowhead());
  EXPECT_FALSE(f.key(SessionKey::Up));

  EXPECT_TRUE(f.type('x'));
  const long ink = f.d.image().countInk();
  EXPECT_GT(ink, 0);
  EXPECT_GT(f.d.state.A.X, 1.1);  // A follows the text
  EXPECT_TRUE(f.type('d'));       // letters type, they do not switch modes
  EXPECT_FALSE(f.d.state.DrawEraseMode);
  EXPECT_TRUE(f.key(SessionKey::Backspace));
  EXPECT_EQ(f.d.image().countInk(), ink);
  EXPECT_TRUE(f.key(SessionKey::Enter));
  EXPECT_EQ(f.s.pending(), PendingCommand::None);
  EXPECT_FALSE(f.d.state.TextEntry);
  EXPECT_EQ(f.s.modeLabel(), "");
  EXPECT_NEAR(f.d.state.A.X, 1.1, 1e-12);  // back at the start of the entry
  EXPECT_TRUE(f.host.messages.empty());

  // Ctrl+Enter (or a typed line feed) says so and ends the entry.
  ASSERT_TRUE(f.s.BeginTextEntry());
  EXPECT_TRUE(f.key(SessionKey::Enter, false, true));
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0], "Getting CR");
  EXPECT_EQ(f.s.pending(), PendingCommand::None);
  ASSERT_TRUE(f.s.BeginTextEntry());
  EXPECT_TRUE(f.type('\n'));
  EXPECT_EQ(f.host.messages.size(), 2u);
  EXPECT_FALSE(f.d.state.TextEntry);

  // Zoomed out, text entry cannot start.
  f.s.ToggleZoom();
  EXPECT_FALSE(f.s.BeginTextEntry());
}

TEST(Session, PromptCommands) {
  Fixture f;
  f.d.SetACursor(4, 5);
  f.d.SetBCursor(5, 5);
  // Arrowhead: started, cancelled (no ink), started again and confirmed.
  ASSERT_TRUE(f.s.StartArrowhead());
  EXPECT_EQ(f.s.promptText(), "Arrow--A at head, B in tail direction");
  EXPECT_FALSE(f.s.StartCircleArc());
  EXPECT_FALSE(f.s.StartBlock(BlockOp::Copy));
  f.s.PromptCancel();
  EXPECT_EQ(f.s.pending(), PendingCommand::None);
  EXPECT_EQ(f.d.image().countInk(), 0);
  ASSERT_TRUE(f.s.StartArrowhead());
  f.s.PromptOK();
  EXPECT_GT(f.d.image().countInk(), 0);
  EXPECT_EQ(f.s.pending(), PendingCommand::None);

  // Circle/arc: A is held, B still moves; OK draws, AMovable comes back.
  Fixture g;
  g.d.SetACursor(4, 5);
  g.d.SetBCursor(4.5, 5);
  ASSERT_TRUE(g.s.StartCircleArc());
  EXPECT_EQ(g.s.promptText(), "Move B if arc desired---then press (OK)");
  EXPECT_FALSE(g.d.state.AMovable);
  g.key(SessionKey::Right);
  g.s.Click(100, 100, false);
  EXPECT_NEAR(g.d.state.A.X, 4.0, 1e-12);
  g.s.PromptOK();
  EXPECT_TRUE(g.d.state.AMovable);
  // A full circle of radius 0.5 in: ink both left and right of A at its height.
  const int row = 3000 - 5 * 300;
  EXPECT_TRUE(g.d.image().row(row)[(int(3.5 * 300)) >> 3] != 0);
  EXPECT_TRUE(g.d.image().row(row)[(int(4.5 * 300)) >> 3] != 0);

  Fixture h;
  ASSERT_TRUE(h.s.StartCircleArc());
  h.s.PromptCancel();
  EXPECT_TRUE(h.d.state.AMovable);
  EXPECT_EQ(h.d.image().countInk(), 0);
  // OK without an open prompt does nothing.
  h.s.PromptOK();
  EXPECT_EQ(h.d.image().countInk(), 0);
}

TEST(Session, BlockCopyAndRefusals) {
  Fixture f;
  f.d.DrawLine(true, 1.2, 5.5, 1.8, 5.5, 0.02);
  const long ink = f.d.image().countInk();
  f.d.SetACursor(1, 5);
  f.d.SetBCursor(2, 6);
  ASSERT_TRUE(f.s.StartBlock(BlockOp::Copy));
  EXPECT_EQ(f.s.pending(), PendingCommand::SelectBlock);
  EXPECT_FALSE(f.s.BeginTextEntry());
  ASSERT_EQ(f.s.SelectBlockOK(), BlockStep::AwaitDestination);
  EXPECT_EQ(std::string(f.s.blockCaption()), "Block Copy");
  EXPECT_TRUE(f.d.state.BlockMode);
  // Both cursors move with the keys; the block goes 2 in to the right.
  for (int i = 0; i < 40; ++i) f.key(SessionKey::Right);
  EXPECT_NEAR(f.d.state.A.X, 3.0, 1e-9);
  EXPECT_NEAR(f.d.state.B.X, 4.0, 1e-9);
  f.s.DoBlockOK(false);
  EXPECT_FALSE(f.d.state.BlockMode);
  EXPECT_EQ(f.s.pending(), PendingCommand::None);
  EXPECT_EQ(f.d.image().countInk(), 2 * ink);
  EXPECT_TRUE(f.d.state.ImageChanged);

  // An empty block is refused and ends the command.
  f.d.SetBCursor(1, 5);
  ASSERT_TRUE(f.s.StartBlock(BlockOp::Move));
  EXPECT_EQ(f.s.SelectBlockOK(), BlockStep::Failed);
  EXPECT_EQ(f.host.messages.back(), "Bad block definition");
  EXPECT_EQ(f.s.pending(), PendingCommand::None);
  EXPECT_FALSE(f.d.state.BlockMode);
}

TEST(Session, BlockInLandscapeRestoresOrientationOnEveryExit) {
  Fixture f;
  f.d.SetLandscape();
  // Declined: nothing starts and the page stays landscape.
  f.host.answers.push_back(Answer::No);
  EXPECT_FALSE(f.s.StartBlock(BlockOp::Copy));
  EXPECT_TRUE(f.d.state.LandscapeMode);
  EXPECT_EQ(f.s.pending(), PendingCommand::None);

  // Refused block, select Cancel, do-block Cancel, PCX name cancelled: each returns to landscape.
  auto start = [&](BlockOp op) {
    f.host.answers.push_back(Answer::Yes);
    ASSERT_TRUE(f.s.StartBlock(op));
    EXPECT_FALSE(f.d.state.LandscapeMode);
  };
  start(BlockOp::Copy);
  f.d.SetBCursor(f.d.state.A.X, f.d.state.A.Y);
  EXPECT_EQ(f.s.SelectBlockOK(), BlockStep::Failed);
  EXPECT_TRUE(f.d.state.LandscapeMode);

  start(BlockOp::Move);
  f.s.SelectBlockCancel();
  EXPECT_TRUE(f.d.state.LandscapeMode);

  start(BlockOp::Move);
  f.d.SetACursor(1, 1);
  f.d.SetBCursor(2, 2);
  ASSERT_EQ(f.s.SelectBlockOK(), BlockStep::AwaitDestination);
  EXPECT_EQ(std::string(f.s.blockCaption()), "Block Move");
  f.s.DoBlockCancel();
  EXPECT_TRUE(f.d.state.LandscapeMode);
  EXPECT_FALSE(f.d.state.BlockMode);

  start(BlockOp::Pcx);
  EXPECT_TRUE(f.d.state.PcxRequest);
  f.d.SetACursor(1, 1);
  f.d.SetBCursor(2, 2);
  ASSERT_EQ(f.s.SelectBlockOK(), BlockStep::AwaitPcxName);
  EXPECT_TRUE(f.s.FinishPcx(""));
  EXPECT_TRUE(f.d.state.LandscapeMode);
  EXPECT_FALSE(f.d.state.PcxRequest);
  EXPECT_EQ(f.s.pending(), PendingCommand::None);
}

TEST(Session, PcxWritesTheBlock) {
  Fixture f;
  const auto path = std::filesystem::temp_directory_path() / "plotane_session_block.pcx";
  std::filesystem::remove(path);
  f.d.SetACursor(1, 1);
  f.d.SetBCursor(2, 2);
  ASSERT_TRUE(f.s.StartBlock(BlockOp::Pcx));
  ASSERT_EQ(f.s.SelectBlockOK(), BlockStep::AwaitPcxName);
  EXPECT_TRUE(f.s.FinishPcx(path.string()));
  ASSERT_TRUE(std::filesystem::exists(path));
  // A PCX file starts with the manufacturer byte 10 after a 128-byte header.
  EXPECT_GT(std::filesystem::file_size(path), 128u);
  std::FILE* in = std::fopen(path.string().c_str(), "rb");
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(std::fgetc(in), 10);
  std::fclose(in);
  std::filesystem::remove(path);
  EXPECT_EQ(f.s.pending(), PendingCommand::None);
}

TEST(Session, DiscardEndsEveryPendingState) {
  // Text entry.
  {
    Fixture f;
    ASSERT_TRUE(f.s.BeginTextEntry());
    f.s.Discard();
    EXPECT_EQ(f.s.pending(), PendingCommand::None);
    EXPECT_FALSE(f.d.state.TextEntry);
    EXPECT_EQ(f.s.modeLabel(), "");
    EXPECT_EQ(f.ended, 1);
  }
  // The circle prompt: its OK afterwards draws nothing and A is movable again.
  {
    Fixture f;
    ASSERT_TRUE(f.s.StartCircleArc());
    f.s.Discard();
    EXPECT_TRUE(f.d.state.AMovable);
    f.s.PromptOK();
    EXPECT_EQ(f.d.image().countInk(), 0);
    EXPECT_EQ(f.ended, 1);
  }
  // Block selection and block operation, in landscape, and while zoomed out.
  for (bool second : {false, true}) {
    Fixture f;
    f.d.DrawLine(true, 1.2, 1.5, 1.8, 1.5, 0.02);
    const long ink = f.d.image().countInk();
    f.d.SetLandscape();
    f.host.answers.push_back(Answer::Yes);
    ASSERT_TRUE(f.s.StartBlock(BlockOp::Copy));
    f.d.SetACursor(1, 1);
    f.d.SetBCursor(2, 2);
    if (second) {
      ASSERT_EQ(f.s.SelectBlockOK(), BlockStep::AwaitDestination);
      f.s.ToggleZoom();
    }
    f.s.Discard();
    EXPECT_EQ(f.s.pending(), PendingCommand::None);
    EXPECT_FALSE(f.d.state.BlockMode);
    EXPECT_FALSE(f.d.state.ZoomedOut);
    EXPECT_TRUE(f.d.state.LandscapeMode);
    f.s.DoBlockOK(true);
    EXPECT_EQ(f.s.SelectBlockOK(), BlockStep::Failed);
    EXPECT_EQ(f.d.image().countInk(), ink);
    EXPECT_TRUE(f.s.canStartCommand());
  }
}

TEST(Session, CursorMarks) {
  Fixture f;
  f.d.SetACursor(1, 6);
  f.d.SetBCursor(5, 9);
  // Preview: 100 pixels per inch, row = (10 - Y) x 100. CharSize 0.1 in: the I-beam's upright
  // spans 10 pixels, its stem 20, its bars 10.
  auto near = [](const MarkSegment& m, double x1, double y1, double x2, double y2) {
    return std::abs(m.x1 - x1) < 1e-6 && std::abs(m.y1 - y1) < 1e-6 && std::abs(m.x2 - x2) < 1e-6 &&
           std::abs(m.y2 - y2) < 1e-6;
  };
  std::vector<MarkSegment> m = f.s.CursorMarks();
  ASSERT_EQ(m.size(), 6u);  // I-beam 4, B cross 2
  EXPECT_TRUE(near(m[0], 90, 400, 110, 400));
  EXPECT_TRUE(near(m[1], 100, 405, 100, 395));
  EXPECT_TRUE(near(m[2], 95, 405, 105, 405));
  EXPECT_TRUE(near(m[3], 95, 395, 105, 395));
  EXPECT_TRUE(near(m[4], 490, 100, 510, 100));
  EXPECT_TRUE(near(m[5], 500, 110, 500, 90));

  // Turned 90 degrees: the stem runs up the page.
  f.d.SetTextAngle(90);
  m = f.s.CursorMarks();
  EXPECT_TRUE(near(m[0], 100, 410, 100, 390));
  f.d.SetTextAngle(0);

  // Draw mode adds the corners (not turned); block mode the block's corners.
  f.type('d');
  m = f.s.CursorMarks();
  ASSERT_EQ(m.size(), 14u);
  EXPECT_TRUE(near(m[4], 85, 415, 89, 415));  // lower-left corner, horizontal stroke
  f.d.SetBCursor(2, 7);
  ASSERT_TRUE(f.s.StartBlock(BlockOp::Copy));
  ASSERT_EQ(f.s.SelectBlockOK(), BlockStep::AwaitDestination);
  m = f.s.CursorMarks();
  ASSERT_EQ(m.size(), 18u);
  EXPECT_TRUE(near(m[14], 100, 400, 120, 400));
  EXPECT_TRUE(near(m[17], 200, 300, 200, 320));

  // No marks over the zoomed view.
  f.s.DoBlockCancel();
  f.s.ToggleZoom();
  EXPECT_TRUE(f.s.CursorMarks().empty());
}
