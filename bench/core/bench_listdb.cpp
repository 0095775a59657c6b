// Reader and writer of the list file on a full list (65,535 records, all 16
// categories), beside the floor: reading the same file's bytes into memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "bench/SampleList.h"
#include "core/Streams.h"
#include "core/listdb.h"

namespace {

TListDBData* MakeFullList() {
  static TListDBData* doc = bench::MakeSampleList().release();
  return doc;
}

const std::vector<uint8_t>& FullListBytes() {
  static const std::vector<uint8_t> bytes = [] {
    TMemoryStream stream;
    WriteListDB(*MakeFullList(), stream);
    return stream.Bytes();
  }();
  return bytes;
}

const std::string& FullListPath() {
  static const std::string path = [] {
    std::string p = "/tmp/vornik-bench-" + std::to_string(::getpid()) + ".pdb";
    TFileStream out(p, TFileStream::Mode::Create);
    out.Write(FullListBytes().data(), FullListBytes().size());
    return p;
  }();
  return path;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(FullListBytes().size()));
}

void BM_BaselineReadFileBytes(benchmark::State& state) {
  const std::string& path = FullListPath();
  for (auto _ : state) {
    TFileStream in(path, TFileStream::Mode::OpenRead);
    std::vector<uint8_t> bytes(static_cast<size_t>(in.Size()));
    in.ReadBuffer(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(bytes.data());
  }
  SetBytes(state);
}

void BM_ReadListDB_File(benchmark::State& state) {
  const std::string& path = FullListPath();
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
  SetBytes(state);
}

void BM_ReadListDB_Memory(benchmark::State& state) {
  TMemoryStream in(FullListBytes());
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
  SetBytes(state);
}

// The model's own floor for the reader: the same 65,535 records built by copying
// their values from a list in memory, without any file format.
void BM_ModelFloor_CopyRecords(benchmark::State& state) {
  const TListDBData& source = *MakeFullList();
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<TListDBData>();
    state.ResumeTiming();
    doc->ReserveRecords(source.RecordCount());
    for (int i = 0; i < source.RecordCount(); ++i) {
      const TListRecord* from = source.GetRecord(i);
      TListRecord* to = doc->AddRecord();
      to->StoreField1Unchecked(from->Field1());
      to->StoreField2Unchecked(from->Field2());
      to->SetNotes(from->Notes());
    }
    benchmark::DoNotOptimize(doc->RecordCount());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  SetBytes(state);
}

void BM_WriteListDB_Memory(benchmark::State& state) {
  const TListDBData& doc = *MakeFullList();
  TMemoryStream out;
  for (auto _ : state) {
    WriteListDB(doc, out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  SetBytes(state);
}

void BM_WriteListDB_File(benchmark::State& state) {
  const TListDBData& doc = *MakeFullList();
  const std::string path = FullListPath() + ".out";
  for (auto _ : state) {
    TFileStream out(path, TFileStream::Mode::Create);
    WriteListDB(doc, out);
  }
  std::remove(path.c_str());
  SetBytes(state);
}

// With the flush to the disk, as the main window saves; depends on the disk.
void BM_SafeReplace_WriteListDB(benchmark::State& state) {
  const TListDBData& doc = *MakeFullList();
  const std::string path = FullListPath() + ".safe";
  for (auto _ : state) SafeReplaceFile(path, [&](TStream& s) { WriteListDB(doc, s); });
  std::remove(path.c_str());
  SetBytes(state);
}

BENCHMARK(BM_BaselineReadFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadListDB_File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadListDB_Memory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelFloor_CopyRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteListDB_Memory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteListDB_File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SafeReplace_WriteListDB)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("list file: %zu records, %zu bytes\n", static_cast<size_t>(kMaxFileRecords),
              FullListBytes().size());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(FullListPath().c_str());
  return 0;
}
