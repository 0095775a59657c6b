#include "dialogs/frmRecordProp.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "components/AnsiMemo.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "platform/AnsiText.h"

namespace {

constexpr int kClientWidth = 392;
constexpr int kClientHeight = 373;
constexpr int kRightEdge = 381;
constexpr int kCounterWidth = 60;

QLabel* NewLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

TRecPropDialog::TRecPropDialog(QWidget* owner) : TAbstractDialog(owner) {
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  Label1 = NewLabel(this, QStringLiteral("&Note:"));
  NoteMemo = new TAnsiMemo(this);
  Label2 = NewLabel(this, QStringLiteral("&Category:"));
  CategoryCombobox = new QComboBox(this);
  Field1ValueEdit = new TLimitedEdit(kMaxFieldValue, this);
  Field2ValueEdit = new TLimitedEdit(kMaxFieldValue, this);
  F1Label = NewLabel(this, QStringLiteral(":"));
  F2Label = NewLabel(this, QStringLiteral(":"));
  F1SizeLabel = NewLabel(this, QStringLiteral("0"));
  F2SizeLabel = NewLabel(this, QStringLiteral("0"));
  NotesSizeLabel = NewLabel(this, QStringLiteral("0"));

  Label2->setBuddy(CategoryCombobox);
  F1Label->setBuddy(Field1ValueEdit);
  F2Label->setBuddy(Field2ValueEdit);
  Label1->setBuddy(NoteMemo);

  CategoryCombobox->setEditable(false);
  CategoryCombobox->setMaxVisibleItems(20);
  NoteMemo->SetMaxLength(kMaxNotes);
  OKBtn->setDefault(true);

  // FormCreate: the counters always show greyed.
  F1SizeLabel->setEnabled(false);
  F2SizeLabel->setEnabled(false);
  NotesSizeLabel->setEnabled(false);

  setTabOrder(CategoryCombobox, Field1ValueEdit);
  setTabOrder(Field1ValueEdit, Field2ValueEdit);
  setTabOrder(Field2ValueEdit, NoteMemo);
  setTabOrder(NoteMemo, OKBtn);
  setTabOrder(OKBtn, CancelBtn);

  connect(Field1ValueEdit, &QLineEdit::textChanged, this, &TRecPropDialog::Field2ValueEditChange);
  connect(Field2ValueEdit, &QLineEdit::textChanged, this, &TRecPropDialog::Field2ValueEditChange);
  connect(NoteMemo, &QPlainTextEdit::textChanged, this, &TRecPropDialog::Field2ValueEditChange);
  // Only a choice of the user's (mouse, keyboard, wheel) changes FCategory.
  connect(CategoryCombobox, &QComboBox::activated, this, &TRecPropDialog::CategoryComboboxChange);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  NoteMemo->installEventFilter(this);

  FinishLoading(kClientWidth, kClientHeight);

  PlaceLabel(Label2, 8, 8);
  CategoryCombobox->setGeometry(8, 28, 373, 21);
  PlaceLabel(F1Label, 8, 60);
  PlaceCounter(F1SizeLabel, 60);
  Field1ValueEdit->setGeometry(8, 80, 373, 21);
  PlaceLabel(F2Label, 8, 112);
  PlaceCounter(F2SizeLabel, 112);
  Field2ValueEdit->setGeometry(8, 132, 373, 21);
  PlaceLabel(Label1, 8, 164);
  PlaceCounter(NotesSizeLabel, 164);
  NoteMemo->setGeometry(8, 184, 373, 145);
  OKBtn->setGeometry(227, 340, 75, 25);
  CancelBtn->setGeometry(306, 340, 75, 25);

  Field2ValueEditChange();
}

void TRecPropDialog::PlaceCounter(QLabel* counter, int top) {
  counter->setAlignment(Qt::AlignRight | Qt::AlignTop);
  counter->setGeometry(kRightEdge - kCounterWidth, top, kCounterWidth,
                       counter->sizeHint().height());
}

void TRecPropDialog::SetupDialog(const std::string& field1Name, const std::string& field2Name,
                                 const TListDBData& data) {
  F1Label->setText(AnsiToQString(field1Name) + QLatin1Char(':'));
  F2Label->setText(AnsiToQString(field2Name) + QLatin1Char(':'));
  F1Label->adjustSize();
  F2Label->adjustSize();
  CategoryCombobox->clear();
  const TListDBCategories& categories = data.Categories();
  for (int i = 0; i < categories.Count(); ++i) {
    const int32_t id = categories.IDAt(i);
    CategoryCombobox->addItem(AnsiToQString(categories.NameOf(id)), QVariant(id));
  }
}

void TRecPropDialog::LoadRecord(const TListRecord& record) {
  Field1ValueEdit->SetBytes(record.Field1());
  Field2ValueEdit->SetBytes(record.Field2());
  NoteMemo->SetText(record.Notes());
  FCategory = record.CategoryID();
  SelectCategoryItem(FCategory);
}

void TRecPropDialog::StoreRecord(TListRecord& record) {
  record.SetField1(Field1ValueEdit->Bytes());
  record.SetField2(Field2ValueEdit->Bytes());
  record.SetNotes(NoteMemo->Text());
  if (CategoryCombobox->currentIndex() >= 0) FCategory = CategoryCombobox->currentData().toInt();
  record.SetCategoryID(FCategory);
}

void TRecPropDialog::SelectCategoryItem(int32_t id) {
  const int count = CategoryCombobox->count();
  for (int i = 1; i < count; ++i) {
    if (CategoryCombobox->itemData(i).toInt() == id) {
      CategoryCombobox->setCurrentIndex(i);
      return;
    }
  }
  CategoryCombobox->setCurrentIndex(count > 0 ? 0 : -1);
}

void TRecPropDialog::FormShow() {
  Field2ValueEditChange();
  SelectCategoryItem(FCategory);
  Field1ValueEdit->setFocus();
}

void TRecPropDialog::Field2ValueEditChange() {
  OKBtn->setEnabled(!Trim(Field1ValueEdit->Bytes()).empty() &&
                    !Trim(Field2ValueEdit->Bytes()).empty());
  F1SizeLabel->setText(QString::number(Field1ValueEdit->text().size()));
  F2SizeLabel->setText(QString::number(Field2ValueEdit->text().size()));
  NotesSizeLabel->setText(QString::number(NoteMemo->TextLength()));
}

void TRecPropDialog::CategoryComboboxChange() {
  if (CategoryCombobox->currentIndex() >= 0) FCategory = CategoryCombobox->currentData().toInt();
}

bool TRecPropDialog::NoteMemoKeyDown(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || !(event->modifiers() & Qt::ControlModifier)) return false;
  if (OKBtn->isEnabled()) OKBtn->click();
  return true;
}

bool TRecPropDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == NoteMemo && event->type() == QEvent::KeyPress)
    return NoteMemoKeyDown(static_cast<QKeyEvent*>(event));
  return TAbstractDialog::eventFilter(watched, event);
}
