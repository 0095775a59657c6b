#include "dialogs/frmSelectCategory.h"

#include <QPushButton>

#include "components/Accessibility.h"
#include "components/CategoryItems.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "platform/AnsiText.h"
#include "platform/Prompts.h"

TSelCategoryDialog::TSelCategoryDialog(QWidget* owner) : TAbstractDialog(owner) {
  setWindowTitle(QStringLiteral("Category"));
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  ListBox = new TListBox(this);
  SetAccessibleLabel(ListBox, QStringLiteral("Categories"));
  OKBtn->setDefault(true);
  setTabOrder(OKBtn, CancelBtn);
  setTabOrder(CancelBtn, ListBox);
  connect(ListBox, &QListWidget::itemSelectionChanged, this, &TSelCategoryDialog::ListBoxClick);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  FinishLoading(180, 247);
  const int buttonWidth = ButtonWidth(75, {OKBtn->text(), CancelBtn->text()});
  const int buttonHeight = ButtonHeight(25);
  const int wider = 2 * (buttonWidth - 75);
  ListBox->setGeometry(12, 8, 153 + wider, 193);
  OKBtn->setGeometry(11, 212, buttonWidth, buttonHeight);
  CancelBtn->setGeometry(16 + buttonWidth, 212, buttonWidth, buttonHeight);
  SetClientSize(180 + wider, 247 + buttonHeight - 25);
  ListBoxClick();
}

void TSelCategoryDialog::LoadCategories(const TListDBData* data) {
  ListBox->clear();
  if (data) {
    AddCategoryItems(ListBox, data->Categories());
  }
  ListBox->ClearSelectionAndCurrent();
  ListBoxClick();
}

bool TSelCategoryDialog::SelectedID(int32_t& id) const {
  const QListWidgetItem* item = ListBox->SelectedItem();
  if (!item) return false;
  id = item->data(kCategoryIdRole).toInt();
  return true;
}

void TSelCategoryDialog::SelectCategory(int32_t id) {
  int row = 0;
  for (int i = 0; i < ListBox->count(); ++i)
    if (ListBox->item(i)->data(kCategoryIdRole).toInt() == id) {
      row = i;
      break;
    }
  if (row < ListBox->count()) ListBox->setCurrentRow(row);
  ListBoxClick();
}

void TSelCategoryDialog::ListBoxClick() { OKBtn->setEnabled(ListBox->SelectedItem() != nullptr); }

void TSelCategoryDialog::FormShow() {
  ListBoxClick();
  ListBox->setFocus();
}

bool ExecuteSelCategoryDialog(QWidget* owner, const TListDBData* data, int32_t& index) {
  TSelCategoryDialog dialog(owner);
  dialog.LoadCategories(data);
  dialog.SelectCategory(index);
  if (Prompts().ExecDialog(&dialog) != TModalResult::OK) return false;
  return dialog.SelectedID(index);
}
