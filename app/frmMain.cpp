// The main window's frame: actions, menus, tool bars, client area, status bar,
// and the window events.
#include "app/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ActionImages.h"
#include "components/Accessibility.h"
#include "components/QRXHtmlControls.h"
#include "components/RecordHint.h"
#include "components/RecordsListView.h"
#include "components/SortByMenu.h"
#include "components/StatusPanel.h"
#include "dialogs/abstract_form.h"
#include "dialogs/frmAbout.h"
#include "platform/ActionList.h"
#include "platform/ErrorBox.h"

namespace {

// Process-wide: the number of the next new list, the record list's sort.
int newListCounter = 1;
int sortColumn = -1;
bool sortAscending = true;

constexpr int kToolButtonWidth = 25;
constexpr int kToolButtonHeight = 24;
constexpr int kCategoriesComboWidth = 165;

// "short|long": the tool tip before the bar, the status text after it; a hint
// without a bar is both.
void ApplyHint(QAction* action, const QString& hint) {
  const int bar = hint.indexOf(u'|');
  if (bar < 0) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
  } else {
    action->setToolTip(hint.left(bar));
    action->setStatusTip(hint.mid(bar + 1));
  }
}

}  // namespace

int TMainListDBForm::NewListCounter() { return newListCounter; }
void TMainListDBForm::AdvanceNewListCounter() { ++newListCounter; }
int TMainListDBForm::SortColumn() { return sortColumn; }
bool TMainListDBForm::SortAscending() { return sortAscending; }

void TMainListDBForm::SetSortState(int column, bool ascending) {
  sortColumn = column;
  sortAscending = ascending;
}

TMainListDBForm::TMainListDBForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainListDBForm");
  setWindowTitle("Vornik");
  setWindowIcon(MainWindowIcon());
  resize(597, 380);
  setMinimumSize(450, 250);
  setContextMenuPolicy(Qt::DefaultContextMenu);

  ActionList = new TActionList(this);
  CreateActions();
  CreateClientArea();
  CreateToolBars();
  CreateMenus();
  CreateStatusBar();
  ConnectHandlers();
  TAbstractForm::Loaded(this);
  FormCreate();
}

TMainListDBForm::~TMainListDBForm() {
  // The settings were stored while the window closed; here only the document
  // is freed (its records go with it, so the rows go first).
  StatusBar->removeEventFilter(this);
  RecordsListView->SetDocument(nullptr);
  document_.reset();
}

QAction* TMainListDBForm::MakeAction(const QString& name, const QString& caption,
                                     const QString& hint, int image, int tag) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  ApplyHint(action, hint);
  if (image >= 0) action->setIcon(ActionImage(image));
  action->setData(tag);
  // The shortcuts of the window's commands stay inside the window.
  action->setShortcutContext(Qt::WindowShortcut);
  return action;
}

