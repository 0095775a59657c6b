// The converter run as a process: what it writes, its exit status and its
// messages for each kind of bad input, and round trips through the formats.
#include <filesystem>

#include "convert_test_util.h"
#include "core_test_util.h"

namespace {

const std::vector<TRecordValues> kRecords = {
    {"Smith, Anna", "\"quoted\" 555", "first line\r\nsecond; line", "Work"},
    {"Caf\xE9 \x80uro", "", "", "Unfiled"},
    {"Bob", "x", "note", "Home"},
};

class ConvertFilesTest : public ConvertTest {
 protected:
  void SetUp() override {
    ConvertTest::SetUp();
    MakeListFile(Path("books.pdb"), "Address book", "Name", "Phone", {"Work", "Home"}, kRecords);
  }
};

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(ConvertFilesTest, InfoDescribesTheList) {
  const TRunResult r = Run({"info", "books.pdb"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  for (const char* line :
       {"books.pdb\n", "  Name:          \"Address book\"\n",
        "  Field names:   \"Name\", \"Phone\"\n", "  Records:       3\n", "  Categories:    3\n",
        "    \"Unfiled\"            1\n", "    \"Work\"               1\n",
        "  Attributes:    0x0008 (backup)\n", "  Mended:        nothing\n"})
    EXPECT_TRUE(Contains(r.out, line)) << line << "\nin:\n" << r.out;
}

TEST_F(ConvertFilesTest, InfoTellsWhatTheReaderMended) {
  TRawListFile raw;
  raw.slotNames[2] = "Home\x1B[31m";  // a terminal escape in a name is shown, not sent
  raw.slotIds[2] = 2;
  raw.records.push_back({TRawListFile::Values(" padded", "b", "c"), 2});
  raw.records.push_back({TRawListFile::Values("a", "b", "c"), 5});
  const TBytes bytes = raw.Build();
  WriteWholeFile(Path("raw.pdb"), std::string(bytes.begin(), bytes.end()));
  const TRunResult r = Run({"info", "raw.pdb"});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* line :
       {"    1 empty category slot closed up\n",
        "    1 record filed under an empty category slot, now unfiled\n",
        "    1 record with leading or trailing blanks, removed\n", "\"Home\\x1B[31m\""})
    EXPECT_TRUE(Contains(r.out, line)) << line << "\nin:\n" << r.out;
  EXPECT_FALSE(Contains(r.out, "\x1B"));
}

// Every bad input gets a message naming the file and the cause, the exit
// status says so, the good files are still done and nothing partial is left.
TEST_F(ConvertFilesTest, BadInputsAreReportedAndTheOthersDone) {
  std::filesystem::create_directory(Path("folder"));
  WriteWholeFile(Path("notes.pdb"), std::string(100, 'x'));
  const std::string good = ReadWholeFile(Path("books.pdb"));
  WriteWholeFile(Path("short.pdb"), good.substr(0, 100));
  const std::vector<std::string> files = {"missing.pdb", "folder", "notes.pdb", "short.pdb",
                                          "books.pdb"};
  const std::vector<std::string> messages = {
      "vornik-convert: missing.pdb: cannot read it: No such file or directory\n",
      "vornik-convert: folder: cannot read it: it is a folder\n",
      "vornik-convert: notes.pdb: Invalid database type or creator ID: xxxx-xxxx\n",
      "vornik-convert: short.pdb: not a list file: it ends before the list it describes\n"};

  std::vector<std::string> info = {"info"};
  info.insert(info.end(), files.begin(), files.end());
  TRunResult r = Run(info);
  EXPECT_EQ(r.status, 1);
  for (const std::string& message : messages) EXPECT_TRUE(Contains(r.err, message)) << r.err;
  EXPECT_TRUE(Contains(r.out, "\"Address book\""));

  std::filesystem::create_directory(Path("out"));
  std::vector<std::string> exportAll = {"export", "--to", "out"};
  exportAll.insert(exportAll.end(), files.begin(), files.end());
  r = Run(exportAll);
  EXPECT_EQ(r.status, 1);
  for (const std::string& message : messages) EXPECT_TRUE(Contains(r.err, message)) << r.err;
  EXPECT_EQ(FolderEntries(Path("out")), std::vector<std::string>{"books.csv"});
}

TEST_F(ConvertFilesTest, CommandLineMistakesDoNothing) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"export", "--bogus", "books.pdb"},
       "vornik-convert export: unknown option --bogus\n"
       "Try 'vornik-convert export --help'.\n"},
      {{"export", "books.pdb", "books.pdb", "-o", "x.csv"}, "several lists need --to DIR"},
      {{"export", "-f", "doc", "books.pdb", "-o", "x.csv"}, "unknown format 'doc' (one of: csv,"},
      {{"export", "--fields", "field1,phone", "books.pdb"}, "unknown field 'phone'"},
      {{"export", "books.pdb", "-o"}, "option --output needs a value"},
      {{"import", "books.pdb"}, "no list file to make (-o LIST.pdb)"},
      {{"import", "a.csv", "b.csv", "-o", "x.pdb"}, "import takes one input file"},
      {{"info"}, "no list file named"},
      {{"convert", "books.pdb"}, "vornik-convert: unknown command 'convert'"},
      {{}, "Usage: vornik-convert COMMAND"},
  };
  for (const auto& c : cases) {
    const TRunResult r = Run(c.args);
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_TRUE(Contains(r.err, c.message)) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"books.pdb"});
}

