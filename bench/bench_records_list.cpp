// What a user waits for with a full list of 65,535 records: filling the record
// list, a change of the category filter and a sort by each column; beside
// them the same done with a plain QTreeWidget, one item per row.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <QTreeWidget>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "bench/GuiBenchMain.h"
#include "bench/SampleList.h"
#include "components/RecImages.h"
#include "components/RecordsListView.h"
#include "core/Streams.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"

namespace {

constexpr int kRecords = 65535;
constexpr int kCategories = 16;

TListDBData& Document() {
  static std::unique_ptr<TListDBData> doc = bench::MakeSampleList(kRecords);
  return *doc;
}

// The records of one category (all for -1), as the window's filter tests them.
TShownRecordsModel::TFilter CategoryFilter(int category) {
  if (category < 0) return nullptr;
  return [category](const TListRecord* record) { return record->CategoryID() == category; };
}

// A shown list of a main window's size; pending layout and painting are part
// of every measured step.
struct TShownList {
  TShownList() {
    view.resize(780, 520);
    view.show();
    QApplication::processEvents();
  }
  TRecordsListView view;
};

void Settle() { QApplication::processEvents(); }

void BM_List_Fill(benchmark::State& state) {
  TListDBData& doc = Document();
  TShownList list;
  for (auto _ : state) {
    list.view.SetDocument(&doc);
    Settle();
  }
  state.counters["rows"] = list.view.RowCount();
}

void BM_List_FilterChange(benchmark::State& state) {
  TShownList list;
  list.view.SetDocument(&Document());
  int category = 0;
  for (auto _ : state) {
    state.PauseTiming();
    list.view.Shown()->SetFilter(nullptr);
    Settle();
    state.ResumeTiming();
    list.view.Shown()->SetFilter(CategoryFilter(category));
    Settle();
    category = (category + 1) % kCategories;
  }
}

void BM_List_Sort(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  TShownList list;
  list.view.SetDocument(&Document());
  Settle();
  bool ascending = true;
  for (auto _ : state) {
    list.view.SortRows(column, ascending);
    Settle();
    ascending = !ascending;
  }
}

// On the realistic list: what the user waits for when a list opens (read,
// compact, fill, paint), closes, and on a click on a column header.

const std::vector<uint8_t>& RealisticFile() {
  static const std::vector<uint8_t> bytes = [] {
    TMemoryStream stream;
    WriteListDB(*bench::MakeRealisticList(), stream);
    return stream.Bytes();
  }();
  return bytes;
}

std::unique_ptr<TListDBData> ReadRealistic() {
  auto doc = std::make_unique<TListDBData>();
  TMemoryStream in(RealisticFile());
  ReadListDB(*doc, in);
  CompactCategories(*doc);
  return doc;
}

void Close(TShownList& list, std::unique_ptr<TListDBData>& doc) {
  list.view.SetDocument(nullptr);
  doc.reset();
  Settle();
}

void BM_Realistic_Open(benchmark::State& state) {
  RealisticFile();
  TShownList list;
  std::unique_ptr<TListDBData> doc;
  for (auto _ : state) {
    doc = ReadRealistic();
    list.view.SetDocument(doc.get());
    Settle();
    state.PauseTiming();
    Close(list, doc);
    state.ResumeTiming();
  }
}

void BM_Realistic_Close(benchmark::State& state) {
  TShownList list;
  std::unique_ptr<TListDBData> doc;
  for (auto _ : state) {
    state.PauseTiming();
    doc = ReadRealistic();
    list.view.SetDocument(doc.get());
    list.view.SortRows(0, true);
    Settle();
    state.ResumeTiming();
    Close(list, doc);
  }
}

// The first click on a column after the list opened.
void BM_Realistic_FirstSort(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  TShownList list;
  std::unique_ptr<TListDBData> doc;
  for (auto _ : state) {
    state.PauseTiming();
    Close(list, doc);
    doc = ReadRealistic();
    list.view.SetDocument(doc.get());
    Settle();
    state.ResumeTiming();
    list.view.SortRows(column, true);
    Settle();
  }
}

// Later clicks: every column was sorted once; each click sorts this one again,
// the other way round than the last.
void BM_Realistic_LaterSort(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  TShownList list;
  std::unique_ptr<TListDBData> doc = ReadRealistic();
  list.view.SetDocument(doc.get());
  for (int c = 0; c < kRecordColumnCount; ++c) list.view.SortRows(c, true);
  Settle();
  bool ascending = false;
  for (auto _ : state) {
    list.view.SortRows(column, ascending);
    Settle();
    ascending = !ascending;
  }
}

// The baseline: a QTreeWidget filled item by item.
struct TShownTreeWidget {
  TShownTreeWidget() {
    tree.setColumnCount(4);
    tree.setHeaderLabels({"Name", "Phone", "Notes", "Category"});
    tree.setRootIsDecorated(false);
    tree.setUniformRowHeights(true);
    tree.setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree.resize(780, 520);
    tree.show();
    QApplication::processEvents();
  }
  void Fill(const TListDBData& doc, int category) {
    tree.setUpdatesEnabled(false);
    tree.clear();
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < doc.RecordCount(); ++i) {
      TListRecord* record = doc.GetRecord(i);
      if (category >= 0 && record->CategoryID() != category) continue;
      auto* item = new QTreeWidgetItem;
      item->setText(0, AnsiToQString(record->Field1()));
      item->setText(1, AnsiToQString(record->Field2()));
      item->setText(2, AnsiToQString(record->Notes()).replace("\r\n", " "));
      item->setText(3, AnsiToQString(record->CategoryName()));
      item->setIcon(0, icon);
      item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(record)));
      items.append(item);
    }
    tree.addTopLevelItems(items);
    tree.setUpdatesEnabled(true);
  }
  QTreeWidget tree;
  QIcon icon = RecImageIcon(kRecordImage);
};

void BM_TreeWidget_Fill(benchmark::State& state) {
  const TListDBData& doc = Document();
  TShownTreeWidget list;
  for (auto _ : state) {
    list.Fill(doc, -1);
    Settle();
  }
}

void BM_TreeWidget_FilterChange(benchmark::State& state) {
  const TListDBData& doc = Document();
  TShownTreeWidget list;
  int category = 0;
  for (auto _ : state) {
    state.PauseTiming();
    list.Fill(doc, -1);
    Settle();
    state.ResumeTiming();
    list.Fill(doc, category);
    Settle();
    category = (category + 1) % kCategories;
  }
}

void BM_TreeWidget_Sort(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  TShownTreeWidget list;
  list.Fill(Document(), -1);
  Settle();
  bool ascending = true;
  for (auto _ : state) {
    list.tree.sortItems(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    Settle();
    ascending = !ascending;
  }
}

BENCHMARK(BM_List_Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWidget_Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List_FilterChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWidget_FilterChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List_Sort)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWidget_Sort)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Realistic_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Realistic_Close)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Realistic_FirstSort)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Realistic_LaterSort)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunGuiBenchmarks(argc, argv); }
