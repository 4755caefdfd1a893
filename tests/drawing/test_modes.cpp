// The drawing window's key, click and mode behaviour, driven through the model.

#include <gtest/gtest.h>

#include "TestHost.h"
#include "drawing/Drawing.h"

using namespace plotane;

TEST(Modes, KeyStepsAndGridModes) {
  test::TestHost host;
  Drawing d(host);
  for (int i = 0; i < 4; ++i) d.MoveByKey(CursorKey::Right, false);
  EXPECT_NEAR(d.state.A.X, 1.3, 1e-12);
  EXPECT_EQ(d.state.B.X, 7.7);

  d.SetACursor(1.1, 6.0);
  d.VernierModeOn();
  EXPECT_EQ(d.state.GridLabel, "Vernier grid");
  for (int i = 0; i < 4; ++i) d.MoveByKey(CursorKey::Right, false);
  EXPECT_NEAR(d.state.A.X, 1.104, 1e-12);
  d.ResetAllModes();  // Esc
  EXPECT_EQ(d.state.A.X, 1.1);
  EXPECT_EQ(d.state.CursorStep, 0.05);
  EXPECT_EQ(d.state.GridLabel, "");

  // Char mode: a quarter of the character size, turned with the text angle.
  d.SetTextAngle(90);
  d.CharModeOn();
  EXPECT_NEAR(d.state.CursorStep, 0.025, 1e-15);
  d.MoveByKey(CursorKey::Right, false);
  EXPECT_NEAR(d.state.A.X, 1.1, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 6.025, 1e-12);
  d.VernierModeOn();  // leaves char mode first: A back at (1.1, 6.0)
  EXPECT_FALSE(d.state.CharMode);
  EXPECT_EQ(d.state.A.Y, 6.0);
  EXPECT_EQ(d.state.GridLabel, "Vernier grid");

  // Shift alone moves only the B-cursor; diagonal keys move both coordinates.
  d.ResetAllModes();
  d.MoveByKey(CursorKey::Up, true);
  EXPECT_NEAR(d.state.B.Y, 9.65, 1e-12);
  EXPECT_EQ(d.state.A.Y, 6.0);
  d.MoveByKey(CursorKey::End, false);
  EXPECT_NEAR(d.state.A.X, 1.05, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 5.95, 1e-12);
  // Out of the bounds: ignored.
  d.SetBCursor(7.99, 5);
  d.MoveByKey(CursorKey::Right, true);
  EXPECT_EQ(d.state.B.X, 7.99);

  // Nothing moves while zoomed out, or while the A-cursor is held.
  d.state.ZoomedOut = true;
  d.MoveByKey(CursorKey::Up, false);
  EXPECT_NEAR(d.state.A.Y, 5.95, 1e-12);
  d.state.ZoomedOut = false;
  d.state.AMovable = false;
  d.MoveByKey(CursorKey::Up, false);
  EXPECT_NEAR(d.state.A.Y, 5.95, 1e-12);
}

// Up in draw mode draws a 0.05-inch vertical line; Down in erase mode takes it away again.
TEST(Modes, DrawAndEraseWhileMoving) {
  test::TestHost host;
  Drawing d(host);
  d.SetLineCode(0);
  d.DrawModeOn();
  EXPECT_EQ(d.state.ModeLabel, "Draw mode");
  d.MoveByKey(CursorKey::Up, false);
  // Column 330, rows 300 (10 - 6.05) = 1185 to 1200.
  EXPECT_EQ(d.image().countInk(), 16);
  for (int r = 1185; r <= 1200; ++r) EXPECT_TRUE(d.image().pixel(r, 330)) << r;
  EXPECT_TRUE(d.state.ImageChanged);
  d.EraseModeOn();
  EXPECT_FALSE(d.state.PenDraw);
  d.MoveByKey(CursorKey::Down, false);
  EXPECT_EQ(d.image().countInk(), 0);
  d.EndDrawingCommand();
  EXPECT_TRUE(d.state.PenDraw);
  EXPECT_FALSE(d.state.DrawEraseMode);
  EXPECT_EQ(d.state.ModeLabel, "");
  d.MoveByKey(CursorKey::Up, false);
  EXPECT_EQ(d.image().countInk(), 0);
}

TEST(Modes, ClicksSnapToTheCursorStep) {
  test::TestHost host;
  Drawing d(host);
  // Preview column 233.7 is X = 2.337 inches: snapped to 2.35; row 400 is Y = 6.
  d.ClickAt(233.7, 400, false);
  EXPECT_NEAR(d.state.A.X, 2.35, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 6.0, 1e-12);
  d.ClickAt(500, 100, true);
  EXPECT_NEAR(d.state.B.X, 5.0, 1e-12);
  EXPECT_NEAR(d.state.B.Y, 9.0, 1e-12);
  EXPECT_NEAR(d.state.A.X, 2.35, 1e-12);

  // In block mode the B-cursor follows the A-cursor at the block's extent.
  d.SetACursor(1, 5);
  d.SetBCursor(2, 6);
  ASSERT_TRUE(d.DefineBlock());
  d.state.BlockMode = true;
  d.ClickAt(300, 500, false);
  EXPECT_NEAR(d.state.A.X, 3.0, 1e-12);
  EXPECT_NEAR(d.state.B.X, 4.0, 1e-12);
  EXPECT_NEAR(d.state.B.Y, 6.0, 1e-12);
  d.MoveByKey(CursorKey::Left, false);
  EXPECT_NEAR(d.state.A.X, 2.95, 1e-12);
  EXPECT_NEAR(d.state.B.X, 3.95, 1e-12);

  // Landscape: preview row 100 is landscape Y = 7.
  d.state.BlockMode = false;
  d.SetLandscape();
  d.ClickAt(900, 100, false);
  EXPECT_NEAR(d.state.A.X, 9.0, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 7.0, 1e-12);
}

TEST(Modes, NumericMovesAndReadouts) {
  test::TestHost host;
  Drawing d(host);
  EXPECT_EQ(d.CursorReadout(false), "A:  X= 1.100  Y= 6.000");
  EXPECT_EQ(d.CursorReadout(true), "B:  X= 7.700  Y= 9.600");
  EXPECT_TRUE(d.MoveCursorNumeric(false, true, false, 0.5, -1));
  EXPECT_NEAR(d.state.A.X, 1.6, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 5.0, 1e-12);
  EXPECT_FALSE(d.MoveCursorNumeric(false, false, false, 9, 5));  // outside the page: ignored
  EXPECT_NEAR(d.state.A.X, 1.6, 1e-12);
  // User units: 0..100 across 1..7 inches, 0..10 across 1..9 inches.
  ASSERT_TRUE(d.SetUserTransform(0, 0, 100, 10, 1, 1, 7, 9));
  EXPECT_TRUE(d.MoveCursorNumeric(true, false, true, 50, 5));
  EXPECT_NEAR(d.state.B.X, 4.0, 1e-12);
  EXPECT_NEAR(d.state.B.Y, 5.0, 1e-12);
  EXPECT_TRUE(d.MoveCursorNumeric(true, true, true, 10, -1));
  EXPECT_NEAR(d.state.B.X, 4.6, 1e-12);
  EXPECT_NEAR(d.state.B.Y, 4.2, 1e-12);
  EXPECT_EQ(d.CursorReadout(true), "B:  X= 4.600  Y= 4.200");
}
