// The main window's documents: Create, Open, Save, Save as, Favorites, the
// save question, the recent files, caption and status bar.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

#include "app/ActionImages.h"
#include "app/frmMain.h"
#include "components/RecordsListView.h"
#include "components/Routine_MRU.h"
#include "components/prgutil.h"
#include "dialogs/frmCustomizeDB.h"
#include "platform/ActionList.h"
#include "platform/AnsiText.h"
#include "platform/ErrorBox.h"
#include "platform/Prompts.h"

namespace {

const char* const kFileFilter = "Palm Databases (*.pdb);;All files (*.*)";

TFileDialogOptions OpenDialogOptions() {
  TFileDialogOptions o;
  o.title = "Open List...";
  o.filter = kFileFilter;
  o.defaultExtension = "pdb";
  o.mustExist = true;
  return o;
}

TFileDialogOptions SaveDialogOptions(const QString& fileName) {
  TFileDialogOptions o;
  o.title = "Save List...";
  o.filter = kFileFilter;
  o.defaultExtension = "pdb";
  o.confirmOverwrite = true;
  o.folderMustExist = true;
  o.fileName = fileName;
  return o;
}

// The document keeps its path in the file system's own encoding.
std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString DisplayPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

// A stream message names the path in the file system's encoding; the error box
// reads messages as Windows-1252, so the path is put in in that form.
EStreamError WithDisplayPath(const EStreamError& e, const QString& path) {
  std::string message = e.what();
  const std::string native = NativePath(path);
  const std::string shown = QStringToAnsi(path);
  if (native != shown) {
    for (size_t at = message.find(native); at != std::string::npos;
         at = message.find(native, at + shown.size()))
      message.replace(at, native.size(), shown);
  }
  return EStreamError(message);
}

// Runs a file operation on path; when it fails, forget runs (the path leaves
// the recent files) and a stream message names the path as the user sees it.
template <typename Operation, typename Forget>
void GuardFileOperation(const QString& path, Operation&& operation, Forget&& forget) {
  try {
    operation();
  } catch (const EStreamError& e) {
    forget();
    throw WithDisplayPath(e, path);
  } catch (...) {
    forget();
    throw;
  }
}

// Windows file names ignore letter case; elsewhere two such names are two files.
bool SamePath(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
  return a.compare(b, Qt::CaseInsensitive) == 0;
#else
  return a == b;
#endif
}

}  // namespace

void TMainListDBForm::UpdateStatus() {
  TListDBData* doc = document_.get();
  if (doc) {
    StatusPanels[0]->setText(AnsiToQString(doc->DatabaseName()));
    if (AllCategorySelected())
      StatusPanels[1]->setText(QString::number(doc->RecordCount()));
    else
      StatusPanels[1]->setText(
          QString("%1/%2").arg(RecordsListView->RowCount()).arg(doc->RecordCount()));
    StatusPanels[2]->setText(doc->Modified() ? "*" : "");
    StatusPanels[3]->setText(QString());
    RecordsListView->Model()->SetCaption(kField1Column, AnsiToQString(doc->CustomField1()));
    RecordsListView->Model()->SetCaption(kField2Column, AnsiToQString(doc->CustomField2()));
    if (!doc->FileName.empty())
      setWindowTitle(QString("Vornik [%1]").arg(DisplayPath(doc->FileName)));
    else
      setWindowTitle("Vornik");
  } else {
    StatusPanels[0]->setText(" (no data) ");
    for (int i = 1; i < 4; ++i) StatusPanels[i]->setText(QString());
    setWindowTitle("Vornik");
  }

  // Panels 0 to 2 are as wide as their texts plus twice the bar's height;
  // panel 3 takes the rest.
  const QFontMetrics fm(StatusBar->font());
  const int pad = 2 * StatusBar->height();
  StatusPanels[0]->setFixedWidth(fm.horizontalAdvance(StatusPanels[0]->text()) + pad);
  StatusPanels[1]->setFixedWidth(fm.horizontalAdvance("999999") + pad);
  StatusPanels[2]->setFixedWidth(fm.horizontalAdvance("*") + pad);

  CategoriesComboBox->setEnabled(doc != nullptr);
  BgPanel->setVisible(doc != nullptr);
  ActionList->ScheduleUpdate();
}

void TMainListDBForm::ShowStatusHint(const QString& text) {
  StatusPanels[3]->setText(" " + text);
  StatusBar->repaint();
}

void TMainListDBForm::QuerySaveChanges() {
  if (!document_ || !document_->Modified()) return;
  const QString text =
      QString("Save changes to database \"%1\"").arg(AnsiToQString(document_->DatabaseName()));
  switch (Prompts().MessageBox(this, text, "Confirmation", TMsgIcon::Question,
                               mbYes | mbNo | mbCancel)) {
    case TModalResult::Yes: {
      if (!document_->FileName.empty()) {
        SaveDocument(DisplayPath(document_->FileName));
      } else {
        TFileDialogOptions options = SaveDialogOptions(saveDialogFileName_);
        if (!Prompts().SaveFileDialog(this, options)) throw EAbort();
        saveDialogFileName_ = options.fileName;
        SaveDocument(options.fileName);
      }
      // The file now holds the document: should the caller keep it (its own
      // dialog cancelled), it must not show as changed.
      document_->SetModified(false);
      UpdateStatus();
      return;
    }
    case TModalResult::No:
      return;
    default:
      throw EAbort();
  }
}

void TMainListDBForm::CloseDocument() {
  // The rows refer to the document's records: they go first.
  RecordsListView->SetDocument(nullptr);
  document_.reset();
}

