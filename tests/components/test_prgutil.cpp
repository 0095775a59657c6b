// Column fitting of report lists; the program's version text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>
#include <numeric>

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

// A shown list of the given column widths whose room beside its vertical
// scroll bar is the given width.
struct TShownList {
  TShownList(const std::vector<int>& widths, int room, bool frame) : model(0, int(widths.size())) {
    list.setModel(&model);
    list.header()->setStretchLastSection(false);
    list.header()->setMinimumSectionSize(1);
    for (size_t i = 0; i < widths.size(); ++i) list.header()->resizeSection(int(i), widths[i]);
    if (!frame) list.setFrameShape(QFrame::NoFrame);
    list.resize(room + ScrollBarExtent(list), 100);
    list.show();
    QApplication::processEvents();
  }
  QStandardItemModel model;
  QTreeView list;
};

// The columns share the room in proportion to their widths and never fill
// it quite, so no horizontal scroll bar appears. The cases are those where
// rounding instead of cutting off, dividing by the plain sum or forgetting the
// scroll bar would fill the room or more.
TEST(FitListViewColumns, SharesTheRoomInProportionAndLeavesSomeSpare) {
  const std::vector<std::pair<std::vector<int>, int>> cases = {
      {{50, 50}, 400}, {{10, 10, 10, 10}, 39}, {{100, 100, 131, 60}, 570}, {{5, 40, 15}, 61}};
  for (const auto& [widths, room] : cases) {
    SCOPED_TRACE(room);
    TShownList shown(widths, room, false);
    ASSERT_EQ(shown.list.width() - ScrollBarExtent(shown.list), room);
    FitListViewColumns(&shown.list);
    const std::vector<int> fitted = Widths(shown.list);
    const int sum = std::accumulate(widths.begin(), widths.end(), 0);
    const int total = std::accumulate(fitted.begin(), fitted.end(), 0);
    EXPECT_LT(total, room);
    // Cutting off costs each column less than a pixel.
    EXPECT_GT(total, room - room / sum - int(widths.size()) - 1);
    for (size_t i = 0; i < widths.size(); ++i) {
      EXPECT_NEAR(double(fitted[i]) / room, double(widths[i]) / sum, 1.0 / room + 1.0 / sum) << i;
      for (size_t j = 0; j < widths.size(); ++j) {
        if (widths[i] <= widths[j]) {
          EXPECT_LE(fitted[i], fitted[j]) << i << " " << j;
        }
      }
    }
  }
}

TEST(FitListViewColumns, AFramedListGivesFourPixelsOfItsLastColumn) {
  TShownList plain({100, 99}, 400, false), framed({100, 99}, 400, true);
  ASSERT_GT(framed.list.frameWidth(), 0);
  FitListViewColumns(&plain.list);
  FitListViewColumns(&framed.list);
  const std::vector<int> a = Widths(plain.list), b = Widths(framed.list);
  EXPECT_EQ(b[0], a[0]);
  EXPECT_EQ(b[1], a[1] - 4);

  // Narrower than a scroll bar: no negative widths.
  framed.list.resize(ScrollBarExtent(framed.list) / 2, 100);
  FitListViewColumns(&framed.list);
  for (int w : Widths(framed.list)) EXPECT_GE(w, 0);
  FitListViewColumns(nullptr);
}

TEST(FitListViewColumns, RecordListOnlyWhenShownAndNeverBelowItsMinimum) {
  TRecordsListView list;
  list.resize(570 + ScrollBarExtent(list), 200);
  const std::vector<int> before = Widths(list);
  FitListViewColumns(&list);
  EXPECT_EQ(Widths(list), before);

  list.show();
  QApplication::processEvents();
  FitListViewColumns(&list);
  EXPECT_GT(Widths(list)[0], before[0]);
  list.resize(120 + ScrollBarExtent(list), 200);
  FitListViewColumns(&list);
  for (int w : Widths(list)) EXPECT_EQ(w, TRecordsListView::kMinColumnWidth);
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