void TMainListDBForm::CreateActions() {
  using K = QKeySequence;
  NewFileAction =
      MakeAction("NewFileAction", "&Create...", "Create|Create new list database...", aiNewFile);
  NewFileAction->setShortcut(K(Qt::CTRL | Qt::Key_N));
  OpenFileAction =
      MakeAction("OpenFileAction", "&Open...", "Open|Open existing list file...", aiOpenFile);
  OpenFileAction->setShortcut(K(Qt::CTRL | Qt::Key_O));
  SaveFileAction = MakeAction("SaveFileAction", "&Save", "Save|Save current list...", aiSaveFile);
  SaveFileAction->setShortcut(K(Qt::CTRL | Qt::Key_S));
  SaveAsFieAction = MakeAction("SaveAsFieAction", "Save &as...",
                               "Save as|Save current list with new name...", aiSaveAs, 1);
  ImportAction = MakeAction("ImportAction", "&Import...",
                            "Import|Import data from other formats to new list...", aiImport);
  ImportAction->setShortcut(K(Qt::CTRL | Qt::Key_I));
  ExportFileAction =
      MakeAction("ExportFileAction", "&Export...", "Export|Export current list...", aiExport);
  ExportFileAction->setShortcut(K(Qt::CTRL | Qt::Key_E));
  SendToPalmSyncAction = MakeAction(
      "SendToPalmSyncAction", "Send &to Palm",
      "Send to Palm|Save selected list and stnd it to Palm HotSync application...", aiSendToPalm);
  SendToPalmSyncAction->setShortcut(K(Qt::CTRL | Qt::ALT | Qt::Key_P));
  PrintFileAction =
      MakeAction("PrintFileAction", "&Print...", "Print|Print current list...", aiPrint);
  PrintFileAction->setShortcut(K(Qt::CTRL | Qt::Key_P));
  PropertiesAction = MakeAction("PropertiesAction", "Properties...",
                                "Properties|Edit list database properties...", aiProperties);
  PropertiesAction->setShortcut(K(Qt::CTRL | Qt::Key_F10));
  ExitAction = MakeAction("ExitAction", "E&xit", "Exit|Close application...", aiExit);
  ExitAction->setShortcut(K(Qt::CTRL | Qt::Key_X));

  // Enter, Insert and Delete work window-wide like the other commands' keys,
  // also while the category box has the focus. An open drop-down list or a
  // dialog is a window of its own, so they never take its keys.
  NewRecordAction = MakeAction("NewRecordAction", "&New...",
                               "New record|Add new record to the list...", aiNewRecord);
  NewRecordAction->setShortcut(K(Qt::Key_Insert));
  EditRecordAction =
      MakeAction("EditRecordAction", "&Edit...", "Change|Edit selected record...", aiEditRecord);
  EditRecordAction->setShortcuts({K(Qt::Key_Enter), K(Qt::Key_Return)});
  DeleteRecordAction = MakeAction("DeleteRecordAction", "&Delete...",
                                  "Delete|Delete selected record form list...", aiDeleteRecord);
  DeleteRecordAction->setShortcut(K(Qt::Key_Delete));
  // Ctrl+C is the command's own key; the Edit menu shows Ctrl+T, which works
  // as well.
  EditCategoriesAction = MakeAction("EditCategoriesAction", "Ca&tegories...",
                                    "Edit categories|Edit categories list...", aiCategories);
  EditCategoriesAction->setShortcuts({K(Qt::CTRL | Qt::Key_T), K(Qt::CTRL | Qt::Key_C)});
  ChangeCategoryAction =
      MakeAction("ChangeCategoryAction", "&Change category...",
                 "Change category|Move selected records to new category...", aiChangeCategory);
  ChangeCategoryAction->setShortcut(K(Qt::CTRL | Qt::Key_M));
  CopyToClipboardAction = MakeAction("CopyToClipboardAction", "Copy to clipboard...",
                                     "Copy|Copy selected record to clipboard...", aiCopy);
  CopyToClipboardAction->setShortcut(K(Qt::CTRL | Qt::Key_Insert));

  FindAction =
      MakeAction("FindAction", "&Find...", "Find|Find data in current list database...", aiFind);
  FindAction->setShortcuts({K(Qt::CTRL | Qt::Key_F), K(Qt::Key_F7)});
  FindAgainAction = MakeAction("FindAgainAction", "Find &again",
                               "Find again|Repeat last search operation...", aiFindAgain, 1);
  FindAgainAction->setShortcut(K(Qt::Key_F3));

  ToolbarViewAction = MakeAction("ToolbarViewAction", "&Toolbar", "Show/hide tool bar...", -1);
  StatusBarViewAction =
      MakeAction("StatusBarViewAction", "&Statusbar", "Show/hide status bar...", -1);
  GridLinesViewAction =
      MakeAction("GridLinesViewAction", "&Grid", "Show/hide grid lines in list...", -1);
  ShowHintsAction = MakeAction("ShowHintsAction", "&Hints", "Show/hide popup hints...", -1);
  for (QAction* a : {ToolbarViewAction, StatusBarViewAction, GridLinesViewAction, ShowHintsAction})
    a->setCheckable(true);
  FontViewAction = MakeAction("FontViewAction", "&Font...", "Select list font...", aiFont);
  ColorViewAction =
      MakeAction("ColorViewAction", "&Color...", "Select list background color...", aiColor);
  ShowHideFileTBAction =
      MakeAction("ShowHideFileTBAction", "&File panel", "Show/hide file operations toolbar", -1, 1);
  ShowHideEditTBAction =
      MakeAction("ShowHideEditTBAction", "&Edit pahel", "Show/hide edit operations toolbar", -1, 2);
  ShowHideFindTBAction =
      MakeAction("ShowHideFindTBAction", "Fin&d panel", "Show/hide find operations toolbar", -1, 3);
  ShowHideCategoryTBAction = MakeAction("ShowHideCategoryTBAction", "&Categories panel",
                                        "Show/hide categories list toolbar", -1, 4);
  ShowHideExpImpTBAction = MakeAction("ShowHideExpImpTBAction", "E&xport/Import panel",
                                      "Show/hide export routines toolbar...", -1, 5);
  for (QAction* a : {ShowHideFileTBAction, ShowHideEditTBAction, ShowHideFindTBAction,
                     ShowHideCategoryTBAction, ShowHideExpImpTBAction})
    a->setCheckable(true);
  HelpAboutAction =
      MakeAction("HelpAboutAction", "&About...",
                 "About|Show program information, version number, and copyright...", aiAbout);
  HelpAboutAction->setShortcut(K(Qt::Key_F1));

  // Hidden actions: reached by their keys only.
  GotoAllCategory = MakeAction("GotoAllCategory", "GotoAllCategory", QString(), -1, 0);
  GotoAllCategory->setShortcut(K(Qt::CTRL | Qt::Key_0));
  GotoPrevCategory = MakeAction("GotoPrevCategory", "GotoPrevCategory", QString(), -1, 1);
  GotoPrevCategory->setShortcut(K(Qt::CTRL | Qt::Key_1));
  GotoNextCategory = MakeAction("GotoNextCategory", "GotoNextCategory", QString(), -1, 2);
  GotoNextCategory->setShortcut(K(Qt::CTRL | Qt::Key_2));
  addActions({GotoAllCategory, GotoPrevCategory, GotoNextCategory});
}

void TMainListDBForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  auto addMenu = [&](const QString& caption, const QString& hint, const QString& name) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setStatusTip(hint);
    menu->setToolTipsVisible(false);
    return menu;
  };

  File1 = addMenu("&File", "Contains commands for working with lists...", "File1");
  File1->addActions({NewFileAction, OpenFileAction, SaveFileAction, SaveAsFieAction});
  File1->addSeparator();
  File1->addActions({ImportAction, ExportFileAction, SendToPalmSyncAction});
  File1->addSeparator();
  File1->addAction(PrintFileAction);
  File1->addSeparator();
  File1->addAction(PropertiesAction);
  File1->addSeparator();
  Favorites1 = File1->addMenu(ActionImage(aiFavorites), "Fa&vorites");
  Favorites1->setObjectName("Favorites1");
  Favorites1->menuAction()->setStatusTip("Most recently used files list...");
  File1->addSeparator();
  File1->addAction(ExitAction);

  Edit1 = addMenu("&Edit", "Contains edit commands...", "Edit1");
  Edit1->addActions({NewRecordAction, EditRecordAction, DeleteRecordAction});
  Edit1->addSeparator();
  Edit1->addAction(EditCategoriesAction);
  Edit1->addSeparator();
  Edit1->addAction(ChangeCategoryAction);
  Edit1->addSeparator();
  Edit1->addAction(CopyToClipboardAction);

  View1 = addMenu("&View", "Contains commands for manipulating the view...", "View1");
  View1->addActions({ToolbarViewAction, StatusBarViewAction, GridLinesViewAction, ShowHintsAction});
  View1->addSeparator();
  View1->addActions({FontViewAction, ColorViewAction});

  Search1 = addMenu("&Search", "Contains commands for search routines...", "Search1");
  Search1->addActions({FindAction, FindAgainAction});

  Help1 = addMenu("&Help", "Contains commands for displaying help...", "Help1");
  Help1->addAction(HelpAboutAction);

  ListPopupMenu = new QMenu(this);
  ListPopupMenu->setObjectName("ListPopupMenu");
  ListPopupMenu->addActions({NewRecordAction, EditRecordAction, DeleteRecordAction});
  ListPopupMenu->addSeparator();
  ListPopupMenu->addAction(EditCategoriesAction);
  ListPopupMenu->addSeparator();
  ListPopupMenu->addAction(ChangeCategoryAction);

  ToolbarPopupMenu = new QMenu(this);
  ToolbarPopupMenu->setObjectName("ToolbarPopupMenu");
  for (const TToolBarSlot& slot : kToolBarSlots) ToolbarPopupMenu->addAction(this->*slot.showHide);
}

