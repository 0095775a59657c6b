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

#include "components/RecImages.h"
#include "components/RecordsListView.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"

namespace {

constexpr int kRecords = 65535;
constexpr int kCategories = 16;

const char* const kFirstNames[] = {"Anna",   "Boris", "Clara", "Dmitri", "Elena",     "Fjodor",
                                   "Galina", "Hugo",  "Irina", "Jonas",  "Katja",     "Leo",
                                   "Marta",  "Nils",  "Olga",  "Pavel",  "\xC9milie", "Zo\xEB"};
const char* const kLastNames[] = {"Ivanova",
                                  "Schmidt",
                                  "Petrov",
                                  "M\xFCller",
                                  "Novak",
                                  "Kowalski",
                                  "Smith",
                                  "Garc\xED"
                                  "a",
                                  "Rossi",
                                  "Dubois",
                                  "Jensen",
                                  "Horvat",
                                  "O'Brien",
                                  "Nakamura",
                                  "Silva"};
const char* const kNoteWords[] = {"call",    "before", "noon",    "invoice",  "sent",
                                  "meeting", "on",     "Tuesday", "birthday", "in",
                                  "May",     "new",    "address", "pending",  "paid",
                                  "ask",     "about",  "the",     "offer",    "<b>"};
const char* const kCategoryNames[] = {
    "Unfiled", "Business", "Personal", "Family", "Friends", "Clients", "Suppliers", "Doctors",
    "School",  "Club",     "Travel",   "Car",    "House",   "Bank",    "Shops",     "Misc"};

// A document as a user builds it: names, phone numbers, sometimes a note of a
// few lines, the records spread over all 16 categories.
std::unique_ptr<TListDBData> MakeDocument() {
  auto doc = std::make_unique<TListDBData>();
  doc->SetCustomField1("Name");
  doc->SetCustomField2("Phone");
  for (int id = 1; id < kCategories; ++id) doc->Categories().AppendEntry(kCategoryNames[id], id);
  std::mt19937 random(20240611);
  auto pick = [&](int n) { return static_cast<int>(random() % n); };
  for (int i = 0; i < kRecords; ++i) {
    TListRecord* record = doc->AddRecord();
    record->SetField1(std::string(kFirstNames[pick(18)]) + " " + kLastNames[pick(15)] +
                      (pick(4) == 0 ? "  " : ""));
    char phone[32];
    std::snprintf(phone, sizeof phone, "+%d %d %d", 1 + pick(98), 100 + pick(900),
                  100000 + pick(900000));
    record->SetField2(phone);
    std::string notes;
    if (pick(3) != 0) {
      const int words = 2 + pick(25);
      for (int w = 0; w < words; ++w) {
        notes += kNoteWords[pick(20)];
        notes += (w % 7 == 6) ? "\r\n" : " ";
      }
    }
    record->SetNotes(notes);
    record->SetCategoryID(pick(kCategories));
  }
  return doc;
}

TListDBData& Document() {
  static std::unique_ptr<TListDBData> doc = MakeDocument();
  return *doc;
}

std::vector<TRecordRow> BuildRows(const TListDBData& doc, int category) {
  std::vector<TRecordRow> rows;
  rows.reserve(doc.RecordCount());
  for (int i = 0; i < doc.RecordCount(); ++i) {
    TListRecord* record = doc.GetRecord(i);
    if (category < 0 || record->CategoryID() == category) rows.push_back(MakeRecordRow(record));
  }
  return rows;
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
  const TListDBData& doc = Document();
  TShownList list;
  for (auto _ : state) {
    list.view.Model()->SetRows(BuildRows(doc, -1));
    Settle();
  }
  state.counters["rows"] = list.view.RowCount();
}

void BM_List_FilterChange(benchmark::State& state) {
  const TListDBData& doc = Document();
  TShownList list;
  int category = 0;
  for (auto _ : state) {
    state.PauseTiming();
    list.view.Model()->SetRows(BuildRows(doc, -1));
    Settle();
    state.ResumeTiming();
    list.view.Model()->SetRows(BuildRows(doc, category));
    Settle();
    category = (category + 1) % kCategories;
  }
}

void BM_List_Sort(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  TShownList list;
  list.view.Model()->SetRows(BuildRows(Document(), -1));
  Settle();
  bool ascending = true;
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

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Sorting collates for the user's locale; measure with a real one, not "C".
  if (QLocale().language() == QLocale::C)
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
