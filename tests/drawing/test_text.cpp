// Stroke and platform text: pen advance rules, script levels, accents, widths, text entry and the
// pixel copy of platform glyphs.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <string>

#include "TestHost.h"
#include "drawing/Text.h"

using namespace plotane;

namespace {

// Draws every platform glyph as a solid block: emPixels / 2 wide, from the baseline up by
// emPixels / 2 rows, so tests can predict each pixel.
class FontHost : public test::TestHost {
 public:
  int calls = 0;
  bool platformText(const PlatformTextRequest& req, PlatformTextResult& out) override {
    ++calls;
    const int w = req.emPixels / 2;
    out.advance = int(req.text.size()) * w;
    if (!req.render) return true;
    const int n = req.canvasSize;
    out.pixels.assign(std::size_t(n) * n, 0);
    for (int r = std::max(0, req.baselineRow - w); r < req.baselineRow; ++r)
      for (int c = 0; c < std::min(n, out.advance); ++c) out.pixels[std::size_t(r) * n + c] = 1;
    return true;
  }
};

struct Box {
  int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
  long ink = 0;
};

// Bounding box of the ink in a column range of the raster (whole white bytes are skipped).
Box inkBox(const Drawing& d, int colLo = 0, int colHi = kRasterCols - 1) {
  Box b;
  for (int r = 0; r < kRasterRows; ++r) {
    const uint8_t* row = d.image().row(r);
    for (int byte = colLo / 8; byte <= colHi / 8; ++byte) {
      if (!row[byte]) continue;
      for (int c = std::max(colLo, byte * 8); c <= std::min(colHi, byte * 8 + 7); ++c)
        if (d.image().pixel(r, c)) {
          b.top = std::min(b.top, r);
          b.bottom = std::max(b.bottom, r);
          b.left = std::min(b.left, c);
          b.right = std::max(b.right, c);
          ++b.ink;
        }
    }
  }
  return b;
}

class TextTest : public ::testing::Test {
 protected:
  FontHost host;
  Drawing d{host};
  TextEngine t{d};
  void SetUp() override {
    t.SetFontCode(3);  // CharSize 0.1 inch, stroke width index 2
    t.InitTextState();
    t.setTextPen({1.0, 5.0});
  }
  void type(const std::string& s) {
    for (unsigned char ch : s) t.DrawStrokeChar(ch);
  }
};

}  // namespace

TEST_F(TextTest, FontCodeTable) {
  t.SetFontCode(-2);
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.0625);
  EXPECT_FLOAT_EQ(float(d.state.TextStrokeWidth), LineWidthTable[0]);
  t.SetFontCode(9);
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.25);
  EXPECT_FLOAT_EQ(float(d.state.TextStrokeWidth), LineWidthTable[4]);
  EXPECT_EQ(d.state.FontCode, 9);
  t.SetFontCode(50);  // no table entry: ignored
  EXPECT_EQ(d.state.FontCode, 9);
  // Changing the font inside a script level closes the level; the new size stays.
  t.DrawStrokeChar(textcmd::Subscript);
  t.SetFontCode(5);
  EXPECT_FALSE(t.scripted());
  t.DrawStrokeChar(textcmd::Normal);
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.125);
  LetterFontSlots fonts;
  fonts[2] = {"Serif", 20, 2};
  t.setLetterFonts(fonts);
  t.SetFontCode(103);
  EXPECT_TRUE(t.platformFont());
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.009 * 20);
  EXPECT_FLOAT_EQ(float(d.state.TextStrokeWidth), LineWidthTable[2]);
}

TEST_F(TextTest, BlankAdvancesUnknownCharactersDoNot) {
  EXPECT_TRUE(t.DrawStrokeChar(' '));
  EXPECT_NEAR(t.textPen().X, 1.1, 1e-12);
  EXPECT_EQ(d.image().countInk(), 0);
  for (unsigned char ch : {0, 3, 9, 127, 128, 200, 255}) EXPECT_FALSE(t.DrawStrokeChar(ch)) << ch;
  EXPECT_NEAR(t.textPen().X, 1.1, 1e-12);
  EXPECT_EQ(d.image().countInk(), 0);
  // Set switches draw nothing and do not move the pen.
  EXPECT_FALSE(t.DrawStrokeChar(textcmd::Greek));
  EXPECT_TRUE(t.greek());
  EXPECT_FALSE(t.DrawStrokeChar(textcmd::Roman));
  EXPECT_NEAR(t.textPen().X, 1.1, 1e-12);
}

