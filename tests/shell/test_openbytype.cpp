// A file given to the program with its extension opens by its type.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestHost.h"
#include "shell/AppContext.h"
#include "shell/OpenByType.h"

namespace plotane {
namespace {

TEST(OpenByType, KindsComeFromTheExtensionInAnyCase) {
  EXPECT_EQ(fileKindOf("/home/u/DEMO.EBT"), FileKind::Script);
  EXPECT_EQ(fileKindOf("demo.ebt"), FileKind::Script);
  EXPECT_EQ(fileKindOf("a/fig.Grl"), FileKind::Drawing);
  EXPECT_EQ(fileKindOf("x.grd"), FileKind::GraphDefs);
  EXPECT_EQ(fileKindOf("DATA.DSF"), FileKind::DataFile);
  EXPECT_EQ(fileKindOf("DEMO"), FileKind::None);  // a script name as ever
  EXPECT_EQ(fileKindOf(".EBT"), FileKind::None);
  EXPECT_EQ(fileKindOf("notes.txt"), FileKind::None);
  EXPECT_EQ(scriptParameters({"/d/DEMO.ebt", "P2"}), (std::vector<std::string>{"/d/DEMO", "P2"}));
  EXPECT_EQ(scriptParameters({"DEMO", "P2"}), (std::vector<std::string>{"DEMO", "P2"}));
}

TEST(OpenByType, EachKindOpensWhereItBelongs) {
  test::TestHost host;
  test::TempDir dir;
  {
    AppContext maker(host);
    maker.store.CREATEDSF(dir.file("D.DSF"));
    maker.closeProgram();
    maker.graph.def.CurveCount = 0;
    maker.graph.SaveGrd(dir.file("G.GRD"), true);
    maker.ensureDrawing().DrawLine(true, 1.0, 1.0, 3.0, 4.0, 0.013);
    maker.drawing->SaveGrl(dir.file("P.GRL"));
  }
  ASSERT_TRUE(host.messages.empty()) << host.lastMessage();
  AppContext ctx(host);
  EXPECT_TRUE(openByType(ctx, dir.file("D.DSF")));
  EXPECT_TRUE(ctx.store.attached());
  EXPECT_TRUE(openByType(ctx, dir.file("G.GRD")));
  EXPECT_TRUE(openByType(ctx, dir.file("P.GRL")));
  EXPECT_GT(ctx.drawing->image().countInk(), 0L);
  EXPECT_EQ(ctx.drawing->state.GrlFileName, dir.file("P.GRL"));
  ASSERT_EQ(host.windowsShown.size(), 3u);
  EXPECT_EQ(host.windowsShown[0], WorkWindow::Worksheet);
  EXPECT_EQ(host.windowsShown[1], WorkWindow::GraphDefs);
  EXPECT_EQ(host.windowsShown[2], WorkWindow::Drawing);
  EXPECT_TRUE(host.messages.empty());

  // A file that is not there is reported, and nothing claims success.
  EXPECT_FALSE(openByType(ctx, dir.file("MISSING.GRL")));
  EXPECT_FALSE(host.messages.empty());
  EXPECT_FALSE(openByType(ctx, dir.file("S.EBT")));
}

}  // namespace
}  // namespace plotane
