#include "dialogs/frmCustomizeDB.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "core/listdb.h"
#include "dialogs/DialogControls.h"

namespace {

constexpr int kClientWidth = 261;
constexpr int kClientHeight = 226;
constexpr int kEditLeft = 80;
constexpr int kLabelSpacing = 3;
constexpr int kMargin = 8;
// The list name admits one character less than the model's 32.
constexpr int kListNameLimit = kMaxDatabaseName - 1;

}  // namespace

TCustomizeDBDialog::TCustomizeDBDialog(QWidget* owner) : TAbstractDialog(owner) {
  setWindowTitle(QStringLiteral("List Properties"));
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  ListNameEdit = new TLimitedEdit(kListNameLimit, this);
  Field1Name = new TLimitedEdit(kMaxFieldName, this);
  Field2Name = new TLimitedEdit(kMaxFieldName, this);
  ListNameLabel = new QLabel(QStringLiteral("List &Name:"), this);
  Field1NameLabel = new QLabel(QStringLiteral("Field &1 Name:"), this);
  Field2NameLabel = new QLabel(QStringLiteral("Field &2 Name:"), this);
  for (QLabel* label : {ListNameLabel, Field1NameLabel, Field2NameLabel})
    label->setTextFormat(Qt::PlainText);
  ListNameLabel->setBuddy(ListNameEdit);
  Field1NameLabel->setBuddy(Field1Name);
  Field2NameLabel->setBuddy(Field2Name);

  OKBtn->setDefault(true);
  setTabOrder(ListNameEdit, Field1Name);
  setTabOrder(Field1Name, Field2Name);
  setTabOrder(Field2Name, OKBtn);
  setTabOrder(OKBtn, CancelBtn);

  for (TLimitedEdit* edit : {ListNameEdit, Field1Name, Field2Name})
    connect(edit, &QLineEdit::textChanged, this, &TCustomizeDBDialog::ListNameEditChange);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  TAbstractForm::Loaded(this);

  // Each label ends 3 pixels left of its edit. Where the font makes a label
  // wider than the room left of the edits, the edits, the buttons and the
  // dialog move right together.
  int labelWidth = 0;
  for (QLabel* label : {ListNameLabel, Field1NameLabel, Field2NameLabel}) {
    label->adjustSize();
    labelWidth = std::max(labelWidth, label->width());
  }
  const int shift = std::max(0, kMargin + labelWidth + kLabelSpacing - kEditLeft);
  const int editLeft = kEditLeft + shift;
  const int inputHeight = InputHeight(21);
  const int rowGrow = inputHeight - 21;
  TLimitedEdit* edits[3] = {ListNameEdit, Field1Name, Field2Name};
  QLabel* labels[3] = {ListNameLabel, Field1NameLabel, Field2NameLabel};
  for (int i = 0; i < 3; ++i) {
    const int top = 12 + 32 * i + rowGrow * i;
    edits[i]->setGeometry(editLeft, top, 169, inputHeight);
    labels[i]->move(editLeft - kLabelSpacing - labels[i]->width(),
                    top + (inputHeight - labels[i]->height()) / 2);
  }
  // The buttons stay right-aligned under the edits.
  const int down = 3 * rowGrow;
  const int buttonWidth = ButtonWidth(75, {OKBtn->text(), CancelBtn->text()});
  const int buttonHeight = ButtonHeight(25);
  const int right = editLeft + 169 + 1;
  CancelBtn->setGeometry(right - buttonWidth, 192 + down, buttonWidth, buttonHeight);
  OKBtn->setGeometry(right - 2 * buttonWidth - 5, 192 + down, buttonWidth, buttonHeight);
  SetClientSize(kClientWidth + shift, kClientHeight + down + buttonHeight - 25);

  ListNameEditChange();
}

std::string TCustomizeDBDialog::ListName() const { return Trim(ListNameEdit->Bytes()); }
void TCustomizeDBDialog::SetListName(const std::string& name) {
  ListNameEdit->SetBytes(Trim(name));
}
std::string TCustomizeDBDialog::Field1() const { return Trim(Field1Name->Bytes()); }
void TCustomizeDBDialog::SetField1(const std::string& name) { Field1Name->SetBytes(Trim(name)); }
std::string TCustomizeDBDialog::Field2() const { return Trim(Field2Name->Bytes()); }
void TCustomizeDBDialog::SetField2(const std::string& name) { Field2Name->SetBytes(Trim(name)); }

void TCustomizeDBDialog::ListNameEditChange() {
  const std::string field1 = Field1();
  const std::string field2 = Field2();
  OKBtn->setEnabled(!ListName().empty() && !field1.empty() && !field2.empty() && field1 != field2);
}

void TCustomizeDBDialog::FormShow() {
  ListNameEditChange();
  ListNameEdit->setFocus();
}
