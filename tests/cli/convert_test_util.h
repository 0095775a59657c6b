// Running the converter as a process, and list files made with the core.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/listdb.h"

struct TRunResult {
  int status = -1;  // the exit status; -1 when the process did not exit normally
  std::string out, err;
};

// Runs vornik-convert with the arguments in folder; stdinPath (when given)
// feeds its standard input, and shellPrefix (when given) runs it through
// sh -c "PREFIX; exec vornik-convert ARGS" (limits, redirections).
TRunResult RunConvert(const std::string& folder, const std::vector<std::string>& args,
                      const std::string& stdinPath = {}, const std::string& shellPrefix = {});

struct TRecordValues {
  std::string field1, field2, notes, category;
  bool operator==(const TRecordValues&) const = default;
};
void PrintTo(const TRecordValues& r, std::ostream* os);

// A list file written by the core: categories after "Unfiled" in order.
void MakeListFile(const std::string& path, const std::string& name, const std::string& field1,
                  const std::string& field2, const std::vector<std::string>& categories,
                  const std::vector<TRecordValues>& records);
// The records of a list file as the window shows them ("Unfiled" for none).
std::vector<TRecordValues> ReadListRecords(const std::string& path, TListDBData* names = nullptr);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

// A fresh temporary folder per test, removed afterwards.
class ConvertTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  TRunResult Run(const std::vector<std::string>& args, const std::string& stdinPath = {},
                 const std::string& shellPrefix = {}) const {
    return RunConvert(dir, args, stdinPath, shellPrefix);
  }
  std::string dir;
};
