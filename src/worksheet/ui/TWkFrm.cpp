#include "worksheet/ui/TWkFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include "shell/AppContext.h"
#include "shell/ui/TForm1.h"
#include "worksheet/ui/WkDialogs.h"
#include "worksheet/ui/WkGrid.h"

namespace plotane {

namespace {
constexpr const char* kGeometryKey = "worksheet/geometry";
}  // namespace

TWkFrm::TWkFrm(AppContext& ctx, QWidget* parent)
    : TWorkFrm(ctx, "Worksheet", parent), ws_(ctx.worksheet) {
  setObjectName("WkFrm");
  buildBody();
  buildMenus();
  chooseFile = [this](WkFile which) {
    QFileDialog* d = makeFileDialog(which);
    QString file;
    if (d->exec() == QDialog::Accepted && !d->selectedFiles().isEmpty())
      file = d->selectedFiles().first();
    delete d;
    return file;
  };
  ws_.setView(this);
  if (!ws_.graphDefsCancelled) ws_.graphDefsCancelled = [&ctx] { ctx.SHOWGRAPHDEFS(); };
  connect(qApp, &QApplication::focusChanged, this, &TWkFrm::focusMoved);

  // The start: index 0 on the top row, column A leftmost, the cursor on A, 0.
  grid_->goTo(0, 0);
  grid_->scrollTo(model_->index(WkGridModel::modelRowOfIndex(0), 0),
                  QAbstractItemView::PositionAtTop);
  columnListChanged();
  xvalsChanged();
  useLimitsChanged();
  storeLocationChanged();
  requestChanged();
  grid_->showEditor();

  QSettings s("Plotane", "Plotane");
  restoreGeometry(s.value(kGeometryKey).toByteArray());
}

TWkFrm::~TWkFrm() {
  // Focus changes while the children go must not reach this half-destroyed window.
  disconnect(qApp, nullptr, this, nullptr);
  saveGeometrySetting();
  if (ws_.view() == this) ws_.setView(nullptr);
}

void TWkFrm::saveGeometrySetting() {
  QSettings s("Plotane", "Plotane");
  s.setValue(kGeometryKey, saveGeometry());
}

void TWkFrm::hideEvent(QHideEvent* e) {
  saveGeometrySetting();
  TWorkFrm::hideEvent(e);
}

// ---- Body ----

void TWkFrm::buildBody() {
  auto* central = new QWidget(this);
  auto* lay = new QVBoxLayout(central);
  lay->setContentsMargins(2, 2, 2, 2);

  model_ = new WkGridModel(ws_, this);
  grid_ = new WkGridView(ws_, model_, central);
  // The grid is "screen height - 222" high where the window leaves room for it, smaller where not.
  if (QScreen* sc = QGuiApplication::primaryScreen())
    grid_->setMaximumHeight(std::max(200, sc->size().height() - 222));
  grid_->setMinimumHeight(120);
  grid_->onEscape = [this] { escape(); };
  grid_->onSelectionChanged = [this] {
    if (ws_.requestActive()) fillRequestEdits();
  };
  grid_->onLeftColumnChanged = [this] { ws_.setLeftColumn(grid_->leftDataColumn()); };
  lay->addWidget(grid_, 1);

  auto* bottom = new QHBoxLayout;
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

  auto* listBox = new QVBoxLayout;
  auto* listCap = new QLabel("Column names", central);
  listCap->setObjectName("ColNamesCap");
  list_ = new QListWidget(central);
  list_->setObjectName("ListBox1");
  list_->setFont(fixed);
  list_->setFocusPolicy(Qt::NoFocus);  // the list never keeps the focus
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (int i = 0; i < 6; ++i) list_->addItem(QString());
  list_->setFixedHeight(6 * QFontMetrics(fixed).lineSpacing() + 8);
  list_->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(48, 'M')));
  list_->installEventFilter(this);
  connect(list_, &QListWidget::itemClicked, this, [this] {
    columnListChanged();
    grid_->setFocus();
  });
  listBox->addWidget(listCap);
  listBox->addWidget(list_);
  bottom->addLayout(listBox);

  auto* info = new QGridLayout;
  auto* rowCap = new QLabel("Row use limits", central);
  rowCap->setObjectName("RowUseCap");
  rowUseLbl_ = new QLabel(central);
  rowUseLbl_->setObjectName("RowUseLbl");
  rowUseLbl_->setFont(fixed);
  label4_ = new QLabel(central);
  label4_->setObjectName("Label4");
  dsdirLbl_ = new QLabel(central);
  dsdirLbl_->setObjectName("DSDirLbl");
  dsdirLbl_->setFont(fixed);
  xnameLbl_ = new QLabel(central);
  xnameLbl_->setObjectName("XnameLbl");
  yofx_ = new QCheckBox("y(x)", central);
  yofx_->setObjectName("YofXCheckB");
  xauto_ = new QCheckBox("xauto", central);
  xauto_->setObjectName("XautCheckB");
  connect(yofx_, &QCheckBox::clicked, this, [this](bool on) { ws_.SetYofX(on); });
  connect(xauto_, &QCheckBox::clicked, this, [this](bool on) { ws_.SetXAuto(on); });
  info->addWidget(rowCap, 0, 0);
  info->addWidget(rowUseLbl_, 0, 1, 1, 2);
  info->addWidget(label4_, 1, 0, 1, 3);
  info->addWidget(dsdirLbl_, 2, 0, 1, 3);
  info->addWidget(yofx_, 3, 0);
  info->addWidget(xauto_, 3, 1);
  info->addWidget(xnameLbl_, 4, 0, 1, 3);
  info->setRowStretch(5, 1);
  bottom->addLayout(info, 1);

  csel_ = new QGroupBox("Select Column(s)", central);
  csel_->setObjectName("CSelGroup");
  auto* g = new QGridLayout(csel_);
  edit1_ = new QLineEdit(csel_);
  edit1_->setObjectName("Edit1");
  label2_ = new QLabel("to", csel_);
  label2_->setObjectName("Label2");
  edit2_ = new QLineEdit(csel_);
  edit2_->setObjectName("Edit2");
  for (QLineEdit* e : {edit1_, edit2_}) {
    e->setMaxLength(35);
    e->setFixedWidth(60);
  }
  ok_ = new QPushButton("OK", csel_);
  ok_->setObjectName("CSelOK");
  cancel_ = new QPushButton("Cancel", csel_);
  cancel_->setObjectName("CSelCan");
  g->addWidget(edit1_, 0, 0);
  g->addWidget(label2_, 0, 1);
  g->addWidget(edit2_, 0, 2);
  g->addWidget(ok_, 1, 0);
  g->addWidget(cancel_, 1, 2);
  connect(ok_, &QPushButton::clicked, this, &TWkFrm::okClicked);
  connect(cancel_, &QPushButton::clicked, this, &TWkFrm::cancelClicked);
  connect(edit1_, &QLineEdit::returnPressed, this, &TWkFrm::okClicked);
  connect(edit2_, &QLineEdit::returnPressed, this, &TWkFrm::okClicked);
  csel_->setMinimumWidth(320);
  bottom->addWidget(csel_, 0, Qt::AlignTop);

  lay->addLayout(bottom);
  // Room below the grid's full height stays empty, so that the window can still be maximised.
  lay->addStretch(0);
  setCentralWidget(central);
}

