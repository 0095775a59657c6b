#include "components/RecordsListView.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "components/QRXHtmlControls.h"
#include "components/RecImages.h"
#include "components/RecordHint.h"
#include "core/listdb.h"

// ---------------------------------------------------------------------------
// TRecordsListView

TRecordsListView::TRecordsListView(QWidget* parent)
    : QTreeView(parent),
      model_(new TRecordListModel(this)),
      shown_(new TShownRecordsModel(model_, this)) {
  setModel(shown_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setFrameShape(QFrame::NoFrame);
  setIconSize(QSize(kRecImageSize, kRecImageSize));
  setTextElideMode(Qt::ElideRight);
  setAutoFillBackground(true);
  viewport()->setAutoFillBackground(true);

  QHeaderView* head = header();
  head->setSectionsClickable(true);
  head->setSectionsMovable(false);
  head->setSortIndicatorShown(false);
  head->setHighlightSections(false);
  head->setStretchLastSection(false);
  head->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  head->setMinimumSectionSize(kMinColumnWidth);
  for (int column = 0; column < kRecordColumnCount; ++column) {
    head->setSectionResizeMode(column, QHeaderView::Interactive);
    head->resizeSection(column, kDesignWidths[column]);
  }
  connect(head, &QHeaderView::sectionResized, this, &TRecordsListView::OnSectionResized);
  connect(head, &QHeaderView::sectionClicked, this, [this](int logical) {
    const Qt::KeyboardModifiers modifiers =
        keyboardQuery_ ? keyboardQuery_() : QGuiApplication::queryKeyboardModifiers();
    emit ColumnClicked(logical, modifiers.testFlag(Qt::ControlModifier));
  });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TRecordsListView::OnSelectionChanged);

  WatchParent();
  FollowParentLook();
}

void TRecordsListView::SetDocument(TListDBData* document) { model_->SetDocument(document); }

int TRecordsListView::RowCount() const { return shown_->rowCount(); }

TListRecord* TRecordsListView::RecordAt(int row) const { return shown_->ShownRecord(row); }

std::vector<std::pair<int, int>> TRecordsListView::SelectedIntervals() const {
  // The ranges of a selection may overlap (a row selected twice by the
  // program), so they are merged before counting.
  std::vector<std::pair<int, int>> ranges;
  const QItemSelection selection = selectionModel()->selection();
  ranges.reserve(selection.size());
  for (const QItemSelectionRange& range : selection)
    if (range.isValid()) ranges.emplace_back(range.top(), range.bottom());
  std::sort(ranges.begin(), ranges.end());
  std::vector<std::pair<int, int>> merged;
  for (const auto& r : ranges) {
    if (!merged.empty() && r.first <= merged.back().second + 1)
      merged.back().second = std::max(merged.back().second, r.second);
    else
      merged.push_back(r);
  }
  return merged;
}

std::vector<int> TRecordsListView::SelectedRows() const {
  std::vector<int> rows;
  for (const auto& [first, last] : SelectedIntervals())
    for (int row = first; row <= last; ++row) rows.push_back(row);
  return rows;
}

int TRecordsListView::SelectedCount() const {
  int count = 0;
  for (const auto& [first, last] : SelectedIntervals()) count += last - first + 1;
  return count;
}

int TRecordsListView::FirstSelectedRow() const {
  const auto intervals = SelectedIntervals();
  return intervals.empty() ? -1 : intervals.front().first;
}

void TRecordsListView::ClearSelection() { selectionModel()->clearSelection(); }

