#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "platform/ErrorBox.h"
#include "platform/ScriptedPrompts.h"

TEST(ErrorBoxText, FullStopAfterLettersDigitsAndAngle) {
  EXPECT_EQ(ErrorBoxText("Name too long"), "Name too long.");
  EXPECT_EQ(ErrorBoxText("longer than 112"), "longer than 112.");
  EXPECT_EQ(ErrorBoxText("<none>"), "<none>.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
  EXPECT_EQ(ErrorBoxText("the \"name\""), "the \"name\"");
  EXPECT_EQ(ErrorBoxText("trailing "), "trailing ");
  EXPECT_EQ(ErrorBoxText(""), "");
  EXPECT_EQ(ErrorBoxText(QStringLiteral(u"caf\u00E9")), QStringLiteral(u"caf\u00E9."));
}

TEST(ScriptedPrompts, InstallsItselfAndRestores) {
  IPrompts* before = &Prompts();
  {
    TScriptedPrompts scripted;
    EXPECT_EQ(&Prompts(), &scripted);
  }
  EXPECT_EQ(&Prompts(), before);
}

TEST(ScriptedPrompts, AnswersInOrderAndRecords) {
  TScriptedPrompts p;
  p.AnswerMessage(TModalResult::Yes);
  p.AnswerMessage(TModalResult::No);
  p.AnswerOpenFile("/tmp/a.pdb");
  p.AnswerSaveFile("");
  EXPECT_EQ(p.Pending(), 4);

  EXPECT_EQ(Prompts().MessageBox(nullptr, "Save?", "Confirmation", TMsgIcon::Question,
                                 mbYes | mbNo | mbCancel),
            TModalResult::Yes);
  EXPECT_EQ(
      Prompts().MessageBox(nullptr, "Again?", "Confirmation", TMsgIcon::Question, mbYes | mbNo),
      TModalResult::No);
  TFileDialogOptions open;
  open.title = "Open";
  open.mustExist = true;
  EXPECT_TRUE(Prompts().OpenFileDialog(nullptr, open));
  EXPECT_EQ(open.fileName, "/tmp/a.pdb");
  TFileDialogOptions save;
  save.fileName = "keep.pdb";
  EXPECT_FALSE(Prompts().SaveFileDialog(nullptr, save));
  EXPECT_EQ(save.fileName, "keep.pdb");

  ASSERT_EQ(p.Questions().size(), 4u);
  EXPECT_EQ(p.Questions()[0].kind, TScriptedPrompts::Asked::Message);
  EXPECT_EQ(p.Questions()[0].text, "Save?");
  EXPECT_EQ(p.Questions()[0].caption, "Confirmation");
  EXPECT_EQ(p.Questions()[0].icon, TMsgIcon::Question);
  EXPECT_EQ(p.Questions()[0].buttons, mbYes | mbNo | mbCancel);
  EXPECT_EQ(p.Questions()[2].kind, TScriptedPrompts::Asked::OpenFile);
  EXPECT_EQ(p.Questions()[2].text, "Open");
  EXPECT_TRUE(p.Questions()[2].kind == TScriptedPrompts::Asked::OpenFile);
  EXPECT_EQ(p.Pending(), 0);
  EXPECT_EQ(p.Unanswered(), 0);
}

TEST(ScriptedPrompts, UnansweredQuestionsAreCountedAndCancelled) {
  TScriptedPrompts p;
  QFont font;
  QColor color(Qt::red);
  EXPECT_EQ(Prompts().MessageBox(nullptr, "?", "c", TMsgIcon::Question, mbYes | mbNo),
            TModalResult::Cancel);
  EXPECT_FALSE(Prompts().FontDialog(nullptr, font, color));
  EXPECT_FALSE(Prompts().ColorDialog(nullptr, color));
  EXPECT_EQ(color, QColor(Qt::red));
  QDialog dlg;
  dlg.setWindowTitle("Props");
  EXPECT_EQ(Prompts().ExecDialog(&dlg), TModalResult::Cancel);  // not exec'd
  EXPECT_EQ(p.Unanswered(), 4);
  EXPECT_EQ(p.Questions().back().text, "Props");
  Prompts().Beep();
  EXPECT_EQ(p.Beeps(), 1);
  p.Clear();
  EXPECT_TRUE(p.Questions().empty());
  EXPECT_EQ(p.Unanswered(), 0);
}

TEST(ScriptedPrompts, DialogHandlerDrivesTheDialog) {
  TScriptedPrompts p;
  QColor picked;
  p.AnswerColor(true, Qt::blue);
  p.AnswerFont(true, QFont("Serif", 14), Qt::green);
  p.AnswerDialog([](QDialog* d) {
    d->setProperty("touched", true);
    return TModalResult::OK;
  });
  QDialog dlg;
  EXPECT_EQ(Prompts().ExecDialog(&dlg), TModalResult::OK);
  EXPECT_TRUE(dlg.property("touched").toBool());
  EXPECT_TRUE(Prompts().ColorDialog(nullptr, picked));
  EXPECT_EQ(picked, QColor(Qt::blue));
  p.AnswerPrint(false);
  p.AnswerPrint(true, "/tmp/vornik_scripted.pdf");
  EXPECT_FALSE(Prompts().PrintDialog(nullptr, ApplicationPrinter()));
  EXPECT_TRUE(Prompts().PrintDialog(nullptr, ApplicationPrinter()));
  EXPECT_EQ(ApplicationPrinter().outputFormat(), QPrinter::PdfFormat);
  EXPECT_EQ(ApplicationPrinter().outputFileName(), "/tmp/vornik_scripted.pdf");
  EXPECT_EQ(p.Questions().back().kind, TScriptedPrompts::Asked::Print);
  QFont f;
  QColor c;
  EXPECT_TRUE(Prompts().FontDialog(nullptr, f, c));
  EXPECT_EQ(f.pointSize(), 14);
  EXPECT_EQ(c, QColor(Qt::green));
}

TEST(RunGuarded, ShowsFailuresAndSwallowsAbort) {
  TScriptedPrompts p;
  p.AnswerMessage(TModalResult::OK);
  EXPECT_TRUE(RunGuarded(nullptr, [] {}));
  EXPECT_FALSE(RunGuarded(nullptr, [] { throw EAbort(); }));
  EXPECT_TRUE(p.Questions().empty());
  // The message is Windows-1252 bytes: 0xE9 is e acute.
  EXPECT_FALSE(RunGuarded(nullptr, [] { throw std::runtime_error("Caf\xE9 is too long"); }));
  ASSERT_EQ(p.Questions().size(), 1u);
  EXPECT_EQ(p.Questions()[0].text, QStringLiteral(u"Caf\u00E9 is too long."));
  EXPECT_EQ(p.Questions()[0].caption, QApplication::applicationName());
  EXPECT_EQ(p.Questions()[0].icon, TMsgIcon::Error);
  EXPECT_EQ(p.Questions()[0].buttons, int(mbOK));
  EXPECT_FALSE(RunGuarded(nullptr, [] { throw 42; }));  // never escapes
  EXPECT_EQ(p.Questions().size(), 2u);
}

// The real message box: plain text, and Esc gives Cancel or No.
namespace {
TModalResult AnswerRealBox(int buttons, const std::function<void(QMessageBox*)>& act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
        act(box);
        return;
      }
    }
  });
  TQtPrompts real;
  return real.MessageBox(nullptr, "<b>not bold</b>", "Caption", TMsgIcon::Question, buttons);
}
}  // namespace

