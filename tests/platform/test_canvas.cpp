#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/Canvas.h"

TEST(RecordingCanvas, RecordsCallsWithState) {
  TRecordingCanvas c;
  c.SetBrushColor(Qt::yellow);
  c.FillRect(QRect(1, 2, 3, 4));
  c.SetFontStyle(fsBold | fsUnderline);
  c.SetFontColor(Qt::red);
  c.TextOut(5, 6, "abc");
  c.SetPenWidth(2);
  c.DrawLine(0, 0, 10, 0);
  c.LineTo(10, 10);
  ASSERT_EQ(c.Ops().size(), 4u);
  EXPECT_EQ(c.Ops()[0].rect, QRect(1, 2, 3, 4));
  EXPECT_EQ(c.Ops()[0].brushColor, QColor(Qt::yellow));
  const auto& t = c.Ops()[1];
  EXPECT_EQ(t.from, QPoint(5, 6));
  EXPECT_EQ(t.rect, QRect(5, 6, 3 * 8, 13));  // bold: 8 a character
  EXPECT_EQ(t.fontStyle, fsBold | fsUnderline);
  EXPECT_TRUE(t.font.bold());
  EXPECT_EQ(t.fontColor, QColor(Qt::red));
  EXPECT_EQ(c.Ops()[3].from, QPoint(10, 0));
  EXPECT_EQ(c.Ops()[3].to, QPoint(10, 10));
  EXPECT_EQ(c.Ops()[3].penWidth, 2);
  c.SetFontStyle(0);
  EXPECT_EQ(c.TextWidth("abc"), 21);
}

TEST(QPainterCanvas, DrawsTextTopAlignedOnItsBrush) {
  QImage img(60, 40, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter p(&img);
    TQPainterCanvas c(&p);
    c.SetBrushColor(Qt::blue);
    c.SetFontColor(Qt::white);
    c.TextOut(10, 10, "W");
    // The cell (TextWidth x TextHeight at (10, 10)) is the brush colour.
    EXPECT_EQ(img.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(9, 9), QColor(Qt::white));
    c.SetBrushStyle(TBrushStyle::Clear);
    c.FillRect(QRect(0, 0, 5, 5));
  }
  EXPECT_EQ(img.pixelColor(2, 2), QColor(Qt::white));
}

TEST(QPainterCanvas, CollectedTextIsDrawnWhenFlushedOrBeforeAFill) {
  QImage img(80, 40, QImage::Format_RGB32);
  img.fill(Qt::white);
  auto inked = [&img](const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (img.pixelColor(x, y) != QColor(Qt::white)) return true;
    return false;
  };
  QPainter p(&img);
  TQPainterCanvas c(&p);
  c.SetBrushStyle(TBrushStyle::Clear);
  c.SetCollectText(true);
  const QRect cell(10, 5, c.TextWidth("WW"), c.TextHeight("WW"));
  c.TextOut(10, 5, "WW");
  EXPECT_FALSE(inked(cell));
  c.Flush();
  EXPECT_TRUE(inked(cell));
  // A fill draws what was collected before it first, keeping the order.
  img.fill(Qt::white);
  c.TextOut(10, 5, "WW");
  c.SetBrushStyle(TBrushStyle::Solid);
  c.SetBrushColor(Qt::blue);
  c.FillRect(QRect(70, 30, 5, 5));
  EXPECT_TRUE(inked(cell));
}

TEST(QPainterCanvas, CollectedLatin1TextIsPlacedAsTheFontPlacesAnyText) {
  // The same letters drawn once as Latin-1 text and once followed by a sign
  // beyond Latin-1 (placed by the font itself, kerned): the letters before
  // the sign come out alike, in the body font and, after a switch of font
  // and back, in bold.
  auto draw = [](const QString& text, bool bold) {
    QImage img(400, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TQPainterCanvas c(&p);
    QFont font = p.font();
    font.setPixelSize(24);
    c.SetFont(font);
    c.SetBrushStyle(TBrushStyle::Clear);
    c.SetCollectText(true);
    c.SetFontStyle(fsBold);
    c.TextOut(0, 0, QStringLiteral("x"));
    c.SetFontStyle(0);
    c.SetFontStyle(bold ? fsBold : 0);
    c.TextOut(2, 4, text);
    c.SetCollectText(false);
    const int end = c.TextWidth(QStringLiteral("AVAWAY To Ty fi"));
    p.end();
    return img.copy(0, 0, end - 2, 40);
  };
  for (const bool bold : {false, true}) {
    const QImage latin1 = draw(QStringLiteral("AVAWAY To Ty fi"), bold);
    EXPECT_EQ(latin1, draw(QStringLiteral("AVAWAY To Ty fi\u20AC"), bold)) << bold;
    EXPECT_NE(latin1, draw(QStringLiteral("AVAWAY To Tyfi \u20AC"), bold)) << bold;
  }
}

TEST(QPainterCanvas, CollectedLinesLookAsLinesDrawnOneByOne) {
  // A grid drawn row by row: vertical lines that go on where others ended,
  // rules of two pens, a vertical that starts elsewhere at the same x.
  auto draw = [](bool collect) {
    QImage img(120, 90, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TQPainterCanvas c(&p);
    c.SetCollectText(collect);
    c.SetPenWidth(5);
    c.DrawLine(10, 5, 110, 5);
    c.SetPenWidth(1);
    for (int top = 10; top < 70; top += 20) {
      c.DrawLine(10, top + 20, 110, top + 20);
      c.DrawLines({QLine(10, top, 10, top + 20), QLine(60, top, 60, top + 20),
                   QLine(110, top, 110, top + 20)});
    }
    c.DrawLine(60, 75, 60, 85);
    const QImage before = img.copy();
    c.SetPenColor(Qt::red);
    c.DrawLine(30, 15, 30, 25);
    c.Flush();
    p.end();
    return std::make_pair(before, img);
  };
  const QImage oneByOne = draw(false).second;
  const auto [collected, flushed] = draw(true);
  // The thin lines wait for the flush (the thick rule went with the pen).
  EXPECT_EQ(collected.pixelColor(60, 30), QColor(Qt::white));
  EXPECT_NE(collected.pixelColor(60, 5), QColor(Qt::white));
  EXPECT_EQ(flushed, oneByOne);
}
