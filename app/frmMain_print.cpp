// The main window's output commands: Print (the records shown, in the order
// shown, through the list view printer) and Copy to clipboard (the selected
// record as rich text).
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QPrinter>
#include <QTreeView>

#include "app/frmMain.h"
#include "components/CopyToClipboard.h"
#include "components/DelayedProgressDialog.h"
#include "components/ListViewPrints.h"
#include "components/PrintList.h"
#include "components/RecordListModel.h"
#include "components/RecordsListView.h"
#include "platform/AnsiText.h"
#include "platform/DateTimeText.h"
#include "platform/Prompts.h"

namespace {

void EnlargeByPoints(QFont& font, int points) {
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() + points);
  else if (font.pixelSize() > 0)
    font.setPixelSize(font.pixelSize() + points * 96 / 72);
}

// The list's name as a document name the print dialog can propose as a file
// name ("name.pdf" when printing to a file).
QString PrintDocumentName(const QString& listName) {
  QString name = listName.trimmed();
  for (QChar& c : name)
    if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) c = u'_';
  return name.isEmpty() ? QStringLiteral("List") : name;
}

// How long a print runs before its progress shows.
constexpr int kPrintProgressDelayMs = 500;

}  // namespace

void TMainListDBForm::PrintFileActionExecute() {
  if (!document_) return;
  ApplicationPrinter().setDocName(PrintDocumentName(AnsiToQString(document_->DatabaseName())));
  if (!Prompts().PrintDialog(this, ApplicationPrinter())) return;

  // The rows the list shows, in the order shown.
  const std::vector<TListRecord*> records = RecordsListView->Shown()->ShownRecords();
  // A long print shows its progress, keeps the window painted and can be
  // cancelled; a short one neither shows a dialog nor takes input. The clock
  // starts at OK, and the delay leaves room for the row in hand, so the
  // progress shows within a second of OK on any list. The column widths are
  // measured first (long notes of many different texts take a while): the
  // bar counts the rows measured, then the rows printed.
  TDelayedProgressDialog progress(this, QStringLiteral("Measuring columns..."),
                                  QStringLiteral("PrintProgressDialog"),
                                  static_cast<int>(records.size()), kPrintProgressDelayMs);

  QStringList captions;
  const QAbstractItemModel* model = RecordsListView->model();
  for (int column = 0; column < model->columnCount(); ++column)
    captions << model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  const std::unique_ptr<QTreeView> list = MakePrintList(this, captions, records);

  TS_ListViewPrint print(list.get());
  EnlargeByPoints(print.TitleFont(), 2);
  print.Title = AnsiToQString(document_->DatabaseName());
  print.EndText = QStringLiteral("Printed on %1").arg(DateTimeToStr(QDateTime::currentDateTime()));
  print.PrintPageNumbers = true;
  print.PageText = QStringLiteral("Page: ");
  int measured = 0;
  bool printing = false;
  print.OnProgress = [&](int printed, int) {
    if (printed == 0) return progress.Step(++measured);  // measuring the widths
    if (!printing) {
      printing = true;
      progress.Dialog().setLabelText(QStringLiteral("Printing..."));
    }
    return progress.Step(printed);
  };
  print.Print();
}

void TMainListDBForm::PrintFileActionUpdate() { PrintFileAction->setEnabled(document_ != nullptr); }

void TMainListDBForm::CopyToClipboardActionExecute() {
  const int row = RecordsListView->FirstSelectedRow();
  TListRecord* record = row >= 0 ? RecordsListView->RecordAt(row) : nullptr;
  if (!document_ || !record) return;
  CopyRecordToClipboard(*record, *document_, RecordsListView->font(),
                        RecordsListView->palette().color(QPalette::Text),
                        QApplication::palette().color(QPalette::WindowText));
}

void TMainListDBForm::CopyToClipboardActionUpdate() {
  CopyToClipboardAction->setEnabled(RecordsListView->SelectedCount() >= 1);
}
