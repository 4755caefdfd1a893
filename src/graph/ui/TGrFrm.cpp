#include "graph/ui/TGrFrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>

#include "drawing/ui/TDrFrm.h"
#include "graph/CurveList.h"
#include "graph/CurvePick.h"
#include "graph/GraphForms.h"
#include "graph/ui/GraphDialogs.h"
#include "shell/AppContext.h"

namespace plotane {

namespace {

constexpr int kCurvePitch = 64;

QString q(const std::string& s) { return QString::fromLatin1(s.c_str(), int(s.size())); }

QFont listFont(int points) {
  QFont f("Courier New", points);
  f.setStyleHint(QFont::TypeWriter);
  return f;
}

// Help context of a menu or item, read by F1 while the menu is open.
constexpr const char* kHelpContext = "helpContext";

}  // namespace

// ---- CurveListView ----

CurveListView::CurveListView(Graph& graph, QWidget* parent)
    : QAbstractScrollArea(parent), graph_(graph) {
  setObjectName("CurveList");
  viewport()->setAutoFillBackground(true);
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(p);
  verticalScrollBar()->setSingleStep(12);
  changed();
}

void CurveListView::changed() {
  verticalScrollBar()->setRange(0, CurveListHeight(graph_.def));
  verticalScrollBar()->setPageStep(std::max(1, viewport()->height()));
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void CurveListView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  verticalScrollBar()->setPageStep(std::max(1, viewport()->height()));
}

void CurveListView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), Qt::white);
  p.setPen(Qt::black);
  const QFont big = listFont(10), small = listFont(8);
  const QFontMetrics bigMetrics(big, viewport());
  const int lineHeight = 16;
  const int scroll = verticalScrollBar()->value();
  // Every paint refreshes the statuses (CurveListText does, curve by curve).
  for (int i = 1; i <= graph_.def.CurveCount; ++i) {
    const int y = kCurvePitch * (i - 1) + 3 - scroll;
    if (y > viewport()->height() || y + kCurvePitch < 0) {
      graph_.RefreshCurveStatus(i);
      continue;
    }
    const CurveListEntry e = CurveListText(graph_, i);
    p.drawLine(0, y, 580, y);
    auto text = [&](int top, const QFont& f, int x, const std::string& s) {
      p.setFont(f);
      p.drawText(QRect(x, top, 2000, lineHeight), Qt::AlignLeft | Qt::AlignTop, q(s));
    };
    text(y + 12, big, 0, e.heading);
    text(y + 28, big, 0, e.yPrefix);
    text(y + 28, small, bigMetrics.horizontalAdvance(q(e.yPrefix)), e.yName);
    text(y + 44, big, 0, e.xPrefix);
    text(y + 44, small, bigMetrics.horizontalAdvance(q(e.xPrefix)), e.xName);
  }
}

// ---- TGrFrm ----

