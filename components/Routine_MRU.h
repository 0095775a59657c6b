// Menu items for the recent-files list, rebuilt each time before a menu opens.
// Item k shows entry k trimmed (the full path; '&' shown as such), carries k
// as its data (QAction::data().toInt()) and calls onClick with itself. At
// most 25 items; an empty list gives one disabled "(none)" item.
#pragma once

#include <QIcon>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;

constexpr int kMRUMenuLimit = 25;

// Deletes every item of the menu, from the last to the first.
void ClearPopupMenu(QMenu* menu);
void FillMRUPopupMenu(const QStringList& files, QMenu* menu, const QIcon& image,
                      const std::function<void(QAction*)>& onClick);
// The same for the sub-menu of a menu item (the QMenu behind the item).
void FillMRUMenuItem(const QStringList& files, QMenu* item, const QIcon& image,
                     const std::function<void(QAction*)>& onClick);
