#include "components/PrintList.h"

#include "components/RecImages.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"

TPrintListModel::TPrintListModel(const QStringList& captions, std::vector<Row> rows,
                                 QObject* parent)
    : QAbstractTableModel(parent),
      captions_(captions),
      rows_(std::move(rows)),
      image_(RecImageIcon(kRecordImage)) {}

int TPrintListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TPrintListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 4;
}

QVariant TPrintListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= 4) return {};
  if (role == Qt::DisplayRole) return rows_[static_cast<size_t>(index.row())][index.column()];
  if (role == Qt::DecorationRole && index.column() == 0) return image_;
  return {};
}

QVariant TPrintListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < captions_.size())
    return captions_[section];
  return {};
}

namespace {
std::string UniformLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}
}  // namespace

TPrintListModel::Row RecordPrintRow(const TListRecord& record) {
  return {AnsiToQString(record.Field1()), AnsiToQString(record.Field2()),
          AnsiToQString(UniformLineBreaks(record.Notes())), AnsiToQString(record.CategoryName())};
}

std::unique_ptr<QTreeView> MakePrintList(QWidget* parent, const QStringList& captions,
                                         const std::vector<TListRecord*>& records) {
  std::vector<TPrintListModel::Row> rows;
  rows.reserve(records.size());
  for (const TListRecord* record : records) rows.push_back(RecordPrintRow(*record));
  auto list = std::make_unique<QTreeView>(parent);
  list->setVisible(false);
  list->setRootIsDecorated(false);
  list->setProperty("gridLines", true);
  list->setIconSize(QSize(kRecImageSize, kRecImageSize));
  list->setModel(new TPrintListModel(captions, std::move(rows), list.get()));
  return list;
}
