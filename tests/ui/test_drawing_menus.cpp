// The drawing window's menus by flow: captions, help and what is enabled (zoomed, a command
// open); drawing from the menus and by hand equals the same drawing made by a script; text entry
// against @T; GRL open over unsaved work and the close question with each answer; printing and
// export to files; the preview at a device pixel ratio of 2. The rules behind them are tested in
// tests/drawing; here the wiring.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSize>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <fstream>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "drawing/DrawingOutput.h"
#include "drawing/ui/PagePrinter.h"
#include "drawing/ui/TDrFrm.h"
#include "shell/AppContext.h"
#include "shell/ui/Shell.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/THelpFrm.h"

using namespace plotane;

namespace {

// A drawing window over a test host: questions are answered from host.answers, files from
// `files` in turn (an empty name is a cancelled dialog).
struct Window {
  test::TestHost host;
  test::TempDir dir;
  AppContext ctx{host};
  TDrFrm frm{ctx};
  QWidget* view = nullptr;
  QStringList files;
  QList<TDrFrm::FileKind> asked;
  int exportDpi = 300;  // the resolution "Export PNG..." is answered with

  Window() {
    QObject::connect(&frm, &TDrFrm::closed, [this] { ctx.drawingWindowClosed(); });
    frm.chooseFile = [this](TDrFrm::FileKind kind) {
      asked << kind;
      return files.isEmpty() ? QString() : files.takeFirst();
    };
    frm.exportPrompts.fileName = [this](QWidget*, const QString&, const QString&, const QString&,
                                        const QString&) {
      return files.isEmpty() ? QString() : files.takeFirst();
    };
    frm.exportPrompts.resolution = [this](QWidget*) { return exportDpi; };
    frm.printDialog = [](QPrinter&) { return false; };
    frm.resize(1000, 1200);
    frm.show();
    view = frm.findChild<QWidget*>("PB1");
  }
  QAction* act(const char* name) {
    auto* a = frm.findChild<QAction*>(name);
    if (!a) qFatal("no menu item %s", name);
    return a;
  }
  void trigger(const char* name) { act(name)->trigger(); }
  QString label(const char* name) { return frm.findChild<QLabel*>(name)->text(); }
  QString file(const char* name) { return QString::fromStdString(dir.file(name)); }
  // A click on the preview at a page position (portrait: 100 pixels per inch).
  void click(double X, double Y, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mouseClick(view, Qt::LeftButton, m,
                      QPoint(int(X * 100 + 0.5), int((10 - Y) * 100 + 0.5)));
  }
  bool run(const std::string& script) {
    ctx.runner.setText(script);
    ctx.runner.RUN();
    return !ctx.runner.ScriptError;
  }
};

QStringList titles(QMenuBar* bar) {
  QStringList out;
  for (QAction* a : bar->actions()) out << a->text();
  return out;
}

// The items of a menu as "caption=help context".
QStringList items(TDrFrm& frm, const char* menu) {
  QStringList out;
  auto* m = frm.findChild<QMenu*>(menu);
  if (!m) return {QString("<no %1>").arg(menu)};
  for (QAction* a : m->actions())
    if (!a->isSeparator()) out << a->text() + "=" + QString::number(helpContextOf(a));
  return out;
}

QStringList disabledTitles(QMenuBar* bar) {
  QStringList out;
  for (QAction* a : bar->actions())
    if (!a->isEnabled()) out << a->text();
  return out;
}

// Columns A (1..21) and B (squares), indices 0..20, with a curve of B over A set up for drawing.
void graphData(AppContext& ctx) {
  Store& store = ctx.store;
  Worksheet& ws = ctx.worksheet;
  store.NAMEDNEWSERIES(ws.column(0), "XV", "x");
  store.NAMEDNEWSERIES(ws.column(1), "SQUARES", "y");
  for (int i = 0; i <= 20; ++i) {
    store.PUTVAL(ws.column(0), i, float(i + 1));
    store.PUTVAL(ws.column(1), i, float((i + 1) * (i + 1)));
  }
  ctx.runner.setText("GWCURVENEWDEF(B, A, 0, 20); GWSETUPDRAWGRAPH;");
  ctx.runner.RUN();
}

bool havePoppler() { return !QStandardPaths::findExecutable("pdftoppm").isEmpty(); }

// A PDF page rendered back at 300 dpi in black and white, as a PBM file's bytes.
QByteArray render(const QString& pdf) {
  QProcess p;
  p.start("pdftoppm", {"-r", "300", "-mono", "-singlefile", pdf, pdf + "-render"});
  p.waitForFinished(60000);
  QFile f(pdf + "-render.pbm");
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Pixels of a rendered sheet (PBM bytes) that differ from the page raster placed a quarter inch
// (75 pixels) in from the top left; -1 when the render is not a PBM.
long sheetDifferences(const QByteArray& pbm, const std::vector<uint8_t>& bits) {
  const QList<QByteArray> head = pbm.left(64).split('\n');
  if (head.size() < 3 || head[0] != "P4") return -1;
  const QList<QByteArray> size = head[1].split(' ');
  const int width = size.value(0).toInt(), height = size.value(1).toInt();
  const int rowBytes = (width + 7) / 8;
  const char* data = pbm.constData() + head[0].size() + head[1].size() + 2;
  long diff = 0;
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c) {
      const bool got = uchar(data[r * rowBytes + (c >> 3)]) & (0x80 >> (c & 7));
      const int pr = r - 75, pc = c - 75;
      const bool want = pr >= 0 && pr < 3000 && pc >= 0 && pc < 2400 &&
                        (bits[std::size_t(pr) * 300 + std::size_t(pc >> 3)] & (0x80 >> (pc & 7)));
      if (got != want) ++diff;
    }
  return diff;
}

// Answers the next message box with `button` and keeps its text.
void answerNextBox(QMessageBox::StandardButton button, QString* text) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, button, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    if (text) *text = box->text();
    box->button(button)->click();
    timer->stop();
    timer->deleteLater();
  });
  timer->start();
}

}  // namespace

class DrawingMenusTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void menusHaveTheirCaptionsAndHelpAndFollowZoomAndOpenCommands() {
    Window w;
    QMenuBar* bar = w.frm.menuBar();
    QCOMPARE(titles(bar),
             QStringList({"&File", "&SetParams", "&DrawingProcedures", "&Text", "&Move-numeric",
                          "&Rect.block-op", "&Window(F6)", "Modes", "&Help"}));
    QList<int> contexts;
    for (QAction* a : bar->actions()) contexts << helpContextOf(a);
    QCOMPARE(contexts, QList<int>({301, 306, 310, 318, 105, 330, 126, 300, 0}));
    QCOMPARE(items(w.frm, "File1"),
             QStringList({"&Open GRL=302", "&Save GRL=303", "&Print=304", "PCL Printing Mode=304",
                          "Windows Print Mode=304", "&Write PCX file=305",
                          QString::fromUtf8("Export SVG\u2026=301"),
                          QString::fromUtf8("Export PDF\u2026=301"),
                          QString::fromUtf8("Export PNG\u2026=301")}));
    QCOMPARE(items(w.frm, "SetParams1"), QStringList({"&FontCode=307", "&LineCode=308",
                                                      "&Angle of text=309", "&PointSizeCode=0"}));
    QCOMPARE(items(w.frm, "DrawingProcedures1"),
             QStringList({"&Line=311", "&Dashed line=311", "&Intermittent line=311", "&Graph=312",
                          "&Arrowhead=313", "&Rectangle=314", "&Circle/Arc=315",
                          "&Unfilled point symbol=316", "&Solid point symbol=316", "&Node=317"}));
    QCOMPARE(items(w.frm, "Unfilledpointsymbol1"),
             QStringList({"&Plus=316", "&X=316", "&Horizontal bar=316", "&Vertical bar=316",
                          "&Circle=316", "&Diamond=316", "&Square=316", "&Triangle=316"}));
    QCOMPARE(items(w.frm, "Solidpointsymbol1"),
             QStringList({"&Circle=316", "&Diamond=316", "&Square=316", "&Triangle=316"}));
    QCOMPARE(items(w.frm, "Movenumeric1"), QStringList({"&A-cursor=105", "&B-cursor=105"}));
    QCOMPARE(items(w.frm, "Rectblockop1"), QStringList({"&Copy block=319", "&Move block=320"}));
    QCOMPARE(items(w.frm, "Modes1"),
             QStringList({"&Draw mode (D)=321", "&Erase mode (E)=322", "&Vernier mode (V)=323",
                          "&Char mode (C)=324", "Reset all (Esc)=300", "Zoom out=300"}));
    QCOMPARE(items(w.frm, "Help1"), QStringList({"&Contents=0", "&Topic Search=0"}));
    QCOMPARE(w.act("Zoomout1")->shortcut(), QKeySequence(Qt::Key_F5));

