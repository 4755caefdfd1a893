#include "shell/ui/Shell.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>

#include "batch/ui/TBatFrm.h"
#include "drawing/ui/TDrFrm.h"
#include "graph/ui/TGrFrm.h"
#include "shell/CloseSequence.h"
#include "shell/OpenByType.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/THelpFrm.h"
#include "shell/ui/TLogFrm.h"
#include "worksheet/ui/TWkFrm.h"

namespace plotane {

Shell::Shell() : ctx_(host_) {
  // Windows in start-up order: main, worksheet, log, script (hidden), drawing, graph definitions.
  main_ = std::make_unique<TForm1>(ctx_);
  worksheet_ = std::make_unique<TWkFrm>(ctx_);
  log_ = std::make_unique<TLogFrm>(ctx_);
  batch_ = std::make_unique<TBatFrm>(ctx_);
  ensureDrawingWindow();
  graphDefs_ = std::make_unique<TGrFrm>(ctx_);

  host_.onShowLog = [this] { log_->showLog(); };
  host_.onShowRunEbt = [this] { batch_->showRunEbt(); };
  host_.onShowHelp = [this](int context) { helpWindow()->showHelp(context); };
  qApp->installEventFilter(this);
  // The script window stays on top: while it runs, its message boxes belong to it.
  batch_->onRunning = [this](bool on) {
    batchRunning_ = on;
    host_.dialogParent = on ? static_cast<QWidget*>(batch_.get()) : current_.data();
  };
  host_.onShowWindow = [this](WorkWindow w) { show(w); };
  // The drawing was discarded by a command (the window goes) or made anew (the window follows).
  host_.onDrawingReplaced = [this] {
    if (!drawing_) return;
    if (ctx_.drawing) {
      drawing_->bindDrawing();
      return;
    }
    // The window goes with its drawing: it is forgotten at once, so that a drawing made anew
    // before the window is deleted gets a window of its own, not the one going away.
    TDrFrm* gone = drawing_;
    drawing_ = nullptr;
    gone->closeDiscarded();
  };
  main_->onCloseQuery = [this] { return closeQuery(); };
  main_->onClose = [this] {
    ctx_.closeProgram();
    QApplication::quit();
  };
}

Shell::~Shell() {
  qApp->removeEventFilter(this);
  delete drawing_.data();
}

THelpFrm* Shell::helpWindow() {
  if (!help_) help_ = std::make_unique<THelpFrm>(THelpFrm::findCollection());
  return help_.get();
}

bool Shell::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
      int context = helpContextOf(menu->activeAction());
      if (!context) context = helpContextOf(menu->menuAction());
      if (context) {
        menu->close();
        host_.showHelp(context);
        return true;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

void Shell::start(const std::vector<std::string>& params) {
  const FileKind kind = params.empty() ? FileKind::None : fileKindOf(params[0]);
  if (kind == FileKind::None || kind == FileKind::Script) {
    std::vector<std::string> script = scriptParameters(params);
    // A script opened from the desktop finds its data files beside it.
    if (kind == FileKind::Script) {
      QFileInfo file(QString::fromLocal8Bit(script[0].c_str()));
      if (file.path() != ".") {
        QDir::setCurrent(file.path());
        script[0] = file.fileName().toLocal8Bit().toStdString();
      }
    }
    // The command-line script runs to its end before the user gets a window.
    if (!script.empty()) ctx_.RUNFROMCOMMANDLINE(script);
    if (!ctx_.QuitRequested) main_->show();
    return;
  }
  main_->show();
  openByType(ctx_, params[0]);
}

TDrFrm* Shell::ensureDrawingWindow() {
  if (!drawing_) {
    drawing_ = new TDrFrm(ctx_);
    drawing_->setAttribute(Qt::WA_DeleteOnClose);
    connect(drawing_, &TDrFrm::closed, this, [this] { ctx_.drawingWindowClosed(); });
  }
  return drawing_;
}

void Shell::show(WorkWindow w) {
  TWorkFrm* target = nullptr;
  switch (w) {
    case WorkWindow::Worksheet:
      target = worksheet_.get();
      break;
    case WorkWindow::GraphDefs:
      target = graphDefs_.get();
      break;
    case WorkWindow::Drawing:
      target = ensureDrawingWindow();
      break;
  }
  TWorkFrm* all[3] = {worksheet_.get(), graphDefs_.get(), drawing_.data()};
  for (TWorkFrm* other : all)
    if (other && other != target && other->isVisible()) other->showNormal();
  target->showMaximized();
  target->raise();
  target->activateWindow();
  current_ = target;
  if (!batchRunning_) host_.dialogParent = target;
}

bool Shell::closeQuery() {
  // Worksheet, then drawing, then graph definitions are asked; each may keep the program
  // running, and only when all agree does any of them act.
  std::vector<CloseParty> parties;
  // A drawing a script made after its window went is asked about through a window of its own.
  if (ctx_.drawing && !ctx_.DrawingClosed) ensureDrawingWindow();
  TWorkFrm* windows[3] = {worksheet_.get(), drawing_.data(), graphDefs_.get()};
  for (TWorkFrm* w : windows)
    if (w) parties.push_back({[w] { return w->FormCloseQuery(); }, [w] { w->FormClose(); }});
  return RunCloseSequence(parties);
}

}  // namespace plotane
