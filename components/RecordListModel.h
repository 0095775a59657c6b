// The table model of the record list. A row holds its record (not owned) and
// the four texts the list shows: field 1, field 2, the note on one line, the
// category name. The rows are the records the list shows, in the order shown:
// whoever fills the model chooses them (the category filter), and sorting
// reorders them without touching the document.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <vector>

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

struct TRecordRow {
  TListRecord* record = nullptr;
  QString texts[kRecordColumnCount];
  // False for a row whose texts the model makes from its record the first
  // time they are shown, sorted or asked for.
  bool filled = true;
};

// The row texts of a record: Field1, Field2, Notes with every CR LF as one
// blank, CategoryName.
TRecordRow MakeRecordRow(TListRecord* record);
// A row of the record whose texts are made when first needed, so a rebuild of
// many rows converts only the texts the user sees. The record must not change
// before then without the row being set again (as every change to a record
// sets its row or rebuilds the list).
TRecordRow PendingRecordRow(TListRecord* record);

class TRecordListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TRecordListModel(QObject* parent = nullptr);

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

  // Replaces every row at once (one model reset).
  void SetRows(std::vector<TRecordRow> rows);
  int AppendRow(TRecordRow row);
  void SetRow(int row, TRecordRow value);
  void RemoveRow(int row);
  const TRecordRow& Row(int row) const { return Filled(rows_.at(row)); }
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
  // case-sensitive collation (keys computed once); the records' order in the
  // document is not touched. Persistent indexes move with their rows.
  void SortRows(int column, bool ascending);

 private:
  const TRecordRow& Filled(TRecordRow& row) const;

  // Mutable: a pending row gets its texts when first read.
  mutable std::vector<TRecordRow> rows_;
  QString captions_[kRecordColumnCount] = {"CustomField1", "CustomField2", "Notes", "Category"};
  int headerImages_[kRecordColumnCount] = {-1, -1, -1, -1};
  QIcon recordIcon_, ascIcon_, descIcon_;
};
