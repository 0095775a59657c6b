// Export of the realistic full list (65,535 records, distinct names, values of
// every length) to each format, into memory and to a file, beside the list
// file writer on the same list in the same run: the export should take at
// most twice the writer's time.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/SampleList.h"
#include "core/ListExport.h"
#include "core/Streams.h"
#include "core/listdb.h"

namespace {

const TListDBData& Sample() {
  static const std::unique_ptr<TListDBData> doc = bench::MakeRealisticList();
  return *doc;
}

std::string OutputPath(const char* suffix) {
  return "/tmp/vornik-bench-export-" + std::to_string(::getpid()) + "." + suffix;
}

TExportOptions Options(TExportFormat format) {
  TExportOptions options;
  options.Format = format;
  options.Fields = {TExportField::Field1, TExportField::Field2, TExportField::Notes,
                    TExportField::CategoryName};
  options.ColumnTitles = true;
  return options;
}

void Report(benchmark::State& state, uint64_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.counters["output_bytes"] = static_cast<double>(bytes);
}

void BM_WriteListDB_Memory(benchmark::State& state) {
  TMemoryStream out;
  for (auto _ : state) {
    WriteListDB(Sample(), out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  Report(state, out.Size());
}

void BM_WriteListDB_File(benchmark::State& state) {
  const std::string path = OutputPath("pdb");
  for (auto _ : state) {
    TFileStream out(path, TFileStream::Mode::Create);
    WriteListDB(Sample(), out);
  }
  Report(state, TFileStream(path, TFileStream::Mode::OpenRead).Size());
  std::remove(path.c_str());
}

// The records are picked (all of them) in every round, as the command does.
void BM_Export_Memory(benchmark::State& state, TExportFormat format) {
  const TExportOptions options = Options(format);
  TMemoryStream out;
  for (auto _ : state) {
    out.Seek(0);
    out.Truncate();
    ExportRecords(Sample(), RecordsToExport(Sample(), std::nullopt), options, out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  Report(state, out.Size());
}

void BM_Export_File(benchmark::State& state, TExportFormat format) {
  const TExportOptions options = Options(format);
  const std::string path = OutputPath(ExportFileSuffix(format));
  for (auto _ : state) {
    TFileStream out(path, TFileStream::Mode::Create);
    ExportRecords(Sample(), RecordsToExport(Sample(), std::nullopt), options, out);
  }
  Report(state, TFileStream(path, TFileStream::Mode::OpenRead).Size());
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_WriteListDB_Memory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteListDB_File)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_Memory, csv, TExportFormat::CommaSeparated)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_File, csv, TExportFormat::CommaSeparated)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_Memory, xml, TExportFormat::Xml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_File, xml, TExportFormat::Xml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_Memory, tsv, TExportFormat::TabSeparated)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_Memory, plain_text, TExportFormat::PlainText)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_Memory, rtf, TExportFormat::RichText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export_Memory, json, TExportFormat::Json)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