bool TWkFrm::eventFilter(QObject* watched, QEvent* e) {
  // F1 over a menu item opens the help at that item's topic.
  if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
      QAction* a = menu->activeAction();
      int context = a ? a->property("helpContext").toInt() : 0;
      if (context == 0) context = menu->menuAction()->property("helpContext").toInt();
      ctx_.host.showHelp(context ? context : Host::HelpContents);
      return true;
    }
  }
  return TWorkFrm::eventFilter(watched, e);
}

// ---- Menus ----

QAction* TWkFrm::item(QMenu* menu, const QString& text, std::function<void()> f, int help) {
  QAction* a = menu->addAction(text);
  if (help) a->setProperty("helpContext", help);
  connect(a, &QAction::triggered, this, [f = std::move(f)] { f(); });
  return a;
}

QMenu* TWkFrm::submenu(QMenu* menu, const QString& text, int help) {
  QMenu* m = menu->addMenu(text);
  if (help) m->menuAction()->setProperty("helpContext", help);
  m->installEventFilter(this);
  return m;
}

void TWkFrm::commit() { ws_.CommitCurrentCell(); }

bool TWkFrm::seriesDialog(SeriesDialogKind kind, const std::string& prompt,
                          const std::string& initial, std::string& result) {
  TSerFrm dialog(ctx_.store, ctx_.host, this);
  return dialog.select(kind, prompt, initial, result);
}

