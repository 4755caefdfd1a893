#include "drawing/ui/PagePrinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstring>

namespace plotane {

namespace {
constexpr int kWidth = 2400, kRows = 3000, kRowBytes = 300;
}

QImage PageImage(const std::vector<uint8_t>& pageBits) {
  QImage image(kWidth, kRows, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.setDotsPerMeterX(11811);  // 300 dots per inch
  image.setDotsPerMeterY(11811);
  for (int r = 0; r < kRows; ++r) {
    uchar* line = image.scanLine(r);
    if (pageBits.size() >= std::size_t(r + 1) * kRowBytes)
      std::memcpy(line, pageBits.data() + std::size_t(r) * kRowBytes, kRowBytes);
    else
      std::memset(line, 0, kRowBytes);
  }
  return image;
}

bool PrintPageImage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                    QWidget* dialogParent, std::string& error) {
  error.clear();
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(300);
  printer.setPageSize(QPageSize(QPageSize::Letter));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);
  if (!toFile.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(toFile.c_str()));
  } else if (dialogParent) {
    QPrintDialog dialog(&printer, dialogParent);
    if (dialog.exec() != QDialog::Accepted) return false;
  } else if (QPrinterInfo::defaultPrinter().isNull()) {
    error = "No default printer";
    return false;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    error = toFile.empty() ? "The printer could not be started" : "Cannot write " + toFile;
    return false;
  }
  // The page is 8 x 10 inches at the top left of the sheet, a quarter inch in from both edges.
  const double dpi = printer.resolution();
  QRectF target(0.25 * dpi, 0.25 * dpi, 8.0 * dpi, 10.0 * dpi);
  painter.drawImage(target, PageImage(pageBits));
  if (!painter.end()) {
    error = "Printing failed";
    return false;
  }
  return true;
}

}  // namespace plotane
