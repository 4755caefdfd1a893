// The script window by flow: the demo opened, stepped and run (and compared with batch mode),
// an edit of the commands cancelled and accepted, a parameter edit and run, Save and reopen; and
// the program's close with the worksheet's question answered each way.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "batch/BatchWindow.h"
#include "batch/ui/TBatFrm.h"
#include "drawing/DrawingOutput.h"
#include "drawing/ui/PagePrinter.h"
#include "shell/ui/Shell.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/THelpFrm.h"
#include "worksheet/ui/TWkFrm.h"

using namespace plotane;

namespace {

// Runs in a copy of the examples folder, as the demo expects its files beside it.
class InExamples {
 public:
  InExamples() : old_(QDir::currentPath()) {
    QDir src(qEnvironmentVariable("PLOTANE_SOURCE_DIR") + "/examples");
    for (const QString& f : src.entryList(QDir::Files))
      QFile::copy(src.filePath(f), dir_.filePath(f));
    QDir::setCurrent(dir_.path());
  }
  ~InExamples() { QDir::setCurrent(old_); }
  QString path(const QString& f) const { return dir_.filePath(f); }

 private:
  QString old_;
  QTemporaryDir dir_;
};

// Answers the next modal box with the given button and records its text.
void answerNextBox(QMessageBox::StandardButton button, QStringList* texts) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    if (texts) *texts << box->text();
    if (button == QMessageBox::Escape)
      QTest::keyClick(box, Qt::Key_Escape);
    else
      box->button(button)->click();
  });
}

