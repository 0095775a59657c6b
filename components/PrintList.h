// The hidden report list that Print fills and the list view printer prints:
// one row per record with field 1, field 2, the whole note (its lines kept)
// and the category name, under the record list's column captions.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <QTreeView>
#include <array>
#include <memory>
#include <vector>

class TListRecord;

// Rows of four texts and one image for every row. The texts are made from
// the records when asked for, so a list of any size is shown at once and
// holds no copy of its texts; the records must stay unchanged meanwhile.
class TPrintListModel : public QAbstractTableModel {
 public:
  TPrintListModel(const QStringList& captions, std::vector<TListRecord*> records,
                  QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList captions_;
  std::vector<TListRecord*> records_;
  QIcon image_;
};

// A hidden list with grid lines and the record images, parented to parent
// (which owns it), its rows the records in the order given.
std::unique_ptr<QTreeView> MakePrintList(QWidget* parent, const QStringList& captions,
                                         const std::vector<TListRecord*>& records);
