#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "components/QRXHtmlControls.h"
#include "components/prgutil.h"
#include "dialog_test_util.h"
#include "dialogs/frmAbout.h"
#include "platform/ScriptedPrompts.h"

namespace {

// The dialog's font is the tooltip font; a small one leaves the layout's own
// places unchanged.
class SmallFont {
 public:
  SmallFont() : saved_(QToolTip::font()) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    QToolTip::setFont(font);
  }
  ~SmallFont() { QToolTip::setFont(saved_); }

 private:
  QFont saved_;
};

TEST(About, LayoutKeepsTheVersionsRightEdgeOverThePicture) {
  SmallFont small;
  TAboutDialog dlg(nullptr);
  dlg.SetAboutText(AboutText());
  EXPECT_EQ(dlg.windowTitle(), "About Vornik");
  EXPECT_EQ(dlg.size(), QSize(285, 229));
  EXPECT_EQ(dlg.AboutImage->geometry(), QRect(0, 0, 285, 50));
  EXPECT_EQ(dlg.Bevel1->geometry(), QRect(0, 50, 285, 11));
  EXPECT_EQ(dlg.CopyrightLabel->pos(), QPoint(12, 64));
  EXPECT_EQ(dlg.OKBtn->geometry(), QRect(202, 196, 75, 25));

  dlg.SetVersionText("1.2.3.4");
  EXPECT_EQ(dlg.VersionLabel->text(), "Version: 1.2.3.4");
  const QRect shortText = dlg.VersionLabel->geometry();
  dlg.SetVersionText("(unknown)");
  const QRect longText = dlg.VersionLabel->geometry();
  EXPECT_EQ(shortText.right() + 1, 272);
  EXPECT_EQ(longText.right() + 1, 272);
  EXPECT_EQ(longText.top(), 34);
  EXPECT_GT(longText.width(), shortText.width());
  EXPECT_TRUE(dlg.AboutImage->geometry().contains(longText.bottomLeft()));
}

TEST(About, OnlyOKEnterAndTheCloseBoxClose) {
  TAboutDialog dlg(nullptr);
  dlg.show();
  QTest::keyClick(dlg.OKBtn, Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClick(&dlg, Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClick(dlg.OKBtn, Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  dlg.show();
  EXPECT_TRUE(dlg.close());
  EXPECT_FALSE(dlg.isVisible());

  dlg.show();
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
}

TEST(About, ShowAboutDialogFillsVersionAndText) {
  TScriptedPrompts prompts;
  QString version, caption, title;
  prompts.AnswerDialog([&](QDialog* dialog) {
    auto* dlg = dynamic_cast<TAboutDialog*>(dialog);
    if (!dlg) return TModalResult::Cancel;
    version = dlg->VersionLabel->text();
    caption = dlg->CopyrightLabel->Caption();
    title = dlg->windowTitle();
    return TModalResult::OK;
  });
  QWidget owner;
  ShowAboutDialog(&owner);
  EXPECT_EQ(prompts.Unanswered(), 0);
  EXPECT_EQ(title, "About Vornik");
  EXPECT_EQ(version, "Version: " + ProgramVersion());
  const QStringList lines = caption.split("\r\n");
  ASSERT_EQ(lines.size(), 7);
  EXPECT_TRUE(lines[0].startsWith("<b>"));
  EXPECT_TRUE(lines[1].contains("<c:blue>") && lines[1].endsWith("<c:black></b>"));
  EXPECT_EQ(lines[2], "");
  EXPECT_TRUE(lines[3].contains("<u>freeware</u>"));
  EXPECT_EQ(lines[4], "<b><c:red>You use this program at your own risk!<c:black></b>");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "<b>However, any donations are welcome...</b>");
}

}  // namespace
