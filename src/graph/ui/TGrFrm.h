#pragma once
// The graph definitions window: the list of curves and the menus that edit the graph
// definitions, with the curve pick through the worksheet, the attribute dialogs and the way to
// the drawing.

#include <QAbstractScrollArea>
#include <functional>

#include "shell/ui/WorkWindow.h"

namespace plotane {

class Graph;

// The curve list: four text lines per curve, 64 pixels apart, scrolled by 64 x CurveCount.
class CurveListView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  CurveListView(Graph& graph, QWidget* parent = nullptr);
  // After a change: new scroll range, back to the top, repainted.
  void changed();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  Graph& graph_;
};

class TGrFrm : public TWorkFrm {
  Q_OBJECT
 public:
  explicit TGrFrm(AppContext& ctx, QWidget* parent = nullptr);
  ~TGrFrm() override;

  // The program's close sequence: FormCloseQuery asks (and may save) without changing anything
  // else; CommitClose, once every window agreed, brings back the start-up definitions.
  bool FormCloseQuery() override;
  void CommitClose();
  void FormClose() override { CommitClose(); }

  CurveListView* curveList() const { return list_; }
  // The directory StartUp.GRD is read from (the program's own).
  QString programDir;
  // Chooses a GRD file name (open or save dialog, seeded with the current name); empty when
  // cancelled. Replaceable for tests.
  std::function<QString(bool save)> chooseFile;

  // The menu commands.
  void LoadClick();
  void SaveClick();
  void NewCurveClick();
  void OldCurveClick();
  void EditAttributesClick();
  void RemoveCurveClick();
  void SetXsClick();
  void AxisClick(bool x);
  void GraphAttributesClick();
  void SetupCursorsClick();
  void BlankDrawingClick();

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The curve number dialog; 0 when cancelled.
  int chooseCurve();
  bool saveWithDialog();
  void refreshCaption();
  QString defaultChooseFile(bool save);

  CurveListView* list_;
};

}  // namespace plotane
