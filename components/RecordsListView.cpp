#include "components/RecordsListView.h"

#include <QCollator>
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
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "components/QRXHtmlControls.h"
#include "components/RecImages.h"
#include "components/RecordHint.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"

namespace {

constexpr int kColumnCount = 4;

bool ValidColumn(int column) { return column >= 0 && column < kColumnCount; }

}  // namespace

// ---------------------------------------------------------------------------
// Rows

namespace {

// Windows-1252 differs from Latin-1 only in the bytes 0x80 to 0x9F; texts
// without them (nearly all) take Qt's fast Latin-1 conversion.
QString RowText(const std::string& bytes) {
  for (unsigned char b : bytes)
    if (b >= 0x80 && b < 0xA0) return AnsiToQString(bytes);
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Every CR LF pair becomes one blank, in place (the text only shrinks).
void JoinCrLfLines(QString& text) {
  const qsizetype size = text.size();
  if (size < 2 || !text.contains(u'\r')) return;
  QChar* data = text.data();
  qsizetype out = 0;
  for (qsizetype in = 0; in < size; ++in) {
    if (data[in] == u'\r' && in + 1 < size && data[in + 1] == u'\n') {
      data[out++] = u' ';
      ++in;
    } else {
      data[out++] = data[in];
    }
  }
  text.truncate(out);
}

// A list shows the same few category names on thousands of rows: the rows
// share one converted text per name instead of a copy each.
QString CategoryText(const std::string& name) {
  struct TEntry {
    std::string bytes;
    QString text;
  };
  constexpr int kSlots = 20;
  thread_local TEntry cache[kSlots];
  thread_local int used = 0, next = 0;
  for (int i = 0; i < used; ++i)
    if (cache[i].bytes == name) return cache[i].text;
  TEntry& slot = cache[used < kSlots ? used++ : next];
  if (used == kSlots) next = (next + 1) % kSlots;
  slot.bytes = name;
  slot.text = AnsiToQString(name);
  return slot.text;
}

}  // namespace

TRecordRow MakeRecordRow(TListRecord* record) {
  TRecordRow row;
  row.record = record;
  if (!record) return row;
  row.texts[0] = RowText(record->Field1());
  row.texts[1] = RowText(record->Field2());
  row.texts[2] = RowText(record->Notes());
  JoinCrLfLines(row.texts[2]);
  row.texts[3] = CategoryText(record->CategoryName());
  return row;
}

TRecordRow PendingRecordRow(TListRecord* record) {
  TRecordRow row;
  row.record = record;
  row.filled = false;
  return row;
}

// ---------------------------------------------------------------------------
// TRecordListModel

TRecordListModel::TRecordListModel(QObject* parent) : QAbstractTableModel(parent) {
  SetImages(RecImageIcon(kRecordImage), RecImageIcon(kSortAscendingImage),
            RecImageIcon(kSortDescendingImage));
}

const TRecordRow& TRecordListModel::Filled(TRecordRow& row) const {
  if (!row.filled) row = MakeRecordRow(row.record);
  return row;
}

int TRecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TRecordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant TRecordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()) ||
      !ValidColumn(index.column()))
    return {};
  switch (role) {
    case Qt::DisplayRole:
      return Filled(rows_[index.row()]).texts[index.column()];
    case Qt::DecorationRole:
      if (index.column() == 0) return recordIcon_;
      return {};
    default:
      return {};
  }
}

QVariant TRecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || !ValidColumn(section)) return {};
  switch (role) {
    case Qt::DisplayRole:
      return captions_[section];
    case Qt::DecorationRole:
      switch (headerImages_[section]) {
        case kSortAscendingImage:
          return ascIcon_;
        case kSortDescendingImage:
          return descIcon_;
        default:
          return {};
      }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
      return {};
  }
}

Qt::ItemFlags TRecordListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void TRecordListModel::SetRows(std::vector<TRecordRow> rows) {
  beginResetModel();
  rows_.swap(rows);
  endResetModel();
  // The old rows go last row first, the reverse of the order a fill made
  // their texts in: glibc's allocator then merges each freed text with the
  // free space beside it at once; dropping 65,535 rows takes a third of the
  // time it takes front to back.
  while (!rows.empty()) rows.pop_back();
}

int TRecordListModel::AppendRow(TRecordRow row) {
  const int position = static_cast<int>(rows_.size());
  beginInsertRows({}, position, position);
  rows_.push_back(std::move(row));
  endInsertRows();
  return position;
}

void TRecordListModel::SetRow(int row, TRecordRow value) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_[row] = std::move(value);
  emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void TRecordListModel::RemoveRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

int TRecordListModel::FindRecord(const TListRecord* record) const {
  if (!record) return -1;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].record == record) return static_cast<int>(i);
  return -1;
}

