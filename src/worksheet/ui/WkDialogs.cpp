#include "worksheet/ui/WkDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

namespace plotane {

QString qs(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

std::string ss(const QString& s) {
  QByteArray b = s.toLatin1();
  return std::string(b.constData(), std::size_t(b.size()));
}

namespace {

QDialogButtonBox* okCancel(QDialog* d) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
  box->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  box->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
  return box;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, const QString& text = {}) {
  auto* e = new QLineEdit(text, parent);
  e->setObjectName(name);
  return e;
}

}  // namespace

// ---- Series dialogs ----

SeriesCombo::SeriesCombo(Store& store, QWidget* parent) : QComboBox(parent), store_(store) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxCount(100000);
}

void SeriesCombo::fillList() {
  QString text = currentText();
  std::vector<std::string> items = SeriesDialogList(store_, kind, ss(text));
  clear();
  for (const std::string& s : items) addItem(qs(s));
  setEditText(text);
}

void SeriesCombo::showPopup() {
  fillList();
  QComboBox::showPopup();
}

TSerFrm::TSerFrm(Store& store, Host& host, QWidget* parent) : QDialog(parent), host_(host) {
  setObjectName("SerFrm");
  setWindowTitle(SeriesDialogCaption(SeriesDialogKind::Series));
  label_ = new QLabel(this);
  label_->setObjectName("Label1");
  combo_ = new SeriesCombo(store, this);
  combo_->setObjectName("ComboBox1");
  combo_->setMinimumWidth(360);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(label_);
  lay->addWidget(combo_);
  lay->addWidget(okCancel(this));
}

bool TSerFrm::select(SeriesDialogKind kind, const std::string& prompt, const std::string& initial,
                     std::string& result) {
  (void)host_;
  combo_->kind = kind;
  setWindowTitle(SeriesDialogCaption(kind));
  label_->setText(qs(cut(prompt, kSeriesPromptLength)));
  combo_->clear();
  combo_->setEditText(qs(initial));
  for (;;) {
    combo_->lineEdit()->selectAll();
    combo_->setFocus();
    int r = exec();
    std::string text = ss(combo_->currentText());
    // The list is built afresh each time the drop-down opens.
    combo_->clear();
    combo_->setEditText(qs(text));
    if (r != QDialog::Accepted) return false;
    if (SeriesDialogAccepts(kind, text)) {
      result = SeriesDialogResult(text);
      return true;
    }
  }
}

// ---- Name dialog ----

TNameFrm::TNameFrm(Worksheet& ws, int column, QWidget* parent)
    : QDialog(parent), ws_(ws), column_(column) {
  setObjectName("NameFrm");
  setWindowTitle(qs(NameDialogCaption(column)));
  std::string line1, line2;
  if (ws.inUse(column)) SplitDescription(ws.column(column).info->description, line1, line2);
  edit1_ = lineEdit(this, "Edit1", qs(ws.columnName(column)));
  edit2_ = lineEdit(this, "Edit2", qs(line1));
  edit3_ = lineEdit(this, "Edit3", qs(line2));
  edit2_->setMaxLength(int(kDescriptionLineLength));
  edit3_->setMaxLength(int(kDescriptionLineLength));
  edit1_->setMinimumWidth(380);
  auto* form = new QFormLayout;
  form->addRow("Name:", edit1_);
  form->addRow("Description:", edit2_);
  form->addRow("", edit3_);
  auto* lay = new QVBoxLayout(this);
  lay->addLayout(form);
  lay->addWidget(okCancel(this));
  edit1_->selectAll();
  edit1_->setFocus();
}

void TNameFrm::accept() {
  // A refused name ("Name has illegal form") keeps the dialog open.
  if (ws_.ApplyName(column_, ss(edit1_->text()), ss(edit2_->text()), ss(edit3_->text())))
    QDialog::accept();
}

// ---- Use limits ----

TUseDlg::TUseDlg(Worksheet& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName("UseDlg");
  setWindowTitle("Change Row Use limits");
  edit1_ = lineEdit(this, "Edit1", qs(UseLimitFieldText(ws.UseLow())));
  edit2_ = lineEdit(this, "Edit2", qs(UseLimitFieldText(ws.UseHigh())));
  auto* form = new QFormLayout;
  form->addRow("From:", edit1_);
  form->addRow("To:", edit2_);
  auto* lay = new QVBoxLayout(this);
  lay->addLayout(form);
  lay->addWidget(okCancel(this));
  edit1_->selectAll();
  edit1_->setFocus();
}

void TUseDlg::accept() {
  int low = 0, high = 0;
  switch (CheckUseLimits(ss(edit1_->text()), ss(edit2_->text()), low, high)) {
    case UseLimitsCheck::NotInteger:
      ws_.host.beep();
      return;
    case UseLimitsCheck::OutOfRange:
      ws_.host.message(Worksheet::kUseLimitsRefused);
      return;
    case UseLimitsCheck::Ok:
      break;
  }
  ws_.SetUseLimits(low, high);
  QDialog::accept();
}

// ---- Real-number entry ----

TRealEntry::TRealEntry(Host& host, const std::string& prompt, double value, QWidget* parent)
    : QDialog(parent), host_(host), value_(value) {
  setObjectName("RealEntry");
  setWindowTitle("Enter/edit value:");
  auto* label = new QLabel(qs(cut(prompt, kRealPromptLength)), this);
  label->setObjectName("Label1");
  edit1_ = lineEdit(this, "Edit1", qs(RealEntryText(value)));
  edit1_->setMaxLength(35);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(label);
  lay->addWidget(edit1_);
  lay->addWidget(okCancel(this));
  edit1_->selectAll();
  edit1_->setFocus();
}

void TRealEntry::accept() {
  double v = 0;
  if (!RealEntryValue(ss(edit1_->text()), v)) {
    host_.beep();
    return;
  }
  value_ = v;
  QDialog::accept();
}

bool TRealEntry::ask(Host& host, QWidget* parent, const std::string& prompt, double& value) {
  TRealEntry d(host, prompt, value, parent);
  if (d.exec() != QDialog::Accepted) return false;
  value = d.value();
  return true;
}

// ---- Number display ----

TDecFrm::TDecFrm(int format, QWidget* parent) : QDialog(parent) {
  setObjectName("DecFrm");
  setWindowTitle("Number display");
  combo_ = new QComboBox(this);
  combo_->setObjectName("ComboBox1");
  for (const std::string& item : DecimalItems()) combo_->addItem(qs(item));
  combo_->setCurrentIndex(DecimalItemOfSpec(format));
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(combo_);
  lay->addWidget(okCancel(this));
}

int TDecFrm::spec() const { return DecimalSpecOfItem(combo_->currentIndex()); }

// ---- One-line prompt ----

TSimplFrm::TSimplFrm(const QString& caption, const QString& label, const QString& text,
                     QWidget* parent)
    : QDialog(parent) {
  setObjectName("SimplFrm");
  setWindowTitle(caption);
  auto* l = new QLabel(label, this);
  l->setObjectName("Label1");
  edit1_ = lineEdit(this, "Edit1", text);
  edit1_->setMinimumWidth(300);
  auto* row = new QHBoxLayout;
  row->addWidget(l);
  row->addWidget(edit1_);
  auto* lay = new QVBoxLayout(this);
  lay->addLayout(row);
  lay->addWidget(okCancel(this));
  edit1_->setFocus();
}

}  // namespace plotane
