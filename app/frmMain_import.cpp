// Import: a new list from a file of another program, shown as Create shows a
// new list, and one message that tells what came in and what did not fit.
#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include "app/frmMain.h"
#include "components/DelayedProgressDialog.h"
#include "core/ListImport.h"
#include "dialogs/frmImport.h"
#include "platform/AnsiText.h"
#include "platform/Prompts.h"

namespace {

// The steps of the import's progress (it goes by bytes read).
constexpr int kProgressSteps = 1000;

// The list's name from the file's, cut to what the list properties admit.
std::string ListNameOf(const QString& path) {
  std::string name = Trim(QStringToAnsi(QFileInfo(path).completeBaseName()));
  if (name.size() >= static_cast<size_t>(kMaxDatabaseName)) name.resize(kMaxDatabaseName - 1);
  name = Trim(name);
  return name.empty() ? "Imported" : name;
}

}  // namespace

void TMainListDBForm::ImportActionExecute() {
  QuerySaveChanges();
  TImportDialog dlg(this);
  TFileDialogOptions fileOptions;
  fileOptions.title = QStringLiteral("Import List...");
  fileOptions.filter =
      QStringLiteral("Text and list files (*.csv *.tsv *.txt *.xml *.json);;All files (*.*)");
  fileOptions.mustExist = true;
  if (!Prompts().OpenFileDialog(this, fileOptions)) return;
  dlg.SetFileName(fileOptions.fileName);
  if (Prompts().ExecDialog(&dlg) != TModalResult::OK) return;
  const QString path = dlg.FileName();
  const TImportOptions options = dlg.Options();

  // A long import shows its progress and can be cancelled; the open list
  // stays as it is until the new one is whole.
  TDelayedProgressDialog progress(this, QStringLiteral("Importing..."),
                                  QStringLiteral("ImportProgressDialog"), kProgressSteps);
  auto onProgress = [&progress](size_t done, size_t total) {
    return progress.Step(
        total > 0 ? static_cast<int>(static_cast<double>(done) / total * (kProgressSteps - 1)) : 0);
  };

  TImportReport report;
  std::unique_ptr<TListDBData> document;
  try {
    TFileStream in(path.toStdString(), TFileStream::Mode::OpenRead);
    document = ImportList(in, options, report, onProgress);
  } catch (const EImportCancelled&) {
    return;
  } catch (const std::exception& e) {
    Prompts().MessageBox(
        this,
        QStringLiteral("\"%1\" cannot be imported: %2").arg(path, QString::fromLocal8Bit(e.what())),
        QApplication::applicationName(), TMsgIcon::Error, mbOK);
    return;
  }
  progress.Close();
  if (document->DatabaseName().empty()) document->SetDatabaseName(ListNameOf(path));
  document->SetModified(true);
  CloseDocument();
  document_ = std::move(document);
  ShowDocument(true);

  QStringList lines;
  for (const std::string& line : report.Lines()) lines << QString::fromStdString(line);
  Prompts().MessageBox(this, lines.join(QLatin1Char('\n')), QApplication::applicationName(),
                       TMsgIcon::Information, mbOK);
}
