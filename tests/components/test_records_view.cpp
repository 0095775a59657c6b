// The record list widget: selection, sorting with the selection kept, header
// clicks, column widths, the panel's look, grid lines and the record hint.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

#include "components/QRXHtmlControls.h"
#include "records_test_util.h"

namespace {

class RecordsView : public ::testing::Test {
 protected:
  void SetUp() override {
    panel = std::make_unique<QWidget>();
    panel->resize(560, 300);
    auto* layout = new QVBoxLayout(panel.get());
    layout->setContentsMargins(0, 0, 0, 0);
    view = new TRecordsListView(panel.get());
    layout->addWidget(view);
    doc = MakeTestDocument(
        {{"delta", "4"}, {"alpha", "1"}, {"echo", "5"}, {"charlie", "3"}, {"bravo", "2"}});
    view->SetDocument(doc.get());
  }
  void Show() {
    panel->show();
    QApplication::processEvents();
  }
  std::vector<std::string> SelectedField1() const {
    std::vector<std::string> names;
    for (int row : view->SelectedRows()) names.emplace_back(view->RecordAt(row)->Field1());
    return names;
  }
  void ClickHeader(int column) {
    QHeaderView* header = view->header();
    const QPoint pos(header->sectionViewportPosition(column) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
  }
  static void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons,
                        Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  }

  std::unique_ptr<QWidget> panel;
  TRecordsListView* view = nullptr;
  std::unique_ptr<TListDBData> doc;
};

TEST_F(RecordsView, SelectionQueriesMergeOverlappingRanges) {
  EXPECT_EQ(view->FirstSelectedRow(), -1);
  EXPECT_EQ(view->SelectedCount(), 0);
  view->SelectRow(3);
  view->SelectRow(1);
  view->SelectRow(3);  // twice: still one row
  QItemSelection overlap(view->Shown()->index(0, 0), view->Shown()->index(2, 3));
  overlap.select(view->Shown()->index(1, 0), view->Shown()->index(3, 3));
  view->selectionModel()->select(overlap, QItemSelectionModel::Select);
  EXPECT_EQ(view->SelectedCount(), 4);
  EXPECT_EQ(view->SelectedRows(), std::vector<int>({0, 1, 2, 3}));
  EXPECT_EQ(view->FirstSelectedRow(), 0);
  view->ClearSelection();
  EXPECT_EQ(view->SelectedCount(), 0);
  view->SelectRow(5);  // no such row
  view->SelectRow(-1);
  EXPECT_EQ(view->SelectedCount(), 0);
  EXPECT_EQ(view->RecordAt(5), nullptr);
  EXPECT_EQ(view->RecordAt(-1), nullptr);
}

TEST_F(RecordsView, FocusedRowFollowsTheSelection) {
  QItemSelectionModel* sm = view->selectionModel();
  view->SelectRow(1);
  EXPECT_EQ(sm->currentIndex().row(), 1);
  view->SelectRow(3);
  EXPECT_EQ(sm->currentIndex().row(), 3);
  // Deselecting another row leaves the focus; deselecting the focused one
  // takes it away.
  sm->select(view->Shown()->index(1, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  EXPECT_EQ(sm->currentIndex().row(), 3);
  sm->select(view->Shown()->index(3, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  EXPECT_FALSE(sm->currentIndex().isValid());
  view->SetFocusedRow(2);
  EXPECT_EQ(sm->currentIndex().row(), 2);
  EXPECT_EQ(view->SelectedCount(), 0);  // focusing selects nothing
  view->SetFocusedRow(-1);
  EXPECT_FALSE(sm->currentIndex().isValid());
}

TEST_F(RecordsView, SortKeepsSelectedRecordsAndTheFocusedRow) {
  view->SelectRow(0);      // delta
  view->SelectRow(3);      // charlie
  view->SetFocusedRow(4);  // bravo, not selected
  view->SortRows(0, true);
  EXPECT_EQ(ColumnTexts(*view->Shown(), 0),
            QStringList({"alpha", "bravo", "charlie", "delta", "echo"}));
  EXPECT_EQ(SelectedField1(), std::vector<std::string>({"charlie", "delta"}));
  EXPECT_EQ(view->RecordAt(view->selectionModel()->currentIndex().row())->Field1(), "bravo");
  view->SortRows(1, false);
  EXPECT_EQ(SelectedField1(), std::vector<std::string>({"delta", "charlie"}));

  // All rows selected stay all selected.
  view->selectAll();
  view->SortRows(0, true);
  EXPECT_EQ(view->SelectedCount(), 5);
}

TEST_F(RecordsView, HeaderClicksAreReportedNotSorted) {
  Show();
  Qt::KeyboardModifiers keys = Qt::NoModifier;
  view->SetKeyboardQuery([&] { return keys; });
  std::vector<std::pair<int, bool>> clicks;
  QObject::connect(view, &TRecordsListView::ColumnClicked,
                   [&](int column, bool ctrl) { clicks.emplace_back(column, ctrl); });
  ClickHeader(1);
  keys = Qt::ControlModifier | Qt::ShiftModifier;
  ClickHeader(2);
  EXPECT_EQ(clicks, (std::vector<std::pair<int, bool>>{{1, false}, {2, true}}));
  EXPECT_EQ(ColumnTexts(*view->Shown(), 0)[0], "delta");  // the list leaves sorting to its owner
}

TEST_F(RecordsView, DoubleClickIsReported) {
  Show();
  int doubleClicks = 0;
  QObject::connect(view, &TRecordsListView::RowDoubleClicked, [&] { ++doubleClicks; });
  const QPoint onRow = view->RowRect(2).center();
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, onRow);
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(view->SelectedRows(), std::vector<int>({2}));
  QTest::mouseDClick(view->viewport(), Qt::RightButton, Qt::NoModifier, onRow);
  EXPECT_EQ(doubleClicks, 1);
}

TEST_F(RecordsView, MinimumWidthHeldWhileDragging) {
  Show();
  QHeaderView* header = view->header();
  EXPECT_EQ(header->minimumSectionSize(), TRecordsListView::kMinColumnWidth);
  // Drag the divider right of column 1 far to the left.
  const int divider = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
  const int y = header->height() / 2;
  SendMouse(header->viewport(), QEvent::MouseButtonPress, {divider, y}, Qt::LeftButton);
  SendMouse(header->viewport(), QEvent::MouseMove, {divider - 90, y}, Qt::LeftButton, Qt::NoButton);
  SendMouse(header->viewport(), QEvent::MouseButtonRelease, {divider - 90, y}, Qt::NoButton);
  EXPECT_EQ(header->sectionSize(1), 50);
  // Set by the program, too.
  header->resizeSection(2, 12);
  EXPECT_EQ(header->sectionSize(2), 50);
  header->resizeSection(2, 77);
  EXPECT_EQ(header->sectionSize(2), 77);
}

TEST_F(RecordsView, TakesThePanelsFontAndColour) {
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QColor(255, 255, 200));
  pal.setColor(QPalette::WindowText, QColor(0, 0, 160));
  panel->setPalette(pal);
  QFont font("DejaVu Serif", 15);
  panel->setFont(font);
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(255, 255, 200));
  EXPECT_EQ(view->palette().color(QPalette::Text), QColor(0, 0, 160));
  EXPECT_EQ(view->font().pointSize(), 15);
  EXPECT_EQ(view->header()->font().pointSize(), 15);
  // The selection looks the same without the focus.
  const QPalette& vp = view->palette();
  EXPECT_EQ(vp.color(QPalette::Inactive, QPalette::Highlight),
            vp.color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(vp.color(QPalette::Inactive, QPalette::HighlightedText),
            vp.color(QPalette::Active, QPalette::HighlightedText));

  pal.setColor(QPalette::Window, QColor(200, 255, 255));
  panel->setPalette(pal);
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(200, 255, 255));

  // Moved into another panel, it follows that one.
  QWidget other;
  QPalette otherPal = other.palette();
  otherPal.setColor(QPalette::Window, Qt::green);
  other.setPalette(otherPal);
  view->setParent(&other);
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(Qt::green));
  pal.setColor(QPalette::Window, Qt::red);
  panel->setPalette(pal);  // the old panel no longer matters
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(Qt::green));
  view->setParent(panel.get());
}

