// The drawing window's interaction state and its transitions.

#include "drawing/DrawingSession.h"

#include <algorithm>

#include "drawing/Text.h"
#include "shell/base/Host.h"

namespace plotane {

DrawingSession::DrawingSession(Drawing& drawing, TextEngine& text) : d_(drawing), text_(text) {}

std::vector<MarkSegment> DrawingSession::CursorMarks() const {
  std::vector<MarkSegment> marks;
  const DrawState& st = d_.state;
  if (st.ZoomedOut) return marks;
  auto line = [&](double X1, double Y1, double X2, double Y2) {
    MarkSegment m;
    d_.pageToPreview(X1, Y1, m.x1, m.y1);
    d_.pageToPreview(X2, Y2, m.x2, m.y2);
    marks.push_back(m);
  };
  // A: along the text direction (c, s), across it (-s, c).
  const double c = st.TextCos, s = st.TextSin, h = st.CharSize / 2;
  const PageXY a = st.A;
  line(a.X - 0.1 * c, a.Y - 0.1 * s, a.X + 0.1 * c, a.Y + 0.1 * s);
  line(a.X + h * s, a.Y - h * c, a.X - h * s, a.Y + h * c);
  for (double k : {-h, h}) {
    const double X = a.X - k * s, Y = a.Y + k * c;
    line(X - 0.05 * c, Y - 0.05 * s, X + 0.05 * c, Y + 0.05 * s);
  }
  if (st.DrawEraseMode) {
    for (double sx : {-1.0, 1.0})
      for (double sy : {-1.0, 1.0}) {
        const double X = a.X + 0.15 * sx, Y = a.Y + 0.15 * sy;
        line(X, Y, a.X + 0.11 * sx, Y);
        line(X, Y, X, a.Y + 0.11 * sy);
      }
  }
  const PageXY b = st.B;
  line(b.X - 0.1, b.Y, b.X + 0.1, b.Y);
  line(b.X, b.Y - 0.1, b.X, b.Y + 0.1);
  if (st.BlockMode) {
    const BlockRect& k = d_.block();
    const PageXY lo = k.origin, hi{k.origin.X + k.extent.X, k.origin.Y + k.extent.Y};
    line(lo.X, lo.Y, lo.X + 0.2, lo.Y);
    line(lo.X, lo.Y, lo.X, lo.Y + 0.2);
    line(hi.X, hi.Y, hi.X - 0.2, hi.Y);
    line(hi.X, hi.Y, hi.X, hi.Y - 0.2);
  }
  return marks;
}

bool DrawingSession::Key(const KeyPress& k) {
  if (k.alt || d_.state.ZoomedOut) return false;
  if (pending_ == PendingCommand::TextEntry) return textKey(k);
  CursorKey move;
  switch (k.key) {
    case SessionKey::Right:
      move = CursorKey::Right;
      break;
    case SessionKey::Left:
      move = CursorKey::Left;
      break;
    case SessionKey::Up:
      move = CursorKey::Up;
      break;
    case SessionKey::Down:
      move = CursorKey::Down;
      break;
    case SessionKey::PageUp:
      move = CursorKey::PageUp;
      break;
    case SessionKey::PageDown:
      move = CursorKey::PageDown;
      break;
    case SessionKey::Home:
      move = CursorKey::Home;
      break;
    case SessionKey::End:
      move = CursorKey::End;
      break;
    case SessionKey::Escape:
      d_.ResetAllModes();
      return true;
    default:
      return !k.ctrl && modeKey(k.text);
  }
  d_.MoveByKey(move, k.shift && !k.ctrl);
  return true;
}

bool DrawingSession::modeKey(unsigned char ch) {
  switch (ch) {
    case 'd':
    case 'D':
      d_.DrawModeOn();
      return true;
    case 'e':
    case 'E':
      d_.EraseModeOn();
      return true;
    case 'v':
    case 'V':
      d_.VernierModeOn();
      return true;
    case 'c':
    case 'C':
      d_.CharModeOn();
      return true;
    default:
      return false;
  }
}

bool DrawingSession::textKey(const KeyPress& k) {
  switch (k.key) {
    case SessionKey::Backspace:
      text_.TypeBackspace();
      break;
    case SessionKey::Delete:
      text_.TypeBlank();
      break;
    case SessionKey::Enter:
      // Ctrl+Enter types a line feed: the text cannot hold one, so entry ends as with Enter.
      if (k.ctrl) d_.host().message("Getting CR");
      EndTextEntry();
      break;
    case SessionKey::Escape:
      // Esc has no glyph; it ends the entry rather than drawing an unknown character.
      EndTextEntry();
      break;
    case SessionKey::None:
      if (k.text == '\n') {
        d_.host().message("Getting CR");
        EndTextEntry();
      } else if (k.text != 0) {
        text_.TypeChar(k.text);
      } else {
        return false;
      }
      break;
    default:
      return false;  // cursor keys do nothing while typing
  }
  d_.repaint();
  return true;
}

ZoomRect DrawingSession::zoomRect() const {
  const int h = std::clamp(viewHeight_ - 1, 650, 999);
  const double ratio = d_.state.LandscapeMode ? 1.2125033140 : 0.8247399926;
  return {int(h * ratio), h};
}

PageXY DrawingSession::ViewToPage(double x, double y) const {
  if (d_.state.ZoomedOut) {
    // The zoomed view is the whole preview stretched into the zoom rectangle.
    const ZoomRect z = zoomRect();
    const MonoBitmap& pv = d_.preview();
    x = x * pv.width() / z.width;
    y = y * pv.height() / z.height;
  }
  return d_.PreviewToPage(x, y);
}

bool DrawingSession::Click(double x, double y, bool shiftOnly) {
  if (pending_ == PendingCommand::TextEntry) return false;
  if (d_.state.ZoomedOut) {
    const ZoomRect z = zoomRect();
    if (x < 0 || y < 0 || x >= z.width || y >= z.height) return false;
    const MonoBitmap& pv = d_.preview();
    x = x * pv.width() / z.width;
    y = y * pv.height() / z.height;
  }
  d_.ClickAt(x, y, shiftOnly);
  return true;
}

bool DrawingSession::ToggleZoom() {
  DrawState& st = d_.state;
  if (pending_ == PendingCommand::TextEntry) return false;
  if (!st.ZoomedOut) {
    d_.LeaveCharMode();
    d_.LeaveVernierMode();
    st.ZoomedOut = true;
    st.ModeLabel = "Zoomed out";
  } else {
    st.ZoomedOut = false;
    // The pen mode outlives the zoom; its label comes back with the normal view.
    st.ModeLabel = !st.DrawEraseMode ? "" : st.PenDraw ? "Draw mode" : "Erase mode";
  }
  d_.repaint();
  return true;
}

bool DrawingSession::BeginTextEntry() {
  if (!canStartCommand()) return false;
  d_.PenUp();
  pending_ = PendingCommand::TextEntry;
  d_.state.TextEntry = true;
  d_.state.ModeLabel = "Text entry:";
  text_.BeginTextEntry();
  d_.repaint();
  return true;
}

void DrawingSession::EndTextEntry() {
  if (pending_ != PendingCommand::TextEntry) return;
  text_.EndTextEntry();
  pending_ = PendingCommand::None;
  d_.state.TextEntry = false;
  d_.state.ModeLabel.clear();
  d_.repaint();
}

bool DrawingSession::StartArrowhead() {
  if (!canStartCommand()) return false;
  pending_ = PendingCommand::Arrowhead;
  prompt_ = kArrowPrompt;
  return true;
}

bool DrawingSession::StartCircleArc() {
  if (!canStartCommand()) return false;
  pending_ = PendingCommand::CircleArc;
  d_.state.AMovable = false;
  d_.BeginCircleArc();
  prompt_ = kCirclePrompt;
  return true;
}

void DrawingSession::PromptOK() {
  const PendingCommand p = pending_;
  if (p != PendingCommand::Arrowhead && p != PendingCommand::CircleArc) return;
  pending_ = PendingCommand::None;
  prompt_.clear();
  if (p == PendingCommand::Arrowhead)
    d_.DrawArrowhead();
  else
    d_.FinishCircleArc();
  d_.state.AMovable = true;
  d_.repaint();
}

void DrawingSession::PromptCancel() {
  if (pending_ != PendingCommand::Arrowhead && pending_ != PendingCommand::CircleArc) return;
  pending_ = PendingCommand::None;
  prompt_.clear();
  d_.state.AMovable = true;
  d_.repaint();
}

bool DrawingSession::StartBlock(BlockOp op) {
  if (!canStartCommand()) return false;
  if (!d_.RequirePortrait()) return false;
  op_ = op;
  d_.state.PcxRequest = op == BlockOp::Pcx;
  d_.setBlockMove(op == BlockOp::Move);
  pending_ = PendingCommand::SelectBlock;
  d_.repaint();
  return true;
}

// Every exit of a block or PCX command comes here, so the orientation is always restored.
void DrawingSession::endBlock() {
  pending_ = PendingCommand::None;
  d_.state.BlockMode = false;
  d_.state.PcxRequest = false;
  d_.RestoreOrientation();
  d_.repaint();
}

BlockStep DrawingSession::SelectBlockOK() {
  if (pending_ != PendingCommand::SelectBlock) return BlockStep::Failed;
  if (!d_.DefineBlock()) {
    endBlock();
    return BlockStep::Failed;
  }
  if (op_ == BlockOp::Pcx) return BlockStep::AwaitPcxName;
  d_.state.BlockMode = true;
  pending_ = PendingCommand::DoBlock;
  d_.repaint();
  return BlockStep::AwaitDestination;
}

void DrawingSession::SelectBlockCancel() {
  if (pending_ == PendingCommand::SelectBlock) endBlock();
}

bool DrawingSession::FinishPcx(const std::string& fileName) {
  if (pending_ != PendingCommand::SelectBlock || op_ != BlockOp::Pcx) return false;
  bool ok = true;
  if (!fileName.empty()) ok = d_.WritePcx(fileName);
  endBlock();
  return ok;
}

const char* DrawingSession::blockCaption() const {
  return op_ == BlockOp::Move ? "Block Move" : "Block Copy";
}

void DrawingSession::DoBlockOK(bool orWithDestination) {
  if (pending_ != PendingCommand::DoBlock) return;
  d_.state.BlockMode = false;
  d_.BlockTransfer(orWithDestination);
  d_.state.ImageChanged = true;
  endBlock();
}

void DrawingSession::DoBlockCancel() {
  if (pending_ == PendingCommand::DoBlock) endBlock();
}

void DrawingSession::Discard() {
  switch (pending_) {
    case PendingCommand::TextEntry:
      EndTextEntry();
      break;
    case PendingCommand::Arrowhead:
    case PendingCommand::CircleArc:
      PromptCancel();
      break;
    case PendingCommand::SelectBlock:
    case PendingCommand::DoBlock:
      endBlock();
      break;
    case PendingCommand::None:
      break;
  }
  if (d_.state.ZoomedOut) ToggleZoom();
  ended();
}

void DrawingSession::ended() {
  if (onPendingEnded) onPendingEnded();
}

}  // namespace plotane
