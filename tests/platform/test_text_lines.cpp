#include <gtest/gtest.h>

#include "platform/TextLines.h"

TEST(TextLines, SplitLines) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd\n"), QStringList({"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n\n"), QStringList({"a", ""}));
  EXPECT_EQ(SplitLines("\n\r"), QStringList({"", ""}));
  EXPECT_EQ(SplitLines("\r\n"), QStringList({""}));
  EXPECT_TRUE(SplitLines("").isEmpty());
}

// The row shows what the sort compares: both joins give the same text, a
// lone CR or LF included, and views already handed out stay valid.
TEST(TextLines, JoinCrLfLinesAgreeOnTextAndBytes) {
  const std::string notes[] = {"",         "plain",    "a\r\nb",          "\r\n",
                               "\r\r\n\n", "x\n\ry\r", "\r\n\r\nend\r\n", "a\r\nb\r\nc"};
  std::string storage;
  size_t room = 0;
  for (const std::string& n : notes) room += n.size();
  storage.reserve(room);
  std::vector<std::string_view> joined;
  for (const std::string& n : notes) joined.push_back(JoinCrLfLines(n, storage));
  for (size_t i = 0; i < std::size(notes); ++i) {
    QString text = QString::fromLatin1(notes[i]);
    JoinCrLfLines(text);
    EXPECT_EQ(text.toLatin1().toStdString(), std::string(joined[i])) << i;
    EXPECT_FALSE(joined[i].find("\r\n") != std::string_view::npos) << i;
  }
  EXPECT_EQ(joined[5], "x\n\ry\r");
  EXPECT_EQ(joined[6], "  end ");
  EXPECT_EQ(UniformLineBreaks("a\rb\nc\r\n\n\r"), "a\r\nb\r\nc\r\n\r\n\r\n");
}
