// The program's command line: vornik [FILE], --help, --version.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the arguments (without the program's name) ask for.
struct TProgramArguments {
  QString file;          // the list to open; empty for none
  bool help = false;     // print the usage text and exit
  bool version = false;  // print the version and exit
  bool wrong = false;    // an unknown option or more than one file: the usage text goes to stderr
};

TProgramArguments ParseProgramArguments(const QStringList& arguments);

extern const char kProgramUsage[];

// --help and --version: prints and gives the exit status, before any window
// exists (they need no display). Nothing for other command lines.
std::optional<int> RunPrintingOptions(int argc, char** argv);
