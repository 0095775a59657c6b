// The report list of records: a QTreeView over the record list model, with
// grid lines, record hints, the panel's look and a context menu of its own.
#pragma once

#include <QMenu>
#include <QPointer>
#include <QString>
#include <QTreeView>
#include <functional>
#include <vector>

#include "components/RecordListModel.h"
#include "components/ShownRecordsModel.h"

class TListDBData;
class TListRecord;

class TRecordsListView : public QTreeView {
  Q_OBJECT
 public:
  explicit TRecordsListView(QWidget* parent = nullptr);

  // Every record of the document (the captions and header marks too).
  TRecordListModel* Model() const { return model_; }
  // The records shown, filtered and sorted: the rows of the list.
  TShownRecordsModel* Shown() const { return shown_; }
  // Shows the records of document (none for null), all of them, unsorted.
  void SetDocument(TListDBData* document);
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
  // Selects the row (alone when exclusive), scrolls it into view and makes
  // it the focused row.
  void SelectAndShowRow(int row, bool exclusive = false);
  // With no row selected no row is current either, so that the row a screen
  // reader announces is always a row the commands act on.
  void ClearCurrentUnlessSelected();

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
  static constexpr int kDesignWidths[kRecordColumnCount] = {100, 100, 131, 60};

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
  // The row that becomes current as the list takes the focus with nothing
  // selected is selected with it.
  void focusInEvent(QFocusEvent* event) override;
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
  TShownRecordsModel* shown_;
  bool gridLines_ = true;
  bool showHints_ = true;
  bool clampingWidth_ = false;
  std::function<QString(TListRecord*)> hintProvider_;
  std::function<Qt::KeyboardModifiers()> keyboardQuery_;
  QPointer<QMenu> popupMenu_;
  QPointer<QWidget> watchedParent_;
};
