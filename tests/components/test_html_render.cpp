// The markup renderer against the recording canvas: 7 pixels a character,
// 8 while bold, 13 high.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "components/QRXHtmlControls.h"
#include "platform/Canvas.h"

namespace {
using Op = TRecordingCanvas::Op;

struct Drawn {
  QString text;
  int x, y;
  int style;
  QColor color;
};

std::vector<Drawn> DrawLine(TRecordingCanvas& c, const QRect& rect, const QString& line,
                            THtmlLineResult* result = nullptr) {
  c.Clear();
  const THtmlLineResult r = HtmlRenderLine(&c, rect, line, false);
  if (result) *result = r;
  std::vector<Drawn> out;
  for (const Op& op : c.TextOps())
    out.push_back({op.text, op.from.x(), op.from.y(), op.fontStyle, op.fontColor});
  return out;
}

QColor ColorAfter(const QString& line) {
  TRecordingCanvas c;
  c.SetFontColor(QColor(1, 2, 3));
  HtmlLineWidth(c, line);
  return c.FontColor();
}
}  // namespace

TEST(HtmlRender, DefaultCaptionSegments) {
  TRecordingCanvas c;
  THtmlLineResult r;
  const auto d = DrawLine(c, QRect(0, 0, 200, 20), "<b>Html</b> <c:blue>label<c:black>", &r);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].text, "Html");
  EXPECT_EQ(d[0].x, 2);
  EXPECT_EQ(d[0].style, fsBold);
  EXPECT_EQ(d[1].text, " ");
  EXPECT_EQ(d[1].x, 2 + 4 * 8);
  EXPECT_EQ(d[1].style, 0);
  EXPECT_EQ(d[2].text, "label");
  EXPECT_EQ(d[2].x, 2 + 32 + 7);
  EXPECT_EQ(d[2].color, QColor(0, 0, 255));
  EXPECT_EQ(r.width, 32 + 7 + 35 + 6);
  EXPECT_EQ(r.plain, "Html label");
  EXPECT_EQ(c.FontColor(), QColor(0, 0, 0));
  // The rectangle is filled first with the brush.
  ASSERT_FALSE(c.Ops().empty());
  EXPECT_EQ(c.Ops()[0].kind, Op::Fill);
  EXPECT_EQ(c.Ops()[0].rect, QRect(0, 0, 200, 20));
}

TEST(HtmlRender, PositionsFollowTheRectangle) {
  TRecordingCanvas c;
  THtmlLineResult r;
  const auto d = DrawLine(c, QRect(10, 5, 100, 13), "ab<i>cd</i>ef", &r);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(QPoint(d[0].x, d[0].y), QPoint(12, 5));
  EXPECT_EQ(QPoint(d[1].x, d[1].y), QPoint(26, 5));
  EXPECT_EQ(d[1].style, fsItalic);
  EXPECT_EQ(QPoint(d[2].x, d[2].y), QPoint(40, 5));
  EXPECT_EQ(r.width, 6 * 7 + 6);
}

TEST(HtmlRender, WidthIsTextPlusSix) {
  TRecordingCanvas c;
  EXPECT_EQ(HtmlLineWidth(c, ""), 6);
  EXPECT_EQ(HtmlLineWidth(c, "abc"), 3 * 7 + 6);
  EXPECT_EQ(HtmlLineWidth(c, QRect(50, 9, 0, 0), "abc"), 3 * 7 + 6);
  EXPECT_EQ(HtmlLineWidth(c, "<u>a</u><b>bb"), 7 + 16 + 6);
  // Measuring draws nothing but leaves the tags' state on the canvas.
  c.Clear();
  EXPECT_EQ(HtmlLineWidth(c, "<i><c:red>x"), 8 + 6);  // still bold from the line before
  EXPECT_TRUE(c.Ops().empty());
  EXPECT_EQ(c.FontStyle(), fsBold | fsItalic);
  EXPECT_EQ(c.FontColor(), QColor(255, 0, 0));
  // Without a surface: width 6, plain text only.
  const THtmlLineResult none = HtmlRenderLine(nullptr, QRect(), "<b>long text</b>", false);
  EXPECT_EQ(none.width, 6);
  EXPECT_EQ(none.plain, "long text");
}

TEST(HtmlRender, LiteralAngleBrackets) {
  TRecordingCanvas c;
  const struct {
    const char* line;
    const char* drawn;
  } cases[] = {
      {"a<bc", "a<bc"},          // "b" without ">"
      {"<cx>y", "<cx>y"},        // "c" without ":"
      {"<s>x</s>", "<s>x</s>"},  // not a tag of ours
      {"< b>x", "< b>x"},        // blank after '<'
      {"a > b", "a > b"},        // '>' alone
      {"<<b>", "<"},             // the second '<' starts the tag
      {"<bb>", "<bb>"},
      {"&x", "&x"},
  };
  for (const auto& t : cases) {
    const auto d = DrawLine(c, QRect(), t.line);
    QString all;
    for (const Drawn& s : d) all += s.text;
    EXPECT_EQ(all, t.drawn) << t.line;
    EXPECT_EQ(HtmlPlainText(t.line), t.drawn) << t.line;
  }
}

