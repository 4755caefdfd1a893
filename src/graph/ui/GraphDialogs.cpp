#include "graph/ui/GraphDialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "graph/Graph.h"
#include "shell/base/Host.h"

namespace plotane {

namespace {

QString q(const std::string& s) { return QString::fromLatin1(s.c_str(), int(s.size())); }
std::string s(const QString& t) { return t.toLatin1().toStdString(); }

QStringList list(const std::vector<std::string>& items) {
  QStringList l;
  for (const std::string& i : items) l << q(i);
  return l;
}

// OK, Cancel and Help; Help opens the help at the dialog's context.
QDialogButtonBox* buttons(QDialog* d, Host& host, int helpContext) {
  auto* b =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                               (helpContext ? QDialogButtonBox::Help : QDialogButtonBox::NoButton),
                           d);
  QObject::connect(b, &QDialogButtonBox::accepted, d, &QDialog::accept);
  QObject::connect(b, &QDialogButtonBox::rejected, d, &QDialog::reject);
  QObject::connect(b, &QDialogButtonBox::helpRequested, d,
                   [&host, helpContext] { host.showHelp(helpContext); });
  return b;
}

QLineEdit* edit(QWidget* parent, const char* name, const std::string& text, int chars) {
  auto* e = new QLineEdit(q(text), parent);
  e->setObjectName(name);
  e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (chars + 2) + 8);
  return e;
}

QComboBox* combo(QWidget* parent, const char* name, const QStringList& items, bool editable) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->addItems(items);
  c->setEditable(editable);
  return c;
}

