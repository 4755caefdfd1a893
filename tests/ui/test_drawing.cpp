// The drawing window: keys and clicks move the cursors and the status bar follows. The rules
// behind them are tested in tests/drawing/test_session.cpp; here only the wiring.
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "drawing/ui/TDrFrm.h"
#include "shell/AppContext.h"
#include "shell/ui/Shell.h"

using namespace plotane;

class DrawingWindowTest : public QObject {
  Q_OBJECT

  static QString text(QWidget* w, const char* name) {
    auto* l = w->findChild<QLabel*>(name);
    return l ? l->text() : QString("<no %1>").arg(name);
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void keysAndClicksMoveTheCursorsAndTheStatusFollows() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.SHOWDRAWING();
    TDrFrm* w = shell.drawingWindow();
    QVERIFY(w);
    QWidget* view = w->findChild<QWidget*>("PB1");
    QVERIFY(view);
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 1.100  Y= 6.000"));
    QCOMPARE(text(w, "Panel2"), QString("B:  X= 7.700  Y= 9.600"));
    QCOMPARE(text(w, "Label1"), QString(""));
    QCOMPARE(text(w, "Label3"), QString(12, QLatin1Char(' ')));
    QCOMPARE(w->findChild<QLabel*>("Panel1")->width(), 200);
    QCOMPARE(w->findChild<QLabel*>("Panel3")->width(), 50);

    for (int i = 0; i < 4; ++i) QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 1.300  Y= 6.000"));
    QTest::keyClick(view, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(text(w, "Panel2"), QString("B:  X= 7.700  Y= 9.650"));
    QTest::keyClick(view, Qt::Key_Up, Qt::AltModifier);  // Alt: nothing
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 1.300  Y= 6.000"));

    // The scroll box does not scroll on arrows: the window takes them first.
    auto* scroll = w->findChild<QScrollArea*>();
    const int before = scroll->verticalScrollBar()->value();
    QTest::keyClick(scroll, Qt::Key_Down);
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 1.300  Y= 5.950"));
    QCOMPARE(scroll->verticalScrollBar()->value(), before);

    QTest::keyClick(view, Qt::Key_V);
    QCOMPARE(text(w, "Label2"), QString("Vernier grid"));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 1.301  Y= 5.950"));
    QTest::keyClick(view, Qt::Key_D);
    QCOMPARE(text(w, "Label1"), QString("Draw mode"));
    QTest::keyClick(view, Qt::Key_Escape);
    QCOMPARE(text(w, "Label1"), QString(""));
    QCOMPARE(text(w, "Label2"), QString(""));
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 1.300  Y= 5.950"));

    // Preview pixel (233, 400) is page (2.33, 6.0): snapped to 2.35. Shift places B.
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(233, 400));
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 2.350  Y= 6.000"));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, QPoint(500, 100));
    QCOMPARE(text(w, "Panel2"), QString("B:  X= 5.000  Y= 9.000"));
    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 2.350  Y= 6.000"));
    QVERIFY(!ctx.drawing->state.ImageChanged);  // clicks never draw

    // The A I-beam at (2.35, 6.0) is on the screen (preview pixel 235, 400), not in the preview.
    const QImage shown = view->grab().toImage();
    QCOMPARE(shown.pixelColor(235, 400), QColor(Qt::black));
    QCOMPARE(shown.pixelColor(235, 420), QColor(Qt::white));
    QVERIFY(!ctx.drawing->preview().pixel(400, 235));
  }

  void zoomedOutClicksLandWhereClicked() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.SHOWDRAWING();
    TDrFrm* w = shell.drawingWindow();
    w->resize(900, 900);
    QWidget* view = w->findChild<QWidget*>("PB1");
    QVERIFY(ctx.session->ToggleZoom());
    QCOMPARE(text(w, "Label1"), QString("Zoomed out"));
    // The view is the zoom rectangle: H from the scroll box's height, W = Trunc(H x 0.82474).
    const int h = w->findChild<QScrollArea*>()->height() - 1;
    const int expectH = std::clamp(h, 650, 999);
    QCOMPARE(view->height(), expectH);
    QCOMPARE(view->width(), int(expectH * 0.8247399926));
    // Page (3.5, 4.0) is preview (350, 600): at the same fraction of the zoomed view.
    const QPoint at(int(std::lround(350.0 * view->width() / 800)),
                    int(std::lround(600.0 * view->height() / 1000)));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 3.500  Y= 4.000"));
    QTest::keyClick(view, Qt::Key_Right);  // keys do nothing while zoomed out
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 3.500  Y= 4.000"));
    QVERIFY(ctx.session->ToggleZoom());
    QCOMPARE(view->size(), QSize(800, 1000));
    QCOMPARE(text(w, "Label1"), QString(""));
  }

  void textEntryTypesAndADiscardEndsIt() {
    Shell shell;
    shell.start({});
    AppContext& ctx = shell.context();
    ctx.SHOWDRAWING();
    TDrFrm* w = shell.drawingWindow();
    QWidget* view = w->findChild<QWidget*>("PB1");
    ctx.textEngine();
    QVERIFY(ctx.session->BeginTextEntry());
    QCOMPARE(text(w, "Label1"), QString("Text entry:"));
    QTest::keyClick(view, Qt::Key_X);
    QVERIFY(ctx.drawing->image().countInk() > 0);
    QVERIFY(text(w, "Panel1") != QString("A:  X= 1.100  Y= 6.000"));  // A follows the text
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(text(w, "Label1"), QString(""));
    QCOMPARE(text(w, "Panel1"), QString("A:  X= 1.100  Y= 6.000"));

    QVERIFY(ctx.session->BeginTextEntry());
    ctx.discardDrawing();
    QVERIFY(!ctx.session && !ctx.drawing);
  }
};

QTEST_MAIN(DrawingWindowTest)
#include "test_drawing.moc"