TEST_F(TextTest, SpecialSymbolKeys) {
  EXPECT_FALSE(t.DrawStrokeChar(textcmd::Special));
  EXPECT_FALSE(t.DrawStrokeChar('q'));  // no such symbol: nothing drawn, no advance
  EXPECT_EQ(t.pending(), TextEngine::Pending::None);
  EXPECT_EQ(d.image().countInk(), 0);
  EXPECT_NEAR(t.textPen().X, 1.0, 1e-12);
  t.DrawStrokeChar(textcmd::Special);
  EXPECT_TRUE(t.DrawStrokeChar('s'));  // summation, key taken as upper case
  EXPECT_GT(d.image().countInk(), 0);
  EXPECT_NEAR(t.textPen().X, 1.1, 1e-12);
  // The summation reaches from half a capital below the baseline to 1.5 capitals above.
  const Box b = inkBox(d);
  EXPECT_NEAR(b.bottom, 1500 + 15, 3);
  EXPECT_NEAR(b.top, 1500 - 45, 3);
}

TEST_F(TextTest, GlyphSegmentsLandOnTheGrid) {
  // "-" is (0,16)-(28,16): a non-letter, so one grid unit is CharSize / 36.
  type("-");
  const Box b = inkBox(d);
  const double unitPx = 0.1 / 36 * 300;
  EXPECT_NEAR((b.top + b.bottom) / 2.0, 1500 - 16 * unitPx, 1.0);
  EXPECT_NEAR(b.left, 300, 3);
  EXPECT_NEAR(b.right, 300 + 28 * unitPx, 3);
  // A letter is scaled by 0.9556 and lifted by 0.4 units: "A" spans 0.4 .. 0.4 + 36 * 0.9556.
  d.image().clear();
  t.setTextPen({2.0, 5.0});
  type("A");
  const Box a = inkBox(d);
  EXPECT_NEAR(a.bottom, 1500 - 0.4 * unitPx, 3);
  EXPECT_NEAR(a.top, 1500 - (0.4 + 36 * 0.955555556) * unitPx, 3);
  EXPECT_NEAR(a.left, 600 + 0.4 * unitPx, 3);
  EXPECT_NEAR(a.right, 600 + (0.4 + 28 * 0.955555556) * unitPx, 3);
}

TEST_F(TextTest, SubscriptAndBackToNormal) {
  type("x");
  EXPECT_TRUE(t.DrawStrokeChar(textcmd::Subscript));
  EXPECT_TRUE(t.scripted());
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.07);
  // Back one cell, then 0.38 of the small cell on and 0.35 CharSize down, then one small cell.
  EXPECT_NEAR(t.textPen().X, 1.0 + 0.38 * 0.07 + 0.07, 1e-12);
  EXPECT_NEAR(t.textPen().Y, 5.0 - 0.035, 1e-12);
  const double subX = t.textPen().X;
  // Superscript inside a subscript is ignored.
  EXPECT_TRUE(t.DrawStrokeChar(textcmd::Superscript));
  EXPECT_NEAR(t.textPen().X, subX, 1e-12);
  EXPECT_NEAR(t.textPen().Y, 5.0 - 0.035, 1e-12);
  type("2");
  EXPECT_NEAR(t.textPen().X, subX + 0.07, 1e-12);
  // The "2" is 0.7 size with its baseline 0.35 CharSize (10.5 pixels) below the line.
  const Box two = inkBox(d, int(300 * subX) - 2);
  const double unitPx = 0.07 / 36 * 300;
  EXPECT_NEAR(two.bottom, 1500 + 10.5, 3);
  EXPECT_NEAR(two.top, 1500 + 10.5 - 36 * unitPx, 3);
  EXPECT_TRUE(t.DrawStrokeChar(textcmd::Normal));
  EXPECT_FALSE(t.scripted());
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.1);
  EXPECT_NEAR(t.textPen().Y, 5.0, 1e-12);
  EXPECT_NEAR(t.textPen().X, subX + 0.1, 1e-12);
  // Ctrl-N at the normal level leaves the pen alone.
  EXPECT_TRUE(t.DrawStrokeChar(textcmd::Normal));
  EXPECT_NEAR(t.textPen().X, subX + 0.1, 1e-12);
}

