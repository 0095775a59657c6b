#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>

#include "components/QRXHtmlControls.h"
#include "platform/Canvas.h"

namespace {
using Op = TRecordingCanvas::Op;

}  // namespace

TEST(HtmlLabel, DefaultsAndAutoSize) {
  TQRX_htmlLabel label;
  EXPECT_EQ(label.Caption(), "<b>Html</b> <c:blue>label<c:black>");
  EXPECT_TRUE(label.AutoSize());
  QFont bold = label.font();
  bold.setBold(true);
  const QFontMetrics fm(label.font(), &label), fmb(bold, &label);
  EXPECT_EQ(label.width(), fmb.horizontalAdvance("Html") + fm.horizontalAdvance(" ") +
                               fm.horizontalAdvance("label") + 6);
  EXPECT_EQ(label.height(), fm.height());

  label.SetCaption("");
  EXPECT_EQ(label.size(), QSize(0, 0));
  label.SetCaption("one\ntwo\nthree");
  EXPECT_EQ(label.height(), 3 * fm.height());
  EXPECT_EQ(label.width(), fm.horizontalAdvance("three") + 6);

  label.SetAutoSize(false);
  label.SetCaption("a much longer line than before");
  EXPECT_EQ(label.width(), fm.horizontalAdvance("three") + 6);
  label.SetAutoSize(true);
  EXPECT_EQ(label.width(), fm.horizontalAdvance("a much longer line than before") + 6);

  const int before = label.width();
  QFont big = label.font();
  big.setPointSize(big.pointSize() * 2);
  label.setFont(big);
  EXPECT_GT(label.width(), before);
}

TEST(HtmlLabel, MeasureCarriesTagsAcrossLinesAndRestores) {
  TQRX_htmlLabel label;
  label.SetCaption("<b>ab\ncd\n<c:red>e");
  TRecordingCanvas c;
  c.SetFont(label.font());
  c.SetFontColor(Qt::green);
  // Line 2 is measured bold because line 1 left bold on.
  EXPECT_EQ(label.MeasureCaption(c), QSize(2 * 8 + 6, 3 * 13));
  EXPECT_EQ(c.FontStyle(), 0);
  EXPECT_EQ(c.FontColor(), QColor(Qt::green));
}

TEST(HtmlLabel, RightAlignedKeepsItsRightEdge) {
  QWidget parent;
  auto* label = new TQRX_htmlLabel(&parent);
  label->SetAlignment(TQRX_htmlLabel::TAlignment::RightJustify);
  label->SetCaption("ab");
  label->move(200, 10);
  const int right = label->x() + label->width();
  label->SetCaption("a longer text");
  EXPECT_EQ(label->x() + label->width(), right);
  EXPECT_LT(label->x(), 200);
}

TEST(HtmlLabel, PaintCarriesStateAcrossLinesAndRestoresIt) {
  TQRX_htmlLabel label;
  label.SetCaption("<b>one\ntwo<c:red>");
  label.SetFontColor(Qt::black);
  TRecordingCanvas c;
  label.PaintTo(c);
  auto texts = c.TextOps();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "two");
  EXPECT_EQ(texts[1].fontStyle, fsBold);
  EXPECT_EQ(QPoint(texts[1].from), QPoint(2, 13));
  // The state is restored after painting: the next paint starts black, plain.
  EXPECT_EQ(c.FontStyle(), 0);
  EXPECT_EQ(c.FontColor(), QColor(Qt::black));
  c.Clear();
  label.PaintTo(c);
  texts = c.TextOps();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].fontColor, QColor(Qt::black));
  EXPECT_EQ(texts[0].fontStyle, fsBold);
}

TEST(HtmlLabel, LayoutAndAlignment) {
  TQRX_htmlLabel label;
  label.SetAutoSize(false);
  label.resize(200, 100);
  label.SetCaption("<b>ab\ncd");
  using A = TQRX_htmlLabel::TAlignment;
  using L = TQRX_htmlLabel::TTextLayout;
  const struct {
    A align;
    L layout;
    QPoint first, second;
  } cases[] = {
      {A::LeftJustify, L::Top, {2, 0}, {2, 13}},
      // Both lines are 22 wide (bold carries into line 2).
      {A::RightJustify, L::Center, {200 - 22 + 2, 37}, {200 - 22 + 2, 50}},
      {A::Center, L::Bottom, {(200 - 22) / 2 + 2, 74}, {(200 - 22) / 2 + 2, 87}},
  };
  for (const auto& t : cases) {
    label.SetAlignment(t.align);
    label.SetLayout(t.layout);
    TRecordingCanvas c;
    label.PaintTo(c);
    const auto texts = c.TextOps();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].from, t.first);
    EXPECT_EQ(texts[1].from, t.second);
    EXPECT_EQ(texts[1].fontStyle, fsBold);
  }
}

TEST(HtmlLabel, TransparentLeavesTheBackground) {
  TQRX_htmlLabel label;
  label.SetColor(Qt::yellow);
  TRecordingCanvas c;
  label.PaintTo(c);
  ASSERT_FALSE(c.Ops().empty());
  EXPECT_EQ(c.Ops()[0].kind, Op::Fill);
  EXPECT_EQ(c.Ops()[0].brushColor, QColor(Qt::yellow));
  EXPECT_EQ(c.Ops()[0].brushStyle, TBrushStyle::Solid);
  label.SetTransparent(true);
  c.Clear();
  label.PaintTo(c);
  EXPECT_EQ(c.Ops()[0].brushStyle, TBrushStyle::Clear);
}

