// The main window's Export command: the export wizard's choices written to a
// file (through the safe replacement) or to the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QProgressDialog>

#include "app/frmMain.h"
#include "components/ExportToClipboard.h"
#include "components/RecordsListView.h"
#include "core/ListExport.h"
#include "dialogs/frmExportTuneup.h"
#include "platform/FilePaths.h"
#include "platform/RichText.h"

namespace {

// An export that takes longer than this shows its progress and can be
// cancelled.
constexpr int kProgressDelayMs = 1000;
constexpr int kProgressStepMs = 50;

// The progress callback of an export: silent for the first second, then a
// progress dialog with Cancel.
class TExportProgress {
 public:
  TExportProgress(QWidget* owner, size_t total)
      : dialog_(QStringLiteral("Exporting..."), QStringLiteral("Cancel"), 0,
                static_cast<int>(std::max<size_t>(total, 1)), owner) {
    dialog_.setObjectName(QStringLiteral("ExportProgressDialog"));
    dialog_.setWindowTitle(QApplication::applicationName());
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(kProgressDelayMs);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    clock_.start();
  }
  // done counts on across the passes of one export.
  bool Step(size_t done) {
    const qint64 now = clock_.elapsed();
    if (now < kProgressDelayMs) return true;
    if (shown_ < 0 || now - shown_ >= kProgressStepMs) {
      dialog_.setValue(static_cast<int>(std::min<size_t>(done, dialog_.maximum())));
      shown_ = now;
    }
    return !dialog_.wasCanceled();
  }

 private:
  QProgressDialog dialog_;
  QElapsedTimer clock_;
  qint64 shown_ = -1;
};

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
  TExportProgress progress(this, records.size() * passes);
  size_t before = 0;  // records of the passes done
  const auto step = [&](size_t done, size_t) { return progress.Step(before + done); };

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
