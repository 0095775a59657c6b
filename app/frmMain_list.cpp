// The main window's record list and category filter: filling both, the filter
// test, header clicks, double-click and the hidden category keys.
#include <QAction>
#include <QComboBox>
#include <QVariant>

#include "app/frmMain.h"
#include "components/CategoryItems.h"
#include "components/RecordsListView.h"
#include "components/prgutil.h"
#include "core/ListExport.h"
#include "platform/ActionList.h"
#include "platform/AnsiText.h"
#include "platform/Prompts.h"

const void* TMainListDBForm::MarkerAt(int index) const {
  if (index < 0 || index >= CategoriesComboBox->count()) return nullptr;
  const QVariant v = CategoriesComboBox->itemData(index, kCategoryMarkerRole);
  return v.isValid() ? reinterpret_cast<const void*>(v.value<quintptr>()) : nullptr;
}

int TMainListDBForm::SelectedCategoryId() const {
  return CategoriesComboBox->currentData(kCategoryIdRole).toInt();
}

bool TMainListDBForm::AllCategorySelected() const {
  const int index = CategoriesComboBox->currentIndex();
  return index < 0 || MarkerAt(index) == &allCategory_;
}

void TMainListDBForm::FillCategoriesComboBox() {
  CategoriesComboBox->clear();
  CategoriesComboBox->addItem("All");
  CategoriesComboBox->setItemData(0, QVariant::fromValue(reinterpret_cast<quintptr>(&allCategory_)),
                                  kCategoryMarkerRole);
  if (document_) {
    AddCategoryItems(CategoriesComboBox, document_->Categories());
  }
  CategoriesComboBox->setCurrentIndex(0);
  CategoriesComboBox->setMaxVisibleItems(16);
}

bool TMainListDBForm::RecordMatchesCategory(const TListRecord* record) const {
  const int index = CategoriesComboBox->currentIndex();
  if (index < 0) return true;
  const void* marker = MarkerAt(index);
  if (marker == &allCategory_) return true;
  if (marker == &unfiledCategory_) return record->CategoryID() == -1;
  // The table's first entry, "Unfiled", also lists every record that shows
  // "Unfiled" because its id names no entry.
  const int32_t id = SelectedCategoryId();
  return document_ ? RecordInCategory(*document_, *record, id) : record->CategoryID() == id;
}

void TMainListDBForm::FillRecordsListView() {
  const int firstSelected = RecordsListView->FirstSelectedRow();
  RefillRecordsListView(firstSelected >= 0 ? RecordsListView->RecordAt(firstSelected) : nullptr);
}

void TMainListDBForm::RefillRecordsListView(const TListRecord* remembered) {
  // The shown records follow the filter: the category picked at the time.
  RecordsListView->Shown()->SetFilter(
      [this](const TListRecord* record) { return RecordMatchesCategory(record); });
  RecordsListView->SelectAndShowRow(RecordsListView->Shown()->FindRecord(remembered));
  RecordsListView->ClearCurrentUnlessSelected();
  UpdateStatus();
  RecordsListView->Model()->SetSortMark(-1, true);
}

void TMainListDBForm::CategoriesComboBoxChange() {
  if (document_) FillRecordsListView();
}

void TMainListDBForm::SetHeaderMarks() {
  RecordsListView->Model()->SetSortMark(SortColumn(), SortAscending());
}

void TMainListDBForm::RecordsListViewColumnClick(int column, bool ctrl) {
  if (ctrl) {
    FitListViewColumns(RecordsListView);
    return;
  }
  const bool ascending = column == SortColumn() ? !SortAscending() : true;
  SetSortState(column, ascending);
  RecordsListView->SortRows(column, ascending);
  const int first = RecordsListView->FirstSelectedRow();
  if (first >= 0) RecordsListView->ScrollRowIntoView(first);
  SetHeaderMarks();
}

void TMainListDBForm::RecordsListViewDblClick() {
  if (!ExecuteAction(*ActionList, EditRecordAction)) Prompts().Beep();
}

void TMainListDBForm::GotoPrevCategoryExecute(QAction* sender) {
  const int count = CategoriesComboBox->count();
  if (count == 0) return;
  int i = 0;
  switch (sender ? sender->data().toInt() : 0) {
    case 1:
      i = CategoriesComboBox->currentIndex() - 1;
      if (i < 0) i = count - 1;
      break;
    case 2:
      i = CategoriesComboBox->currentIndex() + 1;
      if (i >= count) i = 0;
      break;
    default:
      i = 0;
      break;
  }
  CategoriesComboBox->setCurrentIndex(i);
  CategoriesComboBoxChange();
}

void TMainListDBForm::GotoPrevCategoryUpdate() {
  for (QAction* a : {GotoAllCategory, GotoPrevCategory, GotoNextCategory})
    a->setEnabled(document_ != nullptr);
}
