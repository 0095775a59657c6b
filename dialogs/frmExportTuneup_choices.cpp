// The export wizard's choices: the field order, the checks before Next and
// Finish, the file name's save dialog, and the last choices kept in the
// settings store.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QRadioButton>
#include <QStackedWidget>

#include "components/QRXCtrls.h"
#include "components/QRX_Wizard.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmExportTuneup.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"

namespace {

const QString kChoicesKey = QStringLiteral("Software\\QRXSoft\\Vornik\\Export");
constexpr int kFieldsPage = 3;
constexpr int kDestinationPage = 1;
constexpr int kFieldRole = Qt::UserRole;  // the item's TExportField

TExportField ItemField(const QListWidgetItem* item) {
  return static_cast<TExportField>(item->data(kFieldRole).toInt());
}

QString Suffix(int format) {
  return QString::fromLatin1(ExportFileSuffix(static_cast<TExportFormat>(format)));
}

}  // namespace

void TExportTuneupForm::ConnectChoices() {
  for (int i = 0; i < FieldsCheckListBox->count(); ++i)
    FieldsCheckListBox->item(i)->setData(kFieldRole, i);
  connect(MoveFieldUpAction, &QAction::triggered, this, [this] { MoveField(-1); });
  connect(MoveFieldDownAction, &QAction::triggered, this, [this] { MoveField(1); });
  connect(FieldsCheckListBox, &QListWidget::currentRowChanged, this,
          &TExportTuneupForm::UpdateMoveFieldActions);
  UpdateMoveFieldActions();
  Wizard->OnBeforePageChange = [this](QObject*, int page, bool forward, bool& allow) {
    WizardBeforePageChange(page, forward, allow);
  };
  OutputFilenameEdit->OnButtonClick = [this](QObject*) { OutputFilenameEditButtonClick(); };
  connect(TypesListBox, &QListWidget::currentRowChanged, this,
          &TExportTuneupForm::TypesListBoxChange);
}

void TExportTuneupForm::MoveField(int by) {
  const int row = FieldsCheckListBox->currentRow();
  const int to = row + by;
  if (row < 0 || to < 0 || to >= FieldsCheckListBox->count()) return;
  QListWidgetItem* item = FieldsCheckListBox->takeItem(row);
  FieldsCheckListBox->insertItem(to, item);
  FieldsCheckListBox->setCurrentRow(to);
  UpdateMoveFieldActions();
}

void TExportTuneupForm::UpdateMoveFieldActions() {
  const int row = FieldsCheckListBox->currentRow();
  MoveFieldUpAction->setEnabled(row > 0);
  MoveFieldDownAction->setEnabled(row >= 0 && row + 1 < FieldsCheckListBox->count());
}

bool TExportTuneupForm::CheckFieldsChosen() {
  if (!Choice().Options.Fields.empty()) return true;
  Prompts().MessageBox(this, QStringLiteral("Check at least one field to export."), windowTitle(),
                       TMsgIcon::Warning, mbOK);
  Notebook->setCurrentIndex(kFieldsPage);
  FieldsCheckListBox->setFocus();
  return false;
}

bool TExportTuneupForm::CheckChoicesComplete() {
  if (!CheckFieldsChosen()) return false;
  if (rbExportToFile->isChecked() && OutputFilenameEdit->text().trimmed().isEmpty()) {
    Prompts().MessageBox(this, QStringLiteral("Choose the file to export to."), windowTitle(),
                         TMsgIcon::Warning, mbOK);
    Notebook->setCurrentIndex(kDestinationPage);
    OutputFilenameEdit->setFocus();
    return false;
  }
  return true;
}

void TExportTuneupForm::WizardBeforePageChange(int page, bool forward, bool& allow) {
  if (forward && page == kFieldsPage && !CheckFieldsChosen()) allow = false;
}

void TExportTuneupForm::WizardEndClick() {
  const bool finish = Notebook->currentIndex() == Notebook->count() - 1;
  if (!finish) {
    done(QDialog::Rejected);
  } else if (CheckChoicesComplete()) {
    done(QDialog::Accepted);
  }
}

void TExportTuneupForm::OutputFilenameEditButtonClick() {
  const int format = std::max(0, TypesListBox->currentRow());
  TFileDialogOptions options;
  options.title = QStringLiteral("Export to file");
  options.filter = QStringLiteral("%1 (*.%2);;All files (*.*)")
                       .arg(TypesListBox->item(format)->text(), Suffix(format));
  options.defaultExtension = Suffix(format);
  options.fileName = OutputFilenameEdit->text().trimmed();
  options.confirmOverwrite = true;
  options.folderMustExist = true;
  if (!Prompts().SaveFileDialog(this, options)) return;
  OutputFilenameEdit->setText(QDir::toNativeSeparators(options.fileName));
}

