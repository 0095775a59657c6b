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

const TMainListDBForm::TToolBarSlot TMainListDBForm::kToolBarSlots[5] = {
    {&TMainListDBForm::FileToolBar, &TMainListDBForm::ShowHideFileTBAction, 2},
    {&TMainListDBForm::ExportImportToolBar, &TMainListDBForm::ShowHideExpImpTBAction, 4},
    {&TMainListDBForm::EditToolBar, &TMainListDBForm::ShowHideEditTBAction, 0},
    {&TMainListDBForm::FindToolBar, &TMainListDBForm::ShowHideFindTBAction, 1},
    {&TMainListDBForm::CategoryBGPanel, &TMainListDBForm::ShowHideCategoryTBAction, 3},
};

QList<QToolBar*> TMainListDBForm::ToolBars() const {
  QList<QToolBar*> bars;
  for (const TToolBarSlot& slot : kToolBarSlots) bars.append(this->*slot.bar);
  return bars;
}

QList<QToolBar*> TMainListDBForm::CoolBarControls() const {
  QList<QToolBar*> bars(std::size(kToolBarSlots));
  for (const TToolBarSlot& slot : kToolBarSlots) bars[slot.storedAt] = this->*slot.bar;
  return bars;
}

QToolBar* TMainListDBForm::ToolBarOfAction(const QAction* showHide) const {
  for (const TToolBarSlot& slot : kToolBarSlots)
    if (this->*slot.showHide == showHide) return this->*slot.bar;
  return nullptr;
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
  if (QToolBar* bar = ToolBarOfAction(sender)) SetToolBarShown(bar, !ToolBarShown(bar));
}

void TMainListDBForm::ShowHideTBActionUpdate(QAction* sender) {
  const QToolBar* bar = ToolBarOfAction(sender);
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
