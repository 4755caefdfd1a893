#include "drawing/ui/DrawingCommands.h"

#include <QFileDialog>
#include <QWidget>

#include "drawing/DrawingForms.h"
#include "drawing/ui/DrawingDialogs.h"
#include "graph/GraphForms.h"
#include "shell/AppContext.h"

namespace plotane {

DrawingCommands::DrawingCommands(AppContext& ctx, QWidget* window)
    : QObject(window), ctx_(ctx), window_(window) {
  hookSession();
}

DrawingCommands::~DrawingCommands() {
  // The boxes belong to the window and go with it; nothing may answer them afterwards.
  for (StayOnTopBox* box :
       {static_cast<StayOnTopBox*>(prompt_), static_cast<StayOnTopBox*>(select_),
        static_cast<StayOnTopBox*>(doBlock_)})
    if (box) box->disconnect(this);
}

bool DrawingCommands::boxOpen() const {
  return prompt_ || select_ || doBlock_ || (ctx_.session && ctx_.session->busy());
}

TOKFrm* DrawingCommands::promptBox() const { return prompt_; }
TBlkBox1* DrawingCommands::selectBox() const { return select_; }
TBlkBox2* DrawingCommands::blockBox() const { return doBlock_; }

// The session's end-of-command hook: closes this object's boxes (while it exists), then calls
// whatever hook the session had before.
struct DrawingCommands::PendingHook {
  DrawingCommands* self;
  std::weak_ptr<int> alive;
  std::function<void()> previous;
  void operator()() const {
    if (!alive.expired()) self->dismissBoxes();
    if (previous) previous();
  }
};

void DrawingCommands::hookSession() {
  if (!ctx_.session) return;
  std::function<void()>& hook = ctx_.session->onPendingEnded;
  std::function<void()> previous = hook;
  if (const PendingHook* old = hook.target<PendingHook>()) {
    if (old->self == this && !old->alive.expired()) return;  // hooked already
    if (old->alive.expired()) previous = old->previous;      // left by a commands object gone
  }
  hook = PendingHook{this, alive_, previous};
}

void DrawingCommands::dismissBoxes() {
  const bool any = prompt_ || select_ || doBlock_;
  for (StayOnTopBox* box :
       {static_cast<StayOnTopBox*>(prompt_), static_cast<StayOnTopBox*>(select_),
        static_cast<StayOnTopBox*>(doBlock_)})
    if (box) box->dismiss();
  prompt_ = nullptr;
  select_ = nullptr;
  doBlock_ = nullptr;
  if (any) emit stateChanged();
}

void DrawingCommands::showBox(StayOnTopBox* box) {
  hookSession();
  box->show();
  // The drawing window keeps the keys, so the cursors can be moved while the box is open.
  if (window_) window_->activateWindow();
  emit stateChanged();
}

// ---- Codes and angle ----

void DrawingCommands::chooseFontCode() {
  if (!ctx_.drawing) return;
  TextEngine& text = ctx_.textEngine();  // letter slots refreshed from the definitions
  Drawing& d = *ctx_.drawing;
  FontSelection form(d.state.FontCode, drawnLineCode_, text.letterFonts());
  TFontFrm dialog(ctx_.host, form, window_);
  if (dialog.exec() != QDialog::Accepted || !ctx_.drawing) return;
  drawnLineCode_ = form.drawnLineCode();
  StoreLetterFontSlots(ctx_.graph.def, form.letterSlots());
  ctx_.textEngine().SetFontCode(form.fontCode());
  emit changed();
  const double angle = ctx_.drawing->state.TextAngle;
  if (AngleNeedsChoice(form.fontCode(), angle)) {
    TATFrm at(angle, window_);
    const bool accepted = at.exec() == QDialog::Accepted;
    if (!ctx_.drawing) return;
    if (auto a = AngleChoiceResult(angle, at.choice(), accepted)) angleChanged(*a);
  }
}

void DrawingCommands::chooseLineCode() {
  if (!ctx_.drawing) return;
  TLSelect dialog(ctx_.drawing->state.LineCode, window_);
  if (dialog.exec() != QDialog::Accepted || !ctx_.drawing) return;
  ctx_.drawing->SetLineCode(dialog.code());
  emit changed();
}

void DrawingCommands::choosePointSizeCode() {
  if (!ctx_.drawing) return;
  TFSelect dialog(ctx_.drawing->state.PointSizeCode, window_);
  if (dialog.exec() != QDialog::Accepted || !ctx_.drawing) return;
  SetPointSizeCode(*ctx_.drawing, dialog.code());
  emit changed();
}

void DrawingCommands::chooseTextAngle() {
  if (!ctx_.drawing) return;
  const double angle = ctx_.drawing->state.TextAngle;
  if (ctx_.drawing->state.FontCode < kFirstPlatformFontCode) {
    double value = angle;
    if (ctx_.host.askReal(kAnglePrompt, value) && ctx_.drawing) angleChanged(value);
    return;
  }
  TATFrm dialog(angle, window_);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (!ctx_.drawing) return;
  if (auto a = AngleChoiceResult(angle, dialog.choice(), accepted)) angleChanged(*a);
}

void DrawingCommands::angleChanged(double degrees) {
  Drawing& d = *ctx_.drawing;
  d.SetTextAngle(degrees);
  d.cursorsChanged();
  d.repaint();
  emit changed();
}

// ---- Prompt box: arrowhead and circle/arc ----

void DrawingCommands::startArrowhead() {
  if (!ctx_.session || prompt_ || !ctx_.session->StartArrowhead()) return;
  prompt_ = new TOKFrm(QString::fromLatin1(ctx_.session->promptText().c_str()), window_);
  connect(prompt_, &StayOnTopBox::ok, this, [this] { promptAnswered(true); });
  connect(prompt_, &StayOnTopBox::cancelled, this, [this] { promptAnswered(false); });
  showBox(prompt_);
  emit changed();
}

void DrawingCommands::startCircleArc() {
  if (!ctx_.session || prompt_ || !ctx_.session->StartCircleArc()) return;
  prompt_ = new TOKFrm(QString::fromLatin1(ctx_.session->promptText().c_str()), window_);
  connect(prompt_, &StayOnTopBox::ok, this, [this] { promptAnswered(true); });
  connect(prompt_, &StayOnTopBox::cancelled, this, [this] { promptAnswered(false); });
  showBox(prompt_);
  emit changed();
}

void DrawingCommands::promptAnswered(bool ok) {
  if (prompt_) prompt_->dismiss();
  prompt_ = nullptr;
  if (ctx_.session) {
    if (ok)
      ctx_.session->PromptOK();
    else
      ctx_.session->PromptCancel();
  }
  emit stateChanged();
  emit changed();
}

// ---- Numeric move ----

void DrawingCommands::moveNumeric(bool bCursor) {
  if (!ctx_.session || !ctx_.drawing) return;
  const DrawState& st = ctx_.drawing->state;
  // The A-cursor stays put while a circle/arc waits; nothing moves while typing or zoomed out.
  if ((!bCursor && !st.AMovable) || st.TextEntry || st.ZoomedOut) return;
  const bool xLog = ctx_.graph.def.X.LogAxis != 0, yLog = ctx_.graph.def.Y.LogAxis != 0;
  TMovNumFrm dialog(
      ctx_.host,
      [this, bCursor, xLog, yLog](const NumericMoveForm& form) {
        return ctx_.drawing && ApplyNumericMove(*ctx_.drawing, bCursor, form, xLog, yLog);
      },
      window_);
  if (dialog.exec() == QDialog::Accepted) emit changed();
}

// ---- Block copy, block move and PCX ----

void DrawingCommands::startBlock(bool move) {
  if (!ctx_.session || select_ || doBlock_) return;
  if (!ctx_.session->StartBlock(move ? BlockOp::Move : BlockOp::Copy)) return;
  select_ = new TBlkBox1(window_);
  connect(select_, &StayOnTopBox::ok, this, [this] { selectAnswered(true); });
  connect(select_, &StayOnTopBox::cancelled, this, [this] { selectAnswered(false); });
  showBox(select_);
  emit changed();
}

void DrawingCommands::startPcx() {
  if (!ctx_.session || select_ || doBlock_) return;
  if (!ctx_.session->StartBlock(BlockOp::Pcx)) return;
  select_ = new TBlkBox1(window_);
  connect(select_, &StayOnTopBox::ok, this, [this] { selectAnswered(true); });
  connect(select_, &StayOnTopBox::cancelled, this, [this] { selectAnswered(false); });
  showBox(select_);
  emit changed();
}

void DrawingCommands::selectAnswered(bool ok) {
  DrawingSession* session = ctx_.session.get();
  if (!ok || !session) {
    if (session) session->SelectBlockCancel();
    dismissBoxes();
    emit changed();
    return;
  }
  const BlockStep step = session->SelectBlockOK();
  // The select box closes in every case: the block was refused, is held, or is written.
  if (select_) select_->dismiss();
  select_ = nullptr;
  if (step == BlockStep::AwaitDestination) {
    doBlock_ = new TBlkBox2(QString::fromLatin1(session->blockCaption()), window_);
    connect(doBlock_, &StayOnTopBox::ok, this, [this] { blockAnswered(true); });
    connect(doBlock_, &StayOnTopBox::cancelled, this, [this] { blockAnswered(false); });
    showBox(doBlock_);
  } else if (step == BlockStep::AwaitPcxName) {
    emit stateChanged();
    const QString name = askPcxName();
    // The drawing may have been discarded while the dialog was open.
    if (ctx_.session) ctx_.session->FinishPcx(name.toStdString());
  } else {
    emit stateChanged();
  }
  emit changed();
}

QString DrawingCommands::askPcxName() {
  QFileDialog d(window_, "Write PCX file");
  d.setObjectName("SavePCXdia");
  d.setNameFilter("PCX image file (*.PCX *.pcx)");
  d.setDefaultSuffix("PCX");
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
  return d.selectedFiles().first();
}

void DrawingCommands::blockAnswered(bool ok) {
  const bool orWith = doBlock_ && doBlock_->orWithDestination();
  if (doBlock_) doBlock_->dismiss();
  doBlock_ = nullptr;
  if (ctx_.session) {
    if (ok)
      ctx_.session->DoBlockOK(orWith);
    else
      ctx_.session->DoBlockCancel();
  }
  emit stateChanged();
  emit changed();
}

// ---- Discard ----

void DrawingCommands::closeBoxes() {
  if (ctx_.session) ctx_.session->Discard();
  dismissBoxes();
  emit changed();
}

}  // namespace plotane
