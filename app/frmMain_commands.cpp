// The main window's record and category commands: New, Edit, Delete record,
// Categories, Change category and the list's Properties.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QString>
#include <algorithm>

#include "app/frmMain.h"
#include "components/RecordsListView.h"
#include "dialogs/frmCustomizeDB.h"
#include "dialogs/frmEditCategories.h"
#include "dialogs/frmRecordProp.h"
#include "dialogs/frmSelectCategory.h"
#include "platform/ErrorBox.h"
#include "platform/Prompts.h"

void TMainListDBForm::NewRecordActionUpdate() { NewRecordAction->setEnabled(document_ != nullptr); }

void TMainListDBForm::EditRecordActionUpdate() {
  EditRecordAction->setEnabled(document_ != nullptr && RecordsListView->SelectedCount() == 1);
}

void TMainListDBForm::DeleteRecordActionUpdate() {
  DeleteRecordAction->setEnabled(document_ != nullptr && RecordsListView->SelectedCount() >= 1);
}

void TMainListDBForm::EditCategoriesActionUpdate() {
  EditCategoriesAction->setEnabled(document_ != nullptr);
}

void TMainListDBForm::ChangeCategoryActionUpdate() {
  ChangeCategoryAction->setEnabled(RecordsListView->SelectedCount() >= 1);
}

void TMainListDBForm::PropertiesActionUpdate() {
  PropertiesAction->setEnabled(document_ != nullptr);
}

void TMainListDBForm::NewRecordActionExecute() {
  if (!document_) return;
  TRecPropDialog dlg(this);
  dlg.SetupDialog(document_->CustomField1(), document_->CustomField2(), *document_);
  dlg.setWindowTitle("New record");
  if (Prompts().ExecDialog(&dlg) != TModalResult::OK) return;

  // The values are taken by a record outside the list first: a refused value
  // leaves the list as it was.
  TDetachedRecord values(document_.get());
  dlg.StoreRecord(values);
  TListRecord* record = document_->AddRecord();
  *record = values;
  // The list shows the record at its end when the filter lets it in.
  RecordsListView->SelectAndShowRow(RecordsListView->Shown()->FindRecord(record), true);
  UpdateStatus();
}

void TMainListDBForm::EditRecordActionExecute() {
  if (!document_) return;
  const int row = RecordsListView->FirstSelectedRow();
  if (row < 0) return;
  TListRecord* record = RecordsListView->RecordAt(row);

  TRecPropDialog dlg(this);
  dlg.SetupDialog(document_->CustomField1(), document_->CustomField2(), *document_);
  dlg.setWindowTitle("Edit record");
  dlg.LoadRecord(*record);
  if (Prompts().ExecDialog(&dlg) != TModalResult::OK) return;

  dlg.StoreRecord(*record);
  // The row follows the record: repainted, or gone when the filter no longer
  // lets the record in.
  RecordsListView->SelectAndShowRow(RecordsListView->Shown()->FindRecord(record));
  UpdateStatus();
}

void TMainListDBForm::DeleteRecordActionExecute() {
  if (!document_) return;
  const std::vector<int> selected = RecordsListView->SelectedRows();
  if (selected.empty()) return;
  QString question;
  if (selected.size() == 1) {
    RecordsListView->ScrollRowIntoView(selected.front());
    QCoreApplication::processEvents();
    question = "Selected record will be deleted.\r\nContinue?";
  } else {
    question = QString("Selected records (%1) will be deleted.\r\nContinue?")
                   .arg(static_cast<int>(selected.size()));
  }
  if (Prompts().MessageBox(this, question, "Confirmation", TMsgIcon::Question, mbYes | mbNo) !=
      TModalResult::Yes)
    return;

  std::vector<int> positions;
  positions.reserve(selected.size());
  for (int row : selected)
    positions.push_back(RecordsListView->Model()->RowOf(RecordsListView->RecordAt(row)));
  document_->DeleteRecords(std::move(positions));
  UpdateStatus();
}

void TMainListDBForm::EditCategoriesActionExecute() {
  if (!document_) return;
  const std::vector<TListDBCategories::Entry> before = document_->Categories().Entries();
  TModalResult result;
  {
    TCategoriesListDialog dlg(this);
    dlg.LoadCategories(*document_);
    result = Prompts().ExecDialog(&dlg);
  }
  // The dialog changes the table while it is open; closed through the window's
  // close box it reports Cancel even then, so the table itself tells.
  const std::vector<TListDBCategories::Entry>& after = document_->Categories().Entries();
  const bool changed =
      after.size() != before.size() ||
      !std::equal(after.begin(), after.end(), before.begin(),
                  [](const auto& a, const auto& b) { return a.id == b.id && a.name == b.name; });
  if (result != TModalResult::OK && !changed) return;

  document_->Categories().Compact();
  FillCategoriesComboBox();
  FillRecordsListView();
}

void TMainListDBForm::ChangeCategoryActionExecute() {
  if (!document_) return;
  // The dialog opens on the category of the first selected record.
  const int first = RecordsListView->FirstSelectedRow();
  int32_t index = first >= 0 ? RecordsListView->RecordAt(first)->CategoryID() : -1;
  if (!ExecuteSelCategoryDialog(this, document_.get(), index)) return;
  std::vector<TListRecord*> records;
  for (int row : RecordsListView->SelectedRows()) records.push_back(RecordsListView->RecordAt(row));
  const TListRecord* remembered = records.empty() ? nullptr : records.front();
  // Every record shown first: records leaving the filter one by one would
  // each move the rows below them.
  CategoriesComboBox->setCurrentIndex(0);
  RecordsListView->Shown()->SetFilter(nullptr);
  for (TListRecord* record : records) record->SetCategoryID(index);
  FillCategoriesComboBox();
  RefillRecordsListView(remembered);
}

void TMainListDBForm::PropertiesActionExecute() {
  if (!document_) return;
  TCustomizeDBDialog dlg(this);
  dlg.SetListName(document_->DatabaseName());
  dlg.SetField1(document_->CustomField1());
  dlg.SetField2(document_->CustomField2());
  if (Prompts().ExecDialog(&dlg) != TModalResult::OK) return;

  document_->SetNames(dlg.ListName(), dlg.Field1(), dlg.Field2());
  FillCategoriesComboBox();
  FillRecordsListView();
  RecordsListView->setFocus();
}
