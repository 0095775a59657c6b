#include "dialogs/frmEditCategories.h"

#include <QAction>
#include <QCollator>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "components/Accessibility.h"
#include "components/CategoryItems.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmStringEdit.h"
#include "platform/ActionList.h"
#include "platform/AnsiText.h"
#include "platform/ErrorBox.h"
#include "platform/Prompts.h"

namespace {

// "Unfiled" is never listed, so 15 entries fill a table of 16.
constexpr int kMaxListed = 15;

}  // namespace

TCategoriesListDialog::TCategoriesListDialog(QWidget* owner) : TAbstractDialog(owner) {
  setWindowTitle(QStringLiteral("Categories"));
  OKBtn = new QPushButton(this);
  ListBox = new TListBox(this);
  SetAccessibleLabel(ListBox, QStringLiteral("Categories"));
  Button1 = new QPushButton(this);
  Button2 = new QPushButton(this);
  Button3 = new QPushButton(this);
  ActionList1 = new TActionList(this);
  NewCategoryAction = new QAction(QStringLiteral("&New"), this);
  RenameCategoryAction = new QAction(QStringLiteral("&Rename"), this);
  DeleteCategoryAction = new QAction(QStringLiteral("&Delete"), this);
  CloseAction = new QAction(QStringLiteral("&OK"), this);
  IDLabel = new QLabel(this);
  IDLabel->setTextFormat(Qt::PlainText);
  IDLabel->setAlignment(Qt::AlignCenter);
  IDLabel->setEnabled(false);

  // OKBtn is the default button (Enter); Esc reaches reject(), which acts as
  // the same button.
  OKBtn->setDefault(true);
  BindButton(OKBtn, CloseAction);
  BindButton(Button1, NewCategoryAction);
  BindButton(Button2, DeleteCategoryAction);
  BindButton(Button3, RenameCategoryAction);

  auto guarded = [this](void (TCategoriesListDialog::*execute)()) {
    return [this, execute] { RunGuarded(this, [this, execute] { (this->*execute)(); }); };
  };
  connect(NewCategoryAction, &QAction::triggered, this,
          guarded(&TCategoriesListDialog::NewCategoryActionExecute));
  connect(RenameCategoryAction, &QAction::triggered, this,
          guarded(&TCategoriesListDialog::RenameCategoryActionExecute));
  connect(DeleteCategoryAction, &QAction::triggered, this,
          guarded(&TCategoriesListDialog::DeleteCategoryActionExecute));
  connect(CloseAction, &QAction::triggered, this,
          guarded(&TCategoriesListDialog::CloseActionExecute));
  ActionList1->AddUpdate(NewCategoryAction, [this] { NewCategoryActionUpdate(); });
  ActionList1->AddUpdate(RenameCategoryAction, [this] { RenameCategoryActionUpdate(); });
  ActionList1->AddUpdate(DeleteCategoryAction, [this] { DeleteCategoryActionUpdate(); });
  ActionList1->AddUpdate(CloseAction, [this] { CloseActionUpdate(); });
  connect(ListBox, &TListBox::DoubleClicked, this, &TCategoriesListDialog::ListBoxDblClick);

  setTabOrder(OKBtn, ListBox);
  setTabOrder(ListBox, Button1);
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, Button3);

  FinishLoading(223, 230);
  // A taller font pushes the button column down and lengthens the list and
  // the dialog by as much.
  const int buttonWidth = ButtonWidth(
      75, {NewCategoryAction->text(), RenameCategoryAction->text(), DeleteCategoryAction->text(),
           QStringLiteral("&Cancel"), QStringLiteral("&Close")});
  const int wider = buttonWidth - 75;
  const int buttonHeight = ButtonHeight(25);
  const int buttonGrow = buttonHeight - 25;
  const int labelHeight = std::max(21, fontMetrics().height() + 4);
  const int down = 3 * buttonGrow + labelHeight - 21;
  Button1->setGeometry(140, 8, buttonWidth, buttonHeight);
  Button2->setGeometry(140, 40 + buttonGrow, buttonWidth, buttonHeight);
  Button3->setGeometry(140, 72 + 2 * buttonGrow, buttonWidth, buttonHeight);
  IDLabel->setGeometry(140, 104 + 3 * buttonGrow, 73 + wider, labelHeight);
  ListBox->setGeometry(8, 8, 121, 213 + down + buttonGrow);
  OKBtn->setGeometry(139, 196 + down, buttonWidth, buttonHeight);
  SetClientSize(223 + wider, 230 + down + buttonGrow);

  ActionList1->UpdateAll();
}