TEST_F(RecordsView, GridLinesDrawnWhenOn) {
  Show();
  const QRect row = view->RowRect(1);
  const int divider =
      view->header()->sectionViewportPosition(0) + view->header()->sectionSize(0) - 1;
  const int belowRows = view->RowRect(4).bottom() + 30;
  ASSERT_LT(belowRows, view->viewport()->height());
  const QColor base = view->palette().color(QPalette::Base);

  QImage on = view->viewport()->grab().toImage();
  EXPECT_NE(QColor(on.pixel(divider, row.center().y())), base);  // column divider
  EXPECT_NE(QColor(on.pixel(divider + 5, row.bottom())), base);  // row line
  EXPECT_NE(QColor(on.pixel(divider, belowRows)), base);         // below the last row

  view->SetGridLines(false);
  QImage off = view->viewport()->grab().toImage();
  EXPECT_EQ(QColor(off.pixel(divider, row.center().y())), base);
  EXPECT_EQ(QColor(off.pixel(divider + 5, row.bottom())), base);
  EXPECT_EQ(QColor(off.pixel(divider, belowRows)), base);
}

TEST_F(RecordsView, RecordHintOnlyOverARowAndWhileOn) {
  Show();
  std::vector<TListRecord*> asked;
  view->SetHintProvider([&](TListRecord* record) {
    asked.push_back(record);
    return QString("<b>hint</b> ") + AnsiToQString(record->Field1());
  });
  auto toolTipAt = [&](QPoint pos) {
    QHelpEvent help(QEvent::ToolTip, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &help);
  };

  const QRect row = view->RowRect(2);
  toolTipAt(row.center());
  ASSERT_EQ(asked, std::vector<TListRecord*>({doc->GetRecord(2)}));
  EXPECT_TRUE(TQRX_HintEx::HintVisible());
  EXPECT_EQ(TQRX_HintEx::CurrentHint(), "<b>hint</b> echo");
  const QPoint rowCorner = view->viewport()->mapToGlobal(row.topLeft());
  EXPECT_EQ(TQRX_HintEx::HintWindow()->pos(), rowCorner + QPoint(32, 32));

  // Over no row: nothing asked, the hint goes.
  toolTipAt({10, view->RowRect(4).bottom() + 20});
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_FALSE(TQRX_HintEx::HintVisible());

  // Hints off: nothing asked even over a row.
  view->SetShowRecordHints(false);
  toolTipAt(view->RowRect(0).center());
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_FALSE(TQRX_HintEx::HintVisible());

  // The default provider is the record hint.
  view->SetShowRecordHints(true);
  view->SetHintProvider(nullptr);
  toolTipAt(view->RowRect(1).center());
  EXPECT_TRUE(TQRX_HintEx::CurrentHint().contains("alpha"));
  EXPECT_TRUE(TQRX_HintEx::CurrentHint().startsWith("<u><b>Category</b></u>:"));
  TQRX_HintEx::HideHint();
}

}  // namespace
