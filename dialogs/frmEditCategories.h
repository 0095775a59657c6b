// The categories dialog: adds, renames and deletes the user's categories of a
// document. Every change goes to the category table at once; the dialog
// reports OK when it closes after at least one change, Cancel otherwise.
#pragma once

#include <cstdint>

#include "dialogs/abstract_form.h"

class QAction;
class QLabel;
class QListWidgetItem;
class QPushButton;
class TActionList;
class TListBox;
class TListDBData;

class TCategoriesListDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TCategoriesListDialog(QWidget* owner);

  // Lists every category of the document but "Unfiled" (id 0), sorted by
  // name ignoring letter case; the document is not owned.
  void LoadCategories(TListDBData& data);

  bool Modified() const { return FModified; }

  // Handlers. The execute handlers let the model's refusals through; the
  // actions run them guarded, so a refusal shows in the error box and the
  // dialog stays open with its list as it was.
  void NewCategoryActionExecute();
  void NewCategoryActionUpdate();
  void RenameCategoryActionExecute();
  void RenameCategoryActionUpdate();
  void DeleteCategoryActionExecute();
  void DeleteCategoryActionUpdate();
  void CloseActionExecute();
  void CloseActionUpdate();
  void ListBoxDblClick();
  void FormShow() override;

  // Every way of closing the dialog (Esc, the window's close command) acts as
  // the close button, so changes made are always reported.
  void reject() override;

  QPushButton* OKBtn;
  TListBox* ListBox;
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
  TActionList* ActionList1;
  QAction* NewCategoryAction;
  QAction* RenameCategoryAction;
  QAction* DeleteCategoryAction;
  QAction* CloseAction;
  QLabel* IDLabel;

 private:
  // Inserts an entry at its place in the case-insensitive order.
  QListWidgetItem* InsertSorted(const QString& text, int32_t id);
  QListWidgetItem* SelectedItem() const;

  TListDBData* FData = nullptr;
  bool FModified = false;
};
