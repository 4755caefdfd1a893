// Whole tasks done through the worksheet window's menus and dialogs only: the demo data file
// from attach to a saved regression result, read back with the store's own reader; and the
// NIST Norris regression, typed in as a table file, against its certified values.

#include <QItemSelectionModel>
#include <QLabel>
#include <QProcess>
#include <QScreen>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "TestHost.h"
#include "WorksheetWindow.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;
using namespace plotane::test;

namespace {

// Answers the series dialog with a path.
ModalAnswers::Handler pickSeries(const QString& path) {
  return [path](QWidget* d) {
    d->findChild<QComboBox*>("ComboBox1")->setEditText(path);
    clickOk(d);
  };
}

}  // namespace

class WorksheetEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void demoFileToSavedRegressionThroughTheMenus() {
    TempDir dir;
    std::string dsf = dir.file("DEMO.DSF");
    std::filesystem::copy_file(std::string(PLOTANE_SOURCE_DIR) + "/examples/DEMO.DSF", dsf);
    std::vector<float> fast, slow;
    {
      WkFixture f;
      Worksheet& ws = f.ctx.worksheet;
      f.wk->chooseFile = [&](WkFile which) {
        return which == WkFile::AttachDsf ? QString::fromStdString(dsf) : QString();
      };
      f.trigger({"&File", "&Attach DSF"});
      QCOMPARE(f.wk->findChild<QLabel*>("Label4")->text(),
               QString::fromStdString("Current DSDir path in file " + dsf));

      ModalAnswers answers;
      answers.add(pickSeries(".RUN1.RAW.FAST"));
      f.trigger({"&Series", "&Load series"});
      QCOMPARE(ws.Request.prompt, std::string("Column at which to start loading:"));
      f.confirm("A");
      answers.add(pickSeries(".RUN1.RAW.SLOW"));
      f.trigger({"&Series", "&Load series"});
      f.confirm("b");
      QCOMPARE(QString::fromStdString(ws.columnName(0)), QString(".RUN1.RAW.FAST"));
      QCOMPARE(QString::fromStdString(ws.columnName(1)), QString(".RUN1.RAW.SLOW"));
      QCOMPARE(ws.column(0).lowest(), 0);
      QCOMPARE(ws.column(0).highestIndex(), 40);
      for (int i = 0; i <= 40; ++i) {
        fast.push_back(f.ctx.store.GETVAL(ws.column(0), i));
        slow.push_back(f.ctx.store.GETVAL(ws.column(1), i));
      }
      QVERIFY(!f.shown(0, 40).isEmpty());

      // C = A + B.
      f.trigger({"&Columns", "&Arith ops", "&Series-series", "&Add"});
      f.confirm("A");
      f.confirm("B");
      f.confirm("C");
      // The observations are the indices 0..40.
      answers.add([](QWidget* d) {
        setEdit(d, "Edit1", "0");
        setEdit(d, "Edit2", "40");
        clickOk(d);
      });
      f.trigger({"&Use lims"});
      QCOMPARE(ws.UseHigh(), 40);
      // SLOW regressed on FAST with a constant; predicted values into D.
      f.trigger({"&Columns", "&Regression", "&Dependent V.def"});
      f.confirm("B");
      f.trigger({"&Columns", "&Regression", "&Independent V.def"});
      f.confirm("A");
      f.trigger({"&Columns", "&Regression", "&Calculate"});
      QVERIFY(f.ctx.regression.calculated());
      f.trigger({"&Columns", "&Regression", "&Save results", "Save predicted &values"});
      f.confirm("D");
      QCOMPARE(QString::fromStdString(ws.columnName(3)), QString("Predicted"));
      // Save C and D: C has no name yet, so the name dialog comes first.
      answers.add([](QWidget* d) {
        setEdit(d, "Edit1", "SUMAB");
        setEdit(d, "Edit2", "fast + slow");
        clickOk(d);
      });
      f.trigger({"&Columns", "&Save"});
      f.confirm("C", "D");
      QVERIFY(!f.ctx.store.StoreError);
      QVERIFY(!ws.column(2).modified);
      QVERIFY(!ws.column(3).modified);
      f.ctx.store.DETACHDSF();
      QCOMPARE(f.wk->findChild<QLabel*>("Label4")->text(),
               QString("Current DSDir path in file <NO FILE>"));
    }

