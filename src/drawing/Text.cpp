#include "drawing/Text.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "drawing/StrokeFont.h"
#include "shell/base/Host.h"

namespace plotane {

namespace {

// Letters are drawn slightly smaller and lifted off the cell corner, so that neighbouring letters
// and accents keep their distance.
constexpr float kLetterScale = 0.955555556f;
constexpr double kLetterInset = 0.4;

int roundEven(double v) { return int(std::nearbyint(v)); }

}  // namespace

TextEngine::TextEngine(Drawing& drawing) : d_(drawing) {
  platform_ = IsPlatformFontCode(d_.state.FontCode);
  InitTextState();
}

void TextEngine::SetFontCode(int code) {
  if (!IsStrokeFontCode(code) && !IsPlatformFontCode(code)) return;
  // A script level open during text entry ends here, so its saved size cannot overwrite the new
  // font's size later.
  if (scripted_) LeaveScriptLevel();
  if (IsStrokeFontCode(code)) {
    const StrokeFontEntry& e = StrokeFontTable[code + 2];
    platform_ = false;
    d_.SetFontState(code, e.charSize, LineWidthTable[e.widthIndex], e.previewPen);
  } else {
    const LetterFontSlot& slot = slots_[code - kFirstPlatformFontCode];
    platform_ = true;
    d_.SetFontState(code, 0.009 * slot.size, LineWidthTable[2], 1);
  }
  // Text typed from here on takes the new size.
  glyphUnit_ = d_.state.CharSize / 36;
  advance_ = d_.state.CharSize;
  halfHeight_ = d_.state.CharSize * 0.5;
  d_.repaint();
  d_.cursorsChanged();
}

int TextEngine::previewPenOfFont() const {
  const int code = d_.state.FontCode;
  return IsStrokeFontCode(code) ? StrokeFontTable[code + 2].previewPen : 1;
}

void TextEngine::InitTextState() {
  // A level left open (an interrupted entry) gives back the full size first.
  if (scripted_) LeaveScriptLevel();
  const double cs = d_.state.CharSize;
  glyphUnit_ = cs / 36;
  advance_ = cs;
  halfHeight_ = cs * 0.5;
  scripted_ = false;
  scriptOffset_ = 0;
  lastLetter_ = ' ';
  lastLetterGreek_ = false;
  greek_ = false;
  pending_ = Pending::None;
  stack_.clear();
  if (!platform_) d_.SetPreviewPenWidth(previewPenOfFont());
}

void TextEngine::movePen(double a, double b) {
  const double c = d_.state.TextCos, s = d_.state.TextSin;
  pen_.X += a * c - b * s;
  pen_.Y += a * s + b * c;
}

void TextEngine::EnterScriptLevel() {
  saved_ = {d_.state.CharSize, glyphUnit_, advance_, halfHeight_};
  const double cs = 0.7 * d_.state.CharSize;
  d_.state.CharSize = cs;
  glyphUnit_ = cs / 36;
  advance_ = cs;
  halfHeight_ = cs / 2;
  scripted_ = true;
}

void TextEngine::LeaveScriptLevel() {
  d_.state.CharSize = saved_.charSize;
  glyphUnit_ = saved_.glyphUnit;
  advance_ = saved_.advance;
  halfHeight_ = saved_.halfHeight;
  scripted_ = false;
}

void TextEngine::drawGlyph(std::string_view glyph, bool letter) {
  const DrawState& st = d_.state;
  const float gu = float(glyphUnit_);
  const float u = letter ? kLetterScale * gu : gu;
  const float c = float(st.TextCos), s = float(st.TextSin);
  double ox = pen_.X, oy = pen_.Y;
  if (letter) {
    const double inset = kLetterInset * glyphUnit_;
    ox += inset * st.TextCos - inset * st.TextSin;
    oy += inset * st.TextSin + inset * st.TextCos;
  }
  for (std::size_t i = 0; i + 4 <= glyph.size(); i += 4) {
    const auto* b = reinterpret_cast<const unsigned char*>(glyph.data() + i);
    const float x1 = float(b[0] - 65) * u, y1 = float(b[1] - 60) * u;
    const float x2 = float(b[2] - 65) * u, y2 = float(b[3] - 60) * u;
    d_.DrawLine(st.PenDraw, ox + (x1 * c - y1 * s), oy + (x1 * s + y1 * c), ox + (x2 * c - y2 * s),
                oy + (x2 * s + y2 * c), st.TextStrokeWidth);
  }
}

bool TextEngine::DrawStrokeChar(unsigned char ch) {
  if (pending_ != Pending::None) {
    const Pending command = pending_;
    pending_ = Pending::None;
    std::string_view glyph;
    if (command == Pending::Special) {
      glyph = SpecialGlyph(ch);
    } else if (command == Pending::Tall) {
      glyph = TallDelimiterGlyph(ch);
    } else {
      const bool high =
          (lastLetter_ >= 'A' && lastLetter_ <= 'Z') || IsTallLetter(lastLetter_, lastLetterGreek_);
      glyph = AccentGlyph(ch, high);
    }
    // An unknown key is ignored: no glyph, and the pen stays where it was.
    if (IsNoGlyph(glyph)) return false;
    if (command == Pending::Accent) movePen(-advance_, 0);
    drawGlyph(glyph, false);
    movePen(advance_, 0);
    return true;
  }

  switch (ch) {
    case textcmd::Special:
      pending_ = Pending::Special;
      return false;
    case textcmd::Tall:
      pending_ = Pending::Tall;
      return false;
    case textcmd::Accent:
      pending_ = Pending::Accent;
      return false;
    case textcmd::Greek:
      greek_ = true;
      return false;
    case textcmd::Roman:
      greek_ = false;
      return false;
    case textcmd::Subscript:
    case textcmd::Superscript:
      // Only one level exists; inside it the command leaves the pen where it is.
      if (!scripted_) {
        movePen(-advance_, 0);
        EnterScriptLevel();
        scriptOffset_ = (ch == textcmd::Subscript ? 0.5 : -0.9) * d_.state.CharSize;
        movePen(0.38 * advance_, -scriptOffset_);
        movePen(advance_, 0);
      }
      return true;
    case textcmd::Normal:
      if (scripted_) {
        movePen(-advance_, 0);
        movePen(0, scriptOffset_);
        LeaveScriptLevel();
        movePen(advance_, 0);
      }
      return true;
    default:
      break;
  }

  if (ch == ' ') {
    movePen(advance_, 0);
    return true;
  }
  if (IsLetter(ch)) {
    drawGlyph(greek_ ? GreekGlyph(ch) : RomanGlyph(ch), true);
    lastLetter_ = ch;
    lastLetterGreek_ = greek_;
    movePen(advance_, 0);
    return true;
  }
  const std::string_view glyph = SharedGlyph(ch);
  if (IsNoGlyph(glyph)) return false;
  drawGlyph(glyph, false);
  movePen(advance_, 0);
  return true;
}

bool TextEngine::platformRequest(std::string_view text, bool preview, bool render,
                                 PlatformTextResult& out) {
  const int code = d_.state.FontCode;
  if (!IsPlatformFontCode(code)) return false;
  const LetterFontSlot& slot = slots_[code - kFirstPlatformFontCode];
  const double cs = d_.state.CharSize;
  PlatformTextRequest req;
  req.face = slot.name;
  req.style = slot.style;
  req.canvasSize = preview ? 128 : 384;
  req.emPixels = roundEven((preview ? 144 : 432) * cs);
  req.baselineRow = std::clamp(roundEven((preview ? 125 : 375) * cs), 0, req.canvasSize - 1);
  req.text = std::string(text);
  req.render = render;
  if (req.emPixels <= 0) return false;
  out = PlatformTextResult();
  if (!d_.host().platformText(req, out)) return false;
  if (render && out.pixels.size() != std::size_t(req.canvasSize) * req.canvasSize) return false;
  out.advance = std::max(out.advance, 0);
  return true;
}

void TextEngine::copyPlatformGlyph(const PlatformTextResult& glyph, bool preview, int baselineRow,
                                   int rowsBelow) {
  const DrawState& st = d_.state;
  const int canvas = preview ? 128 : 384;
  // Unit steps of the text's x and up directions on the page, then in target pixels.
  const bool up = st.TextAngle == 90;
  const int xX = up ? 0 : 1, xY = up ? 1 : 0, upX = up ? -1 : 0, upY = up ? 0 : 1;
  auto toPixels = [&](int dX, int dY, int& dc, int& dr) {
    if (!preview && st.LandscapeMode) {
      dc = dY;
      dr = dX;
    } else {
      dc = dX;
      dr = -dY;
    }
  };
  int xc, xr, uc, ur;
  toPixels(xX, xY, xc, xr);
  toPixels(upX, upY, uc, ur);
  double pc, pr;
  if (preview)
    d_.pageToPreview(pen_.X, pen_.Y, pc, pr);
  else
    d_.pageToRaster(pen_.X, pen_.Y, pc, pr);
  const int c0 = roundEven(pc), r0 = roundEven(pr);
  const int lastRow = std::min(canvas - 1, baselineRow + rowsBelow);
  const int width = std::min(canvas, glyph.advance);
  MonoBitmap& pv = d_.preview();
  DrawingImage& img = d_.image();
  // The raster pixels of the glyph, kept as an image item of the vector twin: another font
  // engine would not place the letters on these pixels exactly.
  std::vector<std::pair<int, int>> marked;
  const bool record = !preview && d_.displayList().recording();
  for (int r = 0; r <= lastRow; ++r) {
    const uint8_t* line = glyph.pixels.data() + std::size_t(r) * canvas;
    const int dy = baselineRow - r;
    for (int c = 0; c < width; ++c) {
      if (!line[c]) continue;
      const int tc = c0 + c * xc + dy * uc, tr = r0 + c * xr + dy * ur;
      if (preview) {
        pv.setPixel(tr, tc, st.PenDraw);
      } else if (tr >= 0 && tr < kRasterRows && tc >= 0 && tc < kRasterCols) {
        img.setPixel(tr, tc, st.PenDraw);
        if (record) marked.emplace_back(tr, tc);
      }
    }
  }
  if (marked.empty()) return;
  DisplayImage glyphImage;
  int top = kRasterRows, bottom = -1, left = kRasterCols, right = -1;
  for (auto [r, c] : marked) {
    top = std::min(top, r);
    bottom = std::max(bottom, r);
    left = std::min(left, c);
    right = std::max(right, c);
  }
  glyphImage.left = left;
  glyphImage.top = top;
  glyphImage.width = right - left + 1;
  glyphImage.height = bottom - top + 1;
  glyphImage.bits.assign(std::size_t(glyphImage.bytesPerRow()) * std::size_t(glyphImage.height), 0);
  for (auto [r, c] : marked)
    glyphImage.bits[std::size_t(r - top) * std::size_t(glyphImage.bytesPerRow()) +
                    std::size_t((c - left) >> 3)] |= uint8_t(0x80 >> ((c - left) & 7));
  d_.displayList().image(st.PenDraw, std::move(glyphImage));
}

bool TextEngine::DrawPlatformChar(unsigned char ch) {
  if (ch == textcmd::Subscript || ch == textcmd::Superscript) {
    if (scripted_) return false;
    EnterScriptLevel();
    scriptOffset_ = (ch == textcmd::Subscript ? 0.5 : -0.9) * d_.state.CharSize;
    movePen(0.38 * advance_, -scriptOffset_);
    return true;
  }
  if (ch == textcmd::Normal) {
    if (!scripted_) return false;
    movePen(0, scriptOffset_);
    LeaveScriptLevel();
    return true;
  }
  if (ch < 32 || ch > 127) return false;
  if (d_.state.TextAngle != 0 && d_.state.TextAngle != 90) return false;
  const char text[1] = {char(ch)};
  PlatformTextResult work;
  if (!platformRequest(std::string_view(text, 1), false, true, work)) return false;
  const double cs = d_.state.CharSize;
  copyPlatformGlyph(work, false, std::clamp(roundEven(375 * cs), 0, 383), roundEven(135 * cs));
  if (d_.state.PreviewEcho) {
    PlatformTextResult small;
    if (platformRequest(std::string_view(text, 1), true, true, small))
      copyPlatformGlyph(small, true, std::clamp(roundEven(125 * cs), 0, 127), roundEven(45 * cs));
  }
  d_.state.ImageChanged = true;
  const double a = work.advance / 300.0;
  stack_.push_back({a, pen_});
  advance_ = a;
  movePen(a, 0);
  return true;
}

void TextEngine::DrawTextString(PagePoint& p, std::string_view s) {
  s = s.substr(0, std::min(s.size(), kMaxTextLength));
  InitTextState();
  pen_ = {p.X, p.Y};
  for (unsigned char ch : s) {
    if (platform_)
      DrawPlatformChar(ch);
    else
      DrawStrokeChar(ch);
  }
  if (scripted_) {
    movePen(0, scriptOffset_);
    LeaveScriptLevel();
  }
  d_.SetPointPage(p, pen_.X, pen_.Y);
  greek_ = false;
  pending_ = Pending::None;
  d_.RestorePreviewPen();
  clearHint();
}

double TextEngine::TextWidth(std::string_view s) {
  s = s.substr(0, std::min(s.size(), kMaxTextLength));
  const double cs = d_.state.CharSize;
  if (platform_) {
    PlatformTextResult r;
    if (platformRequest(s, false, false, r)) return r.advance / 300.0;
  }
  return double(s.size()) * cs;
}

double TextEngine::TextWidthInChars(std::string_view s) {
  // A letter font slot of size 0 gives a zero character size: no cells to count.
  const double cs = d_.state.CharSize;
  return cs > 0 ? TextWidth(s) / cs : 0.0;
}

void TextEngine::followWithACursor() {
  const double c = d_.state.TextCos, s = d_.state.TextSin;
  d_.SetACursor(pen_.X - halfHeight_ * s, pen_.Y + halfHeight_ * c);
}

void TextEngine::BeginTextEntry() {
  InitTextState();
  entryStart_ = d_.state.A;
  pen_ = entryStart_;
  movePen(0, -halfHeight_);
}

bool TextEngine::TypeChar(unsigned char ch) {
  const bool advanced = platform_ ? DrawPlatformChar(ch) : DrawStrokeChar(ch);
  if (advanced) followWithACursor();
  return advanced;
}

void TextEngine::TypeBlank() {
  const double cs = d_.state.CharSize;
  EraseCharCell(cs);
  // With platform fonts the blank goes on the stack too, so a backspace steps back over it
  // and not over the character before it.
  if (platform_) {
    stack_.push_back({cs, pen_});
    advance_ = cs;
  }
  movePen(cs, 0);
  followWithACursor();
}

void TextEngine::TypeBackspace() {
  if (!stack_.empty())
    pen_ = stack_.back().penBefore;
  else
    movePen(-advance_, 0);
  EraseCharCell(advance_);
  followWithACursor();
  if (!stack_.empty()) stack_.pop_back();
  advance_ = stack_.empty() ? d_.state.CharSize : stack_.back().advance;
}

void TextEngine::EndTextEntry() {
  if (scripted_) LeaveScriptLevel();
  d_.SetACursor(entryStart_.X, entryStart_.Y);
  greek_ = false;
  pending_ = Pending::None;
  d_.RestorePreviewPen();
  clearHint();
}

void TextEngine::EraseCharCell(double w) {
  DrawState& st = d_.state;
  const double strokeWidth = 5 * w / 18;
  const int previewPen = int(80 * strokeWidth) + 1;
  const double top = st.CharSize + 3 * glyphUnit_, bottom = -14 * glyphUnit_;
  const double c = st.TextCos, s = st.TextSin;
  const int savedPen = st.PreviewPenWidth;
  st.PreviewPenWidth = std::min(previewPen, 2);
  for (int k = 0; k < 6; ++k) {
    const double x = k * w / 6;
    const double X1 = pen_.X + x * c - top * s, Y1 = pen_.Y + x * s + top * c;
    const double X2 = pen_.X + x * c - bottom * s, Y2 = pen_.Y + x * s + bottom * c;
    d_.DrawLine(false, X1, Y1, X2, Y2, strokeWidth);
    // The preview pen is wider than the line drawer's two pixels: add parallel white lines.
    if (st.PreviewEcho && previewPen > 2) {
      double a1, b1, a2, b2;
      d_.pageToPreview(X1, Y1, a1, b1);
      d_.pageToPreview(X2, Y2, a2, b2);
      const double len = std::hypot(a2 - a1, b2 - b1);
      const double nx = len > 0 ? -(b2 - b1) / len : 1, ny = len > 0 ? (a2 - a1) / len : 0;
      for (int i = 0; i < previewPen; ++i) {
        const double off = i - (previewPen - 1) / 2.0;
        d_.preview().drawLine(a1 + off * nx, b1 + off * ny, a2 + off * nx, b2 + off * ny, 1, false);
      }
    }
  }
  st.PreviewPenWidth = savedPen;
}

}  // namespace plotane
