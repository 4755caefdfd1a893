#pragma once
// What the drawing window's small dialogs show and accept, kept apart from the widgets: the
// font, line code and point size lists, the text font selection with its letter font slots, the
// angle choice for letter fonts, and the numeric cursor move. A dialog only copies these values
// into its widgets and back.

#include <optional>
#include <string>
#include <vector>

#include "drawing/Drawing.h"
#include "drawing/Text.h"

namespace plotane {

// ---- Captions and messages ----
inline constexpr const char* kFontFrmCaption = "Text Font Selection";
inline constexpr const char* kFSelectCaption = "Set Drawn-Line Font Code";
inline constexpr const char* kLSelectCaption = "Set line code";
inline constexpr const char* kATFrmCaption = "Select Angle of Text";
inline constexpr const char* kAnglePrompt = "Angle of text from horizontal, degrees";
inline constexpr const char* kMovNumCaption = "Move cursor (Numeric specification)";
inline constexpr const char* kBadCoordinate = "Incorrect coordinate specification";
inline constexpr int kMovNumHelpContext = 105;
// Face names of letter fonts are kept to this length (the graph definitions file's field).
inline constexpr std::size_t kLetterFaceLength = 35;

// ---- Stroke font codes -2..9 ----
// "-2  (  7)" .. "  9  (29)": the code and its approximate size in points; "" for other codes.
const char* StrokeFontItem(int code);
// The rows of the drawn-line code list, codes -2..9 in order: points, inches, millimetres and
// the line code of the strokes.
std::vector<std::string> DrawnLineCodeRows();
inline int DrawnLineCodeOfRow(int row) { return row - 2; }
// The row of a code; codes outside -2..9 give the row of code 3.
int DrawnLineRowOfCode(int code);

// ---- Line codes 0..4 ----
// "0   0.003 (0.08)" ..: the code, its width in inches and (millimetres).
std::vector<std::string> LineCodeRows();

// ---- Letter font slots ----
// "Regular", "Italic", "Bold", "Bold Italic" for styles 0..3.
const char* FontStyleName(int style);
// Slot k (1..22): "A:  " and, for a used slot, name + ",  " + size + ", " + style name.
std::string LetterFontLine(int k, const LetterFontSlot& slot);
// A platform font as a slot keeps it: the face cut to 35 characters, the size within 1..255
// (a point size that is not positive becomes 12), the style from bold and italic.
LetterFontSlot LetterFontOf(const std::string& face, double pointSize, bool bold, bool italic);

// The "Text Font Selection" dialog's state. Line 0 is the drawn-line (stroke) font, lines 1..22
// the letter font slots A..V. Changes stay here until the dialog's OK.
class FontSelection {
 public:
  // Opens on the font code's line: a letter code's slot, else line 0 with that code as the
  // drawn-line code (which otherwise keeps the value the dialog last had).
  FontSelection(int fontCode, int drawnLineCode, const LetterFontSlots& slots);

  std::vector<std::string> lines() const;  // 23 lines
  int line() const { return line_; }
  void select(int line);
  bool letterLine() const { return line_ > 0; }
  int drawnLineCode() const { return drawnLineCode_; }
  void setDrawnLineCode(int code);
  const LetterFontSlots& letterSlots() const { return slots_; }
  // The selected letter line's slot (slot A on line 0).
  const LetterFontSlot& slot() const { return slots_[std::size_t(line_ > 0 ? line_ - 1 : 0)]; }
  // The selected letter line's slot is defined or emptied (empty name, 12, Regular).
  void defineLetterFont(const LetterFontSlot& font);
  void deleteLetterFont();
  // OK is taken on line 0 or on a letter line whose slot has a name.
  bool canAccept() const;
  // The chosen font code: 100 + line for a letter line, else the drawn-line code.
  int fontCode() const { return line_ > 0 ? 100 + line_ : drawnLineCode_; }

 private:
  int line_ = 0;
  int drawnLineCode_ = 3;
  LetterFontSlots slots_;
};

// ---- Angle of text ----
// Letter fonts are drawn at 0 or 90 degrees only: after choosing one, another angle must be
// changed.
inline bool AngleNeedsChoice(int fontCode, double angle) {
  return fontCode > 100 && angle != 0 && angle != 90;
}
// The angle dialog's choices "  0 degrees" (0) and "90 degrees" (1), preset to 90 when the angle
// is 90.
inline int AngleChoiceIndex(double angle) { return angle == 90 ? 1 : 0; }
// The angle the dialog sets: its choice on OK, and on Cancel as well while the current angle is
// neither 0 nor 90 (a letter font cannot be drawn there); nothing otherwise.
std::optional<double> AngleChoiceResult(double angle, int choiceIndex, bool accepted);

// ---- Point size code ----
void SetPointSizeCode(Drawing& d, int code);  // clamped to -2..9

// ---- Numeric cursor move ----
struct NumericMoveForm {
  bool relative = false;  // "Relative (move by specified distance)"
  bool graph = false;     // "Graph (coordinates of currently defined graph)"
  std::string x, y;       // "X value =", "Y value ="
};
// A real number with blanks around it allowed; nothing else.
bool ParseCoordinate(const std::string& text, double& value);
// The values the move uses: graph coordinates on a logarithmic axis must be above 0 and become
// their log10. False when a value is not a number or not allowed.
bool NumericMoveValues(const NumericMoveForm& form, bool xLog, bool yLog, double& x, double& y);
// Moves the cursor (the B-cursor follows a moved A-cursor while a block is held). False, with
// nothing moved, when a value is bad or the place is off the page: the dialog then shows
// kBadCoordinate and stays open.
bool ApplyNumericMove(Drawing& d, bool bCursor, const NumericMoveForm& form, bool xLog, bool yLog);

}  // namespace plotane
