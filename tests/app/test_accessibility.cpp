// Keyboard and screen reader use of every window: names, exposed texts, the
// announced row, the keyboard sort.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>

#include "components/QRXHtmlControls.h"
#include "components/QRX_Wizard.h"
#include "components/QRX_WizardHeader.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmEditCategories.h"
#include "dialogs/frmExportTuneup.h"
#include "dialogs/frmImport.h"
#include "main_form_fixture.h"

namespace {

// What a screen reader says a control is. A combo box speaks its value as
// its name, so what it is must come from the label that names it.
QString SpokenName(QWidget* widget) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
  if (!iface) return QString();
  if (iface->role() == QAccessible::ComboBox) {
    for (const auto& [label, relation] : iface->relations(QAccessible::Label)) {
      const QString name = label->text(QAccessible::Name).trimmed();
      if (!name.isEmpty()) return name;
    }
    return QString();
  }
  return iface->text(QAccessible::Name).trimmed();
}

// The controls of a window that the keyboard or the pointer reaches and a
// screen reader cannot name (a control whose focus goes to another is spoken
// as that one), as "class objectName, ...".
std::string Unnamed(QWidget* window) {
  QStringList unnamed;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    const bool reachable =
        widget->isVisible() && widget->isEnabled() && !widget->focusProxy() &&
        ((widget->focusPolicy() & Qt::TabFocus) || qobject_cast<QAbstractButton*>(widget));
    if (!reachable || !SpokenName(widget).isEmpty()) continue;
    unnamed << QString("%1 %2").arg(widget->metaObject()->className(), widget->objectName());
  }
  return unnamed.join(", ").toStdString();
}

// A dialog answer that shows the dialog, runs check on it and cancels.
std::function<TModalResult(QDialog*)> Inspect(std::function<void(QDialog*)> check) {
  return [check = std::move(check)](QDialog* dialog) {
    dialog->show();
    QApplication::processEvents();
    check(dialog);
    dialog->hide();
    return TModalResult::Cancel;
  };
}

class AccessibilityTest : public MainFormTest {
 protected:
  void OpenSample() {
    WriteListFile(Path("s.pdb"), "Sample", {"Work", "Home"},
                  {{"a", "9", "one", 1}, {"b", "10", "", 2}, {"c", "8", "", 1}});
    OpenFile(Path("s.pdb"));
    ASSERT_NE(Doc(), nullptr);
  }
  void ShowActive() {
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  // The current row agrees with the selection: either it is the one
  // selected row, or nothing is selected and no row is current.
  void ExpectCurrentIsSelected(int row) {
    EXPECT_EQ(List()->currentIndex().row(), row);
    EXPECT_EQ(List()->SelectedRows(), row < 0 ? std::vector<int>{} : std::vector<int>{row});
  }
  QMenu* SortByMenu() const { return Child<QMenu>("SortByMenu"); }
  QString WriteCsv() {
    const QString path = Path("people.csv");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Name,Phone,Notes\nAnn,555,x\nBob,777,y\n");
    return path;
  }
};

}  // namespace

TEST_F(AccessibilityTest, EveryReachableControlOfEveryWindowHasAName) {
  ShowActive();
  OpenSample();
  SelectRows({0});
  EXPECT_EQ(Unnamed(form.get()), "");
  EXPECT_EQ(SpokenName(Combo()), "Current category");
  EXPECT_EQ(SpokenName(List()), "Records");
  EXPECT_EQ(SpokenName(Child<QWidget>("StatusPanel1")), "Records: 3");
  PickCategory("Work");
  EXPECT_EQ(SpokenName(Child<QWidget>("StatusPanel1")), "Records: 2 of 3");
  EXPECT_EQ(SpokenName(Child<QWidget>("StatusPanel0")), "List name: Sample");
  EXPECT_EQ(SpokenName(Child<QWidget>("StatusPanel2")), "Not modified");

  QStringList seen;
  auto expectNamed = [&](QDialog* dialog) {
    seen << dialog->windowTitle();
    EXPECT_EQ(Unnamed(dialog), "") << dialog->windowTitle().toStdString();
  };
  prompts->AnswerDialog(Inspect(expectNamed));
  ASSERT_TRUE(Run("NewRecordAction"));
  prompts->AnswerDialog(Inspect(expectNamed));
  ASSERT_TRUE(Run("PropertiesAction"));
  prompts->AnswerDialog(Inspect([&](QDialog* dialog) {
    expectNamed(dialog);
    // The name entry dialog opens from here.
    prompts->AnswerDialog(Inspect(expectNamed));
    dynamic_cast<TCategoriesListDialog*>(dialog)->NewCategoryAction->trigger();
  }));
  ASSERT_TRUE(Run("EditCategoriesAction"));
  SelectRows({0});
  prompts->AnswerDialog(Inspect(expectNamed));
  ASSERT_TRUE(Run("ChangeCategoryAction"));
  prompts->AnswerDialog(Inspect(expectNamed));
  ASSERT_TRUE(Run("FindAction"));
  prompts->AnswerDialog(Inspect(expectNamed));
  ASSERT_TRUE(Run("HelpAboutAction"));
  prompts->AnswerOpenFile(WriteCsv());
  prompts->AnswerDialog(Inspect(expectNamed));
  ASSERT_TRUE(Run("ImportAction"));
  EXPECT_EQ(seen, (QStringList{"New record", "List Properties", "Categories", "New category",
                               "Category", "Search", "About Vornik", "Import"}));
}

