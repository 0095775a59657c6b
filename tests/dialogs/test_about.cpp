#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "components/QRXHtmlControls.h"
#include "dialog_test_util.h"
#include "dialogs/frmAbout.h"
#include "platform/ScriptedPrompts.h"

namespace {

// The dialog's font is the tooltip font.
class TooltipFont {
 public:
  explicit TooltipFont(int pixels) : saved_(QToolTip::font()) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    QToolTip::setFont(font);
  }
  ~TooltipFont() { QToolTip::setFont(saved_); }

 private:
  QFont saved_;
};

// Whatever the font, every text is inside the window, no two overlap, the
// version keeps its right edge on the picture, and the text below the picture
// is wide and tall enough for its longest line.
TEST(About, TextsFitTheWindowAndKeepApartAtEveryFontSize) {
  for (const int pixels : {9, 13, 20}) {
    SCOPED_TRACE(pixels);
    TooltipFont font(pixels);
    TAboutDialog dlg(nullptr);
    dlg.SetAboutText(AboutText());
    dlg.SetVersionText("1.2.3.4");
    const QRect shortVersion = dlg.VersionLabel->geometry();
    dlg.SetVersionText("(unknown)");
    const QRect version = dlg.VersionLabel->geometry();
    EXPECT_EQ(version.right(), shortVersion.right());
    EXPECT_GE(version.width(),
              dlg.VersionLabel->fontMetrics().horizontalAdvance("Version: (unknown)"));

    const QRect window = dlg.rect();
    const QRect picture = dlg.AboutImage->geometry();
    const QRect text = dlg.CopyrightLabel->geometry();
    const QRect ok = dlg.OKBtn->geometry();
    for (const QRect& r : {picture, version, text, ok}) EXPECT_TRUE(window.contains(r)) << r.x();
    // At the usual sizes; a much larger font runs the version past it.
    if (pixels <= 13) {
      EXPECT_TRUE(picture.contains(version));
    }
    EXPECT_FALSE(text.intersects(picture));
    EXPECT_FALSE(text.intersects(dlg.Bevel1->geometry()));
    EXPECT_FALSE(text.intersects(ok));
    EXPECT_GT(ok.top(), dlg.Bevel1->geometry().bottom());
    EXPECT_GT(ok.width(), dlg.OKBtn->fontMetrics().horizontalAdvance(dlg.OKBtn->text()) + 8);
    EXPECT_GE(ok.height(), dlg.OKBtn->fontMetrics().height());

    const QFontMetrics metrics(dlg.CopyrightLabel->font());
    int widest = 0;
    const QStringList lines = HtmlPlainText(AboutText()).split("\r\n");
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    EXPECT_GE(text.width(), widest);
    EXPECT_GE(text.height(), int(lines.size()) * metrics.height());
  }
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
  EXPECT_TRUE(version.startsWith("Version: ") && version.size() > 9) << version.toStdString();
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
