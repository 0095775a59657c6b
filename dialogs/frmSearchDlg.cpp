#include "dialogs/frmSearchDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "platform/AnsiText.h"
#include "platform/Prompts.h"

std::vector<std::string>& SearchHistory() {
  static std::vector<std::string> history;
  return history;
}

void AddToSearchHistory(const std::string& text) {
  std::vector<std::string>& history = SearchHistory();
  const auto same = std::find_if(history.begin(), history.end(), [&](const std::string& entry) {
    return SameTextIgnoreCase(entry, text);
  });
  if (same != history.end()) history.erase(same);
  history.insert(history.begin(), text);
}

namespace {

// A name shown in a caption with an accelerator: its own '&' are shown as
// they are.
QString CaptionText(const std::string& name) {
  return AnsiToQString(name).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

TSearchDialog::TSearchDialog(QWidget* owner) : TAbstractDialog(owner) {
  setObjectName(QStringLiteral("SearchDialog"));
  setWindowTitle(QStringLiteral("Search"));
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  Label1 = new QLabel(QStringLiteral("Substring to find:"), this);
  Label1->setTextFormat(Qt::PlainText);
  SearchStringEdit = new QComboBox(this);
  GroupBox1 = new QGroupBox(QStringLiteral("Find &where:"), this);
  Field1CB = new QCheckBox(QStringLiteral("Field&1 ()"), GroupBox1);
  Field2CB = new QCheckBox(QStringLiteral("Field&2 ()"), GroupBox1);
  NotesCB = new QCheckBox(QStringLiteral("&Notes"), GroupBox1);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  SearchStringEdit->setObjectName(QStringLiteral("SearchStringEdit"));
  Field1CB->setObjectName(QStringLiteral("Field1CB"));
  Field2CB->setObjectName(QStringLiteral("Field2CB"));
  NotesCB->setObjectName(QStringLiteral("NotesCB"));

  // Windows-1252 text of any length, typed or pasted as in every other
  // input; the history is offered, never added to by the box itself, and what
  // is typed stays as typed.
  auto* edit = new TLimitedEdit(std::numeric_limits<int>::max(), SearchStringEdit);
  edit->setMaxLength(std::numeric_limits<int>::max());
  SearchStringEdit->setEditable(true);
  SearchStringEdit->setLineEdit(edit);
  SearchStringEdit->setInsertPolicy(QComboBox::NoInsert);
  SearchStringEdit->setCompleter(nullptr);
  SearchStringEdit->setMaxVisibleItems(8);
  OKBtn->setDefault(true);
  // The label names the search text; its text field, which takes the typing,
  // carries the same name.
  Label1->setBuddy(SearchStringEdit);
  edit->setAccessibleName(Label1->text());

  setTabOrder(SearchStringEdit, Field1CB);
  setTabOrder(Field1CB, Field2CB);
  setTabOrder(Field2CB, NotesCB);
  setTabOrder(NotesCB, OKBtn);
  setTabOrder(OKBtn, CancelBtn);

  connect(SearchStringEdit, &QComboBox::editTextChanged, this,
          &TSearchDialog::SearchStringEditChange);
  for (QCheckBox* box : {Field1CB, Field2CB, NotesCB})
    connect(box, &QCheckBox::toggled, this, &TSearchDialog::Field2CBClick);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  FinishLoading(284, 202);
  ArrangeControls();
  UpdateControls();
}

void TSearchDialog::SetFieldNames(const std::string& field1Name, const std::string& field2Name) {
  Field1CB->setText(QStringLiteral("Field&1 (%1)").arg(CaptionText(field1Name)));
  Field2CB->setText(QStringLiteral("Field&2 (%1)").arg(CaptionText(field2Name)));
  ArrangeControls();
}

std::string TSearchDialog::SearchText() const {
  return QStringToAnsi(SearchStringEdit->currentText());
}

void TSearchDialog::ArrangeControls() {
  // The layout's places, grown only where the font or the field names need
  // more room.
  const int inputHeight = InputHeight(21);
  const int boxHeight = std::max(17, Field1CB->sizeHint().height());
  const int step = std::max(24, boxHeight + 7);
  const int firstBox = std::max(20, fontMetrics().height() + 6);
  int boxWidth = 240;
  for (QCheckBox* box : {Field1CB, Field2CB, NotesCB})
    boxWidth = std::max(boxWidth, box->sizeHint().width());
  const int groupWidth = std::max(261, 12 + boxWidth + 9);
  const int groupHeight = firstBox + 2 * step + boxHeight + 12;
  const int groupTop = 28 + inputHeight + 11;
  const int clientWidth = 12 + groupWidth + 11;
  const int buttonWidth = ButtonWidth(75, {OKBtn->text(), CancelBtn->text()});
  const int buttonHeight = ButtonHeight(25);
  const int buttonTop = groupTop + groupHeight + 11;

  Label1->move(12, 8);
  Label1->adjustSize();
  SearchStringEdit->setGeometry(12, 28, groupWidth, inputHeight);
  GroupBox1->setGeometry(12, groupTop, groupWidth, groupHeight);
  Field1CB->setGeometry(12, firstBox, boxWidth, boxHeight);
  Field2CB->setGeometry(12, firstBox + step, boxWidth, boxHeight);
  NotesCB->setGeometry(12, firstBox + 2 * step, boxWidth, boxHeight);
  CancelBtn->setGeometry(clientWidth - 10 - buttonWidth, buttonTop, buttonWidth, buttonHeight);
  OKBtn->setGeometry(clientWidth - 10 - 2 * buttonWidth - 5, buttonTop, buttonWidth, buttonHeight);
  SetClientSize(clientWidth, buttonTop + buttonHeight + 9);
}

void TSearchDialog::UpdateControls() {
  const bool anyPlace = Field1CB->isChecked() || Field2CB->isChecked() || NotesCB->isChecked();
  OKBtn->setEnabled(anyPlace && !Trim(SearchText()).empty());
}

void TSearchDialog::SearchStringEditChange() { UpdateControls(); }

void TSearchDialog::Field2CBClick() { UpdateControls(); }

void TSearchDialog::FormShow() {
  UpdateControls();
  SearchStringEdit->setFocus();
  SearchStringEdit->lineEdit()->selectAll();
}

bool ExecuteSearchDialog(QWidget* owner, const std::string& field1Name,
                         const std::string& field2Name, TRecSearchOptions& options) {
  TSearchDialog dialog(owner);
  dialog.SetFieldNames(field1Name, field2Name);
  dialog.Field1CB->setChecked(options.Where & InField1);
  dialog.Field2CB->setChecked(options.Where & InField2);
  dialog.NotesCB->setChecked(options.Where & InNotes);
  for (const std::string& entry : SearchHistory())
    dialog.SearchStringEdit->addItem(AnsiToQString(entry));
  dialog.SearchStringEdit->setEditText(AnsiToQString(options.Text));
  if (Prompts().ExecDialog(&dialog) != TModalResult::OK) return false;

  std::uint8_t where = 0;
  if (dialog.Field1CB->isChecked()) where |= InField1;
  if (dialog.Field2CB->isChecked()) where |= InField2;
  if (dialog.NotesCB->isChecked()) where |= InNotes;
  const std::string text = Trim(dialog.SearchText());
  // OK is enabled only for an acceptable request; nothing else gets here.
  if (text.empty() || where == 0) return false;
  options.Where = where;
  options.Text = text;
  AddToSearchHistory(options.Text);
  return true;
}
