// Import of a 65,535-row CSV made from the realistic full list (distinct
// names, values of every length; as export writes it, UTF-8 with titles)
// beside the list file reader on the same list in the same run: the import
// should take at most three times the reader's time, and at its peak hold
// less than twice the CSV's size in heap beyond the finished list.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "bench/HeapInUse.h"
#include "bench/SampleList.h"
#include "core/ListExport.h"
#include "core/ListImport.h"
#include "core/Streams.h"
#include "core/listdb.h"

namespace {

struct Files {
  std::string pdb, csv;
  uint64_t pdbSize = 0, csvSize = 0;
  ~Files() {
    std::remove(pdb.c_str());
    std::remove(csv.c_str());
  }
};

const Files& Sample() {
  static const Files files = [] {
    const std::unique_ptr<TListDBData> doc = bench::MakeRealisticList();
    Files f;
    const std::string base = "/tmp/vornik-bench-import-" + std::to_string(::getpid());
    f.pdb = base + ".pdb";
    f.csv = base + ".csv";
    {
      TFileStream out(f.pdb, TFileStream::Mode::Create);
      WriteListDB(*doc, out);
      f.pdbSize = out.Size();
    }
    TExportOptions options;
    options.Fields = {TExportField::Field1, TExportField::Field2, TExportField::Notes,
                      TExportField::CategoryName};
    options.ColumnTitles = true;
    TFileStream out(f.csv, TFileStream::Mode::Create);
    ExportRecords(*doc, RecordsToExport(*doc, std::nullopt), options, out);
    f.csvSize = out.Size();
    return f;
  }();
  return files;
}

void BM_ReadListDB_File(benchmark::State& state) {
  Sample();  // made before the clock runs
  for (auto _ : state) {
    TListDBData doc;
    TFileStream in(Sample().pdb, TFileStream::Mode::OpenRead);
    ReadListDB(doc, in);
    benchmark::DoNotOptimize(doc.RecordCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Sample().pdbSize));
}

void BM_ImportCsv_File(benchmark::State& state) {
  TImportOptions options;
  options.Format = TImportFormat::CommaSeparated;
  Sample();
  size_t records = 0;
  for (auto _ : state) {
    TFileStream in(Sample().csv, TFileStream::Mode::OpenRead);
    TImportReport report;
    std::unique_ptr<TListDBData> doc = ImportList(in, options, report);
    records = report.Records;
    benchmark::DoNotOptimize(doc.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Sample().csvSize));
  state.counters["records"] = static_cast<double>(records);
  state.counters["csv_bytes"] = static_cast<double>(Sample().csvSize);
}

// The heap beyond the finished list at the import's peak (sampled at every
// progress call and at the end), as a share of the CSV's size.
void BM_ImportCsv_PeakHeap(benchmark::State& state) {
  TImportOptions options;
  options.Format = TImportFormat::CommaSeparated;
  double share = 0;
  for (auto _ : state) {
    const size_t before = bench::HeapInUse();
    size_t peak = before;
    TFileStream in(Sample().csv, TFileStream::Mode::OpenRead);
    TImportReport report;
    std::unique_ptr<TListDBData> doc = ImportList(in, options, report, [&](size_t, size_t) {
      peak = std::max(peak, bench::HeapInUse());
      return true;
    });
    const size_t after = bench::HeapInUse();
    peak = std::max(peak, after);
    share = static_cast<double>(peak - after) / static_cast<double>(Sample().csvSize);
    state.counters["list_heap_MiB"] = static_cast<double>(after - before) / (1 << 20);
  }
  state.counters["peak_extra_per_csv_byte"] = share;
}

}  // namespace

BENCHMARK(BM_ReadListDB_File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsv_File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsv_PeakHeap)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
