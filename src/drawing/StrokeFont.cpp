#include "drawing/StrokeFont.h"

namespace plotane {

namespace {

int letterIndex(unsigned char ch) {
  if (ch >= 'A' && ch <= 'Z') return ch - 'A';
  if (ch >= 'a' && ch <= 'z') return 26 + (ch - 'a');
  return -1;
}

unsigned char upper(unsigned char ch) { return (ch >= 'a' && ch <= 'z') ? ch - 32 : ch; }

}  // namespace

std::vector<GlyphSegment> DecodeGlyph(std::string_view glyph) {
  std::vector<GlyphSegment> out;
  if (IsNoGlyph(glyph)) return out;
  out.reserve(glyph.size() / 4);
  for (std::size_t i = 0; i + 4 <= glyph.size(); i += 4) {
    auto b = [&](std::size_t k) { return int(static_cast<unsigned char>(glyph[i + k])); };
    out.push_back({b(0) - 65, b(1) - 60, b(2) - 65, b(3) - 60});
  }
  return out;
}

std::string_view RomanGlyph(unsigned char ch) {
  const int i = letterIndex(ch);
  return i < 0 ? glyphs::kNoGlyph : glyphs::kRomanGlyphs[i];
}

std::string_view GreekGlyph(unsigned char ch) {
  const int i = letterIndex(ch);
  return i < 0 ? glyphs::kNoGlyph : glyphs::kGreekGlyphs[i];
}

std::string_view SharedGlyph(unsigned char ch) {
  if (ch < 32 || ch > 126) return glyphs::kNoGlyph;
  return glyphs::kSharedGlyphs[ch - 32];
}

std::string_view SpecialGlyph(unsigned char key) {
  key = upper(key);
  if (key < 'A' || key > 'Z') return glyphs::kNoGlyph;
  return glyphs::kSpecialGlyphs[key - 'A'];
}

std::string_view TallDelimiterGlyph(unsigned char key) {
  const auto i = glyphs::kTallKeys.find(char(key));
  return i == std::string_view::npos || key == 0 ? glyphs::kNoGlyph : glyphs::kTallGlyphs[i];
}

std::string_view AccentGlyph(unsigned char key, bool high) {
  key = upper(key);
  const auto i = glyphs::kAccentKeys.find(char(key));
  if (i == std::string_view::npos || key == 0) return glyphs::kNoGlyph;
  return high ? glyphs::kAccentHighGlyphs[i] : glyphs::kAccentLowGlyphs[i];
}

bool IsTallLetter(unsigned char ch, bool greek) {
  const std::string_view tall = greek ? "bdfjlvxz" : "bdfhklt";
  return ch != 0 && tall.find(char(ch)) != std::string_view::npos;
}

}  // namespace plotane