    // Zoomed out: the drawing menus and the four pen and grid modes are off until zoomed in.
    QVERIFY(disabledTitles(bar).isEmpty());
    w.trigger("Zoomout1");
    QVERIFY(w.act("Zoomout1")->isChecked());
    QCOMPARE(w.label("Label1"), QString("Zoomed out"));
    QCOMPARE(disabledTitles(bar), QStringList({"&File", "&DrawingProcedures", "&Text",
                                               "&Move-numeric", "&Rect.block-op"}));
    for (const char* mode : {"Drawmode1", "Erasemode1", "Verniermode1", "Charmode1"})
      QVERIFY(!w.act(mode)->isEnabled());
    QVERIFY(w.act("Resetall1")->isEnabled() && w.act("Zoomout1")->isEnabled());
    // F5 zooms back in.
    w.frm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.frm));
    QTest::keyClick(&w.frm, Qt::Key_F5);
    QVERIFY(!w.ctx.drawing->state.ZoomedOut);
    QVERIFY(!w.act("Zoomout1")->isChecked());
    QVERIFY(disabledTitles(bar).isEmpty());
    QVERIFY(w.act("Drawmode1")->isEnabled());

    // Text entry open: no second multi-step command, no file over it, no zoom; drawing goes on.
    w.trigger("Text1");
    QCOMPARE(w.label("Label1"), QString("Text entry:"));
    const char* starters[] = {"Text1",      "OpenGRL1",   "WritePCXfile1", "Arrowhead1",
                              "CircleArc1", "Copyblock1", "Moveblock1",    "Zoomout1"};
    for (const char* name : starters) QVERIFY2(!w.act(name)->isEnabled(), name);
    QVERIFY(w.act("Line1")->isEnabled() && w.act("SaveGRL1")->isEnabled());
    QTest::keyClick(w.view, Qt::Key_Return);
    for (const char* name : starters) QVERIFY2(w.act(name)->isEnabled(), name);

    // The circle/arc prompt holds the A-cursor: its numeric move is off while the prompt is open.
    QVERIFY(w.ctx.session->StartCircleArc());
    w.ctx.drawing->repaint();
    QVERIFY(!w.act("Acursor1")->isEnabled() && w.act("Bcursor1")->isEnabled());
    QVERIFY(!w.act("Copyblock1")->isEnabled());
    w.ctx.session->PromptCancel();
    QVERIFY(w.act("Acursor1")->isEnabled() && w.act("Copyblock1")->isEnabled());
  }

  // The two print mode items share one mode with the graph definitions' files: the check marks
  // follow a GRD load when the menu is next shown.
  void printModeItemsFollowTheOneMode() {
    Window w;
    QVERIFY(w.act("PCLPrintingMode1")->isChecked() && !w.act("WindowsPrintMode1")->isChecked());
    w.trigger("WindowsPrintMode1");
    QVERIFY(!w.ctx.PclPrintMode);
    QVERIFY(!w.act("PCLPrintingMode1")->isChecked() && w.act("WindowsPrintMode1")->isChecked());
    w.ctx.graph.SaveGrd(w.dir.file("PCL.GRD"), true);
    w.ctx.graph.LoadGrd(w.dir.file("PCL.GRD"));
    QVERIFY(w.ctx.PclPrintMode);
    emit w.frm.findChild<QMenu*>("File1")->aboutToShow();
    QVERIFY(w.act("PCLPrintingMode1")->isChecked() && !w.act("WindowsPrintMode1")->isChecked());
    // A GRD saved now carries Windows print mode again.
    w.trigger("WindowsPrintMode1");
    QVERIFY(w.run("GWFILESAVE('" + w.dir.file("WIN") + "');"));
    QCOMPARE(test::readBytes(w.dir.file("WIN.GRD")).at(1), uint8_t(0));
  }

  // Cursors placed by clicks and keys, lines, a rectangle, symbols, a node, a graph and typed
  // text from the menus give the GRL file a script makes with the same commands.
  void drawingByHandEqualsTheScript() {
    Window w;
    graphData(w.ctx);
    w.trigger("Graph1");
    QVERIFY(w.host.messages.empty());
    w.click(1.0, 1.0);
    w.click(3.0, 2.0, Qt::ShiftModifier);
    QCOMPARE(w.label("Panel1"), QString("A:  X= 1.000  Y= 1.000"));
    QCOMPARE(w.label("Panel2"), QString("B:  X= 3.000  Y= 2.000"));
    w.trigger("Line1");
    const long afterLine = w.ctx.drawing->image().countInk();
    for (int i = 0; i < 4; ++i) QTest::keyClick(w.view, Qt::Key_Up);  // A to (1.0, 1.2)
    w.trigger("Dashedline1");
    QVERIFY(w.ctx.drawing->image().countInk() > afterLine);
    w.click(4.0, 1.0);
    w.click(5.5, 2.5, Qt::ShiftModifier);
    w.trigger("Rectangle1");
    w.trigger("Intermittentline1");
    w.click(6.0, 4.0);
    w.trigger("Circle2");
    w.click(6.5, 4.0);
    w.trigger("Triangle1");
    w.click(7.0, 4.0);
    w.trigger("Node1");
    w.click(1.5, 3.0);
    w.trigger("Text1");
    for (char c : std::string("Page 1")) QTest::keyClick(w.view, c);
    QTest::keyClick(w.view, Qt::Key_Return);
    QVERIFY(w.ctx.drawing->state.ImageChanged);
    w.files = {w.file("HAND.GRL")};
    QVERIFY(w.frm.SaveGrlClick());
    QVERIFY(w.frm.windowTitle().endsWith("HAND.GRL"));
    QVERIFY(!w.ctx.drawing->state.ImageChanged);

    Window s;
    graphData(s.ctx);
    QVERIFY(
        s.run("DWDRAWGRAPH;"
              "DWMAAF(1, 1); DWMBAF(3, 2); DWDRAWLINE; DWMAAF(1, 1.2); DWDRAWDASHED;"
              "DWMAAF(4, 1); DWMBAF(5.5, 2.5); DWDRAWRECT; DWDRAWINTERMITTENT;"
              "DWMAAF(6, 4); @DRAWPOINT(SC); DWMAAF(6.5, 4); @DRAWPOINT(OT);"
              "DWMAAF(7, 4); DWDRAWNODE; DWMAAF(1.5, 3); @T('Page 1');"
              "DWFILESAVE('" +
              s.dir.file("SCRIPT") + "');"));
    const std::vector<uint8_t> hand = test::readBytes(w.dir.file("HAND.GRL"));
    QVERIFY(hand.size() > 16004);  // more than an empty page
    QVERIFY(hand == test::readBytes(s.dir.file("SCRIPT.GRL")));
  }

  // Text typed with its commands (Ctrl+letter) draws what @T draws with the same text at the
  // same place; Ctrl+Enter ends the entry with "Getting CR".
  void typedTextEqualsTheScriptsText() {
    Window w;
    w.click(2.0, 5.0);
    w.trigger("Text1");
    QTest::keyClick(w.view, Qt::Key_X);
    QTest::keyClick(w.view, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(w.view, Qt::Key_2);
    QTest::keyClick(w.view, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(w.view, Qt::Key_Plus);
    QTest::keyClick(w.view, Qt::Key_Y);
    QTest::keyClick(w.view, Qt::Key_U, Qt::ControlModifier);  // superscript
    QTest::keyClick(w.view, Qt::Key_2);
    QTest::keyClick(w.view, Qt::Key_N, Qt::ControlModifier);  // back to normal
    QTest::keyClick(w.view, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(w.host.lastMessage(), std::string("Getting CR"));
    QCOMPARE(w.label("Label1"), QString(""));
    QCOMPARE(w.label("Panel1"), QString("A:  X= 2.000  Y= 5.000"));

    Window s;
    QVERIFY(s.run("DWMAAF(2, 5); @T('x'^Q'2'^R'+y'^U'2'^N);"));
    QVERIFY(s.ctx.drawing->image().countInk() > 100);
    QVERIFY(PageBits(*w.ctx.drawing) == PageBits(*s.ctx.drawing));
  }

  // "&Open GRL" over unsaved work asks first and loads only after a save that worked, after No,
  // or when nothing changed.
  void openGrlOverUnsavedWork() {
    Window other;
    other.ctx.drawing->DrawLine(true, 1, 1, 7, 9, 0.02);
    const std::string saved = other.dir.file("SAVED.GRL");
    other.ctx.drawing->SaveGrl(saved);
    const long savedInk = other.ctx.drawing->image().countInk();

    Window w;
    auto change = [&w] {
      w.ctx.drawing->DrawLine(true, 2, 2, 2, 8, 0.01);
      w.ctx.drawing->state.ImageChanged = true;
    };
    change();
    const long mine = w.ctx.drawing->image().countInk();
    const QString file = QString::fromStdString(saved);
    // Cancel: nothing happens.
    w.files = {file};
    w.host.answers = {Answer::Cancel};
    w.trigger("OpenGRL1");
    QCOMPARE(QString::fromStdString(w.host.questions.back()),
             QString("Opening a GRL file --- Image has been changed--SAVE?"));
    QCOMPARE(w.ctx.drawing->image().countInk(), mine);
    // Yes, then the save dialog cancelled: still nothing.
    w.files = {file, QString()};
    w.host.answers = {Answer::Yes};
    w.trigger("OpenGRL1");
    QCOMPARE(w.asked.mid(1),
             (QList<TDrFrm::FileKind>{TDrFrm::FileKind::OpenGrl, TDrFrm::FileKind::SaveGrl}));
    QCOMPARE(w.ctx.drawing->image().countInk(), mine);
    QVERIFY(w.ctx.drawing->state.ImageChanged);
    // Yes and a save: the work is in its file, then the chosen one is loaded.
    w.files = {file, w.file("MINE.GRL")};
    w.host.answers = {Answer::Yes};
    w.trigger("OpenGRL1");
    QVERIFY(QFile::exists(w.file("MINE.GRL")));
    QCOMPARE(w.ctx.drawing->image().countInk(), savedInk);
    QCOMPARE(w.frm.windowTitle(), "Drawing    " + file);
    // An open dialog cancelled asks nothing.
    change();
    const std::size_t questions = w.host.questions.size();
    w.trigger("OpenGRL1");
    QCOMPARE(w.host.questions.size(), questions);
  }

  // Closing with changes asks; Cancel and a cancelled save keep the window and the drawing, No
  // and a good save let it go, ending whatever was open first.
  void closeQuestionWithEachAnswer() {
    {
      Window w;
      w.ctx.drawing->DrawLine(true, 1, 1, 2, 2, 0.01);
      w.host.answers = {Answer::Cancel, Answer::Yes};
      for (int i = 0; i < 2; ++i) {
        QVERIFY(!w.frm.close());
        QVERIFY(w.frm.isVisible());
        QVERIFY(w.ctx.drawing && w.ctx.drawing->state.ImageChanged);
      }
      QCOMPARE(QString::fromStdString(w.host.questions.back()),
               QString("Closing window --- Image has been changed--SAVE?"));
      QCOMPARE(w.asked, QList<TDrFrm::FileKind>{TDrFrm::FileKind::SaveGrl});
    }
    {
      Window w;
      w.ctx.drawing->DrawLine(true, 1, 1, 2, 2, 0.01);
      w.trigger("Text1");
      QTest::keyClick(w.view, Qt::Key_A);
      w.host.answers = {Answer::No};
      QVERIFY(w.frm.close());
      QVERIFY(w.ctx.DrawingClosed && !w.ctx.drawing && !w.ctx.session);
    }
    {
      Window w;
      w.ctx.drawing->DrawLine(true, 1, 1, 2, 2, 0.01);
      w.host.answers = {Answer::Yes};
      w.files = {w.file("KEPT.GRL")};
      QVERIFY(w.frm.close());
      QVERIFY(QFile::exists(w.file("KEPT.GRL")));
      QVERIFY(w.ctx.DrawingClosed);
      QCOMPARE(w.host.windowsShown.back(), WorkWindow::Drawing);  // shown while it saved
    }
  }

  // The program's close asks the drawing in a real message box; Cancel keeps everything running.
  void programCloseAsksAboutTheDrawing() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.SHOWDRAWING();
    ctx.drawing->DrawLine(true, 1, 1, 2, 2, 0.01);
    QString asked;
    answerNextBox(QMessageBox::Cancel, &asked);
    QVERIFY(!shell.mainWindow()->close());
    QCOMPARE(asked, QString("Closing window --- Image has been changed--SAVE?"));
    QVERIFY(shell.mainWindow()->isVisible());
    QVERIFY(ctx.drawing && ctx.drawing->state.ImageChanged);
    answerNextBox(QMessageBox::No, &asked);
    QVERIFY(shell.mainWindow()->close());
  }

  // A script that clears the drawing and draws on: the old window goes, a new one shows the new
  // drawing, and nothing is left pointing at the window that went.
  void aScriptThatClearsTheDrawingGetsANewWindow() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.SHOWDRAWING();
    QPointer<TDrFrm> first = shell.drawingWindow();
    ctx.runner.setText("@CLEARDRAWING; DWMAAF(1, 1); DWMBAF(5, 5); DWDRAWLINE;");
    ctx.runner.RUN();
    QVERIFY(!ctx.runner.ScriptError);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    TDrFrm* w = shell.drawingWindow();
    QVERIFY(w && w->isVisible());
    ctx.drawing->repaint();
    ctx.drawing->SetACursor(2, 2);
    QCOMPARE(w->findChild<QLabel*>("Panel1")->text(), QString("A:  X= 2.000  Y= 2.000"));
    QVERIFY(w->findChild<QWidget*>("PB1")->grab().toImage().pixelColor(300, 700) ==
            QColor(Qt::black));
  }

  // A drawing a script made after blanking the old one (no window shows it yet) is still asked
  // about when the program closes.
  void programCloseAsksAboutADrawingWithoutItsWindow() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.SHOWDRAWING();
    ctx.runner.setText("GWBLANKDRAWING; DWMAAF(1, 1); DWDRAWLINE;");
    ctx.runner.RUN();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!shell.drawingWindow());
    QVERIFY(ctx.drawing && ctx.drawing->state.ImageChanged);
    QString asked;
    answerNextBox(QMessageBox::Cancel, &asked);
    QVERIFY(!shell.mainWindow()->close());
    QCOMPARE(asked, QString("Closing window --- Image has been changed--SAVE?"));
    QVERIFY(ctx.drawing && shell.mainWindow()->isVisible());
  }

  // "Print to file" in the print dialog and --print-to in batch mode give the same page, in
  // either print mode; the dialog opens once per print.
  void printToFileMatchesBatchPrintTo() {
    if (!havePoppler()) QSKIP("pdftoppm (Debian poppler-utils) is missing");
    const QByteArray bin = qgetenv("PLOTANE_BIN");
    if (bin.isEmpty()) QSKIP("PLOTANE_BIN (the program, set by ctest) is not set");
    Window w;
    // A GRD in Windows print mode, and a script that draws, saves and prints.
    w.ctx.graph.SaveGrd(w.dir.file("WIN.GRD"), false);
    std::ofstream(w.dir.file("PAGE.EBT"))
        << "GWFILELOAD(WIN); DWMAAF(1, 1); DWMBAF(7, 9); DWDRAWRECT; DWDRAWLINE;"
           "DWMAAF(2, 5); @T('printed page'); DWFILESAVE(PAGE); DWPRINT;\n";
    QProcess batch;
    batch.setWorkingDirectory(w.file(""));
    batch.start(QString(bin), {"--batch", "PAGE", "--print-to", "batch.pdf"});
    QVERIFY(batch.waitForFinished(120000));
    QCOMPARE(batch.exitCode(), 0);
    const QByteArray batchPage = render(w.file("batch.pdf"));

    w.files = {w.file("PAGE.GRL")};
    w.trigger("OpenGRL1");
    const std::vector<uint8_t> bits = PageBits(*w.ctx.drawing);
    QVERIFY(std::count_if(bits.begin(), bits.end(), [](uint8_t b) { return b; }) > 1000);
    QCOMPARE(sheetDifferences(batchPage, bits), 0L);
    int dialogs = 0;
    QString out;
    w.frm.printDialog = [&](QPrinter& printer) {
      ++dialogs;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(out);
      printer.setPageSize(DefaultPaper());
      return true;
    };
    for (bool pcl : {false, true}) {
      w.trigger(pcl ? "PCLPrintingMode1" : "WindowsPrintMode1");
      out = w.file(pcl ? "pcl-mode.pdf" : "windows-mode.pdf");
      const int busy = w.host.busyCalls;
      w.trigger("Print1");
      QVERIFY(w.host.busyCalls > busy);
      QVERIFY(w.host.messages.empty());
      QVERIFY2(render(out) == batchPage, qPrintable(out));
    }
    QCOMPARE(dialogs, 2);
    // The dialog cancelled prints nothing.
    w.frm.printDialog = [](QPrinter&) { return false; };
    QFile::remove(w.file("pcl-mode.pdf"));
    w.trigger("Print1");
    QVERIFY(!QFile::exists(w.file("pcl-mode.pdf")));
    // "Export PDF..." and "Export SVG..." write the page as vectors (their agreement with the
    // raster is the export tests' business).
    w.files = {w.file("export.pdf"), w.file("export.svg")};
    w.trigger("ExportPDF1");
    w.trigger("ExportSVG1");
    QVERIFY(w.host.messages.empty());
    for (const char* name : {"export.pdf", "export.svg"}) {
      QFile f(w.file(name));
      QVERIFY2(f.open(QIODevice::ReadOnly), name);
      QVERIFY(f.read(5) == (name[7] == 'p' ? "%PDF-" : "<?xml"));
    }
  }

  // PCL mode sends the job to the queue chosen in the print dialog. Run by tools/test-printing
  // against its own CUPS server, in a folder holding DEMO.GRL, with PLOTANE_CUPS_QUEUE naming a
  // PCL queue that is not the default one; the script compares what the printer received.
  void pclJobGoesToTheChosenQueue() {
    const QString queue = qEnvironmentVariable("PLOTANE_CUPS_QUEUE");
    if (queue.isEmpty()) QSKIP("run by tools/test-printing with its own print service");
    Window w;
    w.files = {QDir::current().filePath("DEMO.GRL")};
    w.trigger("OpenGRL1");
    QVERIFY(w.host.messages.empty());
    int dialogs = 0;
    w.frm.printDialog = [&](QPrinter& printer) {
      ++dialogs;
      printer.setPrinterName(queue);
      return true;
    };
    w.trigger("PCLPrintingMode1");
    w.trigger("Print1");
    QCOMPARE(dialogs, 1);
    QVERIFY2(w.host.messages.empty(), w.host.lastMessage().c_str());
  }

  // A printer of 600 dots per inch gets the page at its true 8 x 10 inches, not at half size.
  void aPrinterOf600DpiPrintsTrueSize() {
    if (!havePoppler()) QSKIP("pdftoppm (Debian poppler-utils) is missing");
    test::TestHost host;
    test::TempDir dir;
    Drawing d(host);
    d.DrawLine(true, 0.5, 0.5, 7.5, 9.5, 0.02);
    d.image().row(0)[0] |= 0x80;
    d.image().row(2999)[299] |= 0x01;
    const QString pdf = QString::fromStdString(dir.file("600.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setResolution(600);
    std::string error;
    QVERIFY2(PrintPageOn(printer, PageBits(d), false, error), error.c_str());
    QCOMPARE(sheetDifferences(render(pdf), PageBits(d)), 0L);
  }

  // "Export PNG..." writes the 2400 x 3000 page, 1 bit, 300 dpi; a file that cannot be written
  // is reported.
  void exportPngIsThePage() {
    Window w;
    w.ctx.drawing->DrawLine(true, 1, 1, 7, 1, 0.02);
    w.files = {w.file("page.png")};
    w.trigger("ExportPNG1");
    QImage png(w.file("page.png"));
    QCOMPARE(png.size(), QSize(2400, 3000));
    QCOMPARE(png.depth(), 1);
    QCOMPARE(png.dotsPerMeterX(), 11811);
    const std::vector<uint8_t> bits = PageBits(*w.ctx.drawing);
    long diff = 0;
    for (int r = 0; r < 3000; r += 3)
      for (int c = 0; c < 2400; ++c)
        diff +=
            (png.pixelColor(c, r) == Qt::black) != bool(bits[r * 300 + c / 8] & (0x80 >> (c & 7)));
    QCOMPARE(diff, 0L);
    // At 600 dpi the page is drawn again from its vectors, twice as many pixels each way.
    w.exportDpi = 600;
    w.files = {w.file("page600.png")};
    w.trigger("ExportPNG1");
    QCOMPARE(QImage(w.file("page600.png")).size(), QSize(4800, 6000));
    w.exportDpi = 300;
    w.files = {w.file("no/such/page.png")};
    w.trigger("ExportPNG1");
    QVERIFY(w.host.lastMessage().find("no/such/page.png") != std::string::npos);
  }

  // At a device pixel ratio of 2 every preview pixel, ink or cursor mark, is a sharp 2 x 2 block
  // in its own place: no grey, nothing shifted.
  void previewIsCrispAtPixelRatio2() {
    Window w;
    w.ctx.drawing->DrawLine(true, 3.0, 2.0, 3.0, 4.0, 0.003);  // one preview column at x = 300
    w.click(2.35, 6.0);
    QImage shown(1600, 2000, QImage::Format_RGB32);
    shown.setDevicePixelRatio(2);
    shown.fill(Qt::red);
    w.view->render(&shown);
    QImage one(800, 1000, QImage::Format_RGB32);
    w.view->render(&one);
    long grey = 0, mismatch = 0;
    for (int y = 0; y < 2000; ++y)
      for (int x = 0; x < 1600; ++x) {
        const QRgb p = shown.pixel(x, y);
        if (p != qRgb(0, 0, 0) && p != qRgb(255, 255, 255)) ++grey;
        if (p != one.pixel(x / 2, y / 2)) ++mismatch;
      }
    QCOMPARE(grey, 0L);
    QCOMPARE(mismatch, 0L);
    // The I-beam at (2.35, 6.0) is preview column 235, the line preview column 300.
    QCOMPARE(one.pixel(235, 400), qRgb(0, 0, 0));
    QCOMPARE(one.pixel(300, 700), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(470, 800), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(471, 801), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(601, 1400), qRgb(0, 0, 0));
  }
};

QTEST_MAIN(DrawingMenusTest)
#include "test_drawing_menus.moc"