TGrFrm::TGrFrm(AppContext& ctx, QWidget* parent)
    : TWorkFrm(ctx, "Current Graph Definitions", parent) {
  setObjectName("GrFrm");
  setFont(listFont(10));
  programDir = QCoreApplication::applicationDirPath();
  chooseFile = [this](bool save) { return defaultChooseFile(save); };
  Graph& graph = ctx_.graph;
  list_ = new CurveListView(graph, this);
  setCentralWidget(list_);

  auto menu = [this](const QString& title, int help) {
    QMenu* m = menuBar()->addMenu(title);
    m->menuAction()->setProperty(kHelpContext, help);
    m->installEventFilter(this);
    return m;
  };
  auto item = [this](QMenu* m, const QString& text, int help, void (TGrFrm::*slot)()) {
    QAction* a = m->addAction(text);
    a->setProperty(kHelpContext, help);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QMenu* file = menu("&File", 201);
  item(file, "&Load", 202, &TGrFrm::LoadClick);
  item(file, "&Save", 203, &TGrFrm::SaveClick);
  QMenu* curves = menu("&CurveAttr", 204);
  item(curves, "&NewCurve", 205, &TGrFrm::NewCurveClick);
  item(curves, "&OldCurve", 206, &TGrFrm::OldCurveClick);
  item(curves, "&Edit attributes", 207, &TGrFrm::EditAttributesClick);
  item(curves, "&Remove curve", 208, &TGrFrm::RemoveCurveClick);
  item(curves, "&Set X's to cols", 209, &TGrFrm::SetXsClick);
  QMenu* axes = menu("&Axis && Graph Attr", 210);
  QAction* ax = axes->addAction("&X axis");
  ax->setProperty(kHelpContext, 106);
  connect(ax, &QAction::triggered, this, [this] { AxisClick(true); });
  QAction* ay = axes->addAction("&Y axis");
  ay->setProperty(kHelpContext, 106);
  connect(ay, &QAction::triggered, this, [this] { AxisClick(false); });
  item(axes, "&Graph Attributes", 104, &TGrFrm::GraphAttributesClick);
  QMenu* prep = menu("&Drawing prep etc", 211);
  item(prep, "&Setup cursors && go to drawing", 212, &TGrFrm::SetupCursorsClick);
  item(prep, "&Blank entire drawing", 213, &TGrFrm::BlankDrawingClick);
  QMenu* window = addWindowMenu("&Window (F6)", "Data &Worksheet", WorkWindow::Worksheet,
                                "&Drawing", WorkWindow::Drawing, 1);
  window->menuAction()->setProperty(kHelpContext, 126);
  window->installEventFilter(this);
  QMenu* help = menuBar()->addMenu("&Help");
  connect(help->addAction("&Contents"), &QAction::triggered, this,
          [this] { ctx_.host.showHelp(Host::HelpContents); });
  connect(help->addAction("&Topic Search"), &QAction::triggered, this,
          [this] { ctx_.host.showHelp(Host::HelpSearch); });

  graph.onCurveListChanged = [this] { list_->changed(); };
  graph.onCaptionChanged = [this] { refreshCaption(); };

  // The pick's two dialogs.
  CurvePick& pick = ctx_.curvePick;
  pick.rangeDialog = [this](CurvePick& p) {
    Worksheet& ws = ctx_.worksheet;
    const Series& y = ws.column(p.PickedY);
    const Series& x = ws.column(p.PickedX);
    TRngDlg d(ctx_.host,
              CurveRangeFormFor(p.PickedY, y.lowest(), y.highestIndex(), p.PickedX, x.lowest(),
                                x.highestIndex(), p.RangeLow, p.RangeHigh),
              this);
    if (d.exec() != QDialog::Accepted) return false;
    p.RangeLow = d.low;
    p.RangeHigh = d.high;
    return true;
  };
  pick.styleDialog = [this](int n) {
    TCurvS d(ctx_.host, ctx_.graph, n, this);
    d.exec();
  };
  pick.onEnded = [this] { list_->changed(); };

  // Start-up: the defaults, then StartUp.GRD from the program's directory.
  graph.ResetGraphDefs();
  graph.LoadStartUpGrd(programDir.toStdString());
  refreshCaption();
}

TGrFrm::~TGrFrm() {
  ctx_.graph.onCurveListChanged = nullptr;
  ctx_.graph.onCaptionChanged = nullptr;
  ctx_.curvePick.rangeDialog = nullptr;
  ctx_.curvePick.styleDialog = nullptr;
  ctx_.curvePick.onEnded = nullptr;
}

void TGrFrm::refreshCaption() {
  const std::string& c = ctx_.graph.Caption;
  setWindowTitle(c.empty() ? QString("Current Graph Definitions") : q(c));
}

bool TGrFrm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (auto* m = qobject_cast<QMenu*>(watched)) {
      QAction* a = m->activeAction();
      QVariant context = a ? a->property(kHelpContext) : QVariant();
      if (!context.isValid()) context = m->menuAction()->property(kHelpContext);
      m->close();
      ctx_.host.showHelp(context.toInt());
      return true;
    }
  }
  return TWorkFrm::eventFilter(watched, event);
}

