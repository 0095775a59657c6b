// The entry of the benchmarks that use widgets: an application on the
// offscreen platform with a real locale (sorting and dates follow the user's,
// and "C" would measure neither), then the benchmarks given on the command line.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <functional>

namespace bench {

// done runs after the benchmarks, while the application still exists.
inline int RunGuiBenchmarks(int argc, char** argv, const std::function<void()>& done = {}) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (QLocale().language() == QLocale::C)
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (done) done();
  return 0;
}

}  // namespace bench
