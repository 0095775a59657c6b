// The Import command: a new untitled list from a file, the report, and the
// cases that leave the open list as it was.
#include <QFile>

#include "dialogs/frmImport.h"
#include "main_form_fixture.h"

namespace {

QString PutText(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

// Presses OK of the import dialog, after an optional change of its choices.
std::function<TModalResult(QDialog*)> ImportAnswer(
    std::function<void(TImportDialog*)> change = {}) {
  return [change](QDialog* d) {
    auto* dlg = dynamic_cast<TImportDialog*>(d);
    EXPECT_NE(dlg, nullptr);
    if (!dlg) return TModalResult::Cancel;
    if (change) change(dlg);
    return PressOK(dlg, dlg->OKBtn);
  };
}

}  // namespace

TEST_F(MainFormTest, ImportMakesANewUntitledListAndReportsTheLosses) {
  CreateList("Old");
  AddRecord("kept", "x");
  const QString csv = PutText(Path("Contacts 2024.csv"),
                              "Name,Phone,Notes,Category\r\n"
                              "Ann,555,\"two\nlines\",Home\r\n"
                              "\r\n"
                              "Bob,\xE4\xB8\xAD\xE6\x9D\x91,,Work\r\n");
  prompts->Clear();
  prompts->AnswerMessage(TModalResult::No);  // do not save "Old"
  prompts->AnswerOpenFile(csv);
  prompts->AnswerDialog(ImportAnswer());
  prompts->AnswerMessage(TModalResult::OK);  // the report
  EXPECT_TRUE(Run("ImportAction"));
  EXPECT_EQ(prompts->Unanswered(), 0);
  EXPECT_EQ(prompts->Questions().front().text, "Save changes to database \"Old\"");

  ASSERT_NE(Doc(), nullptr);
  EXPECT_EQ(Doc()->RecordCount(), 2);
  EXPECT_EQ(Doc()->DatabaseName(), "Contacts 2024");
  EXPECT_EQ(Doc()->CustomField1(), "Name");
  EXPECT_EQ(Doc()->CustomField2(), "Phone");
  EXPECT_EQ(Doc()->GetRecord(0)->Notes(), "two\r\nlines");
  EXPECT_EQ(Doc()->GetRecord(1)->Field2(), "??");
  EXPECT_EQ(Doc()->GetRecord(1)->CategoryName(), "Work");
  EXPECT_TRUE(Doc()->FileName.empty());
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_EQ(form->windowTitle(), "Vornik");
  EXPECT_EQ(Panel(0), "Contacts 2024");
  EXPECT_EQ(Panel(2), "*");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Ann", "Bob"}));
  const QString report = prompts->Questions().back().text;
  EXPECT_TRUE(report.startsWith("2 records were imported.")) << report.toStdString();
  EXPECT_TRUE(report.contains("imported as \"?\": 2 (row 4).")) << report.toStdString();
  EXPECT_TRUE(report.contains("Blank rows skipped: 1 (row 3)")) << report.toStdString();
}

TEST_F(MainFormTest, ImportCancelledOrRefusedLeavesTheOpenList) {
  CreateList("Old");
  AddRecord("kept", "x");
  const QString csv = PutText(Path("a.csv"), "x,y\n");
  // Cancel in the file dialog, then in the import dialog.
  prompts->AnswerMessage(TModalResult::No);
  prompts->AnswerOpenFile(QString());
  Run("ImportAction");
  prompts->AnswerMessage(TModalResult::No);
  prompts->AnswerOpenFile(csv);
  prompts->AnswerDialog(CancelAnswer());
  Run("ImportAction");
  // A file that turned into something else by the time OK was pressed.
  prompts->AnswerMessage(TModalResult::No);
  prompts->AnswerOpenFile(csv);
  prompts->AnswerDialog([&](QDialog*) {
    PutText(csv, QByteArray("DATA\0\0\0LSdb", 11));
    return TModalResult::OK;
  });
  prompts->AnswerMessage(TModalResult::OK);
  Run("ImportAction");
  EXPECT_EQ(prompts->Unanswered(), 0);
  EXPECT_TRUE(LastMessage().contains(csv)) << LastMessage().toStdString();
  EXPECT_TRUE(LastMessage().contains("not text"));
  EXPECT_EQ(Doc()->DatabaseName(), "Old");
  EXPECT_EQ(Doc()->RecordCount(), 1);
  EXPECT_TRUE(Doc()->Modified());
}
