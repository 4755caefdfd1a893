#include "worksheet/ui/WkGrid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include "worksheet/Worksheet.h"
#include "worksheet/ui/WkDialogs.h"

namespace plotane {

// ---- Model ----

WkGridModel::WkGridModel(Worksheet& ws, QObject* parent) : QAbstractTableModel(parent), ws_(ws) {}

int WkGridModel::modelRowOfIndex(int index) { return Worksheet::gridRowOfIndex(index) - 1; }
int WkGridModel::indexOfModelRow(int row) { return Worksheet::indexOfGridRow(row + 1); }

int WkGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Worksheet::kGridRows - 1;
}

int WkGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Worksheet::kGridColumns - 1;
}

bool WkGridModel::pendingFor(int column, int index, QString& text) const {
  if (!pending_ || column != pendingColumn_ || index != pendingIndex_) return false;
  text = pendingText_;
  return true;
}

void WkGridModel::clearPending() {
  if (!pending_) return;
  pending_ = false;
  QModelIndex i = this->index(modelRowOfIndex(pendingIndex_), modelColumnOf(pendingColumn_));
  emit dataChanged(i, i);
}

QVariant WkGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  int idx = indexOfModelRow(index.row());
  int column = columnOfModel(index.column());
  QString text;
  if (column < 0 || !pendingFor(column, idx, text))
    text = qs(ws_.GridText(index.row() + 1, index.column() + 1));
  // Shown without the blanks of its field; edited as it stands, so that an unchanged cell
  // compares equal to what it showed.
  return role == Qt::DisplayRole ? text.trimmed() : text;
}

bool WkGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() == 0) return false;
  int column = columnOfModel(index.column());
  int idx = indexOfModelRow(index.row());
  QString text = value.toString();
  if (qs(ws_.CellText(column, idx)) == text &&
      !(pending_ && pendingColumn_ == column && pendingIndex_ == idx)) {
    return true;  // nothing typed
  }
  pending_ = true;
  pendingColumn_ = column;
  pendingIndex_ = idx;
  pendingText_ = text;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags WkGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable_ && index.column() > 0) f |= Qt::ItemIsEditable;
  return f;
}

QVariant WkGridModel::headerData(int section, Qt::Orientation o, int role) const {
  if (role == Qt::TextAlignmentRole)
    return QVariant(o == Qt::Vertical ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
  if (role != Qt::DisplayRole) return {};
  // Section -1 of the heading row is the corner above the row numbers.
  if (o == Qt::Horizontal) return qs(ws_.GridText(0, section + 1));
  return qs(ws_.GridText(section + 1, 0));
}

void WkGridModel::cellChanged(int column, int index) {
  if (pending_ && pendingColumn_ == column && pendingIndex_ == index) pending_ = false;
  QModelIndex i = this->index(modelRowOfIndex(index), modelColumnOf(column));
  if (i.isValid()) emit dataChanged(i, i);
}

void WkGridModel::columnChanged(int column) {
  if (pending_ && pendingColumn_ == column) pending_ = false;
  int mc = modelColumnOf(column);
  emit dataChanged(index(0, mc), index(rowCount() - 1, mc));
}

void WkGridModel::xvalsChanged() { emit dataChanged(index(0, 0), index(rowCount() - 1, 0)); }

// ---- Delegate ----

QWidget* WkGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setAlignment(Qt::AlignRight);
    // The view sees the editor's keys first (cursor keys leave the cell at the text's ends).
    if (QObject* view = QObject::parent()) e->installEventFilter(view);
  }
  editor_ = w;
  editorIndex_ = index;
  return w;
}

void WkGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  const QPalette& pal = option.palette;
  bool selected = option.state & QStyle::State_Selected;
  if (selected) painter->fillRect(option.rect, pal.brush(QPalette::Highlight));
  QString text = index.data(Qt::DisplayRole).toString();
  if (!text.isEmpty()) {
    painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(2, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter, text);
  }
  if (option.state & QStyle::State_HasFocus) {
    painter->setPen(pal.color(QPalette::Text));
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
  }
}

