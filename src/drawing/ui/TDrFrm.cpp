#include "drawing/ui/TDrFrm.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cstring>

#include "drawing/DrawingFileFlow.h"
#include "drawing/DrawingOutput.h"
#include "drawing/ui/DrawingCommands.h"
#include "drawing/ui/PagePrinter.h"
#include "shell/AppContext.h"
#include "shell/base/Messages.h"
#include "shell/ui/THelpFrm.h"

namespace plotane {

// Paints the drawing's 1-bit preview (800 x 1000, or 1000 x 800 in landscape) at its own size,
// or stretched into the zoom rectangle while zoomed out.
class PreviewView : public QWidget {
 public:
  PreviewView(AppContext& ctx, TDrFrm* frame, QWidget* parent)
      : QWidget(parent), ctx_(ctx), frame_(frame) {
    setObjectName("PB1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
  }
  void follow() {
    if (ctx_.session && ctx_.drawing->state.ZoomedOut) {
      const ZoomRect z = ctx_.session->zoomRect();
      setFixedSize(z.width, z.height);
    } else if (ctx_.drawing) {
      const MonoBitmap& p = ctx_.drawing->preview();
      setFixedSize(p.width(), p.height());
    }
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (!ctx_.drawing) {
      painter.fillRect(rect(), Qt::white);
      return;
    }
    const MonoBitmap& p = ctx_.drawing->preview();
    QImage image(p.width(), p.height(), QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const int n = std::min<int>(p.bytesPerRow(), int(image.bytesPerLine()));
    for (int r = 0; r < p.height(); ++r) std::memcpy(image.scanLine(r), p.row(r), std::size_t(n));
    if (ctx_.drawing->state.ZoomedOut) {
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(rect(), image);
      return;
    }
    // The cursor marks go over the picture on the screen only. They are drawn at the preview's
    // own pixels and the picture is shown unsmoothed, so on a screen of any pixel ratio every
    // preview pixel, mark or ink, becomes one sharp block of screen pixels in the same place.
    QImage shown = image.convertToFormat(QImage::Format_RGB32);
    if (ctx_.session) {
      QPainter marks(&shown);
      marks.setPen(QPen(Qt::black, 0));
      for (const MarkSegment& m : ctx_.session->CursorMarks())
        marks.drawLine(QLineF(m.x1, m.y1, m.x2, m.y2));
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(0, 0, p.width(), p.height()), shown);
  }

  // Left clicks place a cursor; Shift alone picks the B-cursor.
  void mousePressEvent(QMouseEvent* e) override {
    setFocus();
    if (e->button() != Qt::LeftButton) return;
    const bool shiftOnly = (e->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
    frame_->previewClicked(e->position().x(), e->position().y(), shiftOnly);
  }

 private:
  AppContext& ctx_;
  TDrFrm* frame_;
};

namespace {

QLabel* statusPanel(QWidget* parent, const char* name, int width) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setFixedWidth(width);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return l;
}

QLabel* boldLabel(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}

// The window's key as the session knows it.
KeyPress toKeyPress(const QKeyEvent* e) {
  KeyPress k;
  const Qt::KeyboardModifiers m = e->modifiers();
  k.shift = m & Qt::ShiftModifier;
  k.ctrl = m & Qt::ControlModifier;
  k.alt = m & Qt::AltModifier;
  switch (e->key()) {
    case Qt::Key_Right:
      k.key = SessionKey::Right;
      return k;
    case Qt::Key_Left:
      k.key = SessionKey::Left;
      return k;
    case Qt::Key_Up:
      k.key = SessionKey::Up;
      return k;
    case Qt::Key_Down:
      k.key = SessionKey::Down;
      return k;
    case Qt::Key_PageUp:
      k.key = SessionKey::PageUp;
      return k;
    case Qt::Key_PageDown:
      k.key = SessionKey::PageDown;
      return k;
    case Qt::Key_Home:
      k.key = SessionKey::Home;
      return k;
    case Qt::Key_End:
      k.key = SessionKey::End;
      return k;
    case Qt::Key_Backspace:
      k.key = SessionKey::Backspace;
      return k;
    case Qt::Key_Delete:
      k.key = SessionKey::Delete;
      return k;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      k.key = SessionKey::Enter;
      return k;
    case Qt::Key_Escape:
      k.key = SessionKey::Escape;
      return k;
    default:
      break;
  }
  const QString t = e->text();
  if (k.ctrl && !k.alt && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) {
    // Ctrl+letter types the control character (the text commands), whatever the platform's text.
    k.text = static_cast<unsigned char>(e->key() - Qt::Key_A + 1);
  } else if (t.size() == 1 && t[0].unicode() < 256) {
    k.text = static_cast<unsigned char>(t[0].unicode());
  }
  return k;
}

}  // namespace

TDrFrm::TDrFrm(AppContext& ctx, QWidget* parent) : TWorkFrm(ctx, "Drawing    ", parent) {
  setObjectName("DrFrm");
  chooseFile = [this](FileKind kind) { return defaultChooseFile(kind); };
  printDialog = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
  };
  commands_ = new DrawingCommands(ctx, this);
  connect(commands_, &DrawingCommands::changed, this, [this] { refresh(); });
  connect(commands_, &DrawingCommands::stateChanged, this, [this] { updateMenus(); });
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  // The status bar at the top: A and B read-outs, a spare panel, then the three labels.
  auto* bar = new QWidget(central);
  bar->setObjectName("StatusBar1");
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(2, 2, 2, 2);
  panelA_ = statusPanel(bar, "Panel1", 200);
  panelB_ = statusPanel(bar, "Panel2", 200);
  panel3_ = statusPanel(bar, "Panel3", 50);
  label1_ = boldLabel(bar, "Label1");
  label2_ = boldLabel(bar, "Label2");
  label3_ = new QLabel(QString(12, QLatin1Char(' ')), bar);
  label3_->setObjectName("Label3");
  label3_->setFont(QFont("Courier New"));
  for (QWidget* w : {static_cast<QWidget*>(panelA_), static_cast<QWidget*>(panelB_),
                     static_cast<QWidget*>(panel3_), static_cast<QWidget*>(label1_),
                     static_cast<QWidget*>(label2_), static_cast<QWidget*>(label3_)})
    row->addWidget(w);
  row->addStretch(1);
  column->addWidget(bar);
  scroll_ = new QScrollArea(central);
  scroll_->setBackgroundRole(QPalette::Dark);
  view_ = new PreviewView(ctx, this, scroll_);
  scroll_->setWidget(view_);
  column->addWidget(scroll_, 1);
  setCentralWidget(central);
  scroll_->installEventFilter(this);
  view_->installEventFilter(this);
  buildMenus();
  bindDrawing();
}

void TDrFrm::buildMenus() {
  QMenuBar* bar = menuBar();
  auto menu = [bar](QMenu* parent, const QString& title, const char* name, int help) {
    QMenu* m = parent ? parent->addMenu(title) : bar->addMenu(title);
    m->setObjectName(name);
    if (help) setHelpContext(m->menuAction(), help);
    return m;
  };
  auto item = [this](QMenu* m, const QString& text, const char* name, int help,
                     std::function<void()> f) {
    QAction* a = m->addAction(text);
    a->setObjectName(name);
    if (help) setHelpContext(a, help);
    connect(a, &QAction::triggered, this, [f = std::move(f)] { f(); });
    return a;
  };
  // A drawing command from a menu: done, then the command ends (pen up) and the window shows it.
  auto drawItem = [this, item](QMenu* m, const QString& text, const char* name, int help,
                               std::function<void(Drawing&)> f) {
    return item(m, text, name, help, [this, f = std::move(f)] {
      onDrawing([&f](Drawing& d) {
        f(d);
        d.EndDrawingCommand();
      });
    });
  };

  file_ = menu(nullptr, "&File", "File1", 301);
  openGrl_ = item(file_, "&Open GRL", "OpenGRL1", 302, [this] { OpenGrlClick(); });
  item(file_, "&Save GRL", "SaveGRL1", 303, [this] { SaveGrlClick(); });
  item(file_, "&Print", "Print1", 304, [this] { PrintClick(); });
  pcl_ =
      item(file_, "PCL Printing Mode", "PCLPrintingMode1", 304, [this] { setPclPrintMode(true); });
  windowsPrint_ = item(file_, "Windows Print Mode", "WindowsPrintMode1", 304,
                       [this] { setPclPrintMode(false); });
  auto* modes = new QActionGroup(this);
  for (QAction* a : {pcl_, windowsPrint_}) {
    a->setCheckable(true);
    modes->addAction(a);
  }
  writePcx_ = item(file_, "&Write PCX file", "WritePCXfile1", 305, [this] {
    commands_->startPcx();
    refresh();
  });
  file_->addSeparator();
  item(file_, QStringLiteral("Export SVG\u2026"), "ExportSVG1", 301,
       [this] { ExportClick(VectorFormat::Svg); });
  item(file_, QStringLiteral("Export PDF\u2026"), "ExportPDF1", 301,
       [this] { ExportClick(VectorFormat::Pdf); });
  item(file_, QStringLiteral("Export PNG\u2026"), "ExportPNG1", 301,
       [this] { ExportClick(VectorFormat::Png); });
  // A GRD file loaded meanwhile may have changed the print mode.
  connect(file_, &QMenu::aboutToShow, this, [this] { updateMenus(); });

  QMenu* params = menu(nullptr, "&SetParams", "SetParams1", 306);
  item(params, "&FontCode", "FontCode1", 307, [this] { commands_->chooseFontCode(); });
  item(params, "&LineCode", "LineCode1", 308, [this] { commands_->chooseLineCode(); });
  item(params, "&Angle of text", "Angleoftext1", 309, [this] { commands_->chooseTextAngle(); });
  item(params, "&PointSizeCode", "PointSizeCode1", 0, [this] { commands_->choosePointSizeCode(); });

  procedures_ = menu(nullptr, "&DrawingProcedures", "DrawingProcedures1", 310);
  drawItem(procedures_, "&Line", "Line1", 311, [](Drawing& d) { d.DrawLineCommand(); });
  drawItem(procedures_, "&Dashed line", "Dashedline1", 311,
           [](Drawing& d) { d.DrawDashedCommand(); });
  drawItem(procedures_, "&Intermittent line", "Intermittentline1", 311,
           [](Drawing& d) { d.DrawIntermittentCommand(); });
  item(procedures_, "&Graph", "Graph1", 312, [this] {
    // The graph command checks the curves (with its message), draws and ends the command.
    onDrawing([this](Drawing& d) {
      BusyCursor busy(ctx_.host);
      ctx_.graph.GraphCommand(d, ctx_.textEngine());
    });
  });
  arrowhead_ = item(procedures_, "&Arrowhead", "Arrowhead1", 313, [this] {
    commands_->startArrowhead();
    refresh();
  });
  drawItem(procedures_, "&Rectangle", "Rectangle1", 314, [](Drawing& d) { d.DrawRectangle(); });
  circleArc_ = item(procedures_, "&Circle/Arc", "CircleArc1", 315, [this] {
    commands_->startCircleArc();
    refresh();
  });
  struct Symbol {
    const char* text;
    const char* name;
    int shape;
  };
  QMenu* unfilled = menu(procedures_, "&Unfilled point symbol", "Unfilledpointsymbol1", 316);
  for (const Symbol& s :
       {Symbol{"&Plus", "Plus1", 0}, Symbol{"&X", "X1", 1},
        Symbol{"&Horizontal bar", "Horizontalbar1", 2}, Symbol{"&Vertical bar", "Verticalbar1", 3},
        Symbol{"&Circle", "Circle1", 4}, Symbol{"&Diamond", "Diamond1", 5},
        Symbol{"&Square", "Square1", 6}, Symbol{"&Triangle", "Triangle1", 7}})
    drawItem(unfilled, s.text, s.name, 316,
             [shape = s.shape](Drawing& d) { d.DrawPointSymbolAtA(shape); });
  QMenu* solid = menu(procedures_, "&Solid point symbol", "Solidpointsymbol1", 316);
  for (const Symbol& s : {Symbol{"&Circle", "Circle2", 8}, Symbol{"&Diamond", "Diamond2", 9},
                          Symbol{"&Square", "Square2", 10}, Symbol{"&Triangle", "Triangle2", 11}})
    drawItem(solid, s.text, s.name, 316,
             [shape = s.shape](Drawing& d) { d.DrawPointSymbolAtA(shape); });
  drawItem(procedures_, "&Node", "Node1", 317, [](Drawing& d) { d.DrawNode(); });

  // "&Text" is a command on the menu bar itself.
  text_ = bar->addAction("&Text");
  text_->setObjectName("Text1");
  setHelpContext(text_, 318);
  connect(text_, &QAction::triggered, this, [this] {
    ctx_.textEngine();  // the letter fonts as the graph definitions have them now
    if (ctx_.session) ctx_.session->BeginTextEntry();
    view_->setFocus();
    refresh();
  });

  moveNumeric_ = menu(nullptr, "&Move-numeric", "Movenumeric1", 105);
  aCursor_ = item(moveNumeric_, "&A-cursor", "Acursor1", 105, [this] {
    commands_->moveNumeric(false);
    refresh();
  });
  item(moveNumeric_, "&B-cursor", "Bcursor1", 105, [this] {
    commands_->moveNumeric(true);
    refresh();
  });

  block_ = menu(nullptr, "&Rect.block-op", "Rectblockop1", 330);
  copyBlock_ = item(block_, "&Copy block", "Copyblock1", 319, [this] {
    commands_->startBlock(false);
    refresh();
  });
  moveBlock_ = item(block_, "&Move block", "Moveblock1", 320, [this] {
    commands_->startBlock(true);
    refresh();
  });

  addWindowMenu("&Window(F6)", "&Graph definitions", WorkWindow::GraphDefs, "Data &Worksheet",
                WorkWindow::Worksheet, 1)
      ->setObjectName("Window1");

  QMenu* modes_ = menu(nullptr, "Modes", "Modes1", 300);
  modeItems_ = {
      item(modes_, "&Draw mode (D)", "Drawmode1", 321,
           [this] { onDrawing([](Drawing& d) { d.DrawModeOn(); }); }),
      item(modes_, "&Erase mode (E)", "Erasemode1", 322,
           [this] { onDrawing([](Drawing& d) { d.EraseModeOn(); }); }),
      item(modes_, "&Vernier mode (V)", "Verniermode1", 323,
           [this] { onDrawing([](Drawing& d) { d.VernierModeOn(); }); }),
      item(modes_, "&Char mode (C)", "Charmode1", 324,
           [this] { onDrawing([](Drawing& d) { d.CharModeOn(); }); }),
  };
  item(modes_, "Reset all (Esc)", "Resetall1", 300,
       [this] { onDrawing([](Drawing& d) { d.ResetAllModes(); }); });
  zoom_ = item(modes_, "Zoom out", "Zoomout1", 300, [this] {
    if (ctx_.session) ctx_.session->ToggleZoom();
    refresh();
  });
  zoom_->setCheckable(true);
  zoom_->setShortcut(QKeySequence(Qt::Key_F5));

  QMenu* help = addHelpMenu();
  const QList<QAction*> helpItems = help->actions();
  if (helpItems.size() == 2) {
    helpItems[0]->setObjectName("Contents1");
    helpItems[1]->setObjectName("TopicSearch1");
  }
}

void TDrFrm::onDrawing(const std::function<void(Drawing&)>& command) {
  command(ctx_.ensureDrawing());
  if (ctx_.drawing) ctx_.drawing->repaint();
  refresh();
}

void TDrFrm::refresh() {
  view_->follow();
  refreshStatus();
}

void TDrFrm::refreshStatus() {
  updateMenus();
  if (!ctx_.session) return;
  const DrawingSession& s = *ctx_.session;
  panelA_->setText(QString::fromLatin1(s.readoutA().c_str()));
  panelB_->setText(QString::fromLatin1(s.readoutB().c_str()));
  label1_->setText(QString::fromLatin1(s.modeLabel().c_str()));
  label2_->setText(QString::fromLatin1(s.gridLabel().c_str()));
}

void TDrFrm::updateMenus() {
  if (!zoom_) return;  // menus not built yet
  const DrawingSession* s = ctx_.session.get();
  const bool zoomed = s && s->state().ZoomedOut;
  // A multi-step command is open: nothing may start a second one, nor load a file under it.
  const bool busy = !s || s->busy() || commands_->boxOpen();
  const bool typing = s && s->pending() == PendingCommand::TextEntry;
  for (QMenu* m : {file_, procedures_, moveNumeric_, block_}) m->menuAction()->setEnabled(!zoomed);
  for (QAction* a : modeItems_) a->setEnabled(!zoomed);
  text_->setEnabled(!zoomed && !busy);
  for (QAction* a : {openGrl_, writePcx_, arrowhead_, circleArc_, copyBlock_, moveBlock_})
    a->setEnabled(!busy);
  aCursor_->setEnabled(!s || s->state().AMovable);
  zoom_->setChecked(zoomed);
  zoom_->setEnabled(!typing);
  pcl_->setChecked(ctx_.PclPrintMode);
  windowsPrint_->setChecked(!ctx_.PclPrintMode);
}

void TDrFrm::changeEvent(QEvent* e) {
  // On activation the print mode check marks follow the mode (a GRD load may have set it).
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) updateMenus();
  TWorkFrm::changeEvent(e);
}

bool TDrFrm::handleKey(QKeyEvent* e) {
  if (!ctx_.session || !ctx_.session->Key(toKeyPress(e))) return false;
  refreshStatus();
  view_->update();
  return true;
}

void TDrFrm::keyPressEvent(QKeyEvent* e) {
  if (!handleKey(e)) TWorkFrm::keyPressEvent(e);
}

bool TDrFrm::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(e))) return true;
  // The zoomed view takes its height from the scroll box.
  if (watched == scroll_ && e->type() == QEvent::Resize && ctx_.session) {
    ctx_.session->setViewHeight(scroll_->height());
    view_->follow();
  }
  return TWorkFrm::eventFilter(watched, e);
}

