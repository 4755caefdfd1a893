// The drawing state: cursors and their bounds, orientation changes, captions, line codes and the
// page/user point operations.

#include <gtest/gtest.h>

#include <cmath>

#include "TestHost.h"
#include "drawing/Drawing.h"

using namespace plotane;

TEST(DrawState, FreshDrawing) {
  test::TestHost host;
  Drawing d(host);
  EXPECT_EQ(d.state.A.X, 1.1);
  EXPECT_EQ(d.state.A.Y, 6.0);
  EXPECT_EQ(d.state.B.X, 7.7);
  EXPECT_EQ(d.state.B.Y, 9.6);
  EXPECT_EQ(d.state.LineCode, 2);
  EXPECT_EQ(d.state.FontCode, 3);
  EXPECT_EQ(d.state.PointSizeCode, 3);
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.1);
  EXPECT_FALSE(d.state.ImageChanged);
  EXPECT_EQ(d.preview().width(), 800);
  EXPECT_EQ(d.preview().height(), 1000);
  EXPECT_EQ(d.image().countInk(), 0);
  EXPECT_EQ(d.caption(), "Drawing    ");
  double c, r;
  d.pageToRaster(1, 9, c, r);
  EXPECT_DOUBLE_EQ(c, 300);
  EXPECT_DOUBLE_EQ(r, 300);
  d.pageToPreview(8, 0, c, r);
  EXPECT_DOUBLE_EQ(c, 800);
  EXPECT_DOUBLE_EQ(r, 1000);
}

TEST(DrawState, CursorBounds) {
  test::TestHost host;
  Drawing d(host);
  EXPECT_TRUE(d.SetACursor(-0.00000005, 5));
  EXPECT_EQ(d.state.A.X, 0.0);
  EXPECT_FALSE(d.SetACursor(8.0, 5));
  EXPECT_EQ(d.state.A.X, 0.0);
  EXPECT_FALSE(d.SetBCursor(4, 0.005));
  EXPECT_TRUE(d.SetBCursor(7.994, 10.0000001));
  EXPECT_FALSE(d.SetBCursor(4, 10.001));
  d.SetLandscape();
  EXPECT_TRUE(d.SetACursor(9.9, 7.99));
  EXPECT_FALSE(d.SetACursor(9.995, 1));
  EXPECT_TRUE(d.SetACursor(1, -0.00000005));
  EXPECT_EQ(d.state.A.Y, 0.0);
}

TEST(DrawState, OrientationChangesConvertCursorsAndCaption) {
  test::TestHost host;
  Drawing d(host);
  int orientationCalls = 0;
  bool lastLandscape = false;
  d.onOrientationChanged = [&](bool l) {
    ++orientationCalls;
    lastLandscape = l;
  };
  d.state.GrlFileName = "PLOT.GRL";
  d.SetLandscape();
  EXPECT_TRUE(d.state.LandscapeMode);
  EXPECT_TRUE(lastLandscape);
  EXPECT_DOUBLE_EQ(d.state.A.X, 4.0);  // 10 - 6
  EXPECT_DOUBLE_EQ(d.state.A.Y, 1.1);
  EXPECT_NEAR(d.state.B.X, 0.4, 1e-12);
  EXPECT_DOUBLE_EQ(d.state.B.Y, 7.7);
  EXPECT_EQ(d.caption(), "Drawing--Landscape    PLOT.GRL");
  EXPECT_EQ(d.preview().width(), 1000);
  EXPECT_EQ(d.preview().height(), 800);
  d.SetLandscape();  // already there: cursors untouched
  EXPECT_DOUBLE_EQ(d.state.A.X, 4.0);
  d.SetPortrait();
  EXPECT_FALSE(lastLandscape);
  EXPECT_EQ(orientationCalls, 3);
  EXPECT_NEAR(d.state.A.X, 1.1, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 6.0, 1e-12);
  EXPECT_NEAR(d.state.B.X, 7.7, 1e-12);
  EXPECT_NEAR(d.state.B.Y, 9.6, 1e-12);
  EXPECT_EQ(d.caption(), "Drawing    PLOT.GRL");
  d.UpdateDrawingCaption(false);
  EXPECT_EQ(d.caption(), "Drawing    ");
  EXPECT_EQ(d.state.GrlFileName, "");
}

