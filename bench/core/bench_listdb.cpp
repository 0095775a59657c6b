// Reader and writer of the list file on two full lists (65,535 records, all 16
// categories): the realistic one (distinct names, values of every length) and
// the old repetitive one, each beside the floor of reading the same file's
// bytes into memory. Also closing a list and compacting its category table.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/HeapInUse.h"
#include "bench/SampleList.h"
#include "core/Streams.h"
#include "core/listdb.h"

namespace {

enum class Kind { Realistic, Old };

// One sample list: the document, its file's bytes and the file on disk.
struct Sample {
  std::unique_ptr<TListDBData> doc;
  std::vector<uint8_t> bytes;
  std::string path;
};

Sample MakeSample(Kind kind) {
  Sample s;
  s.doc = kind == Kind::Realistic ? bench::MakeRealisticList() : bench::MakeSampleList();
  TMemoryStream stream;
  WriteListDB(*s.doc, stream);
  s.bytes = stream.Bytes();
  s.path = "/tmp/vornik-bench-" + std::to_string(::getpid()) +
           (kind == Kind::Realistic ? "-realistic" : "-old") + ".pdb";
  TFileStream out(s.path, TFileStream::Mode::Create);
  out.Write(s.bytes.data(), s.bytes.size());
  return s;
}

Sample& Get(Kind kind) {
  static Sample realistic = MakeSample(Kind::Realistic);
  static Sample old = MakeSample(Kind::Old);
  return kind == Kind::Realistic ? realistic : old;
}

void SetBytes(benchmark::State& state, Kind kind) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Get(kind).bytes.size()));
}

using bench::HeapInUse;

std::unique_ptr<TListDBData> ReadSample(Kind kind) {
  auto doc = std::make_unique<TListDBData>();
  TMemoryStream in(Get(kind).bytes);
  ReadListDB(*doc, in);
  return doc;
}

void BM_BaselineReadFileBytes(benchmark::State& state, Kind kind) {
  const std::string& path = Get(kind).path;
  for (auto _ : state) {
    TFileStream in(path, TFileStream::Mode::OpenRead);
    std::vector<uint8_t> bytes(static_cast<size_t>(in.Size()));
    in.ReadBuffer(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(bytes.data());
  }
  SetBytes(state, kind);
}

void BM_ReadListDB_File(benchmark::State& state, Kind kind) {
  const std::string& path = Get(kind).path;
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<TListDBData>();
    state.ResumeTiming();
    TFileStream in(path, TFileStream::Mode::OpenRead);
    ReadListDB(*doc, in);
    benchmark::DoNotOptimize(doc->RecordCount());
    state.PauseTiming();
    doc.reset();  // closing the list is not part of reading it
    state.ResumeTiming();
  }
  SetBytes(state, kind);
  // The heap a read document holds, against the size of its file.
  const size_t before = HeapInUse();
  auto doc = ReadSample(kind);
  const size_t after = HeapInUse();
  state.counters["heap_bytes"] = static_cast<double>(after - before);
  state.counters["file_bytes"] = static_cast<double>(Get(kind).bytes.size());
  state.counters["heap_per_file"] =
      static_cast<double>(after - before) / static_cast<double>(Get(kind).bytes.size());
}

void BM_ReadListDB_Memory(benchmark::State& state, Kind kind) {
  TMemoryStream in(Get(kind).bytes);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<TListDBData>();
    state.ResumeTiming();
    ReadListDB(*doc, in);
    benchmark::DoNotOptimize(doc->RecordCount());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  SetBytes(state, kind);
}

// Reading again into a document that holds the list: the old records go first.
void BM_ReadListDB_Reread(benchmark::State& state, Kind kind) {
  TMemoryStream in(Get(kind).bytes);
  auto doc = ReadSample(kind);
  for (auto _ : state) {
    ReadListDB(*doc, in);
    benchmark::DoNotOptimize(doc->RecordCount());
  }
  SetBytes(state, kind);
}