TEST(HtmlRender, TagsAreCaseInsensitiveAndAbsolute) {
  TRecordingCanvas c;
  auto d = DrawLine(c, QRect(), "<B>x</B>y<U>z<I>w</u></i>v");
  ASSERT_EQ(d.size(), 5u);
  EXPECT_EQ(d[0].style, fsBold);
  EXPECT_EQ(d[1].style, 0);
  EXPECT_EQ(d[2].style, fsUnderline);
  EXPECT_EQ(d[3].style, fsUnderline | fsItalic);
  EXPECT_EQ(d[4].style, 0);
  // No stack: two opening tags are ended by one closing tag.
  d = DrawLine(c, QRect(), "<b><b>x</b>y");
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d[1].style, 0);
  EXPECT_EQ(HtmlPlainText("<B>x</B><C:RED>y"), "xy");
}

TEST(HtmlRender, ColourTagWithoutCloseEndsTheLine) {
  TRecordingCanvas c;
  THtmlLineResult r;
  auto d = DrawLine(c, QRect(), "ab<c:red", &r);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].text, "ab");
  EXPECT_EQ(c.FontColor(), QColor(255, 0, 0));
  EXPECT_EQ(r.plain, "ab");
  // The rest of the line is the (unknown) name: nothing more is drawn.
  c.SetFontColor(Qt::black);
  d = DrawLine(c, QRect(), "ab<c:red more", &r);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(c.FontColor(), QColor(Qt::black));
  EXPECT_EQ(r.plain, "ab");
}

TEST(HtmlColors, Resolution) {
  const QColor unchanged(1, 2, 3);
  EXPECT_EQ(ColorAfter("<c:>x"), unchanged);
  EXPECT_EQ(ColorAfter("<c:nosuch>x"), unchanged);
  EXPECT_EQ(ColorAfter("<c:clBlue>x"), unchanged);  // the prefix is added, not expected
  EXPECT_EQ(ColorAfter("<c:255>x"), unchanged);     // decimal numbers name nothing
  EXPECT_EQ(ColorAfter("<c:$>x"), unchanged);
  EXPECT_EQ(ColorAfter("<c:$12G4>x"), unchanged);
  EXPECT_EQ(ColorAfter("<c:$ FF>x"), unchanged);
  EXPECT_EQ(ColorAfter("<c:$123456789>x"), unchanged);  // more than 32 bits
  EXPECT_EQ(ColorAfter("<c:none>x"), unchanged);        // the no-colour value
  EXPECT_EQ(ColorAfter("<c: blue>x"), unchanged);
  EXPECT_EQ(ColorAfter("<c:$0000FF>x"), QColor(255, 0, 0));
  EXPECT_EQ(ColorAfter("<c:$ff0000>x"), QColor(0, 0, 255));
  EXPECT_EQ(ColorAfter("<c:$00000000FF>x"), QColor(255, 0, 0));
  EXPECT_EQ(ColorAfter("<c:BLUE>x"), QColor(0, 0, 255));
  EXPECT_EQ(ColorAfter("<c:moneygreen>x"), QColor(192, 220, 192));
  EXPECT_EQ(ColorAfter("<c:medgray>x"), QColor(160, 160, 164));
  const QPalette pal = QApplication::palette();
  EXPECT_EQ(ColorAfter("<c:InfoBk>x"), pal.color(QPalette::ToolTipBase));
  EXPECT_EQ(ColorAfter("<c:infotext>x"), pal.color(QPalette::ToolTipText));
  EXPECT_EQ(ColorAfter("<c:Window>x"), pal.color(QPalette::Base));
  EXPECT_EQ(ColorAfter("<c:BtnFace>x"), pal.color(QPalette::Button));
  EXPECT_EQ(ColorAfter("<c:GrayText>x"), pal.color(QPalette::Disabled, QPalette::Text));
  EXPECT_EQ(ColorAfter("<c:default>x"), pal.color(QPalette::Text));
  EXPECT_EQ(ColorAfter("<c:$80000018>x"), pal.color(QPalette::ToolTipBase));  // system 24
}

TEST(HtmlColors, TableHas52DistinctNamesThatAllResolveOrAreNone) {
  const THtmlColorName* t = HtmlColorTable();
  QStringList names;
  for (int i = 0; i < kHtmlColorCount; ++i) {
    const QString name = QString::fromLatin1(t[i].name);
    ASSERT_TRUE(name.startsWith("cl")) << i;
    EXPECT_FALSE(names.contains(name, Qt::CaseInsensitive)) << name.toStdString();
    names << name;
    QColor c;
    EXPECT_EQ(HtmlResolveColor(name.mid(2), c), t[i].value != clNone) << name.toStdString();
  }
  EXPECT_EQ(names.size(), 52);
}

TEST(HtmlText, PlainText) {
  // A colour tag without '>' stops at the line break, which stays.
  EXPECT_EQ(HtmlPlainText("a<b>b\r\nc<c:red\nd</b>"), "ab\r\nc\nd");
  EXPECT_EQ(HtmlPlainText("no tags < at all >"), "no tags < at all >");
}
