// The worksheet window's wiring, flow by flow: typing and committing by cursor moves, Escape,
// the end-value question, focus loss; column requests answered by a drag and by typed letters;
// each dialog's refusals; the exit question's three answers; the series dialog's listing; the
// labels that follow the store whoever changes it; the far corner of the grid.

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>

#include "TempDir.h"
#include "TestHost.h"
#include "WorksheetWindow.h"
#include "graph/ui/TGrFrm.h"
#include "shell/ui/TForm1.h"

using namespace plotane;
using namespace plotane::test;

class WorksheetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void controlsCarryTheirNamesAndStartOnAZero() {
    WkFixture f;
    for (const char* name :
         {"SG1", "ListBox1", "XnameLbl", "RowUseLbl", "Label4", "DSDirLbl", "YofXCheckB",
          "XautCheckB", "CSelGroup", "Edit1", "Label2", "Edit2", "CSelOK", "CSelCan"})
      QVERIFY2(f.wk->findChild<QWidget*>(name), name);
    QCOMPARE(f.wk->findChild<QLabel*>("RowUseLbl")->text(),
             QString("Low=      0      High=    800"));
    QCOMPARE(f.wk->findChild<QLabel*>("Label4")->text(),
             QString("Current DSDir path in file <NO FILE>"));
    QVERIFY(!f.wk->findChild<QGroupBox*>("CSelGroup")->isVisible());
    QVERIFY(!f.wk->findChild<QCheckBox*>("XautCheckB")->isEnabled());
    QCOMPARE(f.ctx.worksheet.CurrentColumn, 0);
    QCOMPARE(f.ctx.worksheet.CurrentIndex, 0);
    QCOMPARE(f.grid->rowAt(0), WkGridModel::modelRowOfIndex(0));
    QCOMPARE(f.grid->model()->rowCount(), 12401);
    QCOMPARE(f.grid->model()->columnCount(), 511);
    QCOMPARE(f.grid->model()->headerData(-1, Qt::Horizontal).toString(), QString(" Row"));
    QCOMPARE(f.grid->model()->headerData(0, Qt::Horizontal).toString(), QString("  Xvals"));
    QCOMPARE(f.grid->model()->headerData(510, Qt::Horizontal).toString(), QString("  SP"));
    QCOMPARE(f.grid->model()->headerData(0, Qt::Vertical).toString(), QString("  -400"));
    QCOMPARE(f.wk->columnList()->item(0)->text(), QString(" A "));
    QCOMPARE(f.wk->columnList()->focusPolicy(), Qt::NoFocus);
    // Every menu of the bar, with access keys.
    QStringList bar;
    for (QAction* a : f.wk->menuBar()->actions()) bar << a->text();
    QCOMPARE(bar, QStringList({"&File", "&Columns", "&Series", "&DSDir", "Wor&ksheetSpecs",
                               "&Use lims", "&Window(F6)", "&Help"}));
  }

  void typingCommitsOnTheMoveAndEscapeUndoes() {
    WkFixture f;
    Worksheet& ws = f.ctx.worksheet;
    f.type(1, 10, "5");
    f.grid->goTo(1, 11);
    QVERIFY(ws.inUse(1));
    QCOMPARE(f.shown(1, 10), QString("5.000000"));
    QVERIFY(f.wk->columnList()->item(1)->text().startsWith(" B     <c>***noname***"));
    QCOMPARE(f.wk->columnList()->currentRow(), 1);
    f.type(1, 11, "6");
    f.grid->goTo(1, 12);
    f.type(1, 12, "7");
    f.grid->goTo(2, 12);
    // A value that cannot be converted keeps the cursor and the text.
    f.type(1, 11, "6x");
    f.grid->goTo(1, 20);
    QCOMPARE(ws.CurrentIndex, 11);
    QCOMPARE(f.grid->currentIndex(), f.cell(1, 11));
    QCOMPARE(f.shown(1, 11), QString("6x"));
    // Escape: the stored value is shown again and the move goes through.
    QTest::keyClick(f.grid, Qt::Key_Escape);
    QCOMPARE(f.shown(1, 11), QString("6.000000"));
    f.grid->goTo(1, 20);
    QCOMPARE(ws.CurrentIndex, 20);
    // Escape inside an open editor undoes as well.
    f.type(1, 10, "99");
    QTest::keyClick(f.grid->delegate()->editor(), Qt::Key_Escape);
    f.grid->goTo(1, 12);
    QCOMPARE(f.shown(1, 10), QString("5.000000"));
    // Scrolled to the far corner, cells are still computed on demand.
    f.grid->scrollTo(f.cell(509, 12000));
    QCOMPARE(f.grid->leftDataColumn() > 400, true);
    QCOMPARE(f.grid->model()->headerData(12400, Qt::Vertical).toString(), QString(" 12000"));
    QCOMPARE(f.wk->columnList()->item(0)->text().left(3),
             QString(" ") +
                 QString::fromLatin1(ColumnLetters(f.grid->leftDataColumn()).c_str()).left(2));
  }

  void currentCellAlwaysShowsItsEditor() {
    WkFixture f;
    Worksheet& ws = f.ctx.worksheet;
    f.wk->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.wk));
    f.grid->goTo(1, 10);
    auto editorAt = [&f](int column, int index) -> QLineEdit* {
      QLineEdit* e = f.grid->delegate()->editor();
      bool there =
          e && e->isVisible() && f.grid->delegate()->editorIndex() == f.cell(column, index);
      return there ? e : nullptr;
    };
    QVERIFY(editorAt(1, 10));
    // Typing replaces the cell's text at once; Down commits and moves, the editor follows.
    QTest::keyClicks(QApplication::focusWidget(), "12.5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(ws.CurrentIndex, 11);
    QCOMPARE(f.shown(1, 10), QString("12.500000"));
    QVERIFY(editorAt(1, 11));
    QCOMPARE(QApplication::focusWidget(), editorAt(1, 11));
    // Left at the text's start moves to the cell before; Right at its end back again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(ws.CurrentColumn, 0);
    QVERIFY(editorAt(0, 11));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(ws.CurrentColumn, 1);
    // Escape undoes the typing and the editor stays, showing the stored value.
    f.grid->goTo(1, 10);
    QTest::keyClicks(QApplication::focusWidget(), "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(editorAt(1, 10));
    QCOMPARE(editorAt(1, 10)->text().trimmed(), QString("12.500000"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(f.shown(1, 10), QString("12.500000"));
    QCOMPARE(ws.CurrentIndex, 9);
    // A bad value keeps the cursor and its editor; a column request closes the editor.
    QTest::keyClicks(QApplication::focusWidget(), "x");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(ws.CurrentIndex, 9);
    QVERIFY(editorAt(1, 9));
    QCOMPARE(editorAt(1, 9)->text(), QString("x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    f.trigger({"&Columns", "&Copy"});
    QVERIFY(!editorAt(ws.CurrentColumn, ws.CurrentIndex));
    f.wk->findChild<QPushButton*>("CSelCan")->click();
    QVERIFY(editorAt(ws.CurrentColumn, ws.CurrentIndex));
  }

  void xvalsStayBesideTheRowNumbersAndGridHeightFollowsTheScreen() {
    WkFixture f;
    QTableView* xvals = f.grid->xvalsView();
    QVERIFY(xvals && xvals->isVisible());
    QCOMPARE(xvals->model(), f.grid->model());
    QRect before = xvals->geometry();
    QCOMPARE(before.left(), f.grid->verticalHeader()->width() + f.grid->frameWidth());
    QCOMPARE(before.width(), 80);
    // Sideways to column SP and down to index 12 000: "Xvals" stays, in step with the rows.
    f.grid->goTo(509, 12000);
    QVERIFY(f.grid->leftDataColumn() > 400);
    QCOMPARE(xvals->geometry(), before);
    QVERIFY(!xvals->isColumnHidden(0));
    QCOMPARE(xvals->columnViewportPosition(0), 0);
    QCOMPARE(xvals->rowAt(0), f.grid->rowAt(0));
    QCOMPARE(xvals->horizontalHeader()->model()->headerData(0, Qt::Horizontal).toString(),
             QString("  Xvals"));
    // Back to column A: it comes out beside "Xvals", not under it.
    f.grid->goTo(0, 12000);
    QVERIFY(f.grid->columnViewportPosition(WkGridModel::modelColumnOf(0)) >= 80);
    QCOMPARE(f.grid->leftDataColumn(), 0);
    int rule = std::max(200, f.wk->screen()->size().height() - 222);
    QCOMPARE(f.grid->maximumHeight(), rule);
    QCOMPARE(f.grid->sizeHint().height(), rule);
    QVERIFY(f.grid->height() <= rule);
    // The grid's limit does not keep the window from filling the screen.
    QVERIFY(f.wk->maximumHeight() >= f.wk->screen()->size().height());
    QVERIFY(f.wk->minimumSizeHint().height() < f.wk->screen()->size().height());
  }

  void emptyingAnEndValueAsksAndFocusLossCommits() {
    WkFixture f;
    Worksheet& ws = f.ctx.worksheet;
    for (int i = 10; i <= 12; ++i) {
      f.type(0, i, QString::number(i));
      f.grid->goTo(0, i + 1);
    }
    ModalAnswers answers;
    answers.button(QMessageBox::No);
    f.type(0, 12, "");
    f.grid->goTo(0, 5);
    QCOMPARE(answers.seen, QStringList{"Data value deletion---Are you sure?"});
    QCOMPARE(ws.column(0).highestIndex(), 12);
    QCOMPARE(f.shown(0, 12), QString("12.000000"));
    answers.button(QMessageBox::Yes);
    f.type(0, 12, "");
    f.grid->goTo(0, 5);
    QCOMPARE(ws.column(0).highestIndex(), 11);
    QCOMPARE(answers.seen.size(), 2);
    // The focus goes to another control: the typed cell is committed, a bad one says where.
    f.wk->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.wk));
    f.grid->setFocus();
    f.type(0, 3, "zz");
    QVERIFY(f.grid->isAncestorOf(QApplication::focusWidget()));
    answers.button(QMessageBox::Ok);
    f.wk->findChild<QCheckBox*>("YofXCheckB")->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(answers.seen.last(), QString("Error at 0,3"));
    QCOMPARE(answers.seen.size(), 3);  // one box, not one per focus change
    QCOMPARE(ws.CurrentIndex, 3);
    // Back in the grid, the current cell shows its editor again.
    f.wk->activateWindow();
    f.grid->setFocus();
    QTRY_VERIFY(f.grid->delegate()->editor() && f.grid->delegate()->editor()->isVisible());
    QCOMPARE(f.grid->delegate()->editorIndex(), f.cell(0, 3));
  }

  void rangeRequestByDragAndColumnByTypedLetters() {
    WkFixture f;
    Worksheet& ws = f.ctx.worksheet;
    f.trigger({"&Columns", "&Copy"});
    auto* group = f.wk->findChild<QGroupBox*>("CSelGroup");
    QVERIFY(group->isVisible());
    QCOMPARE(group->title(), QString("Range of columns to COPY"));
    QVERIFY(f.edit("Edit2")->isVisible());
    // A drag from C to E.
    QRect c = f.grid->visualRect(f.cell(2, 0)), e = f.grid->visualRect(f.cell(4, 0));
    QTest::mousePress(f.grid->viewport(), Qt::LeftButton, {}, c.center());
    QMouseEvent move(QEvent::MouseMove, e.center(), f.grid->viewport()->mapToGlobal(e.center()),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.grid->viewport(), &move);
    QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, {}, e.center());
    QCOMPARE(f.edit("Edit1")->text(), QString("C "));
    QCOMPARE(f.edit("Edit2")->text(), QString("E "));
    QVERIFY(f.grid->selectionModel()->isSelected(f.cell(3, 0)));  // D lies inside the drag
    // ... and is drawn highlighted like C and E.
    QImage shot = f.grid->viewport()->grab().toImage();
    QColor highlight = f.grid->palette().color(QPalette::Highlight);
    for (int column : {2, 3, 4}) {
      QPoint at = f.grid->visualRect(f.cell(column, 0)).center() + QPoint(-20, 0);
      QCOMPARE(shot.pixelColor(at * shot.devicePixelRatio()), highlight);
    }
    // Typed letters are not overwritten by a repaint or a scroll.
    f.edit("Edit2")->setText("f");
    f.grid->viewport()->repaint();
    f.grid->horizontalScrollBar()->setValue(f.grid->horizontalScrollBar()->value() + 80);
    QCOMPARE(f.edit("Edit2")->text(), QString("f"));
    f.wk->findChild<QPushButton*>("CSelCan")->click();
    QVERIFY(!group->isVisible());
    QVERIFY(!ws.requestActive());

    // Columns > Name with "b" typed: the name dialog for B; an illegal name is refused.
    f.trigger({"&Columns", "&Name"});
    QCOMPARE(group->title(), QString("Column to name:"));
    QVERIFY(!f.edit("Edit2")->isVisible());
    ModalAnswers answers;
    QString caption;
    answers.add([&caption](QWidget* d) {
      caption = d->windowTitle();
      setEdit(d, "Edit1", "BAD*NAME");
      clickOk(d);  // refused: a message box, and the dialog stays
    });
    answers.button(QMessageBox::Ok);
    answers.add([](QWidget* d) {
      setEdit(d, "Edit1", "PRESSURE");
      setEdit(d, "Edit2", "Line one");
      setEdit(d, "Edit3", "");
      clickOk(d);
    });
    f.confirm("b");
    QCOMPARE(caption, QString("Edit Series Name and description for: B "));
    QCOMPARE(answers.seen.value(1), QString("Name has illegal form"));
    QCOMPARE(QString::fromStdString(ws.columnName(1)), QString("PRESSURE"));
    QCOMPARE(QString::fromStdString(ws.column(1).info->description), QString("Line one"));
    QVERIFY(!ws.column(1).modified);
    QVERIFY(!group->isVisible());
  }

  void useLimitAndNumberDialogsRefuseBadInput() {
    WkFixture f;
    ModalAnswers answers;
    answers.add([](QWidget* d) {
      QCOMPARE(d->windowTitle(), QString("Change Row Use limits"));
      QCOMPARE(d->findChild<QLineEdit*>("Edit1")->text(), QString("     0"));
      setEdit(d, "Edit1", "10");
      setEdit(d, "Edit2", "5");
      clickOk(d);
    });
    answers.button(QMessageBox::Ok);
    answers.add([](QWidget* d) {
      setEdit(d, "Edit1", "-401");
      setEdit(d, "Edit2", "5");
      clickOk(d);
    });
    answers.button(QMessageBox::Ok);
    answers.add([](QWidget* d) {
      setEdit(d, "Edit1", "-400");
      setEdit(d, "Edit2", "12000");
      clickOk(d);
    });
    f.trigger({"&Use lims"});
    QCOMPARE(answers.seen.value(1),
             QString("Row use limits are out of range or low is bigger than high!"));
    QCOMPARE(answers.seen.value(3), answers.seen.value(1));
    QCOMPARE(f.ctx.worksheet.UseLow(), -400);
    QCOMPARE(f.ctx.worksheet.UseHigh(), 12000);
    QCOMPARE(f.wk->findChild<QLabel*>("RowUseLbl")->text(),
             QString("Low=   -400      High=  12000"));

    // The real-number entry beeps at a bad number and stays open; Cancel keeps the value.
    TestHost host;
    TRealEntry entry(host, "Spline----No. of result points", 400.0);
    QCOMPARE(entry.edit()->text().size(), 15);
    entry.edit()->setText("4o0");
    entry.accept();
    QCOMPARE(host.beeps, 1);
    QVERIFY(entry.result() != QDialog::Accepted);
    entry.edit()->setText(" 12.5");
    entry.accept();
    QCOMPARE(entry.result(), int(QDialog::Accepted));
    QCOMPARE(entry.value(), 12.5);

    // Number display: scientific for every column.
    answers.add([](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("ComboBox1");
      QCOMPARE(combo->count(), 12);
      QCOMPARE(combo->currentText(), QString("Flexible decimal position"));
      combo->setCurrentIndex(1);
      clickOk(d);
    });
    f.type(0, 0, "1.5");
    f.grid->goTo(0, 1);
    f.trigger({"Wor&ksheetSpecs", "Change &all decimal specs"});
    QCOMPARE(f.shown(0, 0), QString("1.500000E+00"));
  }

  void exitQuestionKeepsDataOnYesAndEscape() {
    WkFixture f;
    f.type(0, 0, "1");
    f.grid->goTo(0, 1);
    ModalAnswers answers;
    answers.button(QMessageBox::Yes);
    QVERIFY(!f.wk->FormCloseQuery());
    answers.escape();
    QVERIFY(!f.wk->FormCloseQuery());
    QCOMPARE(answers.seen.value(0),
             QString("Some data may not have been saved!--Return to worksheet??"));
    QCOMPARE(answers.seen.size(), 2);
    QVERIFY(f.ctx.worksheet.column(0).modified);
    answers.button(QMessageBox::No);
    QVERIFY(f.wk->FormCloseQuery());
  }

  void closeButtonAsksThenErasesAndProgramCloseAsksOnce() {
    {
      WkFixture f;
      Worksheet& ws = f.ctx.worksheet;
      f.type(0, 0, "1");
      f.type(2, 4, "2");  // still in the editor: committed before the question
      ModalAnswers answers;
      answers.button(QMessageBox::Yes);
      QVERIFY(!f.wk->close());
      answers.escape();
      QVERIFY(!f.wk->close());
      QCOMPARE(answers.seen,
               QStringList(2, "Some data may not have been saved!--Return to worksheet??"));
      QVERIFY(f.wk->isVisible());
      QVERIFY(ws.inUse(0) && ws.inUse(2));
      answers.button(QMessageBox::No);
      QVERIFY(f.wk->close());
      QVERIFY(!f.wk->isVisible());
      QCOMPARE(answers.seen.size(), 3);
      for (int c = 0; c < ColumnCount; ++c) QVERIFY(!ws.inUse(c));
      // Shown again: empty, and a close with nothing unsaved asks nothing.
      f.ctx.SHOWWORKSHEET();
      QVERIFY(f.wk->close());
      QCOMPARE(answers.seen.size(), 3);
    }
    {
      // The program's close asks once, and the window then goes without a second question.
      WkFixture f;
      f.type(0, 0, "1");
      f.grid->goTo(0, 1);
      ModalAnswers answers;
      answers.button(QMessageBox::No);
      answers.button(QMessageBox::No);
      QVERIFY(f.shell.mainWindow()->close());
      QVERIFY(f.wk->close());
      QCOMPARE(answers.seen.size(), 1);
      QVERIFY(f.ctx.worksheet.inUse(0));  // the program's close erases nothing itself
    }
  }

  void seriesDialogListsMatchesAndLabelsFollowTheStore() {
    WkFixture f;
    TempDir dir;
    Store& store = f.ctx.store;
    std::string file = dir.file("S.DSF");
    // A script-like change of the store reaches the labels.
    store.CREATEDSF(file);
    QCOMPARE(f.wk->findChild<QLabel*>("Label4")->text(),
             QString::fromStdString("Current DSDir path in file " + file));
    Worksheet& ws = f.ctx.worksheet;
    store.NAMEDNEWSERIES(ws.column(0), "TEMP", "");
    store.PUTVAL(ws.column(0), 0, 1.0);
    store.SAVESERIES(ws.column(0), "TEMP");
    store.SAVESERIES(ws.column(0), "TIME");
    store.MAKEDSDIR(".RUN");
    QVERIFY(!store.StoreError);

    TSerFrm dialog(store, f.ctx.host, f.wk);
    dialog.combo()->setEditText("&");
    dialog.combo()->fillList();
    QStringList items;
    for (int i = 0; i < dialog.combo()->count(); ++i) items << dialog.combo()->itemText(i);
    QVERIFY(items.contains(".TEMP"));
    QVERIFY(items.contains(".TIME"));
    QCOMPARE(dialog.combo()->currentText(), QString("&"));

    // The one-series form comes back until a single path is given.
    ModalAnswers answers;
    answers.add([](QWidget* d) { clickOk(d); });  // "&": shown again
    answers.add([](QWidget* d) {
      QCOMPARE(d->windowTitle(), QString("Select one series in DSF"));
      d->findChild<QComboBox*>("ComboBox1")->setEditText(".TIME");
      clickOk(d);
    });
    std::string picked;
    QVERIFY(dialog.select(SeriesDialogKind::OneSeries, "Select the X series:", "&", picked));
    QCOMPARE(picked, std::string(".TIME"));

    // DSDir > Set current DSDir through the DSDir dialog; the label follows.
    answers.add([](QWidget* d) {
      QCOMPARE(d->windowTitle(), QString("Select a DSDir in DSF"));
      d->findChild<QComboBox*>("ComboBox1")->setEditText(".RUN");
      clickOk(d);
    });
    f.trigger({"&DSDir", "&Set current DSDir"});
    QCOMPARE(f.wk->findChild<QLabel*>("DSDirLbl")->text(), QString(".RUN"));
    // Cancelling the DSDir List dialog lists nothing.
    f.ctx.log.CLEARLOG();
    f.ctx.log.ADDLOG("kept");
    answers.add([](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    f.trigger({"&Series", "DSDir L&ist"});
    QCOMPARE(f.ctx.log.lines().back(), std::string("kept"));
  }

  void windowMenuCommitsTheCellFirst() {
    WkFixture f;
    f.type(2, 7, "42");
    f.trigger({"&Window(F6)", "&Graph definitions"});
    QVERIFY(f.ctx.worksheet.inUse(2));
    QCOMPARE(f.ctx.store.GETVAL(f.ctx.worksheet.column(2), 7), 42.0f);
    QCOMPARE(f.shell.currentWorkWindow(), static_cast<TWorkFrm*>(f.shell.graphDefsWindow()));
  }

  void fileDialogsCarryTheirTitlesFiltersAndExtensions() {
    WkFixture f;
    struct Expect {
      WkFile which;
      const char* name;
      const char* title;
      const char* filter;
      const char* suffix;
      bool save;
    };
    const Expect all[] = {
        {WkFile::AttachDsf, "OpenDSFdia", "Attach DSF", "DSF (*.DSF *.dsf)", "DSF", false},
        {WkFile::CreateDsf, "CreateDSFdia", "Create new DSF", "Create new DSF (*.DSF *.dsf)", "DSF",
         true},
        {WkFile::OpenTxt, "OpenTXTdia", nullptr, "TXT table (*.TXT *.txt)", "TXT", false},
        {WkFile::SaveTxt, "SaveTXTdia", nullptr, "Text table (*.TXT *.txt)", "TXT", true},
        {WkFile::OpenWks, "OpenWKDialog1", nullptr, "Spreadsheet files (*.WKS *.WK1 *.wks *.wk1)",
         "WKS", false},
        {WkFile::SaveWks, "SaveWKDialog1", nullptr, "WKS file (*.WKS *.wks)", "WKS", true},
    };
    for (const Expect& e : all) {
      std::unique_ptr<QFileDialog> d(f.wk->makeFileDialog(e.which));
      QCOMPARE(d->objectName(), QString(e.name));
      if (e.title) QCOMPARE(d->windowTitle(), QString(e.title));
      QCOMPARE(d->nameFilters(), QStringList{e.filter});
      QCOMPARE(d->defaultSuffix(), QString(e.suffix));
      QCOMPARE(d->acceptMode(), e.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
      if (!e.save) QCOMPARE(d->fileMode(), QFileDialog::ExistingFile);
    }
    // The WKS read asks first; No reads nothing.
    TempDir dir;
    f.wk->chooseFile = [&](WkFile) { return QString::fromStdString(dir.file("X.WKS")); };
    f.type(0, 0, "3");
    f.grid->goTo(0, 1);
    ModalAnswers answers;
    answers.button(QMessageBox::No);
    f.trigger({"&File", "&Read a data file", "&WKS spreadsheet format"});
    QCOMPARE(answers.seen, QStringList{"This erases the entire worksheet; continue?"});
    QVERIFY(f.ctx.worksheet.inUse(0));
  }
};

QTEST_MAIN(WorksheetWindowTest)
#include "test_worksheet.moc"
