#include "drawing/ui/TDrFrm.h"

#include <QCloseEvent>
#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <cstring>

#include "shell/AppContext.h"

namespace plotane {

// Paints the drawing's 1-bit preview (800 x 1000, or 1000 x 800 in landscape) at its own size.
class PreviewView : public QWidget {
 public:
  explicit PreviewView(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName("PB1");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  void follow() {
    if (ctx_.drawing) {
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
    painter.drawImage(0, 0, image);
  }

 private:
  AppContext& ctx_;
};

TDrFrm::TDrFrm(AppContext& ctx, QWidget* parent) : TWorkFrm(ctx, "Drawing    ", parent) {
  setObjectName("DrFrm");
  addWindowMenu("&Window(F6)", "&Graph definitions", WorkWindow::GraphDefs, "Data &Worksheet",
                WorkWindow::Worksheet, 1);
  addHelpMenu();
  scroll_ = new QScrollArea(this);
  scroll_->setBackgroundRole(QPalette::Dark);
  view_ = new PreviewView(ctx, scroll_);
  scroll_->setWidget(view_);
  setCentralWidget(scroll_);
  bindDrawing();
}

void TDrFrm::bindDrawing() {
  if (!ctx_.drawing) return;
  Drawing& d = *ctx_.drawing;
  d.onRepaint = [this] { view_->follow(); };
  d.onCaptionChanged = [this] {
    setWindowTitle(QString::fromLatin1(ctx_.drawing->caption().c_str()));
  };
  setWindowTitle(QString::fromLatin1(d.caption().c_str()));
  view_->follow();
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
