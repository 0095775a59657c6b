#include "components/RecordListModel.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "components/RecImages.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"

namespace {

// Up to this many runs of neighbouring rows are removed one run at a time.
constexpr size_t kRunByRunLimit = 16;

bool ValidColumn(int column) { return column >= 0 && column < kRecordColumnCount; }

}  // namespace

// ---------------------------------------------------------------------------
// Rows

namespace {

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
  row.texts[kField1Column] = AnsiToQString(record->Field1());
  row.texts[kField2Column] = AnsiToQString(record->Field2());
  row.texts[kNotesColumn] = AnsiToQString(record->Notes());
  JoinCrLfLines(row.texts[kNotesColumn]);
  row.texts[kCategoryColumn] = CategoryText(record->CategoryName());
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
  return parent.isValid() ? 0 : kRecordColumnCount;
}

QVariant TRecordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()) ||
      !ValidColumn(index.column()))
    return {};
  switch (role) {
    case Qt::DisplayRole:
      return Filled(rows_[index.row()]).texts[index.column()];
    case Qt::DecorationRole:
      if (index.column() == kField1Column) return recordIcon_;
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
  emit dataChanged(index(row, 0), index(row, kRecordColumnCount - 1));
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

TListRecord* TRecordListModel::ShownRecord(int row) const {
  if (row < 0 || row >= ShownCount()) return nullptr;
  return rows_[row].record;
}

void TRecordListModel::DeleteRecords(TListDBData& document, std::vector<int> rows) {
  const int count = ShownCount();
  std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty()) return;

  // The records go from the last document position to the first, so each
  // position stays valid while the others are deleted.
  std::unordered_map<const TListRecord*, int> positions;
  positions.reserve(document.RecordCount());
  for (int i = 0; i < document.RecordCount(); ++i) positions[document.GetRecord(i)] = i;
  std::vector<int> doomed;
  doomed.reserve(rows.size());
  for (int row : rows) {
    const auto it = positions.find(rows_[row].record);
    if (it != positions.end()) doomed.push_back(it->second);
  }

  // Runs of neighbouring rows, first to last.
  std::vector<std::pair<int, int>> runs;
  for (int row : rows) {
    if (!runs.empty() && runs.back().second == row - 1)
      runs.back().second = row;
    else
      runs.emplace_back(row, row);
  }
  if (runs.size() <= kRunByRunLimit) {
    // The last run first, so the runs still to go keep their positions; each
    // run is one removal for the views.
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
      beginRemoveRows({}, it->first, it->second);
      rows_.erase(rows_.begin() + it->first, rows_.begin() + it->second + 1);
      endRemoveRows();
    }
  } else {
    // Scattered rows: one pass keeps the others, and one layout change moves
    // the persistent indexes (those of removed rows become invalid). Removing
    // thousands of runs one by one would move the rows below each of them.
    emit layoutAboutToBeChanged();
    std::vector<int> newRow(count, -1);
    size_t next = 0;
    int out = 0;
    for (int in = 0; in < count; ++in) {
      if (next < rows.size() && rows[next] == in) {
        ++next;
        continue;
      }
      newRow[in] = out;
      if (out != in) rows_[out] = std::move(rows_[in]);
      ++out;
    }
    rows_.resize(out);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from) {
      const int row = old.row() < count ? newRow[old.row()] : -1;
      to.append(row >= 0 ? index(row, old.column()) : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged();
  }

  std::sort(doomed.begin(), doomed.end(), std::greater<int>());
  for (int position : doomed) document.DeleteRecord(position);
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

void TRecordListModel::SetSortMark(int column, bool ascending) {
  for (int c = 0; c < kRecordColumnCount; ++c)
    SetHeaderImage(c, c != column ? -1 : ascending ? kSortAscendingImage : kSortDescendingImage);
}

void TRecordListModel::SetImages(const QIcon& record, const QIcon& ascending,
                                 const QIcon& descending) {
  recordIcon_ = record;
  ascIcon_ = ascending;
  descIcon_ = descending;
  emit headerDataChanged(Qt::Horizontal, 0, kRecordColumnCount - 1);
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
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
    const QStringView key = TrimView(rows_[i].texts[column]);
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
