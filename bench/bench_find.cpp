// Find and Find again over a full list of 65,535 records, as the user runs
// them from the main window: the worst case, where only the last row shown
// matches, and a search that finds nothing. Also the hardest text for a
// searcher that tries every start: 4,095-byte notes of "a" searched for
// 2,047 "a" and a "b", also with a "b" in every note; these report the bytes
// of notes searched per second.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/frmMain.h"
#include "bench/GuiBenchMain.h"
#include "bench/SampleList.h"
#include "components/RecordsListView.h"
#include "core/Streams.h"
#include "core/listdb.h"
#include "dialogs/frmSearchDlg.h"
#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"

namespace {

constexpr int kRecords = 65535;

// The sample list; its last record (the last row shown) carries a note no
// other record has.
std::unique_ptr<TListDBData> SampleList() {
  auto doc = bench::MakeSampleList(kRecords);
  doc->GetRecord(kRecords - 1)->SetNotes("the one with the lost key");
  return doc;
}

// Every record's note as long as notes go, all "a"; with two "b" when withB,
// fewer than 2,047 "a" before each: the text below is still nowhere, but its
// last letter is in every note where a match could end, so every byte goes
// through the matcher, not only the block test.
std::unique_ptr<TListDBData> LongNotesList(bool withB) {
  auto doc = std::make_unique<TListDBData>();
  std::string note(kMaxNotes, 'a');
  if (withB) note[1500] = note[3500] = 'b';
  for (int i = 0; i < kRecords; ++i) {
    TListRecord* record = doc->AddRecord();
    record->SetField1("a" + std::to_string(i));
    record->SetNotes(note);
  }
  return doc;
}

std::unique_ptr<TListDBData> HostileList() { return LongNotesList(false); }
std::unique_ptr<TListDBData> HostileListWithB() { return LongNotesList(true); }

const std::string kHostileText = std::string(2047, 'a') + "b";

// The bytes of notes searched by one Find on the list of long notes.
constexpr int64_t kHostileBytes = int64_t{kRecords} * kMaxNotes;

// A shown main window with a list open.
struct TOpenWindow {
  explicit TOpenWindow(std::unique_ptr<TListDBData> doc) {
    path = dir.filePath("sample.pdb");
    TFileStream stream(QFile::encodeName(path).toStdString(), TFileStream::Mode::Create);
    WriteListDB(*doc, stream);
  }
  void Open() {
    form = std::make_unique<TMainListDBForm>();
    form->resize(780, 520);
    form->show();
    prompts.AnswerOpenFile(path);
    Action("OpenFileAction")->trigger();
    QApplication::processEvents();
  }
  QAction* Action(const char* name) const { return form->findChild<QAction*>(name); }
  // Find with the dialog answered with text in all three places.
  void Find(const QString& text) {
    prompts.AnswerDialog([text](QDialog* dialog) {
      auto* dlg = dynamic_cast<TSearchDialog*>(dialog);
      if (!dlg) return TModalResult::Cancel;
      dlg->SearchStringEdit->setEditText(text);
      return TModalResult::OK;
    });
    prompts.AnswerMessage(TModalResult::OK);  // only used when nothing is found
    Action("FindAction")->trigger();
    prompts.Clear();
  }

  QTemporaryDir dir;
  QString path;
  TScriptedPrompts prompts;
  std::unique_ptr<TMainListDBForm> form;
};

// Made on first use, freed before the application object goes.
std::unique_ptr<TOpenWindow> g_window, g_hostile, g_hostileWithB;

TOpenWindow& Window(std::unique_ptr<TOpenWindow>& window,
                    std::unique_ptr<TListDBData> (*make)() = SampleList) {
  if (!window) {
    window = std::make_unique<TOpenWindow>(make());
    window->Open();
  }
  // Its prompts answer, also after another window was made.
  SetPrompts(&window->prompts);
  return *window;
}

TOpenWindow& Window() { return Window(g_window); }

void BM_Find(benchmark::State& state, const char* text) {
  TOpenWindow& w = Window();
  for (auto _ : state) {
    w.Find(text);
    QApplication::processEvents();
  }
}

void BM_FindAgain(benchmark::State& state, const char* text) {
  TOpenWindow& w = state.range(0) ? Window(g_hostile, HostileList) : Window();
  w.Find(text);  // the search to repeat
  QAction* again = w.Action("FindAgainAction");
  auto* list = w.form->findChild<TRecordsListView*>();
  for (auto _ : state) {
    state.PauseTiming();
    // From the first row on each time.
    list->ClearSelection();
    list->SelectRow(0);
    w.prompts.AnswerMessage(TModalResult::OK);
    state.ResumeTiming();
    again->trigger();
    QApplication::processEvents();
    state.PauseTiming();
    w.prompts.Clear();
    state.ResumeTiming();
  }
  if (state.range(0)) state.SetBytesProcessed(state.iterations() * kHostileBytes);
}

// The first search after the list was opened, before the rows made their
// texts for showing.
void BM_FindAfterOpen(benchmark::State& state) {
  TOpenWindow& w = Window();
  for (auto _ : state) {
    state.PauseTiming();
    w.prompts.AnswerOpenFile(w.path);
    w.Action("OpenFileAction")->trigger();
    QApplication::processEvents();
    w.prompts.Clear();
    state.ResumeTiming();
    w.Find("lost key");
    QApplication::processEvents();
  }
}

void BM_FindHostile(benchmark::State& state) {
  TOpenWindow& w =
      state.range(0) ? Window(g_hostileWithB, HostileListWithB) : Window(g_hostile, HostileList);
  for (auto _ : state) {
    w.Find(QString::fromStdString(kHostileText));
    QApplication::processEvents();
  }
  state.SetBytesProcessed(state.iterations() * kHostileBytes);
}

BENCHMARK_CAPTURE(BM_Find, LastRow, "lost key")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Find, NoMatch, "no such text")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindAgain, LastRow, "lost key")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindAgain, NoMatch, "no such text")->Arg(0)->Unit(benchmark::kMillisecond);
// 4,095-byte notes of "a", searched for 2,047 "a" and a "b": found nowhere.
// Argument 1: each note holds a "b" in its middle, still found nowhere.
BENCHMARK(BM_FindHostile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindAgain, Hostile, kHostileText.c_str())
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAfterOpen)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunGuiBenchmarks(argc, argv, [] {
    g_window.reset();
    g_hostile.reset();
    g_hostileWithB.reset();
  });
}
