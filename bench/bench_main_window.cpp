// The main window on the realistic list as the user meets it: open the file
// (read, compact, fill, paint), a click on a column header the first time and
// later, closing the list (a new one replaces it), and the heap the open,
// sorted list holds against the file's size, and how soon a print of the
// whole list shows its progress (also on a list of notes as long as notes
// go) and stops when cancelled.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLocale>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "bench/GuiBenchMain.h"
#include "bench/HeapInUse.h"
#include "bench/SampleList.h"
#include "components/RecordListModel.h"
#include "core/Streams.h"
#include "core/listdb.h"
#include "platform/RegFileStore.h"
#include "platform/Registry.h"
#include "platform/ScriptedPrompts.h"

namespace {

// The list files made, removed at the end.
std::vector<std::string>& MadeFiles() {
  static std::vector<std::string> files;
  return files;
}

const std::string& RealisticPath() {
  static const std::string path = [] {
    std::string p = "/tmp/vornik-window-bench-" + std::to_string(::getpid()) + ".pdb";
    TFileStream out(p, TFileStream::Mode::Create);
    WriteListDB(*bench::MakeRealisticList(), out);
    MadeFiles().push_back(p);
    return p;
  }();
  return path;
}

// 65,535 records, each with a note of 4,095 "a": the most text a list holds.
const std::string& LongNotesPath() {
  static const std::string path = [] {
    std::string p = "/tmp/vornik-window-bench-long-" + std::to_string(::getpid()) + ".pdb";
    TListDBData doc;
    doc.SetDatabaseName("Long notes");
    const std::string note(kMaxNotes, 'a');
    for (int i = 0; i < kMaxFileRecords; ++i) {
      TListRecord* record = doc.AddRecord();
      record->SetField1("a" + std::to_string(i));
      record->SetNotes(note);
    }
    TFileStream out(p, TFileStream::Mode::Create);
    WriteListDB(doc, out);
    MadeFiles().push_back(p);
    return p;
  }();
  return path;
}

struct TWindow {
  TWindow() {
    SetSettingsStore(&settings);
    form.resize(800, 600);
    form.show();
    QApplication::processEvents();
  }
  ~TWindow() { SetSettingsStore(nullptr); }
  void Run(const char* action) {
    form.findChild<QAction*>(action)->trigger();
    QApplication::processEvents();
  }
  // The new list is modified: its changes are not saved.
  void DiscardChanges() {
    if (form.Document() && form.Document()->Modified()) prompts.AnswerMessage(TModalResult::No);
  }
  void Open(const std::string& path = RealisticPath()) {
    DiscardChanges();
    prompts.AnswerOpenFile(QString::fromStdString(path));
    Run("OpenFileAction");
  }
  // A new list in place of the open one (its properties dialog taken as
  // proposed).
  void New() {
    DiscardChanges();
    prompts.AnswerDialog([](QDialog*) { return TModalResult::OK; });
    Run("NewFileAction");
  }
  void Click(int column) {
    emit form.findChild<QTreeView*>("RecordsListView")->header()->sectionClicked(column);
    QApplication::processEvents();
  }
  TMemorySettingsStore settings;
  TScriptedPrompts prompts;
  TMainListDBForm form;
};

void BM_Window_Open(benchmark::State& state) {
  RealisticPath();
  TWindow window;
  for (auto _ : state) {
    state.PauseTiming();
    window.New();
    state.ResumeTiming();
    window.Open();
  }
  state.counters["records"] = window.form.Document()->RecordCount();
}

void BM_Window_Close(benchmark::State& state) {
  TWindow window;
  for (auto _ : state) {
    state.PauseTiming();
    window.Open();
    window.Click(0);
    state.ResumeTiming();
    window.New();
  }
}

void BM_Window_FirstClick(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  TWindow window;
  for (auto _ : state) {
    state.PauseTiming();
    window.New();
    window.Open();
    state.ResumeTiming();
    window.Click(column);
  }
}

// Every column was clicked once; each later click on this one.
void BM_Window_LaterClick(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  TWindow window;
  window.Open();
  for (int c = 0; c < kRecordColumnCount; ++c) window.Click(c);
  for (auto _ : state) window.Click(column);
}

void BM_Window_Memory(benchmark::State& state) {
  TWindow window;
  double added = 0;
  for (auto _ : state) {
    window.New();
    malloc_trim(0);
    const double before = static_cast<double>(bench::HeapInUse());
    window.Open();
    for (int c = 0; c < kRecordColumnCount; ++c) window.Click(c);
    added = static_cast<double>(bench::HeapInUse()) - before;
  }
  TFileStream file(RealisticPath(), TFileStream::Mode::OpenRead);
  const double size = static_cast<double>(file.Size());
  state.counters["file_MiB"] = size / (1 << 20);
  state.counters["added_MiB"] = added / (1 << 20);
  state.counters["x_file"] = added / size;
}

// Print of the whole list to a PDF file from the Print command: the wall
// time from OK in the print dialog until its progress dialog shows (within a
// second), where the print is cancelled, and from Cancel until the command
// has ended. Argument 1: the list of long notes.
class TProgressShown : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->objectName() == "PrintProgressDialog" &&
        shownMs < 0) {
      shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      static_cast<QProgressDialog*>(watched)->cancel();
      cancelled.start();
    }
    return false;
  }
  QElapsedTimer clock, cancelled;
  double shownMs = -1;
};

void BM_Window_PrintProgressShown(benchmark::State& state) {
  TWindow window;
  window.Open(state.range(0) ? LongNotesPath() : RealisticPath());
  QTemporaryDir dir;
  TProgressShown shown;
  QApplication::instance()->installEventFilter(&shown);
  double total = 0, stopped = 0;
  for (auto _ : state) {
    window.prompts.AnswerPrint(true, dir.filePath("list.pdf"));
    shown.shownMs = -1;
    shown.clock.start();
    window.Run("PrintFileAction");
    total += shown.shownMs;
    stopped += static_cast<double>(shown.cancelled.nsecsElapsed()) / 1e6;
  }
  QApplication::instance()->removeEventFilter(&shown);
  state.counters["shown_ms"] = total / static_cast<double>(state.iterations());
  state.counters["stopped_ms"] = stopped / static_cast<double>(state.iterations());
}

BENCHMARK(BM_Window_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_Close)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_FirstClick)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_LaterClick)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_Memory)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_PrintProgressShown)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunGuiBenchmarks(argc, argv, [] {
    for (const std::string& file : MadeFiles()) std::remove(file.c_str());
  });
}
