// The main window: menus, tool bars, the record list with its category filter,
// the status bar, the one open document and the commands on it.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/RecordSearch.h"
#include "core/listdb.h"
#include "platform/ColorValue.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class TActionList;
class TQRX_HintEx;
class TRecordsListView;

// Marker objects bound to the pseudo-entries of the category filter; compared
// by identity only.
class TAllCategory {};
class TUnfiledCategory {};

// The window's controls, actions and handlers are its own: tests and other
// code reach a control or action by its object name (each has the name the
// window shows it by), and commands through the actions.
class TMainListDBForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainListDBForm(QWidget* parent = nullptr);
  ~TMainListDBForm() override;

  TListDBData* Document() const { return document_.get(); }
  const QStringList& RecentFiles() const { return recentFiles_; }
  void SetRecentFiles(const QStringList& files) { recentFiles_ = files; }
  // Opens the list named on the command line as Open does, error box and
  // recent files included (frmMain_commandline.cpp).
  void OpenCommandLineFile(const QString& path);
  // The same, once the window has been shown on the screen.
  void OpenCommandLineFileOnceShown(const QString& path);

  // The number proposed in the name of the next new list (process-wide).
  static int NewListCounter();
  // The record list's sort state (process-wide, kept across rebuilds): the
  // sorted column (-1 for none) and its direction.
  static int SortColumn();
  static bool SortAscending();
  static void SetSortState(int column, bool ascending);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  static void AdvanceNewListCounter();

  // --- Document operations (frmMain_documents.cpp) ------------------------
  // Brings caption, status bar, column captions and enabling in line with the
  // document.
  void UpdateStatus();
  // Writes the text with one leading blank into status panel 3.
  void ShowStatusHint(const QString& text);
  // Asks to save a modified document; raises EAbort when the user cancels.
  void QuerySaveChanges();
  void CloseDocument();
  void LoadDocument(const QString& path);
  void SaveDocument(const QString& path);
  void AddRecentFile(const QString& path);
  void RemoveRecentFile(const QString& path);
  // Opens the recent file at the item's tag (QAction::data().toInt()).
  void OpenRecentFile(QAction* item);
  void ArrangeToolBars();
  void ShowNotYetReady();
  void File1Click();
  void HistoryPopupMenuPopup();
  // Step 4 of Open, shared with Favorites; closes the document when it fails.
  void OpenListFile(const QString& path);
  void ShowDocument(bool fitColumns);

  // --- Record list and category filter (frmMain_list.cpp) -----------------
  void FillCategoriesComboBox();
  void FillRecordsListView();
  // Fills the list anew and selects remembered again if it is shown.
  void RefillRecordsListView(const TListRecord* remembered);
  bool RecordMatchesCategory(const TListRecord* record) const;
  // The user picked an entry of the category box (or a hidden action ran).
  void CategoriesComboBoxChange();
  void RecordsListViewColumnClick(int column, bool ctrl);
  void RecordsListViewDblClick();
  // Whether the category box's selected entry is "All" (or none is selected).
  bool AllCategorySelected() const;
  const void* MarkerAt(int index) const;
  int SelectedCategoryId() const;
  void SetHeaderMarks();

  // --- Command handlers ---------------------------------------------------
  void NewFileActionExecute();
  void OpenFileActionExecute();
  void SaveFileActionExecute(QAction* sender);
  void SaveFileActionUpdate();
  void ExitActionExecute();
  void ImportActionExecute();
  void ExportFileActionExecute();
  void ExportFileActionUpdate();
  // The records the export's filter picks (all, or one category), in the
  // list's current sort order (frmMain_export.cpp).
  std::vector<const TListRecord*> RecordsForExport(std::optional<int> categoryId) const;
  void SendToPalmSyncActionExecute();
  void SendToPalmSyncActionUpdate();
  void PrintFileActionExecute();
  void PrintFileActionUpdate();
  void CopyToClipboardActionExecute();
  void CopyToClipboardActionUpdate();
  void GotoPrevCategoryExecute(QAction* sender);
  void GotoPrevCategoryUpdate();
  void NewRecordActionExecute();
  void NewRecordActionUpdate();
  void EditRecordActionExecute();
  void EditRecordActionUpdate();
  void DeleteRecordActionExecute();
  void DeleteRecordActionUpdate();
  void EditCategoriesActionExecute();
  void EditCategoriesActionUpdate();
  void ChangeCategoryActionExecute();
  void ChangeCategoryActionUpdate();
  void PropertiesActionExecute();
  void PropertiesActionUpdate();
  void HelpAboutActionExecute();
  // Find (tag 0) and Find again (tag 1), over SearchOptions: the search the
  // dialog asks for and Find again repeats, kept for the window's life only
  // (frmMain_find.cpp).
  void FindActionExecute(QAction* sender);
  void FindActionUpdate();
  // The first row at or after start, in the order shown, whose record
  // matches SearchOptions; -1 when none.
  int FindRecordRow(int start) const;
  TRecSearchOptions SearchOptions;

  // --- Window construction (frmMain.cpp) -----------------------------------
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateClientArea();
  void CreateStatusBar();
  void ConnectHandlers();
  void FormCreate();
  QAction* MakeAction(const QString& name, const QString& caption, const QString& hint, int image,
                      int tag = 0);
  void OnExecute(QAction* action, std::function<void()> execute);
  void OnUpdate(QAction* action, std::function<void()> update);
  void StyleToolBar(QToolBar* bar);

  // About; filled in with its own feature.
  void ShowAboutDialog();

  // --- View commands (frmMain_view.cpp) ------------------------------------
  void ConnectViewHandlers();
  void ToolbarViewActionExecute();
  void ToolbarViewActionUpdate();
  void StatusBarViewActionExecute();
  void StatusBarViewActionUpdate();
  void GridLinesViewActionExecute();
  void GridLinesViewActionUpdate();
  void ShowHintsActionExecute();
  void ShowHintsActionUpdate();
  void FontViewActionExecute();
  void ColorViewActionExecute();
  // The five tool bar commands, each showing or hiding its bar.
  void ShowHideTBActionExecute(QAction* sender);
  void ShowHideTBActionUpdate(QAction* sender);
  // The tool bars as they stand in the area at first, left to right, each
  // with the command that shows and hides it and its place in the stored
  // settings, which keep an order of their own.
  struct TToolBarSlot {
    QToolBar* TMainListDBForm::*bar;
    QAction* TMainListDBForm::*showHide;
    int storedAt;
  };
  static const TToolBarSlot kToolBarSlots[5];
  // The bars left to right as first laid out.
  QList<QToolBar*> ToolBars() const;
  // The controls of the tool bar area in the order their settings are stored.
  QList<QToolBar*> CoolBarControls() const;
  QToolBar* ToolBarOfAction(const QAction* showHide) const;
  // A bar's own visibility, which hiding the whole area leaves as it is.
  bool ToolBarShown(const QToolBar* bar) const;
  void SetToolBarShown(QToolBar* bar, bool shown);
  void SetToolBarAreaShown(bool shown);
  void SetListColor(TColorValue value);
  void SetListFont(const QFont& font, TColorValue color);

  // --- Persisted settings (frmMain_settings.cpp) ---------------------------
  void LoadSettings();
  void SaveSettings();
  void KeepOnScreen();
  static int FontPoints(const QFont& font);
  // Tool bar positions inside the area: as laid out, else as last seen or
  // loaded; PlaceToolBars arranges the bars in rows by them.
  QPoint ToolBarAreaOrigin() const;
  QPoint ToolBarPosition(QToolBar* bar) const;
  void RememberToolBarPosition(QToolBar* bar);
  void PlaceToolBars();

  // --- Controls (named as the window shows them) ---------------------------
  TActionList* ActionList = nullptr;
  TQRX_HintEx* HintEx = nullptr;

  QToolBar* FileToolBar = nullptr;
  QToolBar* ExportImportToolBar = nullptr;
  QToolBar* EditToolBar = nullptr;
  QToolBar* FindToolBar = nullptr;
  QToolBar* CategoryBGPanel = nullptr;
  QComboBox* CategoriesComboBox = nullptr;
  QToolButton* OpenToolButton = nullptr;

  QFrame* BgPanel = nullptr;
  TRecordsListView* RecordsListView = nullptr;

  QStatusBar* StatusBar = nullptr;
  QLabel* StatusPanels[4] = {};

  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* View1 = nullptr;
  QMenu* Search1 = nullptr;
  QMenu* Help1 = nullptr;
  QMenu* Favorites1 = nullptr;
  QMenu* ListPopupMenu = nullptr;
  QMenu* ToolbarPopupMenu = nullptr;
  QMenu* HistoryPopupMenu = nullptr;

  QAction* NewFileAction = nullptr;
  QAction* OpenFileAction = nullptr;
  QAction* SaveFileAction = nullptr;
  QAction* SaveAsFieAction = nullptr;
  QAction* ImportAction = nullptr;
  QAction* ExportFileAction = nullptr;
  QAction* SendToPalmSyncAction = nullptr;
  QAction* PrintFileAction = nullptr;
  QAction* PropertiesAction = nullptr;
  QAction* ExitAction = nullptr;
  QAction* NewRecordAction = nullptr;
  QAction* EditRecordAction = nullptr;
  QAction* DeleteRecordAction = nullptr;
  QAction* EditCategoriesAction = nullptr;
  QAction* ChangeCategoryAction = nullptr;
  QAction* CopyToClipboardAction = nullptr;
  QAction* FindAction = nullptr;
  QAction* FindAgainAction = nullptr;
  QAction* ToolbarViewAction = nullptr;
  QAction* StatusBarViewAction = nullptr;
  QAction* GridLinesViewAction = nullptr;
  QAction* ShowHintsAction = nullptr;
  QAction* FontViewAction = nullptr;
  QAction* ColorViewAction = nullptr;
  QAction* ShowHideFileTBAction = nullptr;
  QAction* ShowHideEditTBAction = nullptr;
  QAction* ShowHideFindTBAction = nullptr;
  QAction* ShowHideCategoryTBAction = nullptr;
  QAction* ShowHideExpImpTBAction = nullptr;
  QAction* HelpAboutAction = nullptr;
  QAction* GotoAllCategory = nullptr;
  QAction* GotoPrevCategory = nullptr;
  QAction* GotoNextCategory = nullptr;

  std::unique_ptr<TListDBData> document_;
  QStringList recentFiles_;
  TAllCategory allCategory_;
  TUnfiledCategory unfiledCategory_;
  // The file name the save dialog last held.
  QString saveDialogFileName_;
  bool settingsSaved_ = false;

  // View state not held by a control.
  bool toolBarAreaShown_ = true;
  std::map<const QToolBar*, bool> hiddenByArea_;
  std::map<const QToolBar*, QPoint> barPositions_;
  TColorValue listColor_ = 0x00FFFFFF;                // white
  TColorValue listFontColor_ = kSystemColorFlag | 8;  // the window text colour
  int listFontCharset_ = 1;                           // the default character set
};
