// Column fitting of report lists.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>

#include "components/RecordsListView.h"
#include "components/prgutil.h"

namespace {

std::vector<int> Widths(const QTreeView& list) {
  std::vector<int> widths;
  for (int i = 0; i < list.header()->count(); ++i) widths.push_back(list.header()->sectionSize(i));
  return widths;
}

int ScrollBarExtent(const QWidget& w) {
  return w.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &w);
}

TEST(FitListViewColumns, ScalesBySumPlusOne) {
  TRecordsListView list;
  list.resize(570 + ScrollBarExtent(list), 200);
  FitListViewColumns(&list);  // not shown: nothing happens
  EXPECT_EQ(Widths(list), std::vector<int>({100, 100, 131, 60}));

  list.show();
  QApplication::processEvents();
  ASSERT_EQ(list.width(), 570 + ScrollBarExtent(list));
  FitListViewColumns(&list);
  EXPECT_EQ(Widths(list), std::vector<int>({145, 145, 190, 87}));

  // Shrinking: truncation toward zero, and the minimum width still holds.
  list.resize(200 + ScrollBarExtent(list), 200);
  FitListViewColumns(&list);
  EXPECT_EQ(Widths(list), std::vector<int>({51, 51, 66, 50}));
  FitListViewColumns(nullptr);
}

TEST(FitListViewColumns, ListWithBorderLosesFourOnTheLast) {
  QStandardItemModel model(0, 2);
  QTreeView list;
  list.setModel(&model);
  list.header()->setStretchLastSection(false);
  list.header()->setMinimumSectionSize(1);
  list.header()->resizeSection(0, 100);
  list.header()->resizeSection(1, 99);
  ASSERT_GT(list.frameWidth(), 0);
  list.resize(400 + ScrollBarExtent(list), 100);
  list.show();
  QApplication::processEvents();
  FitListViewColumns(&list);
  // 100 * 400 / 200 = 200; 99 * 400 / 200 = 198, less 4.
  EXPECT_EQ(Widths(list), std::vector<int>({200, 194}));

  // Narrower than a scroll bar: no negative widths.
  list.resize(ScrollBarExtent(list) / 2, 100);
  FitListViewColumns(&list);
  for (int w : Widths(list)) EXPECT_GE(w, 0);
}

}  // namespace
