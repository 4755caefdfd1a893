#include "batch/ui/TBatFrm.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QToolBar>

#include "batch/BatchWindow.h"
#include "batch/ui/EbtHighlighter.h"
#include "shell/AppContext.h"
#include "shell/ui/THelpFrm.h"

namespace plotane {

namespace {
// Strings of the model are single bytes.
QString q(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }
std::string s8(const QString& s) {
  QByteArray b = s.toLatin1();
  return std::string(b.constData(), std::size_t(b.size()));
}
// The manual's topic for this window.
constexpr int kHelpContext = 112;
}  // namespace

TBatFrm::TBatFrm(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
  setObjectName("BatFrm");
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  resize(640, 480);
  // Where the user last put the window.
  restoreGeometry(QSettings("Plotane", "Plotane").value("RunEBT/geometry").toByteArray());

  stack_ = new QStackedWidget(this);
  text_ = new QPlainTextEdit(stack_);
  text_->setObjectName("Memo1");
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  new EbtHighlighter(text_->document());

  grid_ = new QTableWidget(EbtRunner::kParamRows, 2, stack_);
  grid_->setObjectName("StringGrid1");
  grid_->setHorizontalHeaderLabels({"Parameter", "Value"});
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setStretchLastSection(true);
  for (int r = 0; r < EbtRunner::kParamRows; ++r) {
    auto* name = new QTableWidgetItem("%" + QString::number(r + 1));
    name->setFlags(Qt::ItemIsEnabled);
    grid_->setItem(r, 0, name);
    grid_->setItem(r, 1, new QTableWidgetItem);
  }
  connect(grid_, &QTableWidget::cellChanged, this, [this](int row, int column) {
    if (loadingGrid_ || column != 1) return;
    ctx_.runner.setParam(row + 1, s8(grid_->item(row, 1)->text()));
  });
  stack_->addWidget(text_);
  stack_->addWidget(grid_);
  setCentralWidget(stack_);

  QMenu* file = menuBar()->addMenu("&File");
  open_ = file->addAction("&Open", this, &TBatFrm::openClicked);
  open_->setShortcut(QKeySequence::Open);
  save_ = file->addAction("&Save", this, &TBatFrm::saveClicked);
  save_->setShortcut(QKeySequence::Save);
  file->addSeparator();
  hide_ = file->addAction("&HideRunEBT", this, &QWidget::close);
  hide_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  QMenu* edit = menuBar()->addMenu("&Edit");
  editCommands_ = edit->addAction("&Commands", this, &TBatFrm::editCommandsClicked);
  editParameters_ = edit->addAction("&Parameters", this, &TBatFrm::editParametersClicked);
  QMenu* runMenu = menuBar()->addMenu("&Run");
  run_ = runMenu->addAction("&Run", this, &TBatFrm::runClicked);
  run_->setShortcut(QKeySequence(Qt::Key_F9));
  step_ = runMenu->addAction("&Step", this, &TBatFrm::stepClicked);
  step_->setShortcut(QKeySequence(Qt::Key_F8));
  reset_ = runMenu->addAction("R&eset", this, &TBatFrm::resetClicked);
  for (QMenu* m : {file, edit, runMenu}) setHelpContext(m->menuAction(), kHelpContext);
  QAction* help = menuBar()->addAction("&Help");
  help->setShortcut(QKeySequence::HelpContents);
  connect(help, &QAction::triggered, this, [this] { ctx_.host.showHelp(kHelpContext); });

  ok_ = new QAction("OK", this);
  connect(ok_, &QAction::triggered, this, &TBatFrm::okClicked);
  cancel_ = new QAction("Cancel", this);
  connect(cancel_, &QAction::triggered, this, &TBatFrm::cancelClicked);
  QToolBar* bar = addToolBar("Buttons");
  bar->setObjectName("Buttons");
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->addAction(run_);
  bar->addAction(step_);
  bar->addSeparator();
  bar->addAction(ok_);
  bar->addAction(cancel_);

  ctx_.runner.onProgress = [this] { followPosition(); };
  loadTextFromRunner();
  loadGridFromRunner();
  refresh();
}

TBatFrm::~TBatFrm() { ctx_.runner.onProgress = nullptr; }

void TBatFrm::hideEvent(QHideEvent* e) {
  QSettings("Plotane", "Plotane").setValue("RunEBT/geometry", saveGeometry());
  QMainWindow::hideEvent(e);
}

void TBatFrm::showRunEbt() {
  loadTextFromRunner();
  loadGridFromRunner();
  refresh();
  show();
  raise();
  activateWindow();
}

void TBatFrm::refresh() {
  BatchControls c = batchControls(ctx_.runner, running_);
  setWindowTitle(q(c.caption));
  run_->setEnabled(c.runStep);
  step_->setEnabled(c.runStep);
  ok_->setEnabled(c.okCancel);
  cancel_->setEnabled(c.okCancel);
  editCommands_->setEnabled(c.editItems);
  editParameters_->setEnabled(c.editItems);
  reset_->setEnabled(c.reset);
  open_->setEnabled(c.fileItems);
  save_->setEnabled(c.fileItems);
  text_->setReadOnly(!c.textEditable);
  grid_->setEditTriggers(c.gridShown ? QAbstractItemView::AllEditTriggers
                                     : QAbstractItemView::NoEditTriggers);
  stack_->setCurrentWidget(c.gridShown ? static_cast<QWidget*>(grid_) : text_);
}

void TBatFrm::loadTextFromRunner() {
  QString t = q(ctx_.runner.text());
  if (text_->toPlainText() != QString(t).replace("\r\n", "\n")) text_->setPlainText(t);
  followPosition();
}

void TBatFrm::loadGridFromRunner() {
  loadingGrid_ = true;
  for (int r = 0; r < EbtRunner::kParamRows; ++r)
    grid_->item(r, 1)->setText(q(ctx_.runner.param(r + 1)));
  loadingGrid_ = false;
}

std::string TBatFrm::editedText() const { return s8(text_->toPlainText()); }

void TBatFrm::followPosition() {
  const EbtRunner& r = ctx_.runner;
  QTextCursor c(text_->document());
  if (r.position() > 0) {
    const std::string& t = r.text();
    std::size_t from = editorPosition(t, r.selectionStart());
    std::size_t to =
        editorPosition(t, std::min(t.size(), r.selectionStart() + r.selectionLength()));
    int last = text_->document()->characterCount() - 1;
    c.setPosition(std::min(int(from), last));
    c.setPosition(std::min(int(to), last), QTextCursor::KeepAnchor);
  }
  text_->setTextCursor(c);
  text_->ensureCursorVisible();
  // The run does not return to the event loop between statements: paint now.
  if (running_ && text_->isVisible()) text_->viewport()->repaint();
}

bool TBatFrm::openFile(const QString& fileName) {
  commitGridEdit();
  if (onRunning) onRunning(true);  // a read error is shown in front of this window
  bool ok = openBatchScript(ctx_.runner, s8(fileName), editedText());
  if (onRunning) onRunning(false);
  loadTextFromRunner();
  loadGridFromRunner();
  refresh();
  return ok;
}

bool TBatFrm::saveFile(const QString& fileName) {
  commitGridEdit();
  if (onRunning) onRunning(true);
  bool ok = saveBatchScript(ctx_.runner, s8(fileName), editedText());
  if (onRunning) onRunning(false);
  loadTextFromRunner();
  loadGridFromRunner();
  refresh();
  return ok;
}

void TBatFrm::openClicked() {
  QFileDialog dlg(this, "Open");
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setNameFilter("EBT files (*.EBT *.ebt)");
  dlg.setDefaultSuffix("EBT");
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  openFile(dlg.selectedFiles().front());
}

void TBatFrm::saveClicked() {
  QFileDialog dlg(this, "Save");
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setNameFilter("EBT file (*.EBT *.ebt)");
  dlg.setDefaultSuffix("EBT");
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  saveFile(dlg.selectedFiles().front());
}

void TBatFrm::editCommandsClicked() {
  ctx_.runner.editCommands();
  refresh();
  text_->setFocus();
}

void TBatFrm::editParametersClicked() {
  ctx_.runner.editParameters();
  loadGridFromRunner();
  refresh();
  grid_->setCurrentCell(0, 1);
  grid_->setFocus();
}

void TBatFrm::commitGridEdit() {
  // A value still being typed into the grid counts.
  // Moving the current cell away and back commits an open cell editor.
  QModelIndex current = grid_->currentIndex();
  grid_->setCurrentIndex(QModelIndex());
  grid_->setCurrentIndex(current);
}

void TBatFrm::okClicked() {
  commitGridEdit();
  ctx_.runner.editOK(editedText());
  loadTextFromRunner();
  refresh();
}

void TBatFrm::cancelClicked() {
  ctx_.runner.editCancel();
  text_->setPlainText(q(ctx_.runner.text()));
  loadGridFromRunner();
  followPosition();
  refresh();
}

void TBatFrm::runWith(void (*what)(AppContext&)) {
  running_ = true;
  refresh();
  if (onRunning) onRunning(true);
  what(ctx_);
  running_ = false;
  if (onRunning) onRunning(false);
  followPosition();
  refresh();
}

void TBatFrm::runClicked() {
  runWith([](AppContext& c) { c.runner.RUN(); });
}

void TBatFrm::stepClicked() {
  runWith([](AppContext& c) { c.runner.STEP(); });
}

void TBatFrm::resetClicked() {
  ctx_.runner.RESET();
  followPosition();
  refresh();
}

}  // namespace plotane
