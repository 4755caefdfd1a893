// The printed page as a PDF: one lossless 1-bit image, a quarter inch in from the top left of the
// printer's paper, landscape drawings upright on a landscape sheet. Checked with poppler's own
// tools (Debian poppler-utils): pdfimages lists what the file holds, pdftoppm renders it back.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <cstring>
#include <fstream>

#include "TempDir.h"
#include "TestHost.h"
#include "drawing/DrawingOutput.h"
#include "drawing/Text.h"
#include "drawing/ui/PagePrinter.h"

using namespace plotane;

namespace {

constexpr int kW = 2400, kH = 3000, kInset = 75;  // pixels at 300 dpi

// A 1-bit picture read from a binary PBM: 1 is black.
struct Bitmap {
  int width = 0, height = 0;
  std::vector<uint8_t> bits;
  bool at(int r, int c) const {
    return bits[std::size_t(r) * std::size_t((width + 7) / 8) + std::size_t(c >> 3)] &
           (0x80 >> (c & 7));
  }
};

bool readPbm(const QString& name, Bitmap& b) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray data = f.readAll();
  // "P4\n<width> <height>\n" then the rows.
  const QList<QByteArray> head = data.left(64).split('\n');
  if (head.size() < 3 || head[0] != "P4") return false;
  const QList<QByteArray> size = head[1].split(' ');
  b.width = size.value(0).toInt();
  b.height = size.value(1).toInt();
  const qsizetype offset = head[0].size() + head[1].size() + 2;
  const std::size_t bytes = std::size_t((b.width + 7) / 8) * std::size_t(b.height);
  if (std::size_t(data.size() - offset) != bytes) return false;
  b.bits.assign(data.begin() + offset, data.end());
  return true;
}

bool havePoppler() {
  return !QStandardPaths::findExecutable("pdfimages").isEmpty() &&
         !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(60000);
  return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The sheet rendered back at 300 dpi in black and white.
Bitmap render(const QString& pdf) {
  const QString prefix = pdf + "-render";
  run("pdftoppm", {"-r", "300", "-mono", "-singlefile", pdf, prefix});
  Bitmap b;
  readPbm(prefix + ".pbm", b);
  return b;
}

// A page with lines, point symbols, stroke text and ink in its four corner pixels.
std::vector<uint8_t> samplePage(Drawing& d) {
  d.DrawLine(true, 0.5, 0.5, 7.5, 9.5, 0.02);
  d.DrawLine(true, 0.5, 9.0, 7.5, 9.0, 0.006);
  for (int shape = 0; shape < 12; ++shape)
    d.DrawPointSymbol(d.pointAt({1.0 + 0.5 * shape, 5.0}), shape, 3);
  TextEngine t(d);
  t.SetFontCode(3);
  t.InitTextState();
  PagePoint p = d.pointAt({1.0, 8.0});
  t.DrawTextString(p, "Printed at 300 dpi: x^2 + y");
  d.image().row(0)[0] |= 0x80;
  d.image().row(0)[299] |= 0x01;
  d.image().row(2999)[0] |= 0x80;
  d.image().row(2999)[299] |= 0x01;
  return PageBits(d);
}

bool rasterAt(const std::vector<uint8_t>& bits, int r, int c) {
  return bits[std::size_t(r) * 300 + std::size_t(c >> 3)] & (0x80 >> (c & 7));
}

// Pixels of the rendered sheet that differ from `expected` placed at the quarter inch, white
// elsewhere.
long sheetDifferences(const Bitmap& sheet, int w, int h, const std::function<bool(int, int)>& at) {
  long diff = 0;
  for (int r = 0; r < sheet.height; ++r)
    for (int c = 0; c < sheet.width; ++c) {
      const bool inside = r >= kInset && r < kInset + h && c >= kInset && c < kInset + w;
      const bool want = inside && at(r - kInset, c - kInset);
      if (sheet.at(r, c) != want) ++diff;
    }
  return diff;
}

}  // namespace

class PrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void sheetImageIsTheRasterInBlackWhiteForm() {
    test::TestHost host;
    Drawing d(host);
    const std::vector<uint8_t> bits = samplePage(d);
    const QImage image = SheetImage(bits, false);
    QCOMPARE(image.format(), QImage::Format_Mono);
    QCOMPARE(image.size(), QSize(kW, kH));
    // The one colour table the PDF writer keeps as a 1-bit image: black, white.
    QCOMPARE(image.colorTable(), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    for (int r : {0, 1500, 2999})
      for (int b = 0; b < 300; ++b) QCOMPARE(image.constScanLine(r)[b], uchar(~bits[r * 300 + b]));
  }

