#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/ActionList.h"

TEST(ActionList, UpdateAllRunsEveryHandler) {
  TActionList list;
  QAction a, b;
  int na = 0, nb = 0;
  list.AddUpdate(&a, [&] { ++na; });
  list.AddUpdate(&b, [&] { ++nb; });
  list.UpdateAll();
  EXPECT_EQ(na, 1);
  EXPECT_EQ(nb, 1);
}

TEST(ActionList, InputEventsCoalesceIntoOneIdlePass) {
  TActionList list;
  QAction a;
  int runs = 0;
  list.AddUpdate(&a, [&] { ++runs; });
  QWidget w;
  for (int i = 0; i < 5; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&w, &press);
  }
  EXPECT_EQ(runs, 0);  // nothing runs before the loop is idle
  EXPECT_TRUE(list.UpdatePending());
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 1);  // no input, no further pass
  EXPECT_FALSE(list.UpdatePending());

  // Events that are not input leave it idle.
  QEvent paint(QEvent::UpdateRequest);
  QCoreApplication::sendEvent(&w, &paint);
  EXPECT_FALSE(list.UpdatePending());
  list.ScheduleUpdate();
  list.ScheduleUpdate();
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 2);
}

TEST(ActionList, DestroyedActionIsSkipped) {
  TActionList list;
  int runs = 0;
  auto* a = new QAction;
  list.AddUpdate(a, [&] { ++runs; });
  delete a;
  list.UpdateAll();
  EXPECT_EQ(runs, 0);
}

TEST(ActionList, ExecuteActionUpdatesThenTriggersWhenEnabled) {
  TActionList list;
  QAction a, other;
  bool allow = false;
  int triggered = 0, otherUpdates = 0;
  QObject::connect(&a, &QAction::triggered, [&] { ++triggered; });
  list.AddUpdate(&a, [&] { a.setEnabled(allow); });
  list.AddUpdate(&other, [&] { ++otherUpdates; });
  EXPECT_FALSE(ExecuteAction(list, &a));
  EXPECT_EQ(triggered, 0);
  allow = true;
  EXPECT_TRUE(ExecuteAction(list, &a));
  EXPECT_EQ(triggered, 1);
  EXPECT_EQ(otherUpdates, 0);  // only the action's own handler

  // An action without a handler of its own: every handler runs first.
  QAction loose;
  EXPECT_TRUE(ExecuteAction(list, &loose));
  EXPECT_EQ(otherUpdates, 1);
  EXPECT_FALSE(ExecuteAction(list, nullptr));
}
