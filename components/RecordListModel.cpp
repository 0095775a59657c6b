#include "components/RecordListModel.h"

#include <QLocale>
#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "components/RecImages.h"
#include "core/listdb.h"
#include "platform/AnsiCollation.h"
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

QString RecordCellText(const TListRecord* record, int column) {
  if (!record) return {};
  switch (column) {
    case kField1Column:
      return AnsiToQString(record->Field1());
    case kField2Column:
      return AnsiToQString(record->Field2());
    case kNotesColumn: {
      QString text = AnsiToQString(record->Notes());
      JoinCrLfLines(text);
      return text;
    }
    case kCategoryColumn:
      return CategoryText(record->CategoryName());
    default:
      return {};
  }
}

// ---------------------------------------------------------------------------
// TRecordListModel

TRecordListModel::TRecordListModel(QObject* parent) : QAbstractTableModel(parent) {
  SetImages(RecImageIcon(kRecordImage), RecImageIcon(kSortAscendingImage),
            RecImageIcon(kSortDescendingImage));
}

TRecordListModel::~TRecordListModel() = default;

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
      return RecordCellText(rows_[index.row()], index.column());
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

void TRecordListModel::SetRows(std::vector<TListRecord*> records) {
  std::erase(records, nullptr);
  // Ranks of another list are not kept once this one is shown. (An empty set
  // keeps them: the window empties the list before each refill.)
  if (!records.empty()) {
    for (TColumnRanks& ranks : ranks_)
      if (ranks.document != records.front()->Owner()) ranks = {};
  }
  beginResetModel();
  rows_.swap(records);
  endResetModel();
}

int TRecordListModel::AppendRow(TListRecord* record) {
  if (!record) return -1;
  const int position = static_cast<int>(rows_.size());
  beginInsertRows({}, position, position);
  rows_.push_back(record);
  endInsertRows();
  return position;
}

void TRecordListModel::SetRow(int row, TListRecord* record) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || !record) return;
  rows_[row] = record;
  emit dataChanged(index(row, 0), index(row, kRecordColumnCount - 1));
}

void TRecordListModel::RemoveRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

QString TRecordListModel::Text(int row, int column) const {
  return RecordCellText(ShownRecord(row), column);
}