void TCategoriesListDialog::LoadCategories(TListDBData& data) {
  FData = &data;
  ListBox->clear();
  for (const TCategoryItem& item : CategoryItems(data.Categories())) {
    if (item.id != 0) InsertSorted(item.text, item.id);
  }
  ListBox->ClearSelectionAndCurrent();
  ActionList1->UpdateAll();
}

QListWidgetItem* TCategoriesListDialog::InsertSorted(const QString& text, int32_t id) {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  int row = 0;
  while (row < ListBox->count() && collator.compare(ListBox->item(row)->text(), text) <= 0) ++row;
  auto* item = new QListWidgetItem(text);
  item->setData(kCategoryIdRole, QVariant(id));
  ListBox->insertItem(row, item);
  return item;
}

QListWidgetItem* TCategoriesListDialog::SelectedItem() const { return ListBox->SelectedItem(); }

void TCategoriesListDialog::NewCategoryActionExecute() {
  if (!FData) return;
  std::string name;
  if (!ExecuteStringDialog(this, QStringLiteral("New category"), name)) return;
  const int32_t id = FData->Categories().Add(name);
  ListBox->setCurrentItem(InsertSorted(AnsiToQString(name), id));
  FModified = true;
  ActionList1->UpdateAll();
}

void TCategoriesListDialog::NewCategoryActionUpdate() {
  NewCategoryAction->setEnabled(ListBox->count() < kMaxListed);
}

void TCategoriesListDialog::RenameCategoryActionExecute() {
  QListWidgetItem* item = SelectedItem();
  if (!FData || !item) return;
  std::string name = QStringToAnsi(item->text());
  const int32_t id = item->data(kCategoryIdRole).toInt();
  if (!ExecuteStringDialog(this, QStringLiteral("Rename category"), name)) return;
  FData->Categories().Rename(id, name);
  // In place: the entry keeps its position, id and selection.
  item->setText(AnsiToQString(name));
  FModified = true;
  ActionList1->UpdateAll();
}

void TCategoriesListDialog::RenameCategoryActionUpdate() {
  RenameCategoryAction->setEnabled(SelectedItem() != nullptr);
}

void TCategoriesListDialog::DeleteCategoryActionExecute() {
  QListWidgetItem* item = SelectedItem();
  if (!FData || !item) return;
  FData->Categories().Delete(item->data(kCategoryIdRole).toInt());
  delete item;
  ListBox->ClearSelectionAndCurrent();
  FModified = true;
  ActionList1->UpdateAll();
}

void TCategoriesListDialog::DeleteCategoryActionUpdate() {
  QListWidgetItem* item = SelectedItem();
  DeleteCategoryAction->setEnabled(item != nullptr);
  IDLabel->setText(item ? QStringLiteral("id: %1").arg(item->data(kCategoryIdRole).toInt())
                        : QString());
}

void TCategoriesListDialog::CloseActionExecute() { done(FModified ? Accepted : Rejected); }

void TCategoriesListDialog::CloseActionUpdate() {
  CloseAction->setText(FModified ? QStringLiteral("&Close") : QStringLiteral("&Cancel"));
}

void TCategoriesListDialog::ListBoxDblClick() {
  if (!ExecuteAction(*ActionList1, RenameCategoryAction)) Prompts().Beep();
}

void TCategoriesListDialog::FormShow() { ActionList1->UpdateAll(); }

void TCategoriesListDialog::reject() { CloseActionExecute(); }
