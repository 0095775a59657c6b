// Export from the main window: the wizard answered through the prompts, the
// file or the clipboard read back.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QMimeData>
#include <QRadioButton>

#include "components/QRXCtrls.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmExportTuneup.h"
#include "main_form_fixture.h"
#include "platform/RichText.h"

namespace {

class MainFormExportTest : public MainFormTest {
 protected:
  void OpenSample() {
    WriteListFile(Path("s.pdb"), "Contacts", {"Work", "Home"},
                  {{"Anna", "200", "first, line\r\nsecond", 1},
                   {"Bo", "300", "", 2},
                   {"Carl", "100", "", 1},
                   {"Dora", "400", "", 2},
                   {"Eva", "250", "caf\xE9", 1}});
    OpenFile(Path("s.pdb"));
    ASSERT_NE(Doc(), nullptr);
  }
  // Answers the wizard: the format's row, a file (empty: the clipboard), a
  // category (empty: all records) and the rows of the fields to check.
  void AnswerWizard(int format, const QString& file, const QString& category,
                    std::vector<int> fields) {
    prompts->AnswerDialog([=](QDialog* dialog) {
      auto* form = dynamic_cast<TExportTuneupForm*>(dialog);
      form->TypesListBox->setCurrentRow(format);
      (file.isEmpty() ? form->rbExportToClipboard : form->rbExportToFile)->setChecked(true);
      form->OutputFilenameEdit->setText(file);
      if (!category.isEmpty()) {
        form->rbOnlyOneCategory->setChecked(true);
        form->CategoryFilterCombo->setCurrentText(category);
      }
      // The last export's checks come back: only these stay checked.
      for (int row = 0; row < form->FieldsCheckListBox->count(); ++row)
        form->FieldsCheckListBox->item(row)->setCheckState(Qt::Unchecked);
      for (int row : fields) form->FieldsCheckListBox->item(row)->setCheckState(Qt::Checked);
      return TModalResult::OK;
    });
  }
  QByteArray FileText(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }
};

}  // namespace

TEST_F(MainFormExportTest, WritesTheChosenCategoryInTheListsSortOrder) {
  OpenSample();
  ClickHeader(1);
  ClickHeader(1);  // field 2 descending
  AnswerWizard(0, Path("out.csv"), "Work", {1, 0, 2});
  ASSERT_TRUE(Run("ExportFileAction"));
  EXPECT_EQ(prompts->Unanswered(), 0);
  EXPECT_EQ(FileText(Path("out.csv")),
            "\xEF\xBB\xBF"
            "Eva,250,caf\xC3\xA9\r\nAnna,200,\"first, line\r\nsecond\"\r\nCarl,100,\r\n");
  EXPECT_EQ(Panel(3), " 3 records exported");
  EXPECT_FALSE(Doc()->Modified());
}

TEST_F(MainFormExportTest, RefusedDestinationReachesTheErrorBoxWithThePath) {
  OpenSample();
  QDir(dir.path()).mkdir("folder.csv");
  for (const QString& path : {Path("folder.csv"), Path("missing/out.csv")}) {
    AnswerWizard(0, path, {}, {0});
    prompts->AnswerMessage(TModalResult::OK);
    Run("ExportFileAction");
    EXPECT_EQ(LastMessage(), "Cannot create file " + path + ".");
  }
  EXPECT_EQ(prompts->Unanswered(), 0);
  EXPECT_TRUE(QFileInfo(Path("folder.csv")).isDir());
}

TEST_F(MainFormExportTest, ClipboardGetsTheFormatsOwnTypesBesideThePlainText) {
  OpenSample();
  AnswerWizard(1, {}, "Home", {0, 1});
  ASSERT_TRUE(Run("ExportFileAction"));
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(), "Bo\t300\r\nDora\t400\r\n");  // no byte order mark
  EXPECT_EQ(data->data("text/tab-separated-values"), "Bo\t300\r\nDora\t400\r\n");

  AnswerWizard(4, {}, "Work", {3, 0});
  ASSERT_TRUE(Run("ExportFileAction"));
  data = QGuiApplication::clipboard()->mimeData();
  EXPECT_TRUE(data->text().startsWith("\r\nName:\r\nAnna\r\nWork\r\n\r\nName:\r\nCarl\r\n"))
      << data->text().toStdString();
  EXPECT_TRUE(data->data(RtfMimeType()).startsWith("{\\rtf1"));
  EXPECT_TRUE(data->data(RtfMimeType()).contains("\\b Name:\\par"));

  Doc()->Categories().Add("Empty");
  AnswerWizard(0, {}, "Empty", {0});
  ASSERT_TRUE(Run("ExportFileAction"));
  EXPECT_EQ(Panel(3), " No records in the chosen category to export");
}
