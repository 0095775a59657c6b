// Commands as QActions with an update handler each. The list runs every update
// handler when the event loop becomes idle after input (coalesced through a
// zero-time single-shot timer), and on demand.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

class QAction;

class TActionList : public QObject {
  Q_OBJECT
 public:
  explicit TActionList(QObject* parent = nullptr);
  ~TActionList() override;

  // Registers an update handler for an action (the action is not owned).
  void AddUpdate(QAction* action, std::function<void()> update);
  // Runs every update handler now.
  void UpdateAll();
  // Asks for an update pass once the event loop is idle.
  void ScheduleUpdate();
  // Whether an update pass is waiting for the event loop.
  bool UpdatePending() const { return idleTimer_.isActive(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Item {
    QPointer<QAction> action;
    std::function<void()> update;
  };
  friend bool ExecuteAction(TActionList& list, QAction* action);
  std::vector<Item> items_;
  QTimer idleTimer_;
};

// Runs action's update handler in the list, then triggers it when enabled.
// Returns whether it ran.
bool ExecuteAction(TActionList& list, QAction* action);
