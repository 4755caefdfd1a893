#pragma once
// The worksheet's small modal dialogs: series selection (three forms), series name and
// description, row use limits, real-number entry, number display and the one-line prompt. Each
// only moves values between its widgets and the rules in worksheet/WorksheetDialogs.h.

#include <string>

#include <QComboBox>
#include <QDialog>

#include "worksheet/WorksheetDialogs.h"

class QLabel;
class QLineEdit;

namespace plotane {

class Host;
class Store;
class Worksheet;

// Latin-1 conversions: the model's strings are single bytes.
QString qs(const std::string& s);
std::string ss(const QString& s);

// The editable drop-down of the series dialogs: opening the list fills it from the store.
class SeriesCombo : public QComboBox {
  Q_OBJECT
 public:
  SeriesCombo(Store& store, QWidget* parent = nullptr);
  SeriesDialogKind kind = SeriesDialogKind::Series;
  void showPopup() override;
  // Fills the list for the current text (what opening the drop-down does).
  void fillList();

 private:
  Store& store_;
};

// "Select of series in DSF" and its one-series and DSDir forms.
class TSerFrm : public QDialog {
  Q_OBJECT
 public:
  TSerFrm(Store& store, Host& host, QWidget* parent = nullptr);
  // Shows the dialog until a text is accepted (a single path for the one-series and DSDir
  // forms) or the user cancels. False on Cancel.
  bool select(SeriesDialogKind kind, const std::string& prompt, const std::string& initial,
              std::string& result);
  QLabel* label() const { return label_; }
  SeriesCombo* combo() const { return combo_; }

 private:
  Host& host_;
  QLabel* label_;
  SeriesCombo* combo_;
};

// "Edit Series Name and description for: " + letters.
class TNameFrm : public QDialog {
  Q_OBJECT
 public:
  TNameFrm(Worksheet& ws, int column, QWidget* parent = nullptr);
  void accept() override;
  QLineEdit* nameEdit() const { return edit1_; }
  QLineEdit* line1Edit() const { return edit2_; }
  QLineEdit* line2Edit() const { return edit3_; }

 private:
  Worksheet& ws_;
  int column_;
  QLineEdit *edit1_, *edit2_, *edit3_;
};

// "Change Row Use limits".
class TUseDlg : public QDialog {
  Q_OBJECT
 public:
  TUseDlg(Worksheet& ws, QWidget* parent = nullptr);
  void accept() override;
  QLineEdit* fromEdit() const { return edit1_; }
  QLineEdit* toEdit() const { return edit2_; }

 private:
  Worksheet& ws_;
  QLineEdit *edit1_, *edit2_;
};

// "Enter/edit value:": a real number, refused texts beep and keep the dialog open.
class TRealEntry : public QDialog {
  Q_OBJECT
 public:
  TRealEntry(Host& host, const std::string& prompt, double value, QWidget* parent = nullptr);
  void accept() override;
  double value() const { return value_; }
  QLineEdit* edit() const { return edit1_; }
  // The whole question: true with the new value on OK, false (value unchanged) on Cancel.
  static bool ask(Host& host, QWidget* parent, const std::string& prompt, double& value);

 private:
  Host& host_;
  QLineEdit* edit1_;
  double value_;
};

// "Number display".
class TDecFrm : public QDialog {
  Q_OBJECT
 public:
  TDecFrm(int format, QWidget* parent = nullptr);
  int spec() const;
  QComboBox* combo() const { return combo_; }

 private:
  QComboBox* combo_;
};

// The one-line prompt.
class TSimplFrm : public QDialog {
  Q_OBJECT
 public:
  TSimplFrm(const QString& caption, const QString& label, const QString& text,
            QWidget* parent = nullptr);
  QLineEdit* edit() const { return edit1_; }

 private:
  QLineEdit* edit1_;
};

}  // namespace plotane
