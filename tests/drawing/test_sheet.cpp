// Renders the drawing test sheet (every line width at many angles, dashed and intermittent
// lines, arrows, circles and arcs, nodes, all point symbols at every size, a block copy and a
// block move) to drawing-test-sheet.pbm and its preview to drawing-test-preview.pbm in the
// working directory, for looking at. The checks here are only coarse sanity checks.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "TestHost.h"
#include "drawing/DrawingOutput.h"

using namespace plotane;

namespace {

void sheet(Drawing& d) {
  const double pi = std::numbers::pi;
  // Starbursts: one per width code, 24 rays.
  for (int code = 0; code <= 4; ++code) {
    d.SetLineCode(code);
    const double cx = 0.8 + 1.6 * code, cy = 9.2;
    for (int i = 0; i < 24; ++i) {
      const double a = i * pi / 12;
      d.DrawLine(true, cx + 0.1 * std::cos(a), cy + 0.1 * std::sin(a), cx + 0.65 * std::cos(a),
                 cy + 0.65 * std::sin(a), d.state.LineWidth);
    }
  }
  // Dashed, intermittent and solid lines, each width code, flat and slanted.
  for (int code = 0; code <= 4; ++code) {
    d.SetLineCode(code);
    const double y = 8.2 - 0.18 * code;
    d.SetACursor(0.3, y);
    d.SetBCursor(2.8, y);
    d.DrawDashedCommand();
    d.SetACursor(3.0, y);
    d.SetBCursor(5.5, y);
    d.DrawIntermittentCommand();
    d.SetACursor(5.7, y);
    d.SetBCursor(7.7, y - 0.1);
    d.DrawLineCommand();
    d.DrawDashed(d.pointAt({0.3 + 0.3 * code, 7.0}), d.pointAt({0.6 + 0.3 * code, 6.0}),
                 DashTable[code]);
    d.DrawIntermittent(d.pointAt({2.0 + 0.3 * code, 7.0}), d.pointAt({2.3 + 0.3 * code, 6.0}),
                       DashTable[code] * 0.5f, 4.0f);
  }
  // Arrows in eight directions around (4.5, 6.5), tips outward; a second rosette by width code.
  d.SetLineCode(2);
  for (int i = 0; i < 8; ++i) {
    const double a = i * pi / 4;
    d.SetACursor(4.5 + 0.5 * std::cos(a), 6.5 + 0.5 * std::sin(a));
    d.SetBCursor(4.5, 6.5);
    d.DrawLineCommand();
    d.DrawArrowhead();
  }
  for (int code = 0; code <= 4; ++code) {
    d.SetLineCode(code);
    const double a = pi / 2 + code * pi / 5;
    d.SetACursor(6.5 + 0.6 * std::cos(a), 6.5 + 0.6 * std::sin(a));
    d.SetBCursor(6.5, 6.5);
    d.DrawLineCommand();
    d.DrawArrowhead();
  }
  // Circles of several radii and widths, arcs, nodes of each line code.
  for (int code = 0; code <= 4; ++code) {
    d.SetLineCode(code);
    d.DrawCircle(d.pointAt({1.2, 4.6}), 0.05 + 0.15 * code);
    d.DrawArc(d.pointAt({3.4, 4.6}), 0.1 + 0.15 * code, 0.3 * code, 0.3 * code + 2.5);
    d.SetACursor(5.0 + 0.3 * code, 4.9);
    d.DrawNode();
  }
  d.SetLineCode(2);
  d.SetACursor(6.6, 4.4);
  d.SetBCursor(7.3, 4.4);
  d.BeginCircleArc();
  d.SetBCursor(6.6, 5.1);
  d.FinishCircleArc();
  d.SetACursor(5.0, 4.0);
  d.SetBCursor(6.2, 4.6);
  d.DrawRectangle();
  // Point symbols: 12 shapes across, 12 size codes down, each row over a line for knock-outs.
  for (int size = -2; size <= 9; ++size) {
    const double y = 3.35 - 0.27 * (size + 2);
    d.DrawLine(true, 0.3, y, 7.7, y, LineWidthTable[1]);
    for (int shape = 0; shape < 12; ++shape)
      d.DrawPointSymbol(d.pointAt({0.6 + 0.62 * shape, y}), shape, size);
  }
  // Block copy (from the node row to the right of it) and an overlapping block move.
  d.SetACursor(4.85, 4.7);
  d.SetBCursor(6.3, 5.1);
  d.DefineBlock();
  d.setBlockMove(false);
  d.SetACursor(6.4, 5.3);
  d.BlockTransfer(false);
  d.SetACursor(0.2, 5.6);
  d.SetBCursor(2.0, 7.1);
  d.DefineBlock();
  d.setBlockMove(true);
  d.SetACursor(0.3, 5.5);
  d.BlockTransfer(false);
}

}  // namespace

TEST(Sheet, RendersTheTestSheet) {
  test::TestHost host;
  Drawing d(host);
  sheet(d);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_GT(d.image().countInk(), 100000);
  EXPECT_TRUE(WritePagePbm(d, "drawing-test-sheet.pbm"));
  EXPECT_TRUE(WriteBitmapPbm(d.preview(), "drawing-test-preview.pbm"));
}