void TWkFrm::buildMenus() {
  Store& store = ctx_.store;
  Host& host = ctx_.host;
  LogModel& log = ctx_.log;
  Worksheet& ws = ws_;
  QMenuBar* bar = menuBar();
  auto top = [&](const QString& title, int help) {
    QMenu* m = bar->addMenu(title);
    m->setProperty("helpContext", help);
    m->menuAction()->setProperty("helpContext", help);
    m->installEventFilter(this);
    return m;
  };
  auto chosen = [this](WkFile which, std::string& file) {
    QString f = chooseFile ? chooseFile(which) : QString();
    if (f.isEmpty()) return false;
    file = ss(f);  // the full path: only shown copies are cut
    return true;
  };
  auto listing = [&store, &host, &log, this](const std::string& prompt, auto run) {
    commit();
    std::string pattern;
    if (!seriesDialog(SeriesDialogKind::Series, prompt, SeriesDialogInitialText(store), pattern))
      return;
    BusyCursor busy(host);
    log.CLEARLOG();
    run(pattern);
    host.showLog();
  };

  // File
  QMenu* file = top("&File", 107);
  item(
      file, "&Attach DSF",
      [&store, chosen] {
        std::string f;
        if (chosen(WkFile::AttachDsf, f)) store.ATTACHDSF(f);
      },
      108);
  item(
      file, "File&Create(DSF)",
      [&store, chosen] {
        std::string f;
        if (chosen(WkFile::CreateDsf, f)) store.CREATEDSF(f);
      },
      109);
  QMenu* read = submenu(file, "&Read a data file", 110);
  item(read, "&TXT table file", [&ws, chosen] {
    std::string f;
    if (chosen(WkFile::OpenTxt, f)) ws.StartReadTxt(f);
  });
  item(read, "&WKS spreadsheet format", [&ws, &host, chosen] {
    std::string f;
    if (!chosen(WkFile::OpenWks, f)) return;
    if (host.ask(kWksEraseQuestion) != Answer::Yes) return;
    ws.ReadWks(f);
    ws.RefreshColumnList();
  });
  QMenu* write = submenu(file, "&Write a data file", 111);
  item(write, "TXT table file with &Headers", [&ws, chosen] {
    std::string f;
    if (chosen(WkFile::SaveTxt, f)) ws.StartWriteTxt(f, true);
  });
  item(write, "TXT table file with &no headers", [&ws, chosen] {
    std::string f;
    if (chosen(WkFile::SaveTxt, f)) ws.StartWriteTxt(f, false);
  });
  item(write, "&WKS spreasheet format", [&ws, chosen] {
    std::string f;
    if (chosen(WkFile::SaveWks, f)) ws.WriteWks(f);
  });
  item(
      file, "Run &EBT", [&host] { host.showRunEbt(); }, 112);
  item(file, "&Quit", [] {
    // The program ends by closing its main window, with every window's close question.
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* main = qobject_cast<TForm1*>(w)) {
        main->close();
        return;
      }
  });

  // Columns
  QMenu* cols = top("&Columns", 113);
  item(
      cols, "&Name", [&ws] { ws.StartName(); }, 114);
  item(
      cols, "&Save", [&ws] { ws.StartSave(); }, 115);
  QMenu* arith = submenu(cols, "&Arith ops", 116);
  QMenu* ss1 = submenu(arith, "&Series-series");
  item(ss1, "&Add", [&ws] { ws.StartSeriesSeries('+'); });
  item(ss1, "&Subtract", [&ws] { ws.StartSeriesSeries('-'); });
  item(ss1, "&Multiply", [&ws] { ws.StartSeriesSeries('*'); });
  item(ss1, "&Divide", [&ws] { ws.StartSeriesSeries('/'); });
  QMenu* cs = submenu(arith, "&Constant-series");
  item(cs, "&Add", [&ws] { ws.StartConstant('+'); });
  item(cs, "&Multiply", [&ws] { ws.StartConstant('*'); });
  item(cs, "&Divide", [&ws] { ws.StartConstant('/'); });
  item(cs, "S&hift index", [&ws] { ws.StartConstant('S'); });
  item(cs, "&Raise to power", [&ws] { ws.StartConstant('X'); });
  QMenu* un = submenu(arith, "&Unary ops");
  item(un, "&Negate", [&ws] { ws.StartUnary('N'); });
  item(un, "&Inverse", [&ws] { ws.StartUnary('I'); });
  item(un, "&Ln", [&ws] { ws.StartUnary('L'); });
  item(un, "&Exp", [&ws] { ws.StartUnary('E'); });
  item(un, "C&umulate", [&ws] { ws.StartUnary('C'); });
  QMenu* diff = submenu(arith, "New &difference series");
  item(diff, "&Index series", [&ws] { ws.StartIndexSeries(); });
  item(diff, "&Difference series", [&ws] { ws.StartDifferenceSeries(); });
  item(arith, "&Fill with constant value", [&ws] { ws.StartFill(); });
  QMenu* range = submenu(arith, "&Range ops");
  item(range, "&Sum over range", [&ws] { ws.StartSumRange(); });
  QMenu* roc = submenu(range, "Range op &Column");
  item(roc, "&Add", [&ws] { ws.StartRangeOp('+'); });
  item(roc, "&Subtract", [&ws] { ws.StartRangeOp('-'); });
  item(roc, "&Multiply", [&ws] { ws.StartRangeOp('*'); });
  item(roc, "&divide", [&ws] { ws.StartRangeOp('/'); });
  QMenu* ur = submenu(range, "&Unary range ops");
  item(ur, "&Negate", [&ws] { ws.StartUnaryRange('N'); });
  item(ur, "&Inverse", [&ws] { ws.StartUnaryRange('I'); });
  item(ur, "&Ln", [&ws] { ws.StartUnaryRange('L'); });
  item(ur, "&Exp", [&ws] { ws.StartUnaryRange('E'); });
  Regression& reg = ctx_.regression;
  QMenu* rm = submenu(cols, "&Regression", 117);
  item(rm, "&Dependent V.def", [&reg] { reg.StartDependent(); });
  item(rm, "&Independent V.def", [&reg] { reg.StartIndependent(); });
  item(rm, "&Remove Independent V.", [&reg] { reg.RemoveIndependent(); });
  item(rm, "&Toggle constant", [&reg] { reg.ToggleConstant(); });
  item(rm, "&Calculate", [&reg, &host] {
    BusyCursor busy(host);
    reg.CalculateCommand();
  });
  QMenu* save = submenu(rm, "&Save results");
  item(save, "Save predicted &values", [&reg] { reg.StartSave(Regression::kSavePredictedCode); });
  item(save, "Save predicted &range", [&reg] { reg.StartSave(Regression::kSaveRangeCode); });
  item(save, "Save estimated &coefficients",
       [&reg] { reg.StartSave(Regression::kSaveCoefficientsCode); });
  item(save, "Save correlation &matrix", [&reg] { reg.StartSave(Regression::kSaveMatrixCode); });
  item(rm, "S&how V.defs", [&reg] { reg.ShowVDefs(); });
  Spline& spline = ctx_.spline;
  item(
      cols, "S&pline interpolation", [&spline] { spline.Start(); }, 118);
  item(
      cols, "&Copy", [&ws] { ws.StartCopy(); }, 119);
  item(
      cols, "&Move", [&ws] { ws.StartMove(); }, 120);
  item(
      cols, "&Erase", [&ws] { ws.StartErase(); }, 121);

  // Series
  QMenu* ser = top("&Series", 122);
  item(ser, "DSDir L&ist", [listing, &store] {
    listing("List DSDir", [&store](const std::string& p) { store.LISTDSDIR(p); });
  });
  item(ser, "&Load series", [this, &store, &ws] {
    std::string pattern;
    if (seriesDialog(SeriesDialogKind::Series, "Series to load", SeriesDialogInitialText(store),
                     pattern))
      ws.StartLoad(pattern);
  });
  item(ser, "&Replace series", [this, &store, &ws, &host] {
    commit();
    std::string pattern;
    if (!seriesDialog(SeriesDialogKind::Series, "Series to REPLACE in DSF",
                      SeriesDialogInitialText(store), pattern))
      return;
    BusyCursor busy(host);
    store.REPLACESERIES(pattern);
    ws.RefreshColumnList();
  });
  item(ser, "&Erase series", [this, &store, &host] {
    commit();
    std::string pattern;
    if (!seriesDialog(SeriesDialogKind::Series, "Series to ERASE in DSF",
                      SeriesDialogInitialText(store), pattern))
      return;
    BusyCursor busy(host);
    store.ERASESERIES(pattern);
  });
  item(ser, "&Y funct of X", [this, &store] {
    commit();
    std::string y, x;
    if (!seriesDialog(SeriesDialogKind::Series,
                      "Series which are Y:", SeriesDialogInitialText(store), y))
      return;
    if (!seriesDialog(SeriesDialogKind::OneSeries,
                      "Select the X series:", SeriesDialogInitialText(store), x))
      return;
    store.SETXSPEC(y, x);
  });
  item(ser, "&Fulldetails", [listing, &store] {
    listing("List Full Details", [&store](const std::string& p) { store.FULLDETAILS(p); });
  });

  // DSDir
  QMenu* dsdir = top("&DSDir", 123);
  item(dsdir, "&Set current DSDir", [this, &store] {
    commit();
    std::string path;
    if (seriesDialog(SeriesDialogKind::DsDir, "Set current DSDir path", "&", path))
      store.SETDSDIR(path);
  });
  item(dsdir, "&Treelst", [this, &store, &log, &host] {
    commit();
    BusyCursor busy(host);
    log.CLEARLOG();
    store.TREELIST();
    host.showLog();
  });
  item(dsdir, "&Make DSDir", [this, &store] {
    commit();
    TSimplFrm prompt("Make DSDir", "PATHID=", QString(), this);
    if (prompt.exec() == QDialog::Accepted) store.MAKEDSDIR(ss(prompt.edit()->text()));
  });
  item(dsdir, "&Delete DSDir", [this, &store] {
    commit();
    std::string path;
    if (!seriesDialog(SeriesDialogKind::DsDir, "DSDir to be deleted:", "&", path)) return;
    store.DELETEDSDIR(path);
    store.SETDSDIR(".");
  });

  // WorksheetSpecs
  QMenu* specs = top("Wor&ksheetSpecs", 124);
  item(specs, "&X set", [&ws] { ws.StartXSet(); });
  item(specs, "&Y of X set", [&ws] { ws.StartYofXSet(); });
  item(specs, "&Clear X", [&ws] { ws.ClearX(); });
  item(specs, "Change &all decimal specs", [&ws] { ws.ChangeAllDecimalSpecs(); });
  item(specs, "&Decimal display change, certain columns", [&ws] { ws.StartDecimalChange(); });

  // Use lims: a command on the menu bar itself.
  QAction* use = bar->addAction("&Use lims");
  use->setObjectName("UseLims");
  use->setProperty("helpContext", 125);
  connect(use, &QAction::triggered, this, [this] {
    commit();
    TUseDlg dialog(ws_, this);
    dialog.exec();
  });

  // Window(F6): the current cell is committed before the other window comes up.
  QMenu* win = addWindowMenu("&Window(F6)", "&Graph definitions", WorkWindow::GraphDefs, "&Drawing",
                             WorkWindow::Drawing, 0);
  win->menuAction()->setProperty("helpContext", 126);
  win->installEventFilter(this);
  QList<QAction*> wa = win->actions();
  for (int i = 0; i < wa.size() && i < 2; ++i) {
    disconnect(wa[i], &QAction::triggered, this, nullptr);
    connect(wa[i], &QAction::triggered, this, [this, i] {
      commit();
      if (i == 0)
        ctx_.SHOWGRAPHDEFS();
      else
        ctx_.SHOWDRAWING();
    });
  }

  QMenu* help = top("&Help", 0);
  item(help, "&Contents", [&host] { host.showHelp(Host::HelpContents); });
  item(help, "&Topic Search", [&host] { host.showHelp(Host::HelpSearch); });
}

