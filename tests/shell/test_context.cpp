// The application context: a fresh one per test, store first, and the end of the program.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestHost.h"
#include "shell/AppContext.h"

namespace plotane {
namespace {

TEST(AppContext, StartsWithNoDataFileTheRootDsDirAndTheDefaultRange) {
  test::TestHost host;
  AppContext ctx(host);
  EXPECT_FALSE(ctx.store.attached());
  EXPECT_EQ(ctx.store.CurrentPath(), "");
  EXPECT_EQ(ctx.store.UseLow, 0);
  EXPECT_EQ(ctx.store.UseHigh, 800);
  EXPECT_EQ(ctx.store.loadedHead(), nullptr);
  EXPECT_FALSE(ctx.store.StoreError);
  EXPECT_FALSE(ctx.DrawingClosed);
}

TEST(AppContext, ClosingTheProgramDetachesTheDataFile) {
  test::TestHost host;
  test::TempDir dir;
  AppContext ctx(host);
  ctx.store.CREATEDSF(dir.file("A.DSF"));
  ASSERT_TRUE(ctx.store.attached());
  ctx.closeProgram();
  EXPECT_FALSE(ctx.store.attached());
}

TEST(AppContext, WindowSelectionRecreatesAClosedDrawing) {
  test::TestHost host;
  AppContext ctx(host);
  ctx.SHOWWORKSHEET();
  ctx.drawingWindowClosed();
  EXPECT_TRUE(ctx.DrawingClosed);
  ctx.SHOWDRAWING();
  EXPECT_FALSE(ctx.DrawingClosed);
  EXPECT_EQ(host.drawingReplacements, 1);
  ASSERT_EQ(host.windowsShown.size(), 2u);
  EXPECT_EQ(host.windowsShown[0], WorkWindow::Worksheet);
  EXPECT_EQ(host.windowsShown[1], WorkWindow::Drawing);
}

TEST(AppContext, ACommandLineScriptThatCannotBeReadIsReported) {
  test::TestHost host;
  AppContext ctx(host);
  bool unreadable = false;
  EXPECT_FALSE(ctx.RUNFROMCOMMANDLINE({"/no/such/dir/NOSCRIPT"}, &unreadable));
  EXPECT_TRUE(unreadable);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("NOSCRIPT.EBT"), std::string::npos);
}

}  // namespace
}  // namespace plotane

namespace plotane {
namespace {

TEST(AppContext, RegressionAndSplineRequestsReachTheirCommands) {
  test::TestHost host;
  AppContext ctx(host);
  ctx.store.MAKERAMP(ctx.worksheet.columns()[3], 0.0, 1.0);  // covers the use range
  ctx.regression.StartDependent();
  ASSERT_TRUE(ctx.worksheet.requestActive());
  EXPECT_EQ(ctx.worksheet.Request.code, 23);
  ctx.worksheet.ConfirmRequest(3);
  EXPECT_EQ(ctx.regression.model.dependent.column, 3);
  ctx.spline.Start();
  ASSERT_TRUE(ctx.worksheet.requestActive());
  EXPECT_EQ(ctx.worksheet.Request.code, 29);
}

// The drawing owns the orientation and the graph definitions follow it: a landscape drawing that
// is discarded turns back to portrait first, so the next, blank drawing and the graph agree.
TEST(AppContext, ADiscardedLandscapeDrawingLeavesThePageInPortrait) {
  test::TestHost host;
  AppContext ctx(host);
  ctx.drawing->SetLandscape();
  ASSERT_EQ(ctx.graph.def.Landscape, 1);
  ctx.discardDrawing();
  EXPECT_EQ(ctx.graph.def.Landscape, 0);
  ctx.ensureDrawing();
  EXPECT_FALSE(ctx.drawing->state.LandscapeMode);
}

// One print mode: a GRD file of the current format selects it and a save writes it back.
TEST(AppContext, ThePrintModeTravelsWithTheGraphDefinitions) {
  test::TestHost host;
  test::TempDir dir;
  AppContext ctx(host);
  ctx.graph.SaveGrd(dir.file("W.GRD"), false);
  ASSERT_TRUE(ctx.PclPrintMode);
  ctx.graph.LoadGrd(dir.file("W.GRD"));
  EXPECT_FALSE(ctx.PclPrintMode);
  ctx.runner.setText("GWFILESAVE('" + dir.file("X") + "');");
  ctx.runner.RUN();
  ctx.PclPrintMode = true;
  ctx.graph.LoadGrd(dir.file("X.GRD"));
  EXPECT_FALSE(ctx.PclPrintMode);
}

}  // namespace
}  // namespace plotane
