// The drawing window's dialog contents and rules.

#include "drawing/DrawingForms.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace plotane {

namespace {

// Approximate sizes in points of the stroke fonts -2..9.
constexpr int kStrokePoints[12] = {7, 7, 9, 9, 11, 11, 14, 14, 20, 20, 29, 29};
constexpr const char* kStrokeItems[12] = {"-2  (  7)", "-1  (  7)", "  0  (  9)", "  1  (  9)",
                                          "  2  (11)", "  3  (11)", "  4  (14)",  "  5  (14)",
                                          "  6  (20)", "  7  (20)", "  8  (29)",  "  9  (29)"};

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

const char* StrokeFontItem(int code) {
  return IsStrokeFontCode(code) ? kStrokeItems[code + 2] : "";
}

std::vector<std::string> DrawnLineCodeRows() {
  std::vector<std::string> rows;
  for (int code = -2; code <= 9; ++code) {
    const StrokeFontEntry& e = StrokeFontTable[code + 2];
    char buf[96];
    std::snprintf(buf, sizeof buf, "%2d    %2d pt   %6.4f in   %5.2f mm   line code %d", code,
                  kStrokePoints[code + 2], e.charSize, e.charSize * 25.4, e.widthIndex);
    rows.emplace_back(buf);
  }
  return rows;
}

int DrawnLineRowOfCode(int code) { return IsStrokeFontCode(code) ? code + 2 : 5; }

std::vector<std::string> LineCodeRows() {
  return {"0   0.003 (0.08)", "1   0.007 (0.18)", "2   0.013 (0.33)", "3   0.018 (0.46)",
          "4   0.023 (0.58)"};
}

const char* FontStyleName(int style) {
  switch (style) {
    case 1:
      return "Italic";
    case 2:
      return "Bold";
    case 3:
      return "Bold Italic";
    default:
      return "Regular";
  }
}

std::string LetterFontLine(int k, const LetterFontSlot& slot) {
  std::string line = std::string(1, char(64 + k)) + ":  ";
  if (!slot.name.empty())
    line += slot.name + ",  " + std::to_string(slot.size) + ", " + FontStyleName(slot.style);
  return line;
}

LetterFontSlot LetterFontOf(const std::string& face, double pointSize, bool bold, bool italic) {
  LetterFontSlot f;
  f.name = face.substr(0, kLetterFaceLength);
  const double rounded = std::nearbyint(pointSize);
  f.size = !(rounded >= 1) ? 12 : rounded > 255 ? 255 : int(rounded);
  f.style = (bold ? 2 : 0) + (italic ? 1 : 0);
  return f;
}

// ---- Text font selection ----

FontSelection::FontSelection(int fontCode, int drawnLineCode, const LetterFontSlots& slots)
    : drawnLineCode_(IsStrokeFontCode(drawnLineCode) ? drawnLineCode : 3), slots_(slots) {
  if (IsPlatformFontCode(fontCode)) {
    line_ = fontCode - 100;
  } else {
    line_ = 0;
    if (IsStrokeFontCode(fontCode)) drawnLineCode_ = fontCode;
  }
}

std::vector<std::string> FontSelection::lines() const {
  std::vector<std::string> out;
  out.push_back(std::string("Drawn-Line FontCode = ") + StrokeFontItem(drawnLineCode_));
  for (int k = 1; k <= int(slots_.size()); ++k)
    out.push_back(LetterFontLine(k, slots_[std::size_t(k - 1)]));
  return out;
}

void FontSelection::select(int line) {
  if (line >= 0 && line <= int(slots_.size())) line_ = line;
}

void FontSelection::setDrawnLineCode(int code) {
  if (IsStrokeFontCode(code)) drawnLineCode_ = code;
}

void FontSelection::defineLetterFont(const LetterFontSlot& font) {
  if (line_ > 0) slots_[std::size_t(line_ - 1)] = font;
}

void FontSelection::deleteLetterFont() {
  if (line_ > 0) slots_[std::size_t(line_ - 1)] = LetterFontSlot{};
}

bool FontSelection::canAccept() const { return line_ == 0 || !slot().name.empty(); }

// ---- Angle ----

std::optional<double> AngleChoiceResult(double angle, int choiceIndex, bool accepted) {
  const double choice = choiceIndex == 1 ? 90.0 : 0.0;
  if (accepted || (angle != 0 && angle != 90)) return choice;
  return std::nullopt;
}

// ---- Point size ----

void SetPointSizeCode(Drawing& d, int code) {
  d.state.PointSizeCode = int16_t(code < -2 ? -2 : code > 9 ? 9 : code);
}

// ---- Numeric move ----

bool ParseCoordinate(const std::string& text, double& value) {
  std::string t = trimmed(text);
  if (t.empty()) return false;
  const char* first = t.data();
  const char* last = first + t.size();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  double v = 0;
  const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool NumericMoveValues(const NumericMoveForm& form, bool xLog, bool yLog, double& x, double& y) {
  double vx = 0, vy = 0;
  if (!ParseCoordinate(form.x, vx) || !ParseCoordinate(form.y, vy)) return false;
  if (form.graph) {
    if ((xLog && !(vx > 0)) || (yLog && !(vy > 0))) return false;
    if (xLog) vx = std::log10(vx);
    if (yLog) vy = std::log10(vy);
  }
  x = vx;
  y = vy;
  return true;
}

bool ApplyNumericMove(Drawing& d, bool bCursor, const NumericMoveForm& form, bool xLog, bool yLog) {
  double x = 0, y = 0;
  if (!NumericMoveValues(form, xLog, yLog, x, y)) return false;
  if (!d.MoveCursorNumeric(bCursor, form.relative, form.graph, x, y)) return false;
  // A held block keeps its extent between the cursors, as with keys and clicks.
  if (!bCursor && d.state.BlockMode)
    d.SetBCursor(d.state.A.X + d.block().extent.X, d.state.A.Y + d.block().extent.Y);
  d.cursorsChanged();
  return true;
}

}  // namespace plotane