void TExportTuneupForm::TypesListBoxChange() {
  const QString name = OutputFilenameEdit->text();
  const QString suffix = QFileInfo(name).suffix();
  if (suffix.isEmpty()) return;
  for (int format = 0; format < kExportFormatCount; ++format) {
    if (suffix.compare(Suffix(format), Qt::CaseInsensitive) == 0) {
      OutputFilenameEdit->setText(name.left(name.size() - suffix.size()) +
                                  Suffix(std::max(0, TypesListBox->currentRow())));
      return;
    }
  }
}

TExportChoice TExportTuneupForm::Choice() const {
  TExportChoice choice;
  choice.Options.Format = static_cast<TExportFormat>(std::max(0, TypesListBox->currentRow()));
  for (int i = 0; i < FieldsCheckListBox->count(); ++i) {
    const QListWidgetItem* item = FieldsCheckListBox->item(i);
    if (item->checkState() == Qt::Checked) choice.Options.Fields.push_back(ItemField(item));
  }
  choice.Options.FieldSeparator = FieldsSeparatorEdit->text().toStdString();
  choice.Options.RecordSeparator = RecordsSeparatorEdit->text().toStdString();
  choice.Options.ColumnTitles = CheckBox1->isChecked();
  choice.ToFile = rbExportToFile->isChecked();
  choice.FileName = OutputFilenameEdit->text().trimmed();
  if (rbOnlyOneCategory->isChecked() && CategoryFilterCombo->currentIndex() >= 0)
    choice.CategoryId = CategoryFilterCombo->currentData().toInt();
  return choice;
}

void TExportTuneupForm::LoadChoices() {
  TRegistry reg;
  if (!reg.OpenKey(kChoicesKey, false)) return;
  // Each value stands on its own: one missing or of another type leaves its
  // control as it was.
  auto integer = [&reg](const char* name, int fallback) {
    try {
      return reg.ValueExists(name) ? reg.ReadInteger(name) : fallback;
    } catch (const ERegistryError&) {
      return fallback;
    }
  };
  auto text = [&reg](const char* name, const QString& fallback) {
    try {
      return reg.ValueExists(name) ? reg.ReadString(name) : fallback;
    } catch (const ERegistryError&) {
      return fallback;
    }
  };
  const int format = integer("Format", 0);
  if (format >= 0 && format < TypesListBox->count()) TypesListBox->setCurrentRow(format);
  // The fields as their numbers in list order, a checked one followed by '+'.
  const QString fields = text("Fields", QString());
  int place = 0;
  for (int i = 0; i < fields.size(); ++i) {
    const int field = fields[i].digitValue();
    if (field < 0 || field >= kExportFieldCount) continue;
    for (int row = place; row < FieldsCheckListBox->count(); ++row) {
      if (static_cast<int>(ItemField(FieldsCheckListBox->item(row))) != field) continue;
      QListWidgetItem* item = FieldsCheckListBox->takeItem(row);
      FieldsCheckListBox->insertItem(place++, item);
      const bool checked = i + 1 < fields.size() && fields[i + 1] == u'+';
      item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
  }
  FieldsCheckListBox->setCurrentRow(-1);
  UpdateMoveFieldActions();
  FieldsSeparatorEdit->SetValue(text("FieldSeparator", FieldsSeparatorEdit->text()));
  RecordsSeparatorEdit->SetValue(text("RecordSeparator", RecordsSeparatorEdit->text()));
  CheckBox1->setChecked(integer("ColumnTitles", CheckBox1->isChecked()) != 0);
  (integer("ToFile", 0) != 0 ? rbExportToFile : rbExportToClipboard)->setChecked(true);
  OutputFilenameEdit->setText(text("FileName", QString()));
  UpdateExportDestination();
}

void TExportTuneupForm::StoreChoices() const {
  TRegistry reg;
  if (!reg.OpenKey(kChoicesKey, true)) return;
  QString fields;
  for (int i = 0; i < FieldsCheckListBox->count(); ++i) {
    const QListWidgetItem* item = FieldsCheckListBox->item(i);
    fields += QString::number(static_cast<int>(ItemField(item)));
    if (item->checkState() == Qt::Checked) fields += u'+';
  }
  reg.WriteInteger("Format", std::max(0, TypesListBox->currentRow()));
  reg.WriteString("Fields", fields);
  reg.WriteString("FieldSeparator", FieldsSeparatorEdit->text());
  reg.WriteString("RecordSeparator", RecordsSeparatorEdit->text());
  reg.WriteBool("ColumnTitles", CheckBox1->isChecked());
  reg.WriteBool("ToFile", rbExportToFile->isChecked());
  reg.WriteString("FileName", OutputFilenameEdit->text().trimmed());
  // Closing the key stores the choices; a failure there does not stop the
  // export.
}

bool ExecuteExportWizard(QWidget* owner, const TListDBData* data, TExportChoice& choice) {
  TExportTuneupForm form(owner);
  form.LoadCategoryFilter(data);
  form.LoadChoices();
  if (Prompts().ExecDialog(&form) != TModalResult::OK) return false;
  choice = form.Choice();
  form.StoreChoices();
  return true;
}

bool ExecuteExportWizard(QWidget* owner, const TListDBData* data) {
  TExportChoice choice;
  return ExecuteExportWizard(owner, data, choice);
}