QFileDialog* TWkFrm::makeFileDialog(WkFile which) {
  auto* d = new QFileDialog(this);
  d->setOption(QFileDialog::DontUseNativeDialog, false);
  bool save = false;
  switch (which) {
    case WkFile::AttachDsf:
      d->setObjectName("OpenDSFdia");
      d->setWindowTitle("Attach DSF");
      d->setNameFilter("DSF (*.DSF *.dsf)");
      d->setDefaultSuffix("DSF");
      break;
    case WkFile::CreateDsf:
      d->setObjectName("CreateDSFdia");
      d->setWindowTitle("Create new DSF");
      d->setNameFilter("Create new DSF (*.DSF *.dsf)");
      d->setDefaultSuffix("DSF");
      // An existing file is refused by the store with its own message.
      d->setOption(QFileDialog::DontConfirmOverwrite, true);
      save = true;
      break;
    case WkFile::OpenTxt:
      d->setObjectName("OpenTXTdia");
      d->setWindowTitle("Read a TXT table file");
      d->setNameFilter("TXT table (*.TXT *.txt)");
      d->setDefaultSuffix("TXT");
      break;
    case WkFile::SaveTxt:
      d->setObjectName("SaveTXTdia");
      d->setWindowTitle("Write a TXT table file");
      d->setNameFilter("Text table (*.TXT *.txt)");
      d->setDefaultSuffix("TXT");
      save = true;
      break;
    case WkFile::OpenWks:
      d->setObjectName("OpenWKDialog1");
      d->setWindowTitle("Read a WKS spreadsheet file");
      d->setNameFilter("Spreadsheet files (*.WKS *.WK1 *.wks *.wk1)");
      d->setDefaultSuffix("WKS");
      break;
    case WkFile::SaveWks:
      d->setObjectName("SaveWKDialog1");
      d->setWindowTitle("Write a WKS spreadsheet file");
      d->setNameFilter("WKS file (*.WKS *.wks)");
      d->setDefaultSuffix("WKS");
      save = true;
      break;
  }
  d->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  return d;
}

