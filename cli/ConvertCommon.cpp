// What the converter's commands share: the command line, messages, and the
// files they read and write.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/Convert.h"
#include "cli/ConvertNames.h"

TCommandLine::TCommandLine(const std::vector<std::string>& args,
                           const std::vector<TOptionSpec>& specs) {
  auto find = [&](const std::string& name, char letter) -> const TOptionSpec* {
    for (const TOptionSpec& option : specs) {
      if (letter ? option.letter == letter : name == option.name) return &option;
    }
    return nullptr;
  };
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      arguments_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const bool isLong = arg.compare(0, 2, "--") == 0;
    std::string name = isLong ? arg.substr(2) : std::string();
    std::optional<std::string> value;
    if (isLong) {
      const size_t equals = name.find('=');
      if (equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
      }
    } else if (arg.size() > 2) {
      value = arg.substr(2);  // -oFILE
    }
    const TOptionSpec* option = isLong ? find(name, 0) : find({}, arg[1]);
    if (!option) throw EUsageError("unknown option " + (isLong ? "--" + name : arg.substr(0, 2)));
    const std::string shown = std::string("--") + option->name;
    if (!option->takesValue) {
      if (value) throw EUsageError("option " + shown + " takes no value");
      values_[option->name] = "";
      continue;
    }
    if (!value) {
      if (i + 1 >= args.size()) throw EUsageError("option " + shown + " needs a value");
      value = args[++i];
    }
    values_[option->name] = *value;
  }
}

std::string TCommandLine::Value(const std::string& name, const std::string& fallback) const {
  const auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

size_t TStdoutStream::Read(void*, size_t) { throw EStreamError("Stream read error"); }

void TStdoutStream::Write(const void* buffer, size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(STDOUT_FILENO, bytes + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) throw EStreamError("Stream write error");
    done += static_cast<size_t>(put);
  }
  written_ += count;
}

void TStdoutStream::Seek(uint64_t position) {
  if (position != written_) throw EStreamError("Stream write error");
}

void TStdoutStream::Truncate() {}

std::string PrintableText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    // C1 controls are C2 80..C2 9F in UTF-8.
    const bool c1 = c == 0xC2 && i + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    if (c < 0x20 || c == 0x7F || c1) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X",
                    c1 ? static_cast<unsigned char>(utf8[++i]) : c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void ReportFileError(const std::string& file, const std::string& cause) {
  std::fprintf(stderr, "vornik-convert: %s: %s\n",
               PrintableText(file == "-" ? "(standard input)" : file).c_str(),
               PrintableText(cause).c_str());
}

std::string FailureCause(const std::exception& error, int systemError) {
  std::string cause = error.what();
  // The streams name the path, which the message already starts with.
  for (const char* lead : {"Cannot open file ", "Cannot create file "}) {
    if (cause.compare(0, std::strlen(lead), lead) == 0) cause.resize(std::strlen(lead) - 1);
  }
  if (systemError != 0 && dynamic_cast<const EStreamError*>(&error))
    cause += std::string(": ") + std::strerror(systemError);
  return cause;
}

namespace {

// The file's identity, when it exists.
std::optional<std::pair<dev_t, ino_t>> FileIdentity(const std::string& path) {
  struct stat info {};
  if (path == "-" || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return std::make_pair(info.st_dev, info.st_ino);
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// All of standard input.
std::vector<uint8_t> ReadStandardInput() {
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw EStreamError("Stream read error");
    if (got == 0) return bytes;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
}

}  // namespace

void CheckInputFile(const std::string& path) {
  if (path == "-") return;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    throw EFileProblem(std::string("cannot read it: ") + std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw EFileProblem("cannot read it: it is a folder");
  if (!S_ISREG(info.st_mode)) throw EFileProblem("cannot read it: it is not a regular file");
  if (::access(path.c_str(), R_OK) != 0)
    throw EFileProblem(std::string("cannot read it: ") + std::strerror(errno));
}

std::unique_ptr<TStream> OpenInput(const std::string& path) {
  CheckInputFile(path);
  if (path == "-") return std::make_unique<TMemoryStream>(ReadStandardInput());
  return std::make_unique<TFileStream>(path, TFileStream::Mode::OpenRead);
}

std::unique_ptr<TListDBData> ReadListFile(const std::string& path, TListFileFacts* facts) {
  const std::unique_ptr<TStream> stream = OpenInput(path);
  auto document = std::make_unique<TListDBData>();
  try {
    if (facts)
      ReadListDB(*document, *stream, *facts);
    else
      ReadListDB(*document, *stream);
  } catch (const EStreamError&) {
    // The reader asked for more than the file holds.
    throw EListDBError("not a list file: it ends before the list it describes");
  }
  document->FileName = path;
  CompactCategories(*document);
  return document;
}

TListInput::TListInput(const std::string& path) : stream_(OpenInput(path)) {
  try {
    reader_ = std::make_unique<TListFileReader>(list_, *stream_);
  } catch (const EStreamError&) {
    throw EListDBError("not a list file: it ends before the list it describes");
  }
  list_.FileName = path;
}

TListInput::~TListInput() = default;

bool TListInput::NextRecords() {
  list_.ClearRecords();
  errno = 0;
  try {
    return reader_->ReadRecords(kBatch);
  } catch (const std::exception& error) {
    throw EInputFailure(FailureCause(error, errno));
  }
}

void WriteOutputFile(const std::string& path, const std::string& inputPath, bool replace,
                     const std::function<void(TStream&)>& writer) {
  // The writers check what they write before the first byte, and the output
  // goes straight to its place: a file is written beside its name and renamed,
  // or removed again when it cannot be written whole.
  if (path == "-") {
    TStdoutStream out;
    writer(out);
    return;
  }
  if (IsFolder(path)) throw EFileProblem("cannot write it: it is a folder");
  const auto output = FileIdentity(path);
  if (output && output == FileIdentity(inputPath))
    throw EFileProblem("cannot write it: it is the input file");
  if (replace) {
    SafeReplaceFile(path, writer);
    return;
  }
  if (output) throw EFileProblem("the file exists already (--force replaces it)");
  // Created only if no file has the name, and removed again when it cannot be
  // written whole.
  std::unique_ptr<TFileStream> stream;
  try {
    stream = std::make_unique<TFileStream>(path, TFileStream::Mode::CreateNew);
  } catch (const EStreamError&) {
    if (errno == EEXIST) throw EFileProblem("the file exists already (--force replaces it)");
    throw;
  }
  try {
    writer(*stream);
    stream->Sync();
    stream->Close();
  } catch (...) {
    const int error = errno;
    stream.reset();
    ::unlink(path.c_str());
    errno = error;
    throw;
  }
}

std::string OutputPathIn(const std::string& folder, const std::string& input,
                         const std::string& suffix) {
  const size_t slash = input.rfind('/');
  std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + name + "." + suffix;
}

std::vector<std::string> SplitNames(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string name = Trim(list.substr(start, comma - start));
    if (!name.empty()) names.push_back(name);
    start = comma + 1;
  }
  return names;
}
