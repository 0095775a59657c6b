#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include "components/QRXCtrls.h"

namespace {

// The caret's place in the edit as last painted (the line edit works out its
// scrolling and alignment when it paints).
int CaretX(QLineEdit* edit) {
  edit->grab();
  return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

// An edit in a shown window, counting the clicks of its button.
struct EditHost {
  EditHost() {
    window.resize(300, 60);
    edit = new TQRXClickEdit(&window);
    edit->setGeometry(10, 10, 200, 23);
    edit->OnButtonClick = [this](QObject* sender) { clicks += sender == edit ? 1 : 100; };
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  int PanelLeft() const { return edit->ButtonPanel()->x(); }

  QWidget window;
  TQRXClickEdit* edit;
  int clicks = 0;
};

TEST(ClickEdit, AltDownClicksTheButtonOnceAndInsertsNothing) {
  EditHost host;
  host.edit->setText("abc");
  QTest::keyClick(host.edit, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(host.clicks, 1);
  EXPECT_EQ(host.edit->text(), "abc");

  host.edit->SetButtonVisible(false);
  QTest::keyClick(host.edit, Qt::Key_Down, Qt::AltModifier);
  host.edit->SetButtonVisible(true);
  host.edit->SetButtonEnabled(false);
  QTest::keyClick(host.edit, Qt::Key_Down, Qt::AltModifier);
  host.edit->SetButtonEnabled(true);
  host.edit->SetButtonShortCut(QKeySequence(Qt::Key_F4));
  QTest::keyClick(host.edit, Qt::Key_Down, Qt::AltModifier);
  QTest::keyClick(host.edit, Qt::Key_F4);
  EXPECT_EQ(host.clicks, 2);

  // A click with the mouse, and the button never takes the focus.
  host.edit->setFocus();
  QTest::mouseClick(host.edit->Button(), Qt::LeftButton);
  EXPECT_EQ(host.clicks, 3);
  EXPECT_TRUE(host.edit->hasFocus());
}

TEST(ClickEdit, EnterAndEscReachTheDialogButtons) {
  QDialog dialog;
  auto* ok = new QPushButton("OK", &dialog);
  ok->setDefault(true);
  int okClicks = 0;
  QObject::connect(ok, &QPushButton::clicked, [&] { ++okClicks; });
  auto* edit = new TQRXClickEdit(&dialog);
  edit->setText("name");
  dialog.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(edit->text(), "name");
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(ClickEdit, TextNeverRunsUnderTheButton) {
  EditHost host;
  // The panel sits inside the frame.
  EXPECT_EQ(host.edit->ButtonPanel()->geometry().right(),
            host.edit->width() - 1 - host.edit->ButtonPanel()->y());
  host.edit->setFocus();
  QTest::keyClicks(host.edit, QString(80, QLatin1Char('W')));
  EXPECT_LT(CaretX(host.edit), host.PanelLeft());

  host.edit->SetButtonWidth(40);
  EXPECT_EQ(host.edit->ButtonPanel()->width(), 41);
  QTest::keyClick(host.edit, Qt::Key_End);
  EXPECT_LT(CaretX(host.edit), host.PanelLeft());
  // Without the button the text takes the whole width.
  host.edit->SetButtonVisible(false);
  EXPECT_EQ(host.edit->textMargins().right(), 0);
}

TEST(ClickEdit, AlignmentAppliesWhileTheEditHasNoFocus) {
  EditHost host;
  auto* other = new QPushButton("x", &host.window);
  other->show();
  other->setFocus();
  host.edit->setText("ab");
  host.edit->SetAlignment(Qt::AlignRight);
  host.edit->setCursorPosition(2);
  const int unfocusedEnd = CaretX(host.edit);
  EXPECT_GT(unfocusedEnd, host.PanelLeft() - 12);
  EXPECT_LT(unfocusedEnd, host.PanelLeft());

  host.edit->setFocus();
  ASSERT_TRUE(host.edit->hasFocus());
  EXPECT_LT(CaretX(host.edit), 40);
  other->setFocus();
  EXPECT_EQ(CaretX(host.edit), unfocusedEnd);
}

TEST(ClickEdit, DropDownGlyphUntilAPictureIsSet) {
  EditHost host;
  host.edit->SetGlyphKind(gkDropDown);
  EXPECT_EQ(host.edit->ButtonWidth(),
            host.edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, host.edit));
  EXPECT_FALSE(host.edit->Glyph().isNull());
  host.edit->SetNumGlyphs(3);
  EXPECT_EQ(host.edit->NumGlyphs(), 1);
  host.edit->SetGlyph(QPixmap(24, 8));
  EXPECT_EQ(host.edit->GlyphKind(), gkCustom);
  host.edit->SetNumGlyphs(3);
  EXPECT_EQ(host.edit->NumGlyphs(), 3);
}

// An edit whose button counts as clicked when pressed.
class TPressEdit : public TQRXCustomClickEdit {
 public:
  TPressEdit() {
    OnButtonClick = [this](QObject*) { ++clicks; };
  }
  int clicks = 0;
  int releases = 0;

 protected:
  bool ClickOnPress() const override { return true; }
  void ButtonReleased() override { ++releases; }
};

TEST(ClickEdit, AButtonClickedOnPressClicksOnce) {
  TPressEdit edit;
  edit.show();
  QTest::mousePress(edit.Button(), Qt::LeftButton);
  EXPECT_EQ(edit.clicks, 1);
  QTest::mouseRelease(edit.Button(), Qt::LeftButton);
  EXPECT_EQ(edit.clicks, 1);
  EXPECT_EQ(edit.releases, 1);
}

TEST(ClickEdit, TheButtonFollowsTheEditAndItsOwnSetting) {
  EditHost host;
  TEditSpeedButton* button = host.edit->Button();
  host.edit->SetButtonEnabled(false);
  EXPECT_FALSE(host.edit->ButtonEnabled());
  EXPECT_FALSE(button->isEnabled());
  host.edit->setEnabled(false);
  host.edit->setEnabled(true);
  EXPECT_FALSE(button->isEnabled());

  host.edit->setEnabled(false);
  host.edit->SetButtonEnabled(true);
  EXPECT_FALSE(button->isEnabled());
  host.edit->setEnabled(true);
  EXPECT_TRUE(button->isEnabled());
}

TEST(ClickEdit, CaretCanBeHidden) {
  EditHost host;
  const QStyle* style = host.edit->style();
  EXPECT_GT(style->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, host.edit), 0);
  host.edit->SetCaret(false);
  style = host.edit->style();
  EXPECT_EQ(style->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, host.edit), 0);
  host.edit->SetCaret(true);
  EXPECT_GT(style->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, host.edit), 0);
}

}  // namespace