void TMainListDBForm::StyleToolBar(QToolBar* bar) {
  bar->setMovable(true);
  bar->setFloatable(false);
  bar->setIconSize(QSize(16, 16));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setAllowedAreas(Qt::TopToolBarArea);
  for (QAction* a : bar->actions()) {
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
      button->setAutoRaise(true);
      if (button->popupMode() != QToolButton::MenuButtonPopup)
        button->setFixedSize(kToolButtonWidth, kToolButtonHeight);
      else
        button->setFixedHeight(kToolButtonHeight);
    }
  }
}

void TMainListDBForm::CreateToolBars() {
  HistoryPopupMenu = new QMenu(this);
  HistoryPopupMenu->setObjectName("HistoryPopupMenu");

  FileToolBar = new QToolBar("File Comands", this);
  FileToolBar->setObjectName("FileToolBar");
  FileToolBar->addActions({NewFileAction, OpenFileAction, SaveFileAction});
  FileToolBar->addSeparator();
  FileToolBar->addAction(PropertiesAction);
  OpenToolButton = qobject_cast<QToolButton*>(FileToolBar->widgetForAction(OpenFileAction));
  OpenToolButton->setObjectName("OpenToolButton");
  OpenToolButton->setMenu(HistoryPopupMenu);
  OpenToolButton->setPopupMode(QToolButton::MenuButtonPopup);

  ExportImportToolBar = new QToolBar("Export/Import", this);
  ExportImportToolBar->setObjectName("ExportImportToolBar");
  ExportImportToolBar->addActions({ImportAction, ExportFileAction});
  ExportImportToolBar->addSeparator();
  ExportImportToolBar->addAction(SendToPalmSyncAction);

  EditToolBar = new QToolBar("Edit Comands", this);
  EditToolBar->setObjectName("EditToolBar");
  EditToolBar->addActions({NewRecordAction, EditRecordAction, DeleteRecordAction});
  EditToolBar->addSeparator();
  EditToolBar->addActions({ChangeCategoryAction, EditCategoriesAction});

  FindToolBar = new QToolBar("Find Comands", this);
  FindToolBar->setObjectName("FindToolBar");
  FindToolBar->addActions({FindAction, FindAgainAction});

  CategoryBGPanel = new QToolBar("Categories", this);
  CategoryBGPanel->setObjectName("CategoryBGPanel");
  CategoriesComboBox = new QComboBox(CategoryBGPanel);
  CategoriesComboBox->setObjectName("CategoriesComboBox");
  CategoriesComboBox->setEditable(false);
  CategoriesComboBox->setFixedWidth(kCategoriesComboWidth);
  CategoriesComboBox->setMaxVisibleItems(16);
  CategoriesComboBox->setToolTip("Current category");
  CategoriesComboBox->setStatusTip("Current category");
  CategoriesComboBox->setFocusPolicy(Qt::StrongFocus);
  CategoryBGPanel->addWidget(CategoriesComboBox);
  SetAccessibleLabel(CategoriesComboBox, "Current category");

  for (QToolBar* bar : ToolBars()) {
    StyleToolBar(bar);
    addToolBar(Qt::TopToolBarArea, bar);
  }
  ExportImportToolBar->hide();
}

void TMainListDBForm::CreateClientArea() {
  auto* client = new QWidget(this);
  client->setObjectName("ClientArea");
  auto* clientLayout = new QVBoxLayout(client);
  clientLayout->setContentsMargins(0, 0, 0, 0);

  BgPanel = new QFrame(client);
  BgPanel->setObjectName("BgPanel");
  BgPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  BgPanel->setLineWidth(1);
  BgPanel->setAutoFillBackground(true);
  QPalette pal = BgPanel->palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::Base, Qt::white);
  BgPanel->setPalette(pal);
  auto* panelLayout = new QVBoxLayout(BgPanel);
  panelLayout->setContentsMargins(1, 1, 1, 1);

  RecordsListView = new TRecordsListView(BgPanel);
  RecordsListView->setObjectName("RecordsListView");
  RecordsListView->setFrameShape(QFrame::NoFrame);
  SetAccessibleLabel(RecordsListView, "Records");
  panelLayout->addWidget(RecordsListView);
  clientLayout->addWidget(BgPanel);
  BgPanel->hide();
  setCentralWidget(client);
}

namespace {

// What a reader says for each status panel: the list's name, the record
// counter ("3/12" under a category), the modified mark and the hint.
TStatusPanel::TSpeech StatusPanelSpeech(int panel) {
  switch (panel) {
    case 0:
      return CaptionedSpeech("List name");
    case 1:
      return [](const QString& shown) {
        QString counter = shown;
        counter.replace('/', " of ");
        return shown.isEmpty() ? QString("Records") : "Records: " + counter;
      };
    case 2:
      return [](const QString& shown) {
        return shown.isEmpty() ? QString("Not modified") : QString("Modified");
      };
    default:
      return CaptionedSpeech("Hint");
  }
}

}  // namespace

