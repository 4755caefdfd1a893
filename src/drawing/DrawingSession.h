#pragma once
// The drawing window's interaction state: pen and grid modes, key and click dispatch, text
// entry, zoom, the circle/arc and arrowhead prompt, and the block and PCX flow. The window only
// turns its events into calls here and shows what the session reports, so the same behaviour
// can be driven and tested without a window.
//
// A session works on one Drawing and its TextEngine and lives as long as they do. Before the
// drawing is discarded, Discard() ends every pending state so that nothing acts on a drawing
// that is gone.

#include <functional>
#include <string>
#include <vector>

#include "drawing/Drawing.h"

namespace plotane {

class TextEngine;

// A key as the window saw it: a named key or a typed character, with the modifiers held.
enum class SessionKey {
  None,  // a typed character only (text)
  Right,
  Left,
  Up,
  Down,
  PageUp,
  PageDown,
  Home,
  End,
  Backspace,
  Delete,
  Enter,
  Escape
};

struct KeyPress {
  SessionKey key = SessionKey::None;
  unsigned char text = 0;  // the character the key types, 0 for none
  bool shift = false, ctrl = false, alt = false;
};

// The multi-step commands; only one is open at a time.
enum class PendingCommand { None, TextEntry, Arrowhead, CircleArc, SelectBlock, DoBlock };

enum class BlockOp { Copy, Move, Pcx };

// What "Select block" OK led to.
enum class BlockStep { Failed, AwaitDestination, AwaitPcxName };

// A stroke of the cursor marks, in preview pixels.
struct MarkSegment {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The zoomed-out view rectangle in view pixels (origin at the view's top left).
struct ZoomRect {
  int width = 0, height = 0;
};

inline constexpr const char* kPromptCaption = "Move cursor(s) if needed.....";
inline constexpr const char* kArrowPrompt = "Arrow--A at head, B in tail direction";
inline constexpr const char* kCirclePrompt = "Move B if arc desired---then press (OK)";

class DrawingSession {
 public:
  DrawingSession(Drawing& drawing, TextEngine& text);
  DrawingSession(const DrawingSession&) = delete;
  DrawingSession& operator=(const DrawingSession&) = delete;

  Drawing& drawing() { return d_; }
  const DrawState& state() const { return d_.state; }

  // Told when Discard() ended the pending command, so the window closes the command's box.
  std::function<void()> onPendingEnded;

  PendingCommand pending() const { return pending_; }
  bool busy() const { return pending_ != PendingCommand::None; }
  // Whether a menu command that draws or starts a multi-step command may run now.
  bool canStartCommand() const { return !busy() && !d_.state.ZoomedOut; }

  // Status texts.
  std::string readoutA() const { return d_.CursorReadout(false); }
  std::string readoutB() const { return d_.CursorReadout(true); }
  const std::string& modeLabel() const { return d_.state.ModeLabel; }
  const std::string& gridLabel() const { return d_.state.GridLabel; }

  // The cursor marks drawn over the preview (never into it): the A I-beam turned with the text
  // angle, the draw/erase corner marks, the B cross and, in block mode, the selected block's
  // corners. None while zoomed out.
  std::vector<MarkSegment> CursorMarks() const;

  // Keys. Returns true when the key was handled (the window then repaints).
  bool Key(const KeyPress& k);

  // Clicks: a left-button click at view pixel (x, y); through the zoom rectangle while zoomed.
  bool Click(double x, double y, bool shiftOnly);
  // The page position a click at view pixel (x, y) selects, snapped to the cursor step.
  PageXY ViewToPage(double x, double y) const;

  // Zoom out (F5): false when refused (during text entry).
  bool ToggleZoom();
  // The scroll box's height in pixels, which sizes the zoomed view.
  void setViewHeight(int pixels) { viewHeight_ = pixels; }
  ZoomRect zoomRect() const;

  // Text entry ("&Text").
  bool BeginTextEntry();
  void EndTextEntry();

  // The prompt box's commands: started, then OK or Cancel.
  bool StartArrowhead();
  bool StartCircleArc();
  const std::string& promptText() const { return prompt_; }
  void PromptOK();
  void PromptCancel();

  // Block copy, block move and PCX output. StartBlock asks to leave landscape first and returns
  // false when the user declines or another command is open.
  bool StartBlock(BlockOp op);
  BlockOp blockOp() const { return op_; }
  BlockStep SelectBlockOK();
  void SelectBlockCancel();
  // The PCX name chosen after AwaitPcxName; empty when the save dialog was cancelled. False
  // when the file could not be written (the I/O failure was reported).
  bool FinishPcx(const std::string& fileName);
  // "Block Move" or "Block Copy".
  const char* blockCaption() const;
  void DoBlockOK(bool orWithDestination);
  void DoBlockCancel();

  // Ends every pending state without running it: call before the drawing is discarded.
  void Discard();

 private:
  bool modeKey(unsigned char ch);
  bool textKey(const KeyPress& k);
  void endBlock();
  void ended();

  Drawing& d_;
  TextEngine& text_;
  PendingCommand pending_ = PendingCommand::None;
  BlockOp op_ = BlockOp::Copy;
  std::string prompt_;
  int viewHeight_ = 0;
};

}  // namespace plotane