int TRecordListModel::FindRecord(const TListRecord* record) const {
  if (!record) return -1;
  const auto it = std::find(rows_.begin(), rows_.end(), record);
  return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

TListRecord* TRecordListModel::ShownRecord(int row) const {
  if (row < 0 || row >= ShownCount()) return nullptr;
  return rows_[row];
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
    const auto it = positions.find(rows_[row]);
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

namespace {

// What a column sorts by: its text, trimmed, notes on one line.
TRecordValue ColumnValue(int column) {
  switch (column) {
    case kField1Column:
      return TRecordValue::Field1;
    case kField2Column:
      return TRecordValue::Field2;
    case kNotesColumn:
      return TRecordValue::Notes;
    default:
      return TRecordValue::Category;
  }
}

// The note as the list shows it, trimmed: CR LF pairs as blanks. A note
// without a pair is its own text; one with pairs is joined at the end of
// storage, which has room for it (joining only shortens).
std::string_view NoteSortText(std::string_view notes, std::string& storage) {
  notes = TrimView(notes);
  size_t pair = notes.find("\r\n");
  if (pair == std::string_view::npos) return notes;
  const size_t first = storage.size();
  size_t from = 0;
  while (pair != std::string_view::npos) {
    storage.append(notes.substr(from, pair - from));
    storage += ' ';
    from = pair + 2;
    pair = notes.find("\r\n", from);
  }
  storage.append(notes.substr(from));
  return std::string_view(storage).substr(first);
}

}  // namespace

const TAnsiCollation& TRecordListModel::Collation() {
  if (!collation_ || collation_->LocaleName() != QLocale().name())
    collation_ = std::make_unique<TAnsiCollation>(QLocale());
  return *collation_;
}

std::vector<uint32_t> TRecordListModel::RankRecords(const std::vector<const TListRecord*>& records,
                                                    int column) {
  const TAnsiCollation& collation = Collation();
  const size_t count = records.size();
  std::vector<std::string_view> texts(count);
  if (column == kCategoryColumn) {
    // A handful of names: each entry's name is ranked once ("Unfiled" for a
    // record whose id names no entry). Records of several lists (never the
    // window's) rank their names one by one.
    const TListDBData* owner = count > 0 ? records.front()->Owner() : nullptr;
    if (std::all_of(records.begin(), records.end(),
                    [owner](const TListRecord* r) { return r->Owner() == owner; })) {
      const TListDBCategories& categories = owner->Categories();
      std::vector<std::string> names{categories.NameOf(-1)};
      for (int i = 0; i < categories.Count(); ++i) names.push_back(categories.NameAt(i));
      std::vector<std::string_view> nameTexts;
      for (const std::string& name : names) nameTexts.push_back(TrimView(std::string_view(name)));
      const std::vector<uint32_t> nameRanks = collation.Ranks(nameTexts);
      std::vector<uint32_t> ranks(count);
      for (size_t i = 0; i < count; ++i)
        ranks[i] = nameRanks[categories.IndexOfID(records[i]->CategoryID()) + 1];
      return ranks;
    }
    std::vector<std::string> names(count);
    for (size_t i = 0; i < count; ++i) {
      names[i] = records[i]->CategoryName();
      texts[i] = TrimView(std::string_view(names[i]));
    }
    return collation.Ranks(texts);
  }
  // The notes with line breaks, joined as shown; the room is reserved first
  // so that the views into it stay valid.
  std::string joined;
  if (column == kNotesColumn) {
    size_t room = 0;
    for (const TListRecord* record : records)
      if (record->Notes().find("\r\n") != std::string_view::npos) room += record->Notes().size();
    joined.reserve(room);
  }
  for (size_t i = 0; i < count; ++i) {
    const TListRecord* record = records[i];
    if (column == kField1Column)
      texts[i] = TrimView(std::string_view(record->Field1()));
    else if (column == kField2Column)
      texts[i] = TrimView(std::string_view(record->Field2()));
    else
      texts[i] = NoteSortText(record->Notes(), joined);
  }
  return collation.Ranks(texts);
}

const std::vector<uint32_t>& TRecordListModel::ColumnRanks(const TListDBData& document,
                                                           int column) {
  TColumnRanks& cache = ranks_[column];
  const uint64_t revision = document.Revision(ColumnValue(column));
  if (cache.document == &document && cache.revision == revision &&
      cache.locale == Collation().LocaleName())
    return cache.bySerial;

  std::vector<const TListRecord*> records(static_cast<size_t>(document.RecordCount()));
  for (size_t i = 0; i < records.size(); ++i) records[i] = document.GetRecord(static_cast<int>(i));
  const std::vector<uint32_t> ranks = RankRecords(records, column);
  std::vector<uint32_t> bySerial(document.SerialLimit(), 0);
  for (size_t i = 0; i < records.size(); ++i) bySerial[records[i]->Serial()] = ranks[i];
  cache = {&document, revision, Collation().LocaleName(), std::move(bySerial)};
  return cache.bySerial;
}

void TRecordListModel::SortRows(int column, bool ascending) {
  if (!ValidColumn(column)) return;
  const int count = static_cast<int>(rows_.size());
  if (count < 2) return;

  // The places of the rows' records in the column's order, ranked over the
  // whole document once and kept: the rows of any filter, and a later click on
  // the same column, reuse them.
  // Rows of records from several lists, or of records outside their list,
  // are ranked among themselves.
  const TListDBData* document = rows_.front()->Owner();
  std::vector<uint32_t> rowRank(count);
  if (std::all_of(rows_.begin(), rows_.end(), [document](const TListRecord* r) {
        return r->Owner() == document && r->Serial() < document->SerialLimit();
      })) {
    const std::vector<uint32_t>& ranks = ColumnRanks(*document, column);
    for (int i = 0; i < count; ++i) rowRank[i] = ranks[rows_[i]->Serial()];
  } else {
    rowRank = RankRecords({rows_.begin(), rows_.end()}, column);
  }
  const uint32_t largest = *std::max_element(rowRank.begin(), rowRank.end());
  const size_t ranksUsed = size_t{largest} + 1;

  // A counting sort by rank (descending: ranks reversed); rows of one rank
  // keep their order.
  std::vector<int> start(ranksUsed + 1, 0);
  auto bucket = [&](uint32_t r) { return ascending ? r : largest - r; };
  for (int i = 0; i < count; ++i) ++start[bucket(rowRank[i]) + 1];
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<int> order(count);
  for (int i = 0; i < count; ++i) order[start[bucket(rowRank[i])]++] = i;

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<TListRecord*> sorted(count);
  for (int i = 0; i < count; ++i) sorted[i] = rows_[order[i]];
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
