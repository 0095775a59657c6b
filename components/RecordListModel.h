// The table model of the record list. A row is its record (not owned); the
// texts are made from the record's bytes when a row is painted, so the model
// holds no copy of them. The rows are the records the list shows, in the order
// shown: whoever fills the model chooses them (the category filter), and
// sorting reorders them without touching the document.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class TAnsiCollation;
class TListDBData;
class TListRecord;

// The columns of the record list.
enum TRecordColumn : int {
  kField1Column = 0,
  kField2Column,
  kNotesColumn,
  kCategoryColumn,
  kRecordColumnCount
};

// The text a record shows in a column: Field1, Field2, Notes with every CR LF
// as one blank, CategoryName.
QString RecordCellText(const TListRecord* record, int column);

class TRecordListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TRecordListModel(QObject* parent = nullptr);
  ~TRecordListModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The records in the order the list shows them: only those the filter let
  // in, sorted as the user sorted them.
  int ShownCount() const { return static_cast<int>(rows_.size()); }
  // The record of the shown row, or null for a row that does not exist.
  TListRecord* ShownRecord(int row) const;

  // Replaces every row at once (one model reset); null records are left out.
  void SetRows(std::vector<TListRecord*> records);
  int AppendRow(TListRecord* record);  // -1 for a null record
  // Shows the row's record anew after it changed, or another record in it.
  void SetRow(int row, TListRecord* record);
  void RemoveRow(int row);
  QString Text(int row, int column) const;          // empty outside the rows
  int FindRecord(const TListRecord* record) const;  // -1 when no row holds it

  // Deletes the records of the given rows from the document and removes their
  // rows; rows out of range are ignored. The other rows keep their order and
  // the persistent indexes (selection, current row) stay on their records.
  void DeleteRecords(TListDBData& document, std::vector<int> rows);

  void SetCaption(int column, const QString& caption);
  QString Caption(int column) const { return captions_[column]; }
  // Header mark: kSortAscendingImage, kSortDescendingImage, or -1 for none.
  void SetHeaderImage(int column, int image);
  int HeaderImage(int column) const { return headerImages_[column]; }
  // Shows the sort mark on column (ascending or descending) and none on the
  // others; a column out of range clears every mark.
  void SetSortMark(int column, bool ascending);
  void SetImages(const QIcon& record, const QIcon& ascending, const QIcon& descending);

  // Sorts the rows by the trimmed texts of column with the user locale's
  // case-sensitive collation; rows whose texts collate equal keep their order.
  // The records' order in the document is not touched. Persistent indexes
  // move with their rows.
  void SortRows(int column, bool ascending);

 private:
  // The place of every record of a document in one column's order, by the
  // record's serial number; kept until a value of that column changes in the
  // document (its revision) or the locale changes.
  struct TColumnRanks {
    const TListDBData* document = nullptr;
    uint64_t revision = 0;
    QString locale;
    std::vector<uint32_t> bySerial;
  };
  const TAnsiCollation& Collation();
  // The rank of each record's text in column among the records given.
  std::vector<uint32_t> RankRecords(const std::vector<const TListRecord*>& records, int column);
  const std::vector<uint32_t>& ColumnRanks(const TListDBData& document, int column);

  std::vector<TListRecord*> rows_;
  TColumnRanks ranks_[kRecordColumnCount];
  std::unique_ptr<TAnsiCollation> collation_;
  QString captions_[kRecordColumnCount] = {"CustomField1", "CustomField2", "Notes", "Category"};
  int headerImages_[kRecordColumnCount] = {-1, -1, -1, -1};
  QIcon recordIcon_, ascIcon_, descIcon_;
};
