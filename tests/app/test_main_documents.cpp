// The main window's frame and its document commands.
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

#include "main_form_fixture.h"
#include "platform/ErrorBox.h"

namespace {

using Asked = TScriptedPrompts::Asked;

}  // namespace

TEST_F(MainFormTest, StartsWithoutDocument) {
  EXPECT_EQ(form->windowTitle(), "Vornik");
  EXPECT_EQ(form->size(), QSize(597, 380));
  EXPECT_EQ(form->minimumSize(), QSize(450, 250));
  EXPECT_EQ(Doc(), nullptr);
  EXPECT_EQ(Panel(0), " (no data) ");
  EXPECT_EQ(Panel(1), "");
  EXPECT_FALSE(Combo()->isEnabled());
  EXPECT_TRUE(Child<QFrame>("BgPanel")->isHidden());
  Update();
  EXPECT_TRUE(Action("NewFileAction")->isEnabled());
  EXPECT_TRUE(Action("OpenFileAction")->isEnabled());
  EXPECT_TRUE(Action("ImportAction")->isEnabled());
  for (QAction* a :
       {Action("SaveFileAction"), Action("SaveAsFieAction"), Action("ExportFileAction"),
        Action("SendToPalmSyncAction"), Action("PropertiesAction"), Action("NewRecordAction"),
        Action("GotoAllCategory"), Action("GotoNextCategory"), Action("GotoPrevCategory")})
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(MainFormTest, ToolBarAreaShowsItsMenu) {
  form->show();
  QWidget* button = Child<QToolBar>("FileToolBar")->widgetForAction(Action("NewFileAction"));
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                          button->mapToGlobal(QPoint(2, 2)));
  QCoreApplication::sendEvent(button, &event);
  EXPECT_TRUE(Child<QMenu>("ToolbarPopupMenu")->isVisible());
  Child<QMenu>("ToolbarPopupMenu")->hide();
}

TEST_F(MainFormTest, StatusTipsReachTheLastPanel) {
  QStatusTipEvent tip("Create new list database...");
  QCoreApplication::sendEvent(form.get(), &tip);
  EXPECT_EQ(Panel(3), " Create new list database...");
}

TEST_F(MainFormTest, CreateNumbersNewListsAndCancelKeepsTheNumber) {
  const int n = TMainListDBForm::NewListCounter();
  QString proposed;
  prompts->AnswerDialog(ListPropertiesCancel(&proposed));
  EXPECT_TRUE(Run("NewFileAction"));
  EXPECT_EQ(proposed, QString("New List %1").arg(n));
  EXPECT_EQ(Doc(), nullptr);

  prompts->AnswerDialog(ListPropertiesCancel(&proposed));
  Run("NewFileAction");
  EXPECT_EQ(proposed, QString("New List %1").arg(n));

  CreateList("First", "Title", "Author");
  EXPECT_EQ(TMainListDBForm::NewListCounter(), n + 1);
  EXPECT_EQ(Doc()->DatabaseName(), "First");
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_EQ(Panel(0), "First");
  EXPECT_EQ(Panel(1), "0");
  EXPECT_EQ(Panel(2), "*");
  EXPECT_EQ(form->windowTitle(), "Vornik");
  EXPECT_EQ(List()->Model()->Caption(0), "Title");
  EXPECT_EQ(List()->Model()->Caption(1), "Author");
  EXPECT_FALSE(Child<QFrame>("BgPanel")->isHidden());
  EXPECT_TRUE(Combo()->isEnabled());

  // The modified list asks first; No drops it.
  prompts->AnswerMessage(TModalResult::No);
  prompts->AnswerDialog(ListPropertiesCancel(&proposed));
  Run("NewFileAction");
  EXPECT_EQ(proposed, QString("New List %1").arg(n + 1));
  EXPECT_EQ(LastMessage(), "Save changes to database \"First\"");
  EXPECT_EQ(prompts->Questions()[prompts->Questions().size() - 2].caption, "Confirmation");
  EXPECT_EQ(Doc()->DatabaseName(), "First");
}

