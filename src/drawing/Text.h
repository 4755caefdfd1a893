#pragma once
// Text in the drawing: stroke fonts (font codes -2..9) drawn segment by segment through the line
// rasteriser at any angle, and platform fonts (codes 101..122, the graph's letter font slots A..V)
// copied pixel by pixel from the platform's text rasteriser. Text commands inside a string:
//   Ctrl-A special symbol, Ctrl-B tall delimiter, Ctrl-P accent over the previous character,
//   Ctrl-G Greek, Ctrl-R Roman, Ctrl-D subscript, Ctrl-U superscript, Ctrl-N back to normal.
//
// A TextEngine works on one Drawing and lives beside it (create it with the drawing, drop it with
// the drawing). Its state carries over between calls during text entry.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/Drawing.h"
#include "shell/base/Host.h"

namespace plotane {

// What a stroke font code selects.
struct StrokeFontEntry {
  double charSize;  // inches
  int widthIndex;   // into LineWidthTable
  int previewPen;   // preview pixels
};
inline constexpr StrokeFontEntry StrokeFontTable[12] = {
    {0.0625, 0, 1}, {0.0625, 1, 1}, {0.08, 1, 1},  {0.08, 2, 1},  {0.1, 1, 1},  {0.1, 2, 1},
    {0.125, 2, 1},  {0.125, 3, 2},  {0.175, 2, 1}, {0.175, 3, 2}, {0.25, 3, 2}, {0.25, 4, 2}};

inline constexpr int kFirstPlatformFontCode = 101;
inline constexpr int kLastPlatformFontCode = 122;
inline constexpr std::size_t kMaxTextLength = 87;

inline bool IsStrokeFontCode(int code) { return code >= -2 && code <= 9; }
inline bool IsPlatformFontCode(int code) {
  return code >= kFirstPlatformFontCode && code <= kLastPlatformFontCode;
}

// One letter font slot of the graph definitions: face (empty = slot free), point size, style
// (0 regular, 1 italic, 2 bold, 3 bold italic).
struct LetterFontSlot {
  std::string name;
  int size = 12;
  int style = 0;
};
using LetterFontSlots = std::array<LetterFontSlot, 22>;

// Text command characters.
namespace textcmd {
inline constexpr unsigned char Special = 1, Tall = 2, Subscript = 4, Greek = 7, Normal = 14,
                               Accent = 16, Roman = 18, Superscript = 21;
}

class TextEngine {
 public:
  enum class Pending { None, Special, Tall, Accent };

  explicit TextEngine(Drawing& drawing);

  // The letter font slots that codes 101..122 refer to (the graph definitions keep them).
  void setLetterFonts(const LetterFontSlots& fonts) { slots_ = fonts; }
  const LetterFontSlots& letterFonts() const { return slots_; }

  // Selects a font code; codes without a table entry are ignored.
  void SetFontCode(int code);
  bool platformFont() const { return platform_; }

  void InitTextState();
  // Draws S (cut to 87 characters) from P and leaves P where the text ended.
  void DrawTextString(PagePoint& p, std::string_view s);
  // True when the pen advanced.
  bool DrawStrokeChar(unsigned char ch);
  bool DrawPlatformChar(unsigned char ch);
  double TextWidth(std::string_view s);
  double TextWidthInChars(std::string_view s);

  // Typing into the drawing at the A-cursor.
  void BeginTextEntry();
  bool TypeChar(unsigned char ch);
  void TypeBlank();
  void TypeBackspace();
  void EndTextEntry();
  // Clears a character cell of width w from the text pen.
  void EraseCharCell(double w);

  // Called where the window's status hint is to be cleared.
  std::function<void()> onClearHint;

  // Text state, for the window and tests.
  const PageXY& textPen() const { return pen_; }
  void setTextPen(const PageXY& pen) { pen_ = pen; }
  double glyphUnit() const { return glyphUnit_; }
  double advance() const { return advance_; }
  double halfHeight() const { return halfHeight_; }
  bool scripted() const { return scripted_; }
  bool greek() const { return greek_; }
  Pending pending() const { return pending_; }
  std::size_t advanceStackSize() const { return stack_.size(); }

 private:
  struct StackEntry {
    double advance;
    PageXY penBefore;  // so a backspace returns exactly where the character began
  };

  void movePen(double a, double b);  // by (a, b) inches turned by the text angle
  void EnterScriptLevel();
  void LeaveScriptLevel();
  void drawGlyph(std::string_view glyph, bool letter);
  void followWithACursor();
  void clearHint() {
    if (onClearHint) onClearHint();
  }
  int previewPenOfFont() const;
  // Platform text through the host; em heights and canvases per the target resolution.
  bool platformRequest(std::string_view text, bool preview, bool render, PlatformTextResult& out);
  void copyPlatformGlyph(const PlatformTextResult& glyph, bool preview, int baselineRow,
                         int rowsBelow);

  Drawing& d_;
  LetterFontSlots slots_{};
  bool platform_ = false;

  PageXY pen_;
  double glyphUnit_ = 0.1 / 36, advance_ = 0.1, halfHeight_ = 0.05;
  bool scripted_ = false;
  struct Saved {
    double charSize, glyphUnit, advance, halfHeight;
  } saved_{};
  double scriptOffset_ = 0;
  bool greek_ = false;
  Pending pending_ = Pending::None;
  unsigned char lastLetter_ = ' ';
  bool lastLetterGreek_ = false;
  std::vector<StackEntry> stack_;
  PageXY entryStart_;
};

}  // namespace plotane
