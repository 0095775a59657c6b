#include "main_form_fixture.h"

#include <QFile>

#include "components/AnsiMemo.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmCustomizeDB.h"
#include "dialogs/frmRecordProp.h"
#include "dialogs/frmSelectCategory.h"

void WriteListFile(const QString& path, const std::string& name,
                   const std::vector<std::string>& categories,
                   const std::vector<TTestRecord>& records, const std::string& field1,
                   const std::string& field2) {
  TListDBData doc;
  doc.SetDatabaseName(name);
  doc.SetCustomField1(field1);
  doc.SetCustomField2(field2);
  for (const std::string& c : categories) doc.Categories().Add(c);
  for (const TTestRecord& r : records) {
    TListRecord* rec = doc.AddRecord();
    rec->StoreField1Unchecked(r.field1);
    rec->StoreField2Unchecked(r.field2);
    rec->SetNotes(r.notes);
    rec->SetCategoryID(r.category);
  }
  SafeReplaceFile(QFile::encodeName(path).toStdString(), [&](TStream& s) { WriteListDB(doc, s); });
}

std::vector<uint8_t> ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  return std::vector<uint8_t>(data.begin(), data.end());
}

void WriteBytes(const QString& path, const std::vector<uint8_t>& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

TModalResult PressOK(QDialog* dialog, QPushButton* ok) {
  EXPECT_TRUE(ok->isEnabled()) << "OK is disabled in " << dialog->windowTitle().toStdString();
  if (!ok->isEnabled()) return TModalResult::Cancel;
  ok->click();
  return dialog->result() == QDialog::Accepted ? TModalResult::OK : TModalResult::Cancel;
}

std::function<TModalResult(QDialog*)> ListPropertiesAnswer(const QString& name,
                                                           const QString& field1,
                                                           const QString& field2) {
  return [=](QDialog* d) {
    auto* dlg = dynamic_cast<TCustomizeDBDialog*>(d);
    EXPECT_NE(dlg, nullptr);
    if (!dlg) return TModalResult::Cancel;
    dlg->FormShow();
    dlg->ListNameEdit->setText(name);
    dlg->Field1Name->setText(field1);
    dlg->Field2Name->setText(field2);
    return PressOK(dlg, dlg->OKBtn);
  };
}

std::function<TModalResult(QDialog*)> ListPropertiesCancel(QString* proposed) {
  return [=](QDialog* d) {
    auto* dlg = dynamic_cast<TCustomizeDBDialog*>(d);
    EXPECT_NE(dlg, nullptr);
    if (dlg && proposed) *proposed = dlg->ListNameEdit->text();
    if (dlg) dlg->CancelBtn->click();
    return TModalResult::Cancel;
  };
}

std::function<TModalResult(QDialog*)> RecordAnswer(const QString& field1, const QString& field2,
                                                   const QString& category, const QString& notes) {
  return [=](QDialog* d) {
    auto* dlg = dynamic_cast<TRecPropDialog*>(d);
    EXPECT_NE(dlg, nullptr);
    if (!dlg) return TModalResult::Cancel;
    dlg->FormShow();
    dlg->Field1ValueEdit->setText(field1);
    dlg->Field2ValueEdit->setText(field2);
    dlg->NoteMemo->setPlainText(notes);
    const int index = dlg->CategoryCombobox->findText(category);
    EXPECT_GE(index, 0) << "no category " << category.toStdString();
    dlg->CategoryCombobox->setCurrentIndex(index);
    emit dlg->CategoryCombobox->activated(index);
    return PressOK(dlg, dlg->OKBtn);
  };
}

std::function<TModalResult(QDialog*)> CancelAnswer() {
  return [](QDialog* d) {
    d->reject();
    return TModalResult::Cancel;
  };
}

std::function<TModalResult(QDialog*)> SelectCategoryAnswer(const QString& name) {
  return [=](QDialog* d) {
    auto* dlg = dynamic_cast<TSelCategoryDialog*>(d);
    EXPECT_NE(dlg, nullptr);
    if (!dlg) return TModalResult::Cancel;
    dlg->FormShow();
    const auto items = dlg->ListBox->findItems(name, Qt::MatchExactly);
    EXPECT_EQ(items.size(), 1) << "no category " << name.toStdString();
    if (items.isEmpty()) return TModalResult::Cancel;
    dlg->ListBox->setCurrentItem(items.front());  // selects it alone
    return PressOK(dlg, dlg->OKBtn);
  };
}

void MainFormTest::SetUp() {
  ASSERT_TRUE(dir.isValid());
  settings = std::make_unique<TMemorySettingsStore>();
  outerSettings = SetSettingsStore(settings.get());
  prompts = std::make_unique<TScriptedPrompts>();
  TMainListDBForm::SetSortState(-1, true);
  form = std::make_unique<TMainListDBForm>();
}

void MainFormTest::TearDown() {
  EXPECT_EQ(prompts->Unanswered(), 0) << "a question was asked that the test did not answer";
  EXPECT_EQ(prompts->Pending(), 0) << "an answer was scripted that nothing asked for";
  form.reset();
  prompts.reset();
  SetSettingsStore(outerSettings);
  settings.reset();
}

void MainFormTest::CreateList(const QString& name, const QString& f1, const QString& f2) {
  prompts->AnswerDialog(ListPropertiesAnswer(name, f1, f2));
  ASSERT_TRUE(Run("NewFileAction"));
  ASSERT_NE(Doc(), nullptr);
}

void MainFormTest::OpenFile(const QString& path) {
  prompts->AnswerOpenFile(path);
  ASSERT_TRUE(Run("OpenFileAction"));
}

void MainFormTest::AddRecord(const QString& f1, const QString& f2, const QString& category) {
  prompts->AnswerDialog(RecordAnswer(f1, f2, category));
  ASSERT_TRUE(Run("NewRecordAction"));
}

void MainFormTest::PickCategory(const QString& text) {
  const int index = Combo()->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  Combo()->setCurrentIndex(index);
  emit Combo()->activated(index);
}

std::vector<std::string> MainFormTest::RowTexts(int column) const {
  std::vector<std::string> texts;
  const TShownRecordsModel* model = List()->Shown();
  for (int r = 0; r < model->rowCount(); ++r) texts.push_back(model->Text(r, column).toStdString());
  return texts;
}

void MainFormTest::SelectRows(const std::vector<int>& rows) {
  List()->ClearSelection();
  for (int r : rows) List()->SelectRow(r);
}

QString MainFormTest::LastMessage() const {
  const auto& asked = prompts->Questions();
  for (auto it = asked.rbegin(); it != asked.rend(); ++it)
    if (it->kind == TScriptedPrompts::Asked::Message) return it->text;
  return QString();
}