// ---- Column requests ----

void TWkFrm::fillRequestEdits() {
  // Only a changed selection is copied: letters the user typed stay until then.
  QItemSelection sel = grid_->selectionModel()->selection();
  int left = grid_->currentIndex().column(), right = left;
  if (!sel.isEmpty()) {
    left = sel.first().left();
    right = sel.first().right();
    for (const QItemSelectionRange& r : sel) {
      left = std::min(left, r.left());
      right = std::max(right, r.right());
    }
  }
  int c1 = std::max(0, WkGridModel::columnOfModel(left));
  int c2 = std::max(0, WkGridModel::columnOfModel(right));
  edit1_->setText(qs(ColumnLetters(c1)));
  if (ws_.Request.kind == RequestKind::Range) edit2_->setText(qs(ColumnLetters(c2)));
}

void TWkFrm::requestChanged() {
  const ColumnRequest& r = ws_.Request;
  if (r.kind == RequestKind::None) {
    csel_->hide();
    model_->setEditable(true);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    QModelIndex cur = grid_->currentIndex();
    if (cur.isValid()) grid_->selectionModel()->select(cur, QItemSelectionModel::ClearAndSelect);
    grid_->showEditor();
    return;
  }
  // Editing off first: the editor's close gives the grid the focus, which must not reopen it.
  model_->setEditable(false);
  grid_->endEdit();
  csel_->setTitle(qs(r.prompt));
  bool range = r.kind == RequestKind::Range;
  grid_->setSelectionMode(range ? QAbstractItemView::ContiguousSelection
                                : QAbstractItemView::SingleSelection);
  label2_->setText(range ? "to" : "");
  edit2_->setEnabled(range);
  edit2_->setVisible(range);
  if (!range) edit2_->clear();
  fillRequestEdits();
  csel_->show();
}

