// The record list's "Sort by" menu: one entry per column, the column the rows
// are sorted by checked with its direction, and an entry that fits the
// columns to the list's width. Each entry does exactly what a click, or a
// Ctrl+click, on that column's header does, so that the keyboard reaches
// both through the list's context menu (the Menu key opens it).
#pragma once

#include <QMenu>
#include <QPointer>

class TRecordsListView;

class TSortByMenu : public QMenu {
  Q_OBJECT
 public:
  TSortByMenu(TRecordsListView* view, QWidget* parent = nullptr);

  // Brings the entries up to the list's captions and header marks; runs each
  // time the menu opens.
  void Rebuild();

 private:
  QPointer<TRecordsListView> view_;
};
