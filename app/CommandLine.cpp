// The program's command line: vornik [FILE], --help, --version.
#include "app/CommandLine.h"

#include <QCoreApplication>
#include <cstdio>

#include "components/prgutil.h"

const char kProgramUsage[] =
    "Usage: vornik [FILE]\n"
    "       vornik --help | --version\n"
    "\n"
    "Starts the list editor and opens FILE, a list database (.pdb), when given.\n"
    "vornik-convert converts lists from the command line.\n";

TProgramArguments ParseProgramArguments(const QStringList& arguments) {
  TProgramArguments result;
  bool optionsEnded = false;
  int files = 0;
  for (const QString& argument : arguments) {
    if (!optionsEnded && argument == QLatin1String("--")) {
      optionsEnded = true;
    } else if (!optionsEnded &&
               (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
      result.help = true;
    } else if (!optionsEnded && argument == QLatin1String("--version")) {
      result.version = true;
    } else if (!optionsEnded && argument.startsWith(QLatin1Char('-'))) {
      result.wrong = true;
    } else if (files++ == 0) {
      result.file = argument;
    } else {
      result.wrong = true;
    }
  }
  return result;
}

std::optional<int> RunPrintingOptions(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const TProgramArguments parsed = ParseProgramArguments(arguments);
  if (parsed.help) {
    std::fputs(kProgramUsage, stdout);
    return 0;
  }
  if (parsed.version) {
    // The version is read from the program's own file, which a core
    // application (no display) can name.
    QCoreApplication core(argc, argv);
    std::printf("vornik %s\n", qPrintable(FormatProgramVersion()));
    return 0;
  }
  return std::nullopt;
}
