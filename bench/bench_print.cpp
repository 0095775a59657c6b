// Printing a full list of 65,535 records (thousands of pages) to a PDF file,
// as Print does it, and the column width pass alone: on the list with short
// values, on the realistic one, and on notes of 4,095 characters without a
// blank.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTreeView>
#include <memory>

#include "bench/GuiBenchMain.h"
#include "bench/SampleList.h"
#include "components/ListViewPrints.h"
#include "components/PrintList.h"
#include "core/listdb.h"
#include "platform/Printer.h"

namespace {

constexpr int kRecords = 65535;
constexpr int kLongNoteRecords = 16384;
const QStringList kCaptions = {"Name", "Phone", "Notes", "Category"};

std::vector<TListRecord*> RecordsOf(const TListDBData& doc) {
  std::vector<TListRecord*> records;
  for (int i = 0; i < doc.RecordCount(); ++i) records.push_back(doc.GetRecord(i));
  return records;
}

// 0: short values, 1: realistic, 2: every note 4,095 characters, no blank.
std::vector<TListRecord*> Records(int sample) {
  static std::unique_ptr<TListDBData> docs[3];
  if (!docs[sample]) {
    if (sample == 0) {
      docs[0] = bench::MakeSampleList(kRecords);
    } else if (sample == 1) {
      docs[1] = bench::MakeRealisticList(kRecords);
    } else {
      docs[2] = bench::MakeSampleList(kLongNoteRecords);
      for (int i = 0; i < docs[2]->RecordCount(); ++i)
        docs[2]->GetRecord(i)->SetNotes(std::string(kMaxNotes, 'a'));
    }
  }
  return RecordsOf(*docs[sample]);
}

void BM_Print_ColumnWidths(benchmark::State& state) {
  auto list = MakePrintList(nullptr, kCaptions, Records(static_cast<int>(state.range(0))));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  TQtPrinter target(printer);
  TS_ListViewPrint print(list.get());
  print.SetPrinter(target);
  for (auto _ : state) print.ComputeColumnWidths();
}

void BM_Print_WholeListToPdf(benchmark::State& state) {
  // VORNIK_BENCH_PDF names a file to keep the printout in, to look at it.
  QTemporaryDir dir;
  const QString path = qEnvironmentVariableIsSet("VORNIK_BENCH_PDF")
                           ? qEnvironmentVariable("VORNIK_BENCH_PDF")
                           : dir.filePath("list.pdf");
  const std::vector<TListRecord*> records = Records(static_cast<int>(state.range(0)));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  TQtPrinter target(printer);
  int pages = 0;
  for (auto _ : state) {
    // The whole command after the print dialog: the hidden list, the printer
    // set up, every page printed and the file written.
    auto list = MakePrintList(nullptr, kCaptions, records);
    TS_ListViewPrint print(list.get());
    print.SetPrinter(target);
    print.Title = "Customers and suppliers";
    print.EndText = "Printed on today";
    print.PageText = "Page: ";
    print.OnProgress = [&pages, &target](int, int) {
      pages = target.PageNumber();
      return true;
    };
    print.Print();
  }
  state.counters["pages"] = pages;
  state.counters["MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}

BENCHMARK(BM_Print_ColumnWidths)
    ->ArgName("sample")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Print_WholeListToPdf)
    ->ArgName("sample")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) { return bench::RunGuiBenchmarks(argc, argv); }
