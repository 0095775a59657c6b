#include "platform/ActionList.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>

TActionList::TActionList(QObject* parent) : QObject(parent) {
  idleTimer_.setSingleShot(true);
  idleTimer_.setInterval(0);
  connect(&idleTimer_, &QTimer::timeout, this, &TActionList::UpdateAll);
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TActionList::~TActionList() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void TActionList::AddUpdate(QAction* action, std::function<void()> update) {
  items_.push_back({action, std::move(update)});
}

void TActionList::UpdateAll() {
  idleTimer_.stop();
  // A handler may register further actions: index, do not iterate.
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].action.isNull()) continue;  // the action is gone
    if (auto update = items_[i].update) update();
  }
}

void TActionList::ScheduleUpdate() { idleTimer_.start(); }

bool TActionList::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::Shortcut:
      ScheduleUpdate();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

bool ExecuteAction(TActionList& list, QAction* action) {
  if (!action) return false;
  std::function<void()> update;
  bool found = false;
  for (const auto& item : list.items_) {
    if (item.action == action) {
      found = true;
      update = item.update;  // a copy: the handler may add items
      break;
    }
  }
  if (!found)
    list.UpdateAll();
  else if (update)
    update();
  if (!action->isEnabled()) return false;
  action->trigger();
  return true;
}