  // In landscape the page's X runs down the raster rows; upright on the sheet, a line along the
  // landscape page's top edge runs along the top of the image.
  void landscapeSheetImageIsUpright() {
    test::TestHost host;
    Drawing d(host);
    d.SetLandscape();
    d.DrawLine(true, 0.5, 7.5, 2.5, 7.5, 0.01);  // half an inch below the top, 2 inches long
    const QImage image = SheetImage(PageBits(d), true);
    QCOMPARE(image.size(), QSize(kH, kW));
    int top = kW, bottom = -1, left = kH, right = -1;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelIndex(x, y) == 0) {  // black
          top = std::min(top, y), bottom = std::max(bottom, y);
          left = std::min(left, x), right = std::max(right, x);
        }
    QVERIFY(top >= 145 && bottom <= 155);
    QVERIFY(left >= 145 && left <= 155);
    QVERIFY(right >= 745 && right <= 755);
  }

  void pdfHoldsTheRasterLosslessly_data() {
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("width");  // the sheet at 300 dpi, as pdftoppm renders it
    QTest::addColumn<int>("height");
    QTest::newRow("Letter") << int(QPageSize::Letter) << 2550 << 3300;
    QTest::newRow("A4") << int(QPageSize::A4) << 2480 << 3508;
  }
  void pdfHoldsTheRasterLosslessly() {
    if (!havePoppler()) QSKIP("pdfimages and pdftoppm (Debian poppler-utils) are missing");
    QFETCH(int, paper);
    QFETCH(int, width);
    QFETCH(int, height);
    test::TestHost host;
    test::TempDir dir;
    Drawing d(host);
    const std::vector<uint8_t> bits = samplePage(d);
    const QString pdf = QString::fromStdString(dir.file("PAGE.PDF"));
    std::string error;
    QVERIFY(WritePagePdf(bits, false, pdf.toStdString(), error,
                         QPageSize(QPageSize::PageSizeId(paper))));
    QVERIFY(error.empty());

    // One image of 2400 x 3000 at 300 ppi, 1 bit per pixel, not JPEG.
    const QStringList lines = run("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);  // two heading lines, one image
    const QStringList f = lines[2].simplified().split(' ');
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    QCOMPARE(f.value(3), QString("2400"));
    QCOMPARE(f.value(4), QString("3000"));
    QCOMPARE(f.value(7), QString("1"));
    QVERIFY2(f.value(8) != "jpeg" && f.value(8) != "jpx", qPrintable(lines[2]));
    QCOMPARE(f.value(12), QString("300"));

    const Bitmap sheet = render(pdf);
    QVERIFY(std::abs(sheet.width - width) <= 1 && std::abs(sheet.height - height) <= 1);
    QCOMPARE(sheetDifferences(sheet, kW, kH, [&](int r, int c) { return rasterAt(bits, r, c); }),
             0L);
    // The demo-sized page stays small: no colour, no JPEG.
    QVERIFY(QFileInfo(pdf).size() < 100 * 1024);
  }

  void landscapePdfIsALandscapeSheet() {
    if (!havePoppler()) QSKIP("pdfimages and pdftoppm (Debian poppler-utils) are missing");
    test::TestHost host;
    test::TempDir dir;
    Drawing d(host);
    d.SetLandscape();
    samplePage(d);
    const std::vector<uint8_t> bits = PageBits(d);
    const QString pdf = QString::fromStdString(dir.file("WIDE.PDF"));
    std::string error;
    QVERIFY(WritePagePdf(bits, true, pdf.toStdString(), error, QPageSize(QPageSize::A4)));
    const Bitmap sheet = render(pdf);
    QVERIFY(sheet.width > sheet.height);
    // Landscape column x is raster row x; landscape row y is raster column 2399 - y.
    QCOMPARE(sheetDifferences(sheet, kH, kW,
                              [&](int y, int x) { return rasterAt(bits, x, kW - 1 - y); }),
             0L);
  }

  // A PDF that cannot be made leaves what was there.
  void failedPdfKeepsTheOldFile() {
    test::TestHost host;
    test::TempDir dir;
    Drawing d(host);
    const std::vector<uint8_t> bits = samplePage(d);
    const std::string name = dir.file("OLD.PDF");
    std::ofstream(name) << "old";
    std::string error;
    // A5 cannot hold 8 x 10 inches.
    QVERIFY(!WritePagePdf(bits, false, name, error, QPageSize(QPageSize::A5)));
    QVERIFY2(error.find("does not fit") != std::string::npos, error.c_str());
    QFile old(QString::fromStdString(name));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    QCOMPARE(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files).size(), 1);
    // A folder that does not exist.
    QVERIFY(!WritePagePdf(bits, false, dir.file("NO/PAGE.PDF"), error));
    QCOMPARE(error, "Cannot write " + dir.file("NO/PAGE.PDF"));
  }
};

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
