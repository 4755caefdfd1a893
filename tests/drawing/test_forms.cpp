// The drawing window's dialog rules: the text font selection, letter fonts as a slot keeps
// them, the angle rule of letter fonts and the numeric cursor move with its log axes.

#include <gtest/gtest.h>

#include "TestHost.h"
#include "drawing/DrawingForms.h"

using namespace plotane;

namespace {

LetterFontSlots someSlots() {
  LetterFontSlots s{};
  s[1] = {"Arial", 12, 3};           // B
  s[4] = {"Times New Roman", 9, 0};  // E
  return s;
}

}  // namespace

TEST(FontSelection, OpensOnTheFontCodesLineAndShowsTheSlots) {
  // A stroke code opens on line 0 and becomes the drawn-line code.
  FontSelection stroke(7, 3, someSlots());
  EXPECT_EQ(stroke.line(), 0);
  EXPECT_EQ(stroke.drawnLineCode(), 7);
  const std::vector<std::string> lines = stroke.lines();
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[0], "Drawn-Line FontCode =   7  (20)");
  EXPECT_EQ(lines[1], "A:  ");
  EXPECT_EQ(lines[2], "B:  Arial,  12, Bold Italic");
  EXPECT_EQ(lines[5], "E:  Times New Roman,  9, Regular");
  EXPECT_EQ(lines[22], "V:  ");
  EXPECT_EQ(FontSelection(-2, 3, {}).lines()[0], "Drawn-Line FontCode = -2  (  7)");

  // A letter code opens on its slot's line; the drawn-line code keeps its last value.
  FontSelection letter(105, -1, someSlots());
  EXPECT_EQ(letter.line(), 5);
  EXPECT_EQ(letter.drawnLineCode(), -1);
  EXPECT_EQ(letter.fontCode(), 105);
  letter.select(0);
  EXPECT_EQ(letter.fontCode(), -1);
  letter.select(23);  // out of the list: ignored
  EXPECT_EQ(letter.line(), 0);
}

TEST(FontSelection, OkDeleteAndDefineRules) {
  FontSelection f(3, 3, someSlots());
  EXPECT_TRUE(f.canAccept());  // line 0
  f.select(1);                 // A: empty
  EXPECT_FALSE(f.canAccept());
  f.defineLetterFont(LetterFontOf("Courier New", 10, true, false));
  EXPECT_TRUE(f.canAccept());
  EXPECT_EQ(f.lines()[1], "A:  Courier New,  10, Bold");
  EXPECT_EQ(f.fontCode(), 101);

  f.select(2);  // B: used, then deleted
  EXPECT_TRUE(f.canAccept());
  f.deleteLetterFont();
  EXPECT_FALSE(f.canAccept());
  EXPECT_EQ(f.letterSlots()[1].name, "");
  EXPECT_EQ(f.letterSlots()[1].size, 12);
  EXPECT_EQ(f.letterSlots()[1].style, 0);
  EXPECT_EQ(f.lines()[2], "B:  ");

  // Line 0 has no slot: delete and define leave every slot alone.
  f.select(0);
  f.deleteLetterFont();
  f.defineLetterFont(LetterFontOf("X", 8, false, false));
  EXPECT_EQ(f.letterSlots()[0].name, "Courier New");
  f.setDrawnLineCode(12);  // not a stroke font
  EXPECT_EQ(f.drawnLineCode(), 3);
  f.setDrawnLineCode(9);
  EXPECT_EQ(f.fontCode(), 9);
}

TEST(FontSelection, PlatformFontsAsASlotKeepsThem) {
  const std::string longFace(50, 'F');
  const LetterFontSlot cut = LetterFontOf(longFace, 10.6, false, true);
  EXPECT_EQ(cut.name, std::string(35, 'F'));
  EXPECT_EQ(cut.size, 11);
  EXPECT_EQ(cut.style, 1);
  EXPECT_EQ(LetterFontOf("A", -1, true, true).size, 12);  // a pixel-sized font has no points
  EXPECT_EQ(LetterFontOf("A", 0.2, false, false).size, 12);
  EXPECT_EQ(LetterFontOf("A", 400, false, false).size, 255);
  EXPECT_EQ(LetterFontOf("A", 8, true, true).style, 3);
}

TEST(DrawingForms, DrawnLineCodeList) {
  const std::vector<std::string> rows = DrawnLineCodeRows();
  ASSERT_EQ(rows.size(), 12u);
  for (int code = -2; code <= 9; ++code)
    EXPECT_EQ(DrawnLineCodeOfRow(DrawnLineRowOfCode(code)), code);
  EXPECT_EQ(DrawnLineRowOfCode(101), 5);  // a letter font: the list opens on code 3
  // Sizes in inches and millimetres: 1/16 inch for code -2, 1/4 inch for code 9.
  EXPECT_NE(rows[0].find("0.0625 in"), std::string::npos);
  EXPECT_NE(rows[0].find("1.59 mm"), std::string::npos);
  EXPECT_NE(rows[11].find("6.35 mm"), std::string::npos);
  EXPECT_NE(rows[11].find("line code 4"), std::string::npos);
}

