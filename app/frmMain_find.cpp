// Find and Find again: a substring searched for in the records of the rows
// the list shows, in the order it shows them.
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QString>
#include <algorithm>

#include "app/frmMain.h"
#include "components/RecordListModel.h"
#include "components/RecordsListView.h"
#include "core/RecordSearch.h"
#include "dialogs/frmSearchDlg.h"
#include "platform/AnsiText.h"
#include "platform/Prompts.h"

namespace {

// The search text as the message shows it: a text too wide for half the
// screen is shortened in its middle.
QString ShownSearchText(const QString& text) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int room = screen ? screen->availableGeometry().width() / 2 : 400;
  return QFontMetrics(QApplication::font("QMessageBox")).elidedText(text, Qt::ElideMiddle, room);
}

}  // namespace

void TMainListDBForm::FindActionUpdate() {
  const bool rows = document_ != nullptr && RecordsListView->RowCount() > 0;
  FindAction->setEnabled(rows);
  FindAgainAction->setEnabled(rows && !SearchOptions.Text.empty());
}

void TMainListDBForm::FindActionExecute(QAction* sender) {
  if (!document_) return;
  const bool again = sender && sender->data().toInt() == 1;
  if (!again && !ExecuteSearchDialog(this, document_->CustomField1(), document_->CustomField2(),
                                     SearchOptions))
    return;

  int start = 0;
  if (again) {
    const int selected = RecordsListView->FirstSelectedRow();
    if (selected >= 0) start = selected + 1;
  }
  const int found = FindRecordRow(start);
  if (found < 0) {
    Prompts().MessageBox(this,
                         QStringLiteral("Cannot find \"%1\".")
                             .arg(ShownSearchText(AnsiToQString(SearchOptions.Text))),
                         QStringLiteral("Search result"), TMsgIcon::Information, mbOK);
    return;
  }
  RecordsListView->SelectAndShowRow(found, true);
}

int TMainListDBForm::FindRecordRow(int start) const {
  // The shown records themselves: the rows' texts are not needed.
  // The search text is prepared once for all of them.
  const TShownRecordsModel* rows = RecordsListView->Shown();
  const TRecordSearcher searcher(SearchOptions);
  const int count = rows->ShownCount();
  for (int row = std::max(start, 0); row < count; ++row) {
    const TListRecord* record = rows->ShownRecord(row);
    if (record && searcher.Matches(*record)) return row;
  }
  return -1;
}