QString TGrFrm::defaultChooseFile(bool save) {
  QFileDialog d(this, save ? "Save" : "Load");
  d.setNameFilter("GRD file (*.GRD *.grd)");
  d.setDefaultSuffix("GRD");
  d.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!ctx_.graph.GrdFileName.empty()) d.selectFile(q(ctx_.graph.GrdFileName));
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
  return d.selectedFiles().first();
}

void TGrFrm::LoadClick() {
  const QString path = chooseFile(false);
  if (path.isEmpty()) return;
  Graph& graph = ctx_.graph;
  // The full path is opened; only the name kept for the caption and dialogs is cut.
  graph.LoadGrd(path.toStdString());
  if (!ctx_.store.StoreError && graph.def.CurveCount > 0 && SomeCurveWithoutX(graph) &&
      ctx_.host.ask(kSetXsQuestion) == Answer::Yes)
    graph.SetXsToCols();
  list_->changed();
}

bool TGrFrm::saveWithDialog() {
  const QString path = chooseFile(true);
  if (path.isEmpty()) return false;
  ctx_.graph.SaveGrd(path.toStdString(), ctx_.PclPrintMode);
  return !ctx_.store.StoreError;
}

void TGrFrm::SaveClick() { saveWithDialog(); }

int TGrFrm::chooseCurve() {
  TCurNums d(ctx_.host, ctx_.graph, this);
  return d.exec() == QDialog::Accepted ? d.curve() : 0;
}

void TGrFrm::NewCurveClick() { ctx_.curvePick.Start(0); }

void TGrFrm::OldCurveClick() {
  if (int n = chooseCurve()) ctx_.curvePick.Start(n);
}

void TGrFrm::EditAttributesClick() {
  if (int n = chooseCurve()) {
    TCurvS d(ctx_.host, ctx_.graph, n, this);
    d.exec();
    list_->changed();
  }
}

void TGrFrm::RemoveCurveClick() {
  if (int n = chooseCurve()) ctx_.graph.DeleteCurve(n, ctx_.ScriptRunning);
}

void TGrFrm::SetXsClick() {
  ctx_.graph.RefreshAllCurveStatus();
  ctx_.graph.SetXsToCols();
}

void TGrFrm::AxisClick(bool x) {
  GraphDef& def = ctx_.graph.def;
  TAxisS d(ctx_.host, def, x ? def.X : def.Y, x ? "X-AXIS" : "Y-AXIS", this);
  d.exec();
}

void TGrFrm::GraphAttributesClick() {
  TGraphS d(ctx_.host, ctx_.graph.def, this);
  if (d.exec() == QDialog::Accepted) ctx_.graph.ApplyOrientation();
}

void TGrFrm::SetupCursorsClick() {
  // The same operation as the script command that sets up the drawing for a graph.
  ctx_.SHOWDRAWING();
  SetupGraphCursors(ctx_.graph, ctx_.ensureDrawing());
  ctx_.ensureDrawing().repaint();
}

void TGrFrm::BlankDrawingClick() {
  if (ctx_.host.ask(kBlankDrawingQuestion) != Answer::Yes) return;
  // Through the drawing window's own close, so that it may offer to save first.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<TDrFrm*>(w)) {
      d->close();
      return;
    }
  if (!ctx_.DrawingClosed) ctx_.discardDrawing();
}

bool TGrFrm::FormCloseQuery() {
  return GraphMayClose(ctx_.graph, ctx_.ScriptRunning, [this] {
    ctx_.SHOWGRAPHDEFS();
    return saveWithDialog();
  });
}

void TGrFrm::CommitClose() {
  GraphCommitClose(ctx_.graph, ctx_.ScriptRunning, programDir.toStdString());
  refreshCaption();
}

void TGrFrm::closeEvent(QCloseEvent* e) {
  if (!FormCloseQuery()) return e->ignore();
  CommitClose();
  e->accept();
}

}  // namespace plotane
