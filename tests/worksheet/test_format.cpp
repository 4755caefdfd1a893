// Column letters, the column-letter parser, number formats and the strict real conversion.

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Lcg.h"

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

// The value is the correctly rounded double of the text, as the C library's strtod (in the C
// locale) gives it, for numbers written every way a table may hold them: fixed and scientific, with
// long mantissas, leading zeros, signs and exponents near the ends of the single range.
TEST(ConvertReal, RoundsAsTheCLibraryDoes) {
  test::Lcg rng{20261207};
  const char* formats[] = {"%.0f",  "%.3f",  "%.5f",  "%.9f",    "%.17g", "%.6E",
                           "%.15e", "%.21e", "%+.8g", "%014.7f", "%.25f", "%g"};
  int compared = 0;
  for (int i = 0; i < 20000; ++i) {
    const double magnitude = std::pow(10.0, rng.next() * 76 - 38);
    const double x = (rng.next() < 0.5 ? -1 : 1) * magnitude * (1 + rng.next());
    char text[128];
    std::snprintf(text, sizeof text, formats[i % 12], x);
    const double expected = std::strtod(text, nullptr);
    if (!std::isfinite(expected) || std::fabs(expected) > double(FLT_MAX)) continue;
    double v = 0;
    ASSERT_TRUE(ConvertReal(text, v)) << text;
    ASSERT_EQ(std::memcmp(&v, &expected, sizeof v), 0) << text;
    ++compared;
  }
  EXPECT_GT(compared, 19000);
  // Halfway cases and digits beyond what a double holds.
  for (const char* text : {"9007199254740993", "0.1", "2.2250738585072011e-308",
                           "1.00000000000000011102230246251565404236316680908203125",
                           "123456789012345678901234567890e-10", "0.000000000000000000000000001",
                           "1e-320", "4.9e-324", "1e-400", "-0", "+0.0e+00"}) {
    double v = 1, expected = std::strtod(text, nullptr);
    ASSERT_TRUE(ConvertReal(text, v)) << text;
    EXPECT_EQ(std::memcmp(&v, &expected, sizeof v), 0) << text;
  }
}

// The point is the decimal separator in every locale (the desktop program runs in the user's).
TEST(ConvertReal, IgnoresTheLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"})
    if (std::setlocale(LC_NUMERIC, name)) {
      comma = true;
      break;
    }
  double v = 0;
  const bool ok = ConvertReal("1.5", v);
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma here";
  EXPECT_TRUE(ok);
  EXPECT_EQ(v, 1.5);
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
