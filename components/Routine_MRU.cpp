#include "components/Routine_MRU.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "platform/AnsiText.h"

namespace {

void FillMenu(const QStringList& files, QMenu* menu, const QIcon& image,
              const std::function<void(QAction*)>& onClick) {
  if (!menu) return;
  ClearPopupMenu(menu);
  if (files.isEmpty()) {
    QAction* none = menu->addAction(QStringLiteral("(none)"));
    none->setEnabled(false);
    return;
  }
  const int n = std::min<int>(int(files.size()), kMRUMenuLimit);
  for (int k = 0; k < n; ++k) {
    // A path's '&' is a character, not an accelerator mark.
    QString caption = TrimView(files.at(k)).toString();
    caption.replace(u'&', QStringLiteral("&&"));
    auto* item = new QAction(image, caption, menu);
    item->setData(k);
    item->setEnabled(true);
    if (onClick)
      QObject::connect(item, &QAction::triggered, item, [onClick, item] { onClick(item); });
    menu->addAction(item);
  }
}

}  // namespace

void ClearPopupMenu(QMenu* menu) {
  if (!menu) return;
  const QList<QAction*> items = menu->actions();
  for (qsizetype i = items.size() - 1; i >= 0; --i) {
    QAction* a = items.at(i);
    menu->removeAction(a);
    // Items the menu made belong to it; an action shared with others is only
    // taken out of this menu.
    if (QMenu* sub = a->menu<QMenu*>(); sub && sub->parent() == menu)
      delete sub;
    else if (a->parent() == menu)
      delete a;
  }
}

void FillMRUPopupMenu(const QStringList& files, QMenu* menu, const QIcon& image,
                      const std::function<void(QAction*)>& onClick) {
  FillMenu(files, menu, image, onClick);
}

void FillMRUMenuItem(const QStringList& files, QMenu* item, const QIcon& image,
                     const std::function<void(QAction*)>& onClick) {
  FillMenu(files, item, image, onClick);
}
