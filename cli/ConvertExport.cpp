// export: lists to the export wizard's formats and JSON, one list to a file or
// standard output, many into a folder.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "cli/Convert.h"
#include "cli/ConvertNames.h"
#include "core/ListExport.h"
#include "core/Windows1252.h"

const char kExportHelp[] =
    "Usage: vornik-convert export [OPTIONS] FILE... [-o OUT | --to DIR]\n"
    "\n"
    "Writes each list file in another format. One list goes to standard output\n"
    "unless -o names a file; several need --to, which receives DIR/NAME.SUFFIX for\n"
    "each. An existing output file is replaced (written beside it, then renamed).\n"
    "\n"
    "Options:\n"
    "  -f, --format FORMAT      csv (default), tsv, text (separated text), plain,\n"
    "                           rtf, xml or json\n"
    "  -c, --category NAME      only the records of this category (Unfiled included)\n"
    "      --fields LIST        fields in order, separated by commas: field1, field2,\n"
    "                           notes, category (default: all four)\n"
    "      --field-separator TEXT   separators of the text format, with the escapes\n"
    "      --record-separator TEXT  \\t \\n \\r \\\\ (default \\t and \\n)\n"
    "      --titles             a first row of column titles (csv, tsv, text)\n"
    "  -o, --output FILE        the output of a single list; - is standard output\n"
    "      --to DIR             one output file per list in DIR\n"
    "\n"
    "Exit status: 0 done; 1 a list could not be read or written (the others were\n"
    "done); 2 the command line was wrong.\n";

namespace {

const TNamedValue<TExportFormat> kFormats[] = {
    {"csv", TExportFormat::CommaSeparated}, {"tsv", TExportFormat::TabSeparated},
    {"text", TExportFormat::SeparatedText}, {"plain", TExportFormat::PlainText},
    {"rtf", TExportFormat::RichText},       {"xml", TExportFormat::Xml},
    {"json", TExportFormat::Json}};

const TNamedValue<TExportField> kFields[] = {{"field1", TExportField::Field1},
                                             {"field2", TExportField::Field2},
                                             {"notes", TExportField::Notes},
                                             {"category", TExportField::CategoryName}};

// The id of the category the user named (UTF-8): its exact name first, else
// the one name that matches ignoring case.
int CategoryNamed(const TListDBData& list, const std::string& name) {
  const TListDBCategories& categories = list.Categories();
  for (int i = 0; i < categories.Count(); ++i) {
    if (Windows1252ToUtf8(categories.NameAt(i)) == name) return categories.IDAt(i);
  }
  for (int i = 0; i < categories.Count(); ++i) {
    std::string folded = Windows1252ToUtf8(categories.NameAt(i));
    if (folded.size() == name.size() &&
        std::equal(folded.begin(), folded.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        }))
      return categories.IDAt(i);
  }
  throw EListDBError("the list has no category \"" + name + "\"");
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int RunExport(const std::vector<std::string>& args) {
  const TCommandLine line(args, {{"format", 'f', true},
                                 {"category", 'c', true},
                                 {"fields", 0, true},
                                 {"field-separator", 0, true},
                                 {"record-separator", 0, true},
                                 {"titles", 0, false},
                                 {"output", 'o', true},
                                 {"to", 0, true}});
  const std::vector<std::string>& files = line.Arguments();
  if (files.empty()) throw EUsageError("no list file named");
  if (line.Has("output") && line.Has("to"))
    throw EUsageError("--output and --to cannot be used together");
  if (files.size() > 1 && !line.Has("to"))
    throw EUsageError("several lists need --to DIR for their outputs");

  TExportOptions options;
  options.Format = ValueNamed(kFormats, line.Value("format", "csv"), "format");
  if (line.Has("fields")) {
    for (const std::string& name : SplitNames(line.Value("fields")))
      options.Fields.push_back(ValueNamed(kFields, name, "field"));
    if (options.Fields.empty()) throw EUsageError("--fields names no field");
  } else {
    options.Fields = {TExportField::Field1, TExportField::Field2, TExportField::Notes,
                      TExportField::CategoryName};
  }
  options.FieldSeparator = line.Value("field-separator", options.FieldSeparator);
  options.RecordSeparator = line.Value("record-separator", options.RecordSeparator);
  options.ColumnTitles = line.Has("titles");

  const std::string folder = line.Value("to");
  if (line.Has("to") && !IsFolder(folder)) {
    ReportFileError(folder,
                    std::string("cannot write into it: ") +
                        (errno == ENOENT || errno == 0 ? "no such folder" : std::strerror(errno)));
    return kExitFailed;
  }

  int status = kExitOk;
  std::set<std::string> written;
  for (const std::string& file : files) {
    // The records go from the list file to the output a batch at a time.
    std::unique_ptr<TListInput> input;
    std::optional<int> category;
    errno = 0;
    try {
      input = std::make_unique<TListInput>(file);
      if (line.Has("category")) category = CategoryNamed(input->List(), line.Value("category"));
    } catch (const std::exception& error) {
      ReportFileError(file, FailureCause(error, errno));
      status = kExitFailed;
      continue;
    }
    const std::string output = line.Has("to")
                                   ? OutputPathIn(folder, file, ExportFileSuffix(options.Format))
                                   : line.Value("output", "-");
    errno = 0;
    try {
      if (output != "-" && !written.insert(output).second)
        throw EFileProblem("another list of the same name was written to it already");
      WriteOutputFile(output, file, true, [&](TStream& out) {
        TRecordExport run(input->List(), options, out, input->RecordCount());
        while (input->NextRecords()) run.Write(RecordsToExport(input->List(), category));
        run.Finish();
      });
    } catch (const EInputFailure& error) {
      ReportFileError(file, error.what());
      status = kExitFailed;
    } catch (const std::exception& error) {
      ReportFileError(output == "-" ? "(standard output)" : output, FailureCause(error, errno));
      status = kExitFailed;
    }
  }
  return status;
}