TEST_F(AccessibilityTest, ExportFormPagesAreNamedHeadedAndFocusTheirFirstControl) {
  OpenSample();
  TExportTuneupForm export_(form.get());
  export_.LoadCategoryFilter(Doc());
  export_.show();
  QApplication::setActiveWindow(&export_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&export_));
  QAccessibleInterface* subHeader =
      QAccessible::queryAccessibleInterface(export_.Header->SubHeaderLabel());
  EXPECT_EQ(subHeader->role(), QAccessible::Heading);
  const std::vector<QWidget*> firstControls = {
      export_.TypesListBox,       export_.rbExportToClipboard, export_.rbAllRecords,
      export_.FieldsCheckListBox, export_.FieldsSeparatorEdit, export_.Wizard->EndButton()};
  for (int page = 0; page < export_.Notebook->count(); ++page) {
    SCOPED_TRACE(page);
    // Past the fields page only with a field chosen.
    if (page == 4) export_.FieldsCheckListBox->item(0)->setCheckState(Qt::Checked);
    if (page > 0) export_.Wizard->NextButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(Unnamed(&export_), "");
    EXPECT_EQ(subHeader->text(QAccessible::Name), export_.Notebook->currentWidget()->windowTitle());
    EXPECT_EQ(QApplication::focusWidget(), firstControls[page]);
  }
  // The chosen option of a group takes the focus, as Tab gives it.
  export_.rbOnlyOneCategory->setChecked(true);
  export_.Notebook->setCurrentIndex(2);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(export_.rbOnlyOneCategory));
}

// The import preview's first row holds a choice per column: each is named by
// its column, and Tab steps through them and on instead of through every
// cell of the preview.
TEST_F(AccessibilityTest, ImportColumnChoicesAreNamedAndTabLeavesThePreview) {
  TImportDialog import(form.get());
  import.SetFileName(WriteCsv());
  import.show();
  QApplication::setActiveWindow(&import);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&import));
  auto column = [&](int c) { return import.PreviewTable->cellWidget(0, c); };
  ASSERT_EQ(import.PreviewTable->columnCount(), 3);
  // Read again: the choices are made anew and their names follow them.
  import.TitlesCheck->setChecked(false);
  import.TitlesCheck->setChecked(true);
  EXPECT_EQ(SpokenName(column(0)), "Name becomes");
  EXPECT_EQ(SpokenName(column(2)), "Notes becomes");
  // The replaced choices go when the event loop next runs.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(import.PreviewTable->viewport()->findChildren<QLabel*>().size(), 3);

  // The table hands the focus on to the choice in its current cell.
  import.TitlesCheck->setFocus(Qt::TabFocusReason);
  std::vector<QWidget*> steps;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    steps.push_back(QApplication::focusWidget());
  }
  EXPECT_EQ(steps, (std::vector<QWidget*>{column(0), column(1), column(2), import.CutRadio}));
}

