#include "components/CategoryItems.h"

#include <QComboBox>
#include <QListWidget>

#include "core/listdb.h"
#include "platform/AnsiText.h"

QList<TCategoryItem> CategoryItems(const TListDBCategories& table) {
  QList<TCategoryItem> items;
  items.reserve(table.Count());
  for (int i = 0; i < table.Count(); ++i) {
    const int32_t id = table.IDAt(i);
    items.append({AnsiToQString(table.NameOf(id)), id});
  }
  return items;
}

void AddCategoryItems(QComboBox* box, const TListDBCategories& table) {
  for (const TCategoryItem& item : CategoryItems(table))
    box->addItem(item.text, QVariant(item.id));  // addItem's data goes to Qt::UserRole
}

void AddCategoryItems(QListWidget* list, const TListDBCategories& table) {
  for (const TCategoryItem& item : CategoryItems(table)) {
    auto* entry = new QListWidgetItem(item.text, list);
    entry->setData(kCategoryIdRole, QVariant(item.id));
  }
}
