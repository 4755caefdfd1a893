// The graph definitions window, by flow: curves defined through the worksheet's column requests
// and the dialogs, then drawn; the close question; each dialog's refusals; menus, help and
// caption. The rules behind the dialogs are tested in tests/graph; here only the wiring.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <deque>
#include <functional>

#include "TestHost.h"
#include "graph/ui/GraphDialogs.h"
#include "graph/ui/TGrFrm.h"
#include "shell/AppContext.h"
#include "shell/ui/Shell.h"
#include "shell/ui/TForm1.h"

using namespace plotane;

namespace {

// Records the help contexts asked for.
struct HelpHost : test::TestHost {
  std::vector<int> help;
  void showHelp(int context) override { help.push_back(context); }
};

// Answers modal dialogs in turn: each handler gets the dialog open at that moment. A handler
// that leaves its dialog open (a refused OK) is followed by the next handler on the same dialog.
class DialogDriver : public QObject {
 public:
  using Handler = std::function<void(QDialog*)>;
  std::deque<Handler> handlers;
  int handled = 0;
  DialogDriver() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d || handlers.empty()) return;
      Handler h = std::move(handlers.front());
      handlers.pop_front();
      ++handled;
      h(d);
      // A failed check inside a handler must not leave the test waiting in the dialog.
      if (QTest::currentTestFailed() && d->isVisible()) d->reject();
    });
    timer_.start();
  }
  void add(Handler h) { handlers.push_back(std::move(h)); }

 private:
  QTimer timer_;
};

template <class T>
T* child(QDialog* d, const char* name) {
  T* w = d->findChild<T*>(name);
  if (!w) qFatal("no child %s in %s", name, qPrintable(d->objectName()));
  return w;
}
void clickRadio(QDialog* d, const char* group, int index) {
  auto* g = child<RadioGroup>(d, group);
  g->findChildren<QRadioButton*>().at(index)->click();
}
void setText(QDialog* d, const char* name, const QString& text) {
  child<QLineEdit>(d, name)->setText(text);
}
void accept(QDialog* d) { d->accept(); }

struct Window {
  HelpHost host;
  AppContext ctx{host};
  TGrFrm frm{ctx};
  DialogDriver driver;
  Window() {
    Store& store = ctx.store;
    Worksheet& ws = ctx.worksheet;
    // A: X = 1..21, B: its square, C: a line; indices 0..20.
    store.NAMEDNEWSERIES(ws.column(0), "XV", "x");
    store.NAMEDNEWSERIES(ws.column(1), "SQUARES", "y");
    store.NAMEDNEWSERIES(ws.column(2), "LINE", "y");
    for (int i = 0; i <= 20; ++i) {
      store.PUTVAL(ws.column(0), i, float(i + 1));
      store.PUTVAL(ws.column(1), i, float((i + 1) * (i + 1)));
      store.PUTVAL(ws.column(2), i, float(10 * (i + 1) + 5));
    }
  }
  bool run(const std::string& script) {
    ctx.runner.setText(script);
    ctx.runner.RUN();
    return !ctx.runner.ScriptError;
  }
};

bool samePage(const Drawing& a, const Drawing& b, long& ink) {
  ink = a.image().countInk();
  for (int r = 0; r < 3000; ++r)
    if (std::memcmp(a.image().row(r), b.image().row(r), 300) != 0) return false;
  return true;
}

}  // namespace

class GraphDefsTest : public QObject {
  Q_OBJECT

