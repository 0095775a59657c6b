// The report list of records: a QTreeView over a table model of our own. A row
// holds its record (not owned) and the four texts the list shows: field 1,
// field 2, the note on one line, the category name.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <QTreeView>
#include <functional>
#include <vector>

class TListRecord;

struct TRecordRow {
  TListRecord* record = nullptr;
  QString texts[4];
};

// The row texts of a record: Field1, Field2, Notes with every CR LF as one
// blank, CategoryName.
TRecordRow MakeRecordRow(TListRecord* record);

class TRecordListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TRecordListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Replaces every row at once (one model reset).
  void SetRows(std::vector<TRecordRow> rows);
  int AppendRow(TRecordRow row);
  void SetRow(int row, TRecordRow value);
  void RemoveRow(int row);
  const TRecordRow& Row(int row) const { return rows_.at(row); }
  int FindRecord(const TListRecord* record) const;  // -1 when no row holds it

  void SetCaption(int column, const QString& caption);
  QString Caption(int column) const { return captions_[column]; }
  // Header mark: -1 none, 1 ascending, 2 descending.
  void SetHeaderImage(int column, int image);
  int HeaderImage(int column) const { return headerImages_[column]; }
  void SetImages(const QIcon& record, const QIcon& ascending, const QIcon& descending);

  // Sorts the rows by the trimmed texts of column with the user locale's
  // case-sensitive collation (keys computed once); the records' order in the
  // document is not touched. Selection is kept by the view.
  void SortRows(int column, bool ascending);

 private:
  std::vector<TRecordRow> rows_;
  QString captions_[4] = {"CustomField1", "CustomField2", "Notes", "Category"};
  int headerImages_[4] = {-1, -1, -1, -1};
  QIcon recordIcon_, ascIcon_, descIcon_;
};

class TRecordsListView : public QTreeView {
  Q_OBJECT
 public:
  explicit TRecordsListView(QWidget* parent = nullptr);

  TRecordListModel* Model() const { return model_; }
  int RowCount() const;
  TListRecord* RecordAt(int row) const;
  // Selected rows in list order.
  std::vector<int> SelectedRows() const;
  int SelectedCount() const;
  int FirstSelectedRow() const;  // -1 when none
  void ClearSelection();
  void SelectRow(int row);        // adds the row to the selection
  void SetFocusedRow(int row);
  void ScrollRowIntoView(int row);

  // Sorting that keeps the selected records selected.
  void SortRows(int column, bool ascending);

  void SetGridLines(bool on);
  bool GridLines() const { return gridLines_; }
  // The record hints (the per-row detail hint).
  void SetShowRecordHints(bool on) { showHints_ = on; }
  bool ShowRecordHints() const { return showHints_; }
  // Supplies the markup hint of a row's record.
  void SetHintProvider(std::function<QString(TListRecord*)> provider) { hintProvider_ = std::move(provider); }

  // Minimum widths held while the user drags a divider.
  static constexpr int kMinColumnWidth = 50;
  static constexpr int kDesignWidths[4] = {100, 100, 131, 60};

 signals:
  // A header click; ctrl tells whether the Control key was down.
  void ColumnClicked(int column, bool ctrl);
  void RowDoubleClicked();

 protected:
  bool viewportEvent(QEvent* event) override;
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TRecordListModel* model_;
  bool gridLines_ = true;
  bool showHints_ = true;
  std::function<QString(TListRecord*)> hintProvider_;
};
