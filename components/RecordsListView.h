// The report list of records: a QTreeView over a table model of our own. A row
// holds its record (not owned) and the four texts the list shows: field 1,
// field 2, the note on one line, the category name.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QTreeView>
#include <functional>
#include <vector>

class TListRecord;

struct TRecordRow {
  TListRecord* record = nullptr;
  QString texts[4];
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

  // Replaces every row at once (one model reset).
  void SetRows(std::vector<TRecordRow> rows);
  int AppendRow(TRecordRow row);
  void SetRow(int row, TRecordRow value);
  void RemoveRow(int row);
  const TRecordRow& Row(int row) const { return Filled(rows_.at(row)); }
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

  // The sort key of a row text: the text without leading and trailing
  // characters of codes 0 to 32.
  static QStringView SortKeyText(const QString& text);

 private:
  const TRecordRow& Filled(TRecordRow& row) const;

  // Mutable: a pending row gets its texts when first read.
  mutable std::vector<TRecordRow> rows_;
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
  void SelectRow(int row);  // adds the row to the selection
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
  // Without one, the hint is GetRecordHintText of the row's record.
  void SetHintProvider(std::function<QString(TListRecord*)> provider) {
    hintProvider_ = std::move(provider);
  }

  // The context menu, popped up at the pointer (not owned). Setting one makes
  // the list show it itself; without one the list's context menu policy is
  // the caller's (Qt::CustomContextMenu and its signal work as usual).
  void SetPopupMenu(QMenu* menu);
  QMenu* PopupMenu() const { return popupMenu_; }

  // The keyboard state asked when a header is clicked (tests replace it);
  // QGuiApplication::queryKeyboardModifiers by default.
  void SetKeyboardQuery(std::function<Qt::KeyboardModifiers()> query);

  // The row's rectangle across all columns, in viewport coordinates (empty for
  // a row that does not exist).
  QRect RowRect(int row) const;
  // Shows the record hint for the pointer at pos (viewport coordinates), or
  // hides it over no row or while the hints are off.
  void ShowRecordHintAt(const QPoint& pos);

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
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnSectionResized(int logical, int oldSize, int newSize);
  void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  // The panel colour as the list's background, the panel's text colour as its
  // text, the selection alike with and without the focus.
  void FollowParentLook();
  void WatchParent();
  QColor GridColor() const;
  void DrawGridLines(QPainter* painter, int top, int bottom) const;
  // Merged [first, last] intervals of the selected rows, in list order.
  std::vector<std::pair<int, int>> SelectedIntervals() const;

  TRecordListModel* model_;
  bool gridLines_ = true;
  bool showHints_ = true;
  bool clampingWidth_ = false;
  std::function<QString(TListRecord*)> hintProvider_;
  std::function<Qt::KeyboardModifiers()> keyboardQuery_;
  QPointer<QMenu> popupMenu_;
  QPointer<QWidget> watchedParent_;
};
