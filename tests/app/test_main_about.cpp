// The About command and the version the built program carries.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>

#include "dialogs/frmAbout.h"
#include "main_form_fixture.h"
#include "platform/VersionInfo.h"

namespace {

TEST(ProgramFile, CarriesTheProjectVersion) {
  TFileVersion version;
  ASSERT_TRUE(ReadExecutableVersion(VORNIK_PROGRAM_FILE, version));
  EXPECT_EQ(QStringLiteral("%1.%2.%3.%4")
                .arg(version.Major)
                .arg(version.Minor)
                .arg(version.Release)
                .arg(version.Build),
            VORNIK_VERSION_TEXT);
}

TEST_F(MainFormTest, AboutOpensTheAboutDialogOwnedByTheWindow) {
  QAction* about = Action("HelpAboutAction");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->shortcut(), QKeySequence(Qt::Key_F1));
  QWidget* owner = nullptr;
  QString version;
  prompts->AnswerDialog([&](QDialog* dialog) {
    auto* dlg = dynamic_cast<TAboutDialog*>(dialog);
    if (!dlg) return TModalResult::Cancel;
    owner = dlg->parentWidget();
    version = dlg->VersionLabel->text();
    return TModalResult::OK;
  });
  about->trigger();
  EXPECT_EQ(owner, form.get());
  // The version this test program was built with, as the program's file
  // carries it too.
  EXPECT_EQ(version, "Version: " VORNIK_VERSION_TEXT);
  EXPECT_EQ(prompts->Unanswered(), 0);
}

}  // namespace
