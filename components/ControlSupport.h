// Small pieces shared by the program's own controls: the notification type of
// their events and docking a control along an edge of its parent.
#pragma once

#include <functional>

class QObject;
class QWidget;

// An event that only names who fired it.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// Calls the event with sender when a handler is set.
inline void FireNotify(const TNotifyEvent& event, QObject* sender) {
  if (event) event(sender);
}

enum class TDockEdge { Top, Bottom };

// Keeps control along the given edge of its parent widget: as wide as the
// parent, at its own height, following every resize of the parent or of the
// control and moving to a new parent with it.
void DockToParent(QWidget* control, TDockEdge edge);
