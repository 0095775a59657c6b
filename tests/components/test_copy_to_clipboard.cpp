#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "components/CopyToClipboard.h"
#include "core/listdb.h"
#include "platform/RichText.h"

namespace {

class CopyToClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    document.SetCustomField1("Name");
    document.SetCustomField2("Phone");
    document.Categories().Add("Business");
    record = document.AddRecord();
    record->SetField1("}{\\rtf1\\b x");
    record->SetField2("caf\xE9 <b>&amp;</b>");
    record->SetNotes("line one\r\nline two\r\n\r\nfour");
    record->SetCategoryID(1);
  }
  TRichText Text() const {
    return RecordClipboardText(*record, document, QFont("DejaVu Sans", 10), Qt::darkGreen,
                               Qt::black);
  }

  TListDBData document;
  TListRecord* record = nullptr;
};

// Whether no group closes before the document's last character.
bool RtfGroupsBalanced(const QByteArray& rtf) {
  int depth = 0;
  for (qsizetype i = 0; i < rtf.size(); ++i) {
    const char c = rtf.at(i);
    if (c == '\\') {
      ++i;  // the escaped character or the control word's first letter
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) return rtf.mid(i + 1).trimmed().isEmpty();
    }
  }
  return false;
}

TEST_F(CopyToClipboardTest, PlainTextHasEveryLineEndedByCrLf) {
  EXPECT_EQ(Text().ToPlainText(),
            QString::fromLatin1("\r\nBusiness\r\nName:\r\n}{\\rtf1\\b x\r\nPhone:\r\n"
                                "caf\xE9 <b>&amp;</b>\r\nNote:\r\nline one\r\nline two\r\n\r\n"
                                "four\r\n"));
  record->SetNotes("");
  EXPECT_TRUE(Text().ToPlainText().endsWith("\r\nNote:\r\n\r\n"));
}

TEST_F(CopyToClipboardTest, RtfReadsBackWithItsRunsAndTheValuesLiterally) {
  const QByteArray rtf = Text().ToRtf();
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
  EXPECT_TRUE(rtf.contains("\\}\\{\\\\rtf1\\\\b x"));
  EXPECT_TRUE(rtf.contains("caf\\'e9"));
  EXPECT_TRUE(rtf.contains("\\li800\\fi-400"));  // 20 points, then 20 more
  EXPECT_TRUE(RtfGroupsBalanced(rtf));

  const QString unrtf = QStandardPaths::findExecutable("unrtf");
  if (unrtf.isEmpty()) GTEST_SKIP() << "unrtf is not installed";
  QTemporaryDir dir;
  QFile file(dir.filePath("copy.rtf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(rtf);
  file.close();
  QProcess reader;
  reader.start(unrtf, {"--html", file.fileName()});
  ASSERT_TRUE(reader.waitForFinished(10000));
  const QString html = QString::fromUtf8(reader.readAllStandardOutput());
  EXPECT_TRUE(html.contains("<font color=\"#000080\"><u>Business<br>")) << html.toStdString();
  EXPECT_TRUE(html.contains("<b>Name:<br>"));
  EXPECT_TRUE(html.contains("<b>Phone:<br>"));
  EXPECT_TRUE(html.contains("<b>Note:<br>"));
  EXPECT_EQ(html.count("<b>"), 3);  // the hostile value turned nothing bold
  EXPECT_EQ(html.count("<u>"), 1);
  EXPECT_TRUE(html.contains("}{\\rtf1\\b x<br>"));
  EXPECT_TRUE(html.contains("caf&eacute; &lt;b&gt;&amp;amp;&lt;/b&gt;<br>"));
  EXPECT_TRUE(html.contains("line two<br>"));
  EXPECT_TRUE(html.contains("four<br>"));
}

TEST_F(CopyToClipboardTest, HtmlEscapesValuesAndClipboardGetsAllThreeForms) {
  const QString html = Text().ToHtml();
  EXPECT_TRUE(html.contains("caf\u00E9 &lt;b&gt;&amp;amp;&lt;/b&gt;"));
  EXPECT_FALSE(html.contains("<b>"));
  EXPECT_TRUE(html.contains("text-decoration: underline;color") ||
              html.contains("color:#000080;text-decoration: underline"));

  CopyRecordToClipboard(*record, document, QFont("DejaVu Sans", 10), Qt::darkGreen, Qt::black);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data);
  EXPECT_EQ(data->data(RtfMimeType()), Text().ToRtf());
  EXPECT_TRUE(data->hasHtml());
  EXPECT_TRUE(data->text().startsWith("\r\nBusiness\r\nName:\r\n"));
}

TEST(RichText, EscapesControlCharactersAndCharactersBeyondTheCodePage) {
  EXPECT_EQ(RtfEscape(QString::fromUtf8("a\tb\x01\xE2\x82\xAC\xE4\xB8\xAD")),
            QByteArray("a\\tab b\\'01\\'80\\u20013?"));
  TRichText text(QFont("Odd;Face", 9), Qt::black);
  EXPECT_TRUE(text.ToRtf().contains("Odd\\'3bFace;"));
  EXPECT_TRUE(RtfGroupsBalanced(text.ToRtf()));
}

}  // namespace
