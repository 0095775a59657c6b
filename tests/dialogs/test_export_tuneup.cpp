#include <gtest/gtest.h>

#include <QComboBox>
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

TEST(ExportWizard, WalksToFinishUnderThePageCaptionsAndClosesLikeCancel) {
  TExportTuneupForm form(nullptr);
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
  EXPECT_EQ(code, QDialog::Rejected);

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

}  // namespace