std::string std8(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace

class BatchWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Window places are remembered in the test's own settings, not the user's.
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void demoOpenedSteppedRunAndLikeBatchMode() {
    InExamples here;
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.printToFile = std8(here.path("window.pcl"));
    TBatFrm* bat = shell.batchWindow();
    QVERIFY(!bat->isVisible());
    ctx.host.showRunEbt();
    QVERIFY(bat->isVisible());
    QVERIFY(bat->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(bat->windowTitle(), QString("Run EBT"));
    QVERIFY(!bat->runAction()->isEnabled() && !bat->stepAction()->isEnabled());
    QCOMPARE(bat->runAction()->shortcut(), QKeySequence(Qt::Key_F9));
    QCOMPARE(bat->stepAction()->shortcut(), QKeySequence(Qt::Key_F8));
    QVERIFY(bat->textArea()->isReadOnly());
    QVERIFY(bat->textArea()->font().fixedPitch() ||
            QFontInfo(bat->textArea()->font()).fixedPitch());

    QVERIFY(bat->openFile("DEMO.EBT"));
    QCOMPARE(bat->windowTitle(), QString("Run --- DEMO.EBT"));
    QCOMPARE(ctx.runner.param(1), std::string("DEMO"));
    QVERIFY(bat->runAction()->isEnabled() && bat->stepAction()->isEnabled());
    QVERIFY(bat->textArea()->toPlainText().startsWith("{ Plotane demo"));

    // Three statements: attach, then two loads.
    for (int i = 0; i < 3; ++i) bat->stepAction()->trigger();
    QVERIFY(ctx.store.attached());
    QVERIFY(ctx.worksheet.inUse(0) && ctx.worksheet.inUse(1));
    QVERIFY(!ctx.worksheet.inUse(2));
    // The selection covers two characters just behind the reading position, which stands
    // after the third statement's ")" (its ";" is read with the next statement).
    QTextCursor c = bat->textArea()->textCursor();
    QCOMPARE(c.selectedText(), QString("ST"));
    const QString text = bat->textArea()->toPlainText();
    QCOMPARE(text.mid(c.selectionStart() - 21, 24), QString("@LOAD(B, .RUN1.RAW.FAST)"));

    // Run to the end; the selection follows while the run holds the event loop.
    int moves = 0;
    connect(bat->textArea(), &QPlainTextEdit::cursorPositionChanged, [&] { ++moves; });
    bat->runAction()->trigger();
    QVERIFY(!ctx.runner.ScriptError);
    QVERIFY(ctx.runner.ScriptStop);
    QVERIFY(moves > 50);
    QVERIFY(QFile::exists(here.path("DEMO.GRL")));
    QVERIFY(ctx.drawing && ctx.drawing->image().countInk() > 10000);

    // Batch mode makes the same page (once this program has let the DSF go: it is locked).
    ctx.store.DETACHDSF();
    QProcess batch;
    batch.setWorkingDirectory(here.path(""));
    batch.start(qEnvironmentVariable("PLOTANE_BIN"),
                {"--batch", "DEMO", "--png", "batch.png", "--print-to", "batch.pcl"});
    QVERIFY(batch.waitForFinished(120000));
    QCOMPARE(batch.exitCode(), 0);
    QImage fromBatch(here.path("batch.png"));
    QVERIFY(!fromBatch.isNull());
    QImage fromWindow = PageImage(PageBits(*ctx.drawing));
    QCOMPARE(fromWindow.size(), fromBatch.size());
    QCOMPARE(fromWindow.convertToFormat(QImage::Format_RGB32),
             fromBatch.convertToFormat(QImage::Format_RGB32));
  }

  void commandsEditedThenCancelledOrTaken() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    TBatFrm* bat = shell.batchWindow();
    ctx.host.showRunEbt();
    ctx.runner.setText("WWUSELIMS(1, 2);\nEND\n");
    bat->refresh();
    bat->showRunEbt();

    bat->editCommandsAction()->trigger();
    QCOMPARE(bat->windowTitle(), QString("Edit Commands"));
    QVERIFY(!bat->textArea()->isReadOnly());
    QVERIFY(!bat->runAction()->isEnabled() && !bat->stepAction()->isEnabled());
    QVERIFY(bat->okAction()->isEnabled() && bat->cancelAction()->isEnabled());
    QVERIFY(!bat->editParametersAction()->isEnabled() && !bat->resetAction()->isEnabled());
    bat->textArea()->selectAll();
    QTest::keyClicks(bat->textArea(), "WWUSELIMS(3, 4);");
    bat->cancelAction()->trigger();
    QCOMPARE(bat->textArea()->toPlainText(), QString("WWUSELIMS(1, 2);\nEND\n"));
    QCOMPARE(ctx.runner.text(), std::string("WWUSELIMS(1, 2);\nEND\n"));
    QCOMPARE(bat->windowTitle(), QString("Run EBT"));
    QVERIFY(bat->textArea()->isReadOnly());
    QVERIFY(bat->runAction()->isEnabled() && !bat->okAction()->isEnabled());

    bat->editCommandsAction()->trigger();
    bat->textArea()->selectAll();
    QTest::keyClicks(bat->textArea(), "WWUSELIMS(3, 4);");
    bat->okAction()->trigger();
    QCOMPARE(ctx.runner.text(), std::string("WWUSELIMS(3, 4);"));
    bat->runAction()->trigger();
    QCOMPARE(int(ctx.store.UseLow), 3);
    QCOMPARE(int(ctx.store.UseHigh), 4);
  }

  void parametersEditedThenRun() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    TBatFrm* bat = shell.batchWindow();
    ctx.runner.setText("WWUSELIMS(%2, %3);\nEND\n");
    bat->showRunEbt();
    QTableWidget* grid = bat->paramGrid();
    QVERIFY(!grid->isVisible());
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("Parameter"));
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("Value"));
    QCOMPARE(grid->rowCount(), 9);
    QCOMPARE(grid->item(0, 0)->text(), QString("%1"));
    QCOMPARE(grid->item(8, 0)->text(), QString("%9"));

    bat->editParametersAction()->trigger();
    QCOMPARE(bat->windowTitle(), QString("Edit Command-line Parameters"));
    QVERIFY(grid->isVisible() && !bat->textArea()->isVisible());
    grid->item(1, 1)->setText("7");
    grid->item(2, 1)->setText("70");
    bat->cancelAction()->trigger();  // the values go back
    QCOMPARE(grid->item(1, 1)->text(), QString());
    QCOMPARE(ctx.runner.param(2), std::string());
    QVERIFY(!grid->isVisible() && bat->textArea()->isVisible());

    bat->editParametersAction()->trigger();
    grid->item(1, 1)->setText("7");
    grid->item(2, 1)->setText("70");
    bat->okAction()->trigger();
    QCOMPARE(bat->windowTitle(), QString("Run EBT"));
    bat->runAction()->trigger();
    QVERIFY(!ctx.runner.ScriptError);
    QCOMPARE(int(ctx.store.UseLow), 7);
    QCOMPARE(int(ctx.store.UseHigh), 70);
  }

  void savedDuringAnEditAndReopened() {
    QTemporaryDir dir;
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    TBatFrm* bat = shell.batchWindow();
    bat->showRunEbt();
    bat->editCommandsAction()->trigger();
    QTest::keyClicks(bat->textArea(), "@SHOWDRAWING;");
    QString name = dir.filePath("MINE.EBT");
    // Save ends the edit as OK would and writes the text as edited.
    QVERIFY(bat->saveFile(name));
    QCOMPARE(bat->windowTitle(), "Run --- " + name);
    QCOMPARE(ctx.runner.param(1), std8(dir.filePath("MINE")));
    QVERIFY(bat->textArea()->isReadOnly() && bat->runAction()->isEnabled());
    QFile f(name);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("@SHOWDRAWING;"));
    f.close();

    ctx.runner.setText("something else");
    QVERIFY(bat->openFile(name));
    QCOMPARE(bat->textArea()->toPlainText(), QString("@SHOWDRAWING;"));
    // A file that is not there: the message, and the window keeps what it had.
    QStringList shown;
    answerNextBox(QMessageBox::Ok, &shown);
    QVERIFY(!bat->openFile(dir.filePath("NONE.EBT")));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(bat->textArea()->toPlainText(), QString("@SHOWDRAWING;"));
  }

  void closeAsksEveryoneAndACancelChangesNothing() {
    QTemporaryDir dir;
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.store.CREATEDSF(std8(dir.filePath("C.DSF")));
    Series& s = ctx.worksheet.column(0);
    ctx.store.NEWSERIES(s, false, "");
    ctx.store.PUTVAL(s, 1, 2.0);

    // Yes, and Escape, return to the worksheet: nothing changes.
    QStringList asked;
    answerNextBox(QMessageBox::Yes, &asked);
    QVERIFY(!shell.mainWindow()->close());
    answerNextBox(QMessageBox::Escape, &asked);
    QVERIFY(!shell.mainWindow()->close());
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked[0], QString("Some data may not have been saved!--Return to worksheet??"));
    QVERIFY(s.modified);
    QVERIFY(ctx.store.attached());
    QVERIFY(shell.mainWindow()->isVisible());

    // No: everyone agrees, the flags are cleared and the data file let go.
    answerNextBox(QMessageBox::No, &asked);
    QVERIFY(shell.mainWindow()->close());
    QVERIFY(!s.modified);
    QVERIFY(!ctx.store.attached());
  }

  void aFileGivenWithItsExtensionOpensByType() {
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    {
      // A drawing opens in the drawing window.
      Shell maker;
      maker.context().ensureDrawing().DrawLine(true, 1, 1, 5, 5, 0.013);
      maker.context().drawing->SaveGrl(std8(dir.filePath("FIG.GRL")));
    }
    {
      Shell shell;
      shell.start({std8(dir.filePath("FIG.GRL"))});
      QVERIFY(shell.mainWindow()->isVisible());
      QCOMPARE(shell.currentWorkWindow(), static_cast<TWorkFrm*>(shell.drawingWindow()));
      QVERIFY(shell.context().drawing->image().countInk() > 0);
      QVERIFY(shell.drawingWindow()->windowTitle().contains("FIG.GRL"));
    }
    {
      // A script runs in its own folder, its name without the extension as %1.
      QFile f(dir.filePath("S.EBT"));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("WWUSELIMS(2, 3);\nEND\n");
      f.close();
      Shell shell;
      shell.start({std8(dir.filePath("S.EBT"))});
      QCOMPARE(int(shell.context().store.UseLow), 2);
      QCOMPARE(shell.context().runner.param(1), std::string("S"));
      QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    }
    QDir::setCurrent(old);
  }

  void startUpGraphDefinitionsComeFromBesideTheProgram() {
    const QString name = QCoreApplication::applicationDirPath() + "/StartUp.GRD";
    QVERIFY(!QFile::exists(name));
    {
      Shell maker;
      maker.context().graph.def.Title = "from start-up";
      maker.context().graph.SaveGrd(std8(name), true);
    }
    Shell shell;
    QFile::remove(name);
    QCOMPARE(shell.context().graph.def.Title, std::string("from start-up"));
    Shell without;
    QCOMPARE(without.context().graph.def.Title, std::string());
  }

  // With PLOTANE_POSE=SECONDS (run on a real display): the script window in the middle of the
  // demo, then the help window, each held still that long for a screen capture.
  void poseForScreenshots() {
    const int seconds = qEnvironmentVariableIntValue("PLOTANE_POSE");
    if (seconds <= 0) QSKIP("only on request");
    InExamples here;
    Shell shell;
    shell.start({});
    shell.mainWindow()->hide();
    TBatFrm* bat = shell.batchWindow();
    bat->move(0, 0);
    bat->resize(760, 560);
    shell.context().host.showRunEbt();
    QVERIFY(bat->openFile("DEMO.EBT"));
    for (int i = 0; i < 16; ++i) bat->stepAction()->trigger();
    bat->textArea()->centerCursor();
    QTest::qWait(seconds * 1000);
    bat->hide();
    shell.context().host.showHelp(112);
    shell.helpWindow()->move(0, 0);
    shell.helpWindow()->resize(1000, 680);
    QTest::qWait(seconds * 1000);
  }
};

QTEST_MAIN(BatchWindowTest)
#include "test_batchwindow.moc"
