// vornik-convert: lists to other formats and back, and what a list holds,
// from the command line (no display needed).
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/Convert.h"

namespace {

const char kUsage[] =
    "Usage: vornik-convert COMMAND [OPTIONS] FILE...\n"
    "\n"
    "Commands:\n"
    "  info FILE...                  describe lists: names, categories, records, header\n"
    "  export FILE... [-o OUT | --to DIR]\n"
    "                                write lists as CSV, TSV, text, RTF, XML or JSON\n"
    "  import INPUT -o LIST.pdb      make a new list from CSV, TSV, text, XML or JSON\n"
    "\n"
    "  vornik-convert COMMAND --help   the options of a command\n"
    "  vornik-convert --version        the version\n"
    "\n"
    "Exit status: 0 done; 1 a file could not be read, converted or written (the\n"
    "others were done); 2 the command line was wrong (nothing was done).\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (command == "--version") {
    std::printf("vornik-convert %s\n", VORNIK_VERSION_TEXT);
    return kExitOk;
  }
  struct TCommand {
    const char* name;
    int (*run)(const std::vector<std::string>&);
    const char* help;
  };
  static const TCommand kCommands[] = {{"info", RunInfo, kInfoHelp},
                                       {"export", RunExport, kExportHelp},
                                       {"import", RunImport, kImportHelp}};
  for (const TCommand& c : kCommands) {
    if (command != c.name) continue;
    for (const std::string& arg : args) {
      if (arg == "--") break;
      if (arg == "--help" || arg == "-h") {
        std::fputs(c.help, stdout);
        return kExitOk;
      }
    }
    try {
      return c.run(args);
    } catch (const EUsageError& error) {
      std::fprintf(stderr, "vornik-convert %s: %s\nTry 'vornik-convert %s --help'.\n", c.name,
                   error.what(), c.name);
      return kExitUsage;
    } catch (const std::exception& error) {
      std::fprintf(stderr, "vornik-convert %s: %s\n", c.name, error.what());
      return kExitFailed;
    }
  }
  std::fprintf(stderr, "vornik-convert: unknown command '%s'\n\n%s", command.c_str(), kUsage);
  return kExitUsage;
}