TEST_F(ConvertTest, EveryCommandHasHelp) {
  for (const char* command : {"info", "export", "import"}) {
    const TRunResult r = Run({command, "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("Usage: vornik-convert ") + command, 0), 0u) << r.out;
  }
  TRunResult r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "Exit status: 0 done; 1"));
  r = Run({"--version"});
  EXPECT_EQ(r.out, std::string("vornik-convert ") + VORNIK_VERSION_TEXT + "\n");
}

}  // namespace

namespace {

// A list whose CSV is some 30 KB (records times 120 bytes).
void MakeBigList(const std::string& path, size_t records = 250) {
  MakeListFile(path, "Big", "A", "B", {},
               std::vector<TRecordValues>(records, {std::string(100, 'a'), "b", "c", "Unfiled"}));
}

TEST_F(ConvertFilesTest, FailedWritesLeaveNoPartialFile) {
  std::filesystem::create_directory(Path("folder"));
  MakeBigList(Path("big.pdb"));
  MakeBigList(Path("huge.pdb"), 4000);
  WriteWholeFile(Path("out.csv"), "old");
  const struct {
    std::vector<std::string> args;
    std::string shellPrefix, message;
  } cases[] = {
      {{"export", "books.pdb", "-o", "folder"}, "", "folder: cannot write it: it is a folder"},
      {{"export", "books.pdb", "-o", "none/x.csv"},
       "",
       "none/x.csv: Cannot create file: No such file or directory"},
      {{"export", "books.pdb", "-o", "books.pdb"},
       "",
       "books.pdb: cannot write it: it is the input file"},
      {{"export", "books.pdb", "--to", "none"}, "", "none: cannot write into it: no such folder"},
      {{"export", "books.pdb"},
       "exec >/dev/full",
       "(standard output): Stream write error: No space left on device"},
      // A disk that fills up: the file may grow by a few KB only.
      {{"export", "big.pdb", "-o", "out.csv"},
       "trap '' XFSZ; ulimit -f 8",
       "out.csv: Stream write error: File too large"},
      // The output goes out in pieces: the disk fills after the first ones.
      {{"export", "huge.pdb", "-o", "out.csv"},
       "trap '' XFSZ; ulimit -f 200",
       "out.csv: Stream write error: File too large"},
      {{"import", "big.csv", "-o", "big2.pdb"},
       "trap '' XFSZ; ulimit -f 8",
       "big2.pdb: Stream write error: File too large"},
  };
  // The big list's CSV, as the import's input, and input that is no text.
  ASSERT_EQ(Run({"export", "big.pdb", "-o", "big.csv", "--titles"}).status, 0);
  WriteWholeFile(Path("binary.csv"), std::string("a,b\0c\n", 6));
  const std::vector<std::string> before = FolderEntries(dir);
  const std::string list = ReadWholeFile(Path("books.pdb"));
  for (const auto& c : cases) {
    const TRunResult r = Run(c.args, {}, c.shellPrefix);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_EQ(r.err, "vornik-convert: " + c.message + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(FolderEntries(dir), before) << c.message;
  }
  EXPECT_EQ(ReadWholeFile(Path("out.csv")), "old");
  EXPECT_EQ(ReadWholeFile(Path("books.pdb")), list);
}

TEST_F(ConvertFilesTest, ExportChoosesRecordsFieldsAndSeparators) {
  TRunResult r = Run({"export", "-c", "work", "--fields", "field2, field1", "books.pdb"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "\xEF\xBB\xBF\"\"\"quoted\"\" 555\",\"Smith, Anna\"\r\n");
  r = Run({"export", "-f", "text", "--field-separator", " | ", "--record-separator", "\\n~\\n",
           "--fields", "category,field1", "--titles", "-c", "Unfiled", "books.pdb", "-o", "u.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadWholeFile(Path("u.txt")),
            "\xEF\xBB\xBF"
            "Category | Name\n~\nUnfiled | Caf\xC3\xA9 \xE2\x82\xACuro\n~\n");
  r = Run({"export", "-c", "Travel", "books.pdb"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornik-convert: books.pdb: the list has no category \"Travel\"\n");
}

// A list of many thousand records goes out whole and in order, its category
// taken from every part of it.
TEST_F(ConvertFilesTest, ExportOfALargeListKeepsEveryRecordInOrder) {
  std::vector<TRecordValues> records;
  std::string expected = "\xEF\xBB\xBF";
  for (int i = 0; i < 10000; ++i) {
    records.push_back(
        {"r" + std::to_string(i), "", i % 100 ? "" : "a\r\nb", i % 3 ? "Home" : "Work"});
    if (i % 3 == 0) expected += "r" + std::to_string(i) + "\r\n";
  }
  MakeListFile(Path("large.pdb"), "L", "A", "B", {"Work", "Home"}, records);
  const TRunResult r = Run({"export", "-c", "Work", "--fields", "field1", "large.pdb"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, expected);
}

// Many lists at once: one file each in the folder; two lists of the same name
// would give the same output, and the second is refused rather than
// overwriting the first.
TEST_F(ConvertFilesTest, ManyListsGoIntoAFolder) {
  std::filesystem::create_directories(Path("other"));
  std::filesystem::create_directories(Path("out"));
  MakeListFile(Path("b.pdb"), "B", "A", "B", {}, {{"one", "", "", "Unfiled"}});
  std::filesystem::copy_file(Path("b.pdb"), Path("other/b.pdb"));
  const TRunResult r =
      Run({"export", "-f", "json", "books.pdb", "b.pdb", "other/b.pdb", "--to", "out"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.err,
      "vornik-convert: out/b.json: another list of the same name was written to it already\n");
  EXPECT_EQ(FolderEntries(Path("out")), (std::vector<std::string>{"b.json", "books.json"}));
}

}  // namespace

namespace {

// list -> each format -> list gives the same records (and, where the format
// carries them, the same names).
TEST_F(ConvertFilesTest, RoundTripsThroughEveryFormatThatImports) {
  const struct {
    const char* format;
    std::vector<std::string> exportArgs, importArgs;
    bool keepsNames;
  } cases[] = {
      {"csv", {"--titles"}, {}, false},
      {"tsv", {"--titles"}, {}, false},
      {"text",
       {"--field-separator", ";;", "--record-separator", "#\\n", "--titles"},
       {"--field-separator", ";;", "--record-separator", "#\\n"},
       false},
      {"xml", {}, {}, true},
      {"json", {}, {}, true},
  };
  for (const auto& c : cases) {
    const std::string exported = std::string("books.") + c.format;
    std::vector<std::string> args = {"export", "-f", c.format, "books.pdb", "-o", exported};
    args.insert(args.end(), c.exportArgs.begin(), c.exportArgs.end());
    TRunResult r = Run(args);
    ASSERT_EQ(r.status, 0) << c.format << ": " << r.err;
    const std::string back = std::string("back-") + c.format + ".pdb";
    args = {"import", "-f", c.format, exported, "-o", back};
    args.insert(args.end(), c.importArgs.begin(), c.importArgs.end());
    r = Run(args);
    ASSERT_EQ(r.status, 0) << c.format << ": " << r.err;
    TListDBData names;
    EXPECT_EQ(ReadListRecords(Path(back), &names), kRecords) << c.format;
    EXPECT_EQ(names.CustomField1(), "Name") << c.format;
    EXPECT_EQ(names.CustomField2(), "Phone") << c.format;
    EXPECT_EQ(names.DatabaseName(), c.keepsNames ? "Address book" : "back-" + std::string(c.format))
        << c.format;
  }
  // The two formats that do not import back still hold the values.
  EXPECT_TRUE(
      Contains(Run({"export", "-f", "plain", "books.pdb"}).out, "Caf\xC3\xA9 \xE2\x82\xACuro"));
  EXPECT_TRUE(Contains(Run({"export", "-f", "rtf", "books.pdb"}).out, "Caf\\'e9 \\'80uro"));
}

// An existing list is replaced only when asked; standard input is an input.
TEST_F(ConvertFilesTest, ImportReplacesAListOnlyWithForce) {
  ASSERT_EQ(Run({"export", "books.pdb", "-o", "books.csv", "--titles"}).status, 0);
  MakeListFile(Path("old.pdb"), "Old", "A", "B", {}, {});
  const std::string old = ReadWholeFile(Path("old.pdb"));
  TRunResult r = Run({"import", "books.csv", "-o", "old.pdb"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornik-convert: old.pdb: the file exists already (--force replaces it)\n");
  EXPECT_EQ(ReadWholeFile(Path("old.pdb")), old);
  r = Run({"import", "-", "-o", "old.pdb", "--force", "--name", "From stdin"}, Path("books.csv"));
  EXPECT_EQ(r.status, 0) << r.err;
  TListDBData names;
  EXPECT_EQ(ReadListRecords(Path("old.pdb"), &names), kRecords);
  EXPECT_EQ(names.DatabaseName(), "From stdin");
}

// What did not fit goes to standard error; the list is still made.
TEST_F(ConvertTest, ImportReportsWhatDidNotFit) {
  WriteWholeFile(Path("long.csv"), "Name,Phone\n" + std::string(130, 'n') + ",1\nshort,2\n");
  const TRunResult r = Run({"import", "long.csv", "-o", "long.pdb"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "vornik-convert: long.csv: 2 records were imported.\n"
            "vornik-convert: long.csv: Values longer than their field allows, cut to the limit: 1 "
            "(row 2).\n");
  EXPECT_EQ(ReadListRecords(Path("long.pdb")).at(0).field1, std::string(112, 'n'));
}

}  // namespace
