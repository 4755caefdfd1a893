#include "drawing/ui/PlatformGlyphs.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

namespace plotane {

namespace {

// Canvases are small work images (384 or 128 pixels square); anything far larger is a mistake.
constexpr int kMaxCanvas = 4096;

}  // namespace

bool RenderPlatformText(const PlatformTextRequest& request, PlatformTextResult& result) {
  result = PlatformTextResult();
  const int n = request.canvasSize;
  if (!QGuiApplication::instance() || request.emPixels <= 0 || n <= 0 || n > kMaxCanvas)
    return false;

  QFont font;  // the platform's default face when the slot names none
  if (!request.face.empty()) font.setFamily(QString::fromLatin1(request.face.c_str()));
  font.setPixelSize(request.emPixels);
  font.setItalic((request.style & 1) != 0);
  font.setBold((request.style & 2) != 0);
  // The pixels are copied into a 1-bit page: no grey edges.
  font.setStyleStrategy(QFont::NoAntialias);
  // Strings in the model are single bytes.
  const QString text = QString::fromLatin1(request.text.data(), qsizetype(request.text.size()));

  QImage canvas(n, n, QImage::Format_Grayscale8);
  canvas.fill(255);
  const QFontMetrics metrics(font, &canvas);
  result.advance = metrics.horizontalAdvance(text);
  if (!request.render) return true;

  {
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(0, request.baselineRow), text);
  }
  result.pixels.assign(std::size_t(n) * n, 0);
  for (int r = 0; r < n; ++r) {
    const uchar* line = canvas.constScanLine(r);
    for (int c = 0; c < n; ++c) result.pixels[std::size_t(r) * n + c] = line[c] < 128 ? 1 : 0;
  }
  return true;
}

}  // namespace plotane