TEST_F(TextTest, SuperscriptRaisesByNineTenthsOfTheSmallSize) {
  type("x");
  t.DrawStrokeChar(textcmd::Superscript);
  EXPECT_NEAR(t.textPen().Y, 5.0 + 0.9 * 0.07, 1e-12);
  // A string ending inside the level comes back to the baseline.
  PagePoint p;
  d.SetPointPage(p, 1.0, 4.0);
  t.DrawTextString(p, "x\0252");
  EXPECT_NEAR(p.Y, 4.0, 1e-12);
  EXPECT_NEAR(p.X, 1.0 + 0.38 * 0.07 + 0.07 + 0.07, 1e-12);
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.1);
  EXPECT_FALSE(t.scripted());
}

TEST_F(TextTest, AccentsLowOverSmallLettersHighOverCapitalsAndTallLetters) {
  const double unitPx = 0.1 / 36 * 300;
  auto accentTop = [&](const std::string& letter, bool greek) {
    d.image().clear();
    t.InitTextState();
    t.setTextPen({1.0, 5.0});
    if (greek) t.DrawStrokeChar(textcmd::Greek);
    type(letter);
    const Box letterBox = inkBox(d);
    type("\020E");
    EXPECT_NEAR(t.textPen().X, 1.1, 1e-12) << letter;  // the pen is back after the letter
    const Box all = inkBox(d);
    EXPECT_GE(all.right, letterBox.left);
    EXPECT_LE(all.right, 300 + 30);  // over the letter's cell, not the next one
    return 1500 - all.top;
  };
  // Two dots 25..29 units above the baseline over "o", 13 units higher over "O" and "b".
  EXPECT_NEAR(accentTop("o", false), 29 * unitPx, 2.5);
  EXPECT_NEAR(accentTop("O", false), 42 * unitPx, 2.5);
  EXPECT_NEAR(accentTop("b", false), 42 * unitPx, 2.5);
  EXPECT_NEAR(accentTop("x", false), 29 * unitPx, 2.5);
  EXPECT_NEAR(accentTop("x", true), 42 * unitPx, 2.5);  // xi is tall
  // An unknown accent key leaves the pen where it was.
  t.DrawStrokeChar(textcmd::Accent);
  EXPECT_FALSE(t.DrawStrokeChar('Q'));
  EXPECT_NEAR(t.textPen().X, 1.1, 1e-12);
}

TEST_F(TextTest, TextWidthCountsCommandCharacters) {
  EXPECT_NEAR(t.TextWidth("x\0042\016"), 0.4, 1e-12);
  EXPECT_NEAR(t.TextWidthInChars("x\0042\016"), 4.0, 1e-12);
  EXPECT_NEAR(t.TextWidthInChars(std::string(100, 'a')), 87.0, 1e-9);
}

TEST_F(TextTest, DrawTextStringEndsWhereTheTextEnds) {
  PagePoint p;
  d.SetPointPage(p, 1.0, 5.0);
  t.DrawTextString(p, "\007ab\001S");
  EXPECT_NEAR(p.X, 1.3, 1e-12);
  EXPECT_FALSE(t.greek());  // Roman again after every string
  d.SetPointPage(p, 1.0, 3.0);
  t.DrawTextString(p, std::string(120, '-'));
  EXPECT_NEAR(p.X, 1.0 + 8.7, 1e-9);
  EXPECT_NEAR(p.u, p.X, 1e-12);  // user half follows the page half
}

TEST_F(TextTest, TurnedStrokeText) {
  d.SetTextAngle(30);
  PagePoint p;
  d.SetPointPage(p, 2.0, 5.0);
  t.DrawTextString(p, "--");
  EXPECT_NEAR(p.X, 2.0 + 0.2 * std::cos(std::numbers::pi / 6), 1e-12);
  EXPECT_NEAR(p.Y, 5.0 + 0.2 * std::sin(std::numbers::pi / 6), 1e-12);
  const Box b = inkBox(d);
  // The first bar starts 16 units off the pen, square to the text direction.
  const double unit = 0.1 / 36;
  EXPECT_NEAR(b.left, 300 * (2.0 - 16 * unit * 0.5), 3);
  EXPECT_NEAR(b.bottom, 300 * (10 - 5.0 - 16 * unit * std::cos(std::numbers::pi / 6)), 3);
  EXPECT_GT(b.bottom - b.top, 25);  // climbs about 28 pixels over the two bars
}