    // The file, read back by a fresh store.
    TestHost host;
    LogModel log;
    Store store(host, log);
    store.ATTACHDSF(dsf);
    QVERIFY(!store.StoreError);
    Series sum, predicted;
    store.LOADONE(sum, ".SUMAB");
    store.LOADONE(predicted, ".Predicted");
    QVERIFY(!store.StoreError);
    QCOMPARE(QString::fromStdString(sum.info->description), QString("fast + slow"));
    // Least squares of slow on fast, worked out here in closed form.
    double n = 41, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 0; i <= 40; ++i) {
      sx += fast[i];
      sy += slow[i];
      sxx += double(fast[i]) * fast[i];
      sxy += double(fast[i]) * slow[i];
    }
    double b1 = (n * sxy - sx * sy) / (n * sxx - sx * sx), b0 = (sy - b1 * sx) / n;
    for (int i = 0; i <= 40; ++i) {
      QCOMPARE(store.GETVAL(sum, i), float(double(fast[i]) + double(slow[i])));
      double expected = b0 + b1 * fast[i];
      QVERIFY2(std::fabs(store.GETVAL(predicted, i) - expected) <= 1e-4 * (1 + std::fabs(expected)),
               qPrintable(QString::number(i)));
    }
    store.DISPOSESERIES(sum);
    store.DISPOSESERIES(predicted);
  }

  void norrisThroughTheWindowMatchesItsCertifiedValues() {
    TempDir dir;
    std::ifstream in(std::string(PLOTANE_SOURCE_DIR) + "/tests/data/Norris.txt");
    QVERIFY(in);
    std::string line, table = "*    NY\r\n*    NX\r\n";
    while (std::getline(in, line) && line.rfind("Data (y x)", 0) != 0) {
    }
    int rows = 0;
    while (std::getline(in, line)) {
      std::istringstream ls(line);
      std::string y, x;
      if (ls >> y >> x) {
        table += y + " " + x + "\r\n";
        ++rows;
      }
    }
    QCOMPARE(rows, 36);
    std::string file = dir.file("NORRIS.TXT");
    std::ofstream(file, std::ios::binary) << table;

    WkFixture f;
    f.wk->chooseFile = [&](WkFile) { return QString::fromStdString(file); };
    f.trigger({"&File", "&Read a data file", "&TXT table file"});
    f.confirm("A");
    QCOMPARE(f.ctx.worksheet.UseHigh(), 35);
    f.trigger({"&Columns", "&Regression", "&Dependent V.def"});
    f.confirm("A");
    f.trigger({"&Columns", "&Regression", "&Independent V.def"});
    f.confirm("B");
    f.trigger({"&Columns", "&Regression", "&Calculate"});
    QVERIFY(f.ctx.regression.calculated());
    const RegResults& r = f.ctx.regression.results().res;
    auto digits = [](double expected, double actual, int d) {
      return std::fabs(actual - expected) <= std::fabs(expected) * std::pow(10.0, -d);
    };
    // Certified for exact decimals; single-precision inputs move them in the 6th digit.
    QVERIFY(digits(-0.262323073774029, r.b[0], 4));
    QVERIFY(digits(1.00211681802045, r.b[1], 6));
    QVERIFY(digits(0.232818234301152, r.se[0], 4));
    QVERIFY(digits(0.429796848199937E-03, r.se[1], 4));
    QVERIFY(digits(0.884796396144373, r.stdErr, 4));
    QVERIFY(std::fabs(r.rSquared - 0.999993745883712) < 1E-8);
    // The report went to the log.
    bool reported = false;
    for (const std::string& l : f.ctx.log.lines())
      if (l.find("Number of observations =  36") != std::string::npos) reported = true;
    QVERIFY(reported);
  }

  // docs/screenshots/worksheet.png: run under an X server with PLOTANE_SCREENSHOT=file and
  // QT_QPA_PLATFORM=xcb; the whole screen is taken with ImageMagick's import.
  void screenshotWhenAsked() {
    QByteArray out = qgetenv("PLOTANE_SCREENSHOT");
    if (out.isEmpty()) QSKIP("PLOTANE_SCREENSHOT not set");
    TempDir dir;
    std::string dsf = dir.file("DEMO.DSF");
    std::filesystem::copy_file(std::string(PLOTANE_SOURCE_DIR) + "/examples/DEMO.DSF", dsf);
    WkFixture f;
    Worksheet& ws = f.ctx.worksheet;
    f.ctx.store.ATTACHDSF(dsf);
    f.ctx.store.SETDSDIR(".RUN1.RAW");
    ws.StartLoad(SeriesDialogInitialText(f.ctx.store));
    f.confirm("A");
    ws.SetUseLimits(0, 40);
    f.trigger({"&Columns", "&Arith ops", "&Series-series", "&Add"});
    f.confirm("B");
    f.confirm("C");
    f.confirm("E");
    f.grid->goTo(4, 3);
    f.trigger({"&Columns", "&Copy"});
    f.wk->showMaximized();
    QTest::qWait(300);
    // The range picked by a drag from C to E, as a user does.
    QRect c = f.grid->visualRect(f.cell(2, 3)), e = f.grid->visualRect(f.cell(4, 3));
    QTest::mousePress(f.grid->viewport(), Qt::LeftButton, {}, c.center());
    QMouseEvent move(QEvent::MouseMove, e.center(), f.grid->viewport()->mapToGlobal(e.center()),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.grid->viewport(), &move);
    QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, {}, e.center());
    f.wk->showMaximized();
    QTest::qWait(800);
    // What the X server shows: C, D and E highlighted alike.
    QImage screen = f.wk->screen()->grabWindow(0).toImage();
    QColor highlight = f.grid->palette().color(QPalette::Highlight);
    for (int column : {2, 3, 4}) {
      QRect r = f.grid->visualRect(f.cell(column, 3));
      QPoint at = f.grid->viewport()->mapToGlobal(r.center() + QPoint(-30, 0));
      QCOMPARE(screen.pixelColor(at), highlight);
    }
    QCOMPARE(QProcess::execute("import", {"-window", "root", QString::fromLocal8Bit(out)}), 0);
  }
};

QTEST_MAIN(WorksheetEndToEndTest)
#include "test_worksheet_endtoend.moc"
