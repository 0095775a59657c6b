// import: a new list file from comma or tab separated values, separated text,
// or the XML and JSON that export writes.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Convert.h"
#include "cli/ConvertNames.h"
#include "core/ListImport.h"

const char kImportHelp[] =
    "Usage: vornik-convert import [OPTIONS] INPUT -o LIST.pdb\n"
    "\n"
    "Makes a new list file from INPUT (- for standard input). What did not fit the\n"
    "list is reported on standard error. An existing LIST.pdb is never replaced\n"
    "unless --force is given; a failed import leaves no file behind.\n"
    "\n"
    "Options:\n"
    "  -f, --format FORMAT      guess (default), csv, tsv, text (separated text), xml\n"
    "                           or json\n"
    "  -e, --encoding NAME      guess (default), utf-8, utf-16le, utf-16be or\n"
    "                           windows-1252\n"
    "      --field-separator TEXT   separators of the text format, with the escapes\n"
    "      --record-separator TEXT  \\t \\n \\r \\\\ (default \\t and \\n)\n"
    "      --no-titles          the first row is a record, not column titles\n"
    "      --columns LIST       what each column becomes, separated by commas: field1,\n"
    "                           field2, notes, category or skip (default: guessed\n"
    "                           from the titles)\n"
    "      --skip-overlong      leave out rows with a value over its field's limit\n"
    "                           (default: cut the value)\n"
    "      --name NAME          the list's name\n"
    "  -o, --output FILE        the list file to make (required)\n"
    "      --force              replace FILE if it exists\n"
    "\n"
    "Exit status: 0 done; 1 the input could not be read or the list not written;\n"
    "2 the command line was wrong.\n";

namespace {

const TNamedValue<TImportFormat> kFormats[] = {
    {"guess", TImportFormat::Guess},      {"csv", TImportFormat::CommaSeparated},
    {"tsv", TImportFormat::TabSeparated}, {"text", TImportFormat::SeparatedText},
    {"xml", TImportFormat::Xml},          {"json", TImportFormat::Json}};

const TNamedValue<TTextEncoding> kEncodings[] = {
    {"guess", TTextEncoding::Guess},       {"utf-8", TTextEncoding::Utf8},
    {"utf8", TTextEncoding::Utf8},         {"utf-16le", TTextEncoding::Utf16LE},
    {"utf-16be", TTextEncoding::Utf16BE},  {"windows-1252", TTextEncoding::Windows1252},
    {"cp1252", TTextEncoding::Windows1252}};

const TNamedValue<TImportTarget> kTargets[] = {{"skip", TImportTarget::Skip},
                                               {"field1", TImportTarget::Field1},
                                               {"field2", TImportTarget::Field2},
                                               {"notes", TImportTarget::Notes},
                                               {"category", TImportTarget::Category}};

// The list's name from the output file's name, as the name entry admits it.
std::string NameFromPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  std::string bytes = Utf8ToWindows1252(name);
  if (bytes.size() > static_cast<size_t>(kMaxDatabaseName - 1)) bytes.resize(kMaxDatabaseName - 1);
  return Trim(bytes);
}

}  // namespace

int RunImport(const std::vector<std::string>& args) {
  const TCommandLine line(args, {{"format", 'f', true},
                                 {"encoding", 'e', true},
                                 {"field-separator", 0, true},
                                 {"record-separator", 0, true},
                                 {"no-titles", 0, false},
                                 {"columns", 0, true},
                                 {"skip-overlong", 0, false},
                                 {"name", 0, true},
                                 {"output", 'o', true},
                                 {"force", 0, false}});
  if (line.Arguments().empty()) throw EUsageError("no input file named");
  if (line.Arguments().size() > 1) throw EUsageError("import takes one input file");
  if (!line.Has("output") || line.Value("output").empty())
    throw EUsageError("no list file to make (-o LIST.pdb)");
  const std::string input = line.Arguments().front();
  const std::string output = line.Value("output");
  if (output == "-") throw EUsageError("a list file cannot go to standard output");

  TImportOptions options;
  options.Format = ValueNamed(kFormats, line.Value("format", "guess"), "format");
  options.Encoding = ValueNamed(kEncodings, line.Value("encoding", "guess"), "encoding");
  options.FieldSeparator = line.Value("field-separator", options.FieldSeparator);
  options.RecordSeparator = line.Value("record-separator", options.RecordSeparator);
  options.FirstRowTitles = !line.Has("no-titles");
  if (line.Has("columns")) {
    for (const std::string& name : SplitNames(line.Value("columns")))
      options.Columns.push_back(ValueNamed(kTargets, name, "column target"));
  }
  options.CutOverlong = !line.Has("skip-overlong");

  std::unique_ptr<TListDBData> list;
  TImportReport report;
  errno = 0;
  try {
    const std::unique_ptr<TStream> in = OpenInput(input);
    list = ImportList(*in, options, report);
    if (line.Has("name"))
      list->SetDatabaseName(Utf8ToWindows1252(line.Value("name")));
    else if (list->DatabaseName().empty())
      list->SetDatabaseName(NameFromPath(output));
    CompactCategories(*list);
  } catch (const std::exception& error) {
    ReportFileError(input, FailureCause(error, errno));
    return kExitFailed;
  }
  errno = 0;
  try {
    WriteOutputFile(output, input, line.Has("force"),
                    [&](TStream& out) { WriteListDB(*list, out); });
  } catch (const std::exception& error) {
    ReportFileError(output, FailureCause(error, errno));
    return kExitFailed;
  }
  for (const std::string& reportLine : report.Lines()) ReportFileError(input, reportLine);
  return kExitOk;
}
