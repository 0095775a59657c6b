// The converter's commands (info, export, import) and what they share: the
// command line, messages, exit codes and the files they read and write.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Streams.h"
#include "core/listdb.h"

// Exit statuses, as the manual page lists them.
enum TExitCode : int {
  kExitOk = 0,
  kExitFailed = 1,  // a file could not be read, converted or written (the others were done)
  kExitUsage = 2    // the command line was wrong; nothing was done
};

// A wrong command line: the message goes to standard error with a hint to
// --help, and the converter exits with kExitUsage.
class EUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file the converter refuses before reading or writing it; the message is
// the whole cause.
class EFileProblem : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An option a command takes: its long name (without "--"), an optional short
// letter, and whether a value follows it.
struct TOptionSpec {
  const char* name;
  char letter;
  bool takesValue;
};

// A command line split into options and the remaining arguments. Options may
// stand anywhere (--name value, --name=value, -x value); "--" ends them; a
// lone "-" is an argument (standard input or output).
class TCommandLine {
 public:
  TCommandLine(const std::vector<std::string>& args, const std::vector<TOptionSpec>& specs);
  bool Has(const std::string& name) const { return values_.count(name) > 0; }
  // The option's value (the last one given), or fallback when it is absent.
  std::string Value(const std::string& name, const std::string& fallback = {}) const;
  const std::vector<std::string>& Arguments() const { return arguments_; }

 private:
  std::map<std::string, std::string> values_;
  std::vector<std::string> arguments_;
};

// Standard output as a stream the engines write to; it cannot seek back.
class TStdoutStream : public TStream {
 public:
  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  void Seek(uint64_t position) override;
  uint64_t Position() const override { return written_; }
  uint64_t Size() const override { return written_; }
  void Truncate() override;

 private:
  uint64_t written_ = 0;
};

// Text for a terminal: control characters (C0, DEL, C1) as \xHH escapes.
std::string PrintableText(std::string_view utf8);
// "vornik-convert: FILE: cause" on standard error (made printable).
void ReportFileError(const std::string& file, const std::string& cause);
// The cause of a failed file operation for a message: the exception's text,
// with the system's reason when it has one to add.
std::string FailureCause(const std::exception& error, int systemError);

// Refuses (EFileProblem with the cause) an input that is missing, a folder
// or unreadable, before anything is read.
void CheckInputFile(const std::string& path);
// Reads a whole list file, naming the cause when it cannot. "-" is standard
// input.
std::unique_ptr<TListDBData> ReadListFile(const std::string& path, TListFileFacts* facts = nullptr);
// The bytes of a file, or of standard input for "-".
std::unique_ptr<TStream> OpenInput(const std::string& path);

// A failure while reading an input after its output was begun: the message
// is the whole cause, to be reported against the input file.
class EInputFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A list file read a batch of records at a time, for commands that pass the
// records on: the names and categories come with opening (raising as
// ReadListFile does), then each NextRecords puts the next batch in the list
// in place of the last, so that a whole list is never held at once.
class TListInput {
 public:
  explicit TListInput(const std::string& path);
  ~TListInput();
  TListDBData& List() { return list_; }
  size_t RecordCount() const { return reader_->RecordCount(); }
  // The next batch; false when all were read. Raises EInputFailure.
  bool NextRecords();

 private:
  static constexpr size_t kBatch = 4096;
  std::unique_ptr<TStream> stream_;
  TListDBData list_;
  std::unique_ptr<TListFileReader> reader_;
};

// Writes an output file whole or not at all: written beside it and renamed
// over it, or when replace is false created only if no file of that name
// exists yet. Refuses a folder, and the file the input came from. "-" writes
// to standard output.
void WriteOutputFile(const std::string& path, const std::string& inputPath, bool replace,
                     const std::function<void(TStream&)>& writer);

// One output path per input for commands that take many files: DIR/NAME.SUFFIX.
std::string OutputPathIn(const std::string& folder, const std::string& input,
                         const std::string& suffix);

int RunInfo(const std::vector<std::string>& args);
int RunExport(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);

extern const char kInfoHelp[];
extern const char kExportHelp[];
extern const char kImportHelp[];