void TWkFrm::okClicked() {
  if (!ws_.requestActive()) return;
  std::string first = ss(edit1_->text()), last = ss(edit2_->text());
  grid_->setFocus();
  ws_.ConfirmRequestText(first, last);
}

void TWkFrm::cancelClicked() {
  grid_->setFocus();
  ws_.CancelRequest();
}

// ---- Editing ----

void TWkFrm::escape() {
  model_->clearPending();
  ws_.UndoCurrentEdit();
}

bool TWkFrm::inGrid(QWidget* w) const {
  for (; w; w = w->parentWidget())
    if (w == grid_) return true;
  return false;
}

void TWkFrm::focusMoved(QWidget* old, QWidget* now) {
  // The grid's focus went to another control: the cell is committed ("Error at" on failure).
  if (old && now && inGrid(old) && !inGrid(now)) ws_.CommitCurrentCell();
}

bool TWkFrm::currentEditText(std::string& text) {
  QString t;
  if (grid_->editorText(t) || model_->pendingFor(ws_.CurrentColumn, ws_.CurrentIndex, t)) {
    text = ss(t);
    return true;
  }
  return false;
}

// ---- WorksheetView ----

void TWkFrm::cellChanged(int column, int index) {
  model_->cellChanged(column, index);
  if (column == ws_.CurrentColumn && index == ws_.CurrentIndex) {
    QString t;
    if (grid_->editorText(t)) grid_->setEditorText(qs(ws_.CellText(column, index)));
  }
}

