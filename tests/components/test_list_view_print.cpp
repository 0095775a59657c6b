#include <gtest/gtest.h>

#include <QListView>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>
#include <memory>

#include "components/ListViewPrints.h"
#include "components/RecImages.h"
#include "platform/Printer.h"

namespace {

using Op = TRecordingCanvas::Op;

// The recorder measures 7 pixels a character (8 bold) and 13 a line, so:
// W = 7, H = 13; margins top 26, bottom 26, left 28, right 7.
constexpr int kW = 7, kH = 13, kTop = 26, kLeft = 28, kRight = 7;

class ListViewPrintTest : public ::testing::Test {
 protected:
  void SetColumns(const QStringList& captions) { model.setHorizontalHeaderLabels(captions); }
  void AddRow(const QStringList& texts) {
    QList<QStandardItem*> items;
    for (const QString& t : texts) items << new QStandardItem(t);
    model.appendRow(items);
  }
  TS_ListViewPrint& Make(int pageWidth = 1000, int pageHeight = 1400) {
    view.setModel(&model);
    printer = std::make_unique<TRecordingPrinter>(pageWidth, pageHeight);
    lvp = std::make_unique<TS_ListViewPrint>(&view);
    lvp->SetPrinter(*printer);
    return *lvp;
  }
  std::vector<Op> Lines(int page, int penWidth) const {
    std::vector<Op> out;
    for (const Op& op : printer->PageOps(page))
      if (op.kind == Op::Line && op.penWidth == penWidth) out.push_back(op);
    return out;
  }
  const Op* FindText(int page, const QString& text) const {
    static std::vector<Op> ops;
    ops = printer->PageTexts(page);
    for (const Op& op : ops)
      if (op.text == text) return &op;
    return nullptr;
  }

