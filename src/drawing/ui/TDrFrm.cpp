#include "drawing/ui/TDrFrm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cstring>

#include "shell/AppContext.h"

namespace plotane {

// Paints the drawing's 1-bit preview (800 x 1000, or 1000 x 800 in landscape) at its own size,
// or stretched into the zoom rectangle while zoomed out.
class PreviewView : public QWidget {
 public:
  PreviewView(AppContext& ctx, TDrFrm* frame, QWidget* parent)
      : QWidget(parent), ctx_(ctx), frame_(frame) {
    setObjectName("PB1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
  }
  void follow() {
    if (ctx_.session && ctx_.drawing->state.ZoomedOut) {
      const ZoomRect z = ctx_.session->zoomRect();
      setFixedSize(z.width, z.height);
    } else if (ctx_.drawing) {
      const MonoBitmap& p = ctx_.drawing->preview();
      setFixedSize(p.width(), p.height());
    }
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (!ctx_.drawing) {
      painter.fillRect(rect(), Qt::white);
      return;
    }
    const MonoBitmap& p = ctx_.drawing->preview();
    QImage image(p.width(), p.height(), QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const int n = std::min<int>(p.bytesPerRow(), int(image.bytesPerLine()));
    for (int r = 0; r < p.height(); ++r) std::memcpy(image.scanLine(r), p.row(r), std::size_t(n));
    if (ctx_.drawing->state.ZoomedOut) {
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(rect(), image);
      return;
    }
    painter.drawImage(0, 0, image);
    // The cursor marks go over the picture on the screen only.
    if (ctx_.session) {
      painter.setPen(QPen(Qt::black, 0));
      for (const MarkSegment& m : ctx_.session->CursorMarks())
        painter.drawLine(QLineF(m.x1, m.y1, m.x2, m.y2));
    }
  }

  // Left clicks place a cursor; Shift alone picks the B-cursor.
  void mousePressEvent(QMouseEvent* e) override {
    setFocus();
    if (e->button() != Qt::LeftButton) return;
    const bool shiftOnly = (e->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
    frame_->previewClicked(e->position().x(), e->position().y(), shiftOnly);
  }

 private:
  AppContext& ctx_;
  TDrFrm* frame_;
};

namespace {

QLabel* statusPanel(QWidget* parent, const char* name, int width) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setFixedWidth(width);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return l;
}

QLabel* boldLabel(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}

// The window's key as the session knows it.
KeyPress toKeyPress(const QKeyEvent* e) {
  KeyPress k;
  const Qt::KeyboardModifiers m = e->modifiers();
  k.shift = m & Qt::ShiftModifier;
  k.ctrl = m & Qt::ControlModifier;
  k.alt = m & Qt::AltModifier;
  switch (e->key()) {
    case Qt::Key_Right:
      k.key = SessionKey::Right;
      return k;
    case Qt::Key_Left:
      k.key = SessionKey::Left;
      return k;
    case Qt::Key_Up:
      k.key = SessionKey::Up;
      return k;
    case Qt::Key_Down:
      k.key = SessionKey::Down;
      return k;
    case Qt::Key_PageUp:
      k.key = SessionKey::PageUp;
      return k;
    case Qt::Key_PageDown:
      k.key = SessionKey::PageDown;
      return k;
    case Qt::Key_Home:
      k.key = SessionKey::Home;
      return k;
    case Qt::Key_End:
      k.key = SessionKey::End;
      return k;
    case Qt::Key_Backspace:
      k.key = SessionKey::Backspace;
      return k;
    case Qt::Key_Delete:
      k.key = SessionKey::Delete;
      return k;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      k.key = SessionKey::Enter;
      return k;
    case Qt::Key_Escape:
      k.key = SessionKey::Escape;
      return k;
    default:
      break;
  }
  const QString t = e->text();
  if (t.size() == 1 && t[0].unicode() < 256) {
    k.text = static_cast<unsigned char>(t[0].unicode());
  } else if (k.ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) {
    // Ctrl+letter types the control character (the text commands), whatever the platform's text.
    k.text = static_cast<unsigned char>(e->key() - Qt::Key_A + 1);
  }
  return k;
}

}  // namespace

TDrFrm::TDrFrm(AppContext& ctx, QWidget* parent) : TWorkFrm(ctx, "Drawing    ", parent) {
  setObjectName("DrFrm");
  addWindowMenu("&Window(F6)", "&Graph definitions", WorkWindow::GraphDefs, "Data &Worksheet",
                WorkWindow::Worksheet, 1);
  addHelpMenu();
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  // The status bar at the top: A and B read-outs, a spare panel, then the three labels.
  auto* bar = new QWidget(central);
  bar->setObjectName("StatusBar1");
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(2, 2, 2, 2);
  panelA_ = statusPanel(bar, "Panel1", 200);
  panelB_ = statusPanel(bar, "Panel2", 200);
  panel3_ = statusPanel(bar, "Panel3", 50);
  label1_ = boldLabel(bar, "Label1");
  label2_ = boldLabel(bar, "Label2");
  label3_ = new QLabel(QString(12, QLatin1Char(' ')), bar);
  label3_->setObjectName("Label3");
  label3_->setFont(QFont("Courier New"));
  for (QWidget* w : {static_cast<QWidget*>(panelA_), static_cast<QWidget*>(panelB_),
                     static_cast<QWidget*>(panel3_), static_cast<QWidget*>(label1_),
                     static_cast<QWidget*>(label2_), static_cast<QWidget*>(label3_)})
    row->addWidget(w);
  row->addStretch(1);
  column->addWidget(bar);
  scroll_ = new QScrollArea(central);
  scroll_->setBackgroundRole(QPalette::Dark);
  view_ = new PreviewView(ctx, this, scroll_);
  scroll_->setWidget(view_);
  column->addWidget(scroll_, 1);
  setCentralWidget(central);
  scroll_->installEventFilter(this);
  view_->installEventFilter(this);
  bindDrawing();
}

void TDrFrm::refreshStatus() {
  if (!ctx_.session) return;
  const DrawingSession& s = *ctx_.session;
  panelA_->setText(QString::fromLatin1(s.readoutA().c_str()));
  panelB_->setText(QString::fromLatin1(s.readoutB().c_str()));
  label1_->setText(QString::fromLatin1(s.modeLabel().c_str()));
  label2_->setText(QString::fromLatin1(s.gridLabel().c_str()));
}

bool TDrFrm::handleKey(QKeyEvent* e) {
  if (!ctx_.session || !ctx_.session->Key(toKeyPress(e))) return false;
  refreshStatus();
  view_->update();
  return true;
}

void TDrFrm::keyPressEvent(QKeyEvent* e) {
  if (!handleKey(e)) TWorkFrm::keyPressEvent(e);
}

bool TDrFrm::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(e))) return true;
  // The zoomed view takes its height from the scroll box.
  if (watched == scroll_ && e->type() == QEvent::Resize && ctx_.session) {
    ctx_.session->setViewHeight(scroll_->height());
    view_->follow();
  }
  return TWorkFrm::eventFilter(watched, e);
}

void TDrFrm::previewClicked(double x, double y, bool shiftOnly) {
  if (!ctx_.session || !ctx_.session->Click(x, y, shiftOnly)) return;
  refreshStatus();
  view_->update();
}

void TDrFrm::bindDrawing() {
  if (!ctx_.drawing) return;
  Drawing& d = *ctx_.drawing;
  d.onRepaint = [this] {
    view_->follow();
    refreshStatus();
  };
  d.onCursorsChanged = [this] {
    refreshStatus();
    view_->update();
  };
  if (ctx_.session) ctx_.session->setViewHeight(scroll_->height());
  d.onCaptionChanged = [this] {
    setWindowTitle(QString::fromLatin1(ctx_.drawing->caption().c_str()));
  };
  setWindowTitle(QString::fromLatin1(d.caption().c_str()));
  label3_->setText(QString(12, QLatin1Char(' ')));
  view_->follow();
  refreshStatus();
}

void TDrFrm::closeDiscarded() {
  discarded_ = true;
  close();
}

void TDrFrm::closeEvent(QCloseEvent* e) {
  e->accept();
  if (!discarded_) emit closed();
}

}  // namespace plotane