TEST_F(TextTest, TextEntryMovesTheACursorAndBackspaceErases) {
  d.SetACursor(2.0, 5.0);
  t.BeginTextEntry();
  EXPECT_NEAR(t.textPen().Y, 4.95, 1e-12);
  EXPECT_TRUE(t.TypeChar('W'));
  EXPECT_NEAR(d.state.A.X, 2.1, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 5.0, 1e-12);
  EXPECT_GT(d.image().countInk(), 0);
  EXPECT_FALSE(t.TypeChar(textcmd::Greek));
  t.TypeBackspace();
  EXPECT_EQ(d.image().countInk(), 0);  // the cell is wiped clean
  EXPECT_NEAR(d.state.A.X, 2.0, 1e-12);
  t.TypeBlank();
  EXPECT_NEAR(d.state.A.X, 2.1, 1e-12);
  t.TypeChar(textcmd::Subscript);
  EXPECT_TRUE(t.scripted());
  t.EndTextEntry();
  EXPECT_FALSE(t.scripted());
  EXPECT_DOUBLE_EQ(d.state.CharSize, 0.1);
  EXPECT_NEAR(d.state.A.X, 2.0, 1e-12);
  EXPECT_NEAR(d.state.A.Y, 5.0, 1e-12);
}

TEST_F(TextTest, EraseCharCellClearsTheWholeCellOnly) {
  // A solid block over two cells; erasing the first leaves the second.
  for (double y = 4.97; y <= 5.09; y += 0.003) d.DrawLine(true, 1.0, y, 1.2, y, 0.004);
  t.setTextPen({1.0, 5.0});
  t.EraseCharCell(0.1);
  EXPECT_EQ(inkBox(d, 300, 328).ink, 0);
  EXPECT_GT(inkBox(d, 333, 355).ink, 0);
}

TEST_F(TextTest, PlatformFontPenReturnsAfterThreeBackspaces) {
  t.SetFontCode(101);  // slot A: 12 point, CharSize 0.108
  d.SetACursor(1.23, 4.56);
  t.BeginTextEntry();
  const PageXY start = t.textPen();
  for (char ch : std::string("abc")) EXPECT_TRUE(t.TypeChar(ch));
  EXPECT_EQ(t.advanceStackSize(), 3u);
  // em = Round(432 x 0.108) = 47 pixels; the fake glyphs are 23 pixels wide.
  EXPECT_NEAR(t.textPen().X, start.X + 3 * 23 / 300.0, 1e-12);
  for (int i = 0; i < 3; ++i) t.TypeBackspace();
  EXPECT_EQ(t.textPen().X, start.X);
  EXPECT_EQ(t.textPen().Y, start.Y);
  EXPECT_DOUBLE_EQ(t.advance(), d.state.CharSize);
  // A blank is stepped back over by its own width.
  t.TypeChar('a');
  t.TypeBlank();
  t.TypeBackspace();
  EXPECT_NEAR(t.textPen().X, start.X + 23 / 300.0, 1e-12);
}

TEST_F(TextTest, PlatformGlyphPixelsPortraitAndLandscape) {
  t.SetFontCode(101);  // em 47: block 23 wide, rows baseline-23 .. baseline-1
  PagePoint p;
  d.SetPointPage(p, 1.0, 5.0);  // raster column 300, row 1500
  t.DrawTextString(p, "a");
  Box b = inkBox(d);
  EXPECT_EQ(b.ink, 23 * 23);
  EXPECT_EQ(b.left, 300);
  EXPECT_EQ(b.right, 322);
  EXPECT_EQ(b.bottom, 1499);
  EXPECT_EQ(b.top, 1477);
  EXPECT_TRUE(d.state.ImageChanged);
  EXPECT_NEAR(p.X, 1.0 + 23 / 300.0, 1e-12);
  EXPECT_GT(d.preview().countInk(), 0);

  // Turned a quarter: the text runs up the page, its top to the left of the pen.
  d.image().clear();
  d.SetTextAngle(90);
  d.SetPointPage(p, 1.0, 5.0);
  t.DrawTextString(p, "a");
  b = inkBox(d);
  EXPECT_EQ(b.ink, 23 * 23);
  EXPECT_EQ(b.left, 300 - 23);
  EXPECT_EQ(b.right, 299);
  EXPECT_EQ(b.bottom, 1500);
  EXPECT_EQ(b.top, 1478);

  // Landscape: page X runs down the raster rows and Y along the columns.
  d.image().clear();
  d.SetTextAngle(0);
  d.SetLandscape();
  d.SetPointPage(p, 2.0, 3.0);  // raster column 900, row 600
  t.DrawTextString(p, "a");
  b = inkBox(d);
  EXPECT_EQ(b.ink, 23 * 23);
  EXPECT_EQ(b.top, 600);
  EXPECT_EQ(b.bottom, 622);
  EXPECT_EQ(b.left, 901);
  EXPECT_EQ(b.right, 923);
}