void TDrFrm::previewClicked(double x, double y, bool shiftOnly) {
  if (!ctx_.session || !ctx_.session->Click(x, y, shiftOnly)) return;
  refreshStatus();
  view_->update();
}

void TDrFrm::bindDrawing() {
  if (!ctx_.drawing) return;
  Drawing& d = *ctx_.drawing;
  d.onRepaint = [this] {
    view_->follow();
    refreshStatus();
  };
  d.onCursorsChanged = [this] {
    refreshStatus();
    view_->update();
  };
  if (ctx_.session) ctx_.session->setViewHeight(scroll_->height());
  d.onCaptionChanged = [this] {
    setWindowTitle(QString::fromLatin1(ctx_.drawing->caption().c_str()));
  };
  setWindowTitle(QString::fromLatin1(d.caption().c_str()));
  label3_->setText(QString(12, QLatin1Char(' ')));
  if (ctx_.text)
    ctx_.text->onClearHint = [this] { label3_->setText(QString(12, QLatin1Char(' '))); };
  view_->follow();
  refreshStatus();
}

// ---- Files ----

QString TDrFrm::defaultChooseFile(FileKind kind) {
  struct Dialog {
    const char* caption;
    const char* filter;
    const char* suffix;
    bool save;
  };
  static const Dialog dialogs[] = {
      {"Open GRL", "GRL file (*.GRL *.grl)", "GRL", false},
      {"Save GRL", "GRL file (*.GRL *.grl)", "GRL", true},
  };
  const Dialog& dlg = dialogs[int(kind)];
  QFileDialog d(this, dlg.caption);
  d.setNameFilter(dlg.filter);
  d.setDefaultSuffix(dlg.suffix);
  d.setAcceptMode(dlg.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(dlg.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // Saves ask before replacing a file (the dialog's own overwrite prompt).
  d.setOption(QFileDialog::DontConfirmOverwrite, false);
  if ((kind == FileKind::OpenGrl || kind == FileKind::SaveGrl) && ctx_.drawing &&
      !ctx_.drawing->state.GrlFileName.empty())
    d.selectFile(QString::fromLocal8Bit(ctx_.drawing->state.GrlFileName.c_str()));
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
  return d.selectedFiles().first();
}

void TDrFrm::OpenGrlClick() {
  const QString path = chooseFile(FileKind::OpenGrl);
  if (path.isEmpty()) return;
  Drawing& d = ctx_.ensureDrawing();
  // Unsaved work is saved first, or given up on purpose; Cancel or a failed save keeps it.
  if (!DrawingMayBeReplaced(d, [this] { return SaveGrlClick(); })) return;
  // Whatever is open on the old picture ends before the file replaces it.
  commands_->closeBoxes();
  if (ctx_.session) ctx_.session->Discard();
  OpenGrlFile(d, path.toLocal8Bit().toStdString());
  refresh();
}

bool TDrFrm::SaveGrlClick() {
  const QString path = chooseFile(FileKind::SaveGrl);
  if (path.isEmpty()) return false;
  const bool ok = SaveGrlAs(ctx_.ensureDrawing(), path.toLocal8Bit().toStdString());
  refresh();
  return ok;
}

// ---- Printing and export ----

void TDrFrm::setPclPrintMode(bool pcl) {
  ctx_.PclPrintMode = pcl;
  updateMenus();
}

void TDrFrm::PrintClick() {
  Drawing& d = ctx_.ensureDrawing();
  // The program started with --print-to: printing goes to that file, as in batch mode.
  if (!ctx_.printToFile.empty()) {
    PrintDrawing(d, ctx_.PclPrintMode, ctx_.printToFile);
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  if (!printDialog || !printDialog(printer)) return;
  BusyCursor busy(ctx_.host);
  const std::vector<uint8_t> bits = PageBits(d);
  const bool landscape = d.state.LandscapeMode;
  std::string error;
  // "Print to file" gives the PDF of the page on the paper chosen, whatever the mode, written
  // by the same code as --print-to.
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    const std::string file = printer.outputFileName().toLocal8Bit().toStdString();
    if (!WritePagePdf(bits, landscape, file, error, printer.pageLayout().pageSize()))
      ctx_.host.message(error, "Print");
    return;
  }
  // PCL mode: one job of the PCL stream to the queue chosen in the dialog (its messages are the
  // printing service's own).
  if (ctx_.PclPrintMode) {
    PrintPclToCups(d, printer.printerName().toLocal8Bit().toStdString());
    return;
  }
  if (!PrintPageOn(printer, bits, landscape, error)) ctx_.host.message(error, "Print");
}

void TDrFrm::ExportClick(VectorFormat format) {
  ExportDrawingCommand(this, ctx_.ensureDrawing(), format, exportPrompts);
}

// ---- Closing ----

bool TDrFrm::FormCloseQuery() {
  if (!ctx_.drawing || ctx_.DrawingClosed) return true;
  return DrawingMayClose(*ctx_.drawing, ctx_.ScriptRunning, [this] {
    // The drawing is shown while its save dialog is open.
    ctx_.SHOWDRAWING();
    return SaveGrlClick();
  });
}

void TDrFrm::FormClose() {
  programClosing_ = true;
  if (ctx_.drawing) commands_->closeBoxes();
}

void TDrFrm::closeDiscarded() {
  discarded_ = true;
  close();
}

void TDrFrm::closeEvent(QCloseEvent* e) {
  if (discarded_ || programClosing_) return e->accept();
  if (!FormCloseQuery()) return e->ignore();
  // Every box and pending state ends before the drawing goes.
  commands_->closeBoxes();
  e->accept();
  emit closed();
}

}  // namespace plotane