QLineEdit* WkGridDelegate::editor() const { return qobject_cast<QLineEdit*>(editor_.data()); }

// ---- View ----

WkGridView::WkGridView(Worksheet& ws, WkGridModel* model, QWidget* parent)
    : QTableView(parent), ws_(ws), model_(model) {
  setObjectName("SG1");
  delegate_ = new WkGridDelegate(this);
  setItemDelegate(delegate_);
  setModel(model);
  // Every row and column has a fixed size: the headers never measure 12 401 rows.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(18);
  verticalHeader()->setFixedWidth(50);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setDefaultSectionSize(80);
  horizontalHeader()->setFixedHeight(20);
  setCornerButtonEnabled(false);
  // The corner shows the row numbers' heading.
  if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  // The current cell always shows its editor: each move opens it on the cell reached.
  setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
                  QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::SelectedClicked);
  setTabKeyNavigation(true);
  setWordWrap(false);

  // "Xvals": a second view over the same model showing only its first column, laid over the
  // grid beside the row numbers and scrolled up and down with it.
  frozen_ = new QTableView(this);
  frozen_->setObjectName("XvalsView");
  frozen_->setModel(model);
  frozen_->setItemDelegate(delegate_);
  frozen_->setFocusPolicy(Qt::NoFocus);
  frozen_->setSelectionMode(QAbstractItemView::NoSelection);
  frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  frozen_->setFrameShape(QFrame::NoFrame);
  frozen_->setWordWrap(false);
  frozen_->verticalHeader()->hide();
  frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->verticalHeader()->setDefaultSectionSize(18);
  frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->horizontalHeader()->setFixedHeight(20);
  frozen_->setColumnWidth(0, columnWidth(0));
  for (int c = 1; c < model->columnCount(); ++c) frozen_->setColumnHidden(c, true);
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setCornerButtonEnabled(false);
  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int section, int, int size) {
            if (section != 0) return;
            frozen_->setColumnWidth(0, size);
            placeXvalsView();
          });
  viewport()->stackUnder(frozen_);
  frozen_->show();
}

QSize WkGridView::sizeHint() const {
  QSize s = QTableView::sizeHint();
  if (QScreen* sc = screen()) s.setHeight(std::max(minimumHeight(), sc->size().height() - 222));
  return s;
}

void WkGridView::placeXvalsView() {
  int f = frameWidth();
  frozen_->setGeometry(verticalHeader()->width() + f, f, columnWidth(0),
                       viewport()->height() + horizontalHeader()->height());
  frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void WkGridView::focusInEvent(QFocusEvent* e) {
  QTableView::focusInEvent(e);
  // The focus left with the editor (committed then); coming back, the cell shows it again.
  showEditor();
}

void WkGridView::resizeEvent(QResizeEvent* e) {
  QTableView::resizeEvent(e);
  placeXvalsView();
}

void WkGridView::updateGeometries() {
  QTableView::updateGeometries();
  if (frozen_) placeXvalsView();
}

void WkGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  QTableView::scrollTo(index, hint);
  // A data column must not end up under the fixed "Xvals" column.
  QScrollBar* h = horizontalScrollBar();
  if (index.isValid() && index.column() > 0)
    while (h->value() > 0 && columnViewportPosition(index.column()) < columnWidth(0))
      h->setValue(h->value() - 1);
}