void TRecordListModel::SetCaption(int column, const QString& caption) {
  if (!ValidColumn(column) || captions_[column] == caption) return;
  captions_[column] = caption;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void TRecordListModel::SetHeaderImage(int column, int image) {
  if (!ValidColumn(column)) return;
  if (image != kSortAscendingImage && image != kSortDescendingImage) image = -1;
  if (headerImages_[column] == image) return;
  headerImages_[column] = image;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void TRecordListModel::SetImages(const QIcon& record, const QIcon& ascending,
                                 const QIcon& descending) {
  recordIcon_ = record;
  ascIcon_ = ascending;
  descIcon_ = descending;
  emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

QStringView TRecordListModel::SortKeyText(const QString& text) {
  QStringView view(text);
  qsizetype begin = 0, end = view.size();
  while (begin < end && view[begin].unicode() <= 32) ++begin;
  while (end > begin && view[end - 1].unicode() <= 32) --end;
  return view.sliced(begin, end - begin);
}

void TRecordListModel::SortRows(int column, bool ascending) {
  if (!ValidColumn(column)) return;
  const int count = static_cast<int>(rows_.size());
  if (count < 2) return;

  // The user's locale, letters that differ only in case kept apart, digits
  // compared as text.
  QCollator collator{QLocale()};
  collator.setCaseSensitivity(Qt::CaseSensitive);
  collator.setNumericMode(false);
  collator.setIgnorePunctuation(false);

  // Rows that show the same text share one key: a category column holds at
  // most 16 texts, and repeated values are common in the others too. Each
  // distinct text is ranked once, then the rows are ordered by rank.
  // Pending rows get their texts first, in one pass: made together, they lie
  // together in memory for the passes below.
  for (TRecordRow& row : rows_) Filled(row);
  std::unordered_map<std::u16string_view, int> distinctIndex;
  distinctIndex.reserve(count);
  std::vector<int> textOfRow(count);
  std::vector<QStringView> texts;
  for (int i = 0; i < count; ++i) {
    const QStringView key = SortKeyText(rows_[i].texts[column]);
    const auto [it, inserted] = distinctIndex.try_emplace(
        std::u16string_view(key.utf16(), key.size()), static_cast<int>(texts.size()));
    if (inserted) texts.push_back(key);
    textOfRow[i] = it->second;
  }
  std::vector<QCollatorSortKey> keys;
  keys.reserve(texts.size());
  for (QStringView text : texts) keys.push_back(collator.sortKey(text.toString()));
  std::vector<int> byText(texts.size());
  std::iota(byText.begin(), byText.end(), 0);
  std::sort(byText.begin(), byText.end(),
            [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
  // Texts that collate equal (say "a" and "a" with a blank before it, once
  // trimmed; or forms the locale treats as one) share a rank.
  std::vector<int> rank(texts.size());
  int ranks = 0;
  for (size_t i = 0; i < byText.size(); ++i) {
    if (i > 0 && keys[byText[i - 1]].compare(keys[byText[i]]) != 0) ++ranks;
    rank[byText[i]] = ranks;
  }
  ++ranks;

  // A counting sort by rank (descending: ranks reversed); rows of one rank
  // keep their order.
  std::vector<int> start(ranks + 1, 0);
  for (int i = 0; i < count; ++i) {
    const int r = rank[textOfRow[i]];
    ++start[(ascending ? r : ranks - 1 - r) + 1];
  }
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<int> order(count);
  for (int i = 0; i < count; ++i) {
    const int r = rank[textOfRow[i]];
    order[start[ascending ? r : ranks - 1 - r]++] = i;
  }

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<TRecordRow> sorted;
  sorted.reserve(count);
  for (int from : order) sorted.push_back(std::move(rows_[from]));
  rows_.swap(sorted);

  std::vector<int> newRow(count);
  for (int i = 0; i < count; ++i) newRow[order[i]] = i;
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& old : from)
    to.append(old.row() < count ? index(newRow[old.row()], old.column()) : QModelIndex());
  changePersistentIndexList(from, to);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---------------------------------------------------------------------------
// TRecordsListView

TRecordsListView::TRecordsListView(QWidget* parent)
    : QTreeView(parent), model_(new TRecordListModel(this)) {
  setModel(model_);
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
  for (int column = 0; column < kColumnCount; ++column) {
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

int TRecordsListView::RowCount() const { return model_->rowCount(); }

TListRecord* TRecordsListView::RecordAt(int row) const {
  if (row < 0 || row >= model_->rowCount()) return nullptr;
  return model_->Row(row).record;
}

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
  selectionModel()->select(model_->index(row, 0),
                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TRecordsListView::SetFocusedRow(int row) {
  const QModelIndex index = row >= 0 && row < RowCount() ? model_->index(row, 0) : QModelIndex();
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void TRecordsListView::ScrollRowIntoView(int row) {
  if (row < 0 || row >= RowCount()) return;
  // Only vertically, as far as needed to show the whole row.
  const int x = horizontalScrollBar()->value();
  scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
  horizontalScrollBar()->setValue(x);
}

void TRecordsListView::SortRows(int column, bool ascending) {
  // The model moves the persistent indexes with the rows, so the selection
  // and the current row stay on their records.
  model_->SortRows(column, ascending);
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
  const QRect first = visualRect(model_->index(row, 0));
  const QRect last = visualRect(model_->index(row, kColumnCount - 1));
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
  popupMenu_->popup(event->globalPos());
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
    model->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
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
    const QRect last = visualRect(model_->index(RowCount() - 1, 0));
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