void fixedDialog(QDialog* d, const char* name, const QString& caption) {
  d->setObjectName(name);
  d->setWindowTitle(caption);
  d->setModal(true);
  if (d->layout()) d->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

// ---- RadioGroup ----

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent, int columns)
    : QWidget(parent), box_(new QGroupBox(title, this)), group_(new QButtonGroup(this)) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(box_);
  auto* grid = new QGridLayout(box_);
  const int rows = (int(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* r = new QRadioButton(items[i], box_);
    group_->addButton(r, i);
    grid->addWidget(r, i % rows, i / rows);
  }
  connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::index() const { return group_->checkedId(); }

void RadioGroup::setIndex(int i) {
  if (QAbstractButton* b = group_->button(i)) b->setChecked(true);
}

// ---- TCurNums ----

TCurNums::TCurNums(Host& host, const Graph& graph, QWidget* parent)
    : QDialog(parent), host_(host), count_(graph.def.CurveCount) {
  auto* v = new QVBoxLayout(this);
  combo_ = combo(this, "CurveNumbers", list(CurveNumberLines(graph)), true);
  combo_->setCurrentIndex(combo_->count() ? 0 : -1);
  v->addWidget(combo_);
  v->addWidget(buttons(this, host, 0));
  fixedDialog(this, "CurNums", "Select curve number:");
}

void TCurNums::accept() {
  curve_ = ParseCurveNumber(s(combo_->currentText()), count_);
  if (curve_ == 0) return host_.message(kInvalidCurveNumber);
  QDialog::accept();
}

// ---- TRngDlg ----

TRngDlg::TRngDlg(Host& host, const CurveRangeForm& form, QWidget* parent)
    : QDialog(parent), host_(host), form_(form) {
  auto* v = new QVBoxLayout(this);
  QFont mono("Courier New");
  mono.setStyleHint(QFont::TypeWriter);
  for (const std::string& line : {form.yLine, form.xLine}) {
    auto* l = new QLabel(q(line), this);
    l->setFont(mono);
    v->addWidget(l);
  }
  auto* row = new QHBoxLayout;
  from_ = edit(this, "From", form.from, 7);
  to_ = edit(this, "To", form.to, 7);
  row->addWidget(new QLabel("From:", this));
  row->addWidget(from_);
  row->addWidget(new QLabel("To:", this));
  row->addWidget(to_);
  row->addStretch();
  v->addLayout(row);
  v->addWidget(buttons(this, host, 0));
  fixedDialog(this, "RngDlg", "Curve range of points");
  from_->setFocus();
  from_->selectAll();
}

void TRngDlg::accept() {
  form_.from = s(from_->text());
  form_.to = s(to_->text());
  switch (AcceptCurveRange(form_, low, high)) {
    case RangeCheck::NotInteger:
      return host_.beep();
    case RangeCheck::Beyond:
      return host_.message(kRangeBeyond);
    case RangeCheck::Ok:
      QDialog::accept();
  }
}

// ---- TCurvS ----

TCurvS::TCurvS(Host& host, Graph& graph, int n, QWidget* parent)
    : QDialog(parent), host_(host), graph_(graph), n_(n), form_(CurveStyleFormFor(graph, n)) {
  auto* v = new QVBoxLayout(this);
  auto* heading = new QLabel(q(form_.heading), this);
  heading->setObjectName("Heading");
  v->addWidget(heading);
  v->addWidget(new QLabel(q(form_.yLine), this));
  v->addWidget(new QLabel(q(form_.xLine), this));

  auto* row = new QHBoxLayout;
  type_ = new RadioGroup(
      "Curve Type",
      {"&Line", "&Dashed line", "&Intermittent line", "&Points", "&Connected points", "Do&ts"},
      this);
  type_->setObjectName("CurveType");
  row->addWidget(type_);
  auto* codes = new QGridLayout;
  widthLabel_ = new QLabel("Line width code", this);
  width_ = combo(this, "LineWidth", list(LineWidthItems()), true);
  sizeLabel_ = new QLabel("Point size code", this);
  size_ = combo(this, "PointSize", list(PointSizeItems()), true);
  codes->addWidget(widthLabel_, 0, 0);
  codes->addWidget(width_, 0, 1);
  codes->addWidget(sizeLabel_, 1, 0);
  codes->addWidget(size_, 1, 1);
  codes->setRowStretch(2, 1);
  row->addLayout(codes);
  v->addLayout(row);

  shape_ = new RadioGroup(
      "Point shape/style",
      {"Circles", "Diamonds", "Squares", "Triangles", "Plusses", "X's", "Horiz", "Vert",
       "Solid Circles", "Solid Diamonds", "Solid Squares", "Solid Triangles"},
      this, 3);
  shape_->setObjectName("PointShape");
  v->addWidget(shape_);

  auto* barBox = new QGroupBox("Bar connect to other curve", this);
  auto* barRow = new QHBoxLayout(barBox);
  barRow->addWidget(new QLabel("Other curve number =", barBox));
  bar_ = new QListWidget(barBox);
  bar_->setObjectName("BarCurve");
  bar_->addItems(list(form_.barItems));
  bar_->setCurrentRow(form_.barIndex);
  bar_->setFixedHeight(80);
  barRow->addWidget(bar_);
  v->addWidget(barBox);
  v->addWidget(buttons(this, host, 103));

  type_->setIndex(form_.curveType);
  width_->setCurrentText(q(form_.lineWidth));
  size_->setCurrentText(q(form_.pointSize));
  shape_->setIndex(form_.shapeIndex);
  connect(type_, &RadioGroup::clicked, this, [this] { applyVisibility(); });
  applyVisibility();
  fixedDialog(this, "CurvS", "Curve Style");
}

void TCurvS::applyVisibility() {
  const bool points = UsesPointControls(type_->index());
  sizeLabel_->setVisible(points);
  size_->setVisible(points);
  shape_->setEnabled(points);
  widthLabel_->setVisible(!points);
  width_->setVisible(!points);
}

void TCurvS::readForm() {
  form_.curveType = type_->index();
  form_.lineWidth = s(width_->currentText());
  form_.pointSize = s(size_->currentText());
  form_.shapeIndex = shape_->index();
  form_.barIndex = std::max(0, bar_->currentRow());
}

void TCurvS::accept() {
  readForm();
  // The record is changed only on an accepted OK, so Cancel leaves it as it was.
  CurveDef c = graph_.def.curve(n_);
  if (!AcceptCurveStyle(form_, c)) return host_.message(kStyleError);
  graph_.def.curve(n_) = c;
  graph_.RefreshCurveStatus(n_);
  QDialog::accept();
}

// ---- TAxisS ----

TAxisS::TAxisS(Host& host, const GraphDef& def, AxisDef& axis, const QString& heading,
               QWidget* parent)
    : QDialog(parent), host_(host), axis_(axis), fonts_(FontCodeItems(def)) {
  const AxisForm f = AxisFormFor(axis);
  auto* grid = new QGridLayout(this);
  auto* title = new QLabel(heading, this);
  title->setObjectName("Heading");
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  grid->addWidget(title, 0, 0, 1, 3);

  // Left column: scaling.
  auto* left = new QVBoxLayout;
  minimum_ = new RadioGroup("Minimum point", {"AutoScale", "User spec", "Manually scaled"}, this);
  minimum_->setObjectName("Minimum");
  auto* minRow = new QHBoxLayout;
  min_ = edit(this, "Min", f.min, 14);
  minRow->addWidget(new QLabel("Min=", this));
  minRow->addWidget(min_);
  maximum_ = new RadioGroup("Maximum point", {"AutoScale", "User spec"}, this);
  maximum_->setObjectName("Maximum");
  auto* maxRow = new QHBoxLayout;
  max_ = edit(this, "Max", f.max, 14);
  maxLabel_ = new QLabel("Max=", this);
  maxRow->addWidget(maxLabel_);
  maxRow->addWidget(max_);
  left->addWidget(minimum_);
  left->addLayout(minRow);
  left->addWidget(maximum_);
  left->addLayout(maxRow);

  manualBox_ = new QGroupBox("Manual scaling values", this);
  manualBox_->setObjectName("ManualBox");
  auto* mg = new QGridLayout(manualBox_);
  unitsPerTick_ = edit(manualBox_, "UnitsPerTick", f.unitsPerTick, 14);
  tickIntervals_ = edit(manualBox_, "TickIntervals", f.tickIntervals, 14);
  numberingInterval_ = edit(manualBox_, "NumberingInterval", f.numberingInterval, 2);
  decimalPlaces_ = edit(manualBox_, "DecimalPlaces", f.decimalPlaces, 2);
  startDelay_ = edit(manualBox_, "StartDelay", f.startDelay, 2);
  const char* manualLabels[5] = {
      "GraphUnits / tick =", "TickIntervals / axis=", "Tick numbering interval=",
      "Decimal places            =", "Numbering start delay  ="};
  QLineEdit* manualEdits[5] = {unitsPerTick_, tickIntervals_, numberingInterval_, decimalPlaces_,
                               startDelay_};
  for (int i = 0; i < 5; ++i) {
    mg->addWidget(new QLabel(manualLabels[i], manualBox_), i, 0);
    mg->addWidget(manualEdits[i], i, 1);
  }
  left->addWidget(manualBox_);
  nominalBox_ = new QGroupBox("Nominal number of ticks", this);
  nominalBox_->setObjectName("NominalBox");
  auto* nb = new QHBoxLayout(nominalBox_);
  nominalTicks_ = edit(nominalBox_, "NominalTicks", f.nominalTicks, 6);
  nb->addWidget(nominalTicks_);
  nb->addStretch();
  left->addWidget(nominalBox_);
  left->addStretch();
  grid->addLayout(left, 1, 0);

  // Middle column: axis type, style and numbering.
  auto* mid = new QVBoxLayout;
  type_ = new RadioGroup("Axis type", {"Linear", "Logarithmic"}, this);
  type_->setObjectName("AxisType");
  style_ = new RadioGroup("Axis style", {"Open", "Closed box", "Box && grid lines"}, this);
  style_->setObjectName("AxisStyle");
  linNumbering_ = new RadioGroup("Numbering style", {"Normal", "Suppressed"}, this);
  linNumbering_->setObjectName("LinNumbering");
  logNumbering_ = new RadioGroup(
      "Numbering style",
      {"Normal", "Suppressed", "Ten to power", "Only ten to pwr.", "Decades only"}, this);
  logNumbering_->setObjectName("LogNumbering");
  position_ = new RadioGroup("Tick position", {"Inside", "Outside"}, this);
  position_->setObjectName("TickPosition");
  angle_ = new RadioGroup("Number angle", {"Normal", "90 degrees"}, this);
  angle_->setObjectName("NumberAngle");
  for (QWidget* w : {static_cast<QWidget*>(type_), static_cast<QWidget*>(style_),
                     static_cast<QWidget*>(linNumbering_), static_cast<QWidget*>(logNumbering_)})
    mid->addWidget(w);
  mid->addStretch();
  grid->addLayout(mid, 1, 1);

  // Right column: ticks, fonts and label.
  auto* right = new QVBoxLayout;
  right->addWidget(position_);
  right->addWidget(angle_);
  numberFontBox_ = new QGroupBox("Number Font Code", this);
  numberFontBox_->setObjectName("NumberFontBox");
  auto* nf = new QHBoxLayout(numberFontBox_);
  numberFont_ = combo(numberFontBox_, "NumberFont", list(fonts_), false);
  nf->addWidget(numberFont_);
  right->addWidget(numberFontBox_);
  auto* lw = new QHBoxLayout;
  lineWidth_ = combo(this, "LineWidth", list(LineWidthItems()), false);
  lw->addWidget(new QLabel("Line width code", this));
  lw->addWidget(lineWidth_);
  right->addLayout(lw);
  auto* tl = new QHBoxLayout;
  tickLength_ = edit(this, "TickLength", f.tickLength, 10);
  tl->addWidget(new QLabel("Tick length", this));
  tl->addWidget(tickLength_);
  tl->addWidget(new QLabel("inches", this));
  right->addLayout(tl);
  right->addStretch();
  grid->addLayout(right, 1, 2);

  // Bottom: the label.
  auto* bottom = new QHBoxLayout;
  label_ = new RadioGroup("Axis Label", {"None", "User-entered", "Auto-from-data-name"}, this);
  label_->setObjectName("AxisLabel");
  bottom->addWidget(label_);
  labelBox_ = new QGroupBox("Label", this);
  labelBox_->setObjectName("LabelBox");
  auto* lb = new QGridLayout(labelBox_);
  labelText_ = new QLineEdit(q(f.label), labelBox_);
  labelText_->setObjectName("Label");
  labelText_->setMinimumWidth(360);
  labelFont_ = combo(labelBox_, "LabelFont", list(fonts_), false);
  lb->addWidget(labelText_, 0, 0, 1, 2);
  lb->addWidget(new QLabel("Label font code", labelBox_), 1, 0);
  lb->addWidget(labelFont_, 1, 1);
  bottom->addWidget(labelBox_, 1);
  grid->addLayout(bottom, 2, 0, 1, 3);
  grid->addWidget(buttons(this, host, 106), 3, 0, 1, 3);

  minimum_->setIndex(f.minimum);
  maximum_->setIndex(f.maximum);
  type_->setIndex(f.axisType);
  style_->setIndex(f.axisStyle);
  linNumbering_->setIndex(f.linNumbering);
  logNumbering_->setIndex(f.logNumbering);
  position_->setIndex(f.tickPosition);
  angle_->setIndex(f.numberAngle);
  label_->setIndex(f.labelMode);
  numberFont_->setCurrentIndex(FontCodeIndex(fonts_, f.numberFontCode));
  labelFont_->setCurrentIndex(FontCodeIndex(fonts_, f.labelFontCode));
  lineWidth_->setCurrentIndex(f.lineWidthCode);
  for (RadioGroup* g :
       {minimum_, maximum_, type_, style_, linNumbering_, logNumbering_, position_, angle_, label_})
    connect(g, &RadioGroup::clicked, this, [this] { applyRules(); });
  applyRules();
  fixedDialog(this, "AxisS", "Axis Attributes");
}

AxisForm TAxisS::readForm() const {
  AxisForm f;
  f.minimum = minimum_->index();
  f.maximum = maximum_->index();
  f.min = s(min_->text());
  f.max = s(max_->text());
  f.unitsPerTick = s(unitsPerTick_->text());
  f.tickIntervals = s(tickIntervals_->text());
  f.numberingInterval = s(numberingInterval_->text());
  f.decimalPlaces = s(decimalPlaces_->text());
  f.startDelay = s(startDelay_->text());
  f.nominalTicks = s(nominalTicks_->text());
  f.tickLength = s(tickLength_->text());
  f.axisType = type_->index();
  f.axisStyle = style_->index();
  f.linNumbering = linNumbering_->index();
  f.logNumbering = logNumbering_->index();
  f.tickPosition = position_->index();
  f.numberAngle = angle_->index();
  f.numberFontCode = FontCodeOfItem(fonts_, numberFont_->currentIndex());
  f.lineWidthCode = lineWidth_->currentIndex();
  f.labelMode = label_->index();
  f.label = s(labelText_->text());
  f.labelFontCode = FontCodeOfItem(fonts_, labelFont_->currentIndex());
  return f;
}

void TAxisS::applyRules() {
  AxisForm f = readForm();
  const AxisVisibility v = ApplyAxisRules(f);
  type_->setIndex(f.axisType);
  type_->setEnabled(f.minimum != 2);
  min_->setEnabled(v.minEdit);
  max_->setEnabled(v.maxEdit);
  manualBox_->setVisible(v.manualBox);
  nominalBox_->setVisible(v.nominalBox);
  maximum_->setVisible(v.maximumGroup);
  maxLabel_->setVisible(v.maximumGroup);
  max_->setVisible(v.maximumGroup);
  logNumbering_->setVisible(v.logNumbering);
  linNumbering_->setVisible(!v.logNumbering);
  numberFontBox_->setVisible(v.numberFont);
  labelBox_->setVisible(v.label);
}

void TAxisS::accept() {
  std::string error;
  if (!AcceptAxis(readForm(), axis_, error)) return host_.message(error);
  QDialog::accept();
}

// ---- TGraphS ----

TGraphS::TGraphS(Host& host, GraphDef& def, QWidget* parent)
    : QDialog(parent), host_(host), def_(def), fonts_(FontCodeItems(def)) {
  const GraphForm f = GraphFormFor(def);
  auto* v = new QVBoxLayout(this);
  auto* pos = new QGroupBox("Current graph position", this);
  auto* pg = new QGridLayout(pos);
  pg->addWidget(
      new QLabel("(Automatically changes if you draw a graph with the  A and B cursors", pos), 0, 0,
      1, 5);
  pg->addWidget(new QLabel("in different positions.)", pos), 1, 0, 1, 5);
  ax_ = edit(pos, "AX", f.ax, 10);
  ay_ = edit(pos, "AY", f.ay, 10);
  bx_ = edit(pos, "BX", f.bx, 10);
  by_ = edit(pos, "BY", f.by, 10);
  pg->addWidget(new QLabel("A: Lower-left corner coordinates (inches):         X =", pos), 2, 0);
  pg->addWidget(ax_, 2, 1);
  pg->addWidget(new QLabel(" Y =", pos), 2, 2);
  pg->addWidget(ay_, 2, 3);
  pg->addWidget(new QLabel("B: Upper-right corner coordinates (inches):       X =", pos), 3, 0);
  pg->addWidget(bx_, 3, 1);
  pg->addWidget(new QLabel(" Y =", pos), 3, 2);
  pg->addWidget(by_, 3, 3);
  v->addWidget(pos);

  auto* row = new QHBoxLayout;
  orientation_ =
      new RadioGroup("Orientation of Coordinates", {"Portrait (normal)", "Landscape"}, this);
  orientation_->setObjectName("Orientation");
  scaling_ = new RadioGroup("X and Y auto-scaling option",
                            {"Independent (normal)", "Equal length scale"}, this);
  scaling_->setObjectName("Scaling");
  row->addWidget(orientation_);
  row->addWidget(scaling_);
  v->addLayout(row);

  auto* tbox = new QHBoxLayout;
  titleMode_ = new RadioGroup("Graph title", {"None", "User ="}, this);
  titleMode_->setObjectName("TitleMode");
  tbox->addWidget(titleMode_);
  auto* tcol = new QVBoxLayout;
  title_ = new QLineEdit(q(f.title), this);
  title_->setObjectName("Title");
  title_->setMinimumWidth(420);
  auto* frow = new QHBoxLayout;
  fontLabel_ = new QLabel("Font code =", this);
  titleFont_ = combo(this, "TitleFont", list(fonts_), false);
  frow->addWidget(fontLabel_);
  frow->addWidget(titleFont_);
  frow->addStretch();
  tcol->addWidget(title_);
  tcol->addLayout(frow);
  tbox->addLayout(tcol, 1);
  v->addLayout(tbox);
  v->addWidget(buttons(this, host, 104));

  orientation_->setIndex(f.orientation);
  shownOrientation_ = f.orientation;
  scaling_->setIndex(f.scaling);
  titleMode_->setIndex(f.titleMode);
  titleFont_->setCurrentIndex(FontCodeIndex(fonts_, f.titleFontCode));
  auto titleRule = [this] {
    const bool user = titleMode_->index() == 1;
    title_->setVisible(user);
    fontLabel_->setVisible(user);
    titleFont_->setVisible(user);
  };
  connect(titleMode_, &RadioGroup::clicked, this, titleRule);
  titleRule();
  // A change of orientation exchanges the X and Y texts of both corners.
  connect(orientation_, &RadioGroup::clicked, this, [this](int o) {
    if (o == shownOrientation_) return;
    shownOrientation_ = o;
    GraphForm g;
    g.ax = s(ax_->text());
    g.ay = s(ay_->text());
    g.bx = s(bx_->text());
    g.by = s(by_->text());
    SwapCornerTexts(g);
    ax_->setText(q(g.ax));
    ay_->setText(q(g.ay));
    bx_->setText(q(g.bx));
    by_->setText(q(g.by));
  });
  fixedDialog(this, "GraphS", "Graph Attributes");
}

void TGraphS::accept() {
  GraphForm f;
  f.ax = s(ax_->text());
  f.ay = s(ay_->text());
  f.bx = s(bx_->text());
  f.by = s(by_->text());
  f.orientation = orientation_->index();
  f.scaling = scaling_->index();
  f.titleMode = titleMode_->index();
  f.title = s(title_->text());
  f.titleFontCode = FontCodeOfItem(fonts_, titleFont_->currentIndex());
  std::string error;
  if (!AcceptGraph(f, def_, error)) return host_.message(error);
  QDialog::accept();
}

}  // namespace plotane