TEST_F(MainFormTest, SaveQuestionOnCreate) {
  CreateList("Mine");
  TListDBData* first = Doc();

  // Cancel: nothing else is asked, the list stays.
  prompts->AnswerMessage(TModalResult::Cancel);
  EXPECT_TRUE(Run("NewFileAction"));
  EXPECT_EQ(Doc(), first);
  EXPECT_EQ(prompts->Questions().back().kind, Asked::Message);
  EXPECT_EQ(prompts->Questions().back().buttons, mbYes | mbNo | mbCancel);
  EXPECT_EQ(prompts->Questions().back().icon, TMsgIcon::Question);

  // Yes on a never-saved list: the save dialog comes first; cancelling it
  // cancels the command.
  prompts->AnswerMessage(TModalResult::Yes);
  prompts->AnswerSaveFile(QString());
  Run("NewFileAction");
  EXPECT_EQ(Doc(), first);
  EXPECT_EQ(prompts->lastFileOptions.title, "Save List...");

  // Yes, saved: the new list replaces it and the file holds the old one.
  prompts->AnswerMessage(TModalResult::Yes);
  prompts->AnswerSaveFile(Path("mine.pdb"));
  prompts->AnswerDialog(ListPropertiesAnswer("Next"));
  Run("NewFileAction");
  EXPECT_EQ(Doc()->DatabaseName(), "Next");
  EXPECT_TRUE(QFileInfo::exists(Path("mine.pdb")));
  EXPECT_EQ(form->RecentFiles(), QStringList({Path("mine.pdb")}));
}

TEST_F(MainFormTest, SavedByTheQuestionThenCancelledShowsUnchanged) {
  CreateList("Mine");
  prompts->AnswerMessage(TModalResult::Yes);
  prompts->AnswerSaveFile(Path("mine.pdb"));
  prompts->AnswerDialog(ListPropertiesCancel());
  Run("NewFileAction");
  // The list stays, and it is the file's content now.
  EXPECT_EQ(Doc()->DatabaseName(), "Mine");
  EXPECT_FALSE(Doc()->Modified());
  EXPECT_EQ(Panel(2), "");
  EXPECT_EQ(form->windowTitle(), "Vornik [" + Path("mine.pdb") + "]");
}

TEST_F(MainFormTest, SaveQuestionOnOpenAndFavorites) {
  WriteListFile(Path("a.pdb"), "A", {}, {{"x", "y"}});
  CreateList("Mine");

  prompts->AnswerMessage(TModalResult::Cancel);
  Run("OpenFileAction");
  EXPECT_EQ(Doc()->DatabaseName(), "Mine");

  // A cancelled open dialog keeps the document.
  prompts->AnswerMessage(TModalResult::No);
  prompts->AnswerOpenFile(QString());
  Run("OpenFileAction");
  EXPECT_EQ(Doc()->DatabaseName(), "Mine");
  EXPECT_EQ(prompts->lastFileOptions.title, "Open List...");
  EXPECT_EQ(prompts->lastFileOptions.filter, "Palm Databases (*.pdb);;All files (*.*)");
  EXPECT_EQ(prompts->lastFileOptions.defaultExtension, "pdb");
  EXPECT_TRUE(prompts->lastFileOptions.mustExist);

  prompts->AnswerMessage(TModalResult::No);
  OpenFile(Path("a.pdb"));
  EXPECT_EQ(Doc()->DatabaseName(), "A");

  // Favorites: the question, then the file at the item's tag.
  form->SetRecentFiles({Path("a.pdb")});
  CreateList("Other");
  auto openFavorite = [&] {
    emit Child<QMenu>("File1")->aboutToShow();
    const QList<QAction*> items = Child<QMenu>("Favorites1")->actions();
    ASSERT_FALSE(items.isEmpty());
    items.front()->trigger();
  };
  prompts->AnswerMessage(TModalResult::Cancel);
  openFavorite();
  EXPECT_EQ(Doc()->DatabaseName(), "Other");
  prompts->AnswerMessage(TModalResult::No);
  openFavorite();
  EXPECT_EQ(Doc()->DatabaseName(), "A");
  EXPECT_FALSE(Doc()->Modified());
}

TEST_F(MainFormTest, FavoritesMenuListsRecentFiles) {
  WriteListFile(Path("a.pdb"), "A", {}, {});
  WriteListFile(Path("b.pdb"), "B", {}, {});
  OpenFile(Path("a.pdb"));
  OpenFile(Path("b.pdb"));
  emit Child<QMenu>("File1")->aboutToShow();
  const QList<QAction*> items = Child<QMenu>("Favorites1")->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), Path("b.pdb"));
  EXPECT_EQ(items[1]->data().toInt(), 1);
  items[1]->trigger();
  EXPECT_EQ(Doc()->DatabaseName(), "A");
  EXPECT_EQ(form->RecentFiles().front(), Path("a.pdb"));
}

