#include "drawing/ui/PagePrinter.h"

#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <cstring>

namespace plotane {

namespace {

constexpr int kWidth = 2400, kRows = 3000, kRowBytes = 300;
constexpr double kDpi = 300.0;
constexpr double kInset = 0.25;  // inches from the sheet's top and left edges

// Row r of the page bits, or nothing when the bits are short.
const uint8_t* pageRow(const std::vector<uint8_t>& pageBits, int r) {
  return pageBits.size() >= std::size_t(r + 1) * kRowBytes
             ? pageBits.data() + std::size_t(r) * kRowBytes
             : nullptr;
}

}  // namespace

QImage PageImage(const std::vector<uint8_t>& pageBits) {
  QImage image(kWidth, kRows, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.setDotsPerMeterX(11811);  // 300 dots per inch
  image.setDotsPerMeterY(11811);
  for (int r = 0; r < kRows; ++r) {
    uchar* line = image.scanLine(r);
    if (const uint8_t* row = pageRow(pageBits, r))
      std::memcpy(line, row, kRowBytes);
    else
      std::memset(line, 0, kRowBytes);
  }
  return image;
}

QImage SheetImage(const std::vector<uint8_t>& pageBits, bool landscape) {
  // Qt's PDF engine keeps a 1-bit image as 1 bit per pixel only when its colour table is exactly
  // black, white; any other table is turned into a colour image and compressed as JPEG. So a set
  // bit is white here and the raster's bytes are inverted.
  QImage image(landscape ? kRows : kWidth, landscape ? kWidth : kRows, QImage::Format_Mono);
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  image.setDotsPerMeterX(11811);
  image.setDotsPerMeterY(11811);
  if (!landscape) {
    for (int r = 0; r < kRows; ++r) {
      uchar* line = image.scanLine(r);
      const uint8_t* row = pageRow(pageBits, r);
      for (int b = 0; b < kRowBytes; ++b) line[b] = uchar(~(row ? row[b] : 0));
    }
    return image;
  }
  // Landscape X runs down the raster rows and landscape Y along its columns, Y upward: the
  // upright landscape page has raster row x as its column x and raster column 2399 - y as its
  // row y.
  image.fill(1);
  for (int y = 0; y < kWidth; ++y) {
    const int column = kWidth - 1 - y;
    const uint8_t mask = uint8_t(0x80 >> (column & 7));
    const int byte = column >> 3;
    uchar* line = image.scanLine(y);
    for (int x = 0; x < kRows; ++x) {
      const uint8_t* row = pageRow(pageBits, x);
      if (row && (row[byte] & mask)) line[x >> 3] &= uchar(~(0x80 >> (x & 7)));
    }
  }
  return image;
}

QPageSize DefaultPaper() {
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  if (!printer.isNull()) {
    const QPageSize size = printer.defaultPageSize();
    if (size.isValid()) return size;
  }
  return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                       ? QPageSize::Letter
                       : QPageSize::A4);
}

bool DrawPageOnSheet(QPagedPaintDevice& device, const std::vector<uint8_t>& pageBits,
                     bool landscape, std::string& error) {
  error.clear();
  device.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  // The page needs its own 8 x 10 inches plus the inset; A4 and Letter both hold it.
  const QSizeF sheet = device.pageLayout().fullRect(QPageLayout::Inch).size();
  const double needW = kInset + (landscape ? kRows : kWidth) / kDpi;
  const double needH = kInset + (landscape ? kWidth : kRows) / kDpi;
  if (sheet.width() + 1e-3 < needW || sheet.height() + 1e-3 < needH) {
    error = "The page of 8 x 10 inches does not fit on the paper " +
            device.pageLayout().pageSize().name().toStdString();
    return false;
  }
  const QImage image = SheetImage(pageBits, landscape);
  QPainter painter;
  if (!painter.begin(&device)) {
    error = "The printer could not be started";
    return false;
  }
  // One page pixel per 1/300 inch on the device's grid. Each edge is pulled in by a two-hundredth
  // of a page pixel: a renderer that paints the pixels whose centres lie inside and one that
  // paints every pixel an edge touches then both paint exactly 2400 x 3000 (at 300 dpi an edge
  // lying on a pixel boundary would win a whole extra row and column, and the image would be
  // resampled to fit them).
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  const double unit = device.logicalDpiX() / kDpi;  // device units per page pixel
  const double pull = 0.005 * unit;
  const QRectF target(kInset * kDpi * unit + pull, kInset * kDpi * unit + pull,
                      image.width() * unit - 2 * pull, image.height() * unit - 2 * pull);
  painter.drawImage(target, image);
  if (!painter.end()) {
    error = "Printing failed";
    return false;
  }
  return true;
}

bool WritePagePdf(const std::vector<uint8_t>& pageBits, bool landscape, const std::string& fileName,
                  std::string& error, const QPageSize& paper) {
  const QString name = QString::fromLocal8Bit(fileName.c_str());
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) {
    error = "Cannot write " + fileName;
    return false;
  }
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Plotane"));
    writer.setResolution(int(kDpi));
    writer.setPageSize(paper);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    if (!DrawPageOnSheet(writer, pageBits, landscape, error)) {
      file.cancelWriting();
      if (error == "Printing failed") error = "Cannot write " + fileName;
      return false;
    }
  }
  if (!file.commit()) {
    error = "Cannot write " + fileName;
    return false;
  }
  return true;
}

bool PrintPageOn(QPrinter& printer, const std::vector<uint8_t>& pageBits, bool landscape,
                 std::string& error) {
  // The sheet is the printer's own paper, measured from its corner.
  printer.setFullPage(true);
  printer.setResolution(int(kDpi));
  return DrawPageOnSheet(printer, pageBits, landscape, error);
}

bool PrintPageImage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                    QWidget* dialogParent, std::string& error, bool landscape) {
  error.clear();
  if (!toFile.empty()) return WritePagePdf(pageBits, landscape, toFile, error);
  QPrinter printer(QPrinter::HighResolution);
  if (dialogParent) {
    QPrintDialog dialog(&printer, dialogParent);
    if (dialog.exec() != QDialog::Accepted) return false;
  } else if (QPrinterInfo::defaultPrinter().isNull()) {
    error = "No default printer";
    return false;
  }
  return PrintPageOn(printer, pageBits, landscape, error);
}

}  // namespace plotane
