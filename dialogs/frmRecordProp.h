// The record dialog: a record's category, field values and note, with live
// character counters; OK stays disabled until both field values hold more
// than blanks.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/abstract_form.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class TAnsiMemo;
class TLimitedEdit;
class TListDBData;
class TListRecord;

class TRecPropDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TRecPropDialog(QWidget* owner);

  // Field labels from the two names; the category box from the table, in
  // table order ("Unfiled" first), each entry carrying its id.
  void SetupDialog(const std::string& field1Name, const std::string& field2Name,
                   const TListDBData& data);
  // Shows the record's values (not cut to the typing limits) and category.
  void LoadRecord(const TListRecord& record);
  // Writes the values as they stand and the selected category. Raises
  // EListDBError for the first value the record refuses, leaving it unchanged.
  void StoreRecord(TListRecord& record);
  // Selects the first entry after position 0 that carries id, else position 0.
  void SelectCategoryItem(int32_t id);

  int32_t Category() const { return FCategory; }

  // Handlers.
  void FormShow() override;
  void Field2ValueEditChange();
  void CategoryComboboxChange();
  // Returns true when the key was consumed.
  bool NoteMemoKeyDown(QKeyEvent* event);

  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QLabel* Label1;
  TAnsiMemo* NoteMemo;
  QLabel* Label2;
  QComboBox* CategoryCombobox;
  TLimitedEdit* Field1ValueEdit;
  TLimitedEdit* Field2ValueEdit;
  QLabel* F1Label;
  QLabel* F2Label;
  QLabel* F1SizeLabel;
  QLabel* F2SizeLabel;
  QLabel* NotesSizeLabel;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Places the controls for the dialog's font and the field names.
  void Arrange();

  int32_t FCategory = -1;
};
