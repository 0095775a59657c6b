// The table model of every record of one document, in the document's order.
// A row is its record (not owned); the texts are made from the record's bytes
// when a row is painted, so the model holds no copy of them. The model follows
// the document's changes by itself. Which records the list shows, and in what
// order, is the business of the shown-records model above it.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

class TListDBData;
class TListRecord;
struct TListDBChange;

// The columns of the record list.
enum TRecordColumn : int {
  kField1Column = 0,
  kField2Column,
  kNotesColumn,
  kCategoryColumn,
  kRecordColumnCount
};

// Roles beyond Qt's own.
enum TRecordRole : int {
  kSortKeyRole = Qt::UserRole + 1,  // the text a cell sorts by (QString)
  kRecordRole,                      // the row's TListRecord* (as quintptr)
};

// The text a record shows in a column: Field1, Field2, Notes with every CR LF
// as one blank, CategoryName.
QString RecordCellText(const TListRecord* record, int column);
// The text a column sorts a record by: the shown text, trimmed.
QString RecordSortText(const TListRecord* record, int column);

// Removing many rows of a model whose rows are a vector: up to this many runs
// of neighbouring rows are removed one run at a time (one removal each for the
// views); more, scattered, go in one pass with one layout change, since
// removing thousands of runs one by one would move the rows below each.
inline constexpr size_t kRunByRunLimit = 16;
// Runs [first, last] of the rows (ascending, no repeats), first to last.
std::vector<std::pair<int, int>> RowRuns(const std::vector<int>& rows);
// Where persistent indexes go once the rows moved: newRow gives each old row's
// new row, -1 for a row that is gone (its indexes become invalid).
QModelIndexList MovedIndexes(const QAbstractItemModel& model, const QModelIndexList& from,
                             const std::vector<int>& newRow);
// Keeps the rows that are not doomed (ascending, no repeats), in their order;
// returns the new row of each old one, -1 for the removed.
template <class Row>
std::vector<int> KeepRows(std::vector<Row>& rows, const std::vector<int>& doomed) {
  const int count = static_cast<int>(rows.size());
  std::vector<int> newRow(static_cast<size_t>(count), -1);
  size_t next = 0;
  int out = 0;
  for (int in = 0; in < count; ++in) {
    if (next < doomed.size() && doomed[next] == in) {
      ++next;
      continue;
    }
    newRow[in] = out;
    if (out != in) rows[out] = std::move(rows[in]);
    ++out;
  }
  rows.resize(static_cast<size_t>(out));
  return newRow;
}

// The row of rows that holds record, -1 when none does; rowOfSerial keeps
// each record's row by its serial number, rebuilt while valid is false.
int RecordRow(const std::vector<TListRecord*>& rows, std::vector<int>& rowOfSerial, bool& valid,
              const TListRecord* record);

// A model whose rows are records held in a vector: finding a record's row and
// removing rows, for the model of all records and the shown records alike.
template <class Base>
class TRecordRowsModel : public Base {
 public:
  using Base::Base;

 protected:
  int RowOfRecord(const TListRecord* record) const {
    return RecordRow(rows_, rowOfSerial_, rowOfSerialValid_, record);
  }
  // Removes rows (ascending, all valid) and tells the views.
  void RemoveRecordRows(const std::vector<int>& rows) {
    if (rows.empty()) return;
    rowOfSerialValid_ = false;
    const std::vector<std::pair<int, int>> runs = RowRuns(rows);
    if (runs.size() <= kRunByRunLimit) {
      // The last run first, so the runs still to go keep their positions.
      for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        this->beginRemoveRows({}, it->first, it->second);
        rows_.erase(rows_.begin() + it->first, rows_.begin() + it->second + 1);
        this->endRemoveRows();
      }
      return;
    }
    emit this->layoutAboutToBeChanged();
    const std::vector<int> newRow = KeepRows(rows_, rows);
    const QModelIndexList from = this->persistentIndexList();
    this->changePersistentIndexList(from, MovedIndexes(*this, from, newRow));
    emit this->layoutChanged();
  }

  std::vector<TListRecord*> rows_;
  // The row of each record by its serial number; rebuilt when rows move or go.
  mutable std::vector<int> rowOfSerial_;
  mutable bool rowOfSerialValid_ = false;
};

class TRecordListModel : public TRecordRowsModel<QAbstractTableModel> {
  Q_OBJECT
 public:
  explicit TRecordListModel(QObject* parent = nullptr);
  ~TRecordListModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Shows the records of document (none for null) and follows its changes
  // until another document is set or this one goes away.
  void SetDocument(TListDBData* document);
  TListDBData* Document() const { return document_; }

  TListRecord* RecordAt(int row) const;        // null outside the rows
  int RowOf(const TListRecord* record) const;  // -1 when no row holds it

  void SetCaption(int column, const QString& caption);
  QString Caption(int column) const { return captions_[column]; }
  // Header mark: kSortAscendingImage, kSortDescendingImage, or -1 for none.
  void SetHeaderImage(int column, int image);
  int HeaderImage(int column) const { return headerImages_[column]; }
  // Shows the sort mark on column (ascending or descending) and none on the
  // others; a column out of range clears every mark.
  void SetSortMark(int column, bool ascending);
  void SetImages(const QIcon& record, const QIcon& ascending, const QIcon& descending);

 private:
  void OnChange(const TListDBChange& change);
  void Detach();

  TListDBData* document_ = nullptr;
  int listenerKey_ = -1;
  QString captions_[kRecordColumnCount] = {"CustomField1", "CustomField2", "Notes", "Category"};
  int headerImages_[kRecordColumnCount] = {-1, -1, -1, -1};
  QIcon recordIcon_, ascIcon_, descIcon_;
};
