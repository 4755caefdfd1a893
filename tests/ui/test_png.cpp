// The page as PNG: a write that fails half-way leaves the old file and is reported; a whole one
// reads back as the page.
#include <QImage>
#include <QtTest>
#include <filesystem>

#include "FileBytes.h"
#include "TempDir.h"
#include "drawing/ui/PagePng.h"
#include "shell/base/Files.h"

using namespace plotane;

class PngTest : public QObject {
  Q_OBJECT

 private slots:
  void aFailedWriteLeavesTheOldFile() {
    test::TempDir dir;
    const std::string name = dir.file("PAGE.PNG");
    test::writeBytes(name, {'o', 'l', 'd'});
    std::vector<uint8_t> bits(3000 * 300, 0);
    bits[1500 * 300 + 37] = 0xFF;  // eight black pixels at column 296, row 1500
    for (long long n : {0LL, 8LL, 500LL}) {
      WriteFaults faults;
      faults.failAfterBytes = n;
      std::string error;
      QVERIFY(!WritePagePng(bits, name, error, &faults));
      QVERIFY(error.find("No space left") != std::string::npos);
      QCOMPARE(test::readText(name), std::string("old"));
    }
    std::string error;
    QVERIFY2(WritePagePng(bits, name, error), error.c_str());
    QImage back(QString::fromStdString(name));
    QCOMPARE(back.size(), QSize(2400, 3000));
    QCOMPARE(back.pixelColor(296, 1500), QColor(Qt::black));
    QCOMPARE(back.pixelColor(304, 1500), QColor(Qt::white));
    QCOMPARE(back.pixelColor(296, 1499), QColor(Qt::white));
  }

  void aFullDeviceIsReported() {
    if (!std::filesystem::exists("/dev/full")) QSKIP("no /dev/full here");
    std::vector<uint8_t> bits(3000 * 300, 0x55);
    std::string error;
    QVERIFY(!WritePagePng(bits, "/dev/full", error));
    QVERIFY(!error.empty());
  }
};

QTEST_MAIN(PngTest)
#include "test_png.moc"