// The model's own floor for the reader: the same records built by copying
// their values from a list in memory, without any file format.
void BM_ModelFloor_CopyRecords(benchmark::State& state, Kind kind) {
  const TListDBData& source = *Get(kind).doc;
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<TListDBData>();
    state.ResumeTiming();
    doc->ReserveRecords(source.RecordCount());
    for (int i = 0; i < source.RecordCount(); ++i) {
      const TListRecord* from = source.GetRecord(i);
      TListRecord* to = doc->AddRecord();
      to->StoreField1Unchecked(std::string(from->Field1()));
      to->StoreField2Unchecked(std::string(from->Field2()));
      to->SetNotes(std::string(from->Notes()));
    }
    benchmark::DoNotOptimize(doc->RecordCount());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  SetBytes(state, kind);
}

// Closing a read list: destroying the document.
void BM_Free(benchmark::State& state, Kind kind) {
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = ReadSample(kind);
    state.ResumeTiming();
    doc.reset();
  }
}

// Emptying a read list in place (a new list in the same window).
void BM_ClearRecords(benchmark::State& state, Kind kind) {
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = ReadSample(kind);
    state.ResumeTiming();
    doc->ClearRecords();
    benchmark::DoNotOptimize(doc->RecordCount());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}

void BM_WriteListDB_Memory(benchmark::State& state, Kind kind) {
  const TListDBData& doc = *Get(kind).doc;
  TMemoryStream out;
  for (auto _ : state) {
    WriteListDB(doc, out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  SetBytes(state, kind);
}

void BM_WriteListDB_File(benchmark::State& state, Kind kind) {
  const TListDBData& doc = *Get(kind).doc;
  const std::string path = Get(kind).path + ".out";
  for (auto _ : state) {
    TFileStream out(path, TFileStream::Mode::Create);
    WriteListDB(doc, out);
  }
  std::remove(path.c_str());
  SetBytes(state, kind);
}

// With the flush to the disk, as the main window saves; depends on the disk.
void BM_SafeReplace_WriteListDB(benchmark::State& state, Kind kind) {
  const TListDBData& doc = *Get(kind).doc;
  const std::string path = Get(kind).path + ".safe";
  for (auto _ : state) SafeReplaceFile(path, [&](TStream& s) { WriteListDB(doc, s); });
  std::remove(path.c_str());
  SetBytes(state, kind);
}

// Compact on a read list whose ids already equal their positions.
void BM_Compact_AlreadyCompact(benchmark::State& state) {
  auto doc = ReadSample(Kind::Realistic);
  for (auto _ : state) CompactCategories(*doc);
}

// Compact on a read list whose ids are all out of place: every entry but
// "Unfiled" gets id 100 + position again before each run.
void BM_Compact_Renumber(benchmark::State& state) {
  auto doc = ReadSample(Kind::Realistic);
  TListDBCategories& categories = doc->Categories();
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = categories.Count() - 1; i > 0; --i) categories.ChangeID(i, 100 + i);
    state.ResumeTiming();
    CompactCategories(*doc);
  }
}

BENCHMARK_CAPTURE(BM_BaselineReadFileBytes, realistic, Kind::Realistic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadListDB_File, realistic, Kind::Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadListDB_Memory, realistic, Kind::Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadListDB_Reread, realistic, Kind::Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ModelFloor_CopyRecords, realistic, Kind::Realistic)
    ->Unit(benchmark::kMillisecond);
// A fixed count: each run reads the list first, untimed, however short the timed part.
BENCHMARK_CAPTURE(BM_Free, realistic, Kind::Realistic)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
BENCHMARK_CAPTURE(BM_ClearRecords, realistic, Kind::Realistic)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
BENCHMARK_CAPTURE(BM_WriteListDB_Memory, realistic, Kind::Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteListDB_File, realistic, Kind::Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SafeReplace_WriteListDB, realistic, Kind::Realistic)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK_CAPTURE(BM_BaselineReadFileBytes, old, Kind::Old)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadListDB_File, old, Kind::Old)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadListDB_Memory, old, Kind::Old)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ModelFloor_CopyRecords, old, Kind::Old)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Free, old, Kind::Old)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK_CAPTURE(BM_WriteListDB_Memory, old, Kind::Old)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteListDB_File, old, Kind::Old)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_Compact_AlreadyCompact)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compact_Renumber)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (Kind kind : {Kind::Realistic, Kind::Old})
    std::printf("%s list file: %d records, %zu bytes\n",
                kind == Kind::Realistic ? "realistic" : "old", Get(kind).doc->RecordCount(),
                Get(kind).bytes.size());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (Kind kind : {Kind::Realistic, Kind::Old}) std::remove(Get(kind).path.c_str());
  return 0;
}
