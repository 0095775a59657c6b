#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include "platform/DateTimeText.h"
#include "platform/Printer.h"

TEST(QtPrinter, EndedJobWritesTheFileAnAbortedOneLeavesNone) {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("a.pdf"));
  TQtPrinter target(printer);
  EXPECT_FALSE(target.Printing());
  // Measures in printer pixels before a job: 1200 dpi.
  EXPECT_GT(target.PageWidth(), 8000);
  EXPECT_GT(target.Canvas().TextHeight("jXy"), 100);

  target.BeginDoc("Test");
  EXPECT_THROW(target.BeginDoc("Again"), EPrinterError);
  target.Canvas().TextOut(100, 100, "one");
  target.NewPage();
  EXPECT_EQ(target.PageNumber(), 2);
  target.Abort();
  EXPECT_FALSE(target.Printing());
  EXPECT_FALSE(QFile::exists(dir.filePath("a.pdf")));

  target.BeginDoc("Test");
  target.Canvas().TextOut(100, 100, "one");
  target.EndDoc();
  EXPECT_GT(QFile(dir.filePath("a.pdf")).size(), 0);
  EXPECT_THROW(target.NewPage(), EPrinterError);

  printer.setOutputFileName(dir.filePath("missing/b.pdf"));
  EXPECT_THROW(target.BeginDoc("Test"), EPrinterError);
  EXPECT_FALSE(target.Printing());
}

TEST(DateTimeText, ShortDateAndLongTimeWithoutTimeAtMidnight) {
  const QLocale locale(QLocale::English, QLocale::UnitedStates);
  const QDate date(2026, 12, 8);
  EXPECT_EQ(DateTimeToStr(QDateTime(date, QTime(0, 0)), locale),
            locale.toString(date, QLocale::ShortFormat));
  const QString withTime = DateTimeToStr(QDateTime(date, QTime(0, 0, 1)), locale);
  EXPECT_TRUE(withTime.startsWith(locale.toString(date, QLocale::ShortFormat) + " 12:00:01"))
      << withTime.toStdString();
}