void TWkFrm::columnChanged(int column) {
  model_->columnChanged(column);
  if (column == ws_.CurrentColumn) {
    QString t;
    if (grid_->editorText(t)) grid_->setEditorText(qs(ws_.CellText(column, ws_.CurrentIndex)));
  }
}

void TWkFrm::columnListChanged() {
  for (int i = 0; i < 6; ++i) list_->item(i)->setText(qs(ws_.ColumnListLine(i)));
  int sel = ws_.ColumnListSelection();
  if (sel >= 0)
    list_->setCurrentRow(sel);
  else
    list_->clearSelection();
}

void TWkFrm::xvalsChanged() {
  model_->xvalsChanged();
  xnameLbl_->setText(qs(ws_.XNameLabel));
  yofx_->setChecked(ws_.YofX);
  xauto_->setEnabled(ws_.XAutoEnabled);
  if (ws_.XAutoEnabled) xauto_->setChecked(ws_.XAuto);
}

void TWkFrm::useLimitsChanged() { rowUseLbl_->setText(qs(ws_.RowUseLabel())); }

void TWkFrm::storeLocationChanged() {
  label4_->setText(qs(DsfLabelText(ctx_.store)));
  dsdirLbl_->setText(qs(DsDirLabelText(ctx_.store)));
}

bool TWkFrm::askDecimalSpec(int& format) {
  TDecFrm dialog(format, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  format = dialog.spec();
  return true;
}

bool TWkFrm::nameDialog(Worksheet& ws, int column) {
  TNameFrm dialog(ws, column, this);
  return dialog.exec() == QDialog::Accepted;
}

bool TWkFrm::FormCloseQuery() { return ws_.MayClose(); }

void TWkFrm::FormClose() {
  programClosing_ = true;
  ws_.CommitClose();
}

void TWkFrm::closeEvent(QCloseEvent* e) {
  if (programClosing_) return e->accept();
  // A typed cell counts as data: it is committed before the question ("Error at " keeps it).
  if (!ws_.CommitCurrentCell()) return e->ignore();
  if (!ws_.CloseQuery()) return e->ignore();
  ws_.CloseWorksheet();
  e->accept();
}

}  // namespace plotane
