// Printing a full list of 65,535 records (more than a thousand pages) to a PDF
// file, as Print does it, and the column width pass alone.
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
const QStringList kCaptions = {"Name", "Phone", "Notes", "Category"};

std::vector<TListRecord*> Records() {
  static std::unique_ptr<TListDBData> doc = bench::MakeSampleList(kRecords);
  std::vector<TListRecord*> records;
  for (int i = 0; i < doc->RecordCount(); ++i) records.push_back(doc->GetRecord(i));
  return records;
}

void BM_Print_ColumnWidths(benchmark::State& state) {
  auto list = MakePrintList(nullptr, kCaptions, Records());
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  TQtPrinter target(printer);
  TS_ListViewPrint print(list.get());
  print.SetPrinter(target);
  for (auto _ : state) print.ComputeColumnWidths();
}

void BM_Print_WholeListToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("list.pdf");
  const std::vector<TListRecord*> records = Records();
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

BENCHMARK(BM_Print_ColumnWidths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Print_WholeListToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return bench::RunGuiBenchmarks(argc, argv); }
