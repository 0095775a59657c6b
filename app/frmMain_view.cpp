// The View commands: tool bar area, tool bars, status bar, grid lines, record
// hints, list font and list colour.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "app/frmMain.h"
#include "components/RecordsListView.h"
#include "platform/ActionList.h"
#include "platform/Prompts.h"

QList<QToolBar*> TMainListDBForm::CoolBarControls() const {
  return {EditToolBar, FindToolBar, FileToolBar, CategoryBGPanel, ExportImportToolBar};
}

QToolBar* TMainListDBForm::ToolBarOfTag(int tag) const {
  switch (tag) {
    case 1:
      return FileToolBar;
    case 2:
      return EditToolBar;
    case 3:
      return FindToolBar;
    case 4:
      return CategoryBGPanel;
    case 5:
      return ExportImportToolBar;
    default:
      return nullptr;
  }
}

// While the area is hidden every bar is hidden, and each bar's own visibility
// waits in hiddenByArea_ for the area to come back.
bool TMainListDBForm::ToolBarShown(const QToolBar* bar) const {
  if (!toolBarAreaShown_) {
    const auto it = hiddenByArea_.find(bar);
    return it != hiddenByArea_.end() && it->second;
  }
  return !bar->isHidden();
}

void TMainListDBForm::SetToolBarShown(QToolBar* bar, bool shown) {
  if (!toolBarAreaShown_) {
    hiddenByArea_[bar] = shown;
    return;
  }
  if (!shown && !bar->isHidden()) RememberToolBarPosition(bar);
  bar->setVisible(shown);
}

void TMainListDBForm::SetToolBarAreaShown(bool shown) {
  if (shown == toolBarAreaShown_) return;
  if (!shown) {
    for (QToolBar* bar : CoolBarControls()) {
      hiddenByArea_[bar] = !bar->isHidden();
      if (!bar->isHidden()) RememberToolBarPosition(bar);
      bar->hide();
    }
    toolBarAreaShown_ = false;
    return;
  }
  toolBarAreaShown_ = true;
  for (QToolBar* bar : CoolBarControls()) bar->setVisible(hiddenByArea_[bar]);
  hiddenByArea_.clear();
}

void TMainListDBForm::ToolbarViewActionExecute() { SetToolBarAreaShown(!toolBarAreaShown_); }

void TMainListDBForm::ToolbarViewActionUpdate() {
  ToolbarViewAction->setChecked(toolBarAreaShown_);
}

void TMainListDBForm::StatusBarViewActionExecute() { StatusBar->setVisible(StatusBar->isHidden()); }

void TMainListDBForm::StatusBarViewActionUpdate() {
  StatusBarViewAction->setChecked(!StatusBar->isHidden());
}

void TMainListDBForm::GridLinesViewActionExecute() {
  RecordsListView->SetGridLines(!RecordsListView->GridLines());
}

void TMainListDBForm::GridLinesViewActionUpdate() {
  GridLinesViewAction->setChecked(RecordsListView->GridLines());
}

void TMainListDBForm::ShowHintsActionExecute() {
  RecordsListView->SetShowRecordHints(!RecordsListView->ShowRecordHints());
}

void TMainListDBForm::ShowHintsActionUpdate() {
  ShowHintsAction->setChecked(RecordsListView->ShowRecordHints());
}

void TMainListDBForm::ShowHideTBActionExecute(QAction* sender) {
  if (QToolBar* bar = ToolBarOfTag(sender->data().toInt()))
    SetToolBarShown(bar, !ToolBarShown(bar));
}

void TMainListDBForm::ShowHideTBActionUpdate(QAction* sender) {
  const QToolBar* bar = ToolBarOfTag(sender->data().toInt());
  sender->setChecked(bar && ToolBarShown(bar));
}

void TMainListDBForm::FontViewActionExecute() {
  QFont font = BgPanel->font();
  QColor color = ColorValueToQColor(listFontColor_);
  if (!Prompts().FontDialog(this, font, color)) return;
  SetListFont(font, color.isValid() ? QColorToColorValue(color) : listFontColor_);
}

void TMainListDBForm::ColorViewActionExecute() {
  QColor color = ColorValueToQColor(listColor_);
  if (!Prompts().ColorDialog(this, color) || !color.isValid()) return;
  SetListColor(QColorToColorValue(color));
}

void TMainListDBForm::SetListColor(TColorValue value) {
  const QColor color = ColorValueToQColor(value);
  if (!color.isValid()) return;
  listColor_ = value;
  QPalette pal = BgPanel->palette();
  pal.setColor(QPalette::Window, color);
  pal.setColor(QPalette::Base, color);
  BgPanel->setPalette(pal);
}

void TMainListDBForm::SetListFont(const QFont& font, TColorValue color) {
  BgPanel->setFont(font);
  const QColor text = ColorValueToQColor(color);
  if (!text.isValid()) return;
  listFontColor_ = color;
  QPalette pal = BgPanel->palette();
  pal.setColor(QPalette::WindowText, text);
  pal.setColor(QPalette::Text, text);
  BgPanel->setPalette(pal);
}

void TMainListDBForm::ConnectViewHandlers() {
  OnExecute(ToolbarViewAction, [this] { ToolbarViewActionExecute(); });
  OnUpdate(ToolbarViewAction, [this] { ToolbarViewActionUpdate(); });
  OnExecute(StatusBarViewAction, [this] { StatusBarViewActionExecute(); });
  OnUpdate(StatusBarViewAction, [this] { StatusBarViewActionUpdate(); });
  OnExecute(GridLinesViewAction, [this] { GridLinesViewActionExecute(); });
  OnUpdate(GridLinesViewAction, [this] { GridLinesViewActionUpdate(); });
  OnExecute(ShowHintsAction, [this] { ShowHintsActionExecute(); });
  OnUpdate(ShowHintsAction, [this] { ShowHintsActionUpdate(); });
  OnExecute(FontViewAction, [this] { FontViewActionExecute(); });
  OnExecute(ColorViewAction, [this] { ColorViewActionExecute(); });
  for (QAction* a : {ShowHideFileTBAction, ShowHideEditTBAction, ShowHideFindTBAction,
                     ShowHideCategoryTBAction, ShowHideExpImpTBAction}) {
    OnExecute(a, [this, a] { ShowHideTBActionExecute(a); });
    OnUpdate(a, [this, a] { ShowHideTBActionUpdate(a); });
  }
}
