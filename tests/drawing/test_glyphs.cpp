// Glyph tables: the fixed example glyphs, the coverage of every set and the grid limits.

#include <gtest/gtest.h>

#include <string>

#include "drawing/StrokeFont.h"

using namespace plotane;
using Segs = std::vector<GlyphSegment>;

TEST(Glyphs, FixedExamplesDecodeToTheirSegments) {
  EXPECT_EQ(DecodeGlyph(RomanGlyph('A')),
            (Segs{{0, 0, 12, 36}, {12, 36, 16, 36}, {16, 36, 28, 0}, {4, 12, 24, 12}}));
  EXPECT_EQ(RomanGlyph('x'), "ERY<E<YR");
  EXPECT_EQ(DecodeGlyph("ERY<E<YR"), (Segs{{4, 22, 24, 0}, {4, 0, 24, 22}}));
  EXPECT_EQ(DecodeGlyph(SharedGlyph('1')), (Segs{{8, 0, 18, 0}, {13, 0, 13, 36}, {13, 36, 8, 31}}));
  EXPECT_EQ(SharedGlyph('.'), "P<L<L<L@L@P@P@P<");
  EXPECT_EQ(DecodeGlyph(SharedGlyph('.')),
            (Segs{{15, 0, 11, 0}, {11, 0, 11, 4}, {11, 4, 15, 4}, {15, 4, 15, 0}}));
  EXPECT_EQ(SharedGlyph('-'), "AL]L");
  EXPECT_EQ(DecodeGlyph(GreekGlyph('G')),
            (Segs{{2, 0, 6, 0}, {4, 0, 4, 36}, {4, 36, 24, 36}, {24, 36, 24, 32}}));
  EXPECT_EQ(DecodeGlyph(TallDelimiterGlyph('|')), (Segs{{14, -36, 14, 72}}));
}

TEST(Glyphs, EveryCharacterOfEverySetHasAGlyphOnTheGrid) {
  auto checkGrid = [](std::string_view g, int yMin, int yMax, int xMax, const std::string& what) {
    ASSERT_FALSE(IsNoGlyph(g)) << what;
    ASSERT_EQ(g.size() % 4, 0u) << what;
    ASSERT_FALSE(g.empty()) << what;
    for (const auto& s : DecodeGlyph(g)) {
      for (int x : {s.x1, s.x2}) EXPECT_TRUE(x >= -2 && x <= xMax) << what << " x " << x;
      for (int y : {s.y1, s.y2}) EXPECT_TRUE(y >= yMin && y <= yMax) << what << " y " << y;
    }
  };
  for (int c = 'A'; c <= 'z'; ++c) {
    if (!IsLetter(c)) continue;
    const std::string name(1, char(c));
    checkGrid(RomanGlyph(c), -10, 36, 30, "Roman " + name);
    checkGrid(GreekGlyph(c), -10, 36, 30, "Greek " + name);
    EXPECT_TRUE(IsNoGlyph(SharedGlyph(c))) << name;
  }
  for (int c = '!'; c <= '~'; ++c)
    if (!IsLetter(c)) checkGrid(SharedGlyph(c), -14, 45, 30, "shared " + std::string(1, char(c)));
  for (char k : std::string("DFIPRST")) {
    checkGrid(SpecialGlyph(k), -36, 90, 72, std::string("special ") + k);
    EXPECT_EQ(SpecialGlyph(k), SpecialGlyph(k + 32)) << "special keys ignore case";
  }
  for (char k : std::string("()[]|")) checkGrid(TallDelimiterGlyph(k), -36, 72, 28, "tall");
  for (char k : std::string("'`^~_.ECS")) {
    checkGrid(AccentGlyph(k, false), -12, 36, 28, std::string("low accent ") + k);
    checkGrid(AccentGlyph(k, true), -12, 48, 28, std::string("high accent ") + k);
  }
  // Tall delimiters span the full three heights.
  for (char k : std::string("()[]|")) {
    int lo = 99, hi = -99;
    for (const auto& s : DecodeGlyph(TallDelimiterGlyph(k))) {
      lo = std::min({lo, s.y1, s.y2});
      hi = std::max({hi, s.y1, s.y2});
    }
    EXPECT_EQ(lo, -36) << k;
    EXPECT_EQ(hi, 72) << k;
  }
}

TEST(Glyphs, BlankAndUnknownKeys) {
  EXPECT_EQ(SharedGlyph(' '), "");
  EXPECT_TRUE(IsNoGlyph(SharedGlyph(127)));
  EXPECT_TRUE(IsNoGlyph(SharedGlyph(200)));
  EXPECT_TRUE(IsNoGlyph(SharedGlyph(7)));
  EXPECT_TRUE(IsNoGlyph(SpecialGlyph('q')));
  EXPECT_TRUE(IsNoGlyph(SpecialGlyph('1')));
  EXPECT_TRUE(IsNoGlyph(TallDelimiterGlyph('{')));
  EXPECT_TRUE(IsNoGlyph(TallDelimiterGlyph(0)));
  EXPECT_TRUE(IsNoGlyph(AccentGlyph('x', false)));
  EXPECT_TRUE(IsNoGlyph(RomanGlyph('1')));
  EXPECT_EQ(AccentGlyph('e', true), AccentGlyph('E', true));
}

TEST(Glyphs, HighAccentsSitTwelveToFourteenUnitsAboveTheLowOnes) {
  for (char k : std::string("'`^~_.EC")) {
    const auto lo = DecodeGlyph(AccentGlyph(k, false)), hi = DecodeGlyph(AccentGlyph(k, true));
    ASSERT_EQ(lo.size(), hi.size()) << k;
    const int d = hi[0].y1 - lo[0].y1;
    EXPECT_TRUE(d >= 12 && d <= 14) << k;
    for (std::size_t i = 0; i < lo.size(); ++i) {
      EXPECT_EQ(hi[i].x1, lo[i].x1);
      EXPECT_EQ(hi[i].y2 - lo[i].y2, d);
    }
    // Low accents clear the x-height, high ones the capital height.
    for (const auto& s : lo) EXPECT_GT(std::min(s.y1, s.y2), 22) << k;
    for (const auto& s : hi) EXPECT_GT(std::min(s.y1, s.y2), 36) << k;
  }
  // The cedilla hangs below the baseline in both positions.
  for (bool high : {false, true})
    for (const auto& s : DecodeGlyph(AccentGlyph('s', high))) EXPECT_LE(std::max(s.y1, s.y2), 0);
}
