// The category table shown in list and combo boxes: each entry's name as the
// item's text and its id in the item data, in table order.
#pragma once

#include <QList>
#include <QString>
#include <Qt>
#include <cstdint>

class QComboBox;
class QListWidget;
class TListDBCategories;

// Item data roles of category items: the entry's id, and (in the main
// window's filter) the marker object of a pseudo-entry.
inline constexpr int kCategoryIdRole = Qt::UserRole;
inline constexpr int kCategoryMarkerRole = Qt::UserRole + 1;

struct TCategoryItem {
  QString text;  // NameOf the id, so an entry without a name shows "Unfiled"
  int32_t id;
};

// The table's entries in table order ("Unfiled" first).
QList<TCategoryItem> CategoryItems(const TListDBCategories& table);
// Appends the entries to the box or list, each carrying its id.
void AddCategoryItems(QComboBox* box, const TListDBCategories& table);
void AddCategoryItems(QListWidget* list, const TListDBCategories& table);
