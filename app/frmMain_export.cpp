// The main window's Export command: the export wizard's choices written to a
// file (through the safe replacement) or to the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "app/frmMain.h"
#include "components/DelayedProgressDialog.h"
#include "components/ExportToClipboard.h"
#include "components/RecordsListView.h"
#include "core/ListExport.h"
#include "dialogs/frmExportTuneup.h"
#include "platform/FilePaths.h"
#include "platform/RichText.h"

namespace {

std::string ExportToMemory(const TListDBData& data, const std::vector<const TListRecord*>& records,
                           const TExportOptions& options,
                           const std::function<bool(size_t, size_t)>& progress) {
  TMemoryStream out;
  ExportRecords(data, records, options, out, progress);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

}  // namespace

void TMainListDBForm::ExportFileActionExecute() {
  if (!document_) return;
  TExportChoice choice;
  if (!ExecuteExportWizard(this, document_.get(), choice)) return;
  const std::vector<const TListRecord*> records = RecordsForExport(choice.CategoryId);
  TExportOptions& options = choice.Options;
  options.RichTextFont =
      ToRtfFont(RecordsListView->font(), RecordsListView->palette().color(QPalette::Text));
  options.WindowTextColor = ToRtfColor(QApplication::palette().color(QPalette::WindowText));
  // RTF on the clipboard has its plain text beside it: two passes.
  const bool richText = options.Format == TExportFormat::RichText;
  const size_t passes = !choice.ToFile && richText ? 2 : 1;
  // A long export shows its progress and can be cancelled.
  TDelayedProgressDialog progress(this, QStringLiteral("Exporting..."),
                                  QStringLiteral("ExportProgressDialog"),
                                  static_cast<int>(records.size() * passes));
  size_t before = 0;  // records of the passes done
  const auto step = [&](size_t done, size_t) {
    return progress.Step(static_cast<int>(before + done));
  };

  ShowStatusHint(QStringLiteral("Exporting..."));
  try {
    if (choice.ToFile) {
      options.ByteOrderMark = true;
      try {
        SafeReplaceFile(NativePath(choice.FileName), [&](TStream& out) {
          ExportRecords(*document_, records, options, out, step);
        });
      } catch (const EStreamError& e) {
        throw WithDisplayPath(e, choice.FileName);
      }
    } else {
      options.ByteOrderMark = false;
      const std::string output = ExportToMemory(*document_, records, options, step);
      std::string plainText;
      if (richText) {
        before = records.size();
        TExportOptions plain = options;
        plain.Format = TExportFormat::PlainText;
        plainText = ExportToMemory(*document_, records, plain, step);
      }
      QGuiApplication::clipboard()->setMimeData(ExportMimeData(options.Format, output, plainText));
    }
  } catch (const EExportCancelled&) {
    ShowStatusHint(QStringLiteral("Export cancelled"));
    return;
  } catch (...) {
    ShowStatusHint(QString());
    throw;
  }
  if (records.empty()) {
    ShowStatusHint(choice.CategoryId ? QStringLiteral("No records in the chosen category to export")
                                     : QStringLiteral("No records to export"));
  } else {
    ShowStatusHint(QStringLiteral("%1 records exported").arg(records.size()));
  }
}

std::vector<const TListRecord*> TMainListDBForm::RecordsForExport(
    std::optional<int> categoryId) const {
  // The ordering takes the records as the list holds them (for change); it
  // only reads them.
  std::vector<TListRecord*> records;
  for (const TListRecord* record : RecordsToExport(*document_, categoryId))
    records.push_back(const_cast<TListRecord*>(record));
  RecordsListView->Shown()->OrderRecords(records);
  return {records.begin(), records.end()};
}
