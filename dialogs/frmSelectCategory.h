// The category selection dialog: picks one category of a document, "Unfiled"
// included. It opens on the caller's category, or on the first entry, with
// that entry selected and current, so OK and Enter work at once and what a
// screen reader announces is what OK returns.
#pragma once

#include <cstdint>

#include "dialogs/abstract_form.h"

class QPushButton;
class TListBox;
class TListDBData;

class TSelCategoryDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TSelCategoryDialog(QWidget* owner);

  // Lists the document's categories in table order, each carrying its id;
  // without a document the list stays empty.
  void LoadCategories(const TListDBData* data);
  // The id carried by the selected entry; false when none is selected.
  bool SelectedID(int32_t& id) const;
  // Selects the entry carrying id and makes it current; the first entry when
  // none carries it.
  void SelectCategory(int32_t id);

  // Handlers: OK is enabled exactly when an entry is selected.
  void ListBoxClick();
  void FormShow() override;

  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  TListBox* ListBox;
};

// Shows the dialog for the document (may be null), opened on the category
// index names. On OK, index := the chosen category's id and the result is
// true; otherwise index is unchanged.
bool ExecuteSelCategoryDialog(QWidget* owner, const TListDBData* data, int32_t& index);