 private slots:
  void curvesStylesAxisAndTitleDrawAsAScriptDoes() {
    Window w;
    Worksheet& ws = w.ctx.worksheet;
    GraphDef& def = w.ctx.graph.def;
    // Curve 1: NewCurve, Y = B, X = A, the offered range, the style as it is.
    w.frm.NewCurveClick();
    QCOMPARE(w.host.windowsShown.back(), WorkWindow::Worksheet);
    QCOMPARE(QString::fromStdString(ws.Request.prompt), QString("Y variable column--"));
    ws.ConfirmRequestText("B");
    QCOMPARE(QString::fromStdString(ws.Request.prompt), QString("Y is B , specify X :"));
    w.driver.add([](QDialog* d) {
      QCOMPARE(d->windowTitle(), QString("Curve range of points"));
      QCOMPARE(child<QLineEdit>(d, "From")->text(), QString("      0"));
      QCOMPARE(child<QLineEdit>(d, "To")->text(), QString("     20"));
      d->accept();
    });
    w.driver.add([](QDialog* d) {
      QCOMPARE(d->windowTitle(), QString("Curve Style"));
      QCOMPARE(child<QLabel>(d, "Heading")->text(), QString("Curve 1"));
      d->accept();
    });
    ws.ConfirmRequestText("A");
    QCOMPARE(w.driver.handled, 2);
    QCOMPARE(w.host.windowsShown.back(), WorkWindow::GraphDefs);
    QCOMPARE(int(def.CurveCount), 1);

    // Curve 2: Y = C over 2..15, typed into the range dialog.
    w.frm.NewCurveClick();
    ws.ConfirmRequestText("C");
    w.driver.add([](QDialog* d) {
      setText(d, "From", "2");
      setText(d, "To", "15");
      d->accept();
    });
    w.driver.add(accept);
    ws.ConfirmRequestText("A");
    QCOMPARE(int(def.CurveCount), 2);
    QCOMPARE(int(def.curve(2).LowIndex), 2);
    QCOMPARE(int(def.curve(2).HiIndex), 15);
    QCOMPARE(w.frm.curveList()->verticalScrollBar()->maximum(), 128);

    // Curve 1 dashed with line width 3; curve 2 connected solid squares of size 5.
    w.driver.add([](QDialog* d) {
      QCOMPARE(d->windowTitle(), QString("Select curve number:"));
      d->accept();  // the first line: curve 1
    });
    w.driver.add([](QDialog* d) {
      clickRadio(d, "CurveType", 1);
      QVERIFY(!child<QComboBox>(d, "PointSize")->isVisible());
      child<QComboBox>(d, "LineWidth")->setCurrentText("3");
      d->accept();
    });
    w.frm.EditAttributesClick();
    w.driver.add([](QDialog* d) {
      child<QComboBox>(d, "CurveNumbers")->setCurrentIndex(1);
      d->accept();
    });
    w.driver.add([](QDialog* d) {
      clickRadio(d, "CurveType", 4);
      QVERIFY(child<QComboBox>(d, "PointSize")->isVisible());
      QVERIFY(!child<QComboBox>(d, "LineWidth")->isVisible());
      child<QComboBox>(d, "PointSize")->setCurrentText(" 5");
      clickRadio(d, "PointShape", 10);  // "Solid Squares"
      d->accept();
    });
    w.frm.EditAttributesClick();
    QCOMPARE(int(def.curve(1).CurveType), 1);
    QCOMPARE(int(def.curve(2).PointShape), 10);

    // The Y axis: logarithmic, "Ten to power", a user minimum of 1.
    w.driver.add([](QDialog* d) {
      QCOMPARE(child<QLabel>(d, "Heading")->text(), QString("Y-AXIS"));
      QVERIFY(!child<QWidget>(d, "LogNumbering")->isVisible());
      clickRadio(d, "AxisType", 1);
      QVERIFY(child<QWidget>(d, "LogNumbering")->isVisible());
      clickRadio(d, "LogNumbering", 2);
      QVERIFY(!child<QLineEdit>(d, "Min")->isEnabled());
      clickRadio(d, "Minimum", 1);
      QVERIFY(child<QLineEdit>(d, "Min")->isEnabled());
      setText(d, "Min", "1");
      d->accept();
    });
    w.frm.AxisClick(false);
    QCOMPARE(int(def.Y.LogAxis), 1);
    QCOMPARE(int(def.Y.TenToPower), 1);

    // A title.
    w.driver.add([](QDialog* d) {
      QVERIFY(!child<QLineEdit>(d, "Title")->isVisible());
      clickRadio(d, "TitleMode", 1);
      QVERIFY(child<QLineEdit>(d, "Title")->isVisible());
      setText(d, "Title", "Squares and a line");
      d->accept();
    });
    w.frm.GraphAttributesClick();
    QCOMPARE(QString::fromStdString(def.Title), QString("Squares and a line"));
    QVERIFY(w.host.messages.empty());

    // To the drawing, then the graph.
    w.frm.SetupCursorsClick();
    QCOMPARE(w.host.windowsShown.back(), WorkWindow::Drawing);
    QCOMPARE(w.ctx.drawing->state.B.X, def.CornerB.X);
    QVERIFY(w.run("DWDRAWGRAPH;"));

    // The same definitions through a script.
    Window s;
    QVERIFY(
        s.run("GWCURVENEWDEF(B, A, 0, 20); GWCURVENEWDEF(C, A, 2, 15);"
              "@CURVLINE(1, D, 3); @CURVPTS(2, CSS, 5);"));
    AxisDef& y = s.ctx.graph.def.Y;
    y.LogAxis = 1;
    y.TenToPower = 1;
    y.MinUserSpec = 1;
    y.Min = 1;
    s.ctx.graph.def.TitleMode = 1;
    s.ctx.graph.def.Title = "Squares and a line";
    QVERIFY(s.run("GWSETUPDRAWGRAPH; DWDRAWGRAPH;"));
    QVERIFY(EncodeGraphDef(def) == EncodeGraphDef(s.ctx.graph.def));
    long ink = 0;
    QVERIFY(samePage(*w.ctx.drawing, *s.ctx.drawing, ink));
    QVERIFY(ink > 1000);
  }

