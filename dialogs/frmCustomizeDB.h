// The list properties dialog: the list name and the names of the two fields.
// It only collects and validates them; the callers store them in the model.
#pragma once

#include <string>

#include "dialogs/abstract_form.h"

class QLabel;
class QPushButton;
class TLimitedEdit;

class TCustomizeDBDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TCustomizeDBDialog(QWidget* owner);

  // The names as bytes, trimmed when read and when written. A written name
  // longer than the typing limit is shown whole.
  std::string ListName() const;
  void SetListName(const std::string& name);
  std::string Field1() const;
  void SetField1(const std::string& name);
  std::string Field2() const;
  void SetField2(const std::string& name);

  // Handlers: OK is enabled exactly when the three trimmed names are not
  // empty and the two field names differ byte for byte.
  void ListNameEditChange();
  void FormShow() override;

  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  TLimitedEdit* ListNameEdit;
  TLimitedEdit* Field1Name;
  TLimitedEdit* Field2Name;
  QLabel* ListNameLabel;
  QLabel* Field1NameLabel;
  QLabel* Field2NameLabel;
};