TEST(QtPrompts, MessageBoxIsPlainAndMapsButtons) {
  EXPECT_EQ(AnswerRealBox(mbYes | mbNo | mbCancel,
                          [](QMessageBox* b) {
                            EXPECT_EQ(b->textFormat(), Qt::PlainText);
                            EXPECT_EQ(b->windowTitle(), "Caption");
                            EXPECT_EQ(b->text(), "<b>not bold</b>");
                            b->button(QMessageBox::No)->click();
                          }),
            TModalResult::No);
  EXPECT_EQ(AnswerRealBox(mbYes | mbNo | mbCancel, [](QMessageBox* b) { b->reject(); }),
            TModalResult::Cancel);
  EXPECT_EQ(AnswerRealBox(mbYes | mbNo, [](QMessageBox* b) { b->reject(); }), TModalResult::No);
  EXPECT_EQ(
      AnswerRealBox(mbYes | mbNo, [](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }),
      TModalResult::Yes);
}

TEST(QtPrompts, FontDialogOffersTheColourEffect) {
  QFont font("Sans", 11);
  QColor color(0x80, 0, 0);  // maroon
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dlg = qobject_cast<QDialog*>(w);
      if (!dlg || !dlg->isVisible()) continue;
      auto* combo = dlg->findChild<QComboBox*>("fontColorCombo");
      ASSERT_NE(combo, nullptr);
      EXPECT_EQ(combo->currentText(), "Maroon");
      dlg->grab().save("/tmp/vornik_font_dialog.png");
      combo->setCurrentIndex(combo->findText("Blue"));
      dlg->accept();
      return;
    }
  });
  TQtPrompts real;
  ASSERT_TRUE(real.FontDialog(nullptr, font, color));
  EXPECT_EQ(color, QColor(0, 0, 255));
}

