// Column fitting of report lists; the program's version text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>

#include "components/RecordsListView.h"
#include "components/prgutil.h"
#include "version_test_util.h"

namespace {

std::vector<int> Widths(const QTreeView& list) {
  std::vector<int> widths;
  for (int i = 0; i < list.header()->count(); ++i) widths.push_back(list.header()->sectionSize(i));
  return widths;
}

int ScrollBarExtent(const QWidget& w) {
  return w.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &w);
}

TEST(FitListViewColumns, ScalesBySumPlusOne) {
  TRecordsListView list;
  list.resize(570 + ScrollBarExtent(list), 200);
  FitListViewColumns(&list);  // not shown: nothing happens
  EXPECT_EQ(Widths(list), std::vector<int>({100, 100, 131, 60}));

  list.show();
  QApplication::processEvents();
  ASSERT_EQ(list.width(), 570 + ScrollBarExtent(list));
  FitListViewColumns(&list);
  EXPECT_EQ(Widths(list), std::vector<int>({145, 145, 190, 87}));

  // Shrinking: truncation toward zero, and the minimum width still holds.
  list.resize(200 + ScrollBarExtent(list), 200);
  FitListViewColumns(&list);
  EXPECT_EQ(Widths(list), std::vector<int>({51, 51, 66, 50}));
  FitListViewColumns(nullptr);
}

TEST(FitListViewColumns, ListWithBorderLosesFourOnTheLast) {
  QStandardItemModel model(0, 2);
  QTreeView list;
  list.setModel(&model);
  list.header()->setStretchLastSection(false);
  list.header()->setMinimumSectionSize(1);
  list.header()->resizeSection(0, 100);
  list.header()->resizeSection(1, 99);
  ASSERT_GT(list.frameWidth(), 0);
  list.resize(400 + ScrollBarExtent(list), 100);
  list.show();
  QApplication::processEvents();
  FitListViewColumns(&list);
  // 100 * 400 / 200 = 200; 99 * 400 / 200 = 198, less 4.
  EXPECT_EQ(Widths(list), std::vector<int>({200, 194}));

  // Narrower than a scroll bar: no negative widths.
  list.resize(ScrollBarExtent(list) / 2, 100);
  FitListViewColumns(&list);
  for (int w : Widths(list)) EXPECT_GE(w, 0);
}

// The running file's version; a copy of this suite run with
// VORNIK_EXPECT_VERSION set checks that value instead of the project's.
TEST(ProgramVersion, ShowsTheRunningFilesVersion) {
  const QString expected = qEnvironmentVariableIsSet("VORNIK_EXPECT_VERSION")
                               ? qEnvironmentVariable("VORNIK_EXPECT_VERSION")
                               : QStringLiteral(VORNIK_VERSION_TEXT);
  EXPECT_EQ(ProgramVersion().toStdString(), expected.toStdString());
  EXPECT_EQ(FormatProgramVersion().toStdString(), expected.toStdString());
}

// Runs a copy of this suite and has it check its version text.
void ExpectCopyShows(const QString& copy, const QString& version) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VORNIK_EXPECT_VERSION", version);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(env);
  child.start(copy, {"--gtest_filter=ProgramVersion.ShowsTheRunningFilesVersion"});
  ASSERT_TRUE(child.waitForFinished(60000));
  EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
}

TEST(ProgramVersion, ComesFromTheFileOrIsUnknown) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString copy = dir.filePath("copy");
  // Decimal, without leading zeros.
  ASSERT_TRUE(CopySelfWithStamp(dir, StampBytes(MakeVersionStamp(1, 12, 0, 305)), copy));
  ExpectCopyShows(copy, "1.12.0.305");

  ASSERT_TRUE(CopySelfWithoutStamp(copy));
  ExpectCopyShows(copy, "(unknown)");
  QByteArray damaged = StampBytes(MakeVersionStamp(1, 2, 3, 4));
  damaged[3] = 0;
  ASSERT_TRUE(CopySelfWithStamp(dir, damaged, copy));
  ExpectCopyShows(copy, "(unknown)");
}

}  // namespace