TEST_F(AccessibilityTest, HintAndAboutTextsAreExposed) {
  ShowActive();
  OpenSample();
  List()->ShowRecordHintAt(List()->RowRect(0).center());
  ASSERT_TRUE(TQRX_HintEx::HintVisible());
  QAccessibleInterface* hint = QAccessible::queryAccessibleInterface(TQRX_HintEx::HintWindow());
  EXPECT_EQ(hint->role(), QAccessible::ToolTip);
  EXPECT_EQ(hint->text(QAccessible::Name),
            "Category:\n  Work\nName:\n  a\nPhone:\n  9\nNotes:\none");
  EXPECT_EQ(hint->text(QAccessible::Description), hint->text(QAccessible::Name));
  TQRX_HintEx::HideHint();

  TAboutDialog about(form.get());
  about.SetAboutText(AboutText());
  QAccessibleInterface* banner =
      QAccessible::queryAccessibleInterface(about.findChild<QWidget*>("AboutImage"));
  EXPECT_EQ(banner->role(), QAccessible::Graphic);
  EXPECT_EQ(banner->text(QAccessible::Name), "Vornik");
  EXPECT_EQ(banner->text(QAccessible::Description), "List database editor");
  QAccessibleInterface* text = QAccessible::queryAccessibleInterface(about.CopyrightLabel);
  EXPECT_EQ(text->role(), QAccessible::StaticText);
  EXPECT_TRUE(text->text(QAccessible::Name)
                  .endsWith("This program is freeware.\nYou use this program at your own risk!\n\n"
                            "However, any donations are welcome..."))
      << text->text(QAccessible::Name).toStdString();
}

TEST_F(AccessibilityTest, TheCurrentRowIsTheSelectedRow) {
  ShowActive();
  OpenSample();
  // Open gives the list the focus: its first row is announced and selected.
  EXPECT_EQ(QApplication::focusWidget(), List());
  ExpectCurrentIsSelected(0);
  SelectRows({1});
  ExpectCurrentIsSelected(1);

  // The remembered record stays selected and current; where it has no row,
  // nothing is selected and nothing is current.
  PickCategory("Home");
  ExpectCurrentIsSelected(0);
  PickCategory("Work");
  ExpectCurrentIsSelected(-1);
  // Back in the list, the row that takes the focus is selected with it.
  Combo()->setFocus();
  List()->setFocus(Qt::TabFocusReason);
  ExpectCurrentIsSelected(0);
  // The hidden category keys refill the list while it keeps the focus.
  ASSERT_TRUE(Run("GotoNextCategory"));
  ExpectCurrentIsSelected(-1);
  QTest::keyClick(List(), Qt::Key_Down);
  ExpectCurrentIsSelected(0);
  Update();
  EXPECT_TRUE(Action("EditRecordAction")->isEnabled());
}

TEST_F(AccessibilityTest, SortAndFitThroughTheContextMenu) {
  ShowActive();
  OpenSample();
  // The Menu key opens the record list's context menu, which holds "Sort by".
  const QPoint pointer = List()->mapToGlobal(QPoint(200, 150));
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(200, 150), pointer);
  QApplication::sendEvent(List(), &menuKey);
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->actions().last()->menu(), SortByMenu());
  // It opens below the current row, not at the pointer.
  EXPECT_EQ(popup->pos(), List()->viewport()->mapToGlobal(List()->RowRect(0).bottomLeft()));
  popup->close();

  QMenu* menu = SortByMenu();
  emit menu->aboutToShow();
  QList<QAction*> entries = menu->actions();
  ASSERT_EQ(entries.size(), 6);
  EXPECT_EQ(entries[1]->text(), "&2 Phone");
  entries[1]->trigger();
  EXPECT_EQ(RowTexts(1), (std::vector<std::string>{"10", "8", "9"}));
  EXPECT_EQ(List()->Model()->HeaderImage(1), kSortAscendingImage);
  emit menu->aboutToShow();
  entries = menu->actions();
  EXPECT_TRUE(entries[1]->isChecked() && !entries[0]->isChecked());
  EXPECT_EQ(entries[1]->text(), "&2 Phone (ascending)");
  // Again: the direction turns, as a second header click turns it.
  entries[1]->trigger();
  EXPECT_EQ(RowTexts(1), (std::vector<std::string>{"9", "8", "10"}));

  // Fitting keeps the order and the marks and only rescales.
  emit menu->aboutToShow();
  entries = menu->actions();
  QHeaderView* header = List()->header();
  for (int c = 0; c < 4; ++c) header->resizeSection(c, 40 + 10 * c);
  const int before = header->sectionSize(0);
  entries.last()->trigger();
  EXPECT_NE(header->sectionSize(0), before);
  EXPECT_EQ(RowTexts(1), (std::vector<std::string>{"9", "8", "10"}));
  EXPECT_EQ(List()->Model()->HeaderImage(1), kSortDescendingImage);
}
