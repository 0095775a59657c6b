// The import dialog: guesses from a file, the user's mapping, refused files.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "dialogs/frmImport.h"

namespace {

class ImportDialogTest : public ::testing::Test {
 protected:
  QString Put(const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QComboBox* ColumnCombo(int column) {
    return qobject_cast<QComboBox*>(dialog.PreviewTable->cellWidget(0, column));
  }
  QTemporaryDir dir;
  TImportDialog dialog{nullptr};
};

TEST_F(ImportDialogTest, GuessesFromTheFileAndTakesTheUsersMapping) {
  EXPECT_FALSE(dialog.OKBtn->isEnabled());  // no file yet
  dialog.SetFileName(
      Put("people.csv", "Name;Notes;Category\n\"Ann; Jr.\";likes \xC3\xA9;Home\nBob;;Work\n"));
  EXPECT_EQ(dialog.FormatCombo->currentText(), "Separated text");
  EXPECT_EQ(dialog.FieldSeparatorCombo->currentText(), ";");
  EXPECT_TRUE(dialog.QuotedCheck->isChecked());
  EXPECT_TRUE(dialog.FieldSeparatorCombo->isEnabled());
  EXPECT_EQ(dialog.EncodingCombo->itemText(0), "Automatic (UTF-8)");
  ASSERT_EQ(dialog.PreviewTable->columnCount(), 3);
  EXPECT_EQ(dialog.PreviewTable->horizontalHeaderItem(0)->text(), "Name");
  EXPECT_EQ(dialog.PreviewTable->item(1, 0)->text(), "Ann; Jr.");
  EXPECT_EQ(dialog.PreviewTable->item(1, 1)->text(), QString::fromUtf8("likes \u00E9"));
  EXPECT_EQ(ColumnCombo(0)->currentText(), "Field 1");
  EXPECT_EQ(ColumnCombo(1)->currentText(), "Notes");
  EXPECT_EQ(ColumnCombo(2)->currentText(), "Category");
  EXPECT_TRUE(dialog.OKBtn->isEnabled());

  ColumnCombo(1)->setCurrentIndex(ColumnCombo(1)->findText("Field 2"));
  dialog.SkipRadio->setChecked(true);
  const TImportOptions options = dialog.Options();
  EXPECT_EQ(options.Format, TImportFormat::SeparatedText);
  EXPECT_EQ(options.Columns,
            (std::vector<TImportTarget>{TImportTarget::Field1, TImportTarget::Field2,
                                        TImportTarget::Category}));
  EXPECT_FALSE(options.CutOverlong);

  // Without titles the first row is data, and the columns are guessed again.
  dialog.TitlesCheck->setChecked(false);
  EXPECT_EQ(dialog.PreviewTable->item(1, 0)->text(), "Name");
  EXPECT_EQ(ColumnCombo(1)->currentText(), "Field 2");
  for (int c = 0; c < 3; ++c) ColumnCombo(c)->setCurrentIndex(0);  // all skipped
  EXPECT_FALSE(dialog.OKBtn->isEnabled());

  if (qEnvironmentVariableIsSet("VORNIK_GRAB")) {
    dialog.TitlesCheck->setChecked(true);
    dialog.grab().save(qEnvironmentVariable("VORNIK_GRAB"));
  }
}

TEST_F(ImportDialogTest, XmlFixesTheColumnsAndABadFileIsNamed) {
  dialog.SetFileName(Put("list.xml",
                         "<?xml version=\"1.0\"?><list><name>L</name><record><field1>a</field1>"
                         "<category>C</category></record></list>"));
  EXPECT_EQ(dialog.FormatCombo->currentText(), "XML");
  EXPECT_FALSE(dialog.TitlesCheck->isEnabled());
  EXPECT_FALSE(ColumnCombo(0)->isEnabled());
  EXPECT_EQ(dialog.Options().Columns.size(), 0u);  // the file's own fields
  EXPECT_TRUE(dialog.OKBtn->isEnabled());

  const QString binary = Put("list.pdb", QByteArray("DATA\0\0LSdb", 10));
  dialog.SetFileName(binary);
  EXPECT_FALSE(dialog.OKBtn->isEnabled());
  EXPECT_TRUE(dialog.MessageLabel->text().contains(binary));
  EXPECT_TRUE(dialog.MessageLabel->text().contains("not text"));
  dialog.SetFileName(dir.path());  // a folder
  EXPECT_FALSE(dialog.OKBtn->isEnabled());
  EXPECT_FALSE(dialog.MessageLabel->text().isEmpty());
}

}  // namespace
