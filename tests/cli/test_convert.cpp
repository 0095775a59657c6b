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
