#pragma once
// The drawing window's dialogs (font, line code, point size, angle, numeric move) and its
// stay-on-top boxes (the prompt box and the two block boxes). Each only moves values between
// its widgets and drawing/DrawingForms.h or the drawing's session, where the rules live.

#include <QDialog>
#include <QWidget>
#include <functional>

#include "drawing/DrawingForms.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace plotane {

class Host;
class RadioGroup;

// "Text Font Selection": line 0 the drawn-line font, lines 1..22 the letter font slots.
class TFontFrm : public QDialog {
  Q_OBJECT
 public:
  TFontFrm(Host& host, FontSelection& form, QWidget* parent = nullptr);
  void accept() override;
  QListWidget* list() const { return list_; }

 public slots:
  // "Change Definition" or a double click: the drawn-line code list on line 0, the platform's
  // font dialog on a letter line.
  void changeDefinition();
  // Empties the selected letter slot.
  void deleteDefinition();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void refill();
  Host& host_;
  FontSelection& form_;
  QListWidget* list_;
};

// A list dialog with one preset row: "Set Drawn-Line Font Code" (codes -2..9) and
// "Set line code" (codes 0..4).
class TCodeList : public QDialog {
  Q_OBJECT
 public:
  TCodeList(const char* objectName, const char* caption, const QString& heading,
            const std::vector<std::string>& rows, int row, QWidget* parent = nullptr);
  int row() const;
  QListWidget* list() const { return list_; }

 private:
  QListWidget* list_;
};
// The drawn-line code list, preset to a code; code() is the chosen one.
class TFSelect : public TCodeList {
  Q_OBJECT
 public:
  TFSelect(int code, QWidget* parent = nullptr);
  int code() const { return DrawnLineCodeOfRow(row()); }
};
// The line code list, preset to a code.
class TLSelect : public TCodeList {
  Q_OBJECT
 public:
  TLSelect(int code, QWidget* parent = nullptr);
  int code() const { return row(); }
};

// "Select Angle of Text": 0 or 90 degrees for letter fonts.
class TATFrm : public QDialog {
  Q_OBJECT
 public:
  TATFrm(double angle, QWidget* parent = nullptr);
  int choice() const;

 private:
  RadioGroup* choice_;
};

// The numeric cursor move (caption kMovNumCaption). apply returns false when the values are
// refused; the dialog then shows the message and stays open.
class TMovNumFrm : public QDialog {
  Q_OBJECT
 public:
  TMovNumFrm(Host& host, std::function<bool(const NumericMoveForm&)> apply,
             QWidget* parent = nullptr);
  void accept() override;

 private:
  Host& host_;
  std::function<bool(const NumericMoveForm&)> apply_;
  RadioGroup* movement_;
  RadioGroup* system_;
  QLineEdit* x_;
  QLineEdit* y_;
};

// A small window that stays on top of the drawing window without blocking it: the user keeps
// moving the cursors while it is open. OK and Cancel are its answers; closing it by its title
// bar counts as Cancel. dismiss() closes it without an answer.
class StayOnTopBox : public QWidget {
  Q_OBJECT
 public:
  StayOnTopBox(const char* objectName, const QString& caption, QWidget* parent);
  void dismiss();

 signals:
  void ok();
  void cancelled();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  // Adds the OK and Cancel buttons below the box's contents.
  void addButtons(QLayout* layout);

 private:
  bool answered_ = false;
};

// "Move cursor(s) if needed.....": shows the pending command's prompt.
class TOKFrm : public StayOnTopBox {
  Q_OBJECT
 public:
  TOKFrm(const QString& prompt, QWidget* parent);
};

// "Select block": the cursors mark the block's lower-left (A) and upper-right (B) corners.
class TBlkBox1 : public StayOnTopBox {
  Q_OBJECT
 public:
  explicit TBlkBox1(QWidget* parent);
};

// "Do block operation", captioned "Block Move" or "Block Copy": the A-cursor (B follows) marks
// the destination's lower-left corner.
class TBlkBox2 : public StayOnTopBox {
  Q_OBJECT
 public:
  TBlkBox2(const QString& caption, QWidget* parent);
  bool orWithDestination() const;

 private:
  QCheckBox* or_;
};

}  // namespace plotane
