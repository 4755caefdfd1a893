// The help window: contents, search and every help context number the menus carry, F1 on a menu
// item, and the full-text search over the manual.
#include <QAction>
#include <QApplication>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>

#include "batch/ui/TBatFrm.h"
#include "drawing/ui/TDrFrm.h"
#include "graph/ui/TGrFrm.h"
#include "shell/HelpTopics.h"
#include "shell/ui/Shell.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/THelpFrm.h"
#include "worksheet/ui/TWkFrm.h"

using namespace plotane;

class HelpTest : public QObject {
  Q_OBJECT

  static int searchHits(QHelpSearchEngine* se, const QString& words) {
    QSignalSpy done(se, &QHelpSearchEngine::searchingFinished);
    se->search(words);
    if (!done.wait(10000)) return -1;
    return se->searchResultCount();
  }

  // Every action of a menu bar and its submenus, the menus' own actions included.
  static void collect(QMenu* menu, QList<QAction*>& out) {
    out << menu->menuAction();
    for (QAction* a : menu->actions()) {
      out << a;
      if (a->menu()) collect(a->menu(), out);
    }
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void contentsSearchAndEveryContextOpenATopic() {
    Shell shell;
    shell.start({});
    THelpFrm* help = shell.helpWindow();
    QVERIFY2(help->ready(), "the help collection was not built");
    shell.context().host.showHelp(Host::HelpContents);
    QVERIFY(help->isVisible());
    QCOMPARE(help->tabs()->currentIndex(), 0);
    QCOMPARE(help->currentTopic(), QString("index.html"));
    QVERIFY(help->browser()->toPlainText().contains("Plotane manual"));

    shell.context().host.showHelp(Host::HelpSearch);
    QCOMPARE(help->tabs()->currentIndex(), 1);

    for (const HelpTopic& t : HelpTopics()) {
      shell.context().host.showHelp(t.context);
      QCOMPARE(help->currentTopic(), QString::fromStdString(HelpTopicRef(t.context)));
      QVERIFY(!help->browser()->toPlainText().trimmed().isEmpty());
    }
  }

  void everyMenuItemWithAContextHasATopicAndF1OpensIt() {
    Shell shell;
    shell.start({});
    shell.context().SHOWDRAWING();
    QList<QMainWindow*> windows = {shell.mainWindow(), shell.worksheetWindow(),
                                   shell.graphDefsWindow(), shell.drawingWindow(),
                                   shell.batchWindow()};
    QList<QAction*> actions;
    for (QMainWindow* w : windows)
      for (QAction* a : w->menuBar()->actions())
        if (a->menu())
          collect(a->menu(), actions);
        else
          actions << a;
    int withContext = 0;
    for (QAction* a : actions) {
      int c = helpContextOf(a);
      if (!c) continue;
      ++withContext;
      QVERIFY2(HasHelpTopic(c), qPrintable(a->text() + " " + QString::number(c)));
    }
    QVERIFY(withContext > 0);

    // F1 on the graph window's window menu opens the windows topic.
    QMenu* menu = nullptr;
    for (QAction* a : shell.graphDefsWindow()->menuBar()->actions())
      if (a->menu() && helpContextOf(a->menu()->menuAction()) == 126) menu = a->menu();
    QVERIFY(menu);
    menu->popup(QPoint(0, 0));
    menu->setActiveAction(menu->actions().front());
    QTest::keyClick(menu, Qt::Key_F1);
    QVERIFY(shell.helpWindow()->isVisible());
    QCOMPARE(shell.helpWindow()->currentTopic(), QString("getting-started.html#windows"));
    QVERIFY(!menu->isVisible());

    // The graph and drawing windows' Help menus.
    for (QMainWindow* w : {static_cast<QMainWindow*>(shell.graphDefsWindow()),
                           static_cast<QMainWindow*>(shell.drawingWindow())}) {
      QAction* helpMenu = w->menuBar()->actions().back();
      QCOMPARE(helpMenu->text(), QString("&Help"));
      QList<QAction*> items = helpMenu->menu()->actions();
      QCOMPARE(items.size(), 2);
      QCOMPARE(items[0]->text(), QString("&Contents"));
      QCOMPARE(items[1]->text(), QString("&Topic Search"));
      items[1]->trigger();
      QCOMPARE(shell.helpWindow()->tabs()->currentIndex(), 1);
      items[0]->trigger();
      QCOMPARE(shell.helpWindow()->currentTopic(), QString("index.html"));
    }
  }

  void searchFindsCommandsAndPhrases() {
    Shell shell;
    THelpFrm* help = shell.helpWindow();
    QVERIFY(help->ready());
    QHelpSearchEngine* se = help->engine()->searchEngine();
    QTRY_VERIFY_WITH_TIMEOUT(help->indexed(), 20000);
    QVERIFY(searchHits(se, "DWDRAWGRAPH") > 0);
    QVERIFY(searchHits(se, "\"use limits\"") > 0);
    QCOMPARE(searchHits(se, "xyzzyplugh"), 0);
  }
};

QTEST_MAIN(HelpTest)
#include "test_help.moc"
