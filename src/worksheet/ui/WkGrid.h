#pragma once
// The worksheet grid SG1: a table model that asks the Worksheet for the text of the cells that
// are painted (512 x 12 402 cells are never held as strings), and the table view with the
// string grid's behaviour: the move to another cell commits the cell left and is refused when
// that fails, Escape undoes the edit, and the column requests switch editing off.

#include <functional>

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

class QLineEdit;

namespace plotane {

class Worksheet;

// Model column 0 is "Xvals", model columns 1..510 the worksheet columns 0..509; model row r
// shows index r - 400. The heading row and the row numbers are the view's headers.
class WkGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit WkGridModel(Worksheet& ws, QObject* parent = nullptr);

  static int modelRowOfIndex(int index);
  static int indexOfModelRow(int row);
  static int modelColumnOf(int column) { return column + 1; }
  static int columnOfModel(int modelColumn) { return modelColumn - 1; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

  // Editing is off while a column request is open.
  void setEditable(bool on) { editable_ = on; }

  // Text typed into a cell and not yet committed (the cell keeps showing it).
  bool pendingFor(int column, int index, QString& text) const;
  void clearPending();

  // Repaints asked for by the worksheet.
  void cellChanged(int column, int index);
  void columnChanged(int column);
  void xvalsChanged();

 private:
  Worksheet& ws_;
  bool editable_ = true;
  bool pending_ = false;
  int pendingColumn_ = 0, pendingIndex_ = 0;
  QString pendingText_;
};

// Remembers the one open cell editor.
class WkGridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  // Cells are plain right-aligned text: painted straight, without the style's item layout.
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QLineEdit* editor() const;
  QModelIndex editorIndex() const { return editorIndex_; }

 private:
  mutable QPointer<QWidget> editor_;
  mutable QPersistentModelIndex editorIndex_;
};

class WkGridView : public QTableView {
  Q_OBJECT
 public:
  WkGridView(Worksheet& ws, WkGridModel* model, QWidget* parent = nullptr);

  WkGridDelegate* delegate() const { return delegate_; }
  WkGridModel* gridModel() const { return model_; }
  // The open editor's text for the worksheet's current cell; false when none is open there.
  bool editorText(QString& text) const;
  void setEditorText(const QString& text);
  // Commits the open editor into the cell and closes it.
  void endEdit();
  // The current cell's editor is always shown while editing is on: opens it when closed.
  void showEditor();
  // Puts the cursor on a worksheet cell (the move is committed like any other).
  void goTo(int column, int index);
  // The leftmost data column in view (beside the fixed "Xvals" column).
  int leftDataColumn() const;
  // The "Xvals" column that stays beside the row numbers when the grid scrolls sideways.
  QTableView* xvalsView() const { return frozen_; }
  // Height "screen height - 222" asked of the layout.
  QSize sizeHint() const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  std::function<void()> onEscape;
  std::function<void()> onSelectionChanged;
  std::function<void()> onLeftColumnChanged;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void keyPressEvent(QKeyEvent* e) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void updateGeometries() override;

 private:
  void placeXvalsView();

  Worksheet& ws_;
  WkGridModel* model_;
  WkGridDelegate* delegate_;
  QTableView* frozen_ = nullptr;
  bool reverting_ = false;
  int lastLeft_ = -1;
};

}  // namespace plotane