bool WkGridView::eventFilter(QObject* watched, QEvent* e) {
  // In the editor, Left and Right past the text's ends move to the next cell, as in a grid.
  auto* editor = qobject_cast<QLineEdit*>(watched);
  if (editor && editor == delegate_->editor() && e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    bool all = editor->hasSelectedText() && editor->selectedText() == editor->text();
    bool atStart = all || (!editor->hasSelectedText() && editor->cursorPosition() == 0);
    bool atEnd =
        all || (!editor->hasSelectedText() && editor->cursorPosition() == editor->text().size());
    if (k->modifiers() == Qt::NoModifier &&
        ((k->key() == Qt::Key_Left && atStart) || (k->key() == Qt::Key_Right && atEnd))) {
      keyPressEvent(k);
      return true;
    }
  }
  auto* corner = qobject_cast<QAbstractButton*>(watched);
  if (corner && e->type() == QEvent::Paint) {
    QStyleOptionHeader opt;
    opt.initFrom(corner);
    opt.rect = corner->rect();
    opt.text = model_->headerData(-1, Qt::Horizontal).toString();
    opt.textAlignment = Qt::AlignCenter;
    opt.position = QStyleOptionHeader::OnlyOneSection;
    QPainter p(corner);
    corner->style()->drawControl(QStyle::CE_Header, &opt, &p, corner);
    return true;
  }
  return QTableView::eventFilter(watched, e);
}

bool WkGridView::editorText(QString& text) const {
  QLineEdit* e = delegate_->editor();
  if (!e) return false;
  QModelIndex at = delegate_->editorIndex();
  if (!at.isValid() || WkGridModel::columnOfModel(at.column()) != ws_.CurrentColumn ||
      WkGridModel::indexOfModelRow(at.row()) != ws_.CurrentIndex)
    return false;
  text = e->text();
  return true;
}

void WkGridView::setEditorText(const QString& text) {
  if (QLineEdit* e = delegate_->editor()) e->setText(text);
}

void WkGridView::endEdit() {
  if (QLineEdit* e = delegate_->editor()) {
    commitData(e);
    QTableView::closeEditor(e, QAbstractItemDelegate::NoHint);
  }
}

void WkGridView::showEditor() {
  QModelIndex cur = currentIndex();
  if (!cur.isValid() || state() == QAbstractItemView::EditingState || reverting_ ||
      !(model_->flags(cur) & Qt::ItemIsEditable))
    return;
  edit(cur);
}

void WkGridView::goTo(int column, int index) {
  setCurrentIndex(
      model_->index(WkGridModel::modelRowOfIndex(index), WkGridModel::modelColumnOf(column)));
}

int WkGridView::leftDataColumn() const {
  int mc = columnAt(columnWidth(0));
  return mc <= 0 ? 0 : WkGridModel::columnOfModel(mc);
}

void WkGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // The base class hands the open editor's text to the cell it leaves.
  QTableView::currentChanged(current, previous);
  if (reverting_ || !current.isValid()) return;
  int column = WkGridModel::columnOfModel(current.column());
  int index = WkGridModel::indexOfModelRow(current.row());
  bool moved = column >= 0 && ws_.SelectCell(column, index);
  if (moved) {
    model_->clearPending();
    showEditor();
    return;
  }
  // Refused (a value that cannot be stored, or the "Xvals" column): the cursor stays.
  reverting_ = true;
  if (previous.isValid())
    selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
  reverting_ = false;
  showEditor();
}

void WkGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  if (hint == QAbstractItemDelegate::RevertModelCache) {
    if (onEscape) onEscape();
    showEditor();  // the stored value, in the editor again
  }
}

void WkGridView::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    if (QLineEdit* editor = delegate_->editor(); editor && state() == EditingState) {
      closeEditor(editor, QAbstractItemDelegate::RevertModelCache);  // undoes and reopens
    } else {
      if (onEscape) onEscape();
      showEditor();
    }
    e->accept();
    return;
  }
  QTableView::keyPressEvent(e);
}

void WkGridView::selectionChanged(const QItemSelection& selected,
                                  const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  if (onSelectionChanged) onSelectionChanged();
}

void WkGridView::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  int left = leftDataColumn();
  if (left != lastLeft_) {
    lastLeft_ = left;
    if (onLeftColumnChanged) onLeftColumnChanged();
  }
}

}  // namespace plotane
