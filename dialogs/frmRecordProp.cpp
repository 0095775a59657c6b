#include "dialogs/frmRecordProp.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "components/AnsiMemo.h"
#include "components/CategoryItems.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "platform/AnsiText.h"

namespace {

constexpr int kClientWidth = 392;
constexpr int kClientHeight = 373;
constexpr int kCounterWidth = 60;

QLabel* NewLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

// The counter shows the count, greyed, or red while it is over the limit.
void ShowCount(QLabel* counter, int count, int limit) {
  counter->setText(QString::number(count));
  const bool over = count > limit;
  if (over == counter->property("overLimit").toBool()) return;
  counter->setProperty("overLimit", over);
  if (!over) {
    counter->setPalette(QPalette());  // the dialog's own again
    return;
  }
  QPalette palette = counter->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    palette.setColor(group, QPalette::WindowText, QColor(0xC0, 0, 0));
  counter->setPalette(palette);
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
  for (QLabel* counter : {F1SizeLabel, F2SizeLabel, NotesSizeLabel})
    counter->setAlignment(Qt::AlignRight | Qt::AlignTop);
  Arrange();
  Field2ValueEditChange();
}

void TRecPropDialog::Arrange() {
  // Rows of a label over its input, the counter right-aligned above the
  // input's right edge. A font or a field name that needs more room than the
  // layout gives moves the later rows down, or widens the inputs, and grows
  // the dialog by as much.
  for (QLabel* label : {Label2, F1Label, F2Label, Label1}) label->adjustSize();
  const int counterWidth = std::max(kCounterWidth, fontMetrics().horizontalAdvance("00000"));
  const int labelWidth = std::max({F1Label->width(), F2Label->width(), Label1->width()});
  const int inputWidth = std::max(373, labelWidth + 8 + counterWidth);
  const int right = 8 + inputWidth;
  const int inputHeight = InputHeight(21);
  const int labelGrow = std::max(0, Label2->height() + 4 - 20);
  const int rowGrow = labelGrow + inputHeight - 21;

  auto row = [&](QLabel* label, QLabel* counter, QWidget* input, int top, int height) {
    label->move(8, top);
    if (counter) counter->setGeometry(right - counterWidth, top, counterWidth, label->height());
    input->setGeometry(8, top + 20 + labelGrow, inputWidth, height);
  };
  row(Label2, nullptr, CategoryCombobox, 8, inputHeight);
  row(F1Label, F1SizeLabel, Field1ValueEdit, 60 + rowGrow, inputHeight);
  row(F2Label, F2SizeLabel, Field2ValueEdit, 112 + 2 * rowGrow, inputHeight);
  row(Label1, NotesSizeLabel, NoteMemo, 164 + 3 * rowGrow, 145);

  const int down = 3 * rowGrow + labelGrow;
  const int buttonWidth = ButtonWidth(75, {OKBtn->text(), CancelBtn->text()});
  const int buttonHeight = ButtonHeight(25);
  CancelBtn->setGeometry(right - buttonWidth, 340 + down, buttonWidth, buttonHeight);
  OKBtn->setGeometry(right - 2 * buttonWidth - 4, 340 + down, buttonWidth, buttonHeight);
  SetClientSize(kClientWidth + inputWidth - 373, kClientHeight + down + buttonHeight - 25);
}

void TRecPropDialog::SetupDialog(const std::string& field1Name, const std::string& field2Name,
                                 const TListDBData& data) {
  F1Label->setText(AnsiToQString(field1Name) + QLatin1Char(':'));
  F2Label->setText(AnsiToQString(field2Name) + QLatin1Char(':'));
  Arrange();
  CategoryCombobox->clear();
  AddCategoryItems(CategoryCombobox, data.Categories());
}

void TRecPropDialog::LoadRecord(const TListRecord& record) {
  Field1ValueEdit->SetBytes(std::string(record.Field1()));
  Field2ValueEdit->SetBytes(std::string(record.Field2()));
  NoteMemo->SetText(std::string(record.Notes()));
  FCategory = record.CategoryID();
  SelectCategoryItem(FCategory);
}

void TRecPropDialog::StoreRecord(TListRecord& record) {
  if (CategoryCombobox->currentIndex() >= 0) FCategory = CategoryCombobox->currentData().toInt();
  record.Assign(Field1ValueEdit->Bytes(), Field2ValueEdit->Bytes(), NoteMemo->Text(), FCategory);
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
  const int field1 = static_cast<int>(Field1ValueEdit->text().size());
  const int field2 = static_cast<int>(Field2ValueEdit->text().size());
  const int notes = NoteMemo->TextLength();
  // A value longer than the model holds (only a loaded one can be) keeps OK
  // disabled and its counter red until the user shortens it, so OK never
  // closes the dialog on values the record would refuse.
  const bool fit = field1 <= kMaxFieldValue && field2 <= kMaxFieldValue && notes <= kMaxNotes;
  OKBtn->setEnabled(fit && !Trim(Field1ValueEdit->Bytes()).empty() &&
                    !Trim(Field2ValueEdit->Bytes()).empty());
  ShowCount(F1SizeLabel, field1, kMaxFieldValue);
  ShowCount(F2SizeLabel, field2, kMaxFieldValue);
  ShowCount(NotesSizeLabel, notes, kMaxNotes);
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
