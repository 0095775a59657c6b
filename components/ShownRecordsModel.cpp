#include "components/ShownRecordsModel.h"

#include <QLocale>
#include <algorithm>
#include <numeric>
#include <string_view>

#include "core/listdb.h"
#include "platform/AnsiCollation.h"
#include "platform/TextLines.h"

TShownRecordsModel::TShownRecordsModel(TRecordListModel* source, QObject* parent)
    : TRecordRowsModel<QAbstractProxyModel>(parent), source_(source) {
  setSourceModel(source);
  connect(source, &QAbstractItemModel::modelReset, this, &TShownRecordsModel::Refilter);
  connect(source, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) { OnSourceRowsInserted(first, last); });
  connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
          [this](const QModelIndex&, int first, int last) {
            OnSourceRowsAboutToBeRemoved(first, last);
          });
  connect(source, &QAbstractItemModel::rowsRemoved, this, [this] { rowOfSerialValid_ = false; });
  connect(source, &QAbstractItemModel::layoutChanged, this,
          &TShownRecordsModel::OnSourceLayoutChanged);
  connect(source, &QAbstractItemModel::dataChanged, this, &TShownRecordsModel::OnSourceDataChanged);
  connect(source, &QAbstractItemModel::headerDataChanged, this,
          &QAbstractItemModel::headerDataChanged);
  Refilter();
}

TShownRecordsModel::~TShownRecordsModel() = default;

QModelIndex TShownRecordsModel::index(int row, int column, const QModelIndex& parent) const {
  if (parent.isValid() || row < 0 || row >= ShownCount() || column < 0 ||
      column >= kRecordColumnCount)
    return {};
  return createIndex(row, column);
}

QModelIndex TShownRecordsModel::parent(const QModelIndex&) const { return {}; }

int TShownRecordsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ShownCount();
}

int TShownRecordsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRecordColumnCount;
}

QModelIndex TShownRecordsModel::mapToSource(const QModelIndex& proxyIndex) const {
  if (!proxyIndex.isValid() || proxyIndex.model() != this) return {};
  const int row = source_->RowOf(ShownRecord(proxyIndex.row()));
  return row < 0 ? QModelIndex() : source_->index(row, proxyIndex.column());
}

QModelIndex TShownRecordsModel::mapFromSource(const QModelIndex& sourceIndex) const {
  if (!sourceIndex.isValid() || sourceIndex.model() != source_) return {};
  const int row = FindRecord(source_->RecordAt(sourceIndex.row()));
  return row < 0 ? QModelIndex() : index(row, sourceIndex.column());
}

QVariant TShownRecordsModel::data(const QModelIndex& index, int role) const {
  // Straight from the record: the source's row is not looked up per cell.
  if (!index.isValid() || index.model() != this) return {};
  switch (role) {
    case Qt::DisplayRole:
      return RecordCellText(ShownRecord(index.row()), index.column());
    case kSortKeyRole:
      return RecordSortText(ShownRecord(index.row()), index.column());
    case kRecordRole:
      return QVariant::fromValue(reinterpret_cast<quintptr>(ShownRecord(index.row())));
    default:
      return QAbstractProxyModel::data(index, role);
  }
}

QVariant TShownRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  return source_->headerData(section, orientation, role);
}

Qt::ItemFlags TShownRecordsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

TListRecord* TShownRecordsModel::ShownRecord(int row) const {
  return row >= 0 && row < ShownCount() ? rows_[row] : nullptr;
}

int TShownRecordsModel::FindRecord(const TListRecord* record) const { return RowOfRecord(record); }

QString TShownRecordsModel::Text(int row, int column) const {
  return RecordCellText(ShownRecord(row), column);
}

void TShownRecordsModel::SetFilter(TFilter filter) {
  filter_ = std::move(filter);
  Refilter();
}

void TShownRecordsModel::Refilter() {
  std::vector<TListRecord*> rows;
  const int count = source_->rowCount();
  rows.reserve(static_cast<size_t>(count));
  for (int row = 0; row < count; ++row) {
    TListRecord* record = source_->RecordAt(row);
    if (Passes(record)) rows.push_back(record);
  }
  // Ranks of another list are not kept once this one is shown.
  for (TColumnRanks& ranks : ranks_)
    if (ranks.document != source_->Document()) ranks = {};
  beginResetModel();
  rows_.swap(rows);
  rowOfSerialValid_ = false;
  sortColumn_ = -1;
  sortAscending_ = true;
  endResetModel();
}

void TShownRecordsModel::AppendShown(const std::vector<TListRecord*>& records) {
  if (records.empty()) return;
  const int first = ShownCount();
  beginInsertRows({}, first, first + static_cast<int>(records.size()) - 1);
  rows_.insert(rows_.end(), records.begin(), records.end());
  rowOfSerialValid_ = false;
  endInsertRows();
}

void TShownRecordsModel::OnSourceRowsInserted(int first, int last) {
  std::vector<TListRecord*> passing;
  for (int row = first; row <= last; ++row) {
    TListRecord* record = source_->RecordAt(row);
    if (Passes(record)) passing.push_back(record);
  }
  AppendShown(passing);
}