TEST(QtPrompts, FileDialogsTakeTheOptions) {
  const QString dir = QDir::tempPath();
  TFileDialogOptions save;
  save.title = "Save As";
  save.filter = "Palm Databases (*.pdb);;All files (*.*)";
  save.defaultExtension = "pdb";
  save.fileName = dir + "/vornik_save_test";
  save.confirmOverwrite = true;
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dlg = qobject_cast<QFileDialog*>(w);
      if (!dlg || !dlg->isVisible()) continue;
      EXPECT_EQ(dlg->windowTitle(), "Save As");
      EXPECT_EQ(dlg->acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(dlg->defaultSuffix(), "pdb");
      EXPECT_FALSE(dlg->testOption(QFileDialog::DontConfirmOverwrite));
      EXPECT_EQ(dlg->nameFilters().size(), 2);
      static_cast<QDialog*>(dlg)->accept();
      return;
    }
  });
  TQtPrompts real;
  ASSERT_TRUE(real.SaveFileDialog(nullptr, save));
  EXPECT_EQ(save.fileName, dir + "/vornik_save_test.pdb");

  TFileDialogOptions open;
  open.title = "Open";
  open.mustExist = true;
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dlg = qobject_cast<QFileDialog*>(w);
      if (!dlg || !dlg->isVisible()) continue;
      EXPECT_EQ(dlg->acceptMode(), QFileDialog::AcceptOpen);
      EXPECT_EQ(dlg->fileMode(), QFileDialog::ExistingFile);
      dlg->reject();
      return;
    }
  });
  EXPECT_FALSE(real.OpenFileDialog(nullptr, open));

  // A name in a folder that does not exist is refused with a message; the
  // dialog stays open.
  save.fileName = dir + "/vornik_no_such_folder/list.pdb";
  save.folderMustExist = true;
  QString refusal;
  bool stayedOpen = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dlg = qobject_cast<QFileDialog*>(w);
      if (!dlg || !dlg->isVisible()) continue;
      QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          refusal = box->text();
          box->accept();
        }
      });
      static_cast<QDialog*>(dlg)->accept();
      stayedOpen = dlg->isVisible();
      dlg->reject();
      return;
    }
  });
  EXPECT_FALSE(real.SaveFileDialog(nullptr, save));
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(refusal.contains("Path does not exist")) << refusal.toStdString();
}
