// Column letters, the column-letter parser, number formats and the strict real conversion.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "worksheet/Format.h"

namespace plotane {
namespace {

TEST(ColumnLetters, OneAndTwoLetterNames) {
  EXPECT_EQ(ColumnLetters(0), "A ");
  EXPECT_EQ(ColumnLetters(25), "Z ");
  EXPECT_EQ(ColumnLetters(26), "AA");
  EXPECT_EQ(ColumnLetters(52), "BA");
  EXPECT_EQ(ColumnLetters(509), "SP");
}

TEST(ParseColumn, LettersBlanksAndClamping) {
  EXPECT_EQ(ParseColumn(" ab"), 27);
  EXPECT_EQ(ParseColumn("zz"), 509);  // 701 clamped
  EXPECT_EQ(ParseColumn("7"), 0);     // negative clamped
  EXPECT_EQ(ParseColumn("b"), 1);
  EXPECT_EQ(ParseColumn("B "), 1);
  EXPECT_EQ(ParseColumn("   c"), 2);
  EXPECT_EQ(ParseColumn("SP"), 509);
  EXPECT_EQ(ParseColumn("AA"), 26);
  // A digit second gives some column: (65 - 64) * 26 + ('7' - 65) = 16.
  EXPECT_EQ(ParseColumn("A7"), 16);
  EXPECT_EQ(ParseColumn(""), 0);
  EXPECT_EQ(ParseColumn(" "), 0);
  // Only two characters count.
  EXPECT_EQ(ParseColumn("BAZZZ"), 52);
}

TEST(ColumnLetters, ParseInvertsLettersForEveryColumn) {
  for (int c = 0; c <= MaxColumn; ++c) EXPECT_EQ(ParseColumn(ColumnLetters(c)), c) << c;
}

TEST(FormatSci, FieldLayout) {
  EXPECT_EQ(FormatSci(13, 1.5), " 1.500000E+00");
  EXPECT_EQ(FormatSci(13, -1.5), "-1.500000E+00");
  EXPECT_EQ(FormatSci(13, 0.0), " 0.000000E+00");
  EXPECT_EQ(FormatSci(13, 1.0E-7), " 1.000000E-07");
  EXPECT_EQ(FormatSci(12, -2.5), "-2.50000E+00");
  EXPECT_EQ(FormatSci(14, 12345.678), " 1.2345678E+04");
  // Three exponent digits keep all four places: w + 2 characters.
  EXPECT_EQ(FormatSci(13, 1.0E-300), " 1.000000E-0300");
  EXPECT_EQ(FormatSci(13, 3.4E38), " 3.400000E+38");
  EXPECT_EQ(FormatSci(6, -HUGE_VAL), "  -INF");
  EXPECT_EQ(FormatReal(5, -2, NAN), "  NAN");
}

TEST(FormatReal, FlexibleFixedAndScientific) {
  EXPECT_EQ(FormatReal(13, -2, 0.0), "    0.0000000");  // e = 0: seven decimals
  EXPECT_EQ(FormatReal(13, -2, 1.0E9), " 1.000000E+09");
  EXPECT_EQ(FormatReal(13, -2, 1.0E-7), " 1.000000E-07");
  // e = nearest integer to log10|x|; 7 - e decimals while |e - 1| <= 6.
  EXPECT_EQ(FormatReal(13, -2, 5.0), "     5.000000");      // e = 1
  EXPECT_EQ(FormatReal(13, -2, -2.5), "   -2.5000000");     // e = 0
  EXPECT_EQ(FormatReal(13, -2, 123.456), "    123.45600");  // e = 2
  EXPECT_EQ(FormatReal(13, -2, 1234567.0), "    1234567.0");
  EXPECT_EQ(FormatReal(13, -2, 12345678.0), "     12345678");  // e = 7: no decimals
  EXPECT_EQ(FormatReal(13, -2, 9.5E7), " 9.500000E+07");       // e = 8
  EXPECT_EQ(FormatReal(13, -2, 0.001), " 0.0010000000");       // e = -3
  EXPECT_EQ(FormatReal(13, -2, 1.0E-6), " 1.000000E-06");      // e = -6
  EXPECT_EQ(FormatReal(12, -2, 2.5), "   2.5000000");
  EXPECT_EQ(FormatReal(15, -2, 0.0), "      0.0000000");
}

TEST(FormatReal, FixedAndScientificSpecs) {
  EXPECT_EQ(FormatReal(13, 2, -3.14159), "        -3.14");
  EXPECT_EQ(FormatReal(13, 0, 2.4), "            2");
  EXPECT_EQ(FormatReal(13, 9, 1.0), "  1.000000000");
  EXPECT_EQ(FormatReal(13, -1, 1.5), " 1.500000E+00");
  // A number wider than the field widens it.
  EXPECT_EQ(FormatReal(5, 3, 123456.0), "123456.000");
}

TEST(ConvertReal, AcceptsNumbersOnly) {
  double v = 0;
  EXPECT_TRUE(ConvertReal("5", v));
  EXPECT_EQ(v, 5.0);
  EXPECT_TRUE(ConvertReal("   -2.5E+3", v));
  EXPECT_EQ(v, -2500.0);
  EXPECT_TRUE(ConvertReal("+.5", v));
  EXPECT_EQ(v, 0.5);
  EXPECT_TRUE(ConvertReal("7.", v));
  EXPECT_EQ(v, 7.0);
  EXPECT_TRUE(ConvertReal("1E-39", v));
  EXPECT_EQ(v, 1.0E-39);
  EXPECT_TRUE(ConvertReal("3.4E38", v));
  for (const char* bad : {"", " ", "abc", "5 ", "5x", ".", "-", "1e", "1e+", "0x10", "inf", "nan",
                          "1..2", "--1", "1 2", "\t5"}) {
    EXPECT_FALSE(ConvertReal(bad, v)) << bad;
  }
}

TEST(ConvertReal, RefusesNumbersOutsideTheSingleRange) {
  double v = 1.0;
  EXPECT_FALSE(ConvertReal("3.5E38", v));
  EXPECT_FALSE(ConvertReal("-1e39", v));
  EXPECT_FALSE(ConvertReal("1e400", v));
  EXPECT_EQ(v, 1.0);  // left as it was
  EXPECT_TRUE(ConvertReal("3.40282E38", v));
  EXPECT_LE(v, double(FLT_MAX));
}

}  // namespace
}  // namespace plotane