TEST(DrawingForms, AngleRuleOfLetterFonts) {
  EXPECT_TRUE(AngleNeedsChoice(105, 45));
  EXPECT_FALSE(AngleNeedsChoice(105, 90));
  EXPECT_FALSE(AngleNeedsChoice(105, 0));
  EXPECT_FALSE(AngleNeedsChoice(9, 45));
  EXPECT_EQ(AngleChoiceIndex(90), 1);
  EXPECT_EQ(AngleChoiceIndex(45), 0);
  // OK takes the choice; Cancel keeps 0 or 90, but never leaves a letter font at 45.
  EXPECT_EQ(AngleChoiceResult(0, 1, true), 90.0);
  EXPECT_EQ(AngleChoiceResult(0, 1, false), std::nullopt);
  EXPECT_EQ(AngleChoiceResult(90, 0, false), std::nullopt);
  EXPECT_EQ(AngleChoiceResult(45, 0, false), 0.0);
  EXPECT_EQ(AngleChoiceResult(45, 1, false), 90.0);
}

TEST(NumericMove, ValuesAndRefusals) {
  double v = 0;
  EXPECT_TRUE(ParseCoordinate(" 2.5 ", v));
  EXPECT_DOUBLE_EQ(v, 2.5);
  EXPECT_TRUE(ParseCoordinate("+1e1", v));
  EXPECT_DOUBLE_EQ(v, 10);
  for (const char* bad : {"", "   ", "1.2.3", "abc", "2,5", "1e999", "nan", "inf", "- 1", "1 2"})
    EXPECT_FALSE(ParseCoordinate(bad, v)) << bad;

  double x = 0, y = 0;
  NumericMoveForm f{false, true, "100", "0.01"};
  ASSERT_TRUE(NumericMoveValues(f, true, true, x, y));
  EXPECT_DOUBLE_EQ(x, 2);
  EXPECT_DOUBLE_EQ(y, -2);
  // Only graph coordinates on a log axis take the logarithm; there 0 and less are refused.
  f.y = "0";
  EXPECT_FALSE(NumericMoveValues(f, true, true, x, y));
  EXPECT_TRUE(NumericMoveValues(f, true, false, x, y));
  f.graph = false;
  f.y = "-3";
  ASSERT_TRUE(NumericMoveValues(f, true, true, x, y));
  EXPECT_DOUBLE_EQ(x, 100);
  EXPECT_DOUBLE_EQ(y, -3);
}

TEST(NumericMove, MovesTheCursorOrLeavesItWhereItWas) {
  test::TestHost host;
  Drawing d{host};
  // Graph: X log10 0..3 (1..1000) over 1..7 in, Y linear 0..10 over 2..8 in.
  ASSERT_TRUE(d.SetUserTransform(0, 0, 3, 10, 1, 2, 7, 8));

  // Absolute in graph units on the log X axis: 100 is decade 2, at 1 + 2 x 2 = 5 in.
  ASSERT_TRUE(ApplyNumericMove(d, false, {false, true, "100", "5"}, true, false));
  EXPECT_NEAR(d.state.A.X, 5.0, 1e-9);
  EXPECT_NEAR(d.state.A.Y, 5.0, 1e-9);
  // Relative on the log axis: times 10 is one decade further (2 in).
  ASSERT_TRUE(ApplyNumericMove(d, false, {true, true, "10", "1"}, true, false));
  EXPECT_NEAR(d.state.A.X, 7.0, 1e-9);
  EXPECT_NEAR(d.state.A.Y, 5.6, 1e-9);
  // Frame inches, absolute and relative, on the B-cursor.
  ASSERT_TRUE(ApplyNumericMove(d, true, {false, false, "2", "3"}, true, false));
  ASSERT_TRUE(ApplyNumericMove(d, true, {true, false, "0.5", "-1"}, true, false));
  EXPECT_NEAR(d.state.B.X, 2.5, 1e-9);
  EXPECT_NEAR(d.state.B.Y, 2.0, 1e-9);

  // Refused: a bad value, a log value of 0, a place off the page. Nothing moves.
  const PageXY a = d.state.A;
  EXPECT_FALSE(ApplyNumericMove(d, false, {false, true, "x", "1"}, true, false));
  EXPECT_FALSE(ApplyNumericMove(d, false, {false, true, "0", "1"}, true, false));
  EXPECT_FALSE(ApplyNumericMove(d, false, {false, false, "9", "1"}, false, false));
  EXPECT_FALSE(ApplyNumericMove(d, false, {true, false, "0", "-20"}, false, false));
  EXPECT_EQ(d.state.A.X, a.X);
  EXPECT_EQ(d.state.A.Y, a.Y);
}

TEST(NumericMove, AHeldBlockKeepsItsExtent) {
  test::TestHost host;
  Drawing d{host};
  d.SetACursor(1, 1);
  d.SetBCursor(2, 1.5);
  ASSERT_TRUE(d.DefineBlock());
  d.state.BlockMode = true;
  ASSERT_TRUE(ApplyNumericMove(d, false, {false, false, "3", "4"}, false, false));
  EXPECT_NEAR(d.state.B.X, 4.0, 1e-9);
  EXPECT_NEAR(d.state.B.Y, 4.5, 1e-9);
}
