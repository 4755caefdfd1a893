// The drawing window's dialogs and stay-on-top boxes, by flow: an arrowhead and a circle/arc
// through the prompt box while the cursors move; block copy and move through both boxes; a PCX
// file of a block, decoded; the font, line, point size and angle dialogs with the platform font
// dialog; the numeric move on a log axis; and the boxes closed by a discard. The rules behind
// them are tested in tests/drawing; here only the wiring.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <deque>
#include <functional>

#include "FileBytes.h"
#include "TestHost.h"
#include "drawing/DrawingForms.h"
#include "drawing/ui/DrawingCommands.h"
#include "drawing/ui/DrawingDialogs.h"
#include "drawing/ui/TDrFrm.h"
#include "graph/ui/GraphDialogs.h"
#include "shell/AppContext.h"

using namespace plotane;

namespace {

struct HelpHost : test::TestHost {
  std::vector<int> help;
  void showHelp(int context) override { help.push_back(context); }
};

// Answers the modal dialogs a command opens, in order: each handler waits for a dialog of its
// own type (a dialog that shows again after a nested one closed is not taken for the next), runs
// inside that dialog's event loop and must close it.
class Answers : public QObject {
 public:
  QStringList seen;  // the caption of every dialog answered
  Answers() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
  }
  template <class T>
  void add(std::function<void(T*)> handler) {
    queue_.push_back({[](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                      [handler](QWidget* w) { handler(qobject_cast<T*>(w)); }});
  }

 private:
  struct Entry {
    std::function<bool(QWidget*)> fits;
    std::function<void(QWidget*)> run;
  };
  void poll() {
    QWidget* m = QApplication::activeModalWidget();
    if (busy_ || !m || queue_.empty() || !queue_.front().fits(m)) return;
    Entry e = std::move(queue_.front());
    queue_.pop_front();
    seen << m->windowTitle();
    busy_ = true;
    // Outside the timer's callback, so that a dialog the handler opens finds the timer free.
    QTimer::singleShot(0, this, [this, e, m = QPointer<QWidget>(m)] {
      busy_ = false;
      if (!m) return;
      e.run(m);
      // A failed check must not leave the test waiting in the dialog.
      if (m && m->isVisible() && QTest::currentTestFailed())
        if (auto* d = qobject_cast<QDialog*>(m.data())) d->reject();
    });
  }
  std::deque<Entry> queue_;
  QTimer timer_;
  bool busy_ = false;
};

void setEdit(QWidget* dialog, const char* name, const QString& text) {
  auto* e = dialog->findChild<QLineEdit*>(name);
  QVERIFY2(e, name);
  e->setText(text);
}

// A drawing window with its dialog commands over a test host: questions and messages are
// answered by the host, dialogs by `answers`.
struct Window {
  HelpHost host;
  AppContext ctx{host};
  TDrFrm frm{ctx};
  DrawingCommands* cmd = new DrawingCommands(ctx, &frm);
  Answers answers;
  QWidget* view = nullptr;
  int changes = 0, states = 0;
  Window() {
    frm.show();
    view = frm.findChild<QWidget*>("PB1");
    QObject::connect(cmd, &DrawingCommands::changed, [this] { ++changes; });
    QObject::connect(cmd, &DrawingCommands::stateChanged, [this] { ++states; });
  }
  Drawing& d() { return *ctx.drawing; }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(view, k, m); }
};

// A drawing made by the model alone, to compare the window's result with.
struct Reference {
  test::TestHost host;
  Drawing d{host};
};

bool sameRaster(const Drawing& a, const Drawing& b) {
  for (int r = 0; r < kRasterRows; ++r)
    if (std::memcmp(a.image().row(r), b.image().row(r), kRasterRowBytes) != 0) return false;
  return true;
}

void click(QWidget* box, const char* button) {
  auto* b = box->findChild<QPushButton*>(button);
  QVERIFY2(b, button);
  b->click();
}