TEST_F(TextTest, PlatformFontsDrawOnlyAtRightAngles) {
  t.SetFontCode(101);
  d.SetTextAngle(30);
  PagePoint p;
  d.SetPointPage(p, 1.0, 5.0);
  t.DrawTextString(p, "abc");
  EXPECT_EQ(d.image().countInk(), 0);
  EXPECT_NEAR(p.X, 1.0, 1e-12);
  // The same text in a stroke font is drawn turned.
  t.SetFontCode(3);
  t.DrawTextString(p, "abc");
  EXPECT_GT(d.image().countInk(), 0);
  EXPECT_NEAR(p.Y, 5.0 + 0.3 * 0.5, 1e-9);
}

TEST_F(TextTest, PlatformWidthAndMissingPlatformFonts) {
  t.SetFontCode(101);
  EXPECT_NEAR(t.TextWidth("abcd"), 4 * 23 / 300.0, 1e-12);
  // A host without platform fonts: nothing drawn, widths fall back to character cells.
  test::TestHost plain;
  Drawing d2(plain);
  TextEngine t2(d2);
  t2.SetFontCode(101);
  PagePoint p;
  d2.SetPointPage(p, 1.0, 5.0);
  t2.DrawTextString(p, "abc");
  EXPECT_EQ(d2.image().countInk(), 0);
  EXPECT_NEAR(t2.TextWidth("abc"), 3 * 0.108, 1e-12);
  // A slot of size 0 (as a damaged definition may hold) draws nothing and measures nothing.
  LetterFontSlots fonts;
  fonts[4].size = 0;
  t.setLetterFonts(fonts);
  t.SetFontCode(105);
  d.SetPointPage(p, 1.0, 5.0);
  t.DrawTextString(p, "abc");
  EXPECT_EQ(d.image().countInk(), 0);
  EXPECT_EQ(t.TextWidthInChars("abc"), 0.0);
}

TEST_F(TextTest, AnyBytesAtAnyAngleAndPageEdgeStayInsideTheRaster) {
  // Every byte value after every command character, at page corners, turned and in landscape:
  // the glyphs are clipped to the raster and the text state stays consistent.
  std::string all;
  for (int c = 0; c < 256; ++c) {
    for (unsigned char cmd : {textcmd::Special, textcmd::Tall, textcmd::Accent, textcmd::Subscript,
                              textcmd::Superscript, textcmd::Normal}) {
      all += char(cmd);
      all += char(c);
    }
  }
  for (bool landscape : {false, true}) {
    if (landscape) d.SetLandscape();
    for (double angle : {90.0, 200.0}) {
      d.SetTextAngle(angle);
      for (int code : {-2, 9, 101}) {
        t.SetFontCode(code);
        for (PageXY at : {PageXY{0, 0}, PageXY{7.99, 9.99}}) {
          // Platform glyphs are costly to fake: one string of printable ones covers clipping.
          const std::string platformLine = "W\004g\016" + std::string(80, 'M');
          const bool platform = code == 101;
          for (std::size_t i = 0; i < (platform ? 1 : all.size()); i += kMaxTextLength) {
            PagePoint p;
            d.SetPointPage(p, at.X, at.Y);
            t.DrawTextString(p, platform ? std::string_view(platformLine)
                                         : std::string_view(all).substr(i, kMaxTextLength));
            ASSERT_FALSE(t.scripted());
            ASSERT_EQ(t.pending(), TextEngine::Pending::None);
            ASSERT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
          }
        }
      }
    }
  }
  EXPECT_GT(d.image().countInk(), 0);
}