TEST_F(MainFormTest, SaveQuestionOnExit) {
  form->show();
  CreateList("Mine");
  prompts->AnswerMessage(TModalResult::Cancel);
  EXPECT_TRUE(Run("ExitAction"));
  EXPECT_TRUE(form->isVisible());

  prompts->AnswerMessage(TModalResult::Yes);
  prompts->AnswerSaveFile(QString());
  Run("ExitAction");
  EXPECT_TRUE(form->isVisible());

  prompts->AnswerMessage(TModalResult::Yes);
  prompts->AnswerSaveFile(Path("exit.pdb"));
  Run("ExitAction");
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(QFileInfo::exists(Path("exit.pdb")));
}

TEST_F(MainFormTest, ExitWithNoDropsChanges) {
  form->show();
  CreateList("Mine");
  prompts->AnswerMessage(TModalResult::No);
  Run("ExitAction");
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(MainFormTest, OpenShowsTheFile) {
  WriteListFile(Path("a.pdb"), "Books", {"Work"},
                {{"x", "1", "", 1}, {"y", "2", "", 0}, {"z", "3", "", 1}}, "Title", "Year");
  OpenFile(Path("a.pdb"));
  ASSERT_NE(Doc(), nullptr);
  EXPECT_EQ(form->windowTitle(), "Vornik [" + Path("a.pdb") + "]");
  EXPECT_EQ(Panel(0), "Books");
  EXPECT_EQ(Panel(1), "3");
  EXPECT_EQ(Panel(2), "");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(List()->Model()->Caption(0), "Title");
  EXPECT_EQ(Combo()->count(), 3);
  EXPECT_EQ(Combo()->currentText(), "All");
  Update();
  EXPECT_FALSE(Action("SaveFileAction")->isEnabled());
  EXPECT_TRUE(Action("SaveAsFieAction")->isEnabled());
  EXPECT_TRUE(Action("ExportFileAction")->isEnabled());
}

TEST_F(MainFormTest, OpeningAFileOfAnotherTypeLeavesNoDocument) {
  WriteListFile(Path("good.pdb"), "Good", {}, {});
  std::vector<uint8_t> bytes = ReadBytes(Path("good.pdb"));
  ASSERT_GT(bytes.size(), 68u);
  std::copy_n("TEXtREAd", 8, bytes.begin() + 60);
  WriteBytes(Path("other.pdb"), bytes);

  OpenFile(Path("good.pdb"));
  form->SetRecentFiles({Path("other.pdb"), Path("good.pdb")});
  prompts->AnswerMessage(TModalResult::OK);  // the error box
  OpenFile(Path("other.pdb"));
  EXPECT_EQ(LastMessage(), "Invalid database type or creator ID: TEXt-REAd.");
  EXPECT_EQ(prompts->Questions().back().caption, "Vornik");
  EXPECT_EQ(prompts->Questions().back().icon, TMsgIcon::Error);
  EXPECT_EQ(Doc(), nullptr);
  EXPECT_EQ(form->windowTitle(), "Vornik");
  EXPECT_EQ(Panel(0), " (no data) ");
  EXPECT_EQ(List()->RowCount(), 0);
  EXPECT_EQ(form->RecentFiles(), QStringList({Path("good.pdb")}));
}

TEST_F(MainFormTest, RecentFilesKeepOneEntryPerPath) {
  WriteListFile(Path("a.pdb"), "A", {}, {});
  WriteListFile(Path("b.pdb"), "B", {}, {});
  OpenFile(Path("a.pdb"));
  OpenFile(Path("b.pdb"));
  OpenFile(Path("a.pdb"));
  EXPECT_EQ(form->RecentFiles(), QStringList({Path("a.pdb"), Path("b.pdb")}));
#ifndef Q_OS_WIN
  // Names that differ in letter case are two files here.
  WriteListFile(Path("A.pdb"), "A", {}, {});
  OpenFile(Path("A.pdb"));
  EXPECT_EQ(form->RecentFiles().size(), 3);
#endif
}

TEST_F(MainFormTest, SaveAndSaveAs) {
  CreateList("Mine");
  Update();
  EXPECT_TRUE(Action("SaveFileAction")->isEnabled());

  // Save of a never-saved list asks for a name; cancelled, nothing happens.
  prompts->AnswerSaveFile(QString());
  Run("SaveFileAction");
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_TRUE(prompts->lastFileOptions.confirmOverwrite);
  EXPECT_EQ(prompts->lastFileOptions.fileName, "");

  prompts->AnswerSaveFile(Path("one.pdb"));
  Run("SaveFileAction");
  EXPECT_FALSE(Doc()->Modified());
  EXPECT_EQ(Panel(2), "");
  EXPECT_EQ(form->windowTitle(), "Vornik [" + Path("one.pdb") + "]");
  Update();
  EXPECT_FALSE(Action("SaveFileAction")->isEnabled());
  EXPECT_TRUE(Action("SaveAsFieAction")->isEnabled());

  prompts->AnswerSaveFile(Path("two.pdb"));
  Run("SaveAsFieAction");
  EXPECT_EQ(Doc()->FileName, Path("two.pdb").toStdString());
  EXPECT_EQ(form->RecentFiles(), QStringList({Path("two.pdb"), Path("one.pdb")}));
  EXPECT_EQ(ReadBytes(Path("one.pdb")).size(), ReadBytes(Path("two.pdb")).size());
}

TEST_F(MainFormTest, FailedSaveKeepsTheOldFileAndTheChanges) {
  WriteListFile(Path("keep.pdb"), "Keep", {}, {{"old", "1"}});
  const std::vector<uint8_t> before = ReadBytes(Path("keep.pdb"));
  OpenFile(Path("keep.pdb"));
  AddRecord("new", "2");

  // A folder that does not exist.
  prompts->AnswerSaveFile(Path("missing/x.pdb"));
  prompts->AnswerMessage(TModalResult::OK);  // the error box
  Run("SaveAsFieAction");
  EXPECT_EQ(prompts->Questions().back().kind, Asked::Message);
  EXPECT_EQ(prompts->Questions().back().caption, "Vornik");
  EXPECT_EQ(LastMessage(), "Cannot create file " + Path("missing/x.pdb") + ".");
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_EQ(Panel(2), "*");
  // The document keeps its name, and the status bar says no more that it saves.
  EXPECT_EQ(Doc()->FileName, Path("keep.pdb").toStdString());
  EXPECT_EQ(form->windowTitle(), "Vornik [" + Path("keep.pdb") + "]");
  EXPECT_EQ(Panel(3), "");
  EXPECT_FALSE(form->RecentFiles().contains(Path("missing/x.pdb")));
  EXPECT_TRUE(prompts->lastFileOptions.folderMustExist);

  // A path that is a folder, where the old file's folder is: the old file stays.
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.pdb"));
  prompts->AnswerSaveFile(Path("folder.pdb"));
  prompts->AnswerMessage(TModalResult::OK);  // the error box
  Run("SaveAsFieAction");
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_EQ(ReadBytes(Path("keep.pdb")), before);
  EXPECT_TRUE(QFileInfo(Path("folder.pdb")).isDir());

  // Save then writes the file the document came from.
  Run("SaveFileAction");
  EXPECT_FALSE(Doc()->Modified());
  EXPECT_NE(ReadBytes(Path("keep.pdb")), before);
}

TEST_F(MainFormTest, ErrorsNameNonAsciiPathsAsTyped) {
  const QString path = Path(QString::fromUtf8("M\u00e4rz/caf\u00e9.pdb"));
  prompts->AnswerOpenFile(path);
  prompts->AnswerMessage(TModalResult::OK);  // the error box
  Run("OpenFileAction");
  EXPECT_EQ(LastMessage(), "Cannot open file " + path + ".");
}

TEST_F(MainFormTest, FailedWriteOverAnExistingFileLeavesItWhole) {
  WriteListFile(Path("keep.pdb"), "Keep", {}, {{"old", "1"}});
  const std::vector<uint8_t> before = ReadBytes(Path("keep.pdb"));
  OpenFile(Path("keep.pdb"));
  // A document the writer refuses: the save fails after the dialog.
  Doc()->GetRecord(0)->StoreField1Unchecked(std::string(300, 'x'));
  Doc()->SetModified(true);
  prompts->AnswerMessage(TModalResult::OK);  // the error box
  Run("SaveFileAction");
  EXPECT_EQ(prompts->Questions().back().kind, Asked::Message);
  EXPECT_EQ(ReadBytes(Path("keep.pdb")), before);
  EXPECT_TRUE(Doc()->Modified());
}

TEST_F(MainFormTest, NotYetReadyCommands) {
  Update();
  EXPECT_TRUE(Action("ImportAction")->isEnabled());
  EXPECT_FALSE(Action("ExportFileAction")->isEnabled());

  CreateList("Mine");
  for (QAction* a : {Action("ExportFileAction"), Action("SendToPalmSyncAction")}) {
    prompts->AnswerMessage(TModalResult::OK);
    EXPECT_TRUE(Run(a));
    EXPECT_EQ(LastMessage(), "Sorry, but this function not yet ready...");
  }
  EXPECT_EQ(Doc()->RecordCount(), 0);
  EXPECT_TRUE(Doc()->Modified());
}
