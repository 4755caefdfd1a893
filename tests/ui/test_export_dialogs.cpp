// The drawing window's export commands: the dialogs they show, the files they write, and what a
// cancel or a failed write does.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QTimer>
#include <QtTest>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "drawing/Drawing.h"
#include "drawing/Text.h"
#include "drawing/ui/DrawingExport.h"
#include "drawing/ui/PlatformGlyphs.h"

using namespace plotane;

namespace {

// Prompts that answer with a file and a resolution, counting what was asked.
ExportPrompts answering(const QString& file, int dpi, QString* askedSuffix = nullptr) {
  ExportPrompts p;
  p.fileName = [=](QWidget*, const QString&, const QString&, const QString& suffix,
                   const QString&) {
    if (askedSuffix) *askedSuffix = suffix;
    return file;
  };
  p.resolution = [=](QWidget*) { return dpi; };
  return p;
}

// Platform letters come from the toolkit, as in the program.
struct GlyphHost : test::TestHost {
  bool platformText(const PlatformTextRequest& request, PlatformTextResult& result) override {
    return RenderPlatformText(request, result);
  }
};

}  // namespace

class ExportDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachCommandWritesItsFormatUnderTheBusyCursor() {
    test::TestHost host;
    Drawing d(host);
    d.DrawLine(true, 1, 1, 7, 9, LineWidthTable[2]);
    test::TempDir dir;
    QString suffix;
    const QString svg = QString::fromStdString(dir.file("a.svg"));
    QVERIFY(ExportDrawingCommand(nullptr, d, VectorFormat::Svg, answering(svg, 0, &suffix)));
    QCOMPARE(suffix, QString("svg"));
    QVERIFY(test::readText(dir.file("a.svg")).find("<svg") != std::string::npos);
    QVERIFY(host.busyCalls >= 2);
    QCOMPARE(host.busyDepth, 0);
    QVERIFY(ExportDrawingCommand(nullptr, d, VectorFormat::Pdf,
                                 answering(QString::fromStdString(dir.file("a.pdf")), 0)));
    QCOMPARE(test::readText(dir.file("a.pdf")).substr(0, 5), std::string("%PDF-"));
    for (int dpi : {300, 600}) {
      const std::string png = dir.file("p" + std::to_string(dpi) + ".png");
      QVERIFY(ExportDrawingCommand(nullptr, d, VectorFormat::Png,
                                   answering(QString::fromStdString(png), dpi)));
      QImage back(QString::fromStdString(png));
      QCOMPARE(back.width(), 8 * dpi);
      if (dpi == 600) QCOMPARE(back.dotsPerMeterX(), 23622);
      // The line's middle is ink at either resolution.
      QCOMPARE(back.pixelColor(4 * dpi, 5 * dpi), QColor(Qt::black));
    }
    QVERIFY(host.messages.empty());
  }

  void aCancelWritesNothingAndAFailureIsShown() {
    test::TestHost host;
    Drawing d(host);
    test::TempDir dir;
    QVERIFY(!ExportDrawingCommand(nullptr, d, VectorFormat::Svg, answering(QString(), 0)));
    QVERIFY(!ExportDrawingCommand(nullptr, d, VectorFormat::Png,
                                  answering(QString::fromStdString(dir.file("x.png")), 0)));
    QVERIFY(!std::filesystem::exists(dir.file("x.png")));
    QVERIFY(host.messages.empty());
    QVERIFY(!ExportDrawingCommand(
        nullptr, d, VectorFormat::Pdf,
        answering(QString::fromStdString(dir.file("no/such/folder/x.pdf")), 0)));
    QCOMPARE(host.messages.size(), std::size_t(1));
    QVERIFY(host.lastMessage().rfind("Cannot write ", 0) == 0);
    QCOMPARE(host.busyDepth, 0);
  }

  // Letters of a platform font exist as pixels only: they are kept as images of exactly the
  // pixels they set, and the exported page shows them there.
  void platformLettersAreImagesOfTheirPixels() {
    GlyphHost host;
    Drawing d(host);
    TextEngine text(d);
    LetterFontSlots fonts;
    fonts[0] = {"Liberation Sans", 24, 0};
    text.setLetterFonts(fonts);
    text.SetFontCode(101);
    PagePoint p = d.pointAt({1, 5});
    text.DrawTextString(p, "Wq");
    const DisplayList& list = d.displayList();
    QCOMPARE(list.items().size(), std::size_t(2));
    long inked = 0;
    for (const DisplayItem& item : list.items()) {
      QCOMPARE(item.kind, DisplayItem::Image);
      QVERIFY(item.ink);
      const DisplayImage& im = list.images()[item.first];
      for (int r = 0; r < im.height; ++r)
        for (int c = 0; c < im.width; ++c)
          if (im.pixel(r, c)) {
            ++inked;
            QVERIFY(d.image().pixel(im.top + r, im.left + c));
          }
    }
    QCOMPARE(inked, d.image().countInk());
    test::TempDir dir;
    const std::string png = dir.file("letters.png");
    std::string error;
    QVERIFY2(ExportDrawing(d, VectorFormat::Png, png, 600, error), error.c_str());
    QImage back(QString::fromStdString(png));
    long agree = 0;
    for (int r = 0; r < kRasterRows; ++r)
      for (int c = 0; c < kRasterCols; ++c)
        if (d.image().pixel(r, c))
          agree += back.pixelColor(2 * c, 2 * r) == QColor(Qt::black) &&
                   back.pixelColor(2 * c + 1, 2 * r + 1) == QColor(Qt::black);
    QCOMPARE(agree, inked);
  }

  // The real dialogs: a save dialog that asks before overwriting and adds the extension, and
  // the three resolutions.
  void theDialogsAreSetUpForSaving() {
    bool checked = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
      QCOMPARE(dialog->defaultSuffix(), QString("svg"));
      QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
      QCOMPARE(dialog->nameFilters().first(), QString("SVG drawings (*.svg)"));
      checked = true;
      dialog->reject();
    });
    QCOMPARE(AskExportFileName(nullptr, "Export SVG", "SVG drawings (*.svg);;All files (*)", "svg",
                               "drawing.svg"),
             QString());
    QVERIFY(checked);

    QStringList offered;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      offered = dialog->comboBoxItems();
      dialog->setTextValue(offered.value(2));
      dialog->accept();
    });
    QCOMPARE(AskExportResolution(nullptr), 1200);
    QCOMPARE(offered.size(), 3);
    QVERIFY(offered.first().startsWith("300 dpi"));
  }
};

QTEST_MAIN(ExportDialogsTest)
#include "test_export_dialogs.moc"
