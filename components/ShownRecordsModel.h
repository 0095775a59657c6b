// The records the list shows, in the order shown: a proxy over the model of
// all records of a document that lets in the records of a filter (the
// category the window picked) and sorts them by a column. Printing, finding,
// copying and exporting read the shown records from here.
#pragma once

#include <QAbstractProxyModel>
#include <functional>
#include <memory>
#include <vector>

#include "components/RecordListModel.h"

class TAnsiCollation;

class TShownRecordsModel : public TRecordRowsModel<QAbstractProxyModel> {
  Q_OBJECT
 public:
  using TFilter = std::function<bool(const TListRecord*)>;

  explicit TShownRecordsModel(TRecordListModel* source, QObject* parent = nullptr);
  ~TShownRecordsModel() override;

  TRecordListModel* Source() const { return source_; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
  QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The records shown, in the order shown.
  std::vector<TListRecord*> ShownRecords() const { return rows_; }
  int ShownCount() const { return static_cast<int>(rows_.size()); }
  TListRecord* ShownRecord(int row) const;          // null for a row that does not exist
  int FindRecord(const TListRecord* record) const;  // -1 when no row holds it
  QString Text(int row, int column) const;          // empty outside the rows

  // Sets the test a record must pass to be shown (null: every record) and
  // shows the records that pass in the document's order, unsorted (one reset).
  // Records added or changed later are tested as they come: one that passes
  // is shown at the end, one that no longer passes leaves.
  void SetFilter(TFilter filter);
  // Shows the records that pass anew, in the document's order, unsorted.
  void Refilter();

  // Sorts the rows by the trimmed texts of column with the user locale's
  // case-sensitive collation; rows whose texts collate equal keep their order.
  // The document's order is not touched; persistent indexes move with their
  // rows. A column out of range changes nothing.
  void SortRows(int column, bool ascending);
  // The sort the rows were last given: the column, -1 for the document's order
  // (no sort since the last filter), and the direction.
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }
  // Puts any records of the document in the order the current sort gives
  // them (stable); unsorted, in the document's order.
  void OrderRecords(std::vector<TListRecord*>& records);

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
  // The order (a permutation of records' positions) that sorts records.
  std::vector<int> SortOrder(const std::vector<TListRecord*>& records, int column, bool ascending);

  bool Passes(const TListRecord* record) const { return !filter_ || filter_(record); }
  void AppendShown(const std::vector<TListRecord*>& records);
  void OnSourceRowsInserted(int first, int last);
  void OnSourceRowsAboutToBeRemoved(int first, int last);
  void OnSourceLayoutChanged();
  void OnSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

  TRecordListModel* source_;
  TFilter filter_;
  int sortColumn_ = -1;
  bool sortAscending_ = true;
  TColumnRanks ranks_[kRecordColumnCount];
  std::unique_ptr<TAnsiCollation> collation_;
};
