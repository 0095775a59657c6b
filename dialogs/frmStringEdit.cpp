#include "dialogs/frmStringEdit.h"

#include <QPushButton>

#include "components/Accessibility.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "platform/Prompts.h"

TStringDialog::TStringDialog(QWidget* owner) : TAbstractDialog(owner) {
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  Edit1 = new TLimitedEdit(kMaxCategoryName, this);
  SetAccessibleLabel(Edit1, QStringLiteral("Category name"));
  OKBtn->setDefault(true);
  setTabOrder(Edit1, OKBtn);
  setTabOrder(OKBtn, CancelBtn);
  connect(Edit1, &QLineEdit::textChanged, this, &TStringDialog::Edit1Change);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  FinishLoading(201, 91);
  const int inputHeight = InputHeight(21);
  const int buttonHeight = ButtonHeight(25);
  const int buttonWidth = ButtonWidth(75, {OKBtn->text(), CancelBtn->text()});
  const int wider = 2 * (buttonWidth - 75);
  const int down = inputHeight - 21;
  Edit1->setGeometry(12, 20, 173 + wider, inputHeight);
  OKBtn->setGeometry(31, 56 + down, buttonWidth, buttonHeight);
  CancelBtn->setGeometry(36 + buttonWidth, 56 + down, buttonWidth, buttonHeight);
  SetClientSize(201 + wider, 91 + down + buttonHeight - 25);
  Edit1Change();
}

void TStringDialog::Edit1Change() { OKBtn->setEnabled(!Trim(Edit1->Bytes()).empty()); }

void TStringDialog::FormShow() {
  Edit1Change();
  Edit1->setFocus();
  Edit1->selectAll();
}

bool ExecuteStringDialog(QWidget* owner, const QString& caption, std::string& text) {
  TStringDialog dialog(owner);
  dialog.setWindowTitle(caption);
  dialog.Edit1->SetBytes(text);
  if (Prompts().ExecDialog(&dialog) != TModalResult::OK) return false;
  text = Trim(dialog.Edit1->Bytes());
  return true;
}