// A PCX file decoded: its size and pixels, true for black.
struct PcxImage {
  int width = 0, height = 0;
  std::vector<std::vector<bool>> black;
};
bool decodePcx(const std::vector<uint8_t>& f, PcxImage& img) {
  if (f.size() < 128 || f[0] != 10 || f[2] != 1 || f[3] != 1) return false;
  auto u16 = [&](int at) { return int(f[std::size_t(at)] | f[std::size_t(at) + 1] << 8); };
  img.width = u16(8) - u16(4) + 1;
  img.height = u16(10) - u16(6) + 1;
  const int bpl = u16(66);
  std::size_t at = 128;
  for (int r = 0; r < img.height; ++r) {
    std::vector<uint8_t> line;
    while (int(line.size()) < bpl) {  // runs never cross a line
      if (at >= f.size()) return false;
      uint8_t b = f[at++];
      int count = 1;
      if (b >= 0xC0) {
        count = b - 0xC0;
        if (at >= f.size()) return false;
        b = f[at++];
      }
      line.insert(line.end(), std::size_t(count), b);
    }
    if (int(line.size()) != bpl) return false;
    std::vector<bool> row(std::size_t(img.width));
    for (int c = 0; c < img.width; ++c)
      row[std::size_t(c)] = !(line[std::size_t(c >> 3)] & (0x80 >> (c & 7)));
    img.black.push_back(row);
  }
  return at == f.size();
}

}  // namespace

class DrawingDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void arrowheadAndCircleArcThroughThePromptBox() {
    Window w;
    w.cmd->startArrowhead();
    TOKFrm* box = w.cmd->promptBox();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->windowTitle(), QString("Move cursor(s) if needed....."));
    QCOMPARE(box->findChild<QLabel*>("Label1")->text(),
             QString("Arrow--A at head, B in tail direction"));
    QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!QApplication::activeModalWidget());  // the drawing window is not blocked
    QVERIFY(w.cmd->boxOpen());
    // A second multi-step command does not start while the box is open.
    w.cmd->startBlock(false);
    QVERIFY(!w.cmd->selectBox());
    QVERIFY(w.host.questions.empty());

    // The cursors move in the drawing window while the box waits.
    for (int i = 0; i < 4; ++i) w.key(Qt::Key_Right);
    w.key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(w.d().image().countInk(), 0L);
    QCOMPARE(w.frm.findChild<QLabel*>("Panel1")->text(), QString("A:  X= 1.300  Y= 6.000"));
    QCOMPARE(w.frm.findChild<QLabel*>("Panel2")->text(), QString("B:  X= 7.700  Y= 9.550"));
    click(box, "OKBtn");
    QVERIFY(!w.cmd->promptBox() && !w.cmd->boxOpen());
    Reference ref;
    const PageXY a = w.d().state.A;
    ref.d.SetACursor(a.X, a.Y);
    ref.d.SetBCursor(w.d().state.B.X, w.d().state.B.Y);
    ref.d.DrawArrowhead();
    QVERIFY(ref.d.image().countInk() > 0);
    QVERIFY(sameRaster(w.d(), ref.d));

    // Circle/arc: A (the centre) stays put, B moves; OK draws the arc.
    w.d().SetBCursor(2.3, 6.0);
    ref.d.SetBCursor(2.3, 6.0);
    w.cmd->startCircleArc();
    box = w.cmd->promptBox();
    QVERIFY(box);
    QCOMPARE(box->findChild<QLabel*>("Label1")->text(),
             QString("Move B if arc desired---then press (OK)"));
    w.key(Qt::Key_Left);
    QCOMPARE(w.d().state.A.X, a.X);
    w.cmd->moveNumeric(false);  // the A-cursor cannot be moved numerically either
    QVERIFY(w.answers.seen.isEmpty());
    w.key(Qt::Key_Left, Qt::ShiftModifier);
    click(box, "OKBtn");
    QVERIFY(w.d().state.AMovable);
    ref.d.BeginCircleArc();
    ref.d.SetBCursor(w.d().state.B.X, w.d().state.B.Y);
    ref.d.FinishCircleArc();
    QVERIFY(sameRaster(w.d(), ref.d));

    // Cancel, and the box's own close button, draw nothing.
    const long ink = w.d().image().countInk();
    w.cmd->startCircleArc();
    click(w.cmd->promptBox(), "CancelBtn");
    QVERIFY(!w.cmd->promptBox() && w.d().state.AMovable);
    w.cmd->startArrowhead();
    w.cmd->promptBox()->close();
    QVERIFY(!w.cmd->promptBox() && !w.ctx.session->busy());
    QCOMPARE(w.d().image().countInk(), ink);
    QVERIFY(w.states >= 6 && w.changes >= 6);
  }

  void blockCopyAndMoveThroughBothBoxes() {
    Window w;
    Reference ref;
    for (Drawing* d : {&w.d(), &ref.d}) {
      d->SetACursor(1, 1);
      d->SetBCursor(2, 1.5);
      d->DrawRectangle();
    }
    w.cmd->startBlock(false);
    TBlkBox1* select = w.cmd->selectBox();
    QVERIFY(select && select->isVisible());
    QCOMPARE(select->windowTitle(), QString("Select block"));
    QCOMPARE(select->findChild<QLabel*>("Label1")->text(), QString("Use cursors to select block,"));
    QVERIFY(!QApplication::activeModalWidget());
    click(select, "OKBtn");
    QVERIFY(!w.cmd->selectBox());
    TBlkBox2* block = w.cmd->blockBox();
    QVERIFY(block && block->isVisible());
    QCOMPARE(block->windowTitle(), QString("Block Copy"));
    // The destination: A moves by keys and B follows.
    for (int i = 0; i < 10; ++i) w.key(Qt::Key_Up);
    QCOMPARE(w.d().state.B.Y, 2.0);
    block->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    click(block, "OKBtn");
    QVERIFY(!w.cmd->blockBox() && !w.cmd->boxOpen());
    QVERIFY(w.d().state.ImageChanged);
    ref.d.SetACursor(1, 1);
    ref.d.SetBCursor(2, 1.5);
    QVERIFY(ref.d.DefineBlock());
    ref.d.SetACursor(1, 1.5);
    ref.d.BlockTransfer(true);
    QVERIFY(sameRaster(w.d(), ref.d));

    // Move, placed by a click: the source is cleared.
    w.d().SetACursor(1, 1.5);
    w.d().SetBCursor(2, 2);
    w.cmd->startBlock(true);
    click(w.cmd->selectBox(), "OKBtn");
    QCOMPARE(w.cmd->blockBox()->windowTitle(), QString("Block Move"));
    QTest::mouseClick(w.view, Qt::LeftButton, Qt::NoModifier, QPoint(400, 500));  // (4, 5)
    click(w.cmd->blockBox(), "OKBtn");
    ref.d.SetACursor(1, 1.5);
    ref.d.SetBCursor(2, 2);
    QVERIFY(ref.d.DefineBlock());
    ref.d.setBlockMove(true);
    ref.d.SetACursor(4, 5);
    ref.d.BlockTransfer(false);
    QVERIFY(sameRaster(w.d(), ref.d));
  }

  void blockCommandsInLandscapeAlwaysReturnToLandscape() {
    Window w;
    w.d().SetLandscape();
    // No: nothing starts.
    w.cmd->startBlock(false);
    QCOMPARE(w.host.questions.back(), std::string("Portrait mode is required! Switch?"));
    QVERIFY(!w.cmd->selectBox() && w.d().state.LandscapeMode);
    // Cancel in the select box; Cancel in the block box; a refused block.
    w.host.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    w.cmd->startBlock(false);
    QVERIFY(!w.d().state.LandscapeMode);
    click(w.cmd->selectBox(), "CancelBtn");
    QVERIFY(w.d().state.LandscapeMode && !w.cmd->boxOpen());
    w.cmd->startBlock(true);
    click(w.cmd->selectBox(), "OKBtn");
    click(w.cmd->blockBox(), "CancelBtn");
    QVERIFY(w.d().state.LandscapeMode && !w.d().state.BlockMode && !w.cmd->boxOpen());
    QVERIFY(!w.d().state.ImageChanged);
    w.cmd->startBlock(false);
    w.d().SetBCursor(0.5, 0.5);  // B below and left of A
    click(w.cmd->selectBox(), "OKBtn");
    QCOMPARE(w.host.lastMessage(), std::string("Bad block definition"));
    QVERIFY(!w.cmd->selectBox() && !w.cmd->blockBox() && w.d().state.LandscapeMode);
  }

  void pcxOfABlockWrittenAndDecoded() {
    Window w;
    QTemporaryDir dir;
    w.d().SetACursor(1, 1);
    w.d().SetBCursor(1.5, 1.3);
    w.d().DrawLineCommand();
    w.d().SetACursor(0.9, 0.9);
    w.d().SetBCursor(1.6, 1.4);
    w.d().SetLandscape();  // the cursors turn with the page and back
    w.host.answers = {Answer::Yes, Answer::Yes};

    // Cancelled save dialog: nothing written, landscape again, the request ended.
    QString filter, suffix;
    w.answers.add<QFileDialog>([&](QFileDialog* fd) {
      filter = fd->nameFilters().join(";");
      suffix = fd->defaultSuffix();
      fd->reject();
    });
    w.cmd->startPcx();
    QVERIFY(w.cmd->selectBox());
    QVERIFY(w.d().state.PcxRequest && !w.d().state.LandscapeMode);
    click(w.cmd->selectBox(), "OKBtn");
    QCOMPARE(filter, QString("PCX image file (*.PCX *.pcx)"));
    QCOMPARE(suffix, QString("PCX"));
    QVERIFY(!w.cmd->boxOpen() && !w.d().state.PcxRequest && w.d().state.LandscapeMode);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // Written: the default extension is added, the block decodes to the raster's pixels.
    w.answers.add<QFileDialog>([&](QFileDialog* fd) {
      fd->setDirectory(dir.path());
      auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(name);
      name->setText("block");
      static_cast<QDialog*>(fd)->accept();
    });
    w.cmd->startPcx();
    click(w.cmd->selectBox(), "OKBtn");
    QVERIFY(w.d().state.LandscapeMode && !w.d().state.PcxRequest && !w.cmd->boxOpen());
    PcxImage img;
    QVERIFY(decodePcx(test::readBytes(dir.filePath("block.PCX").toStdString()), img));
    const BlockRect& k = w.d().block();
    QCOMPARE(img.width, k.right - k.left + 1);
    QCOMPARE(img.height, k.bottom - k.top + 1);
    long black = 0;
    for (int r = 0; r < img.height; ++r)
      for (int c = 0; c < img.width; ++c) {
        const bool ink = w.d().image().pixel(k.top + r, k.left + c);
        QCOMPARE(img.black[std::size_t(r)][std::size_t(c)], ink);
        black += ink;
      }
    QVERIFY(black > 100);
  }

  void fontLineSizeAndAngleDialogs() {
    Window w;
    w.d().SetTextAngle(45);
    QString face;
    // Font dialog: an empty slot refuses OK; its definition through the platform font dialog.
    w.answers.add<TFontFrm>([&](TFontFrm* f) {
      QCOMPARE(f->windowTitle(), QString("Text Font Selection"));
      QCOMPARE(f->list()->currentRow(), 0);
      QCOMPARE(f->list()->item(0)->text(), QString("Drawn-Line FontCode =   3  (11)"));
      f->list()->setCurrentRow(3);  // C
      click(f, "OKBtn");
      QVERIFY(f->isVisible());
      click(f, "ChangeBtn");  // the platform font dialog opens (next answer)
      QCOMPARE(f->list()->item(3)->text(), QString("C:  %1,  14, Bold").arg(face));
      click(f, "OKBtn");
    });
    w.answers.add<QFontDialog>([&](QFontDialog* fd) {
      QFont font("Liberation Serif", 14);
      font.setBold(true);
      fd->setCurrentFont(font);
      face = fd->currentFont().family().left(35);
      fd->accept();
    });
    // The angle dialog follows: 45 degrees cannot stay with a letter font.
    w.answers.add<TATFrm>([&](TATFrm* a) {
      QCOMPARE(a->windowTitle(), QString("Select Angle of Text"));
      a->findChild<RadioGroup*>("RadioGroup1")->findChildren<QRadioButton*>().at(1)->click();
      a->accept();
    });
    w.cmd->chooseFontCode();
    QCOMPARE(w.host.beeps, 1);
    QCOMPARE(w.d().state.FontCode, int16_t(103));
    QCOMPARE(w.d().state.TextAngle, 90.0);
    QCOMPARE(QString::fromStdString(w.ctx.graph.def.LetterFonts[2].name), face);
    QCOMPARE(int(w.ctx.graph.def.LetterFonts[2].size), 14);
    QCOMPARE(int(w.ctx.graph.def.LetterFonts[2].style), 2);
    QVERIFY(w.ctx.graph.Modified());

    // Line 0 through the drawn-line code list; Delete on C is dropped by Cancel.
    w.answers.add<TFontFrm>([&](TFontFrm* f) {
      QCOMPARE(f->list()->currentRow(), 3);  // opens on the letter font in use
      QTest::keyClick(f->list(), Qt::Key_Delete);
      QCOMPARE(f->list()->item(3)->text(), QString("C:  "));
      f->reject();
    });
    w.cmd->chooseFontCode();
    QCOMPARE(w.ctx.graph.def.LetterFonts[2].size, uint8_t(14));
    w.answers.add<TFontFrm>([&](TFontFrm* f) {
      f->list()->setCurrentRow(0);
      const QPoint at = f->list()->visualItemRect(f->list()->item(0)).center();
      QTest::mouseClick(f->list()->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(f->list()->viewport(), Qt::LeftButton, {}, at);
      QCOMPARE(f->list()->item(0)->text(), QString("Drawn-Line FontCode =   8  (29)"));
      click(f, "OKBtn");
    });
    w.answers.add<TFSelect>([&](TFSelect* s) {
      QCOMPARE(s->windowTitle(), QString("Set Drawn-Line Font Code"));
      QCOMPARE(s->list()->count(), 12);
      s->list()->setCurrentRow(10);  // code 8
      s->accept();
    });
    w.cmd->chooseFontCode();
    QCOMPARE(w.d().state.FontCode, int16_t(8));
    QCOMPARE(w.d().state.TextAngle, 90.0);  // a stroke font needs no angle dialog

    // Line code and point size.
    w.answers.add<TLSelect>([&](TLSelect* l) {
      QCOMPARE(l->windowTitle(), QString("Set line code"));
      QCOMPARE(l->list()->currentRow(), 2);
      QCOMPARE(l->list()->item(4)->text(), QString("4   0.023 (0.58)"));
      l->list()->setCurrentRow(4);
      l->accept();
    });
    w.cmd->chooseLineCode();
    QCOMPARE(w.d().state.LineCode, int16_t(4));
    w.answers.add<TFSelect>([&](TFSelect* s) {
      QCOMPARE(s->list()->currentRow(), 5);  // point size code 3
      s->list()->setCurrentRow(0);
      s->accept();
    });
    w.cmd->choosePointSizeCode();
    QCOMPARE(w.d().state.PointSizeCode, int16_t(-2));

    // Angle: a stroke font asks for a real; the A I-beam turns with it.
    w.host.reals = {30};
    w.cmd->chooseTextAngle();
    QCOMPARE(w.host.prompts.back(), std::string("Angle of text from horizontal, degrees"));
    QCOMPARE(w.d().state.TextAngle, 30.0);
    // A letter font at 30 degrees: the angle dialog's Cancel still applies its choice.
    w.ctx.textEngine().SetFontCode(103);
    w.answers.add<TATFrm>([&](TATFrm* a) { a->reject(); });
    w.cmd->chooseTextAngle();
    QCOMPARE(w.d().state.TextAngle, 0.0);
    QCOMPARE(int(w.host.prompts.size()), 1);
  }

  void numericMoveOnALogAxis() {
    Window w;
    w.ctx.graph.def.X.LogAxis = 1;
    // Graph: X log10 0..3 over 1..7 in, Y 0..10 over 2..8 in.
    QVERIFY(w.d().SetUserTransform(0, 0, 3, 10, 1, 2, 7, 8));
    int shown = 0;
    w.answers.add<TMovNumFrm>([&](TMovNumFrm* n) {
      QCOMPARE(n->windowTitle(), QString("Move cursor (Numeric specification)"));
      QCOMPARE(n->findChild<QLineEdit*>("Edit1")->text(), QString(""));
      n->findChild<RadioGroup*>("RadioGroup2")->findChildren<QRadioButton*>().at(1)->click();
      setEdit(n, "Edit1", "0");
      setEdit(n, "Edit2", "5");
      click(n, "OKBtn");
      QVERIFY(n->isVisible());
      shown = int(w.host.messages.size());
      click(n, "HelpBtn");
      setEdit(n, "Edit1", "100");
      click(n, "OKBtn");
    });
    w.cmd->moveNumeric(true);
    QCOMPARE(shown, 1);
    QCOMPARE(w.host.lastMessage(), std::string("Incorrect coordinate specification"));
    QCOMPARE(w.host.help, std::vector<int>{105});
    QCOMPARE(w.frm.findChild<QLabel*>("Panel2")->text(), QString("B:  X= 5.000  Y= 5.000"));
  }

  void aDiscardClosesEveryBox() {
    Window w;
    w.d().SetLandscape();
    w.host.answers = {Answer::Yes, Answer::Yes};
    // closeBoxes with each box open: the pending state ends and the orientation returns.
    w.cmd->startCircleArc();
    w.cmd->closeBoxes();
    QVERIFY(!w.cmd->promptBox() && !w.cmd->boxOpen() && w.d().state.AMovable);
    w.cmd->startBlock(false);
    w.cmd->closeBoxes();
    QVERIFY(!w.cmd->selectBox() && w.d().state.LandscapeMode);
    w.cmd->startBlock(true);
    click(w.cmd->selectBox(), "OKBtn");
    QVERIFY(w.cmd->blockBox());
    w.cmd->closeBoxes();
    QVERIFY(!w.cmd->blockBox() && !w.d().state.BlockMode && w.d().state.LandscapeMode);
    QCOMPARE(w.d().image().countInk(), 0L);

    // The drawing discarded from elsewhere (a script, the graph window) closes the box too; a
    // hook the window set on the session still runs.
    int windowHook = 0;
    w.ctx.session->onPendingEnded = [&] { ++windowHook; };
    w.cmd->startArrowhead();
    QPointer<TOKFrm> box = w.cmd->promptBox();
    w.ctx.discardDrawing();
    QVERIFY(!w.cmd->promptBox() && !w.cmd->boxOpen());
    QCOMPARE(windowHook, 1);
    QTRY_VERIFY(!box);
    // Nothing runs on the drawing that is gone.
    w.cmd->startArrowhead();
    w.cmd->chooseLineCode();
    QVERIFY(!w.cmd->promptBox());
  }
};

QTEST_MAIN(DrawingDialogsTest)
#include "test_drawing_dialogs.moc"
