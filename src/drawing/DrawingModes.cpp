// The drawing window's modes and cursor handling, kept in the model so that the window only
// forwards keys and clicks, and scripts and tests can drive the same behaviour.

#include <cmath>
#include <cstdio>

#include "drawing/Drawing.h"

namespace plotane {

void Drawing::DrawModeOn() {
  state.DrawEraseMode = true;
  state.PenDraw = true;
  state.ModeLabel = "Draw mode";
  repaint();
}

void Drawing::EraseModeOn() {
  state.DrawEraseMode = true;
  state.PenDraw = false;
  state.ModeLabel = "Erase mode";
  repaint();
}

void Drawing::PenUp() {
  state.DrawEraseMode = false;
  state.PenDraw = true;
  state.ModeLabel.clear();
  repaint();
}

void Drawing::VernierModeOn() {
  if (state.CharMode) LeaveCharMode();
  state.GridLabel = "Vernier grid";
  state.CursorStep = 0.001;
  state.GridSavedA = state.A;
  state.GridSavedB = state.B;
  state.VernierMode = true;
  repaint();
}

void Drawing::CharModeOn() {
  if (state.VernierMode) LeaveVernierMode();
  state.GridLabel = "Char. grid";
  state.CursorStep = 0.25 * state.CharSize;
  state.GridSavedA = state.A;
  state.GridSavedB = state.B;
  state.CharMode = true;
  repaint();
}

// Leaving a grid mode puts the cursors back where they were when it was entered.
static void leaveGrid(Drawing& d) {
  d.SetACursor(d.state.GridSavedA.X, d.state.GridSavedA.Y);
  d.SetBCursor(d.state.GridSavedB.X, d.state.GridSavedB.Y);
  d.state.CursorStep = 0.05;
  d.state.GridLabel.clear();
  d.cursorsChanged();
  d.repaint();
}

void Drawing::LeaveVernierMode() {
  if (!state.VernierMode) return;
  state.VernierMode = false;
  leaveGrid(*this);
}

void Drawing::LeaveCharMode() {
  if (!state.CharMode) return;
  state.CharMode = false;
  leaveGrid(*this);
}

void Drawing::ResetAllModes() {
  LeaveVernierMode();
  LeaveCharMode();
  PenUp();
}

void Drawing::MoveByKey(CursorKey key, bool shiftOnly) {
  if (state.ZoomedOut || state.TextEntry) return;
  const double s = state.CursorStep;
  double dX = 0, dY = 0;
  switch (key) {
    case CursorKey::Right:
      dX = s;
      break;
    case CursorKey::Left:
      dX = -s;
      break;
    case CursorKey::Up:
      dY = s;
      break;
    case CursorKey::Down:
      dY = -s;
      break;
    case CursorKey::PageUp:
      dX = s, dY = s;
      break;
    case CursorKey::PageDown:
      dX = s, dY = -s;
      break;
    case CursorKey::Home:
      dX = -s, dY = s;
      break;
    case CursorKey::End:
      dX = -s, dY = -s;
      break;
  }
  if (state.CharMode) {
    const double c = state.TextCos, n = state.TextSin;
    const double x = dX * c - dY * n, y = dX * n + dY * c;
    dX = x;
    dY = y;
  }
  if (state.BlockMode) {
    SetBCursor(state.B.X + dX, state.B.Y + dY);
    SetACursor(state.A.X + dX, state.A.Y + dY);
  } else if (shiftOnly) {
    SetBCursor(state.B.X + dX, state.B.Y + dY);
  } else if (state.AMovable) {
    const PageXY old = state.A;
    // Only a cursor that really moved leaves a line behind it.
    if (SetACursor(old.X + dX, old.Y + dY) && state.DrawEraseMode)
      DrawLine(state.PenDraw, old.X, old.Y, state.A.X, state.A.Y, state.LineWidth);
  }
  repaint();
}

PageXY Drawing::PreviewToPage(double column, double row) const {
  const PixelTransform& t = state.Preview;
  double X = column / t.ScaleX + t.OffsetX, Y = row / t.ScaleY + t.OffsetY;
  const double s = state.CursorStep;
  if (s > 0) {
    X = std::nearbyint(X / s) * s;
    Y = std::nearbyint(Y / s) * s;
  }
  return {X, Y};
}

void Drawing::ClickAt(double column, double row, bool shiftOnly) {
  if (state.TextEntry) return;
  const PageXY p = PreviewToPage(column, row);
  if (shiftOnly)
    SetBCursor(p.X, p.Y);
  else if (state.AMovable)
    SetACursor(p.X, p.Y);
  if (state.BlockMode) SetBCursor(state.A.X + block_.extent.X, state.A.Y + block_.extent.Y);
  cursorsChanged();
  repaint();
}

bool Drawing::MoveCursorNumeric(bool bCursor, bool relative, bool userCoordinates, double x,
                                double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  const PageXY cur = bCursor ? state.B : state.A;
  PagePoint p;
  SetPointPage(p, cur.X, cur.Y);
  if (relative) {
    if (userCoordinates)
      MovePointUser(p, x, y);
    else
      MovePointPage(p, x, y);
  } else if (userCoordinates) {
    SetPointUser(p, x, y);
  } else {
    SetPointPage(p, x, y);
  }
  const bool placed = bCursor ? SetBCursor(p.X, p.Y) : SetACursor(p.X, p.Y);
  repaint();
  return placed;
}

std::string Drawing::CursorReadout(bool bCursor) const {
  const PageXY p = bCursor ? state.B : state.A;
  char x[64], y[64];
  std::snprintf(x, sizeof x, "%5.3f", p.X);
  std::snprintf(y, sizeof y, "%6.3f", p.Y);
  return std::string(bCursor ? "B:" : "A:") + "  X= " + std::string(x).substr(0, 5) +
         "  Y=" + std::string(y).substr(0, 6);
}

}  // namespace plotane
