// The converter as a whole process: the realistic full list (65,535 records)
// exported to CSV, beside cat of the same file, the floor of starting a
// process that reads the file and writes it out. The ratio is reported as
// times_cat on the converter's line.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/SampleList.h"
#include "core/Streams.h"
#include "core/listdb.h"

extern char** environ;

namespace {

const std::string& SampleFile() {
  static const std::string path = [] {
    std::string p = "/tmp/vornik-bench-convert-" + std::to_string(::getpid()) + ".pdb";
    const auto list = bench::MakeRealisticList();
    TFileStream stream(p, TFileStream::Mode::Create);
    WriteListDB(*list, stream);
    return p;
  }();
  return path;
}

// Runs the program with its output to outPath; the seconds it took.
double RunProcess(std::vector<std::string> argv, const std::string& outPath) {
  std::vector<char*> raw;
  for (std::string& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  int status = -1;
  if (posix_spawnp(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0)
    ::waitpid(pid, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (status != 0) std::fprintf(stderr, "%s failed\n", raw[0]);
  return std::chrono::duration<double>(end - start).count();
}

double catSeconds = 0;

void BM_Cat(benchmark::State& state) {
  const std::string out = SampleFile() + ".cat";
  double total = 0;
  for (auto _ : state) {
    const double s = RunProcess({"cat", SampleFile()}, out);
    state.SetIterationTime(s);
    total += s;
  }
  catSeconds = total / static_cast<double>(state.iterations());
  std::remove(out.c_str());
}
BENCHMARK(BM_Cat)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ConvertToCsv(benchmark::State& state) {
  const std::string out = SampleFile() + ".csv";
  double total = 0;
  for (auto _ : state) {
    const double s = RunProcess({VORNIK_CONVERT_FILE, "export", SampleFile()}, out);
    state.SetIterationTime(s);
    total += s;
  }
  if (catSeconds > 0)
    state.counters["times_cat"] = total / static_cast<double>(state.iterations()) / catSeconds;
  std::remove(out.c_str());
}
BENCHMARK(BM_ConvertToCsv)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(SampleFile().c_str());
  return 0;
}