void TMainListDBForm::LoadDocument(const QString& path) {
  GuardFileOperation(
      path,
      [&] {
        {
          TFileStream stream(NativePath(path), TFileStream::Mode::OpenRead);
          ReadListDB(*document_, stream);
        }
        document_->FileName = NativePath(path);
        CompactCategories(*document_);
        AddRecentFile(path);
      },
      [&] { RemoveRecentFile(path); });
}

void TMainListDBForm::SaveDocument(const QString& path) {
  GuardFileOperation(
      path,
      [&] {
        // Written beside the old file and renamed over it: a failed save
        // leaves the old file as it was.
        const TListDBData& doc = *document_;
        SafeReplaceFile(NativePath(path), [&doc](TStream& stream) { WriteListDB(doc, stream); });
        document_->FileName = NativePath(path);
        AddRecentFile(path);
      },
      [&] { RemoveRecentFile(path); });
}

void TMainListDBForm::AddRecentFile(const QString& path) {
  RemoveRecentFile(path);
  recentFiles_.prepend(path);
}

void TMainListDBForm::RemoveRecentFile(const QString& path) {
  for (int i = 0; i < recentFiles_.size(); ++i) {
    if (SamePath(recentFiles_[i], path)) {
      recentFiles_.removeAt(i);
      return;
    }
  }
}

void TMainListDBForm::ShowDocument(bool fitColumns) {
  BgPanel->show();
  RecordsListView->SetDocument(document_.get());
  UpdateStatus();
  FillCategoriesComboBox();
  FillRecordsListView();
  RecordsListView->setFocus();
  if (fitColumns) FitListViewColumns(RecordsListView);
}

void TMainListDBForm::OpenListFile(const QString& path) {
  try {
    document_ = std::make_unique<TListDBData>();
    LoadDocument(path);
    document_->FileName = NativePath(path);
    document_->SetModified(false);
    ShowDocument(true);
  } catch (...) {
    CloseDocument();
    UpdateStatus();
    throw;
  }
}

void TMainListDBForm::OpenRecentFile(QAction* item) {
  const int tag = item ? item->data().toInt() : -1;
  if (tag < 0 || tag >= recentFiles_.size()) return;
  const QString path = recentFiles_[tag];
  QuerySaveChanges();
  CloseDocument();
  OpenListFile(path);
}

void TMainListDBForm::File1Click() {
  FillMRUMenuItem(recentFiles_, Favorites1, ActionImage(aiRecentFile), [this](QAction* item) {
    RunGuarded(this, [this, item] { OpenRecentFile(item); });
  });
}

void TMainListDBForm::HistoryPopupMenuPopup() {
  FillMRUPopupMenu(
      recentFiles_, HistoryPopupMenu, ActionImage(aiRecentFile),
      [this](QAction* item) { RunGuarded(this, [this, item] { OpenRecentFile(item); }); });
}

void TMainListDBForm::NewFileActionExecute() {
  QuerySaveChanges();
  TCustomizeDBDialog dlg(this);
  dlg.SetListName(QStringToAnsi(QString("New List %1").arg(NewListCounter())));
  dlg.SetField1("Field1");
  dlg.SetField2("Field2");
  if (Prompts().ExecDialog(&dlg) != TModalResult::OK) return;
  AdvanceNewListCounter();

  // The names are checked before the old list goes: a refused name leaves the
  // window as it was.
  auto document = std::make_unique<TListDBData>();
  document->SetNames(dlg.ListName(), dlg.Field1(), dlg.Field2());
  document->SetModified(true);
  CloseDocument();
  document_ = std::move(document);
  ShowDocument(false);
}

void TMainListDBForm::OpenFileActionExecute() {
  QuerySaveChanges();
  TFileDialogOptions options = OpenDialogOptions();
  if (!Prompts().OpenFileDialog(this, options)) return;
  CloseDocument();
  OpenListFile(options.fileName);
}

void TMainListDBForm::SaveFileActionExecute(QAction* sender) {
  if (!document_) return;
  const bool saveAs = sender && sender->data().toInt() == 1;
  QString path = DisplayPath(document_->FileName);
  if (saveAs || document_->FileName.empty()) {
    saveDialogFileName_.clear();
    TFileDialogOptions options = SaveDialogOptions(QString());
    if (!Prompts().SaveFileDialog(this, options)) return;
    saveDialogFileName_ = options.fileName;
    path = options.fileName;
  }
  ShowStatusHint("Saving data...");
  try {
    // The document takes the new name only once the file holds it.
    SaveDocument(path);
  } catch (...) {
    UpdateStatus();
    throw;
  }
  document_->SetModified(false);
  UpdateStatus();
}

void TMainListDBForm::SaveFileActionUpdate() {
  SaveAsFieAction->setEnabled(document_ != nullptr);
  SaveFileAction->setEnabled(document_ != nullptr && document_->Modified());
}

void TMainListDBForm::ShowNotYetReady() {
  Prompts().MessageBox(this, "Sorry, but this function not yet ready...",
                       QApplication::applicationName(), TMsgIcon::None, mbOK);
}

void TMainListDBForm::ExportFileActionExecute() { ShowNotYetReady(); }

void TMainListDBForm::ExportFileActionUpdate() {
  ExportFileAction->setEnabled(document_ != nullptr);
}

void TMainListDBForm::SendToPalmSyncActionExecute() { ShowNotYetReady(); }

void TMainListDBForm::SendToPalmSyncActionUpdate() {
  SendToPalmSyncAction->setEnabled(document_ != nullptr);
}
