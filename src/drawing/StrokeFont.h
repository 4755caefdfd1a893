#pragma once
// Glyph lookup for the stroke fonts: which glyph a character stands for in the Roman and Greek
// letter sets, the shared characters, the special symbols, the tall delimiters and the accents.

#include <string_view>
#include <vector>

#include "drawing/GlyphTables.h"

namespace plotane {

// One glyph segment in grid units.
struct GlyphSegment {
  int x1, y1, x2, y2;
  bool operator==(const GlyphSegment&) const = default;
};

// The segments of an encoded glyph (a trailing partial group is ignored).
std::vector<GlyphSegment> DecodeGlyph(std::string_view glyph);
inline bool IsNoGlyph(std::string_view glyph) { return glyph == glyphs::kNoGlyph; }

inline bool IsLetter(unsigned char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// Letters of either set; kNoGlyph for anything that is not a letter.
std::string_view RomanGlyph(unsigned char ch);
std::string_view GreekGlyph(unsigned char ch);
// The shared glyph of a printable non-letter (" ".."~"); kNoGlyph otherwise.
std::string_view SharedGlyph(unsigned char ch);
// After Ctrl-A; the key is case-insensitive.
std::string_view SpecialGlyph(unsigned char key);
// After Ctrl-B.
std::string_view TallDelimiterGlyph(unsigned char key);
// After Ctrl-P; the key is case-insensitive. High is the position over capitals and tall letters.
std::string_view AccentGlyph(unsigned char key, bool high);
// Letters with ascenders in their set, whose accents take the high position like capitals.
bool IsTallLetter(unsigned char ch, bool greek);

}  // namespace plotane
