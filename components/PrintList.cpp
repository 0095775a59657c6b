#include "components/PrintList.h"

#include "components/RecImages.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"
#include "platform/TextLines.h"

TPrintListModel::TPrintListModel(const QStringList& captions, std::vector<TListRecord*> records,
                                 QObject* parent)
    : QAbstractTableModel(parent),
      captions_(captions),
      records_(std::move(records)),
      image_(RecImageIcon(kRecordImage)) {}

int TPrintListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(records_.size());
}

int TPrintListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 4;
}

QVariant TPrintListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= 4) return {};
  if (role == Qt::DisplayRole) {
    const TListRecord& record = *records_[static_cast<size_t>(index.row())];
    switch (index.column()) {
      case 0:
        return AnsiToQString(record.Field1());
      case 1:
        return AnsiToQString(record.Field2());
      case 2:
        return AnsiToQString(UniformLineBreaks(record.Notes()));
      default:
        return AnsiToQString(record.CategoryName());
    }
  }
  if (role == Qt::DecorationRole && index.column() == 0) return image_;
  return {};
}

QVariant TPrintListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < captions_.size())
    return captions_[section];
  return {};
}

std::unique_ptr<QTreeView> MakePrintList(QWidget* parent, const QStringList& captions,
                                         const std::vector<TListRecord*>& records) {
  auto list = std::make_unique<QTreeView>(parent);
  list->setVisible(false);
  list->setRootIsDecorated(false);
  list->setProperty("gridLines", true);
  list->setIconSize(QSize(kRecImageSize, kRecImageSize));
  list->setModel(new TPrintListModel(captions, records, list.get()));
  return list;
}
