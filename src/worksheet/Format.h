#pragma once
// Column names and the number texts of the worksheet: column letters, the column-letter parser,
// the fixed/flexible/scientific number formats, and the strict real-number conversion used for
// typed cells, dialogs and text tables.

#include <string>
#include <string_view>

namespace plotane {

inline constexpr int MaxColumn = 509;
inline constexpr int ColumnCount = MaxColumn + 1;
inline constexpr int MinRowIndex = -400;
inline constexpr int MaxRowIndex = 12000;

// DecimalSpec values: -2 flexible, -1 scientific, 0..9 fixed decimals.
inline constexpr int kSpecFlexible = -2;
inline constexpr int kSpecScientific = -1;

// "A " for 0 .. "Z " for 25, "AA" for 26 .. "SP" for 509.
std::string ColumnLetters(int column);

// The column named by letters typed by the user: leading blanks dropped, two letters at most,
// clamped to 0..MaxColumn. Any text gives some column; nothing is refused.
int ParseColumn(const std::string& text);

// Scientific form in a field of `width` characters: sign position, d.dddddd (width - 7 decimals),
// "E", exponent sign and two digits (four when the exponent needs three or more).
std::string FormatSci(int width, double x);

// The cell format: -1 scientific, -2 flexible (fixed with 7 - e decimals, scientific when the
// magnitude does not fit), 0..9 fixed decimals, right-aligned in `width` characters.
std::string FormatReal(int width, int format, double x);

// An integer right-aligned in `width` characters.
std::string IntText(long value, int width = 0);

// Converts text as a real number: optional leading blanks, an optional sign, digits with an
// optional point and fraction, an optional exponent, and nothing after. A number outside the
// single-precision range is refused (it could only be stored as infinity). False on any error.
// Locale-independent: the point is the decimal separator whatever the user's settings.
bool ConvertReal(std::string_view text, double& value);

}  // namespace plotane
