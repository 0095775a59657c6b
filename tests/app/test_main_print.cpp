// Print and Copy to clipboard from the main window: the printout read back
// from the PDF, and the clipboard after a copy.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "main_form_fixture.h"

namespace {

class MainFormPrintTest : public MainFormTest {
 protected:
  void OpenSample() {
    WriteListFile(Path("s.pdb"), "Contacts", {"Work", "Home"},
                  {{"Anna", "200", "first line\r\nsecond line\nthird line", 1},
                   {"Bo", "300", "", 2},
                   {"Carl", "100", "", 1},
                   {"Dora", "400", "home note", 2},
                   {"Eva", "250", "", 1}});
    OpenFile(Path("s.pdb"));
    ASSERT_NE(Doc(), nullptr);
  }
  // The PDF's text in reading order.
  QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", pdf, "-"});
    EXPECT_TRUE(p.waitForFinished(20000));
    return QString::fromUtf8(p.readAllStandardOutput());
  }
};

}  // namespace

TEST_F(MainFormPrintTest, PrintsTheFilteredSortedRowsToPdf) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "no pdftotext";
  OpenSample();
  PickCategory("Work");
  ClickHeader(1);
  ClickHeader(1);  // field 2 descending: Eva, Anna, Carl
  ASSERT_EQ(RowTexts(0), (std::vector<std::string>{"Eva", "Anna", "Carl"}));

  const QString pdf = Path("out.pdf");
  prompts->AnswerPrint(true, pdf);
  ASSERT_TRUE(Run(Action("PrintFileAction")));
  EXPECT_EQ(prompts->Unanswered(), 0);
  const QString text = PdfText(pdf);
  const QStringList lines = text.split('\n');
  auto lineOf = [&lines](const QString& what) {
    for (int i = 0; i < lines.size(); ++i)
      if (lines[i].contains(what)) return i;
    return -1;
  };
  EXPECT_GE(lineOf("Contacts"), 0) << text.toStdString();
  EXPECT_LT(lineOf("Contacts"), lineOf("Eva"));
  EXPECT_LT(lineOf("Eva"), lineOf("Anna"));
  EXPECT_LT(lineOf("Anna"), lineOf("Carl"));
  EXPECT_EQ(lineOf("Bo "), -1);
  EXPECT_EQ(lineOf("Dora"), -1);
  // The note keeps its three lines, one under the other in the row.
  const int first = lineOf("first line");
  EXPECT_EQ(lineOf("second line"), first + 1);
  EXPECT_EQ(lineOf("third line"), first + 2);
  EXPECT_GT(lineOf("Printed on "), lineOf("Carl"));
  // The text reader gives the label's two blanks back as one.
  EXPECT_TRUE(lines[lineOf("Page:")].contains(QRegularExpression("Page:\\s+1$")));
  EXPECT_FALSE(text.contains(QRegularExpression("Page:\\s+2")));
}

TEST_F(MainFormPrintTest, PrintedTextReadsAsTypedAndStaysOnThePage) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "no pdftotext";
  // "fi", "fl" and "ff" are ligatures in many fonts; a note of 4,095
  // characters without a blank is wider than the page.
  const std::string note(4095, 'n');
  WriteListFile(Path("u.pdb"), "Office files", {},
                {{"Anna", "fluffy coffee", "", 0}, {"Bo", "", note, 0}});
  OpenFile(Path("u.pdb"));
  const QString pdf = Path("u.pdf");
  prompts->AnswerPrint(true, pdf);
  ASSERT_TRUE(Run(Action("PrintFileAction")));
  const QString text = PdfText(pdf);
  EXPECT_EQ(text.count("Unfiled"), 2) << text.toStdString();
  EXPECT_TRUE(text.contains("Office files"));
  EXPECT_TRUE(text.contains("fluffy"));
  EXPECT_TRUE(text.contains("coffee"));
  // The note's lines, one under the other, hold every character.
  qsizetype printed = 0;
  for (const QRegularExpressionMatch& run : QRegularExpression("n{10,}").globalMatch(text))
    printed += run.capturedLength();
  EXPECT_EQ(printed, 4095);
}

TEST_F(MainFormPrintTest, PrintNeedsADocumentAndACancelledDialogPrintsNothing) {
  Update();
  EXPECT_FALSE(Action("PrintFileAction")->isEnabled());
  OpenSample();
  prompts->AnswerPrint(false);
  ASSERT_TRUE(Run(Action("PrintFileAction")));
  EXPECT_EQ(prompts->Pending(), 0);
  EXPECT_FALSE(QFile::exists(Path("out.pdf")));
}

TEST_F(MainFormPrintTest, CopiesOnlyTheFirstSelectedRecord) {
  OpenSample();
  Update();
  EXPECT_FALSE(Action("CopyToClipboardAction")->isEnabled());
  SelectRows({1, 2, 3});
  ASSERT_TRUE(Run(Action("CopyToClipboardAction")));
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data);
  EXPECT_EQ(data->text(), "\r\nHome\r\nName:\r\nBo\r\nPhone:\r\n300\r\nNote:\r\n\r\n");
  EXPECT_TRUE(data->hasFormat("text/rtf"));
}