void TShownRecordsModel::OnSourceRowsAboutToBeRemoved(int first, int last) {
  std::vector<int> doomed;
  for (int row = first; row <= last; ++row) {
    const int shown = FindRecord(source_->RecordAt(row));
    if (shown >= 0) doomed.push_back(shown);
  }
  std::sort(doomed.begin(), doomed.end());
  RemoveRecordRows(doomed);
}

void TShownRecordsModel::OnSourceLayoutChanged() {
  // The source moves its rows only when it loses many at once: the shown
  // records it no longer holds go too.
  std::vector<int> doomed;
  for (int row = 0; row < ShownCount(); ++row)
    if (source_->RowOf(rows_[row]) < 0) doomed.push_back(row);
  RemoveRecordRows(doomed);
}

void TShownRecordsModel::OnSourceDataChanged(const QModelIndex& topLeft,
                                             const QModelIndex& bottomRight) {
  if (!topLeft.isValid() || !bottomRight.isValid()) return;
  // A changed record is tested again: shown and still passing, its row is
  // painted anew; shown and failing, it leaves; passing and not shown, it is
  // shown at the end.
  std::vector<int> doomed;
  std::vector<TListRecord*> added;
  int firstChanged = ShownCount(), lastChanged = -1;
  for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
    TListRecord* record = source_->RecordAt(row);
    const int shown = FindRecord(record);
    const bool passes = Passes(record);
    if (shown >= 0 && !passes) {
      doomed.push_back(shown);
    } else if (shown >= 0) {
      firstChanged = std::min(firstChanged, shown);
      lastChanged = std::max(lastChanged, shown);
    } else if (passes && record) {
      added.push_back(record);
    }
  }
  if (lastChanged >= 0)
    emit dataChanged(index(firstChanged, topLeft.column()),
                     index(lastChanged, bottomRight.column()));
  std::sort(doomed.begin(), doomed.end());
  RemoveRecordRows(doomed);
  AppendShown(added);
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

}  // namespace

const TAnsiCollation& TShownRecordsModel::Collation() {
  if (!collation_ || collation_->LocaleName() != QLocale().name())
    collation_ = std::make_unique<TAnsiCollation>(QLocale());
  return *collation_;
}

std::vector<uint32_t> TShownRecordsModel::RankRecords(
    const std::vector<const TListRecord*>& records, int column) {
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
      texts[i] = JoinCrLfLines(TrimView(record->Notes()), joined);
  }
  return collation.Ranks(texts);
}

const std::vector<uint32_t>& TShownRecordsModel::ColumnRanks(const TListDBData& document,
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

std::vector<int> TShownRecordsModel::SortOrder(const std::vector<TListRecord*>& records, int column,
                                               bool ascending) {
  const int count = static_cast<int>(records.size());
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  if (count < 2) return order;
  // The places of the records in the column's order, ranked over the whole
  // document once and kept: the rows of any filter, and a later click on the
  // same column, reuse them. Records outside the document are ranked among
  // themselves.
  const TListDBData* document = source_->Document();
  std::vector<uint32_t> rank(static_cast<size_t>(count));
  if (document && std::all_of(records.begin(), records.end(), [document](const TListRecord* r) {
        return r->Owner() == document && r->Serial() < document->SerialLimit();
      })) {
    const std::vector<uint32_t>& ranks = ColumnRanks(*document, column);
    for (int i = 0; i < count; ++i) rank[i] = ranks[records[i]->Serial()];
  } else {
    rank = RankRecords({records.begin(), records.end()}, column);
  }
  const uint32_t largest = *std::max_element(rank.begin(), rank.end());
  // A counting sort by rank (descending: ranks reversed); records of one rank
  // keep their order.
  std::vector<int> start(size_t{largest} + 2, 0);
  auto bucket = [&](uint32_t r) { return ascending ? r : largest - r; };
  for (int i = 0; i < count; ++i) ++start[bucket(rank[i]) + 1];
  std::partial_sum(start.begin(), start.end(), start.begin());
  for (int i = 0; i < count; ++i) order[start[bucket(rank[i])]++] = i;
  return order;
}

void TShownRecordsModel::SortRows(int column, bool ascending) {
  if (column < 0 || column >= kRecordColumnCount) return;
  sortColumn_ = column;
  sortAscending_ = ascending;
  const int count = ShownCount();
  if (count < 2) return;
  const std::vector<int> order = SortOrder(rows_, column, ascending);

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<TListRecord*> sorted(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) sorted[i] = rows_[order[i]];
  rows_.swap(sorted);
  rowOfSerialValid_ = false;

  std::vector<int> newRow(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) newRow[order[i]] = i;
  const QModelIndexList from = persistentIndexList();
  changePersistentIndexList(from, MovedIndexes(*this, from, newRow));
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TShownRecordsModel::OrderRecords(std::vector<TListRecord*>& records) {
  std::vector<int> order;
  if (sortColumn_ < 0) {
    std::vector<int> position(records.size());
    for (size_t i = 0; i < records.size(); ++i) position[i] = source_->RowOf(records[i]);
    order.resize(records.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return position[a] < position[b]; });
  } else {
    order = SortOrder(records, sortColumn_, sortAscending_);
  }
  std::vector<TListRecord*> sorted(records.size());
  for (size_t i = 0; i < records.size(); ++i) sorted[i] = records[order[i]];
  records.swap(sorted);
}