void TMainListDBForm::CreateStatusBar() {
  StatusBar = statusBar();
  StatusBar->setObjectName("StatusBar");
  StatusBar->setSizeGripEnabled(true);
  for (int i = 0; i < 4; ++i) {
    auto* panel = new TStatusPanel(StatusPanelSpeech(i), StatusBar);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(i < 3 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    panel->setMinimumWidth(0);
    StatusPanels[i] = panel;
    StatusBar->addWidget(panel, i == 3 ? 1 : 0);
  }
  StatusBar->installEventFilter(this);
}

void TMainListDBForm::OnExecute(QAction* action, std::function<void()> execute) {
  connect(action, &QAction::triggered, this,
          [this, execute = std::move(execute)] { RunGuarded(this, execute); });
}

void TMainListDBForm::OnUpdate(QAction* action, std::function<void()> update) {
  ActionList->AddUpdate(action, std::move(update));
}

void TMainListDBForm::ConnectHandlers() {
  OnExecute(NewFileAction, [this] { NewFileActionExecute(); });
  OnExecute(OpenFileAction, [this] { OpenFileActionExecute(); });
  OnExecute(SaveFileAction, [this] { SaveFileActionExecute(SaveFileAction); });
  OnExecute(SaveAsFieAction, [this] { SaveFileActionExecute(SaveAsFieAction); });
  OnUpdate(SaveFileAction, [this] { SaveFileActionUpdate(); });
  OnUpdate(SaveAsFieAction, [this] { SaveFileActionUpdate(); });
  OnExecute(ExitAction, [this] { ExitActionExecute(); });
  OnExecute(ImportAction, [this] { ImportActionExecute(); });
  OnExecute(ExportFileAction, [this] { ExportFileActionExecute(); });
  OnUpdate(ExportFileAction, [this] { ExportFileActionUpdate(); });
  OnExecute(SendToPalmSyncAction, [this] { SendToPalmSyncActionExecute(); });
  OnUpdate(SendToPalmSyncAction, [this] { SendToPalmSyncActionUpdate(); });
  OnExecute(PrintFileAction, [this] { PrintFileActionExecute(); });
  OnUpdate(PrintFileAction, [this] { PrintFileActionUpdate(); });
  OnExecute(CopyToClipboardAction, [this] { CopyToClipboardActionExecute(); });
  OnUpdate(CopyToClipboardAction, [this] { CopyToClipboardActionUpdate(); });
  OnExecute(HelpAboutAction, [this] { HelpAboutActionExecute(); });
  for (QAction* a : {FindAction, FindAgainAction}) {
    OnExecute(a, [this, a] { FindActionExecute(a); });
    OnUpdate(a, [this] { FindActionUpdate(); });
  }
  ConnectViewHandlers();

  for (QAction* a : {GotoAllCategory, GotoPrevCategory, GotoNextCategory}) {
    OnExecute(a, [this, a] { GotoPrevCategoryExecute(a); });
    OnUpdate(a, [this] { GotoPrevCategoryUpdate(); });
  }

  OnExecute(NewRecordAction, [this] { NewRecordActionExecute(); });
  OnUpdate(NewRecordAction, [this] { NewRecordActionUpdate(); });
  OnExecute(EditRecordAction, [this] { EditRecordActionExecute(); });
  OnUpdate(EditRecordAction, [this] { EditRecordActionUpdate(); });
  OnExecute(DeleteRecordAction, [this] { DeleteRecordActionExecute(); });
  OnUpdate(DeleteRecordAction, [this] { DeleteRecordActionUpdate(); });
  OnExecute(EditCategoriesAction, [this] { EditCategoriesActionExecute(); });
  OnUpdate(EditCategoriesAction, [this] { EditCategoriesActionUpdate(); });
  OnExecute(ChangeCategoryAction, [this] { ChangeCategoryActionExecute(); });
  OnUpdate(ChangeCategoryAction, [this] { ChangeCategoryActionUpdate(); });
  OnExecute(PropertiesAction, [this] { PropertiesActionExecute(); });
  OnUpdate(PropertiesAction, [this] { PropertiesActionUpdate(); });

  connect(File1, &QMenu::aboutToShow, this, [this] { RunGuarded(this, [this] { File1Click(); }); });
  connect(HistoryPopupMenu, &QMenu::aboutToShow, this,
          [this] { RunGuarded(this, [this] { HistoryPopupMenuPopup(); }); });

  // Only a pick by the user runs the change handler; the program's own
  // selections do not.
  connect(CategoriesComboBox, &QComboBox::activated, this,
          [this] { RunGuarded(this, [this] { CategoriesComboBoxChange(); }); });
  connect(RecordsListView, &TRecordsListView::ColumnClicked, this, [this](int column, bool ctrl) {
    RunGuarded(this, [&] { RecordsListViewColumnClick(column, ctrl); });
  });
  connect(RecordsListView, &TRecordsListView::RowDoubleClicked, this,
          [this] { RunGuarded(this, [this] { RecordsListViewDblClick(); }); });
  RecordsListView->SetPopupMenu(ListPopupMenu);
  ListPopupMenu->addSeparator();
  ListPopupMenu->addMenu(new TSortByMenu(RecordsListView, ListPopupMenu));
  // A menu shows its commands' enabling as it is at the moment it opens.
  for (QMenu* menu : {File1, Edit1, View1, Search1, Help1, ListPopupMenu, ToolbarPopupMenu})
    connect(menu, &QMenu::aboutToShow, ActionList, &TActionList::UpdateAll);
  RecordsListView->SetHintProvider(
      [](TListRecord* record) { return record ? GetRecordHintText(*record) : QString(); });
}

void TMainListDBForm::FormCreate() {
  // The document starts as none, the recent files empty.
  document_.reset();
  recentFiles_.clear();
  HintEx = new TQRX_HintEx(this);
  HintEx->Install();
  LoadSettings();
  ArrangeToolBars();
  UpdateStatus();
  ActionList->UpdateAll();
}

void TMainListDBForm::ArrangeToolBars() {
  // The category panel takes its combo box's size once; then every bar gets
  // the height of the tallest visible one.
  CategoryBGPanel->adjustSize();
  const QList<QToolBar*> bars = ToolBars();
  int height = 0;
  for (QToolBar* bar : bars) {
    bar->setMinimumHeight(0);
    if (ToolBarShown(bar)) height = std::max(height, bar->sizeHint().height());
  }
  for (QToolBar* bar : bars) bar->setMinimumHeight(height);
}

bool TMainListDBForm::event(QEvent* event) {
  // The long hint of whatever is under the pointer goes to the last panel.
  if (event->type() == QEvent::StatusTip) {
    ShowStatusHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

bool TMainListDBForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StatusBar && event->type() == QEvent::Resize) UpdateStatus();
  return QMainWindow::eventFilter(watched, event);
}

void TMainListDBForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  UpdateStatus();
}

