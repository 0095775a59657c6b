#include "convert_test_util.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

TRunResult RunConvert(const std::string& folder, const std::vector<std::string>& args,
                      const std::string& stdinPath, const std::string& shellPrefix) {
  const std::string outPath = folder + "/.stdout", errPath = folder + "/.stderr";
  std::vector<std::string> argv;
  if (shellPrefix.empty()) {
    argv.push_back(VORNIK_CONVERT_FILE);
    argv.insert(argv.end(), args.begin(), args.end());
  } else {
    argv = {"/bin/sh", "-c", shellPrefix + "; exec \"$0\" \"$@\"", VORNIK_CONVERT_FILE};
    argv.insert(argv.end(), args.begin(), args.end());
  }
  std::vector<char*> raw;
  for (std::string& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, stdinPath.empty() ? "/dev/null" : stdinPath.c_str(),
                                   O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  // The converter runs in the test's folder, so relative names resolve there.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ);
  std::filesystem::current_path(before);
  posix_spawn_file_actions_destroy(&actions);
  TRunResult result;
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << raw[0];
    return result;
  }
  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return result;
}

void MakeListFile(const std::string& path, const std::string& name, const std::string& field1,
                  const std::string& field2, const std::vector<std::string>& categories,
                  const std::vector<TRecordValues>& records) {
  TListDBData list;
  list.SetNames(name, field1, field2);
  for (const std::string& category : categories) list.Categories().Add(category);
  for (const TRecordValues& values : records) {
    TListRecord* record = list.AddRecord();
    record->Assign(values.field1, values.field2, values.notes,
                   list.Categories().IDOfName(values.category));
  }
  TFileStream stream(path, TFileStream::Mode::Create);
  WriteListDB(list, stream);
}

std::vector<TRecordValues> ReadListRecords(const std::string& path, TListDBData* names) {
  TListDBData list;
  TFileStream stream(path, TFileStream::Mode::OpenRead);
  ReadListDB(list, stream);
  if (names)
    names->StoreNamesUnchecked(list.DatabaseName(), list.CustomField1(), list.CustomField2());
  std::vector<TRecordValues> records;
  for (int i = 0; i < list.RecordCount(); ++i) {
    const TListRecord* r = list.GetRecord(i);
    records.push_back({std::string(r->Field1()), std::string(r->Field2()), std::string(r->Notes()),
                       r->CategoryName()});
  }
  return records;
}

void PrintTo(const TRecordValues& r, std::ostream* os) {
  *os << '{' << ::testing::PrintToString(r.field1) << ", " << ::testing::PrintToString(r.field2)
      << ", " << ::testing::PrintToString(r.notes) << ", " << ::testing::PrintToString(r.category)
      << '}';
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void ConvertTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vornik-convert-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  dir = pattern;
}

void ConvertTest::TearDown() { std::filesystem::remove_all(dir); }