  QStandardItemModel model;
  QTreeView view;
  std::unique_ptr<TRecordingPrinter> printer;
  std::unique_ptr<TS_ListViewPrint> lvp;
};

TEST_F(ListViewPrintTest, RefusesMissingViewAndViewsWithoutColumns) {
  try {
    TS_ListViewPrint p(nullptr);
    FAIL();
  } catch (const ES_ListViewPrintError& e) {
    EXPECT_STREQ(e.what(), "ListView can not be a NULL");
  }
  QListView list;
  try {
    TS_ListViewPrint p(&list);
    FAIL();
  } catch (const ES_ListViewPrintError& e) {
    EXPECT_STREQ(e.what(), "List view must be in vsReport mode...");
  }
}

TEST_F(ListViewPrintTest, TakesSettingsFromTheViewAndMarginsFromThePrinter) {
  view.setProperty("gridLines", true);
  view.setIconSize(QSize(16, 16));
  view.setHeaderHidden(true);
  TS_ListViewPrint& p = Make();
  EXPECT_TRUE(p.GridLines);
  EXPECT_TRUE(p.PrintImages);
  EXPECT_FALSE(p.ShowColumnHeaders);
  EXPECT_TRUE(p.PrintPageNumbers);
  EXPECT_EQ(p.TopMargin(), 2 * kH);
  EXPECT_EQ(p.BottomMargin(), 2 * kH);
  EXPECT_EQ(p.LeftMargin(), 4 * kW);
  EXPECT_EQ(p.RightMargin(), kW);
}

TEST_F(ListViewPrintTest, ColumnWidthsFillThePrintableWidthInProportion) {
  SetColumns({"Name", "Note"});
  AddRow({"Anna", "x"});
  // Widest first cell: W + 11 characters; widest note line: "abcdefgh" and
  // the "W" measured after the last line.
  AddRow({"Christopher", "ab\r\nabcdefgh"});
  TS_ListViewPrint& p = Make();
  p.ComputeColumnWidths();
  // Natural widths 84 + 14 and 63 + 14, scaled by 965 / 175.
  EXPECT_EQ(p.ColumnWidths(), (std::vector<int>{540, 425}));

  // Wider content than the page narrows every column alike.
  AddRow({QString(300, 'a'), QString(100, 'b')});
  p.ComputeColumnWidths();
  EXPECT_EQ(p.ColumnWidths()[0] + p.ColumnWidths()[1], 965);
  EXPECT_NEAR(double(p.ColumnWidths()[0]) / p.ColumnWidths()[1], (7.0 + 2100 + 14) / (707 + 14),
              0.01);
}

TEST_F(ListViewPrintTest, ColumnWidthsRoundHalvesToEven) {
  SetColumns({"a", "b"});
  AddRow({"", "abcdefghijkl"});      // natural widths 35 and 105
  TS_ListViewPrint& p = Make(1001);  // 966 available: 241.5 and 724.5
  p.ComputeColumnWidths();
  EXPECT_EQ(p.ColumnWidths(), (std::vector<int>{242, 724}));
}

TEST_F(ListViewPrintTest, EmptyListPrintsTitleClosingTextAndLabelOnOnePage) {
  SetColumns({"Name", "Phone"});
  TS_ListViewPrint& p = Make();
  p.Title = "  My list\r\n";
  p.EndText = "Done";
  p.PageText = "Page: ";
  ASSERT_TRUE(p.Print());
  EXPECT_EQ(printer->JobState(), TRecordingPrinter::State::Ended);
  ASSERT_EQ(printer->Pages(), 1);
  const auto texts = printer->PageTexts(1);
  ASSERT_EQ(texts.size(), 3u);  // no heading band without a row
  EXPECT_EQ(texts[0].text, "My list");
  EXPECT_EQ(texts[0].from, QPoint(kLeft + (1000 - kLeft - kRight - 49) / 2, kTop));
  // After the title: its height + H/4, then H; the closing text 2 H lower.
  EXPECT_EQ(texts[1].text, "Done");
  EXPECT_EQ(texts[1].from, QPoint(kLeft, kTop + 13 + 3 + 13 + 26));
  EXPECT_EQ(texts[1].fontStyle, fsBold);
  EXPECT_EQ(texts[2].text, "Page:  1");
  EXPECT_EQ(texts[2].from, QPoint(1000 - kRight - 8 * kW, 1400 - kH));
  EXPECT_TRUE(printer->PageOps(1).size() == 3u);  // and no rules
}

TEST_F(ListViewPrintTest, HeadingBandAndRowWithGridLines) {
  SetColumns({"Name", "Phone"});
  AddRow({"Anna", "123"});
  view.setProperty("gridLines", true);
  TS_ListViewPrint& p = Make();
  ASSERT_TRUE(p.Print());
  const int w0 = p.ColumnWidths()[0];
  const auto texts = printer->PageTexts(1);
  ASSERT_EQ(texts.size(), 4u);
  // Captions in bold at column left + W(bold) + 2, 4 + 2 below the band top.
  EXPECT_EQ(texts[0].from, QPoint(kLeft + 8 + 2, kTop + 6));
  EXPECT_EQ(texts[0].fontStyle, fsBold);
  EXPECT_EQ(texts[1].from, QPoint(kLeft + w0 + 10, kTop + 6));
  // The band is 4 + H + 4 + 4 high; cells at x + W + 2, y + 2.
  const int rowTop = kTop + 4 + 13 + 8;
  EXPECT_EQ(texts[2].from, QPoint(kLeft + kW + 2, rowTop + 2));
  EXPECT_EQ(texts[2].fontStyle, 0);
  EXPECT_EQ(texts[3].from, QPoint(kLeft + w0 + kW + 2, rowTop + 2));

  const auto thick = Lines(1, 5);
  ASSERT_EQ(thick.size(), 2u);
  EXPECT_EQ(thick[0].from, QPoint(kLeft, kTop));
  EXPECT_EQ(thick[0].to, QPoint(1000 - kRight, kTop));
  EXPECT_EQ(thick[1].from.y(), rowTop);
  // Thin: verticals of the band (3), the row's rule and its verticals (3).
  const auto thin = Lines(1, 1);
  ASSERT_EQ(thin.size(), 7u);
  const int rowBottom = rowTop + 17 + 2;
  EXPECT_EQ(thin[3].from, QPoint(kLeft, rowBottom));
  EXPECT_EQ(thin[6].from, QPoint(kLeft + 965, rowTop));
  EXPECT_EQ(thin[6].to, QPoint(kLeft + 965, rowBottom + 2));
  EXPECT_EQ(printer->Recorder().PenWidth(), 1);  // restored
}

TEST_F(ListViewPrintTest, WithoutGridLinesRowsHaveNoRulesButTheBandKeepsItsOwn) {
  SetColumns({"Name"});
  AddRow({"Anna"});
  AddRow({"Bo"});
  TS_ListViewPrint& p = Make();
  ASSERT_FALSE(p.GridLines);
  ASSERT_TRUE(p.Print());
  EXPECT_EQ(Lines(1, 5).size(), 2u);
  EXPECT_TRUE(Lines(1, 1).empty());

  // Headings off, grid on: one thin rule where the band would be.
  p.ShowColumnHeaders = false;
  p.GridLines = true;
  ASSERT_TRUE(p.Print());
  EXPECT_TRUE(Lines(1, 5).empty());
  EXPECT_EQ(Lines(1, 1).front().from, QPoint(kLeft, kTop));
  EXPECT_EQ(printer->PageTexts(1).front().from, QPoint(kLeft + kW + 2, kTop + 2));
}

TEST_F(ListViewPrintTest, LongCellWrapsAndTheRowGrowsToItsTallestCell) {
  SetColumns({"Name", "Note"});
  AddRow({"Anna", "one two three four five six seven eight nine ten"});
  TS_ListViewPrint& p = Make(300);  // 265 available: the note column gets 229
  ASSERT_TRUE(p.Print());
  const int w1 = p.ColumnWidths()[1];
  const int limit = w1 / kW;
  const auto texts = printer->PageTexts(1);
  std::vector<Op> noteLines;
  for (const Op& t : texts)
    if (t.from.x() == kLeft + p.ColumnWidths()[0] + kW + 2 && t.fontStyle == 0)
      noteLines.push_back(t);
  ASSERT_GT(noteLines.size(), 1u);
  for (size_t j = 0; j < noteLines.size(); ++j) {
    EXPECT_LE(noteLines[j].text.size(), limit) << noteLines[j].text.toStdString();
    EXPECT_EQ(noteLines[j].from.y(), noteLines[0].from.y() + int(j) * 17);
  }
  // The first cell stays on the row's first line.
  const Op* anna = FindText(1, "Anna");
  ASSERT_TRUE(anna);
  EXPECT_EQ(anna->from.y(), noteLines[0].from.y());
}

TEST_F(ListViewPrintTest, PagesBreakAfterTheRowThatReachesTheThreshold) {
  SetColumns({"Name"});
  for (int i = 0; i < 61; ++i) AddRow({QString("Row %1").arg(i)});
  view.setProperty("gridLines", true);
  TS_ListViewPrint& p = Make();
  p.PageText = "Page: ";
  p.EndText = "End";
  ASSERT_TRUE(p.Print());
  // Rows of 21 pixels from 51: row 61 ends at 1332 >= 1400 - 52 - 36. The
  // last row broke the page: the closing text and its label stand alone.
  ASSERT_EQ(printer->Pages(), 2);
  const auto page1 = printer->PageTexts(1);
  EXPECT_EQ(page1.front().text, "Name");
  EXPECT_EQ(page1[61].text, "Row 60");
  EXPECT_EQ(page1.back().text, "Page:  1");
  const auto page2 = printer->PageTexts(2);
  ASSERT_EQ(page2.size(), 2u);
  EXPECT_EQ(page2[0].text, "End");
  EXPECT_EQ(page2[1].text, "Page:  2");

  // One row more: the heading band is repeated in front of it.
  AddRow({"Row 61"});
  ASSERT_TRUE(p.Print());
  const auto more = printer->PageTexts(2);
  ASSERT_EQ(more.size(), 4u);
  EXPECT_EQ(more[0].text, "Name");
  EXPECT_EQ(more[0].from.y(), kTop + 6);
  EXPECT_EQ(more[1].text, "Row 61");

  // With nothing to print after the last row, no empty page follows it.
  model.removeRow(61);
  p.EndText.clear();
  p.PageText.clear();
  ASSERT_TRUE(p.Print());
  EXPECT_EQ(printer->Pages(), 1);
}

TEST_F(ListViewPrintTest, EmptyPageTextPrintsNoLabel) {
  SetColumns({"Name"});
  AddRow({"Anna"});
  TS_ListViewPrint& p = Make();
  p.PrintPageNumbers = true;
  ASSERT_TRUE(p.Print());
  for (const Op& t : printer->PageTexts(1)) EXPECT_FALSE(t.text.startsWith("Page")) << "label";
  EXPECT_EQ(printer->PageTexts(1).size(), 2u);
  p.PageText = "Seite";
  p.PrintPageNumbers = false;
  ASSERT_TRUE(p.Print());
  EXPECT_EQ(printer->PageTexts(1).back().text, "Seite");
}

TEST_F(ListViewPrintTest, RowTallerThanAPageContinuesOnTheNextWithinTheMargins) {
  SetColumns({"Name", "Note"});
  QStringList note;
  for (int i = 0; i < 150; ++i) note << QString("line %1").arg(i);
  AddRow({"Before", "x"});
  AddRow({"Anna", note.join("\r\n")});
  TS_ListViewPrint& p = Make();
  p.PageText = "Page: ";
  ASSERT_TRUE(p.Print());
  ASSERT_EQ(printer->Pages(), 3);
  QStringList printed;
  for (int page = 1; page <= 3; ++page) {
    for (const Op& t : printer->PageTexts(page)) {
      if (t.text.startsWith("line ")) printed << t.text;
      if (!t.text.startsWith("Page")) {
        EXPECT_LE(t.rect.bottom(), 1400 - 26) << t.text.toStdString();
      }
    }
    EXPECT_EQ(printer->PageTexts(page).front().text, "Name");  // headings on every page
  }
  EXPECT_EQ(printed, note);
}

TEST_F(ListViewPrintTest, ImageDrawnInFrontOfTheFirstCell) {
  SetColumns({"Name"});
  AddRow({"Anna"});
  model.item(0, 0)->setIcon(RecImageIcon(kRecordImage));
  view.setIconSize(QSize(16, 16));
  TS_ListViewPrint& p = Make();
  ASSERT_TRUE(p.Print());
  const Op* text = FindText(1, "Anna");
  ASSERT_TRUE(text);
  const int offset = kW + kW + 16;
  EXPECT_EQ(text->from.x(), kLeft + offset + 2);
  for (const Op& op : printer->PageOps(1)) {
    if (op.kind != Op::Image) continue;
    const int right = kLeft + offset - kH / 3;
    EXPECT_EQ(op.rect, QRect(right - kH + 2, text->from.y(), kH - 2, kH - 2));
    // The 16 standard colours, and transparent where the icon leaves the
    // bitmap empty: no background over the rules.
    EXPECT_EQ(op.image.format(), QImage::Format_Indexed8);
    EXPECT_LE(op.image.colorCount(), 17);
    int opaque = 0, clear = 0;
    for (int y = 0; y < op.image.height(); ++y) {
      for (int x = 0; x < op.image.width(); ++x) {
        const QRgb pixel = op.image.pixel(x, y);
        (qAlpha(pixel) == 0 ? clear : opaque)++;
        EXPECT_TRUE(qAlpha(pixel) == 0 || qAlpha(pixel) == 255);
      }
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(clear, 0);
    EXPECT_EQ(qAlpha(op.image.pixel(0, 0)), 0);
    return;
  }
  FAIL() << "no image drawn";
}

TEST_F(ListViewPrintTest, CancelAndFailureAbortTheJob) {
  SetColumns({"Name"});
  for (int i = 0; i < 200; ++i) AddRow({"Row"});
  TS_ListViewPrint& p = Make();
  int calls = 0;
  p.OnProgress = [&calls](int printed, int total) {
    ++calls;
    EXPECT_EQ(total, 200);
    return printed < 70;
  };
  EXPECT_FALSE(p.Print());
  EXPECT_EQ(calls, 200 + 70);  // each row measured, then 70 printed
  EXPECT_EQ(printer->JobState(), TRecordingPrinter::State::Aborted);

  // Cancelled while the widths are measured: no job was started.
  TRecordingPrinter idle;
  p.SetPrinter(idle);
  calls = 0;
  p.OnProgress = [&calls](int printed, int) {
    EXPECT_EQ(printed, 0);
    return ++calls < 10;
  };
  EXPECT_FALSE(p.Print());
  EXPECT_EQ(calls, 10);
  EXPECT_EQ(idle.JobState(), TRecordingPrinter::State::Idle);
  p.SetPrinter(*printer);

  p.OnProgress = [](int, int) -> bool { throw EPrinterError("out of paper"); };
  EXPECT_THROW(p.Print(), EPrinterError);
  EXPECT_EQ(printer->JobState(), TRecordingPrinter::State::Aborted);
  EXPECT_EQ(printer->Recorder().FontStyle(), 0);
}

// Every text output lies inside the cell it starts in, clear of the column's
// right edge, and the table ends at the right margin; the page label ends
// at the margin itself.
void ExpectTextsInsideCells(const TRecordingPrinter& printer, const TS_ListViewPrint& p,
                            int pageWidth) {
  std::vector<int> edges{p.LeftMargin()};
  for (const int w : p.ColumnWidths()) edges.push_back(edges.back() + w);
  EXPECT_EQ(edges.back(), pageWidth - p.RightMargin());
  for (int page = 1; page <= printer.Pages(); ++page) {
    for (const Op& t : printer.PageTexts(page)) {
      EXPECT_LE(t.rect.right(), pageWidth - p.RightMargin()) << t.text.toStdString();
      if (t.text.startsWith("Page:")) continue;
      const auto right = std::upper_bound(edges.begin(), edges.end(), t.from.x());
      if (right == edges.end()) continue;
      EXPECT_LT(t.rect.right(), *right - 2) << t.text.toStdString();
    }
  }
}

TEST_F(ListViewPrintTest, LongWordsBreakInsideTheirCellAndKeepEveryCharacter) {
  SetColumns({"Name", "Note", "Category"});
  const QString url = "https://example.com/" + QString(150, 'x') + "/index.html?a=1";
  AddRow({"Anna", "see " + url + " for more", "Unfiled"});
  AddRow({"Bo", "less<than" + QString(100, 'W'), "Unfiled"});
  TS_ListViewPrint& p = Make(600);
  ASSERT_TRUE(p.Print());
  ExpectTextsInsideCells(*printer, p, 600);
  // The note's pieces, joined, give the note back (blanks at a break aside).
  const int noteX = p.LeftMargin() + p.ColumnWidths()[0] + kW + 2;
  QString note;
  for (const Op& t : printer->PageTexts(1))
    if (t.from.x() == noteX && t.fontStyle == 0) note += t.text;
  EXPECT_EQ(note, "see" + url + "for more" + "less<than" + QString(100, 'W'));
}

TEST_F(ListViewPrintTest, OneHugeNoteLeavesTheOtherColumnsTheirHeadings) {
  SetColumns({"Name", "Phone", "Notes", "Category"});
  AddRow({"Anna Andersson", "+46 70 123456", QString(4095, 'n'), "Unfiled"});
  TS_ListViewPrint& p = Make();
  p.PageText = "Page: ";
  ASSERT_TRUE(p.Print());
  ExpectTextsInsideCells(*printer, p, 1000);
  // Each narrow column still shows its heading, whole or its first four
  // letters with an ellipsis; the note takes the rest of the page.
  const auto band = printer->PageTexts(1);
  EXPECT_EQ(band[0].text, "Name");
  EXPECT_EQ(band[1].text, "Phone");
  EXPECT_EQ(band[3].text, QString("Cate\u2026"));
  EXPECT_GT(p.ColumnWidths()[2], 965 / 2);
  // Nothing of the note is lost.
  const int noteX = p.LeftMargin() + p.ColumnWidths()[0] + p.ColumnWidths()[1] + kW + 2;
  qsizetype printed = 0;
  for (int page = 1; page <= printer->Pages(); ++page)
    for (const Op& t : printer->PageTexts(page))
      if (t.from.x() == noteX && t.fontStyle == 0) printed += t.text.size();
  EXPECT_EQ(printed, 4095);
}

TEST_F(ListViewPrintTest, HeadingWiderThanItsColumnIsCutWithAnEllipsis) {
  SetColumns({"A heading far wider than anything below it", "Note"});
  AddRow({"a", QString(60, 'b') + " " + QString(60, 'c')});
  TS_ListViewPrint& p = Make(400);
  ASSERT_TRUE(p.Print());
  ExpectTextsInsideCells(*printer, p, 400);
  const QString heading = printer->PageTexts(1).front().text;
  EXPECT_TRUE(heading.startsWith("A heading")) << heading.toStdString();
  EXPECT_TRUE(heading.endsWith(QChar(0x2026))) << heading.toStdString();
  // The natural widths still share the page in proportion.
  EXPECT_GT(p.ColumnWidths()[1], p.ColumnWidths()[0]);
}

}  // namespace