void TMainListDBForm::contextMenuEvent(QContextMenuEvent* event) {
  // Over the tool bar area the tool bar menu; elsewhere nothing.
  QWidget* child = childAt(event->pos());
  for (QWidget* w = child; w && w != this; w = w->parentWidget()) {
    if (qobject_cast<QToolBar*>(w)) {
      ActionList->UpdateAll();
      ToolbarPopupMenu->popup(event->globalPos());
      event->accept();
      return;
    }
  }
  const QRect area = centralWidget() ? centralWidget()->geometry() : QRect();
  if (!child && event->pos().y() < area.top() &&
      event->pos().y() > menuBar()->geometry().bottom()) {
    ActionList->UpdateAll();
    ToolbarPopupMenu->popup(event->globalPos());
    event->accept();
    return;
  }
  event->ignore();
}

void TMainListDBForm::closeEvent(QCloseEvent* event) {
  // The window closes only once the save question passed; the settings are
  // stored then (a failure shows its message, the window still closes).
  if (!RunGuarded(this, [this] { QuerySaveChanges(); })) {
    event->ignore();
    return;
  }
  if (!settingsSaved_) {
    settingsSaved_ = true;
    RunGuarded(this, [this] { SaveSettings(); });
  }
  event->accept();
}

void TMainListDBForm::ExitActionExecute() { close(); }

void TMainListDBForm::HelpAboutActionExecute() { ShowAboutDialog(); }

void TMainListDBForm::ShowAboutDialog() { ::ShowAboutDialog(this); }
