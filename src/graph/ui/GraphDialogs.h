#pragma once
// The graph definitions window's dialogs: curve number, curve range, curve style, axis and graph
// attributes. Each only moves values between its widgets and the forms of graph/GraphForms.h,
// where the rules and messages live.

#include <QDialog>
#include <vector>

#include "graph/GraphForms.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace plotane {

class Host;
class Graph;

// A titled group of radio buttons, one column.
class RadioGroup : public QWidget {
  Q_OBJECT
 public:
  RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr,
             int columns = 1);
  int index() const;
  void setIndex(int i);
  QGroupBox* box() const { return box_; }

 signals:
  void clicked(int index);

 private:
  QGroupBox* box_;
  QButtonGroup* group_;
};

// "Select curve number:"
class TCurNums : public QDialog {
  Q_OBJECT
 public:
  TCurNums(Host& host, const Graph& graph, QWidget* parent = nullptr);
  int curve() const { return curve_; }
  void accept() override;

 private:
  Host& host_;
  int count_;
  QComboBox* combo_;
  int curve_ = 0;
};

// "Curve range of points"
class TRngDlg : public QDialog {
  Q_OBJECT
 public:
  TRngDlg(Host& host, const CurveRangeForm& form, QWidget* parent = nullptr);
  // The accepted range.
  int low = 0, high = 0;
  void accept() override;

 private:
  Host& host_;
  CurveRangeForm form_;
  QLineEdit* from_;
  QLineEdit* to_;
};

// "Curve Style", on curve n.
class TCurvS : public QDialog {
  Q_OBJECT
 public:
  TCurvS(Host& host, Graph& graph, int n, QWidget* parent = nullptr);
  void accept() override;

 private:
  void readForm();
  void applyVisibility();
  Host& host_;
  Graph& graph_;
  int n_;
  CurveStyleForm form_;
  RadioGroup* type_;
  QLabel* widthLabel_;
  QComboBox* width_;
  QLabel* sizeLabel_;
  QComboBox* size_;
  RadioGroup* shape_;
  QListWidget* bar_;
};

// "Axis Attributes", on one AxisDef.
class TAxisS : public QDialog {
  Q_OBJECT
 public:
  TAxisS(Host& host, const GraphDef& def, AxisDef& axis, const QString& heading,
         QWidget* parent = nullptr);
  void accept() override;

 private:
  AxisForm readForm() const;
  void applyRules();
  Host& host_;
  AxisDef& axis_;
  std::vector<std::string> fonts_;
  RadioGroup *minimum_, *maximum_, *type_, *style_, *linNumbering_, *logNumbering_, *position_,
      *angle_, *label_;
  QLineEdit *min_, *max_, *unitsPerTick_, *tickIntervals_, *numberingInterval_, *decimalPlaces_,
      *startDelay_, *nominalTicks_, *tickLength_, *labelText_;
  QLabel* maxLabel_;
  QGroupBox *manualBox_, *nominalBox_, *numberFontBox_, *labelBox_;
  QComboBox *numberFont_, *lineWidth_, *labelFont_;
};

// "Graph Attributes"
class TGraphS : public QDialog {
  Q_OBJECT
 public:
  TGraphS(Host& host, GraphDef& def, QWidget* parent = nullptr);
  void accept() override;

 private:
  Host& host_;
  GraphDef& def_;
  std::vector<std::string> fonts_;
  QLineEdit *ax_, *ay_, *bx_, *by_, *title_;
  RadioGroup *orientation_, *scaling_, *titleMode_;
  QLabel* fontLabel_;
  QComboBox* titleFont_;
  int shownOrientation_ = 0;
};

}  // namespace plotane