void TRecordsListView::SelectRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  selectionModel()->select(shown_->index(row, 0),
                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TRecordsListView::SetFocusedRow(int row) {
  const QModelIndex index = row >= 0 && row < RowCount() ? shown_->index(row, 0) : QModelIndex();
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void TRecordsListView::ClearCurrentUnlessSelected() {
  if (!selectionModel()->hasSelection()) SetFocusedRow(-1);
}

void TRecordsListView::focusInEvent(QFocusEvent* event) {
  QTreeView::focusInEvent(event);
  const QModelIndex current = currentIndex();
  if (current.isValid() && !selectionModel()->hasSelection()) SelectRow(current.row());
}

void TRecordsListView::ScrollRowIntoView(int row) {
  if (row < 0 || row >= RowCount()) return;
  // Only vertically, as far as needed to show the whole row.
  const int x = horizontalScrollBar()->value();
  scrollTo(shown_->index(row, 0), QAbstractItemView::EnsureVisible);
  horizontalScrollBar()->setValue(x);
}

void TRecordsListView::SortRows(int column, bool ascending) {
  // The model moves the persistent indexes with the rows, so the selection
  // and the current row stay on their records.
  shown_->SortRows(column, ascending);
}

void TRecordsListView::SelectAndShowRow(int row, bool exclusive) {
  if (row < 0 || row >= RowCount()) return;
  if (exclusive) ClearSelection();
  SelectRow(row);
  ScrollRowIntoView(row);
  SetFocusedRow(row);
}

void TRecordsListView::SetGridLines(bool on) {
  if (gridLines_ == on) return;
  gridLines_ = on;
  viewport()->update();
}

void TRecordsListView::SetPopupMenu(QMenu* menu) {
  popupMenu_ = menu;
  if (menu) setContextMenuPolicy(Qt::DefaultContextMenu);
}

void TRecordsListView::SetKeyboardQuery(std::function<Qt::KeyboardModifiers()> query) {
  keyboardQuery_ = std::move(query);
}

QRect TRecordsListView::RowRect(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  const QRect first = visualRect(shown_->index(row, 0));
  const QRect last = visualRect(shown_->index(row, kRecordColumnCount - 1));
  return first.united(last);
}

void TRecordsListView::ShowRecordHintAt(const QPoint& pos) {
  const QModelIndex index = showHints_ ? indexAt(pos) : QModelIndex();
  const QRect row = index.isValid() ? RowRect(index.row()) & viewport()->rect() : QRect();
  if (row.isEmpty()) {
    TQRX_HintEx::HideHint();
    return;
  }
  TListRecord* record = RecordAt(index.row());
  const QString text =
      hintProvider_ ? hintProvider_(record) : (record ? GetRecordHintText(*record) : QString());
  if (text.isEmpty()) {
    TQRX_HintEx::HideHint();
    return;
  }
  // The hint sits below and right of the row's corner by the pointer's size,
  // so the pointer never covers it; it stays while the pointer is in the row.
  QSize pointer(32, 32);
  const QPixmap cursorPixmap = viewport()->cursor().pixmap();
  if (!cursorPixmap.isNull()) pointer = cursorPixmap.deviceIndependentSize().toSize();
  const QRect global(viewport()->mapToGlobal(row.topLeft()), row.size());
  TQRX_HintEx::ShowHint(text, global.topLeft() + QPoint(pointer.width(), pointer.height()), this,
                        global);
}

bool TRecordsListView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    // The list's hints are its own: never the standard tool tip.
    ShowRecordHintAt(static_cast<QHelpEvent*>(event)->pos());
    event->accept();
    return true;
  }
  return QTreeView::viewportEvent(event);
}

void TRecordsListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit RowDoubleClicked();
}

void TRecordsListView::contextMenuEvent(QContextMenuEvent* event) {
  if (!popupMenu_) {
    QTreeView::contextMenuEvent(event);
    return;
  }
  QPoint at = event->globalPos();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    // From the keyboard the menu opens below the current row (at the list's
    // top without one), not wherever the pointer happens to rest.
    const QModelIndex current = currentIndex();
    const QRect row = current.isValid() ? RowRect(current.row()) : QRect();
    at = viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
  }
  popupMenu_->popup(at);
  event->accept();
}

void TRecordsListView::OnSectionResized(int logical, int /*oldSize*/, int newSize) {
  if (clampingWidth_ || newSize >= kMinColumnWidth || header()->isSectionHidden(logical)) return;
  clampingWidth_ = true;
  header()->resizeSection(logical, kMinColumnWidth);
  clampingWidth_ = false;
}

