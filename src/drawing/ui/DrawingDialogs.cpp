#include "drawing/ui/DrawingDialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "drawing/DrawingSession.h"
#include "graph/ui/GraphDialogs.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"

namespace plotane {

namespace {

QString q(const std::string& s) { return QString::fromLatin1(s.c_str(), int(s.size())); }
std::string s(const QString& t) { return t.toLatin1().toStdString(); }

QFont fixedFont() {
  QFont mono("Courier New");
  mono.setStyleHint(QFont::TypeWriter);
  return mono;
}

// OK and Cancel (and Help with a context), named as the other dialogs' buttons.
QDialogButtonBox* okCancel(QDialog* d, Host* host = nullptr, int helpContext = 0) {
  auto* b = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
  b->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  b->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  if (host && helpContext) {
    QPushButton* help = b->addButton("Help", QDialogButtonBox::HelpRole);
    help->setObjectName("HelpBtn");
    QObject::connect(b, &QDialogButtonBox::helpRequested, d,
                     [host, helpContext] { host->showHelp(helpContext); });
  }
  QObject::connect(b, &QDialogButtonBox::accepted, d, &QDialog::accept);
  QObject::connect(b, &QDialogButtonBox::rejected, d, &QDialog::reject);
  return b;
}

void dialogFrame(QDialog* d, const char* name, const QString& caption) {
  d->setObjectName(name);
  d->setWindowTitle(caption);
  d->setModal(true);
}

}  // namespace

// ---- TFontFrm ----

TFontFrm::TFontFrm(Host& host, FontSelection& form, QWidget* parent)
    : QDialog(parent), host_(host), form_(form) {
  auto* v = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  list_->setFont(fixedFont());
  list_->installEventFilter(this);
  v->addWidget(list_);
  auto* row = new QHBoxLayout;
  auto* change = new QPushButton("Change Definition", this);
  change->setObjectName("ChangeBtn");
  auto* del = new QPushButton("Delete", this);
  del->setObjectName("DeleteBtn");
  row->addWidget(change);
  row->addWidget(del);
  row->addStretch();
  v->addLayout(row);
  v->addWidget(okCancel(this));
  dialogFrame(this, "FontFrm", kFontFrmCaption);
  refill();
  list_->setMinimumWidth(list_->sizeHintForColumn(0) + 60);
  list_->setMinimumHeight(list_->sizeHintForRow(0) * 24);
  connect(change, &QPushButton::clicked, this, &TFontFrm::changeDefinition);
  connect(del, &QPushButton::clicked, this, &TFontFrm::deleteDefinition);
  connect(list_, &QListWidget::itemDoubleClicked, this, &TFontFrm::changeDefinition);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int r) { form_.select(r); });
  change->setAutoDefault(false);
  del->setAutoDefault(false);
  list_->setFocus();
}

void TFontFrm::refill() {
  const int line = form_.line();
  list_->blockSignals(true);
  list_->clear();
  for (const std::string& l : form_.lines()) list_->addItem(q(l));
  list_->setCurrentRow(line);
  list_->blockSignals(false);
}

void TFontFrm::changeDefinition() {
  if (!form_.letterLine()) {
    TFSelect select(form_.drawnLineCode(), this);
    if (select.exec() == QDialog::Accepted) form_.setDrawnLineCode(select.code());
  } else {
    const LetterFontSlot& slot = form_.slot();
    QFont initial = font();
    if (!slot.name.empty()) initial.setFamily(q(slot.name));
    initial.setPointSize(slot.size > 0 ? slot.size : 12);
    initial.setBold(slot.style >= 2);
    initial.setItalic(slot.style == 1 || slot.style == 3);
    QFontDialog dialog(initial, this);
    dialog.setObjectName("FontDialog1");
    if (dialog.exec() != QDialog::Accepted) return;
    const QFont f = dialog.selectedFont();
    form_.defineLetterFont(
        LetterFontOf(s(f.family()), f.pointSizeF(), f.weight() >= QFont::Bold, f.italic()));
  }
  refill();
}

void TFontFrm::deleteDefinition() {
  if (!form_.letterLine()) return;
  form_.deleteLetterFont();
  refill();
}

bool TFontFrm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == list_ && e->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
    deleteDefinition();
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

void TFontFrm::accept() {
  // An empty letter slot has no font to choose.
  if (!form_.canAccept()) return host_.beep();
  QDialog::accept();
}

// ---- Code lists ----