  void pickCancelledAtTheRangeDialogAddsNothing() {
    Window w;
    w.frm.NewCurveClick();
    w.ctx.worksheet.ConfirmRequestText("B");
    w.driver.add([](QDialog* d) { d->reject(); });
    w.ctx.worksheet.ConfirmRequestText("A");
    QCOMPARE(int(w.ctx.graph.def.CurveCount), 0);
    QCOMPARE(w.ctx.worksheet.column(1).xLink, nullptr);
    // A cancelled Y request goes back to this window.
    w.frm.NewCurveClick();
    w.ctx.worksheet.CancelRequest();
    QCOMPARE(w.host.windowsShown.back(), WorkWindow::GraphDefs);
  }

  void closeQuestionYesNoCancel() {
    Window w;
    QTemporaryDir dir;
    QString chosen;
    w.frm.chooseFile = [&](bool save) {
      Q_ASSERT(save);
      return chosen;
    };
    // Nothing changed: no question.
    QVERIFY(w.frm.close());
    QVERIFY(w.host.questions.empty());
    w.ctx.graph.def.Title = "changed";
    const QString q = "Closing window --- Graph defs have been changed--SAVE?";
    w.host.answers = {Answer::Cancel};
    QVERIFY(!w.frm.FormCloseQuery());
    QCOMPARE(QString::fromStdString(w.host.questions.back()), q);
    // Yes, then the save dialog cancelled: the window stays, nothing lost.
    w.host.answers = {Answer::Yes};
    QVERIFY(!w.frm.close());
    QCOMPARE(QString::fromStdString(w.ctx.graph.def.Title), QString("changed"));
    // No: closes; the definitions go back to the start-up ones once the close happens.
    w.host.answers = {Answer::No};
    QVERIFY(w.frm.FormCloseQuery());
    QCOMPARE(QString::fromStdString(w.ctx.graph.def.Title), QString("changed"));
    w.frm.CommitClose();
    QVERIFY(w.ctx.graph.def.Title.empty());
    // Yes with a name: saved, then closed.
    w.ctx.graph.def.Title = "kept";
    chosen = dir.filePath("kept.GRD");
    w.host.answers = {Answer::Yes};
    QVERIFY(w.frm.close());
    QVERIFY(QFile::exists(chosen));
    QCOMPARE(w.frm.windowTitle(), "Current Graph Definitions -- " + chosen);
    // A script's close asks nothing and resets nothing.
    w.ctx.graph.def.Title = "script";
    w.ctx.ScriptRunning = true;
    QVERIFY(w.frm.FormCloseQuery());
    w.frm.CommitClose();
    QCOMPARE(QString::fromStdString(w.ctx.graph.def.Title), QString("script"));
  }