void TRecordsListView::OnSelectionChanged(const QItemSelection& selected,
                                          const QItemSelection& deselected) {
  // The focused row follows the selection: a row that becomes selected takes
  // the focus (unless the focused row is among the rows just selected, as
  // after a click), and the focused row loses it when it is deselected.
  QItemSelectionModel* model = selectionModel();
  const QModelIndex current = model->currentIndex();
  if (!selected.isEmpty()) {
    if (current.isValid() && selected.contains(current)) return;
    const int row = selected.last().bottom();
    model->setCurrentIndex(shown_->index(row, 0), QItemSelectionModel::NoUpdate);
    return;
  }
  if (current.isValid() && deselected.contains(current) && !model->isSelected(current))
    model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

// ---------------------------------------------------------------------------
// Look: the panel's font and colour, grid lines

void TRecordsListView::WatchParent() {
  QWidget* parent = parentWidget();
  if (watchedParent_ == parent) return;
  if (watchedParent_) watchedParent_->removeEventFilter(this);
  watchedParent_ = parent;
  if (parent) parent->installEventFilter(this);
}

void TRecordsListView::FollowParentLook() {
  // The font comes from the parent by Qt's own inheritance; the colours are
  // mapped: the panel's background is the list's base. A list without a
  // parent keeps its own colours.
  QPalette pal = palette();
  if (const QWidget* parent = parentWidget()) {
    pal = parent->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      pal.setColor(group, QPalette::Base, pal.color(group, QPalette::Window));
      pal.setColor(group, QPalette::Text, pal.color(group, QPalette::WindowText));
    }
  }
  // The selection stays as visible without the focus as with it.
  pal.setColor(QPalette::Inactive, QPalette::Highlight,
               pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
               pal.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(pal);
}

bool TRecordsListView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedParent_ && event->type() == QEvent::PaletteChange) FollowParentLook();
  return QTreeView::eventFilter(watched, event);
}

void TRecordsListView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ParentChange) {
    WatchParent();
    FollowParentLook();
  }
  QTreeView::changeEvent(event);
}

QColor TRecordsListView::GridColor() const {
  // A light line on any background: the base colour a fifth of the way to the
  // text colour.
  const QColor base = palette().color(QPalette::Base);
  const QColor text = palette().color(QPalette::Text);
  return QColor((base.red() * 4 + text.red()) / 5, (base.green() * 4 + text.green()) / 5,
                (base.blue() * 4 + text.blue()) / 5);
}

void TRecordsListView::DrawGridLines(QPainter* painter, int top, int bottom) const {
  // Column dividers between top and bottom (viewport coordinates).
  const QHeaderView* head = header();
  for (int visual = 0; visual < head->count(); ++visual) {
    const int logical = head->logicalIndex(visual);
    if (head->isSectionHidden(logical)) continue;
    const int x = head->sectionViewportPosition(logical) + head->sectionSize(logical) - 1;
    painter->drawLine(x, top, x, bottom);
  }
}

void TRecordsListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QTreeView::drawRow(painter, option, index);
  if (!gridLines_) return;
  painter->save();
  painter->setPen(GridColor());
  const QRect r = option.rect;
  painter->drawLine(0, r.bottom(), viewport()->width(), r.bottom());
  DrawGridLines(painter, r.top(), r.bottom());
  painter->restore();
}

void TRecordsListView::paintEvent(QPaintEvent* event) {
  QTreeView::paintEvent(event);
  if (!gridLines_) return;
  // The grid continues below the last row, as far as the list reaches.
  int top = 0, rowHeight = 0;
  if (RowCount() > 0) {
    const QRect last = visualRect(shown_->index(RowCount() - 1, 0));
    top = last.bottom() + 1;
    rowHeight = last.height();
  }
  const int bottom = viewport()->height();
  if (top >= bottom) return;
  QPainter painter(viewport());
  painter.setPen(GridColor());
  DrawGridLines(&painter, top, bottom);
  if (rowHeight > 0)
    for (int y = top + rowHeight - 1; y < bottom; y += rowHeight)
      painter.drawLine(0, y, viewport()->width(), y);
}
