#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "components/Routine_MRU.h"

namespace {
QStringList Captions(QMenu& m) {
  QStringList out;
  for (QAction* a : m.actions()) out << a->text();
  return out;
}
}  // namespace

TEST(MRUMenu, EmptyListGivesDisabledNone) {
  QMenu menu;
  int clicks = 0;
  FillMRUPopupMenu({}, &menu, QIcon(), [&](QAction*) { ++clicks; });
  ASSERT_EQ(menu.actions().size(), 1);
  QAction* none = menu.actions().first();
  EXPECT_EQ(none->text(), "(none)");
  EXPECT_FALSE(none->isEnabled());
  none->trigger();  // disabled: nothing happens
  none->setEnabled(true);
  none->trigger();  // and no handler even when forced
  EXPECT_EQ(clicks, 0);
}

TEST(MRUMenu, AtMost25ItemsTaggedInOrder) {
  QStringList files;
  for (int i = 0; i < 30; ++i) files << QString("/data/list%1.pdb").arg(i);
  QMenu menu;
  std::vector<int> clicked;
  FillMRUMenuItem(files, &menu, QIcon(), [&](QAction* a) { clicked.push_back(a->data().toInt()); });
  const auto items = menu.actions();
  ASSERT_EQ(items.size(), 25);
  for (int k = 0; k < 25; ++k) {
    EXPECT_EQ(items[k]->data().toInt(), k);
    EXPECT_EQ(items[k]->text(), files[k]);
    EXPECT_TRUE(items[k]->isEnabled());
  }
  items[24]->trigger();
  items[3]->trigger();
  EXPECT_EQ(clicked, (std::vector<int>{24, 3}));
}

TEST(MRUMenu, CaptionsTrimmedAndAmpersandsKept) {
  const QStringList files = {"  \t/home/a b.pdb \r\n", "/tmp/Tom & Jerry.pdb"};
  QMenu menu;
  QAction* got = nullptr;
  FillMRUPopupMenu(files, &menu, QIcon(), [&](QAction* a) { got = a; });
  EXPECT_EQ(Captions(menu), QStringList({"/home/a b.pdb", "/tmp/Tom && Jerry.pdb"}));
  EXPECT_EQ(files[0], "  \t/home/a b.pdb \r\n");  // the list itself is untouched
  menu.actions()[1]->trigger();
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got->data().toInt(), 1);  // the handler gets the tag, not the caption
}

TEST(MRUMenu, RebuildingGivesTheSameItems) {
  const QStringList files = {"/a.pdb", "/b.pdb", "/c.pdb"};
  QMenu menu;
  QIcon icon(QPixmap(16, 16));
  int clicks = 0;
  auto handler = [&](QAction*) { ++clicks; };
  FillMRUPopupMenu(files, &menu, icon, handler);
  FillMRUPopupMenu(files, &menu, icon, handler);
  EXPECT_EQ(Captions(menu), QStringList({"/a.pdb", "/b.pdb", "/c.pdb"}));
  EXPECT_FALSE(menu.actions()[0]->icon().isNull());
  menu.actions()[0]->trigger();
  EXPECT_EQ(clicks, 1);  // one handler, not two
  // The old items are freed (the menu's own menuAction() is a child too).
  EXPECT_EQ(menu.findChildren<QAction*>(Qt::FindDirectChildrenOnly).size(), 3 + 1);
  FillMRUPopupMenu({}, &menu, icon, handler);
  EXPECT_EQ(Captions(menu), QStringList({"(none)"}));
  ClearPopupMenu(&menu);
  EXPECT_TRUE(menu.actions().isEmpty());
}
