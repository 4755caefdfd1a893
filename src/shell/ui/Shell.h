#pragma once
// The desktop program's shell: the application context with its Qt host, every window created
// once in start-up order, window selection, the drawing window's discard and re-creation, and
// the close of the program.

#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>

#include "drawing/ui/TDrFrm.h"
#include "shell/AppContext.h"
#include "shell/ui/QtHost.h"

namespace plotane {

class TForm1;
class TLogFrm;
class TWkFrm;
class TGrFrm;
class TBatFrm;
class THelpFrm;

class Shell : public QObject {
  Q_OBJECT
 public:
  Shell();
  ~Shell() override;

  // Runs the command-line script (if any) to its end, then shows the main window. A first
  // parameter with the extension EBT, GRL, GRD or DSF opens that file by its type.
  void start(const std::vector<std::string>& params);

  AppContext& context() { return ctx_; }
  TForm1* mainWindow() const { return main_.get(); }
  TLogFrm* logWindow() const { return log_.get(); }
  TWkFrm* worksheetWindow() const { return worksheet_.get(); }
  TGrFrm* graphDefsWindow() const { return graphDefs_.get(); }
  TBatFrm* batchWindow() const { return batch_.get(); }
  // The help window, made when help is first asked for.
  THelpFrm* helpWindow();
  // Null while the drawing is discarded.
  TDrFrm* drawingWindow() const { return drawing_; }
  // The work window shown last (maximised).
  TWorkFrm* currentWorkWindow() const { return current_; }

 protected:
  // F1 on a highlighted menu item opens the topic of its help context.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void show(WorkWindow w);
  TDrFrm* ensureDrawingWindow();
  bool closeQuery();

  QtHost host_;
  AppContext ctx_;
  std::unique_ptr<TForm1> main_;
  std::unique_ptr<TWkFrm> worksheet_;
  std::unique_ptr<TLogFrm> log_;
  std::unique_ptr<TBatFrm> batch_;
  std::unique_ptr<THelpFrm> help_;
  std::unique_ptr<TGrFrm> graphDefs_;
  QPointer<TDrFrm> drawing_;
  QPointer<TWorkFrm> current_;
  bool batchRunning_ = false;
};

}  // namespace plotane
