#include "drawing/Drawing.h"

#include <cmath>
#include <numbers>

#include "shell/base/Host.h"

namespace plotane {

const PointSizeEntry& pointSizeEntry(int sizeCode) {
  if (sizeCode < -2) sizeCode = -2;
  if (sizeCode > 9) sizeCode = 9;
  return PointSizeTable[sizeCode + 2];
}

Drawing::Drawing(Host& host) : host_(host) {
  InitDrawing();
  ResetDrawing();
  state.ImageChanged = false;
}

void Drawing::repaint() {
  if (onRepaint) onRepaint();
}

void Drawing::cursorsChanged() {
  if (onCursorsChanged) onCursorsChanged();
}

void Drawing::InitDrawing() {
  image_.clear();
  const VideoType& vt = VideoTypes[kCurrentVideoType - 1];
  portraitPreview_.resize(vt.width, vt.rows);
  landscapePreview_ = MonoBitmap();
  state.A = {1.1, 6.0};
  state.B = {7.7, 9.6};
  state.User = UserTransform{};
  state.LandscapeMode = false;
  state.CursorStep = 0.05;
  SetTextAngle(0);
  applyOrientationWindows(false);
}

void Drawing::ResetDrawing() {
  clipFirst_ = 0;
  clipLimit_ = kRasterRows;
  state.PreviewEcho = true;
  image_.clear();
  display_.clear();
  // The preview mirrors the raster, so it starts white again as well.
  portraitPreview_.clear();
  landscapePreview_.clear();
  state.FontCode = 3;
  state.LineCode = 2;
  state.PointSizeCode = 3;
  state.CharSize = 0.1;
  if (state.LandscapeMode)
    SetLandscape();
  else
    SetPortrait();
  SetLineCode(2);
  SetFontState(3, 0.1, LineWidthTable[2], 1);
  state.PenDraw = true;
  state.DrawEraseMode = false;
  state.ModeLabel.clear();
  cursorsChanged();
  repaint();
}

void Drawing::applyOrientationWindows(bool landscape) {
  if (landscape) {
    state.Bounds = CursorBounds{9.994, -0.0000001, 7.994};
    // Landscape X runs down the raster rows and landscape Y along its columns.
    SetRasterWindow(0, 0, 8, 10, 0, 0, 8, 10);
    SetPreviewWindow(0, 0, 10, 8, 0, 8, 10, 0, true);
  } else {
    state.Bounds = CursorBounds{};
    SetRasterWindow(0, 0, 8, 10, 0, 10, 8, 0);
    SetPreviewWindow(0, 0, 8, 10, 0, 10, 8, 0, false);
  }
}

// The landscape page is the portrait page turned a quarter turn: a landscape preview pixel
// (r, c) shows portrait preview pixel (c, 799 - r), the same place the raster mapping puts it.
void Drawing::transposeToLandscape() {
  const int pw = portraitPreview_.width(), ph = portraitPreview_.height();
  landscapePreview_.resize(ph, pw);
  for (int pr = 0; pr < ph; ++pr) {
    const uint8_t* src = portraitPreview_.row(pr);
    for (int pc = 0; pc < pw; ++pc)
      if (src[pc >> 3] & kSetMask[pc & 7]) landscapePreview_.setPixel(pw - 1 - pc, pr, true);
  }
}

void Drawing::transposeToPortrait() {
  const int lw = landscapePreview_.width(), lh = landscapePreview_.height();
  portraitPreview_.resize(lh, lw);
  for (int lr = 0; lr < lh; ++lr) {
    const uint8_t* src = landscapePreview_.row(lr);
    for (int lc = 0; lc < lw; ++lc)
      if (src[lc >> 3] & kSetMask[lc & 7]) portraitPreview_.setPixel(lc, lh - 1 - lr, true);
  }
  landscapePreview_ = MonoBitmap();
}

void Drawing::SetLandscape() {
  applyOrientationWindows(true);
  if (!state.LandscapeMode) {
    const PageXY a = state.A, b = state.B;
    state.A = {10 - a.Y, a.X};
    state.B = {10 - b.Y, b.X};
    transposeToLandscape();
    state.LandscapeMode = true;
    cursorsChanged();
  }
  if (onOrientationChanged) onOrientationChanged(true);
  UpdateDrawingCaption(true);
  repaint();
}

void Drawing::SetPortrait() {
  applyOrientationWindows(false);
  if (state.LandscapeMode) {
    const PageXY a = state.A, b = state.B;
    state.A = {a.Y, 10 - a.X};
    state.B = {b.Y, 10 - b.X};
    transposeToPortrait();
    state.LandscapeMode = false;
    cursorsChanged();
  }
  if (onOrientationChanged) onOrientationChanged(false);
  UpdateDrawingCaption(true);
  repaint();
}

void Drawing::UpdateDrawingCaption(bool keepName) {
  caption_ = state.LandscapeMode ? kLandscapeCaption : kPortraitCaption;
  if (keepName)
    caption_ += state.GrlFileName;
  else
    state.GrlFileName.clear();
  if (onCaptionChanged) onCaptionChanged();
}

void Drawing::SetLineCode(int code) {
  if (code < 0) code = 0;
  if (code > 4) code = 4;
  state.LineCode = int16_t(code);
  state.LineWidth = LineWidthTable[code];
  state.ArrowSize = ArrowSizeTable[code];
  SetPreviewPenWidth(code >= 3 ? 2 : 1);
}

double Drawing::frameAngle(double theta) const {
  const FramePoint c = toFrame(0, 0), d = toFrame(std::cos(theta), std::sin(theta));
  return std::atan2(double(d.y) - c.y, double(d.x) - c.x);
}

void Drawing::SetTextAngle(double degrees) {
  state.TextAngle = degrees;
  const double rad = degrees * std::numbers::pi / 180.0;
  state.TextCos = std::cos(rad);
  state.TextSin = std::sin(rad);
}

void Drawing::SetFontState(int fontCode, double charSize, double strokeWidth, int previewPen) {
  state.FontCode = int16_t(fontCode);
  state.CharSize = charSize;
  state.TextStrokeWidth = strokeWidth;
  SetPreviewPenWidth(previewPen);
  if (state.CharMode) state.CursorStep = charSize / 4;
}

void Drawing::EndDrawingCommand() {
  RestorePreviewPen();
  PenUp();
}

bool Drawing::insideBounds(double X, double Y) const {
  const CursorBounds& b = state.Bounds;
  return X >= -0.0000001 && X <= b.MaxX && Y >= b.MinY && Y <= b.MaxY;
}

bool Drawing::SetACursor(double X, double Y) {
  if (!insideBounds(X, Y)) return false;
  state.A = {X < 0 ? 0.0 : X, Y < 0 ? 0.0 : Y};
  cursorsChanged();
  return true;
}

bool Drawing::SetBCursor(double X, double Y) {
  if (!insideBounds(X, Y)) return false;
  state.B = {X < 0 ? 0.0 : X, Y < 0 ? 0.0 : Y};
  cursorsChanged();
  return true;
}

void Drawing::SetRasterWindow(double pageLeft, double pageTop, double pageRight, double pageBottom,
                              double left, double top, double right, double bottom) {
  PixelTransform& t = state.Raster;
  t.ScaleX = 300 * (pageRight - pageLeft) / (right - left);
  t.ScaleY = 300 * (pageBottom - pageTop) / (bottom - top);
  t.OffsetX = float(left - 300 * pageLeft / t.ScaleX);
  t.OffsetY = float(top - 300 * pageTop / t.ScaleY);
}

void Drawing::SetPreviewWindow(double pageLeft, double pageTop, double pageRight, double pageBottom,
                               double left, double top, double right, double bottom,
                               bool landscape) {
  const VideoType& vt = VideoTypes[kCurrentVideoType - 1];
  const double horizontal = vt.width * 0.125, vertical = 0.1 * vt.rows;
  const double resX = landscape ? vertical : horizontal;
  const double resY = landscape ? horizontal : vertical;
  PixelTransform& t = state.Preview;
  t.ScaleX = resX * (pageRight - pageLeft) / (right - left);
  t.ScaleY = resY * (pageBottom - pageTop) / (bottom - top);
  t.OffsetX = float(left - resX * pageLeft / t.ScaleX);
  t.OffsetY = float(top - resY * pageTop / t.ScaleY);
}

bool Drawing::SetUserTransform(double uA, double vA, double uB, double vB, double XA, double YA,
                               double XB, double YB) {
  if (uB == uA || vB == vA) return false;
  UserTransform& t = state.User;
  t.ScaleU = (XB - XA) / (uB - uA);
  t.OffsetU = (XA * uB - XB * uA) / (uB - uA);
  t.ScaleV = (YB - YA) / (vB - vA);
  t.OffsetV = (YA * vB - YB * vA) / (vB - vA);
  return true;
}

bool Drawing::MapUserToCursors(double uA, double vA, double uB, double vB) {
  return SetUserTransform(uA, vA, uB, vB, state.A.X, state.A.Y, state.B.X, state.B.Y);
}

// A zero scale (cursors on one line) has no inverse; the user half then stays at 0.
static double safeDiv(double a, double b) { return b == 0 ? 0.0 : a / b; }

void Drawing::SetPointPage(PagePoint& p, double X, double Y) const {
  p.X = X;
  p.Y = Y;
  p.u = safeDiv(X - state.User.OffsetU, state.User.ScaleU);
  p.v = safeDiv(Y - state.User.OffsetV, state.User.ScaleV);
}

void Drawing::SetPointUser(PagePoint& p, double u, double v) const {
  p.u = u;
  p.v = v;
  p.X = state.User.ScaleU * u + state.User.OffsetU;
  p.Y = state.User.ScaleV * v + state.User.OffsetV;
}

void Drawing::MovePointPage(PagePoint& p, double dX, double dY) const {
  p.X += dX;
  p.Y += dY;
  p.u += safeDiv(dX, state.User.ScaleU);
  p.v += safeDiv(dY, state.User.ScaleV);
}

void Drawing::MovePointUser(PagePoint& p, double du, double dv) const {
  p.u += du;
  p.v += dv;
  p.X += state.User.ScaleU * du;
  p.Y += state.User.ScaleV * dv;
}

void Drawing::MovePointRotated(PagePoint& p, double a, double b) const {
  const double k = state.CharSize, c = state.TextCos, s = state.TextSin;
  SetPointPage(p, p.X + a * k * c - 2 * b * k * s, p.Y + a * k * s + 2 * b * k * c);
}

}  // namespace plotane
