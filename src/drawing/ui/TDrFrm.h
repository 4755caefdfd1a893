#pragma once
// The drawing window: shows the drawing's preview under a status bar (cursor read-outs, mode,
// grid and text labels), hands keys and clicks to the drawing's session, and carries the menus
// of the drawing commands, files, printing and export. The commands that go through dialogs and
// stay-on-top boxes are DrawingCommands'. The window is discarded when closed and made anew
// when the drawing is next needed.

#include <functional>

#include <QString>

#include "drawing/ui/DrawingExport.h"
#include "shell/ui/WorkWindow.h"

class QAction;
class QLabel;
class QKeyEvent;
class QMenu;
class QPrinter;
class QScrollArea;

namespace plotane {

class Drawing;
class DrawingCommands;
class PreviewView;

class TDrFrm : public TWorkFrm {
  Q_OBJECT
 public:
  explicit TDrFrm(AppContext& ctx, QWidget* parent = nullptr);

  // Follows the context's current drawing (after it was made anew).
  void bindDrawing();
  // Closes the window without discarding the drawing again (it is already gone).
  void closeDiscarded();

  // The program's close: the save question (changes nothing else), then the close itself.
  bool FormCloseQuery() override;
  void FormClose() override;

  DrawingCommands* commands() const { return commands_; }

  // The files the window asks for; the dialogs are replaceable for tests. Empty: cancelled.
  enum class FileKind { OpenGrl, SaveGrl };
  std::function<QString(FileKind)> chooseFile;
  // The print dialog on the printer it sets up; false when cancelled. Replaceable for tests.
  std::function<bool(QPrinter&)> printDialog;

  // Menu commands that are the window's own.
  void OpenGrlClick();
  bool SaveGrlClick();  // false when cancelled or failed
  void PrintClick();
  void setPclPrintMode(bool pcl);
  // "Export SVG...", "Export PDF..." (vectors) and "Export PNG..." (with its resolution).
  void ExportClick(VectorFormat format);
  // What the export commands ask; replaceable for tests.
  ExportPrompts exportPrompts;

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  // The window takes keys before its controls (the scroll box would scroll on arrows).
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  friend class PreviewView;
  void buildMenus();
  // Runs a command on the drawing (made anew if it was discarded), then shows the outcome.
  void onDrawing(const std::function<void(Drawing&)>& command);
  bool handleKey(QKeyEvent* e);
  void previewClicked(double x, double y, bool shiftOnly);
  void refresh();
  void refreshStatus();
  // Enables the items by zoom and open multi-step commands; print mode check marks.
  void updateMenus();
  QString defaultChooseFile(FileKind kind);

  PreviewView* view_;
  QLabel* panelA_;
  QLabel* panelB_;
  QLabel* panel3_;
  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QScrollArea* scroll_;
  DrawingCommands* commands_ = nullptr;
  // Menus and items whose state follows the drawing.
  QMenu* file_ = nullptr;
  QMenu* procedures_ = nullptr;
  QMenu* moveNumeric_ = nullptr;
  QMenu* block_ = nullptr;
  QAction* text_ = nullptr;
  QAction* openGrl_ = nullptr;
  QAction* pcl_ = nullptr;
  QAction* windowsPrint_ = nullptr;
  QAction* writePcx_ = nullptr;
  QAction* arrowhead_ = nullptr;
  QAction* circleArc_ = nullptr;
  QAction* copyBlock_ = nullptr;
  QAction* moveBlock_ = nullptr;
  QAction* aCursor_ = nullptr;
  QAction* zoom_ = nullptr;
  QList<QAction*> modeItems_;  // D, E, V, C
  bool discarded_ = false;
  bool programClosing_ = false;
};

}  // namespace plotane