TCodeList::TCodeList(const char* objectName, const char* caption, const QString& heading,
                     const std::vector<std::string>& rows, int row, QWidget* parent)
    : QDialog(parent) {
  auto* v = new QVBoxLayout(this);
  auto* head = new QLabel(heading, this);
  head->setFont(fixedFont());
  v->addWidget(head);
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  list_->setFont(fixedFont());
  for (const std::string& r : rows) list_->addItem(q(r));
  list_->setCurrentRow(row);
  list_->setMinimumWidth(std::max(list_->sizeHintForColumn(0), head->sizeHint().width()) + 40);
  list_->setMinimumHeight(list_->sizeHintForRow(0) * (int(rows.size()) + 1));
  v->addWidget(list_);
  v->addWidget(okCancel(this));
  dialogFrame(this, objectName, caption);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int TCodeList::row() const { return list_->currentRow() < 0 ? 0 : list_->currentRow(); }

TFSelect::TFSelect(int code, QWidget* parent)
    : TCodeList("FSelect", kFSelectCaption, "Code  approximate size", DrawnLineCodeRows(),
                DrawnLineRowOfCode(code), parent) {}

TLSelect::TLSelect(int code, QWidget* parent)
    : TCodeList("LSelect", kLSelectCaption, "Code  width, inches (mm)", LineCodeRows(),
                code < 0   ? 0
                : code > 4 ? 4
                           : code,
                parent) {}

// ---- TATFrm ----

TATFrm::TATFrm(double angle, QWidget* parent) : QDialog(parent) {
  auto* v = new QVBoxLayout(this);
  v->addWidget(new QLabel("Angle of Text is restricted to 0 or 90 degrees", this));
  v->addWidget(new QLabel("if Windows fonts are selected", this));
  choice_ = new RadioGroup("", {"  0 degrees", "90 degrees"}, this);
  choice_->setObjectName("RadioGroup1");
  choice_->setIndex(AngleChoiceIndex(angle));
  v->addWidget(choice_);
  v->addWidget(okCancel(this));
  dialogFrame(this, "ATFrm", kATFrmCaption);
}

int TATFrm::choice() const { return choice_->index() == 1 ? 1 : 0; }

// ---- TMovNumFrm ----

TMovNumFrm::TMovNumFrm(Host& host, std::function<bool(const NumericMoveForm&)> apply,
                       QWidget* parent)
    : QDialog(parent), host_(host), apply_(std::move(apply)) {
  auto* v = new QVBoxLayout(this);
  movement_ = new RadioGroup(
      "Type of movement",
      {"Absolute (move to specified location)", "Relative (move by specified distance)"}, this);
  movement_->setObjectName("RadioGroup1");
  movement_->setIndex(0);
  system_ = new RadioGroup("Coordinate system",
                           {"Frame (coordinates rel to bottom left page corner, inches)",
                            "Graph (coordinates of currently defined graph)"},
                           this);
  system_->setObjectName("RadioGroup2");
  system_->setIndex(0);
  v->addWidget(movement_);
  v->addWidget(system_);
  auto* row = new QHBoxLayout;
  x_ = new QLineEdit(this);
  x_->setObjectName("Edit1");
  y_ = new QLineEdit(this);
  y_->setObjectName("Edit2");
  row->addWidget(new QLabel("X value =", this));
  row->addWidget(x_);
  row->addWidget(new QLabel("Y value =", this));
  row->addWidget(y_);
  v->addLayout(row);
  v->addWidget(okCancel(this, &host_, kMovNumHelpContext));
  dialogFrame(this, "MovNumFrm", kMovNumCaption);
  x_->setFocus();
}

void TMovNumFrm::accept() {
  NumericMoveForm form;
  form.relative = movement_->index() == 1;
  form.graph = system_->index() == 1;
  form.x = s(x_->text());
  form.y = s(y_->text());
  if (!apply_(form)) return STOREMSG(host_, kBadCoordinate);
  QDialog::accept();
}

// ---- Stay-on-top boxes ----

StayOnTopBox::StayOnTopBox(const char* objectName, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(objectName);
  setWindowTitle(caption);
  // The drawing window keeps the keys: the user moves the cursors while the box is open.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_DeleteOnClose);
}

void StayOnTopBox::addButtons(QLayout* layout) {
  auto* row = new QHBoxLayout;
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelBtn");
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  if (auto* box = qobject_cast<QBoxLayout*>(layout)) box->addLayout(row);
  connect(ok, &QPushButton::clicked, this, [this] {
    answered_ = true;
    emit this->ok();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    answered_ = true;
    emit cancelled();
  });
}

void StayOnTopBox::dismiss() {
  answered_ = true;
  close();
}

void StayOnTopBox::closeEvent(QCloseEvent* e) {
  // Closed by its title bar: the command is cancelled like with the Cancel button.
  if (!answered_) {
    answered_ = true;
    emit cancelled();
  }
  QWidget::closeEvent(e);
}

void StayOnTopBox::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    answered_ = true;
    emit cancelled();
    return;
  }
  QWidget::keyPressEvent(e);
}

TOKFrm::TOKFrm(const QString& prompt, QWidget* parent)
    : StayOnTopBox("OKFrm", kPromptCaption, parent) {
  auto* v = new QVBoxLayout(this);
  auto* label = new QLabel(prompt, this);
  label->setObjectName("Label1");
  v->addWidget(label);
  addButtons(v);
}

TBlkBox1::TBlkBox1(QWidget* parent) : StayOnTopBox("BlkBox1", "Select block", parent) {
  auto* v = new QVBoxLayout(this);
  auto* l1 = new QLabel("Use cursors to select block,", this);
  l1->setObjectName("Label1");
  auto* l2 = new QLabel("Then press ", this);
  l2->setObjectName("Label2");
  v->addWidget(l1);
  v->addWidget(l2);
  addButtons(v);
}

TBlkBox2::TBlkBox2(const QString& caption, QWidget* parent)
    : StayOnTopBox("BlkBox2", caption, parent) {
  auto* v = new QVBoxLayout(this);
  or_ = new QCheckBox("OR with destination", this);
  or_->setObjectName("CheckBox1");
  v->addWidget(or_);
  addButtons(v);
}

bool TBlkBox2::orWithDestination() const { return or_->isChecked(); }

}  // namespace plotane
