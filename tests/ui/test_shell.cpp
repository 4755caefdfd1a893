// The desktop shell: main window, F6 cycling among the work windows, the drawing window's
// discard and re-creation, the log window, and the end of the program.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "drawing/ui/TDrFrm.h"
#include "graph/ui/TGrFrm.h"
#include "shell/ui/Shell.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TLogFrm.h"
#include "worksheet/ui/TWkFrm.h"

using namespace plotane;

class ShellTest : public QObject {
  Q_OBJECT

  // Presses F6 in the window that has the focus and returns the work window shown then.
  static QWidget* pressF6(Shell& shell, QWidget* from) {
    from->activateWindow();
    if (!QTest::qWaitForWindowActive(from)) return nullptr;
    QTest::keyClick(from, Qt::Key_F6);
    QCoreApplication::processEvents();
    return shell.currentWorkWindow();
  }

 private slots:
  void mainWindowHasLabelMenuAndCaption() {
    Shell shell;
    shell.start({});
    TForm1* main = shell.mainWindow();
    QVERIFY(main->isVisible());
    QCOMPARE(main->label()->text(), QString("Press F6 key to select windows"));
    QVERIFY(main->windowTitle().startsWith("Plotane "));
    QList<QAction*> menus = main->menuBar()->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus[0]->text(), QString("&Window(F6)"));
    QList<QAction*> items = menus[0]->menu()->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QString("&Worksheet for data"));
    QCOMPARE(items[0]->shortcut(), QKeySequence(Qt::Key_F6));
    QCOMPARE(items[1]->text(), QString("&Graph definitions"));
    QCOMPARE(items[2]->text(), QString("&Drawing"));
    // The work windows are made at start-up but wait to be chosen.
    QVERIFY(shell.worksheetWindow() && !shell.worksheetWindow()->isVisible());
    QVERIFY(shell.graphDefsWindow() && shell.drawingWindow());
    QCOMPARE(shell.worksheetWindow()->windowTitle(), QString("Worksheet"));
    QCOMPARE(shell.graphDefsWindow()->windowTitle(), QString("Current Graph Definitions"));
    QCOMPARE(shell.drawingWindow()->windowTitle(), QString("Drawing    "));
  }

  void f6CyclesFromMainWindowThroughTheWorkWindows() {
    Shell shell;
    shell.start({});
    QWidget* w = pressF6(shell, shell.mainWindow());
    QCOMPARE(w, static_cast<QWidget*>(shell.worksheetWindow()));
    QVERIFY(shell.worksheetWindow()->isMaximized());
    QWidget* expected[4] = {shell.graphDefsWindow(), shell.drawingWindow(), shell.worksheetWindow(),
                            shell.graphDefsWindow()};
    for (QWidget* e : expected) {
      w = pressF6(shell, w);
      QCOMPARE(w, e);
      QVERIFY(w->isVisible());
      QVERIFY(w->isMaximized());
    }
  }

  void closedDrawingIsMadeAnewWhenNextChosen() {
    Shell shell;
    shell.start({});
    shell.context().SHOWDRAWING();
    QPointer<TDrFrm> first = shell.drawingWindow();
    QVERIFY(first->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QVERIFY(shell.context().DrawingClosed);
    shell.context().SHOWDRAWING();
    QVERIFY(shell.drawingWindow() != nullptr);
    QVERIFY(shell.drawingWindow()->isVisible());
    QVERIFY(!shell.context().DrawingClosed);
    // A new, blank drawing: the window shows its preview and caption.
    QVERIFY(shell.context().drawing);
    QCOMPARE(shell.context().drawing->image().countInk(), 0L);
    QCOMPARE(shell.drawingWindow()->windowTitle(), QString("Drawing    "));
    QWidget* view = shell.drawingWindow()->findChild<QWidget*>("PB1");
    QVERIFY(view);
    QCOMPARE(view->size(), QSize(800, 1000));
    // Turning the page follows into the view and into the graph definitions.
    shell.context().drawing->SetLandscape();
    QCOMPARE(view->size(), QSize(1000, 800));
    QCOMPARE(int(shell.context().graph.def.Landscape), 1);
    QVERIFY(shell.drawingWindow()->windowTitle().startsWith("Drawing--Landscape"));
  }

  void logWindowShowsTheLinesAndSavesThem() {
    Shell shell;
    shell.start({});
    LogModel& log = shell.context().log;
    log.CLEARLOG();
    log.APPENDLOG("first");
    log.ADDLOG("second");
    log.SHOWLOG(shell.context().host);
    TLogFrm* frm = shell.logWindow();
    QVERIFY(frm->isVisible());
    QCOMPARE(frm->windowTitle(), QString("Log"));
    QCOMPARE(frm->list()->count(), 2);
    QCOMPARE(frm->list()->currentRow(), 1);
    QVERIFY(frm->list()->font().family().contains("Courier"));
    QList<QAction*> menu = frm->menuBar()->actions();
    QCOMPARE(menu.size(), 2);
    QCOMPARE(menu[0]->text(), QString("&File"));
    QCOMPARE(menu[1]->text(), QString("&Close"));
    QTemporaryDir dir;
    QString name = dir.filePath("LOG.TXT");
    QVERIFY(frm->saveTo(name));
    QFile f(name);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("first\r\nsecond\r\n"));
    menu[1]->trigger();
    QVERIFY(!frm->isVisible());
  }

  void unsavedWorksheetDataCanKeepTheProgramRunning() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.store.NEWSERIES(ctx.worksheet.column(0), false, "");
    ctx.store.PUTVAL(ctx.worksheet.column(0), 5, 1.0);  // modified, never saved
    // Yes returns to the worksheet: the main window stays.
    QString asked;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      asked = box->text();
      box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(!shell.mainWindow()->close());
    QCOMPARE(asked, QString("Some data may not have been saved!--Return to worksheet??"));
    QVERIFY(shell.mainWindow()->isVisible());
    QVERIFY(ctx.worksheet.column(0).inUse());
    // While a script statement runs nobody is asked and the program closes.
    ctx.ScriptRunning = true;
    QVERIFY(shell.mainWindow()->close());
  }

  void commandLineScriptRunsBeforeTheWindowsAndAFailureLetsStartUpGoOn() {
    QTemporaryDir dir;
    QFile script(dir.filePath("START.EBT"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("@SHOWDRAWING();\nWWNOSUCHWORD(A);\nEND\n");
    script.close();
    Shell shell;
    QStringList shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      shown << box->text();
      box->button(QMessageBox::Ok)->click();
    });
    shell.start({dir.filePath("START").toStdString()});
    QCOMPARE(shown.size(), 1);
    // The reason stands under the error text when the statement had no message of its own.
    QCOMPARE(shown[0], QString("Error...cannot continue:\nno such command"));
    QVERIFY(shell.mainWindow()->isVisible());
    QCOMPARE(shell.currentWorkWindow(), static_cast<TWorkFrm*>(shell.drawingWindow()));
  }

  void closingTheMainWindowEndsTheProgram() {
    Shell shell;
    shell.start({});
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { quit = true; });
    // The event loop ends when the main window is closed.
    QTimer::singleShot(0, shell.mainWindow(), [&] { shell.mainWindow()->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(3); });
    int rc = QApplication::exec();
    QCOMPARE(rc, 0);
    QVERIFY(quit);
    QVERIFY(!shell.mainWindow()->isVisible());
  }
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