// The landscape preview shows the page the user sees: a mark made in portrait is found where
// the landscape mapping puts the same spot, and the round trip restores the portrait preview.
TEST(DrawState, PreviewFollowsTheQuarterTurn) {
  test::TestHost host;
  Drawing d(host);
  d.DrawLine(true, 1, 9, 1, 9, LineWidthTable[0]);  // portrait preview (row 100, column 100)
  ASSERT_TRUE(d.preview().pixel(100, 100));
  const std::vector<uint8_t> before(d.preview().row(0), d.preview().row(0) + 100 * 1000);

  d.SetLandscape();  // the spot is landscape (1, 1): preview column 100, row 700
  Drawing ref(host);
  ref.SetLandscape();
  ref.DrawLine(true, 1, 1, 1, 1, LineWidthTable[0]);
  // Within a pixel: the turned bitmap keeps whole pixels, the mapping rounds pixel centres.
  int found = 0;
  for (int r = 698; r <= 701; ++r)
    for (int c = 99; c <= 101; ++c)
      if (d.preview().pixel(r, c)) {
        ++found;
        EXPECT_TRUE(ref.preview().pixel(r, c) || ref.preview().pixel(r + 1, c));
      }
  EXPECT_EQ(found, 1);
  EXPECT_EQ(d.preview().countInk(), 1);

  d.SetPortrait();
  EXPECT_EQ(std::vector<uint8_t>(d.preview().row(0), d.preview().row(0) + 100 * 1000), before);
}

TEST(DrawState, PagePointsAndUserMapping) {
  test::TestHost host;
  Drawing d(host);
  // User (0, 10) at A (1.1, 6), user (100, 1000) at B (7.7, 9.6).
  ASSERT_TRUE(d.MapUserToCursors(0, 10, 100, 1000));
  PagePoint p;
  d.SetPointUser(p, 50, 505);
  EXPECT_NEAR(p.X, 4.4, 1e-12);
  EXPECT_NEAR(p.Y, 7.8, 1e-12);
  d.SetPointPage(p, 7.7, 6.0);
  EXPECT_NEAR(p.u, 100, 1e-9);
  EXPECT_NEAR(p.v, 10, 1e-9);
  d.MovePointPage(p, -0.66, 0.36);
  EXPECT_NEAR(p.u, 90, 1e-9);
  EXPECT_NEAR(p.v, 109, 1e-9);
  d.MovePointUser(p, -10, -99);
  EXPECT_NEAR(p.X, 6.38, 1e-12);
  EXPECT_NEAR(p.Y, 6.0, 1e-12);
  EXPECT_FALSE(d.SetUserTransform(1, 1, 1, 2, 0, 0, 1, 1));  // degenerate: refused

  // A glyph step at 90 degrees with CharSize 0.1: (a, b) = (1, 0.5) moves by (-0.1, 0.1).
  d.SetTextAngle(90);
  d.SetPointPage(p, 2, 3);
  d.MovePointRotated(p, 1, 0.5);
  EXPECT_NEAR(p.X, 1.9, 1e-12);
  EXPECT_NEAR(p.Y, 3.1, 1e-12);
}

TEST(DrawState, ResetClearsTheDrawing) {
  test::TestHost host;
  Drawing d(host);
  d.SetLineCode(4);
  d.state.PenDraw = false;
  d.DrawLine(true, 1, 1, 5, 5, LineWidthTable[4]);
  d.SetLandscape();
  d.ResetDrawing();
  EXPECT_EQ(d.image().countInk(), 0);
  EXPECT_EQ(d.preview().countInk(), 0);
  EXPECT_TRUE(d.state.LandscapeMode);
  EXPECT_EQ(d.state.LineCode, 2);
  EXPECT_TRUE(d.state.PenDraw);
}
