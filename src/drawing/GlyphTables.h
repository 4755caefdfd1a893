#pragma once
// The stroke-font glyph tables (constant data, generated into GlyphTables.cpp by
// tools/glyphs/gen_glyph_tables.py).
//
// A glyph is a string of 4-byte segments x1 y1 x2 y2 with x = byte - 65 and y = byte - 60 on the
// glyph grid: capitals 36 units high, x-height 22, descenders to -10, glyph box 28 units wide.
// Six blanks mean "no glyph"; the empty string is the blank (advance only).

#include <string_view>

namespace plotane::glyphs {

inline constexpr std::string_view kNoGlyph = "      ";

extern const std::string_view kRomanGlyphs[52];      // "A".."Z", then "a".."z"
extern const std::string_view kGreekGlyphs[52];      // by key, same order
extern const std::string_view kSharedGlyphs[95];     // " ".."~"; letters hold kNoGlyph
extern const std::string_view kSpecialGlyphs[26];    // by upper-case key "A".."Z"
extern const std::string_view kTallGlyphs[5];        // "(", ")", "[", "]", "|"
extern const std::string_view kAccentLowGlyphs[9];   // keys "'", "`", "^", "~", "_", ".", E C S
extern const std::string_view kAccentHighGlyphs[9];  // the same, for capitals and tall letters

inline constexpr std::string_view kTallKeys = "()[]|";
inline constexpr std::string_view kAccentKeys = "'`^~_.ECS";

}  // namespace plotane::glyphs
