#include "components/RecordListModel.h"

#include <QLocale>
#include <algorithm>
#include <numeric>
#include <string_view>

#include "components/RecImages.h"
#include "core/listdb.h"
#include "platform/AnsiCollation.h"
#include "platform/AnsiText.h"
#include "platform/TextLines.h"

namespace {

bool ValidColumn(int column) { return column >= 0 && column < kRecordColumnCount; }

}  // namespace

// ---------------------------------------------------------------------------
// Rows

namespace {

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

QString RecordSortText(const TListRecord* record, int column) {
  // Trimmed as the document trims: characters 0 to 32 only.
  const QString text = RecordCellText(record, column);
  qsizetype first = 0, last = text.size();
  while (first < last && text[first].unicode() <= 32) ++first;
  while (last > first && text[last - 1].unicode() <= 32) --last;
  return text.mid(first, last - first);
}

std::vector<std::pair<int, int>> RowRuns(const std::vector<int>& rows) {
  std::vector<std::pair<int, int>> runs;
  for (int row : rows) {
    if (!runs.empty() && runs.back().second == row - 1)
      runs.back().second = row;
    else
      runs.emplace_back(row, row);
  }
  return runs;
}

QModelIndexList MovedIndexes(const QAbstractItemModel& model, const QModelIndexList& from,
                             const std::vector<int>& newRow) {
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& old : from) {
    const int row = old.row() < static_cast<int>(newRow.size()) ? newRow[old.row()] : -1;
    to.append(row >= 0 ? model.index(row, old.column()) : QModelIndex());
  }
  return to;
}

int RecordRow(const std::vector<TListRecord*>& rows, std::vector<int>& rowOfSerial, bool& valid,
              const TListRecord* record) {
  if (!record || record->Serial() == TListRecord::kNoSerial) return -1;
  if (!valid) {
    uint32_t limit = 0;
    for (const TListRecord* r : rows) limit = std::max(limit, r->Serial() + 1);
    rowOfSerial.assign(limit, -1);
    for (size_t row = 0; row < rows.size(); ++row)
      rowOfSerial[rows[row]->Serial()] = static_cast<int>(row);
    valid = true;
  }
  const uint32_t serial = record->Serial();
  if (serial >= rowOfSerial.size()) return -1;
  const int row = rowOfSerial[serial];
  return row >= 0 && rows[row] == record ? row : -1;
}

// ---------------------------------------------------------------------------
// TRecordListModel

TRecordListModel::TRecordListModel(QObject* parent)
    : TRecordRowsModel<QAbstractTableModel>(parent) {
  SetImages(RecImageIcon(kRecordImage), RecImageIcon(kSortAscendingImage),
            RecImageIcon(kSortDescendingImage));
}

TRecordListModel::~TRecordListModel() { Detach(); }

void TRecordListModel::Detach() {
  if (document_) document_->Unsubscribe(listenerKey_);
  document_ = nullptr;
  listenerKey_ = -1;
}

void TRecordListModel::SetDocument(TListDBData* document) {
  beginResetModel();
  Detach();
  document_ = document;
  rows_.clear();
  if (document_) {
    listenerKey_ = document_->Subscribe([this](const TListDBChange& c) { OnChange(c); });
    rows_.reserve(static_cast<size_t>(document_->RecordCount()));
    for (int i = 0; i < document_->RecordCount(); ++i) rows_.push_back(document_->GetRecord(i));
  }
  rowOfSerialValid_ = false;
  endResetModel();
}

void TRecordListModel::OnChange(const TListDBChange& change) {
  switch (change.kind) {
    case TListDBChange::RecordAdded: {
      const int row = static_cast<int>(rows_.size());
      beginInsertRows({}, row, row);
      rows_.push_back(const_cast<TListRecord*>(change.record));
      if (rowOfSerialValid_) {
        const uint32_t serial = change.record->Serial();
        if (rowOfSerial_.size() <= serial) rowOfSerial_.resize(serial + 1, -1);
        rowOfSerial_[serial] = row;
      }
      endInsertRows();
      break;
    }
    case TListDBChange::RecordChanged: {
      const int row = RowOf(change.record);
      if (row < 0) break;
      const int first = change.allValues ? 0 : static_cast<int>(change.value);
      const int last = change.allValues ? kRecordColumnCount - 1 : first;
      emit dataChanged(index(row, first), index(row, last));
      break;
    }
    case TListDBChange::RecordsRemoved:
      RemoveRecordRows({change.removed.begin(), change.removed.end()});
      break;
    case TListDBChange::Categories:
      if (!rows_.empty())
        emit dataChanged(index(0, kCategoryColumn), index(rowCount() - 1, kCategoryColumn));
      break;
    case TListDBChange::Names:
      break;
    case TListDBChange::Reset:
      SetDocument(document_);
      break;
    case TListDBChange::Destroyed:
      SetDocument(nullptr);
      break;
  }
}

TListRecord* TRecordListModel::RecordAt(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[row] : nullptr;
}

int TRecordListModel::RowOf(const TListRecord* record) const {
  return record && record->Owner() == document_ ? RowOfRecord(record) : -1;
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
      return RecordCellText(rows_[index.row()], index.column());
    case Qt::DecorationRole:
      if (index.column() == kField1Column) return recordIcon_;
      return {};
    case kSortKeyRole:
      return RecordSortText(rows_[index.row()], index.column());
    case kRecordRole:
      return QVariant::fromValue(reinterpret_cast<quintptr>(rows_[index.row()]));
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
