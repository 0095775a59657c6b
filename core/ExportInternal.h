// What the export's format writers share: the buffered output with its
// progress and cancel, and the writer of each format family.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/ListExport.h"

namespace export_internal {

// Collects the text in a buffer and hands it to the stream in large pieces;
// reports progress per record and raises EExportCancelled when asked to stop.
// A writer either appends, or asks for room, writes into it and commits the
// end of what it wrote.
class TExportSink {
 public:
  TExportSink(TStream& out, size_t total, const std::function<bool(size_t, size_t)>& progress);
  // Where to write at least size more bytes; valid until the next call.
  char* Room(size_t size) {
    if (capacity_ - used_ < size) MakeRoom(size);
    return buffer_.get() + used_;
  }
  // The bytes up to end, written at Room, belong to the text.
  void Commit(const char* end) { used_ = static_cast<size_t>(end - buffer_.get()); }
  void Append(std::string_view text) {
    char* to = Room(text.size());
    std::memcpy(to, text.data(), text.size());
    used_ += text.size();
  }
  // The UTF-8 byte order mark, when the options ask for it.
  void ByteOrderMark(const TExportOptions& options);
  void RecordDone();
  // Writes what is left and reports the end.
  void Finish();

 private:
  void Flush();
  void MakeRoom(size_t size);

  TStream& out_;
  size_t total_, done_ = 0;
  const std::function<bool(size_t, size_t)>& progress_;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_, used_ = 0;
};

// Copies text to to and returns its end.
inline char* PutText(char* to, std::string_view text) {
  std::memcpy(to, text.data(), text.size());
  return to + text.size();
}

// A text the export writes again and again (a tag, a separator): a short one
// is copied in one move of a fixed size, and so may write past its end.
class TPiece {
 public:
  static constexpr size_t kShort = 32;
  explicit TPiece(std::string text) : text_(std::move(text)) {
    std::memcpy(short_, text_.data(), std::min(text_.size(), kShort));
  }
  // The room Put needs.
  size_t Room() const { return std::max(text_.size(), kShort); }
  char* Put(char* to) const {
    if (text_.size() > kShort) return PutText(to, text_);
    std::memcpy(to, short_, kShort);
    return to + text_.size();
  }

 private:
  std::string text_;
  char short_[kShort] = {};
};

// Calls f with every line of the text; CR LF, a lone CR and a lone LF each
// end a line, and a break at the very end starts no further line.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  size_t start = 0, i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      f(text.substr(start, i - start));
      i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) f(text.substr(start));
}

using TRecords = std::vector<const TListRecord*>;

// A format's writer, made once the sink has the text before the records:
// it writes records a batch at a time, then what follows them.
class TFormatWriter {
 public:
  virtual ~TFormatWriter() = default;
  virtual void Records(const TRecords& records) = 0;
  virtual void End() {}
};

// Comma and tab separated values and separated text.
std::unique_ptr<TFormatWriter> MakeDelimitedWriter(const TListDBData& data,
                                                   const TExportOptions& options,
                                                   TExportSink& sink);
// Plain text and RTF.
std::unique_ptr<TFormatWriter> MakePlainTextWriter(const TExportOptions& options,
                                                   TExportSink& sink);
std::unique_ptr<TFormatWriter> MakeRichTextWriter(const TExportOptions& options, TExportSink& sink);
// XML and JSON.
std::unique_ptr<TFormatWriter> MakeXmlWriter(const TListDBData& data, const TExportOptions& options,
                                             TExportSink& sink);
std::unique_ptr<TFormatWriter> MakeJsonWriter(const TListDBData& data,
                                              const TExportOptions& options, TExportSink& sink);

}  // namespace export_internal