  void programCloseAsksAboutChangedDefinitions() {
    Shell shell;
    shell.start({});
    GraphDef& def = shell.context().graph.def;
    def.Title = "unsaved";
    DialogDriver driver;
    QString asked;
    driver.add([&](QDialog* d) {
      auto* box = qobject_cast<QMessageBox*>(d);
      QVERIFY(box);
      asked = box->text();
      box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!shell.mainWindow()->close());
    QCOMPARE(asked, QString("Closing window --- Graph defs have been changed--SAVE?"));
    QVERIFY(shell.mainWindow()->isVisible());
    QCOMPARE(QString::fromStdString(def.Title), QString("unsaved"));
    // While a script statement runs nobody is asked.
    shell.context().ScriptRunning = true;
    QVERIFY(shell.mainWindow()->close());
  }

  void eachDialogRefusesWithItsMessage() {
    Window w;
    QVERIFY(w.run("GWCURVENEWDEF(B, A, 0, 20);"));
    // Curve number.
    w.driver.add([](QDialog* d) {
      child<QComboBox>(d, "CurveNumbers")->setCurrentText("7");
      d->accept();
    });
    w.driver.add([](QDialog* d) {
      QVERIFY(d->isVisible());
      d->reject();
    });
    w.frm.RemoveCurveClick();
    QCOMPARE(QString::fromStdString(w.host.lastMessage()), QString("Invalid curve number"));
    QCOMPARE(int(w.ctx.graph.def.CurveCount), 1);
    // Curve range: a beep for a non-number, the message for a range beyond the series.
    w.driver.add(accept);  // curve 1
    w.frm.OldCurveClick();
    w.ctx.worksheet.ConfirmRequestText("B");
    w.driver.add([](QDialog* d) {
      setText(d, "From", "x");
      d->accept();
    });
    w.driver.add([&w](QDialog* d) {
      QCOMPARE(w.host.beeps, 1);
      setText(d, "From", "-5");
      d->accept();
    });
    w.driver.add([](QDialog* d) { d->reject(); });
    w.ctx.worksheet.ConfirmRequestText("A");
    QCOMPARE(QString::fromStdString(w.host.lastMessage()),
             QString("Curve range beyond series reange(s)!"));
    // Curve style.
    w.driver.add(accept);
    w.driver.add([](QDialog* d) {
      child<QComboBox>(d, "LineWidth")->setCurrentText("7");
      d->accept();
    });
    w.driver.add([](QDialog* d) { d->reject(); });
    w.frm.EditAttributesClick();
    QCOMPARE(QString::fromStdString(w.host.lastMessage()), QString("Error"));
    QCOMPARE(int(w.ctx.graph.def.curve(1).SizeCode), 2);
    // Axis.
    w.driver.add([](QDialog* d) {
      clickRadio(d, "Minimum", 1);
      clickRadio(d, "Maximum", 1);
      setText(d, "Min", "5");
      setText(d, "Max", "5");
      d->accept();
    });
    w.driver.add([&w](QDialog* d) {
      QCOMPARE(QString::fromStdString(w.host.lastMessage()), QString("Min >= Max; change values!"));
      setText(d, "Max", "1e");
      d->accept();
    });
    w.driver.add([](QDialog* d) { d->reject(); });
    w.frm.AxisClick(true);
    QCOMPARE(QString::fromStdString(w.host.lastMessage()), QString("Numerical format error"));
    QCOMPARE(int(w.ctx.graph.def.X.MinUserSpec), 0);
    // Graph attributes; an orientation change swaps the corner texts, twice restores them.
    w.driver.add([](QDialog* d) {
      const QString ax = child<QLineEdit>(d, "AX")->text();
      const QString ay = child<QLineEdit>(d, "AY")->text();
      clickRadio(d, "Orientation", 1);
      QCOMPARE(child<QLineEdit>(d, "AX")->text(), ay);
      clickRadio(d, "Orientation", 0);
      QCOMPARE(child<QLineEdit>(d, "AX")->text(), ax);
      setText(d, "BX", "8.5");
      d->accept();
    });
    w.driver.add([](QDialog* d) { d->reject(); });
    w.frm.GraphAttributesClick();
    QCOMPARE(QString::fromStdString(w.host.lastMessage()),
             QString("Error in graph position coordinates"));
    QCOMPARE(w.ctx.graph.def.CornerB.X, 7.7);
  }

  void menusHelpAndCaption() {
    Window w;
    QCOMPARE(w.frm.windowTitle(), QString("Current Graph Definitions"));
    QVERIFY(w.frm.font().family().contains("Courier") ||
            w.frm.font().styleHint() == QFont::TypeWriter);
    const QList<QAction*> menus = w.frm.menuBar()->actions();
    QStringList titles;
    for (QAction* m : menus) titles << m->text();
    QCOMPARE(titles, QStringList({"&File", "&CurveAttr", "&Axis && Graph Attr", "&Drawing prep etc",
                                  "&Window (F6)", "&Help"}));
    auto items = [&](int i) {
      QStringList l;
      for (QAction* a : menus[i]->menu()->actions())
        l << a->text() + "=" + a->property("helpContext").toString();
      return l;
    };
    QCOMPARE(items(0), QStringList({"&Load=202", "&Save=203"}));
    QCOMPARE(items(1), QStringList({"&NewCurve=205", "&OldCurve=206", "&Edit attributes=207",
                                    "&Remove curve=208", "&Set X's to cols=209"}));
    QCOMPARE(items(2), QStringList({"&X axis=106", "&Y axis=106", "&Graph Attributes=104"}));
    QCOMPARE(items(3),
             QStringList({"&Setup cursors && go to drawing=212", "&Blank entire drawing=213"}));
    QCOMPARE(items(5), QStringList({"&Contents=", "&Topic Search="}));
    const int headings[5] = {201, 204, 210, 211, 126};
    for (int i = 0; i < 5; ++i) QCOMPARE(menus[i]->property("helpContext").toInt(), headings[i]);
    // F1 in an open menu: the highlighted item's context.
    QMenu* curveMenu = menus[1]->menu();
    curveMenu->setActiveAction(curveMenu->actions()[3]);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(curveMenu, &f1);
    QCOMPARE(w.host.help, std::vector<int>{208});
    menus[5]->menu()->actions()[1]->trigger();
    QCOMPARE(w.host.help.back(), Host::HelpSearch);

    // Load: the caption follows; curves without X links bring the question.
    QTemporaryDir dir;
    const QString path = dir.filePath("two.GRD");
    QVERIFY(w.run("GWCURVENEWDEF(B, A, 0, 20);"));
    w.ctx.graph.SaveGrd(path.toStdString(), true);
    w.ctx.worksheet.column(1).xLink = nullptr;
    w.frm.chooseFile = [&](bool) { return path; };
    w.host.answers = {Answer::Yes};
    w.frm.LoadClick();
    QCOMPARE(w.frm.windowTitle(), "Current Graph Definitions -- " + path);
    QCOMPARE(QString::fromStdString(w.host.questions.back()), QString("Set X's to Cols?"));
    QCOMPARE(w.ctx.worksheet.column(1).xLink, &w.ctx.worksheet.column(0));
  }

  void blankDrawingAsksFirst() {
    Window w;
    QVERIFY(w.ctx.drawing);
    w.host.answers = {Answer::No};
    w.frm.BlankDrawingClick();
    QCOMPARE(QString::fromStdString(w.host.questions.back()),
             QString("Do you really want to erase the entire drawing window?"));
    QVERIFY(!w.ctx.DrawingClosed);
    w.host.answers = {Answer::Yes};
    w.frm.BlankDrawingClick();
    QVERIFY(w.ctx.DrawingClosed);
  }

  // With PLOTANE_SHOTS set to a folder: the window and the axis dialog as pictures.
  void screenshots() {
    const QByteArray dir = qgetenv("PLOTANE_SHOTS");
    if (dir.isEmpty()) QSKIP("PLOTANE_SHOTS not set");
    Window w;
    QVERIFY(w.run("GWCURVENEWDEF(B, A, 0, 20); GWCURVENEWDEF(C, A, 2, 15);"));
    w.ctx.worksheet.column(2).xLink = nullptr;  // shows an undefined X
    w.frm.resize(760, 420);
    w.frm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.frm));
    QTest::qWait(200);
    QVERIFY(w.frm.grab().save(QString(dir) + "/graph-definitions.png"));
    w.driver.add([&dir](QDialog* d) {
      clickRadio(d, "AxisType", 1);
      clickRadio(d, "LogNumbering", 2);
      clickRadio(d, "AxisLabel", 1);
      setText(d, "Label", "Velocity ^Am/s");
      QTest::qWait(200);
      QVERIFY(d->grab().save(QString(dir) + "/axis-dialog.png"));
      d->reject();
    });
    w.frm.AxisClick(false);
  }
};

QTEST_MAIN(GraphDefsTest)
#include "test_graphdefs.moc"