TEST(HtmlHintWindow, SizeAndHidePause) {
  TQRX_htmlHintWindow w;
  const QRect r = w.CalcHintRect(50, "<b>a hint far wider than fifty pixels</b>");
  EXPECT_EQ(r.topLeft(), QPoint(0, 0));
  EXPECT_EQ(r.width(), w.Label()->width() + 6);
  EXPECT_EQ(r.height(), w.Label()->height() + 2);
  EXPECT_GT(r.width(), 50);  // never wrapped

  TQRX_HintEx::SetHintHidePause(4000);
  w.CalcHintRect(0, "0123456789");
  EXPECT_EQ(TQRX_HintEx::HintHidePause(), 2500);
  w.CalcHintRect(0, "<b>" + QString(100, u'x') + "</b><c:red>");
  EXPECT_EQ(TQRX_HintEx::HintHidePause(), 5000);
  w.CalcHintRect(0, QString(30, u'x') + "\r\n" + QString(30, u'y'));  // breaks count
  EXPECT_EQ(TQRX_HintEx::HintHidePause(), 3100);
  TQRX_HintEx::SetHintHidePause(0);
  w.CalcHintRect(0, QString(100, u'x'));
  EXPECT_EQ(TQRX_HintEx::HintHidePause(), 0);
  TQRX_HintEx::SetHintHidePause(4000);
}

namespace {
class TToolTipCounter : public QWidget {
 public:
  int toolTips = 0;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::ToolTip) {
      ++toolTips;
      return true;
    }
    return QWidget::event(e);
  }
};
}  // namespace

TEST(HintEx, ShowsToolTipsAsMarkupAndLeavesOwnHandlersAlone) {
  TQRX_HintEx hintEx;
  hintEx.Install();
  EXPECT_TRUE(TQRX_HintEx::Installed());
  EXPECT_EQ(TQRX_HintEx::HintPause(), 500);
  EXPECT_EQ(TQRX_HintEx::HintHidePause(), 4000);

  QWidget top;
  top.resize(300, 200);
  auto* button = new QWidget(&top);
  button->setGeometry(10, 10, 50, 30);
  button->setToolTip("<b>Create</b>|Create new list database...");
  auto* own = new TToolTipCounter;
  own->setParent(&top);
  own->setGeometry(100, 10, 50, 30);
  top.show();

  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(button, &help);
  EXPECT_TRUE(TQRX_HintEx::HintVisible());
  EXPECT_EQ(TQRX_HintEx::CurrentHint(), "<b>Create</b>");
  EXPECT_FALSE(QToolTip::isVisible());
  EXPECT_EQ(TQRX_HintEx::HintWindow()->Label()->Caption(), "<b>Create</b>");

  QHelpEvent help2(QEvent::ToolTip, QPoint(5, 5), own->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(own, &help2);
  EXPECT_EQ(own->toolTips, 1);

  // A key press hides the hint.
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QCoreApplication::sendEvent(&top, &key);
  EXPECT_FALSE(TQRX_HintEx::HintVisible());

  // Ended while the pointer stays on the button: not shown again until the
  // pointer has been on another widget.
  auto moveTo = [](QWidget* w) {
    QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  };
  moveTo(button);
  QCoreApplication::sendEvent(button, &help);
  EXPECT_FALSE(TQRX_HintEx::HintVisible());
  moveTo(own);
  moveTo(button);
  QHelpEvent again(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(button, &again);
  EXPECT_TRUE(TQRX_HintEx::HintVisible());
  TQRX_HintEx::HideHint();
}

TEST(HintEx, ShowHintKeepsWithinItsRectangle) {
  TQRX_HintEx hintEx;
  hintEx.Install();  // the pointer is followed through the application's filter
  QWidget owner;
  owner.setMouseTracking(true);
  owner.resize(300, 200);
  owner.show();
  const QRect keep(owner.mapToGlobal(QPoint(0, 0)), QSize(300, 20));
  TQRX_HintEx::ShowHint("row <c:red>one", keep.topLeft() + QPoint(10, 20), &owner, keep);
  ASSERT_TRUE(TQRX_HintEx::HintVisible());
  const QRect geometry = TQRX_HintEx::HintWindow()->geometry();
  TQRX_HintEx::ShowHint("row <c:red>one", keep.topLeft() + QPoint(50, 20), &owner, keep);
  EXPECT_EQ(TQRX_HintEx::HintWindow()->geometry(), geometry);  // the same hint: kept

  auto move = [&](QPoint local) {
    QMouseEvent e(QEvent::MouseMove, local, owner.mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(&owner, &e);
  };
  move(QPoint(100, 10));
  EXPECT_TRUE(TQRX_HintEx::HintVisible());
  move(QPoint(100, 50));
  EXPECT_FALSE(TQRX_HintEx::HintVisible());
  TQRX_HintEx::ShowHint("again", keep.topLeft(), &owner, keep);
  TQRX_HintEx::HideHint();
  EXPECT_FALSE(TQRX_HintEx::HintVisible());
}

TEST(HintEx, RestingPointerShowsTheHintAfterThePause) {
  TQRX_HintEx hintEx;
  hintEx.Install();
  TQRX_HintEx::SetHintPause(10);
  QWidget top;
  top.resize(200, 100);
  auto* button = new QWidget(&top);
  button->setGeometry(10, 10, 50, 30);
  button->setToolTip("Open");
  top.show();
  QMouseEvent e(QEvent::MouseMove, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)), Qt::NoButton,
                Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(button, &e);
  EXPECT_FALSE(TQRX_HintEx::HintVisible());  // not before the pause
  EXPECT_TRUE(QTest::qWaitFor([] { return TQRX_HintEx::HintVisible(); }));
  EXPECT_EQ(TQRX_HintEx::CurrentHint(), "Open");
  TQRX_HintEx::HideHint();
  TQRX_HintEx::SetHintPause(500);
}
