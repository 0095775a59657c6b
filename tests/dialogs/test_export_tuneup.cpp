#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

#include "components/QRXCtrls.h"
#include "components/QRX_Wizard.h"
#include "components/QRX_WizardHeader.h"
#include "core/listdb.h"
#include "dialog_test_util.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmExportTuneup.h"
#include "platform/Registry.h"
#include "platform/ScriptedPrompts.h"

namespace {

TEST(ExportWizard, OpensOnTheFormatPage) {
  TExportTuneupForm form(nullptr);
  form.show();
  EXPECT_EQ(form.size(), QSize(278, 247));
  EXPECT_EQ(form.Notebook->currentIndex(), 0);
  EXPECT_EQ(form.Header->SubHeader(), "Select destination file format");
  ASSERT_NE(form.TypesListBox->SelectedItem(), nullptr);
  EXPECT_EQ(form.TypesListBox->SelectedItem()->text(), "Comma separated values");
  EXPECT_EQ(form.focusWidget(), form.TypesListBox);
  EXPECT_FALSE(form.Wizard->BackButton()->isEnabled());
  EXPECT_FALSE(form.Wizard->HelpButton()->isVisible());
  EXPECT_EQ(form.Wizard->EndButton()->text(), "&Cancel");
  // The pages fill the room between the header and the bar.
  EXPECT_EQ(form.Notebook->geometry(), QRect(0, 52, 278, 151));
  EXPECT_EQ(form.Wizard->geometry(), QRect(0, 203, 278, 44));
}

TEST(ExportWizard, DestinationAndRecordChoicesEnableTheirInputs) {
  TExportTuneupForm form(nullptr);
  form.show();
  EXPECT_TRUE(form.rbExportToClipboard->isChecked());
  EXPECT_FALSE(form.OutputFilenameEdit->isEnabled());
  form.Wizard->NextStep();
  QTest::mouseClick(form.rbExportToFile, Qt::LeftButton);
  EXPECT_TRUE(form.OutputFilenameEdit->isEnabled());
  EXPECT_TRUE(form.OutputFilenameEdit->Button()->isEnabled());
  QTest::mouseClick(form.rbExportToClipboard, Qt::LeftButton);
  EXPECT_FALSE(form.OutputFilenameEdit->isEnabled());

  form.Wizard->NextStep();
  EXPECT_TRUE(form.rbAllRecords->isChecked());
  EXPECT_FALSE(form.CategoryFilterCombo->isEnabled());
  QTest::mouseClick(form.rbOnlyOneCategory, Qt::LeftButton);
  EXPECT_TRUE(form.CategoryFilterCombo->isEnabled());
  // The two pairs are separate choices.
  EXPECT_FALSE(form.rbExportToFile->isChecked());
  QTest::mouseClick(form.rbAllRecords, Qt::LeftButton);
  EXPECT_FALSE(form.CategoryFilterCombo->isEnabled());
}

TEST(ExportWizard, OffersEveryCategoryUnfiledFirst) {
  TListDBData doc;
  AddCategories(doc, {"Work", "Home", "Trip"});
  doc.Categories().Delete(2);  // ids 0, 1, 3
  TExportTuneupForm form(nullptr);
  form.LoadCategoryFilter(&doc);
  ASSERT_EQ(form.CategoryFilterCombo->count(), 3);
  EXPECT_EQ(form.CategoryFilterCombo->itemText(0), "Unfiled");
  EXPECT_EQ(form.CategoryFilterCombo->itemText(2), "Trip");
  EXPECT_EQ(form.CategoryFilterCombo->itemData(2).toInt(), 3);
  EXPECT_EQ(form.CategoryFilterCombo->currentIndex(), 0);
}

TEST(ExportWizard, WalksToFinishUnderThePageCaptionsAndClosesWithOK) {
  TExportTuneupForm form(nullptr);
  form.FieldsCheckListBox->item(0)->setCheckState(Qt::Checked);
  QStringList captions;
  const int code = ExecWhile(form, [&] {
    for (int i = 0; i < 5; ++i) {
      form.Wizard->NextButton()->click();
      captions << form.Header->SubHeader();
    }
    QTest::mouseClick(form.Wizard->EndButton(), Qt::LeftButton);
  });
  EXPECT_EQ(captions.join(", "),
            "Select destination, Select records to export, Select fields to export, "
            "Export options, Finish");
  EXPECT_EQ(form.Wizard->EndButton()->text(), "&Finish");
  EXPECT_EQ(code, QDialog::Accepted);

  TScriptedPrompts prompts;
  TListDBData doc;
  int offered = -1;
  prompts.AnswerDialog([&](QDialog* dialog) {
    offered = dynamic_cast<TExportTuneupForm*>(dialog)->CategoryFilterCombo->count();
    return TModalResult::Cancel;
  });
  EXPECT_FALSE(ExecuteExportWizard(nullptr, &doc));
  EXPECT_EQ(offered, 1);
}

// The order of the field list's items, a checked one marked with '+'.
QString FieldOrder(const TExportTuneupForm& form) {
  QStringList items;
  for (int i = 0; i < form.FieldsCheckListBox->count(); ++i) {
    const QListWidgetItem* item = form.FieldsCheckListBox->item(i);
    items << item->text() + (item->checkState() == Qt::Checked ? "+" : "");
  }
  return items.join(", ");
}

TEST(ExportWizard, MoveUpAndDownMoveTheSelectedFieldWhereTheyCan) {
  TExportTuneupForm form(nullptr);
  form.show();
  EXPECT_FALSE(form.Button1->isEnabled());  // nothing selected
  EXPECT_FALSE(form.Button2->isEnabled());
  form.FieldsCheckListBox->item(0)->setCheckState(Qt::Checked);
  form.FieldsCheckListBox->setCurrentRow(0);
  EXPECT_FALSE(form.Button1->isEnabled());
  EXPECT_TRUE(form.Button2->isEnabled());
  form.Notebook->setCurrentIndex(3);
  for (int i = 0; i < 3; ++i) form.Button2->click();
  EXPECT_EQ(FieldOrder(form), "Field 2, Notes, Category name, Field 1+");
  EXPECT_FALSE(form.Button2->isEnabled());
  EXPECT_TRUE(form.Button1->isEnabled());
  form.Button1->click();
  EXPECT_EQ(form.FieldsCheckListBox->currentRow(), 2);
  EXPECT_EQ(FieldOrder(form), "Field 2, Notes, Field 1+, Category name");
  form.FieldsCheckListBox->item(0)->setCheckState(Qt::Checked);
  const std::vector<TExportField> fields = form.Choice().Options.Fields;
  EXPECT_EQ(fields, (std::vector<TExportField>{TExportField::Field2, TExportField::Field1}));
}

TEST(ExportWizard, NoFieldOrNoFileNameIsRefusedWithAMessage) {
  TScriptedPrompts prompts;
  TExportTuneupForm form(nullptr);
  form.show();
  form.Notebook->setCurrentIndex(3);
  prompts.AnswerMessage(TModalResult::OK);
  form.Wizard->NextButton()->click();
  EXPECT_EQ(form.Notebook->currentIndex(), 3);
  ASSERT_EQ(prompts.Questions().size(), 1u);
  EXPECT_EQ(prompts.Questions()[0].text, "Check at least one field to export.");
  form.FieldsCheckListBox->item(2)->setCheckState(Qt::Checked);
  form.rbExportToFile->setChecked(true);
  form.Wizard->NextButton()->click();
  form.Wizard->NextButton()->click();
  ASSERT_EQ(form.Notebook->currentIndex(), 5);
  prompts.AnswerMessage(TModalResult::OK);
  form.Wizard->EndButton()->click();
  EXPECT_EQ(prompts.Questions().back().text, "Choose the file to export to.");
  EXPECT_EQ(form.Notebook->currentIndex(), 1);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(prompts.Unanswered(), 0);
}

TEST(ExportWizard, FileButtonAsksForAFileOfTheChosenFormat) {
  TScriptedPrompts prompts;
  TExportTuneupForm form(nullptr);
  form.TypesListBox->setCurrentRow(5);
  form.rbExportToFile->setChecked(true);
  prompts.AnswerSaveFile("/tmp/out/list.xml");
  form.OutputFilenameEdit->Button()->click();
  EXPECT_EQ(prompts.lastFileOptions.filter, "XML (*.xml);;All files (*.*)");
  EXPECT_EQ(prompts.lastFileOptions.defaultExtension, "xml");
  EXPECT_TRUE(prompts.lastFileOptions.confirmOverwrite);
  EXPECT_EQ(form.OutputFilenameEdit->text(), "/tmp/out/list.xml");
  form.TypesListBox->setCurrentRow(0);  // the suffix follows the format
  EXPECT_EQ(form.OutputFilenameEdit->text(), "/tmp/out/list.csv");
  prompts.AnswerSaveFile("");  // cancelled: the name stays
  form.OutputFilenameEdit->Button()->click();
  EXPECT_EQ(form.OutputFilenameEdit->text(), "/tmp/out/list.csv");
}

TEST(ExportWizard, LastChoicesComeBackNextTime) {
  TScriptedPrompts prompts;
  TListDBData doc;
  AddCategories(doc, {"Work"});
  prompts.AnswerDialog([](QDialog* dialog) {
    auto* form = dynamic_cast<TExportTuneupForm*>(dialog);
    form->TypesListBox->setCurrentRow(2);
    form->rbExportToFile->setChecked(true);
    form->OutputFilenameEdit->setText("/tmp/x.txt");
    form->rbOnlyOneCategory->setChecked(true);
    form->CategoryFilterCombo->setCurrentIndex(1);
    form->FieldsCheckListBox->item(3)->setCheckState(Qt::Checked);
    form->FieldsCheckListBox->setCurrentRow(3);
    form->MoveField(-1);
    form->FieldsSeparatorEdit->setText(";\\");
    form->RecordsSeparatorEdit->setText("\\r\\n");
    form->CheckBox1->setChecked(true);
    return TModalResult::OK;
  });
  TExportChoice choice;
  ASSERT_TRUE(ExecuteExportWizard(nullptr, &doc, choice));
  EXPECT_EQ(choice.Options.Format, TExportFormat::SeparatedText);
  EXPECT_EQ(choice.Options.Fields, std::vector<TExportField>{TExportField::CategoryName});
  EXPECT_EQ(choice.Options.FieldSeparator, ";\\");
  EXPECT_EQ(choice.CategoryId, 1);
  EXPECT_TRUE(choice.ToFile);

  QString seen;
  prompts.AnswerDialog([&](QDialog* dialog) {
    auto* form = dynamic_cast<TExportTuneupForm*>(dialog);
    seen = QStringList{form->TypesListBox->SelectedItem()->text(),
                       FieldOrder(*form),
                       form->FieldsSeparatorEdit->text(),
                       form->RecordsSeparatorEdit->text(),
                       form->CheckBox1->isChecked() ? "titles" : "",
                       form->rbExportToFile->isChecked() ? "file" : "clipboard",
                       form->OutputFilenameEdit->isEnabled() ? "enabled" : "",
                       form->OutputFilenameEdit->text()}
               .join(" | ");
    return TModalResult::Cancel;
  });
  EXPECT_FALSE(ExecuteExportWizard(nullptr, &doc, choice));
  EXPECT_EQ(seen,
            "Separated text (extended) | Field 1, Field 2, Category name+, Notes | ;\\ | "
            "\\r\\n | titles | file | enabled | /tmp/x.txt");
  SettingsStore().DeleteKey("Software\\QRXSoft\\Vornik\\Export");
}

}  // namespace
